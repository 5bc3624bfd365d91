// The main window as the user meets it: drawn off screen, every message box, dialog, file
// chooser and the clipboard answered by the test itself. A message nobody expected fails the
// test.

#include <QAction>
#include <QCloseEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "KANSEN.h"
#include "Unit6.h"
#include "encoding.h"
#include "japanese_fonts.h"
#include "japanese_translations.h"
#include "kansen_layout.h"
#include "page_painter.h"
#include "scripted_windows.h"
#include "sheet_cell_delegate.h"
#include "sheet_file.h"
#include "sheet_table_model.h"
#include "tree_editing.h"
#include "write_back.h"

using namespace wirelark;

namespace {

enum class Box { Info, Warning, Question, Finding };

QString boxName(Box b) {
    switch (b) {
        case Box::Info:
            return QStringLiteral("info");
        case Box::Warning:
            return QStringLiteral("warning");
        case Box::Question:
            return QStringLiteral("question");
        case Box::Finding:
            return QStringLiteral("finding");
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
    // true: "次へ", false: "中止"
    bool finding(const QString& text) override { return take(Box::Finding, text); }

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
    std::optional<QString> exportFileName(const QString& suggestedName,
                                          const QString& filter) override {
        exportSuggested << suggestedName;
        exportFilters << filter;
        return next(exportAnswers);
    }
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<std::optional<QString>> exportAnswers;
    QStringList suggested;
    QStringList filters;
    QStringList exportSuggested;
    QStringList exportFilters;

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

// A printer writing a PDF file that lets the test step in before a page: `beforePage` gets
// the number of the page about to start (2, 3 ...) and false makes the page feed fail, as a
// printer that runs out of memory or disk would.
class ScriptedPrinter final : public QPrinter {
  public:
    explicit ScriptedPrinter(std::function<bool(int)> beforePage)
        : QPrinter(QPrinter::HighResolution), m_beforePage(std::move(beforePage)) {}
    bool newPage() override {
        ++m_page;
        if (m_beforePage && !m_beforePage(m_page))
            return false;
        return QPrinter::newPage();
    }

  private:
    std::function<bool(int)> m_beforePage;
    int m_page = 1;
};

// The print dialog as the test announced it: a printer writing the given PDF file, or a
// cancel. The printer comes set to US Letter portrait, as a user's default printer may be.
class ScriptedPrinters final : public PrinterChooser {
  public:
    std::unique_ptr<QPrinter> choosePrinter() override {
        if (answers.empty()) {
            failures << QStringLiteral("unexpected print dialog");
            return nullptr;
        }
        const std::optional<QString> pdf = answers.front();
        answers.pop_front();
        if (!pdf)
            return nullptr;
        auto printer = std::make_unique<ScriptedPrinter>(beforePage);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(*pdf);
        printer->setPageSize(QPageSize(QPageSize::Letter));
        printer->setPageOrientation(QPageLayout::Portrait);
        return printer;
    }
    std::deque<std::optional<QString>> answers;
    std::function<bool(int)> beforePage;
    QStringList failures;
};

// Presses the button of the window's own chooser that the test announced, as the user would,
// without showing it: no modal loop runs.
class ScriptedExportChooser final : public ExportChooser {
  public:
    ExportChoice choose(TForm6& chooser) override {
        choosers.push_back(&chooser);
        if (buttons.empty()) {
            failures << QStringLiteral("unexpected export chooser");
            return ExportChoice::None;
        }
        auto* button = chooser.findChild<QPushButton*>(buttons.front());
        buttons.pop_front();
        if (!button)
            qFatal("the export chooser has no such button");
        button->click();
        return chooser.choice();
    }
    std::deque<QString> buttons;
    std::vector<TForm6*> choosers;
    QStringList failures;
};

class RecordingOpener final : public DesktopOpener {
  public:
    bool open(const QString& path) override {
        opened << path;
        return succeeds;
    }
    QStringList opened;
    bool succeeds = true;
};

// What a command-line tool prints, or a null string when it is not installed.
QString toolOutput(const QString& program, const QStringList& args) {
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
        return {};
    QProcess p;
    p.start(found, args);
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return QStringLiteral("%1 failed: %2")
            .arg(program, QString::fromUtf8(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

QByteArray fileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

int pdfPages(const QString& path) {
    return QString::fromLatin1(fileBytes(path))
        .count(QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
}

}  // namespace

class KansenTest : public QObject {
    Q_OBJECT

  private:
    std::unique_ptr<QTemporaryDir> m_dir;
    ScriptedPrompter* m_prompter = nullptr;
    test::ScriptRunner m_modal;  // the input windows and what they open, as the user drives them
    ScriptedFiles m_files;
    RecordingClipboard m_clipboard;
    FixedClock m_clock;
    ScriptedPrinters m_printers;
    ScriptedExportChooser m_exports;
    RecordingOpener m_opener;
    std::unique_ptr<ScriptedPrompter> m_prompterOwner;
    std::unique_ptr<TForm1> m_window;
    std::optional<Sheet> m_draft;

    QString programPath() const { return m_dir->filePath(QStringLiteral("wirelark")); }

    TForm1& open(const QString& file = QString()) {
        m_window = std::make_unique<TForm1>(Services{*m_prompter, m_modal, m_files, m_clipboard,
                                                     m_clock, m_printers, m_exports, m_opener},
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
    // A change of the sheet as one step, the way a dialog's write-back makes it.
    void change(const std::function<void(Sheet&)>& apply) { w().document().edit("入力", apply); }
    void set(int row, int column, const char* text) {
        change([&](Sheet& s) { s.setCell(row, column, text); });
    }
    // The sheet to lay out before the test acts: a copy of the window's, which refresh() puts
    // in place as a newly opened sheet (numbered, checked, nothing to undo, nothing unsaved).
    Sheet& draft() {
        if (!m_draft)
            m_draft = w().sheet();
        return *m_draft;
    }
    QString cell(int row, int column) { return QString::fromUtf8(w().sheet().cell(row, column)); }
    QAction* menuItem(const char* name) {
        return w().PopupMenu1().findChild<QAction*>(QString::fromLatin1(name));
    }
    // Left press and release on a row, then a right click on another: what the user does to
    // open the pop-up menu on a selection.
    void selectAndRightClick(int first, int last) {
        QTest::mousePress(grid()->viewport(), Qt::LeftButton, {}, cellCentre(first, 1));
        QTest::mouseRelease(grid()->viewport(), Qt::LeftButton, {}, cellCentre(last, 1));
        rightClick(last);
    }
    void closeMenu() { w().PopupMenu1().hide(); }

    // Sheets to work on, written the way the input dialogs leave them.
    static void singleFeeder(Sheet& sheet, int row, const char* name) {
        sheet.setCell(row, col::number, "9");
        sheet.setCell(row, col::name, name);
        sheet.setCell(row, col::system, "単相3線");
        sheet.setCell(row, col::voltage, "100/200");
        sheet.setCell(row, col::breaker, "100");
        sheet.setCell(row, col::glyph, std::string(glyph::single));
        sheet.setCell(row, col::loadName, std::string(name) + "盤");
        sheet.setCell(row, col::mainBreaker, "75");
        sheet.setCell(row, col::blockRows, "1");
    }
    // Head row, then trunk and branch rows for every branch current given.
    static void residentialFeeder(Sheet& sheet, int row, const char* name,
                                  std::initializer_list<const char*> branchCurrents) {
        sheet.setCell(row, col::number, "9");
        sheet.setCell(row, col::name, name);
        sheet.setCell(row, col::system, "単相3線");
        sheet.setCell(row, col::breaker, "225");
        sheet.setCell(row, col::glyph, std::string(glyph::head));
        sheet.setCell(row, col::loadName, name);
        int r = row + 1;
        int i = 0;
        const int n = static_cast<int>(branchCurrents.size());
        for (const char* current : branchCurrents) {
            sheet.setCell(r, col::glyph, std::string(i == 0 ? glyph::firstTrunk : glyph::trunk));
            sheet.setCell(r, col::loadName, i == 0 ? "分岐点" : "分岐間");
            sheet.setCell(r, col::systemNumber, "1");
            sheet.setCell(r + 1, col::glyph,
                          std::string(i == n - 1 ? glyph::lastBranch : glyph::branch));
            sheet.setCell(r + 1, col::loadName, "住戸" + std::to_string(i + 1));
            sheet.setCell(r + 1, col::designCurrent, current);
            sheet.setCell(r + 1, col::systemNumber, "1");
            r += 2;
            ++i;
        }
        sheet.setCell(row, col::blockRows, std::to_string(r - row));
    }
    void refresh() {
        Sheet laidOut = std::move(draft());
        m_draft.reset();
        w().document().replace([&](Sheet& s) {
            s = std::move(laidOut);
            renumberFeeders(s);
        });
    }
    QStringList lines(const QString& text) {
        QStringList l = text.split(QStringLiteral("\r\n"));
        if (!l.isEmpty() && l.back().isEmpty())
            l.pop_back();
        return l;
    }
    QString writeSheetFile(const QString& name, const std::function<void(Sheet&)>& fill) {
        Sheet sheet;
        fill(sheet);
        renumberFeeders(sheet);
        const QString path = m_dir->filePath(name);
        const Status saved = saveSheetFile(sheet, QFile::encodeName(path).toStdString());
        if (!saved)
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }
    QImage gridImage() { return grid()->viewport()->grab().toImage(); }

    // `count` single feeders L1, L2 ... from row 0, numbered.
    void singleFeeders(int count) {
        for (int r = 0; r < count; ++r)
            singleFeeder(draft(), r, ("L" + std::to_string(r + 1)).c_str());
        refresh();
    }
    QString pdf(const char* name = "sheet.pdf") { return m_dir->filePath(QString::fromUtf8(name)); }
    void print(const std::optional<QString>& printer) {
        m_printers.answers.push_back(printer);
        child<QPushButton>("Button24")->click();
    }
    // "エクセル変換", then a button of the chooser, then the file chooser's answer.
    void exportBy(const char* chooserButton, const std::optional<QString>& file) {
        m_exports.buttons.push_back(QString::fromLatin1(chooserButton));
        if (QString::fromLatin1(chooserButton) != QStringLiteral("Button1"))
            m_files.exportAnswers.push_back(file);
        child<QPushButton>("Button16")->click();
    }
    QStringList filesInDir() {
        return QDir(m_dir->path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
    QFrame* progressPanel() { return child<QFrame>("ProgressPanel"); }

    // What undo and redo must bring back exactly: every cell and the heading.
    struct SheetState {
        std::vector<Row> rows;
        HeadingFields heading;
        friend bool operator==(const SheetState&, const SheetState&) = default;
    };
    SheetState state() {
        SheetState st;
        for (int r = 0; r < w().sheet().rowCount(); ++r)
            st.rows.push_back(w().sheet().row(r));
        st.heading = w().sheet().heading;
        return st;
    }
    void keys(const QKeySequence& k) { QTest::keySequence(grid()->viewport(), k); }
    void writeIni(const QByteArray& lines) {
        QFile ini(m_dir->filePath(QStringLiteral("set.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            qFatal("cannot write set.ini");
        ini.write(lines);
    }
    // A size of a cable group double-clicked in the cable selection window.
    static void pickCable(QDialog& window, const QString& group, const QString& size) {
        test::pick(window, "ComboBox11", group);
        auto* table = window.findChild<QTableView*>(QStringLiteral("StringGrid7"));
        QVERIFY(table);
        const QAbstractItemModel& sizes = *table->model();
        for (int r = 0; r < sizes.rowCount(); ++r) {
            const QModelIndex i = sizes.index(r, 0);
            if (sizes.data(i).toString() != size)
                continue;
            table->scrollTo(i);
            const QPoint p = table->visualRect(i).center();
            QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, p);
            QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, p);
            return;
        }
        QFAIL(qPrintable("no size " + size));
    }
    // The feeder dialog as the engineer fills it for a lighting feeder of 50 A over 10 m on
    // CV 14 mm², then "登録"; `whileOpen` runs before the confirmation.
    void confirmFeederDialogWith(const char* name, std::function<void(QDialog&)> whileOpen = {}) {
        m_modal.scripts.push_back([this, name, whileOpen](QDialog& form2) {
            test::click(form2, "Button6");
            test::type(form2, "Edit2", QString::fromUtf8(name));
            test::pick(form2, "ComboBox5", QStringLiteral("10"));
            m_modal.scripts.push_front([](QDialog& cables) {
                pickCable(cables, QStringLiteral("600V CV及びEM 600V CE/F単心 S＝俵積み"),
                          QStringLiteral("14゜"));
            });
            test::click(form2, "Button11");
            if (whileOpen)
                whileOpen(form2);
            test::click(form2, "Button4");
        });
    }

  private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_prompterOwner = std::make_unique<ScriptedPrompter>();
        m_prompter = m_prompterOwner.get();
        m_modal = test::ScriptRunner();
        m_files = ScriptedFiles();
        m_clipboard = RecordingClipboard();
        m_clock.date = QDate(2024, 5, 10);
        m_printers = ScriptedPrinters();
        m_exports = ScriptedExportChooser();
        m_opener = RecordingOpener();
        m_draft.reset();
    }

    void cleanup() {
        if (m_window)
            m_window->document().setUnsaved(false);  // nothing to ask when the test closes it
        m_window.reset();
        QVERIFY2(m_prompter->failures.isEmpty(), qPrintable(m_prompter->failures.join('\n')));
        QVERIFY2(m_prompter->allAnswered(), "a message the test waited for was not shown");
        const QStringList unexpected = m_printers.failures + m_exports.failures;
        QVERIFY2(unexpected.isEmpty(), qPrintable(unexpected.join('\n')));
        QVERIFY2(m_printers.answers.empty(), "the print dialog the test waited for was not shown");
        QVERIFY2(m_exports.buttons.empty(), "the export chooser the test waited for was not shown");
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
        QCOMPARE(form.document().patan, 0);
        QCOMPARE(form.document().kansenno, 1);
        QCOMPARE(form.document().keitou, 1);
        QVERIFY(!form.document().unsaved());
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
        // The width the longest verdict needs in the grid's font: about 330 px in IPAMincho.
        const int longest = layout::longestVerdictWidth(sheetFont(10));
        QVERIFY(longest > 1584 - 20 - 1350 && longest < 1800 - 20 - 1350);
        QTest::addColumn<int>("windowWidth");
        QTest::addColumn<int>("verdictWidth");
        QTest::newRow("the designed width leaves too little: the longest verdict's width")
            << 1584 << longest;
        QTest::newRow("a wide window widens the verdict") << 1800 << 430;
        QTest::newRow("just wide enough for the longest verdict") << 1350 + 20 + longest << longest;
        QTest::newRow("1360 px screen keeps the longest verdict's width") << 1360 << longest;
        QTest::newRow("narrower than the fixed columns never goes negative") << 1000 << longest;
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

    // The desktop's own buttons and dialogs speak Japanese too.
    void qtsOwnTextsAreJapanese() {
        QVERIFY(installJapaneseTranslations(*QCoreApplication::instance()));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"),
                 QStringLiteral("キャンセル"));
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
        CellMarks::Columns red;
        red.set(col::breaker);
        form.sheetModel().setCellMarks(CellMarks(2, {red}));
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

    void aLargeSheetIsShownToItsLastRow() {
        TForm1& form = open();
        draft().setRowCount(30000);
        for (int r = 0; r < 30000; r += 2) {
            draft().setCell(r, col::glyph, "──▶");
            draft().setCell(r, col::length, "1234.5");
        }
        refresh();
        QCOMPARE(grid()->model()->rowCount(), 30000);
        child<QPushButton>("Button13")->click();
        QCOMPARE(form.topRow(), 30000 - 35);
        QCOMPARE(grid()->rowViewportPosition(29999) / 24, 34);
        QCOMPARE(grid()->model()->index(29998, col::length).data().toString(),
                 QStringLiteral("1234.5"));
        // Every row keeps its fixed height: no row was measured for its contents.
        QCOMPARE(grid()->verticalHeader()->sectionSize(29999), 24);
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
        draft().setRowCount(5);
        refresh();
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
        // Leaving the grid takes the line away too.
        movePointer(QPoint(100, 50));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(grid()->viewport(), &leave);
        QCOMPARE(line->y(), -1000);
    }

    void doubleClickOpensTheDialogTheRowsGlyphSelects() {
        TForm1& form = open();
        residentialFeeder(draft(), 10, "M1", {"30", "20"});  // rows 10..14
        refresh();
        m_modal.scripts = {{}, {}};  // each dialog closed with its close box
        doubleClick(4, 2);
        doubleClick(12, 6);  // "├─▶": a branch of the residential feeder
        QCOMPARE(m_modal.opened, (QStringList{QStringLiteral("TForm2"), QStringLiteral("TForm4")}));
        QVERIFY2(!form.document().unsaved(), "closed without confirming: nothing changed");
        // Below the last row the release keeps the row released before: nothing opens.
        form.StringGrid1DblClick(QPoint(40, 1'000'000));
        QCOMPARE(m_modal.opened.size(), 2);

        confirmFeederDialogWith("L1");
        doubleClick(6, 2);
        QCOMPARE(cell(6, col::name), QStringLiteral("L1"));
        QCOMPARE(cell(6, col::glyph), QStringLiteral("──▶"));
        QCOMPARE(cell(6, col::cable), QStringLiteral("CV14゜"));
        QVERIFY(form.document().unsaved());
        QVERIFY2(form.document().frequencyLocked(), "a confirmed feeder fixes the frequency");
        QVERIFY(!child<QRadioButton>("RadioButton1")->isEnabled());
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
        QVERIFY(!child<QWidget>("Label67")->isVisibleTo(child<QWidget>("Panel30")));
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
        // Typed and not yet left: closing takes the typing in first, as one step.
        QTest::keyClicks(child<QLineEdit>("Edit1"), QStringLiteral("ABC"));
        m_prompter->expect(Box::Question,
                           QStringLiteral("作業中のデーターが消失します。終了してよろしいですか？"),
                           false);
        QVERIFY(!w().close());
        QVERIFY(w().isVisible());
        QVERIFY(w().document().unsaved());
        QCOMPARE(w().document().undoName(), "建物名称を変更");
        QCOMPARE(w().sheet().heading.buildingName, "ABC");
        m_prompter->expect(Box::Question,
                           QStringLiteral("作業中のデーターが消失します。終了してよろしいですか？"),
                           true);
        QVERIFY(w().close());
    }
    // -----------------------------------------------------------------------------------------
    // Start-up with a file, the date

    void startsOnTheSheetNamedOnTheCommandLine() {
        const QString path = writeSheetFile(QStringLiteral("棟A.ksk"), [](Sheet& s) {
            singleFeeder(s, 0, "L1");
            singleFeeder(s, 1, "L2");
            s.heading.buildingName = "中央ビル";
            s.heading.eraLabel = "令和";
            s.heading.eraYear = "5";
            s.heading.month = "4";
            s.heading.day = "1";
        });
        TForm1& form = open(path);
        QCOMPARE(form.FileName, path);
        QCOMPARE(cell(1, col::name), QStringLiteral("L2"));
        QCOMPARE(cell(1, col::number), QStringLiteral("2"));
        QCOMPARE(grid()->model()->rowCount(), 108);
        QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("中央ビル"));
        QCOMPARE(child<QLineEdit>("Edit25")->text(), QStringLiteral("5"));
        QCOMPARE(child<QLineEdit>("Edit26")->text(), QStringLiteral("4"));
        QCOMPARE(child<QLabel>("Label56")->text(), QStringLiteral("令和"));
        QVERIFY(!form.document().unsaved());
    }

    void theBundledExampleOpensWithoutAMessage() {
        TForm1& form = open(QStringLiteral(WIRELARK_EXAMPLE_SHEET));
        QCOMPARE(form.FileName, QStringLiteral(WIRELARK_EXAMPLE_SHEET));
        QVERIFY(form.sheet().lastUsedRow() > 10);
        QVERIFY(grid()->model()->rowCount() >= 108);
        QCOMPARE(cell(0, col::number), QStringLiteral("1"));
        QVERIFY(!child<QLineEdit>("Edit1")->text().isEmpty());
        // The tree glyphs come back whole although the file's code page has no "▶".
        for (int r = 0; r <= form.sheet().lastUsedRow(); ++r)
            QVERIFY2(!cell(r, col::glyph).contains(QLatin1Char('?')),
                     qPrintable(cell(r, col::glyph)));
        QVERIFY(!form.document().unsaved());
    }

    void aFileThatCannotBeReadLeavesTheEmptySheet() {
        const QString path = m_dir->filePath(QStringLiteral("壊れた.ksk"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("twenty\r\n");
        f.close();
        m_prompter->expectStartingWith(
            Box::Info, QStringLiteral("ファイル「壊れた.ksk」を読み込めませんでした。"));
        TForm1& form = open(path);
        QCOMPARE(form.FileName, QString());
        QCOMPARE(grid()->model()->rowCount(), 108);
        QCOMPARE(form.sheet().lastUsedRow(), 0);
        QVERIFY(form.sheet().cell(0, col::glyph).empty());
    }

    void todayWritesTheEraYear_data() {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("era");
        QTest::addColumn<QString>("eraYear");
        QTest::newRow("first year of Reiwa is 元") << QDate(2019, 6, 1) << "令和"
                                                   << "元";
        QTest::newRow("2024 is Reiwa 6") << QDate(2024, 1, 9) << "令和"
                                         << "6";
        QTest::newRow("the day before Reiwa is Heisei 31") << QDate(2019, 4, 30) << "平成"
                                                           << "31";
    }
    void todayWritesTheEraYear() {
        QFETCH(QDate, today);
        QFETCH(QString, era);
        QFETCH(QString, eraYear);
        m_clock.date = today;
        open();
        child<QLineEdit>("Edit25")->clear();
        child<QPushButton>("Button124")->click();
        QCOMPARE(child<QLineEdit>("Edit2")->text(), era);
        QCOMPARE(child<QLabel>("Label56")->text(), era);
        QCOMPARE(child<QLineEdit>("Edit25")->text(), eraYear);
        QCOMPARE(child<QLineEdit>("Edit3")->text(), QString::number(today.year()));
        QCOMPARE(child<QLineEdit>("Edit26")->text(), QString::number(today.month()));
        QCOMPARE(child<QLineEdit>("Edit27")->text(), QString::number(today.day()));
    }

    void aClickIntoTheEraNameBoxFillsInToday() {
        m_clock.date = QDate(2024, 5, 10);
        open();
        child<QPushButton>("Button19")->click();
        auto* edit2 = child<QLineEdit>("Edit2");
        edit2->setText(QStringLiteral("昭和"));
        child<QLineEdit>("Edit25")->setText(QStringLiteral("63"));
        QTest::mouseClick(edit2, Qt::LeftButton);
        QCOMPARE(edit2->text(), QStringLiteral("令和"));
        QCOMPARE(child<QLineEdit>("Edit25")->text(), QStringLiteral("6"));
    }

    void startUpDatesTheSheetToday() {
        m_clock.date = QDate(2019, 5, 1);
        open();
        QCOMPARE(child<QLabel>("Label56")->text(), QStringLiteral("令和"));
        QCOMPARE(child<QLineEdit>("Edit25")->text(), QStringLiteral("元"));
        QCOMPARE(child<QLineEdit>("Edit26")->text(), QStringLiteral("5"));
        QCOMPARE(child<QLineEdit>("Edit27")->text(), QStringLiteral("1"));
    }

    void eraConversionOfTheWesternYear_data() {
        QTest::addColumn<QString>("western");
        QTest::addColumn<QString>("era");
        QTest::addColumn<QString>("eraYear");
        QTest::newRow("1989 is the first year of Heisei") << "1989"
                                                          << "平成"
                                                          << "元";
        QTest::newRow("1988 is Showa 63") << "1988"
                                          << "昭和"
                                          << "63";
        QTest::newRow("2019 is the first year of Reiwa") << "2019"
                                                         << "令和"
                                                         << "元";
        QTest::newRow("2018 is Heisei 30") << "2018"
                                           << "平成"
                                           << "30";
        QTest::newRow("1926, the first year of Showa") << "1926"
                                                       << "昭和"
                                                       << "元";
        QTest::newRow("before Showa nothing changes") << "1925"
                                                      << "令和"
                                                      << "6";
    }
    void eraConversionOfTheWesternYear() {
        QFETCH(QString, western);
        QFETCH(QString, era);
        QFETCH(QString, eraYear);
        TForm1& form = open();  // 2024-05-10: 令和 6
        child<QLineEdit>("Edit3")->setText(western);
        form.Button20Click();
        QCOMPARE(child<QLabel>("Label56")->text(), era);
        QCOMPARE(child<QLineEdit>("Edit2")->text(), era);
        QCOMPARE(child<QLineEdit>("Edit25")->text(), eraYear);
    }

    void westernDisplayConvertsTheEraYear_data() {
        QTest::addColumn<QString>("era");
        QTest::addColumn<QString>("eraYear");
        QTest::addColumn<QString>("western");
        QTest::newRow("元 under Heisei is 1989") << "平成"
                                                 << "元"
                                                 << "1989";
        QTest::newRow("Showa 63 is 1988") << "昭和"
                                          << "63"
                                          << "1988";
        QTest::newRow("Reiwa 6 is 2024") << "令和"
                                         << "6"
                                         << "2024";
    }
    void westernDisplayConvertsTheEraYear() {
        QFETCH(QString, era);
        QFETCH(QString, eraYear);
        QFETCH(QString, western);
        open();
        child<QLabel>("Label56")->setText(era);
        child<QLineEdit>("Edit25")->setText(eraYear);
        child<QRadioButton>("RadioButton4")->click();
        QCOMPARE(child<QLineEdit>("Edit3")->text(), western);
        QCOMPARE(child<QLineEdit>("Edit2")->text(), era);
        QCOMPARE(child<QLabel>("Label67")->text(), western + QStringLiteral("年"));
    }

    void anEraNameKeptInTheSettingsDoesNotRelabelThisYear() {
        QFile ini(m_dir->filePath(QStringLiteral("set.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(QByteArray::fromStdString(utf8ToCp932("1\r\n平成\r\n3\r\n5\r\n")));
        ini.close();
        TForm1& form = open();  // 2024
        form.FormActivate();
        QCOMPARE(child<QLabel>("Label56")->text(), QStringLiteral("令和"));
        QCOMPARE(child<QLineEdit>("Edit25")->text(), QStringLiteral("6"));
    }

    // -----------------------------------------------------------------------------------------
    // The pop-up menu and the row operations

    void menuNamesTheFeederOfTheRow() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        singleFeeder(draft(), 1, "L2");
        singleFeeder(draft(), 2, "L3");
        refresh();
        selectAndRightClick(2, 2);
        QVERIFY(form.PopupMenu1().isVisible());
        QCOMPARE(menuItem("N1")->text(), QStringLiteral("No.3 を削除する"));
        QCOMPARE(form.popupTag, 0);
        QVERIFY(menuItem("N1")->isEnabled());
        QVERIFY(menuItem("N7")->isEnabled());
        QVERIFY(menuItem("N3")->isEnabled());
        QVERIFY(menuItem("N9")->isEnabled());
        closeMenu();
    }

    void menuOnAnEmptyRowDeletesRowsAndCopiesNothing() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        refresh();
        selectAndRightClick(10, 10);
        QVERIFY(form.PopupMenu1().isVisible());
        QCOMPARE(menuItem("N1")->text(), QStringLiteral("行を削除する"));
        QCOMPARE(form.popupTag, 1);
        QVERIFY(!menuItem("N7")->isEnabled());
        QVERIFY(!menuItem("N3")->isEnabled());
        QVERIFY(!menuItem("N9")->isEnabled());
        closeMenu();
    }

    void noMenuInsideAOneSystemTree() {
        TForm1& form = open();
        residentialFeeder(draft(), 0, "M1", {"30", "30", "20"});
        refresh();
        selectAndRightClick(2, 2);  // "├─▶"
        QVERIFY(!form.PopupMenu1().isVisible());
    }

    void menuOnABranchBesideASecondSystem() {
        TForm1& form = open();
        residentialFeeder(draft(), 0, "M1", {"30", "30"});
        draft().setCell(1, col::glyph, std::string(glyph::firstTrunkTwo));
        draft().setCell(2, col::glyph, std::string(glyph::branchTwo));
        refresh();
        selectAndRightClick(2, 2);  // "│├▶"
        QVERIFY(form.PopupMenu1().isVisible());
        QCOMPARE(menuItem("N1")->text(), QStringLiteral("No.1 を削除する"));
        closeMenu();
    }

    void deletingAFeederMovesTheNextOnesUpAndRenumbers() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        residentialFeeder(draft(), 1, "M2", {"30", "30", "20"});  // rows 1..7
        singleFeeder(draft(), 8, "L3");
        singleFeeder(draft(), 9, "L4");
        refresh();
        QCOMPARE(cell(8, col::number), QStringLiteral("3"));
        selectAndRightClick(1, 1);
        QCOMPARE(menuItem("N1")->text(), QStringLiteral("No.2 を削除する"));
        m_prompter->expect(Box::Info, QStringLiteral("削除しましたので、No.の更新を行います"));
        menuItem("N1")->trigger();
        closeMenu();
        QCOMPARE(cell(1, col::name), QStringLiteral("L3"));
        QCOMPARE(cell(1, col::number), QStringLiteral("2"));
        QCOMPARE(cell(2, col::name), QStringLiteral("L4"));
        QCOMPARE(cell(2, col::number), QStringLiteral("3"));
        QCOMPARE(cell(2, col::feederNumber), QStringLiteral("3"));
        QVERIFY(form.sheet().cell(3, col::glyph).empty());
        QCOMPARE(grid()->model()->rowCount(), 108);
        QVERIFY(form.document().unsaved());
    }

    void deletingSelectedRowsAsksNothing() {
        open();
        for (int r = 20; r <= 24; ++r)
            draft().setCell(r, col::remarks, "メモ" + std::to_string(r));
        refresh();
        selectAndRightClick(20, 22);
        QCOMPARE(menuItem("N1")->text(), QStringLiteral("行を削除する"));
        menuItem("N1")->trigger();
        closeMenu();
        QCOMPARE(cell(20, col::remarks), QStringLiteral("メモ23"));
        QCOMPARE(cell(21, col::remarks), QStringLiteral("メモ24"));
        QCOMPARE(cell(22, col::remarks), QString());
        QCOMPARE(cell(19, col::remarks), QString());
        QCOMPARE(grid()->model()->rowCount(), 108);
    }

    void insertingARowMovesTheRowDown() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        singleFeeder(draft(), 1, "L2");
        refresh();
        selectAndRightClick(1, 1);
        menuItem("N2")->trigger();
        closeMenu();
        QVERIFY(form.sheet().cell(1, col::glyph).empty());
        QCOMPARE(cell(2, col::name), QStringLiteral("L2"));
        QCOMPARE(grid()->model()->rowCount(), 109);
    }

    void aCopiedFeederPastesAtTheRowAndGetsItsOwnNumber() {
        TForm1& form = open();
        residentialFeeder(draft(), 0, "M1", {"30", "30", "20"});  // rows 0..6
        singleFeeder(draft(), 7, "L2");
        refresh();
        selectAndRightClick(0, 0);
        menuItem("N7")->trigger();
        closeMenu();
        QCOMPARE(form.document().s1, 0);
        QCOMPARE(form.document().e1, 6);
        selectAndRightClick(40, 40);
        menuItem("N8")->trigger();
        closeMenu();
        for (int r = 0; r < 7; ++r) {
            QCOMPARE(cell(40 + r, col::glyph), cell(r, col::glyph));
            QCOMPARE(cell(40 + r, col::loadName), cell(r, col::loadName));
        }
        QCOMPARE(cell(0, col::number), QStringLiteral("1"));
        QCOMPARE(cell(7, col::number), QStringLiteral("2"));
        QCOMPARE(cell(40, col::number), QStringLiteral("3"));
        QCOMPARE(cell(46, col::feederNumber), QStringLiteral("3"));
        // The buffer stays: the same block pastes again.
        selectAndRightClick(60, 60);
        menuItem("N8")->trigger();
        closeMenu();
        QCOMPARE(cell(60, col::glyph), QString::fromUtf8(glyph::head.data(), glyph::head.size()));
        QCOMPARE(cell(60, col::number), QStringLiteral("4"));
    }

    void emptyingTheSheetClearsEveryCellAndFreesTheFrequency() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        residentialFeeder(draft(), 3, "M2", {"30", "30"});
        refresh();
        form.document().setUnsaved(true);
        // A feeder confirmed in the feeder dialog locks the frequency.
        form.document().setFrequencyLocked(true);
        QVERIFY(!child<QRadioButton>("RadioButton1")->isEnabled());
        QVERIFY(!child<QRadioButton>("RadioButton2")->isEnabled());
        selectAndRightClick(50, 50);
        menuItem("N11")->trigger();
        closeMenu();
        for (int r = 0; r < form.sheet().rowCount(); ++r)
            for (int c = 0; c < kColumnCount; ++c)
                QVERIFY(form.sheet().cell(r, c).empty());
        QCOMPARE(grid()->model()->rowCount(), 108);
        QVERIFY(child<QRadioButton>("RadioButton1")->isEnabled());
        QVERIFY(child<QRadioButton>("RadioButton2")->isEnabled());
        // The emptied rows can still be brought back: work that "開く" would lose.
        QVERIFY(form.document().unsaved());
        QCOMPARE(form.document().undoName(), "全削除");
    }

    // -----------------------------------------------------------------------------------------
    // Checks and verdicts

    void aBreakerBelowTheMainBreakerTurnsRed() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        draft().setCell(0, col::breaker, "100");
        draft().setCell(0, col::mainBreaker, "125");
        refresh();
        QVERIFY(form.sheetModel().isRed(0, col::breaker));
        QVERIFY(form.sheetModel().isRed(0, col::verdict));
        QVERIFY(!form.sheetModel().isRed(0, col::mainBreaker));
        QCOMPARE(cell(0, col::verdict),
                 QStringLiteral("×：幹線保護用遮断機が主幹器具定格電流より小さい"));
        // Once the breaker is raised the verdict and the red go.
        set(0, col::breaker, "150");
        QVERIFY(!form.sheetModel().isRed(0, col::breaker));
    }

    void verdictSummaryShowsEveryFailingRow() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        draft().setCell(0, col::loadName, "P-1");
        draft().setCell(0, col::breaker, "100");
        draft().setCell(0, col::mainBreaker, "125");
        singleFeeder(draft(), 1, "L2");
        for (int r = 2; r < 40; ++r)
            singleFeeder(draft(), r, "L");
        singleFeeder(draft(), 40, "");
        draft().setCell(40, col::loadName, "P-2");
        draft().setCell(40, col::singleDrop, "3.50");
        draft().setCell(40, col::allowableDrop, "3");
        refresh();
        m_prompter->expect(
            Box::Finding,
            QStringLiteral("エラー:　×：幹線保護用遮断機が主幹器具定格電流より小さい"
                           "   幹線名【 L1 】　   負荷名称【 P-1 】　※確認してください。"));
        m_prompter->expect(Box::Finding,
                           QStringLiteral("エラー:　×：電圧降下が大きい 確認必要"
                                          "   負荷名称【 P-2 】　※確認してください。"));
        m_prompter->expect(Box::Finding, QStringLiteral("電圧降下:　3.50 V    負荷名称【 P-2 】"
                                                        "　※確認してください。"));
        child<QPushButton>("Button25")->click();
        // The last finding's row is the top row and the selected one.
        QCOMPARE(form.topRow(), 40);
        QCOMPARE(grid()->selectionModel()->selectedRows().front().row(), 40);
    }

    void verdictSummaryOfAGoodSheet() {
        open();
        singleFeeder(draft(), 0, "L1");
        refresh();
        m_prompter->expect(Box::Info, QStringLiteral("判定は良好です。"));
        child<QPushButton>("Button25")->click();
    }

    // -----------------------------------------------------------------------------------------
    // Files and settings

    void savedSheetOpensAgainAfterTheQuestion() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        singleFeeder(draft(), 1, "L2");
        refresh();
        child<QLineEdit>("Edit1")->setText(QStringLiteral("中央ビル"));
        form.document().setUnsaved(true);

        m_files.saveAnswers.push_back(m_dir->filePath(QStringLiteral("中央")));
        child<QPushButton>("Button2")->click();
        QCOMPARE(m_files.suggested, QStringList{QStringLiteral("中央ビル幹線計算書")});
        QCOMPARE(m_files.filters, QStringList{QStringLiteral("ksk (*.ksk)")});
        const QString saved = m_dir->filePath(QStringLiteral("中央.ksk"));
        QVERIFY(QFile::exists(saved));
        QCOMPARE(form.FileName, saved);
        QVERIFY(!form.document().unsaved());
        QCOMPARE(grid()->model()->rowCount(), 1 + 20);  // last used row + 20

        // Unsaved work: "開く" asks first; No keeps everything.
        set(0, col::name, "変更");
        child<QLineEdit>("Edit1")->setText(QStringLiteral("別のビル"));
        m_prompter->expect(Box::Question,
                           QStringLiteral("作業中のデーターが消失します。開いてよろしいですか？"),
                           false);
        child<QPushButton>("Button1")->click();
        QCOMPARE(cell(0, col::name), QStringLiteral("変更"));

        // Yes, then cancelling the chooser also keeps everything.
        m_prompter->expect(Box::Question,
                           QStringLiteral("作業中のデーターが消失します。開いてよろしいですか？"),
                           true);
        m_files.openAnswers.push_back(std::nullopt);
        child<QPushButton>("Button1")->click();
        QCOMPARE(cell(0, col::name), QStringLiteral("変更"));

        m_prompter->expect(Box::Question,
                           QStringLiteral("作業中のデーターが消失します。開いてよろしいですか？"),
                           true);
        m_files.openAnswers.push_back(saved);
        child<QPushButton>("Button1")->click();
        QCOMPARE(cell(0, col::name), QStringLiteral("L1"));
        QCOMPARE(cell(1, col::name), QStringLiteral("L2"));
        QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("中央ビル"));
        QCOMPARE(grid()->model()->rowCount(), 108);
        QVERIFY(!form.document().unsaved());

        // Nothing changed since: no question.
        m_files.openAnswers.push_back(saved);
        child<QPushButton>("Button1")->click();
    }

    void openingAFileThatFailsKeepsTheSheet() {
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        refresh();
        const QString bad = m_dir->filePath(QStringLiteral("短い.ksk"));
        QFile f(bad);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("40\r\n5\r\n,,,\r\n");
        f.close();
        m_files.openAnswers.push_back(bad);
        m_prompter->expectStartingWith(
            Box::Info, QStringLiteral("ファイル「短い.ksk」を読み込めませんでした。"));
        child<QPushButton>("Button1")->click();
        QCOMPARE(cell(0, col::name), QStringLiteral("L1"));
        QCOMPARE(form.FileName, QString());
    }

    void savingWhereNoFileCanBeWrittenSaysSo() {
        open();
        singleFeeder(draft(), 0, "L1");
        refresh();
        m_files.saveAnswers.push_back(m_dir->filePath(QStringLiteral("無い/フォルダ/棟.ksk")));
        m_prompter->expectStartingWith(Box::Info, QStringLiteral("ファイル \""));
        child<QPushButton>("Button2")->click();
        QCOMPARE(cell(0, col::name), QStringLiteral("L1"));
    }

    void savingTheSettingsWritesTheFileAndRecalculates() {
        TForm1& form = open();
        residentialFeeder(draft(), 0, "M1", {"30", "30", "20"});
        refresh();
        leftClick(0);
        form.Button5Click();
        QCOMPARE(form.document().e1, 6);

        child<QPushButton>("Button19")->click();
        child<QRadioButton>("RadioButton2")->click();
        child<QRadioButton>("RadioButton4")->click();
        child<QLineEdit>("Edit2")->setText(QStringLiteral("平成"));
        child<QRadioButton>("RadioButton6")->click();
        child<QPushButton>("Button18")->click();

        QVERIFY(!child<QWidget>("Panel30")->isVisible());
        QFile ini(m_dir->filePath(QStringLiteral("set.ini")));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        const QByteArray bytes = ini.readAll();
        QCOMPARE(QString::fromStdString(cp932ToUtf8(bytes.toStdString())),
                 QStringLiteral("2\r\n平成\r\n4\r\n6\r\n"));
        // The trunk currents were summed from the branches below them.
        QCOMPARE(cell(5, col::designCurrent), QStringLiteral("20"));
        QCOMPARE(cell(3, col::designCurrent), QStringLiteral("50"));
        QCOMPARE(cell(1, col::designCurrent), QStringLiteral("80"));
        QCOMPARE(cell(0, col::designCurrent), QStringLiteral("80"));
        QVERIFY(form.document().unsaved());
    }

    void settingsThatCannotBeWrittenKeepThePanelOpen() {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("set.ini")));  // a folder in the way
        TForm1& form = open();
        residentialFeeder(draft(), 0, "M1", {"30", "20"});
        refresh();
        leftClick(0);
        form.Button5Click();
        child<QPushButton>("Button19")->click();
        m_prompter->expectStartingWith(Box::Info, QStringLiteral("ファイル \""));
        child<QPushButton>("Button18")->click();
        QVERIFY(child<QWidget>("Panel30")->isVisible());
        QCOMPARE(cell(1, col::designCurrent), QString());  // not recalculated
        QVERIFY(!form.document().unsaved());
    }

    void settingsOfAnEarlierRunApplyAtActivation() {
        QFile ini(m_dir->filePath(QStringLiteral("set.ini")));
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("2\r\n\x97\xdf\x98\x61\r\n3\r\n6\r\n");  // 令和 in code page 932
        ini.close();
        open();
        QVERIFY(child<QRadioButton>("RadioButton2")->isChecked());
        QCOMPARE(child<QLabel>("Label66")->text(), QStringLiteral("50Hz"));
        QVERIFY(child<QRadioButton>("RadioButton6")->isChecked());
        QCOMPARE(child<QLineEdit>("Edit2")->text(), QStringLiteral("令和"));
    }

    void anUnreadableSettingsFileDoesNotStopTheWindow() {
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("set.ini")));  // a folder, not a file
        TForm1& form = open();
        QVERIFY(form.isVisible());
        QVERIFY(child<QRadioButton>("RadioButton1")->isChecked());
        QCOMPARE(grid()->selectionModel()->selectedRows().front().row(), 0);
    }

    // -----------------------------------------------------------------------------------------
    // Clipboard

    void theWholeSheetGoesToTheClipboardWithItsTitles() {
        TForm1& form = open();
        for (int r = 0; r < 10; ++r)
            singleFeeder(draft(), r, "L");
        refresh();
        child<QPushButton>("Button3")->click();
        QCOMPARE(m_clipboard.texts.size(), 1);
        const QStringList l = lines(m_clipboard.texts.front());
        QCOMPARE(l.size(), 11);
        QVERIFY(l[0].startsWith(QStringLiteral("幹線番号又は名称\t電気方式\t")));
        QVERIFY(l[0].endsWith(QStringLiteral("許容電圧降下[V]\t")));
        QCOMPARE(l[1].split('\t').size(), 17);
        QCOMPARE(l[1].split('\t')[4], QStringLiteral(" ──▶"));
        QCOMPARE(form.popupTag, 0);
    }

    // -----------------------------------------------------------------------------------------
    // Printing

    void printsOneA4LandscapePageFor18RowsTitledWithTheBuilding_data() {
        QTest::addColumn<int>("usedRows");
        QTest::addColumn<int>("pages");
        QTest::newRow("an empty sheet prints the empty form") << 0 << 1;
        QTest::newRow("18 rows fill one page") << 18 << 1;
        QTest::newRow("the 19th row starts a second page") << 19 << 2;
        QTest::newRow("37 rows take three pages") << 37 << 3;
    }
    void printsOneA4LandscapePageFor18RowsTitledWithTheBuilding() {
        QFETCH(int, usedRows);
        QFETCH(int, pages);
        open();
        singleFeeders(usedRows);
        child<QLineEdit>("Edit1")->setText(QStringLiteral("中央ビル"));
        print(pdf());
        QCOMPARE(pdfPages(pdf()), pages);

        const QString info = toolOutput(QStringLiteral("pdfinfo"), {pdf()});
        if (info.isNull())
            QSKIP("pdfinfo (poppler-utils) is not installed");
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Title:\\s+中央ビル"))),
                 qPrintable(info));
        // The printer came as Letter portrait; the form goes on A4 landscape all the same.
        QVERIFY2(info.contains(
                     QRegularExpression(QStringLiteral("Page size:\\s+84[12](\\.\\d+)? x 595"))),
                 qPrintable(info));
    }

    void pageNumbersFollowTheSetting_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<bool>("numbered");
        QTest::newRow("印刷する puts P-1, P-2 under the frame") << "RadioButton5" << true;
        QTest::newRow("印刷しない prints none") << "RadioButton6" << false;
    }
    void pageNumbersFollowTheSetting() {
        QFETCH(QString, option);
        QFETCH(bool, numbered);
        open();
        singleFeeders(19);
        child<QRadioButton>(option.toLatin1().constData())->setChecked(true);
        print(pdf());
        const QString text = toolOutput(QStringLiteral("pdftotext"), {pdf(), QStringLiteral("-")});
        if (text.isNull())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QVERIFY2(text.contains(QStringLiteral("電路計算書（幹線用）")), qPrintable(text));
        QCOMPARE(text.contains(QStringLiteral("P-1")), numbered);
        QCOMPARE(text.contains(QStringLiteral("P-2")), numbered);
    }

