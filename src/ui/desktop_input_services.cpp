#include "desktop_input_services.h"

#include <QApplication>
#include <QWindow>

#include "DENRYUKEISAN.h"
#include "Ldensen.h"
#include "Unit3.h"

namespace wirelark {

DesktopInputServices::DesktopInputServices(CableSelection& cables, Prompter& prompter,
                                           ModalRunner& runner)
    : m_prompter(prompter),
      m_keypad(std::make_unique<TForm3>(runner)),
      m_calculator(std::make_unique<TForm5>(
          prompter, [] { QApplication::beep(); }, runner)),
      m_cables(std::make_unique<Tdensen>(cables, prompter, runner)) {}

DesktopInputServices::~DesktopInputServices() = default;

void DesktopInputServices::beep() {
    QApplication::beep();
}

std::optional<std::string> DesktopInputServices::keypad(QWidget& caller) {
    return m_keypad->enter(&caller);
}

std::optional<std::string> DesktopInputServices::calculator(QWidget& caller) {
    return m_calculator->calculate(&caller);
}

std::optional<CableChoice> DesktopInputServices::chooseCable(const CableRequest& request,
                                                             QWidget& caller) {
    // The cable selection places itself over its caller; it is kept above it as the keypad
    // and the calculator are.
    if (caller.window()->isVisible()) {
        m_cables->winId();
        if (QWindow* handle = m_cables->windowHandle())
            handle->setTransientParent(caller.window()->windowHandle());
    }
    return m_cables->choose(request, &caller);
}

}  // namespace wirelark
