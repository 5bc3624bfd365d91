#pragma once
// The numeric keypad `TForm3` ("数値フォーム") without its window: a display and the keys with
// which an engineer enters a length or a current with the mouse. The caller shows it modally
// and takes the display as the field's new text when it is accepted with "登録"; "キャンセル"
// hands back nothing.

#include <optional>
#include <string>

namespace wirelark {

class Keypad {
  public:
    std::string Edit1;  // the display; read only for the engineer, only the keys write it
    int ten = 0;        // 1 once the display holds a decimal point

    // Each showing starts with an empty display and a decimal point allowed again.
    void FormShow();

    // Button1 .. Button9 ("1" .. "9") and Button10 ("0"). A digit keyed on a display of exactly
    // "0" makes it "0." first, so "0" then "5" is 0.5; "0" itself is always appended ("00").
    void digitClick(int digit);
    void Button11Click();  // "." refused once the display holds one
    void Button13Click();  // "C"
    void Edit1DblClick();  // empties the display like "C"

    // The key of a character: '0' .. '9' or '.'; false for any other character.
    bool press(char key);

    // "登録": the display handed back as it stands, and the keypad closes.
    std::string Button14Click();
    // "キャンセル": the display is emptied and the keypad closes without a value.
    void Button23Click();
};

}  // namespace wirelark
