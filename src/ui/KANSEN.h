#pragma once
// The main window: the feeder sheet, its heading and everything started from it. The window
// only moves text between its controls and the core; every rule of the sheet lives in the core.
// It owns the one document (the sheet and the state shared with the input dialogs), changes it
// only through its steps, and shows whatever the document tells it has changed.

#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "branch_dialog.h"
#include "cable_selection.h"
#include "circuit_rules.h"
#include "document.h"
#include "era.h"
#include "feeder_dialog.h"
#include "page_painter.h"
#include "result.h"
#include "services.h"
#include "sheet.h"
#include "workbook_layout.h"

class QAction;
class QLabel;
class QMenu;
class QPrinter;

namespace Ui {
class TForm1;
}

namespace wirelark {

class SheetTableModel;
class SheetCellDelegate;
class TForm2;
class TForm4;
class TForm6;
class DesktopInputServices;

class TForm1 final : public QWidget {
    Q_OBJECT
  public:
    struct StartUp {
        // Full path of the program file; the settings file is looked for beside it.
        QString programPath;
        // The sheet file given on the command line, or empty.
        QString fileArgument;
    };

    TForm1(Services services, StartUp startUp, QWidget* parent = nullptr);
    ~TForm1() override;

    // The document the dialogs get a reference to; its sheet is the grid.
    Document& document() { return m_document; }
    const Sheet& sheet() const { return m_document.sheet(); }
    SheetTableModel& sheetModel() { return *m_model; }
    QMenu& PopupMenu1() { return *m_popupMenu; }
    // The export chooser, created once with the window and owned by it.
    TForm6& Form6() { return *m_form6; }
    // The input dialogs and the windows they open, created once with the window.
    TForm2& Form2() { return *m_form2; }
    TForm4& Form4() { return *m_form4; }
    DesktopInputServices& inputWindows() { return *m_inputs; }
    // First row shown at the top of the grid.
    int topRow() const;
    // Makes `row` the top row and the selected row.
    void showRowAtTop(int row);

    // Handlers, named after their controls.
    void FormActivate();
    void FormResize();
    void Button1Click();     // 開く
    void Button2Click();     // 保存
    void Button3Click();     // クリッボードコピー
    void Button4Click();     // renumber the feeders
    void Button5Click();     // feeder range of row ny1 -> s1, e1
    void Button6Click();     // lengths, trunk currents, drops and allowable drops of s1..e1
    void Button7Click();     // branch-protection check of s1..e1
    void Button8Click();     // load FileName
    void Button9Click();     // insert blank rows
    void Button10Click();    // single drops of s1..e1
    void Button11Click();    // ▲
    void Button13Click();    // ▼
    void Button16Click();    // エクセル変換
    void Button17Click();    // design currents of s1..e1
    void Button18Click();    // 設定保存
    void Button19Click();    // 設定
    void Button20Click();    // era and Western year conversion
    Status Button21Click();  // write the settings file
    void Button22Click();    // read the settings file (at start-up)
    void Button24Click();    // 印刷
    void Button25Click();    // 判定の確認
    void Button26Click();    // 閉じる
    void Button124Click();   // TODAY
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void RadioButton5Click();
    void RadioButton6Click();
    void Edit2Click();
    void N1Click();   // 幹線削除 / 行を削除する
    void N2Click();   // 行の追加
    void N3Click();   // クリップボードへコピー(個別)
    void N7Click();   // コピー
    void N8Click();   // 貼付
    void N9Click();   // クリップボードへコピー(全部)
    void N11Click();  // 全削除
    void N13Click();  // 操作方法の表示
    void N14Click();  // 元に戻す
    void N15Click();  // やり直し
    void StringGrid1MouseDown(Qt::MouseButton button, QPoint pos);
    void StringGrid1MouseUp(Qt::MouseButton button, QPoint pos, QPoint globalPos);
    void StringGrid1MouseMove(QPoint pos);
    void StringGrid1MouseLeave();
    // A double-click on the grid at `pos`: the row under it opens its input dialog.
    void StringGrid1DblClick(QPoint pos);
    // "中止" on the panel that covers the window while it prints.
    void PrintCancelButtonClick();

    // The full recalculation of the current feeder block s1..e1 (design currents, drops,
    // sums and the branch-protection check), one step of the history.
    void runFullRecalculation(std::string_view stepName);