    void printingMakesTheExportPagePlan() {
        open();
        singleFeeders(19);
        print(pdf());
        // Lines 1 to 18 on the first worksheet, the 19th row starts the next one.
        QCOMPARE(cell(0, col::pageLine), QStringLiteral("1"));
        QCOMPARE(cell(17, col::pageLine), QStringLiteral("18"));
        QCOMPARE(cell(18, col::pageLine), QStringLiteral("1"));
        QCOMPARE(cell(0, col::blockPages), QStringLiteral("1"));
        QVERIFY(!w().document().unsaved());
    }

    void cancellingThePrintDialogPrintsNothingAndAsksNothing() {
        open();
        singleFeeders(3);
        print(std::nullopt);
        QVERIFY(filesInDir().isEmpty());
        QCOMPARE(cell(0, col::pageLine), QString());  // not even the page plan ran
    }

    void textInANumberColumnStopsThePrintWithTheWarningNamingTheCell() {
        open();
        singleFeeders(25);
        set(20, col::designCurrent, "abc");
        m_prompter->expect(
            Box::Warning, QStringLiteral("情報不足で印刷出来ませんでした。\n"
                                         "21 行目「設計負荷電流」の「abc」は数値ではありません。"));
        print(pdf());
        // The full first page and the second as far as it got are printed.
        QCOMPARE(pdfPages(pdf()), 2);
    }

