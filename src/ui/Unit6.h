#pragma once
// The export chooser: which of the two spreadsheet exports to run.

#include <QDialog>

#include <memory>

namespace Ui {
class TForm6;
}

namespace wirelark {

enum class ExportChoice {
    None,          // cancelled or closed
    PerFeeder,     // every feeder on worksheets of its own
    EighteenRows,  // 18 rows a worksheet, a feeder's block kept together
};

class TForm6 : public QDialog {
    Q_OBJECT

  public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    // The export chosen when the last exec() returned; None after "キャンセル" or closing.
    ExportChoice choice() const { return m_choice; }

    // Shows the chooser modally. The chooser is closed before the caller runs the export
    // chosen, so it never stands over the progress of the export.
    int exec() override;
    ExportChoice choose();

    void Button12Click();
    void Button15Click();
    void Button1Click();

  private:
    std::unique_ptr<Ui::TForm6> ui;
    ExportChoice m_choice = ExportChoice::None;
};

}  // namespace wirelark