    // The heading fields as the user typed them, into the document as one step.
    void commitHeading();

    // Working fields of the window; the ones it shares with the input dialogs (s1, e1,
    // kansenno, patan, keitou) live in the document.
    int nx1 = 0, ny1 = 0;  // cell of the last left press
    int ux1 = 0, uy1 = 0;  // cell of the last release; the row a double-click edits
    int popupTag = 0;      // 0 feeder mode, 1 row mode; 1 also means "whole sheet" to the copy
    QString FileName;      // current sheet file
    QString strFileName;   // the program file
    QString strFilePath;   // its folder, with the trailing separator

  protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void FormCreate(const StartUp& startUp);
    void setUpGrid();
    void setUpHeaderStrip();
    void setUpPopupMenu();
    void setUpLook();
    void connectControls();
    void applyColumnWidths();
    void placeCaptions();
    void refreshGrid();
    // Shows what the document says has changed.
    void documentChanged(Document::Change change);
    void showSheetState();
    void updateHistoryItems();
    bool loadFileName();
    // Shows the error of a failed step; true when it succeeded.
    bool report(const Status& status);
    // The workbook of `kind` written to `path`, the progress bar advancing after the page plan,
    // the layout and the writing.
    Status exportWorkbook(WorkbookExport kind, const QString& path);
    void advanceProgress();
    // The sheet printed with the progress panel over the window; its cancel button stops it.
    Expected<PrintEnd> printWithProgress(QPrinter& printer, const PrintedSheet& printed);
    void showPrintProgress(int drawn, int pages);

    HeadingFields headingFromWindow() const;
    void showHeading(const HeadingFields& heading);
    void showSettings(const SheetSettings& settings);
    // One option of the settings panel chosen: a step that changes the sheet's settings.
    void chooseSetting(std::string_view stepName, void (*apply)(SheetSettings&));
    void chooseYearDisplay(std::string_view stepName, YearDisplay display);
    CivilDate today() const;
    std::filesystem::path settingsPath() const;
    // The settings of set.ini: read at start-up, written by "設定保存", taken by an emptied
    // sheet. A sheet that is open keeps its own.
    struct ProgramSettings {
        SheetSettings settings;
        std::optional<std::string> eraName;  // nothing: today's era
    };
    void applyProgramSettings(Sheet& sheet) const;
    // The era conversion of the heading, and the era label taken from the era name, as the
    // window's activation makes them.
    void convertEra(HeadingFields& heading, YearDisplay display) const;

    // While a dialog's result is being written back the window's own activation waits: it
    // resets `kansenno` and `keitou`, which the write-back reads as the dialog left them.
    class ActivationHold {
      public:
        explicit ActivationHold(TForm1& form);
        ActivationHold(const ActivationHold&) = delete;
        ActivationHold& operator=(const ActivationHold&) = delete;
        ~ActivationHold();

      private:
        TForm1& m_form;
    };

    std::unique_ptr<Ui::TForm1> ui;
    Services m_services;
    Document m_document;
    int m_listener = 0;
    ProgramSettings m_programSettings;
    int m_verdictWidth;  // the longest verdict in the grid's font
    SheetTableModel* m_model;
    SheetCellDelegate* m_delegate;
    QMenu* m_popupMenu;
    QAction* N1;
    QAction* N2;
    QAction* N3;
    QAction* N7;
    QAction* N8;
    QAction* N9;
    QAction* N11;
    QAction* N13;
    QAction* N14;
    QAction* N15;
    TForm6* m_form6;
    // The input dialogs, created once with the window: their models keep what they held when
    // they last closed, and one cable selection serves both, so its choices stay between
    // openings. The windows go before the models they show.
    CableSelection m_cables;
    FeederDialog m_feederDialog;
    BranchDialog m_branchDialog;
    std::unique_ptr<DesktopInputServices> m_inputs;
    std::unique_ptr<TForm2> m_form2;
    std::unique_ptr<TForm4> m_form4;
    std::vector<QLabel*> m_captions;  // by column; null where a column has no caption
    std::vector<QLabel*> m_spanCaptions;
    bool m_activatedOnce = false;
    int m_activationHolds = 0;
    bool m_activationPending = false;
    bool m_printing = false;
    bool m_printCancelled = false;
};

}  // namespace wirelark