    void aPrinterThatCannotStartGivesTheWarning() {
        open();
        singleFeeders(3);
        m_prompter->expect(Box::Warning, QStringLiteral("情報不足で印刷出来ませんでした。"));
        print(m_dir->filePath(QStringLiteral("無い/フォルダ/sheet.pdf")));
        QVERIFY(filesInDir().isEmpty());
    }

    // What the user does while the pages are drawn, just before page `atPage` starts: the
    // click or the close is queued as the desktop would queue it, so it reaches the window only
    // if the window keeps handling events while it prints.
    void aPrintEndsWithEveryPageOrLeavesTheFileAsItWas_data() {
        QTest::addColumn<bool>("earlierFile");
        QTest::addColumn<QString>("during");
        QTest::addColumn<int>("atPage");
        QTest::newRow("all 5 pages drawn write the file") << false << "nothing" << 0;
        QTest::newRow("all 5 pages drawn replace an earlier file") << true << "nothing" << 0;
        QTest::newRow("中止 at page 3 leaves no file") << false << "中止" << 3;
        QTest::newRow("中止 at page 2 keeps the earlier file") << true << "中止" << 2;
        QTest::newRow("中止 on the last page writes nothing") << true << "中止" << 5;
        QTest::newRow("closing the window at page 4 stops the print") << true << "close" << 4;
        QTest::newRow("a page feed that fails keeps the earlier file") << true << "failure" << 3;
    }
    void aPrintEndsWithEveryPageOrLeavesTheFileAsItWas() {
        QFETCH(bool, earlierFile);
        QFETCH(QString, during);
        QFETCH(int, atPage);
        constexpr int pages = 5;
        TForm1& form = open();
        singleFeeders(pages * 18);
        const QByteArray earlier("%PDF-1.4 the sheet as printed last week");
        if (earlierFile) {
            QFile f(pdf());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(earlier);
        }
        auto* bar = child<QProgressBar>("PrintProgressBar");
        bool heldWhilePrinting = true;
        m_printers.beforePage = [&](int page) {
            heldWhilePrinting =
                heldWhilePrinting && child<QFrame>("PrintProgressPanel")->isVisible() &&
                !child<QPushButton>("Button24")->isEnabled() && !menuItem("N14")->isEnabled();
            if (page != atPage)
                return true;
            if (during == QStringLiteral("failure"))
                return false;
            if (during == QStringLiteral("close")) {
                QCoreApplication::postEvent(&form, new QCloseEvent);
            } else {
                auto* cancel = child<QPushButton>("PrintCancelButton");
                const QPointF at = QPointF(cancel->rect().center());
                const QPointF global = QPointF(cancel->mapToGlobal(cancel->rect().center()));
                for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
                    QCoreApplication::postEvent(
                        cancel, new QMouseEvent(type, at, global, Qt::LeftButton,
                                                type == QEvent::MouseButtonPress ? Qt::LeftButton
                                                                                 : Qt::NoButton,
                                                Qt::NoModifier));
            }
            return true;
        };
        const bool completes = during == QStringLiteral("nothing");
        if (during == QStringLiteral("failure"))
            m_prompter->expect(Box::Warning, QStringLiteral("情報不足で印刷出来ませんでした。"));
        else if (!completes)
            m_prompter->expect(Box::Info, QStringLiteral("印刷を中止しました。"));
        print(pdf());

        if (completes) {
            QCOMPARE(pdfPages(pdf()), pages);
            QCOMPARE(bar->value(), pages);
            QCOMPARE(bar->maximum(), pages);
            QCOMPARE(child<QLabel>("PrintProgressPages")->text(), QStringLiteral("5 / 5 ページ"));
        } else if (earlierFile) {
            QCOMPARE(fileBytes(pdf()), earlier);
        }
        if (during == QStringLiteral("中止") || during == QStringLiteral("close"))
            QCOMPARE(bar->value(), atPage);  // the page under way when the user stopped it
        // No temporary file is left beside it.
        QCOMPARE(filesInDir(), completes || earlierFile ? QStringList{QStringLiteral("sheet.pdf")}
                                                        : QStringList{});
        QVERIFY(heldWhilePrinting);
        QVERIFY(!child<QFrame>("PrintProgressPanel")->isVisible());
        QVERIFY(form.isVisible());
        QVERIFY(child<QPushButton>("Button24")->isEnabled());
        QVERIFY(grid()->isEnabled());
    }

