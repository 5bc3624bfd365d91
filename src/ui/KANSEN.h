#pragma once
// The main window: the feeder sheet, its heading and everything started from it. The window
// only moves text between its controls and the core; every rule of the sheet lives in the core.

#include <QString>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <vector>

#include "circuit_rules.h"
#include "era.h"
#include "result.h"
#include "services.h"
#include "sheet.h"
#include "workbook_layout.h"

class QAction;
class QLabel;
class QMenu;

namespace Ui {
class TForm1;
}

namespace wirelark {

class SheetTableModel;
class SheetCellDelegate;
class TForm6;

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

    Sheet& sheet() { return m_sheet; }
    const Sheet& sheet() const { return m_sheet; }
    SheetTableModel& sheetModel() { return *m_model; }
    QMenu& PopupMenu1() { return *m_popupMenu; }
    // The export chooser, created once with the window and owned by it.
    TForm6& Form6() { return *m_form6; }
    // First row shown at the top of the grid.
    int topRow() const;
    // Makes `row` the top row and the selected row.
    void showRowAtTop(int row);

    // The sheet was changed by an edit (true) or replaced by a file or emptied (false): the
    // checks run again, the grid is redrawn, and the unsaved-work flag follows.
    void sheetChanged(bool edited);

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
    void Button22Click();    // read the settings file
    void Button24Click();    // 印刷
    void Button25Click();    // 判定の確認
    void Button26Click();    // 閉じる
    void Button124Click();   // TODAY
    void RadioButton1Click();
    void RadioButton2Click();
    void RadioButton3Click();
    void RadioButton4Click();
    void N1Click();   // 幹線削除 / 行を削除する
    void N2Click();   // 行の追加
    void N3Click();   // クリップボードへコピー(個別)
    void N7Click();   // コピー
    void N8Click();   // 貼付
    void N9Click();   // クリップボードへコピー(全部)
    void N11Click();  // 全削除
    void N13Click();  // 操作方法の表示
    void StringGrid1MouseDown(Qt::MouseButton button, QPoint pos);
    void StringGrid1MouseUp(Qt::MouseButton button, QPoint pos, QPoint globalPos);
    void StringGrid1MouseMove(QPoint pos);
    void StringGrid1DblClick();

    // The full recalculation of the current feeder block s1..e1 (design currents, drops,
    // sums and the branch-protection check), then the cell checks of the whole sheet.
    void runFullRecalculation();

    // Working fields shared with the input dialogs.
    int nx1 = 0, ny1 = 0;  // cell of the last left press
    int ux1 = 0, uy1 = 0;  // cell of the last release; the row a double-click edits
    int s1 = 0, e1 = 0;    // rows of the current feeder block
    int patan = 0;         // feeder kind confirmed: 1 single, 2 residential, 0 none
    int keitou = 1;        // systems of the residential feeder being entered
    int kansenno = 1;      // number of the next new feeder
    int popupTag = 0;      // 0 feeder mode, 1 row mode; 1 also means "whole sheet" to the copy
    QString FileName;      // current sheet file
    QString strFileName;   // the program file
    QString strFilePath;   // its folder, with the trailing separator
    int kidou = 0;         // 1 once the sheet holds work that is not saved
    // How the building is supplied, which decides the allowable drops. The branch dialog
    // chooses it; until then the supply from the building's own transformer.
    SupplyKind supplyKind = SupplyKind::Transformer;

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
    void runCellChecks();
    void refreshGrid();
    bool loadFileName();
    // Shows the error of a failed step; true when it succeeded.
    bool report(const Status& status);
    std::vector<Row> blockRows() const;
    // The workbook of `kind` written to `path`, the progress bar advancing after the page plan,
    // the layout and the writing.
    Status exportWorkbook(WorkbookExport kind, const QString& path);
    void advanceProgress();

    HeadingFields headingFromWindow() const;
    void showHeading(const HeadingFields& heading);
    SheetSettings settingsFromWindow() const;
    void showSettings(const SheetSettings& settings);
    // The heading and the settings as the window shows them, into the sheet.
    void windowToSheet();
    CivilDate today() const;
    std::filesystem::path settingsPath() const;

    std::unique_ptr<Ui::TForm1> ui;
    Services m_services;
    Sheet m_sheet;
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
    TForm6* m_form6;
    std::vector<QLabel*> m_captions;  // by column; null where a column has no caption
    std::vector<QLabel*> m_spanCaptions;
    bool m_activatedOnce = false;
};

}  // namespace wirelark
