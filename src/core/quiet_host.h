#pragma once
// A host that keeps a dialog's refusals to itself. What a dialog computes while it is being
// opened (its activation, the pattern chosen for the row) must not greet the engineer with a
// message box: a value it cannot use simply stays as it is, and the dialog shows what was done.
// Everything the engineer asks for (the modal windows) still goes to the real host.

#include "dialog_host.h"

namespace wirelark {

class QuietHost final : public DialogHost {
  public:
    explicit QuietHost(DialogHost& host) : m_host(host) {}

    void info(std::string_view) override {}
    // Only an information box may stand in an opening step; a question is never asked there,
    // so its answer is the cautious one.
    bool question(std::string_view) override { return false; }
    void focus(std::string_view) override {}
    void beep() override { m_host.beep(); }
    std::optional<std::string> keypad() override { return m_host.keypad(); }
    std::optional<std::string> calculator() override { return m_host.calculator(); }
    std::optional<CableChoice> chooseCable(const CableRequest& request) override {
        return m_host.chooseCable(request);
    }

  private:
    DialogHost& m_host;
};

}  // namespace wirelark
