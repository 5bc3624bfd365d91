#pragma once
// Shows a window modally and returns once it has closed. The desktop's runner is exec(); a
// test's shows the window, drives its controls and closes it, so that it never blocks.

#include <QDialog>

namespace wirelark {

class ModalRunner {
  public:
    virtual ~ModalRunner() = default;
    virtual void run(QDialog& dialog) = 0;
};

class ExecRunner final : public ModalRunner {
  public:
    void run(QDialog& dialog) override { dialog.exec(); }
};

}  // namespace wirelark
