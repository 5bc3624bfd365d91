#pragma once
// A recorded sequence of the engineer's actions on the main window and its input dialogs, as
// `wirelark-cli replay` reads it: UTF-8 text, one action per line, fields separated by one TAB;
// empty lines and lines beginning with "#" are ignored.
//
//   open ROW COL               double-click on the grid cell (0-based row and column)
//   pick CONTROL TEXT          an item chosen from a combo box of the open dialog
//   type CONTROL TEXT          text typed into an edit box or editable combo box, then left
//   click CONTROL              a click on a button, radio button, check box or edit box
//   dblclick CONTROL           a double-click on a control
//   close                      the dialog's close box
//   answer yes|no              the answer to the next question box
//   keypad TEXT|cancel         the keys pressed on the next keypad, then 登録; or キャンセル
//   calculator TEXT|none       the current the next calculator hands back; or no result
//   cable OPTION VALUE ...|none  the next cable selection: the options of `wirelark-cli cable`
//                              (--size required), then the size double-clicked; or the close box
//
// Reading checks the form of every line; whether a control exists and an answer is wanted is
// known only when the actions run.

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "result.h"

namespace wirelark {

struct ReplayAction {
    enum class Kind {
        Open,
        Pick,
        Type,
        Click,
        DoubleClick,
        Close,
        Answer,
        Keypad,
        Calculator,
        Cable
    };
    Kind kind = Kind::Close;
    int line = 0;  // 1-based line of the script

    int row = 0;          // open
    int column = 0;       // open
    std::string control;  // pick, type, click, dblclick
    // pick and type: the text; keypad: the keys; calculator: the current handed back.
    std::string text;
    // answer: Yes; keypad: 登録 (not キャンセル); calculator and cable: a result (not "none").
    bool positive = true;
    // cable: the options as given, each with its value.
    std::vector<std::pair<std::string, std::string>> cableOptions;

    // Answers wait in a queue for the window they answer; the others act at once.
    bool isAnswer() const {
        return kind == Kind::Answer || kind == Kind::Keypad || kind == Kind::Calculator ||
               kind == Kind::Cable;
    }
};

// "スクリプト 3 行目: …": an error of the script, naming its line.
Error scriptError(int line, std::string_view what);

// The options a `cable` answer may carry, in the order they are applied. The caller's method,
// burial depth, system and frequency come from the calling dialog and the main window, never
// from the script.
inline constexpr std::string_view kReplayCableOptions[] = {
    "--group", "--size",  "--family",  "--conductors", "--ambient",
    "--temp",  "--tiers", "--spacing", "--per-tier"};

// Reads a script. A line of an unknown action, with missing or surplus fields, or with a value
// of the wrong form (a row that is not a number, an answer other than yes or no, a key that is
// not a digit or ".", a cable option that is unknown or given twice) is an error naming its line.
// A UTF-8 byte-order mark is skipped; CR LF line ends are accepted.
Expected<std::vector<ReplayAction>> parseReplayScript(std::string_view text);

}  // namespace wirelark
