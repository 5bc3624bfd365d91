// The main window as the user meets it: drawn off screen, every message box, dialog, file
// chooser and the clipboard answered by the test itself. A message nobody expected fails the
// test.

#include <QAction>
#include <QFontInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <memory>
#include <vector>

#include "KANSEN.h"
#include "japanese_fonts.h"
#include "kansen_layout.h"
#include "sheet_cell_delegate.h"
#include "sheet_table_model.h"

using namespace wirelark;

namespace {

enum class Box { Info, Warning, Question };

QString boxName(Box b) {
    switch (b) {
        case Box::Info:
            return QStringLiteral("info");
        case Box::Warning:
            return QStringLiteral("warning");
        case Box::Question:
            return QStringLiteral("question");
    }
    return {};
}

// Answers the boxes the test announced, in order; anything else is recorded as a failure.
class ScriptedPrompter final : public Prompter {
  public:
    struct Expected {
        Box box;
        QString text;
        bool answer;
        bool prefixOnly;
    };

    void expect(Box box, const QString& text, bool answer = true) {
        m_expected.push_back({box, text, answer, false});
    }
    // For messages that end with a reason from the system.
    void expectStartingWith(Box box, const QString& text) {
        m_expected.push_back({box, text, true, true});
    }

    void info(const QString& text) override { take(Box::Info, text); }
    void warning(const QString& text) override { take(Box::Warning, text); }
    bool question(const QString& text) override { return take(Box::Question, text); }

    QStringList shown;
    QStringList failures;
    bool allAnswered() const { return m_expected.empty(); }

  private:
    bool take(Box box, const QString& text) {
        shown << text;
        if (m_expected.empty()) {
            failures << QStringLiteral("unexpected %1: %2").arg(boxName(box), text);
            return false;
        }
        const Expected e = m_expected.front();
        m_expected.pop_front();
        const bool same = e.prefixOnly ? text.startsWith(e.text) : text == e.text;
        if (e.box != box || !same)
            failures << QStringLiteral("expected %1 \"%2\", got %3 \"%4\"")
                            .arg(boxName(e.box), e.text, boxName(box), text);
        return e.answer;
    }
    std::deque<Expected> m_expected;
};

class RecordingDialogs final : public DialogRunner {
  public:
    bool editRow(int row) override {
        rows.push_back(row);
        return confirm;
    }
    std::vector<int> rows;
    bool confirm = false;
};

class ScriptedFiles final : public FileChooser {
  public:
    std::optional<QString> openFileName(const QString& filter) override {
        filters << filter;
        return next(openAnswers);
    }
    std::optional<QString> saveFileName(const QString& suggestedName,
                                        const QString& filter) override {
        suggested << suggestedName;
        filters << filter;
        return next(saveAnswers);
    }
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    QStringList suggested;
    QStringList filters;

  private:
    static std::optional<QString> next(std::deque<std::optional<QString>>& answers) {
        if (answers.empty())
            return std::nullopt;
        auto a = answers.front();
        answers.pop_front();
        return a;
    }
};

class RecordingClipboard final : public Clipboard {
  public:
    void setText(const QString& t) override { texts << t; }
    QStringList texts;
};

class FixedClock final : public Clock {
  public:
    QDate today() const override { return date; }
    QDate date{2024, 5, 10};
};

}  // namespace

class KansenTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter* m_prompter = nullptr;
    RecordingDialogs m_dialogs;
    ScriptedFiles m_files;
    RecordingClipboard m_clipboard;
    FixedClock m_clock;
    std::unique_ptr<ScriptedPrompter> m_prompterOwner;
    std::unique_ptr<TForm1> m_window;

    QString programPath() const { return m_dir->filePath(QStringLiteral("wirelark")); }

    TForm1& open(const QString& file = QString()) {
        m_window = std::make_unique<TForm1>(
            Services{*m_prompter, m_dialogs, m_files, m_clipboard, m_clock},
            TForm1::StartUp{programPath(), file});
        m_window->show();
        if (!QTest::qWaitForWindowActive(m_window.get()))
            m_window->FormActivate();
        return *m_window;
    }
    TForm1& w() { return *m_window; }
    template <class T>
    T* child(const char* name) {
        T* c = m_window->findChild<T*>(QString::fromLatin1(name));
        if (!c)
            qFatal("no child %s", name);
        return c;
    }
    QTableView* grid() { return child<QTableView>("StringGrid1"); }
    QPoint cellCentre(int row, int column) {
        QTableView* g = grid();
        return {g->columnViewportPosition(column) + g->columnWidth(column) / 2,
                g->rowViewportPosition(row) + g->rowHeight(row) / 2};
    }
    void leftClick(int row, int column = 1) {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(row, column));
    }
    // The press and release that come before the double-click event itself.
    void doubleClick(int row, int column = 1) {
        leftClick(row, column);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, cellCentre(row, column));
    }
    void movePointer(QPoint pos) {
        QMouseEvent move(QEvent::MouseMove, pos, grid()->viewport()->mapToGlobal(pos), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(grid()->viewport(), &move);
    }
    void rightClick(int row, int column = 1) {
        QTest::mouseClick(grid()->viewport(), Qt::RightButton, {}, cellCentre(row, column));
    }
    void set(int row, int column, const char* text) { w().sheet().setCell(row, column, text); }
    QImage gridImage() { return grid()->viewport()->grab().toImage(); }

  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_prompterOwner = std::make_unique<ScriptedPrompter>();
        m_prompter = m_prompterOwner.get();
        m_dialogs = RecordingDialogs();
        m_files = ScriptedFiles();
        m_clipboard = RecordingClipboard();
        m_clock.date = QDate(2024, 5, 10);
    }

    void cleanup() {
        if (m_window)
            m_window->kidou = 0;  // nothing to ask when the test closes the window
        m_window.reset();
        QVERIFY2(m_prompter->failures.isEmpty(), qPrintable(m_prompter->failures.join('\n')));
        QVERIFY2(m_prompter->allAnswered(), "a message the test waited for was not shown");
    }

    // -----------------------------------------------------------------------------------------
    // Start-up and layout

    void startsOnAnEmptySheetOf108Rows() {
        TForm1& form = open();
        QCOMPARE(form.windowTitle(), QStringLiteral("Wirelark　Ver2.04"));
        QCOMPARE(grid()->model()->rowCount(), 108);
        QCOMPARE(grid()->model()->columnCount(), 35);
        QCOMPARE(form.FileName, QString());
        QCOMPARE(form.strFilePath, m_dir->path() + QLatin1Char('/'));
        QCOMPARE(form.patan, 0);
        QCOMPARE(form.kansenno, 1);
        QCOMPARE(form.keitou, 1);
        QCOMPARE(form.kidou, 0);
        QCOMPARE(child<QLabel>("Label66")->text(), QStringLiteral("60Hz"));
        QVERIFY(child<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(child<QRadioButton>("RadioButton3")->isChecked());
        QVERIFY(child<QRadioButton>("RadioButton5")->isChecked());
        QVERIFY(!child<QWidget>("Panel30")->isVisible());
        QVERIFY(!child<QWidget>("InstructionsPanel")->isVisible());
        // Row 0 is a data row and the selected one; no header rows.
        QVERIFY(grid()->horizontalHeader()->isHidden());
        QVERIFY(grid()->verticalHeader()->isHidden());
        QCOMPARE(grid()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid()->selectionModel()->selectedRows().front().row(), 0);
    }

    void columnsHaveTheirWidthsAndTheWorkingColumnsAreHidden() {
        open();
        const int expected[19] = {29, 87, 63, 63, 90,  74, 45, 94, 55, 55,
                                  56, 77, 95, 55, 103, 68, 68, 55, 70};
        for (int c = 0; c < 19; ++c)
            QCOMPARE(grid()->columnWidth(c), expected[c]);
        for (int c : {19, 20, 22, 23, 24, 25, 26, 30, 34}) {
            QVERIFY2(grid()->isColumnHidden(c), qPrintable(QString::number(c)));
            QCOMPARE(grid()->horizontalHeader()->sectionSize(c), 0);
        }
        QVERIFY(!grid()->isColumnHidden(col::verdict));
        for (int r : {0, 1, 50, 107})
            QCOMPARE(grid()->rowHeight(r), 24);
        QCOMPARE(grid()->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(grid()->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
        QCOMPARE(grid()->selectionBehavior(), QAbstractItemView::SelectRows);
    }

    void verdictColumnFollowsTheWindowWidth_data() {
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("verdictWidth");
        QTest::newRow("designed width leaves 214 px") << 1584 << 214;
        QTest::newRow("wide window widens the verdict") << 1800 << 430;
        QTest::newRow("just wide enough for the minimum") << 1490 << 120;
        QTest::newRow("1360 px screen keeps the minimum") << 1360 << 120;
        QTest::newRow("narrower than the fixed columns never goes negative") << 1000 << 120;
    }
    void verdictColumnFollowsTheWindowWidth() {
        QFETCH(int, windowWidth);
        QFETCH(int, verdictWidth);
        TForm1& form = open();
        form.resize(windowWidth, 700);
        QCOMPARE(grid()->columnWidth(col::verdict), verdictWidth);
        QCOMPARE(grid()->width(), windowWidth - 20);
        QCOMPARE(grid()->height(), 700 - 120);
        QCOMPARE(child<QWidget>("TopBar")->width(), windowWidth);
        QCOMPARE(child<QWidget>("HeaderStrip")->width(), windowWidth);
        QCOMPARE(child<QWidget>("GuideLine")->width(), windowWidth - 40);
        QCOMPARE(child<QWidget>("Panel30")->size(), QSize(windowWidth, 700));
    }

    void windowFitsTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("window");
        QTest::newRow("full HD: designed width, 3/4 of the height")
            << QSize(1920, 1080) << QSize(1584, 810);
        QTest::newRow("1600 wide keeps the designed width") << QSize(1600, 900) << QSize(1584, 675);
        QTest::newRow("1366x768 keeps the designed size") << QSize(1366, 768) << QSize(1584, 798);
        QTest::newRow("1360 wide screen") << QSize(1360, 768) << QSize(1360, 798);
        QTest::newRow("1280x1024 screen") << QSize(1280, 1024) << QSize(1255, 768);
    }
    void windowFitsTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(QSize, window);
        QCOMPARE(layout::windowSizeForScreen(screen), window);
    }

    void captionsStandOverTheirColumnsAndFollowSidewaysScrolling() {
        TForm1& form = open();
        auto checkAligned = [&] {
            QTableView* g = grid();
            for (int c = 0; c < 19; ++c) {
                auto* caption = child<QLabel>(qPrintable(QStringLiteral("Caption%1").arg(c)));
                const QPoint captionLeft = caption->mapTo(&form, QPoint(0, 0));
                const QPoint columnLeft =
                    g->viewport()->mapTo(&form, QPoint(g->columnViewportPosition(c), 0));
                QCOMPARE(captionLeft.x(), columnLeft.x());
                QCOMPARE(caption->width(), g->columnWidth(c));
            }
            auto* cables = child<QLabel>("SpanCaption11");
            QCOMPARE(cables->text(), QStringLiteral("電線及びケーブル"));
            QCOMPARE(cables->x(), g->columnViewportPosition(11));
            QCOMPARE(cables->width(), 77 + 95 + 55 + 103);
            auto* drops = child<QLabel>("SpanCaption15");
            QCOMPARE(drops->text(), QStringLiteral("各線間の電圧降下\ne [V]"));
            QCOMPARE(drops->width(), 68 + 68);
        };
        checkAligned();
        QCOMPARE(child<QLabel>("Caption4")->text(),
                 QStringLiteral("幹線保護用\n遮断器定格電流\n[A]"));
        QCOMPARE(child<QLabel>("Caption14")->text(),
                 QStringLiteral("電線1kmあたりの\nｲﾝﾋﾟｰﾀﾞﾝｽ\nz[Ω/km]"));
        QCOMPARE(child<QLabel>("VerdictCaption")->text(), QStringLiteral("判定"));

        // In a narrow window the grid scrolls sideways and the captions move with it.
        form.resize(900, 600);
        grid()->horizontalScrollBar()->setValue(300);
        QVERIFY(grid()->horizontalScrollBar()->value() > 0);
        checkAligned();
        QVERIFY(child<QLabel>("Caption0")->x() < 0);
    }

    void sheetFacesAreJapaneseMincho() {
        for (const QFont& font : {sheetFont(10), sheetFont(18), proportionalFont(12)}) {
            const QString family = QFontInfo(font).family();
            QVERIFY2(family.contains(QStringLiteral("Mincho")) ||
                         family.contains(QStringLiteral("明朝")) ||
                         family.contains(QStringLiteral("CJK JP")),
                     qPrintable(family));
            QVERIFY2(drawsKanji(font), qPrintable(family));
        }
        open();
        QVERIFY(drawsKanji(grid()->font()));
        QVERIFY(drawsKanji(child<QLabel>("Caption1")->font()));
        QVERIFY(drawsKanji(child<QLineEdit>("Edit1")->font()));
    }

    // -----------------------------------------------------------------------------------------
    // Drawing

    void lengthsAreDrawnInTheCellPattern_data() {
        QTest::addColumn<QString>("cell");
        QTest::addColumn<QString>("drawn");
        QTest::newRow("thousands grouped") << "1234.5"
                                           << "1,234.5";
        QTest::newRow("two decimals at most") << "2.456"
                                              << "2.46";
        QTest::newRow("whole metres without a point") << "3"
                                                      << "3";
        QTest::newRow("zero draws nothing") << "0"
                                            << "";
        QTest::newRow("empty draws nothing") << ""
                                             << "";
        QTest::newRow("placeholder draws nothing") << " "
                                                   << "";
        QTest::newRow("not a number draws nothing") << "3m"
                                                    << "";
    }
    void lengthsAreDrawnInTheCellPattern() {
        QFETCH(QString, cell);
        QFETCH(QString, drawn);
        QCOMPARE(SheetCellDelegate::drawnText(col::length, cell), drawn);
        // Other columns are drawn as they are held.
        QCOMPARE(SheetCellDelegate::drawnText(col::designCurrent, cell), cell);
    }

    void columnsUseTheirFontsAndAlignments() {
        QCOMPARE(layout::columnPointSize(col::glyph), 18.0);
        QCOMPARE(layout::columnPointSize(col::loadName), 9.0);
        QCOMPARE(layout::columnPointSize(col::method), 9.0);
        QCOMPARE(layout::columnPointSize(col::name), 10.0);
        for (int c : {0, 3, 4, 7, 8, 9, 10, 13, 14})
            QCOMPARE(layout::columnAlignment(c), Qt::Alignment(Qt::AlignHCenter));
        QCOMPARE(layout::columnAlignment(col::length), Qt::Alignment(Qt::AlignRight));
        for (int c : {1, 2, 5, 11, 12, 15, 16, 17, 18, 21})
            QCOMPARE(layout::columnAlignment(c), Qt::Alignment(Qt::AlignLeft));
    }

    void pageLinesStandAboveEvery18thRow() {
        open();
        const QImage img = gridImage();
        const QColor grey(128, 128, 128);
        const int x = grid()->columnViewportPosition(2) + 20;
        for (int r : {0, 18}) {
            const int y = grid()->rowViewportPosition(r);
            QCOMPARE(img.pixelColor(x, y + 1), grey);
        }
        for (int r : {1, 17, 19}) {
            const int y = grid()->rowViewportPosition(r);
            QVERIFY(img.pixelColor(x, y + 1) != grey);
        }
    }

    void glyphsAndFailingCellsAreRed() {
        TForm1& form = open();
        set(2, col::glyph, "──▶");
        set(2, col::breaker, "100");
        set(2, col::name, "L1");
        form.sheetModel().setRedCells({0, 0, std::uint64_t{1} << col::breaker});
        form.sheetModel().sheetChanged();
        const QImage img = gridImage();
        auto redPixelsIn = [&](int row, int column) {
            const QRect r(grid()->columnViewportPosition(column), grid()->rowViewportPosition(row),
                          grid()->columnWidth(column), grid()->rowHeight(row));
            int n = 0;
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x) {
                    const QColor c = img.pixelColor(x, y);
                    if (c.red() > 200 && c.green() < 80 && c.blue() < 80)
                        ++n;
                }
            return n;
        };
        QVERIFY(redPixelsIn(2, col::glyph) > 10);
        QVERIFY(redPixelsIn(2, col::breaker) > 5);
        QCOMPARE(redPixelsIn(2, col::name), 0);
    }

    void aLargeSheetScrollsQuickly() {
        TForm1& form = open();
        form.sheet().setRowCount(30000);
        for (int r = 0; r < 30000; r += 2) {
            form.sheet().setCell(r, col::glyph, "──▶");
            form.sheet().setCell(r, col::length, "1234.5");
            form.sheet().setCell(r, col::loadName, "電灯盤");
        }
        QElapsedTimer t;
        t.start();
        form.sheetChanged(true);
        QCOMPARE(grid()->model()->rowCount(), 30000);
        child<QPushButton>("Button13")->click();
        grid()->viewport()->repaint();
        child<QPushButton>("Button11")->click();
        grid()->viewport()->repaint();
        for (int i = 0; i < 20; ++i) {
            grid()->verticalScrollBar()->setValue(i * 1500);
            grid()->viewport()->repaint();
        }
        QVERIFY2(t.elapsed() < 3000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(form.topRow(), 28500);
    }

    // -----------------------------------------------------------------------------------------
    // Scrolling and the mouse

    void scrollButtonsJumpToTheEnds() {
        TForm1& form = open();
        child<QPushButton>("Button13")->click();
        QCOMPARE(form.topRow(), 73);  // 108 rows - 35
        child<QPushButton>("Button11")->click();
        QCOMPARE(form.topRow(), 0);
    }

    void pressAndReleaseRememberTheirCells() {
        TForm1& form = open();
        QTest::mousePress(grid()->viewport(), Qt::LeftButton, {}, cellCentre(5, 3));
        QCOMPARE(form.nx1, 3);
        QCOMPARE(form.ny1, 5);
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, cellCentre(5, 3));
        QCOMPARE(form.ux1, 3);
        QCOMPARE(form.uy1, 5);
        // A right press moves neither the selection nor the left-press cell.
        QTest::mousePress(grid()->viewport(), Qt::RightButton, {}, cellCentre(9, 7));
        QCOMPARE(form.ny1, 5);
        QCOMPARE(grid()->selectionModel()->selectedRows().front().row(), 5);
    }

    void draggingSelectsARangeOfRows() {
        open();
        QTest::mousePress(grid()->viewport(), Qt::LeftButton, {}, cellCentre(20, 2));
        QMouseEvent move(QEvent::MouseMove, cellCentre(22, 2),
                         grid()->viewport()->mapToGlobal(cellCentre(22, 2)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid()->viewport(), &move);
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, cellCentre(22, 2));
        QCOMPARE(w().ny1, 20);
        QCOMPARE(w().uy1, 22);
        QCOMPARE(grid()->selectionModel()->selectedRows().size(), 3);
    }

    void releaseBelowTheLastRowChangesNothing() {
        TForm1& form = open();
        form.sheet().setRowCount(5);
        form.sheetChanged(false);
        leftClick(3);
        QCOMPARE(form.uy1, 3);
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {},
                            QPoint(40, grid()->rowViewportPosition(4) + 24 * 3));
        QCOMPARE(form.uy1, 3);
    }

    void guideLineFollowsThePointer() {
        open();
        QWidget* line = child<QWidget>("GuideLine");
        movePointer(QPoint(100, 50));
        const int yInGrid = 50 + grid()->frameWidth();
        QCOMPARE(line->y(), grid()->y() + yInGrid + 18);
        QCOMPARE(line->height(), 3);
        movePointer(QPoint(100, 2));
        QCOMPARE(line->y(), -1000);
    }

    void doubleClickHandsTheRowToTheInputDialog() {
        TForm1& form = open();
        doubleClick(4, 2);
        QCOMPARE(m_dialogs.rows, std::vector<int>{4});
        QCOMPARE(form.kidou, 0);  // not confirmed: nothing changed
        m_dialogs.confirm = true;
        doubleClick(6, 2);
        QCOMPARE(m_dialogs.rows, (std::vector<int>{4, 6}));
        QCOMPARE(form.kidou, 1);
    }

    // -----------------------------------------------------------------------------------------
    // Panels

    void instructionsShowOnRequestAndGoAtTheNextPress() {
        TForm1& form = open();
        form.PopupMenu1().findChild<QAction*>(QStringLiteral("N13"))->trigger();
        QWidget* panel = child<QWidget>("InstructionsPanel");
        QVERIFY(panel->isVisible());
        QCOMPARE(child<QLabel>("InstructionsTitle")->text(), QStringLiteral("操作説明"));
        QCOMPARE(child<QLabel>("InstructionLine1")->text(),
                 QStringLiteral(
                     "・入力したい行をダブルクリックすると必要情報の入力画面が表示されます。"));
        QCOMPARE(child<QLabel>("InstructionLine2")->text(),
                 QStringLiteral("・画面で右クリックするとポップアップメニューが表示されます。"));
        QCOMPARE(
            child<QLabel>("InstructionLine3")->text(),
            QStringLiteral(
                "・No."
                "の付いた行では、ポップアップメニューから「コピー」「貼付」の操作が行えます。"));
        leftClick(3);
        QVERIFY(!panel->isVisible());
    }

    void settingsPanelOpensAndClosesWithoutSaving() {
        TForm1& form = open();
        child<QLineEdit>("Edit3")->setText(QStringLiteral("2024"));
        child<QPushButton>("Button19")->click();
        QWidget* panel = child<QWidget>("Panel30");
        QVERIFY(panel->isVisible());
        QCOMPARE(panel->geometry(), QRect(QPoint(0, 0), form.size()));
        QCOMPARE(child<QLabel>("Label67")->text(), QStringLiteral("2024年"));
        child<QRadioButton>("RadioButton2")->click();
        QCOMPARE(child<QLabel>("Label66")->text(), QStringLiteral("50Hz"));
        child<QPushButton>("Button26")->click();
        QVERIFY(!panel->isVisible());
        // Kept for this run, not written anywhere.
        QVERIFY(child<QRadioButton>("RadioButton2")->isChecked());
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("set.ini"))));
    }

    void yearDisplaySwitchesBetweenEraAndWesternYear() {
        open();
        child<QRadioButton>("RadioButton4")->click();
        QVERIFY(child<QWidget>("Edit3")->isVisible());
        QVERIFY(child<QWidget>("Label67")->isVisibleTo(child<QWidget>("Panel30")));
        QVERIFY(!child<QWidget>("Label56")->isVisible());
        child<QRadioButton>("RadioButton3")->click();
        QVERIFY(!child<QWidget>("Edit3")->isVisible());
        QVERIFY(child<QWidget>("Label56")->isVisible());
    }

    void closingWithUnsavedWorkAsksFirst() {
        TForm1& form = open();
        QVERIFY(form.close());  // nothing to lose, nothing asked
        open();
        child<QLineEdit>("Edit1")->setFocus();
        QTest::keyClicks(child<QLineEdit>("Edit1"), QStringLiteral("ABC"));
        QCOMPARE(w().kidou, 1);
        m_prompter->expect(Box::Question,
                           QStringLiteral("作業中のデーターが消失します。終了してよろしいですか？"),
                           false);
        QVERIFY(!w().close());
        QVERIFY(w().isVisible());
        m_prompter->expect(Box::Question,
                           QStringLiteral("作業中のデーターが消失します。終了してよろしいですか？"),
                           true);
        QVERIFY(w().close());
    }
};

QTEST_MAIN(KansenTest)
#include "kansen_test.moc"
