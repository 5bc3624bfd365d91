#pragma once
// What an input window (the feeder dialog TForm2, the branch dialog TForm4) needs beyond its
// own controls to act as the host of its core model: the message boxes, the platform beep and
// the modal windows it opens (the numeric keypad, the current/power calculator, the cable
// selection). The main window provides the real ones, built once and shared by both input
// windows; a test provides scripted ones that record every request.
//
// The input window itself implements the model's DialogHost: info and question go to the
// prompter, focus to its own control of that name, the rest to these services.

#include <QWidget>

#include <optional>
#include <string>

#include "dialog_host.h"

namespace wirelark {

class Prompter;

class InputWindowServices {
  public:
    virtual ~InputWindowServices() = default;

    virtual Prompter& prompter() = 0;
    virtual void beep() = 0;
    // The keypad over `caller`: the text accepted with "登録", nothing when cancelled.
    virtual std::optional<std::string> keypad(QWidget& caller) = 0;
    // The calculator over `caller`: its hand-back, nothing when closed without a result.
    virtual std::optional<std::string> calculator(QWidget& caller) = 0;
    // The cable selection window centred on `caller`: the cable double-clicked, nothing for
    // the close box.
    virtual std::optional<CableChoice> chooseCable(const CableRequest& request,
                                                   QWidget& caller) = 0;
};

}  // namespace wirelark
