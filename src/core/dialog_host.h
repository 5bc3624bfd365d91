#pragma once
// What an input dialog's model asks of whoever shows it: message boxes, questions, the focus,
// and the modal windows it opens (the numeric keypad, the current/power calculator, the cable
// selection). The desktop windows implement it with real boxes and windows, the batch `replay`
// with the answers queued in its script, and the tests with scripted answers that fail on
// anything unexpected.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cable_selection.h"
#include "result.h"

namespace wirelark {

// What the cable selection is opened with: the caller's context, and what the calling row
// needs, so that the sizes that carry its current and keep its drop can be marked. Texts as the
// dialog holds them; an empty or placeholder text marks nothing.
struct CableRequest {
    CallerContext context;
    std::string designCurrent;  // A
    std::string length;         // m
    std::string powerFactor;    // cos θ
    std::string allowableDrop;  // V
};

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    // An information box with one button: a refusal, a hint.
    virtual void info(std::string_view text) = 0;
    // A warning box with Yes and No; true for Yes.
    virtual bool question(std::string_view text) = 0;
    // The control, by its design name ("Edit5", "Button4"), that takes the focus.
    virtual void focus(std::string_view control) = 0;
    // The platform's beep: a key the keypad or calculator refuses.
    virtual void beep() = 0;

    // The numeric keypad, shown modally: the text keyed and accepted with "登録", or nothing
    // when it was cancelled.
    virtual std::optional<std::string> keypad() = 0;
    // The current/power calculator, shown modally: its hand-back (the current computed, as its
    // label `Label1` holds it), or nothing when it was closed without a result.
    virtual std::optional<std::string> calculator() = 0;
    // The cable selection, shown modally: the cable picked with a double-click, or nothing when
    // it was closed with the close box.
    virtual std::optional<CableChoice> chooseCable(const CableRequest& request) = 0;
};

// The refusal of a field whose text is not a valid number for what the action needs:
// "「こう長」の「3m」は正しい数値ではありません。" The label is the field's caption on the dialog
// (its control name where it has none).
std::string invalidNumberMessage(std::string_view label, std::string_view text);

// An input dialog as the batch `replay` drives it: its controls by their design names, and the
// user's actions on them. Every action runs the handlers the dialog's design gives that control
// for it; an action on a control without such a handler, or on a control the dialog does not
// have, is an error of the script (the dialog is left as it was).
class ScriptableDialog {
  public:
    enum class State { Open, Confirmed, Cancelled };
    virtual ~ScriptableDialog() = default;

    virtual State state() const = 0;
    // An item chosen from the list of a combo box: it must be one of the listed items.
    virtual Status pick(std::string_view control, std::string_view text, DialogHost& host) = 0;
    // Text typed into an edit box or an editable combo box, which is then left.
    virtual Status type(std::string_view control, std::string_view text, DialogHost& host) = 0;
    // A click on a button, radio button or check box, or a mouse press on an edit box that
    // handles one.
    virtual Status click(std::string_view control, DialogHost& host) = 0;
    virtual Status doubleClick(std::string_view control, DialogHost& host) = 0;
    // The window's close box.
    virtual void close(DialogHost& host) = 0;
    // The controls the replay reports when the dialog closes, in its order, with their texts.
    virtual std::vector<std::pair<std::string, std::string>> report() const = 0;
};

}  // namespace wirelark
