#pragma once
// The replay of a script (replay_script.h) on the main window and its input dialogs, through the
// same models as the desktop program: the main window's double-click opens the dialog the row's
// glyph selects, filled from the row; the actions that follow act on the dialog until it closes;
// the dialog's result is then written back into the sheet. Keypads, calculators, questions and
// cable selections are answered from the script's queue, first in, first out.
//
// What the engineer would see is written to `out`, one line each (UTF-8, LF):
//   info<TAB>TEXT                  every information box
//   question<TAB>TEXT<TAB>yes|no   every question with the answer taken
//   TForm2 or TForm4<TAB>confirmed|cancelled|open, then CONTROL<TAB>TEXT for each control of the
//   dialog, supply<TAB>…, patan<TAB>N and keitou<TAB>N: when a dialog closes, and at the end of the
//   script for a dialog still open.

#include <deque>
#include <ostream>
#include <string_view>
#include <vector>

#include "branch_dialog.h"
#include "cable_selection.h"
#include "document.h"
#include "feeder_dialog.h"
#include "keypad.h"
#include "replay_script.h"
#include "result.h"

namespace wirelark {

class ReplaySession {
  public:
    // The program as it has just started on `document` (already loaded): every dialog as
    // created, the cable selection as at program start.
    ReplaySession(Document& document, std::ostream& out);
    ReplaySession(const ReplaySession&) = delete;
    ReplaySession& operator=(const ReplaySession&) = delete;
    ~ReplaySession();

    // Runs the actions in order. An error of the script (an unknown control, an item a list does
    // not hold, a window opened with no answer queued for it, answers left over, ...) stops the
    // replay and names the script line; what ran before it stays in the document.
    Status run(const std::vector<ReplayAction>& actions);

  private:
    class Host;
    struct ScriptFailure;

    void mainWindowActivate();
    void redraw();
    void open(const ReplayAction& action, Host& host);
    void act(const ReplayAction& action, Host& host);
    void dialogClosed(Host& host);
    void reportDialog(std::string_view state);

    Document& m_document;
    std::ostream& m_out;
    CableSelection m_cables;
    Keypad m_keypad;
    FeederDialog m_feeder;
    BranchDialog m_branch;
    std::deque<ReplayAction> m_answers;
    int m_line = 0;  // the line being run, for the errors its modal windows raise

    // The dialog open now, its window's name, and the row it was opened for (uy1).
    ScriptableDialog* m_open = nullptr;
    std::string_view m_openName;
    int m_openRow = 0;
};

}  // namespace wirelark
