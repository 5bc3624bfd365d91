#include "keypad.h"

namespace wirelark {

void Keypad::FormShow() {
    Edit1.clear();
    ten = 0;
}

void Keypad::digitClick(int digit) {
    if (digit < 0 || digit > 9)
        return;
    if (digit != 0 && Edit1 == "0") {
        Edit1 = "0.";
        ten = 1;
    }
    Edit1 += static_cast<char>('0' + digit);
}

void Keypad::Button11Click() {
    if (ten == 1)
        return;
    if (Edit1.empty())
        Edit1 = "0.";
    else
        Edit1 += '.';
    ten = 1;
}

void Keypad::Button13Click() {
    Edit1.clear();
    ten = 0;
}

void Keypad::Edit1DblClick() {
    Button13Click();
}

bool Keypad::press(char key) {
    if (key >= '0' && key <= '9') {
        digitClick(key - '0');
        return true;
    }
    if (key == '.') {
        Button11Click();
        return true;
    }
    return false;
}

std::string Keypad::Button14Click() {
    ten = 0;
    return Edit1;
}

void Keypad::Button23Click() {
    Edit1.clear();
    ten = 0;
}

}  // namespace wirelark