    void thePrintFaceHasTheKanjiOfTheForm() {
        open();
        QVERIFY2(drawsKanji(formFont(8)), qPrintable(QFontInfo(formFont(8)).family()));
    }

    // -----------------------------------------------------------------------------------------
    // Workbook export

    void theChosenExportIsWrittenAndOpened_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("worksheets");
        QTest::newRow("18 rows a worksheet: 19 feeders on two") << "Button15" << 2;
        QTest::newRow("a worksheet per feeder: 19 feeders on 19") << "Button12" << 19;
    }
    void theChosenExportIsWrittenAndOpened() {
        QFETCH(QString, button);
        QFETCH(int, worksheets);
        TForm1& form = open();
        draft().heading.buildingName = "中央ビル";
        singleFeeders(19);
        const QString target = m_dir->filePath(QStringLiteral("中央.xlsx"));
        exportBy(button.toLatin1().constData(), target);

        QCOMPARE(m_exports.choosers, std::vector<TForm6*>{&form.Form6()});
        QCOMPARE(m_files.exportSuggested, QStringList{QStringLiteral("中央ビル幹線計算書.xlsx")});
        QVERIFY(m_files.exportFilters.front().contains(QStringLiteral("*.xlsx")));
        QVERIFY(
            m_files.suggested.isEmpty());  // not the sheet's save dialog, which replaces unasked

        const QByteArray bytes = fileBytes(target);
        QVERIFY(bytes.startsWith("PK"));  // a zip package, as every .xlsx
        // Part names are stored uncompressed in the package's directory.
        QVERIFY(
            bytes.contains(QStringLiteral("xl/worksheets/sheet%1.xml").arg(worksheets).toLatin1()));
        QVERIFY(!bytes.contains(
            QStringLiteral("xl/worksheets/sheet%1.xml").arg(worksheets + 1).toLatin1()));
        QCOMPARE(filesInDir(), QStringList{QStringLiteral("中央.xlsx")});  // no temporary left

        QCOMPARE(m_opener.opened, QStringList{target});
        QVERIFY(!progressPanel()->isVisible());
        const auto* bar = child<QProgressBar>("ProgressBar1");
        QCOMPARE(bar->value(), bar->maximum());
        QCOMPARE(cell(18, col::pageLine), QStringLiteral("1"));
        QVERIFY(!form.document().unsaved());
    }

    void theProgressPanelCoversTheWindowWithItsCaptions() {
        TForm1& form = open();
        QCOMPARE(child<QLabel>("ProgressTitle")->text(), QStringLiteral("エクセル変換中"));
        QCOMPARE(child<QLabel>("ProgressNote")->text(), QStringLiteral("※しばらくおまちください"));
        form.resize(1200, 700);
        QCOMPARE(progressPanel()->geometry(), QRect(0, 0, 1200, 700));
        QVERIFY(!progressPanel()->isVisible());
    }

    void cancellingTheExportWritesAndOpensNothing_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("キャンセル in the chooser") << "Button1";
        QTest::newRow("cancel in the file chooser") << "Button15";
    }
    void cancellingTheExportWritesAndOpensNothing() {
        QFETCH(QString, button);
        TForm1& form = open();
        singleFeeders(3);
        exportBy(button.toLatin1().constData(), std::nullopt);
        QVERIFY(filesInDir().isEmpty());
        QVERIFY(m_opener.opened.isEmpty());
        QVERIFY(!progressPanel()->isVisible());
        QCOMPARE(cell(0, col::pageLine), QString());
        QCOMPARE(m_files.exportSuggested.size(), button == QStringLiteral("Button1") ? 0 : 1);

        // The chooser is the window's one and only, shown again for the next export.
        exportBy("Button1", std::nullopt);
        QCOMPARE(m_exports.choosers.size(), std::size_t{2});
        QCOMPARE(m_exports.choosers[0], m_exports.choosers[1]);
        QCOMPARE(m_exports.choosers[0]->parent(), &form);
        QCOMPARE(form.findChildren<TForm6*>().size(), 1);
    }

    void theWorkbookIsProposedBesideTheOpenSheetFile() {
        const QString sheetFile = writeSheetFile(QStringLiteral("棟.ksk"), [](Sheet& sheet) {
            singleFeeder(sheet, 0, "L1");
            sheet.heading.buildingName = "南ビル";
        });
        open(sheetFile);
        exportBy("Button15", std::nullopt);
        QCOMPARE(m_files.exportSuggested,
                 QStringList{m_dir->filePath(QStringLiteral("南ビル幹線計算書.xlsx"))});
    }

    void aNameWithoutExtensionGetsTheWorkbookExtension() {
        open();
        singleFeeders(2);
        exportBy("Button15", m_dir->filePath(QStringLiteral("棟")));
        const QString written = m_dir->filePath(QStringLiteral("棟.xlsx"));
        QVERIFY(fileBytes(written).startsWith("PK"));
        QCOMPARE(m_opener.opened, QStringList{written});
    }

    void aWorkbookThatCannotBeWrittenSaysSoAndOpensNothing() {
        open();
        singleFeeders(2);
        const QString target = m_dir->filePath(QStringLiteral("無い/フォルダ/棟.xlsx"));
        m_prompter->expectStartingWith(Box::Info,
                                       QStringLiteral("エクセルファイル「") + target +
                                           QStringLiteral("」を保存できませんでした（"
                                                          "保存先のフォルダーがありません"));
        exportBy("Button15", target);
        QVERIFY(filesInDir().isEmpty());
        QVERIFY(m_opener.opened.isEmpty());
        QVERIFY(!progressPanel()->isVisible());
    }

    void aFeederRowCountThatIsNotANumberStopsTheExport_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("18 rows a worksheet") << "Button15";
        QTest::newRow("a worksheet per feeder") << "Button12";
    }
    void aFeederRowCountThatIsNotANumberStopsTheExport() {
        QFETCH(QString, button);
        open();
        singleFeeders(3);
        set(1, col::blockRows, "x");
        m_prompter->expect(Box::Info, QStringLiteral("2 行目「") +
                                          QString::fromUtf8(columnCaption(col::blockRows)) +
                                          QStringLiteral("」の「x」は数値ではありません。"));
        exportBy(button.toLatin1().constData(), m_dir->filePath(QStringLiteral("棟.xlsx")));
        QVERIFY(filesInDir().isEmpty());
        QVERIFY(m_opener.opened.isEmpty());
        QVERIFY(!progressPanel()->isVisible());
    }

    void whenNothingCanOpenTheWorkbookTheUserLearnsWhereItIs() {
        open();
        singleFeeders(2);
        m_opener.succeeds = false;
        const QString target = m_dir->filePath(QStringLiteral("棟.xlsx"));
        m_prompter->expect(Box::Info, QStringLiteral("エクセルファイルを「%1」に保存しました。"
                                                     "開くアプリケーションが見つかりませんでした。")
                                          .arg(QDir::toNativeSeparators(target)));
        exportBy("Button15", target);
        QVERIFY(fileBytes(target).startsWith("PK"));
    }

    void oneFeederGoesToTheClipboardWithoutTitles() {
        open();
        singleFeeder(draft(), 0, "L1");
        residentialFeeder(draft(), 1, "M2", {"30", "30", "20"});
        singleFeeder(draft(), 8, "L3");
        refresh();
        selectAndRightClick(1, 1);
        menuItem("N3")->trigger();
        closeMenu();
        const QStringList l = lines(m_clipboard.texts.front());
        QCOMPARE(l.size(), 7);
        QVERIFY(l[0].startsWith(QStringLiteral("M2\t")));
        QCOMPARE(l[2].split('\t')[4], QStringLiteral(" ├─▶"));
        QCOMPARE(l[6].split('\t')[4], QStringLiteral(" └─▶"));

        // "(全部)" from the menu copies the whole sheet.
        selectAndRightClick(8, 8);
        menuItem("N9")->trigger();
        closeMenu();
        QCOMPARE(lines(m_clipboard.texts.back()).size(), 1 + 9);
    }

    // -----------------------------------------------------------------------------------------
    // Undo and redo

    void undoAndRedoBringBackEachKindOfStep_data() {
        QTest::addColumn<QString>("step");
        QTest::addColumn<QString>("name");
        QTest::newRow("a feeder deleted from the menu") << "delete feeder"
                                                        << "No.2 を削除";
        QTest::newRow("selected rows deleted") << "delete rows"
                                               << "行を削除";
        QTest::newRow("a blank row inserted") << "insert"
                                              << "行の追加";
        QTest::newRow("a copied feeder pasted") << "paste"
                                                << "貼付";
        QTest::newRow("the sheet emptied") << "empty"
                                           << "全削除";
        QTest::newRow("the sheet dated today") << "today"
                                               << "TODAY";
        QTest::newRow("the building name typed") << "building"
                                                 << "建物名称を変更";
        QTest::newRow("the recalculation of 設定保存") << "settings"
                                                       << "設定保存の再計算";
        QTest::newRow("a feeder written back from its dialog") << "dialog"
                                                               << "No.4 を入力";
    }
    void undoAndRedoBringBackEachKindOfStep() {
        QFETCH(QString, step);
        QFETCH(QString, name);
        TForm1& form = open();
        singleFeeder(draft(), 0, "L1");
        residentialFeeder(draft(), 1, "M2", {"30", "30", "20"});  // rows 1..7
        singleFeeder(draft(), 8, "L3");
        for (int r = 20; r <= 22; ++r)
            draft().setCell(r, col::remarks, "メモ");
        draft().heading.buildingName = "中央ビル";
        draft().heading.eraYear = "2";  // 令和2年: TODAY (2024) changes it
        draft().heading.westernYear = "2020";
        refresh();  // as opened: the saved state
        const SheetState before = state();

        if (step == "delete feeder") {
            selectAndRightClick(1, 1);
            m_prompter->expect(Box::Info, QStringLiteral("削除しましたので、No.の更新を行います"));
            menuItem("N1")->trigger();
        } else if (step == "delete rows") {
            selectAndRightClick(20, 22);
            menuItem("N1")->trigger();
        } else if (step == "insert") {
            selectAndRightClick(8, 8);
            menuItem("N2")->trigger();
        } else if (step == "paste") {
            selectAndRightClick(1, 1);
            menuItem("N7")->trigger();
            closeMenu();
            QVERIFY2(!form.document().canUndo(), "copying is no step");
            selectAndRightClick(30, 30);
            menuItem("N8")->trigger();
        } else if (step == "empty") {
            selectAndRightClick(50, 50);
            menuItem("N11")->trigger();
        } else if (step == "today") {
            child<QPushButton>("Button124")->click();
        } else if (step == "building") {
            auto* edit1 = child<QLineEdit>("Edit1");
            edit1->setFocus();
            edit1->setText(
                QStringLiteral("南ビル"));  // as typed: kanji come through the input method
            QTest::keyClick(edit1, Qt::Key_Return);
            grid()->setFocus();  // Ctrl+Z in the field would undo its own typing
        } else if (step == "settings") {
            leftClick(1);
            form.Button5Click();
            child<QPushButton>("Button19")->click();
            child<QPushButton>("Button18")->click();
        } else if (step == "dialog") {
            confirmFeederDialogWith("L4");
            doubleClick(12);
        }
        closeMenu();
        const SheetState after = state();
        QVERIFY(after != before);
        QVERIFY(form.document().unsaved());
        QCOMPARE(menuItem("N14")->text(),
                 QStringLiteral("元に戻す（") + name + QStringLiteral("）"));

        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QVERIFY(state() == before);
        QVERIFY2(!form.document().unsaved(), "back at the state opened");
        QCOMPARE(child<QLineEdit>("Edit1")->text(), QStringLiteral("中央ビル"));
        QCOMPARE(grid()->model()->rowCount(), static_cast<int>(before.rows.size()));
        QCOMPARE(menuItem("N15")->text(),
                 QStringLiteral("やり直し（") + name + QStringLiteral("）"));
        QVERIFY(!menuItem("N14")->isEnabled());

        keys(QKeySequence(Qt::CTRL | Qt::Key_Y));
        QVERIFY(state() == after);
        QVERIFY(form.document().unsaved());
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        keys(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
        QVERIFY(state() == after);
        QCOMPARE(grid()->model()->rowCount(), static_cast<int>(after.rows.size()));
    }

    void theMenuEndsWithUndoAndRedoAndOpeningStartsANewHistory() {
        TForm1& form = open();
        singleFeeders(3);
        const QList<QAction*> items = form.PopupMenu1().actions();
        QCOMPARE(items[items.size() - 2], menuItem("N14"));
        QCOMPARE(items.back(), menuItem("N15"));
        QCOMPARE(menuItem("N14")->text(), QStringLiteral("元に戻す"));
        QVERIFY(!menuItem("N14")->isEnabled());

        selectAndRightClick(1, 1);
        m_prompter->expect(Box::Info, QStringLiteral("削除しましたので、No.の更新を行います"));
        menuItem("N1")->trigger();
        closeMenu();
        const QString path = m_dir->filePath(QStringLiteral("棟.ksk"));
        m_files.saveAnswers.push_back(path);
        child<QPushButton>("Button2")->click();
        QVERIFY(!form.document().unsaved());
        QVERIFY(form.document().canUndo());  // saving keeps the history

        m_files.openAnswers.push_back(path);
        child<QPushButton>("Button1")->click();
        QVERIFY(!form.document().canUndo());
        QVERIFY(!menuItem("N14")->isEnabled());
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QCOMPARE(cell(1, col::name), QStringLiteral("L3"));
    }

    void theWindowsActivationWaitsForTheDialogsWriteBack() {
        TForm1& form = open();
        m_modal.scripts.push_back([&](QDialog& form2) {
            test::click(form2, "Button1");
            test::click(form2, "RadioButton4");  // two systems: keitou 2
            test::pick(form2, "ComboBox10", QStringLiteral("30"));
            m_modal.scripts.push_front([](QDialog& cables) {
                pickCable(cables,
                          QStringLiteral("600V CVD、600V CVT及びEM 600V CED/F、EM 600V CET/F"),
                          QStringLiteral("150゜"));
            });
            test::click(form2, "Button11");
            // The main window becomes active again before the write-back reads `keitou`.
            QEvent activated(QEvent::ActivationChange);
            QApplication::sendEvent(&form, &activated);
            test::click(form2, "Button4");
        });
        doubleClick(3);
        QCOMPARE(cell(4, col::glyph), QStringLiteral("┌┌┘"));  // laid out for two systems
        QCOMPARE(form.document().keitou, 1);  // the activation ran after the write-back
    }

    // -----------------------------------------------------------------------------------------
    // A sheet's own settings, the findings walk, the window on the screen

    void aSheetKeepsItsOwnSettingsWhileItIsOpen() {
        writeIni("1\r\n\x97\xdf\x98\x61\r\n3\r\n5\r\n");  // 60 Hz, 令和, era display, page numbers
        const QString path = writeSheetFile(QStringLiteral("50Hz.ksk"), [](Sheet& s) {
            for (int r = 0; r < 3; ++r)  // the page-number setting travels in row 1
                singleFeeder(s, r, "L");
            s.settings.frequency = Frequency::Hz50;
            s.settings.printPageNumbers = false;
        });
        TForm1& form = open(path);
        auto fiftyHertz = [&] {
            return child<QRadioButton>("RadioButton2")->isChecked() &&
                   child<QLabel>("Label66")->text() == QStringLiteral("50Hz") &&
                   form.sheet().settings.frequency == Frequency::Hz50 &&
                   child<QRadioButton>("RadioButton6")->isChecked();
        };
        QVERIFY(fiftyHertz());
        m_prompter->expect(Box::Info, QStringLiteral("判定は良好です。"));
        child<QPushButton>("Button25")->click();
        form.FormActivate();
        QVERIFY(fiftyHertz());

        const QString saved = m_dir->filePath(QStringLiteral("控え.ksk"));
        m_files.saveAnswers.push_back(saved);
        child<QPushButton>("Button2")->click();
        const QStringList l =
            lines(QString::fromStdString(cp932ToUtf8(fileBytes(saved).toStdString())));
        QCOMPARE(l[l.size() - 6], QStringLiteral("50"));

        // An emptied sheet takes the program's settings again; undo brings the sheet's back.
        selectAndRightClick(40, 40);
        menuItem("N11")->trigger();
        closeMenu();
        QVERIFY(child<QRadioButton>("RadioButton1")->isChecked());
        QVERIFY(child<QRadioButton>("RadioButton5")->isChecked());
        keys(QKeySequence(Qt::CTRL | Qt::Key_Z));
        QVERIFY(fiftyHertz());
    }

    void stoppingTheFindingsWalkLeavesTheGridOnThatFinding() {
        TForm1& form = open();
        for (int r = 0; r < 60; ++r)
            singleFeeder(draft(), r, "L");
        for (int r : {5, 30, 50}) {
            draft().setCell(r, col::breaker, "100");
            draft().setCell(r, col::mainBreaker, "125");
        }
        refresh();
        const QString text = QStringLiteral(
            "エラー:　×：幹線保護用遮断機が主幹器具定格電流より小さい   幹線名【 L 】　   "
            "負荷名称【 L盤 】　※確認してください。");
        m_prompter->expect(Box::Finding, text, true);   // 次へ
        m_prompter->expect(Box::Finding, text, false);  // 中止: row 50 is never shown
        child<QPushButton>("Button25")->click();
        QCOMPARE(form.topRow(), 30);
        QCOMPARE(grid()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(grid()->selectionModel()->selectedRows().front().row(), 30);
    }

    void theWindowLiesInsideTheScreen() {
        TForm1& form = open();
        const QRect available = form.screen()->availableGeometry();
        QVERIFY2(available.contains(form.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(form.frameGeometry().x())
                                .arg(form.frameGeometry().y())
                                .arg(form.frameGeometry().width())
                                .arg(form.frameGeometry().height())));
        if (available.width() < 1584 + layout::kFrameAllowance.width() ||
            available.height() < 798 + layout::kFrameAllowance.height()) {
            // A laptop screen (1366 x 768): maximised, "開く" and "保存" within reach.
            QVERIFY(form.isMaximized());
            QVERIFY(available.contains(child<QPushButton>("Button1")->mapToGlobal(QPoint(0, 0))));
            QVERIFY(available.contains(child<QPushButton>("Button2")->mapToGlobal(QPoint(0, 0))));
        } else {
            // A desktop screen: the whole row, the longest verdict included, without scrolling.
            QVERIFY(!form.isMaximized());
            QVERIFY(grid()->columnViewportPosition(col::verdict) +
                        grid()->columnWidth(col::verdict) <=
                    grid()->viewport()->width());
        }
    }

    void placementOnTheScreen_data() {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QRect>("available");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("maximised");
        // The longest verdict needs 330 px here: the whole row is 1350 + 20 + 330 = 1700.
        QTest::newRow("full HD widens the window to show the verdict, centred")
            << QSize(1920, 1080) << QRect(0, 0, 1920, 1040) << QSize(1700, 810) << false;
        QTest::newRow("1600 wide keeps the designed width that still fits")
            << QSize(1600, 900) << QRect(0, 0, 1600, 860) << QSize(1584, 675) << false;
        QTest::newRow("1366x768 laptop: maximised within the free area")
            << QSize(1366, 768) << QRect(0, 0, 1366, 728) << QSize(1366, 728) << true;
        QTest::newRow("1360x768: the described height does not fit")
            << QSize(1360, 768) << QRect(0, 0, 1360, 740) << QSize(1360, 740) << true;
        QTest::newRow("1280x1024 fits its narrower width")
            << QSize(1280, 1024) << QRect(0, 0, 1280, 984) << QSize(1255, 768) << false;
        QTest::newRow("a task bar on the left: the free area starts beside it")
            << QSize(1366, 768) << QRect(60, 0, 1306, 768) << QSize(1306, 768) << true;
    }
    void placementOnTheScreen() {
        QFETCH(QSize, screen);
        QFETCH(QRect, available);
        QFETCH(QSize, size);
        QFETCH(bool, maximised);
        const layout::WindowPlacement place = layout::placeWindow(screen, available, 330);
        QCOMPARE(place.size, size);
        QCOMPARE(place.maximised, maximised);
        QVERIFY(available.contains(
            QRect(place.position, maximised ? place.size : place.size + layout::kFrameAllowance)));
    }

    // -----------------------------------------------------------------------------------------
    // Verdicts that explain themselves; saving over a file

    void theLongestVerdictIsReadWholeAndExplained() {
        open();
        singleFeeder(draft(), 0, "L1");
        draft().setCell(0, col::breaker, "100");
        draft().setCell(0, col::mainBreaker, "125");
        refresh();
        const QString verdict = QStringLiteral("×：幹線保護用遮断機が主幹器具定格電流より小さい");
        QCOMPARE(cell(0, col::verdict), verdict);
        QCOMPARE(
            grid()->model()->index(0, col::verdict).data(Qt::ToolTipRole).toString(),
            verdict + QStringLiteral("\n幹線保護用遮断器定格電流 100 A < 主幹器具定格電流 125 A"));
        const QFontMetrics metrics(sheetFont(10));
        QVERIFY(grid()->columnWidth(col::verdict) >= metrics.horizontalAdvance(verdict) + 3);
        // Cells without a verdict have no tooltip.
        QVERIFY(grid()->model()->index(1, col::verdict).data(Qt::ToolTipRole).isNull());
    }

    void savingOverAnExistingFileAsksFirst() {
        TForm1& form = open();
        singleFeeders(2);
        set(0, col::remarks, "変更");
        const QString path = m_dir->filePath(QStringLiteral("棟.ksk"));
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old");
        old.close();
        const QString question =
            QStringLiteral("ファイル「棟.ksk」は既にあります。置き換えてよろしいですか？");

        m_files.saveAnswers.push_back(m_dir->filePath(QStringLiteral("棟")));
        m_prompter->expect(Box::Question, question, false);
        child<QPushButton>("Button2")->click();
        QCOMPARE(fileBytes(path), QByteArray("old"));
        QVERIFY(form.document().unsaved());
        QCOMPARE(form.FileName, QString());
        QCOMPARE(grid()->model()->rowCount(), 108);  // not trimmed either

        m_files.saveAnswers.push_back(path);
        m_prompter->expect(Box::Question, question, true);
        child<QPushButton>("Button2")->click();
        QVERIFY(fileBytes(path).startsWith("21\r\n"));
        QVERIFY(!form.document().unsaved());
        QCOMPARE(form.FileName, path);
    }
};

QTEST_MAIN(KansenTest)
#include "kansen_test.moc"
