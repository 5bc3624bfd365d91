#include "KANSEN.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QPrinter>
#include <QProgressBar>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>

#include "Unit6.h"
#include "branch_hand_off.h"
#include "checks.h"
#include "clipboard_text.h"
#include "desktop_input_services.h"
#include "era.h"
#include "feeder_row_edit.h"
#include "japanese_fonts.h"
#include "kansen_layout.h"
#include "keitou.h"
#include "kobetu.h"
#include "page_painter.h"
#include "page_plan.h"
#include "print_layout.h"
#include "recalculation.h"
#include "settings_file.h"
#include "sheet_cell_delegate.h"
#include "sheet_file.h"
#include "sheet_table_model.h"
#include "tree_editing.h"
#include "ui_KANSEN.h"
#include "workbook_writer.h"

namespace wirelark {

namespace {

// Rows that "▼" leaves below the top row.
constexpr int kRowsBelowTopOnLastPage = 35;
// The guide line shows once the pointer is this far into the grid...
constexpr int kGuideLineStart = 8;
// ...and stands this far below the pointer.
constexpr int kGuideLineOffset = 18;
constexpr int kGuideLineHidden = -1000;
constexpr int kGuideLineParked = -2000;
// The pop-up menu opens this far right of the pointer, clear of the cell under it.
constexpr int kMenuOffset = 20;

const QString kSheetFilter = QStringLiteral("ksk (*.ksk)");
const QString kWorkbookFilter = QStringLiteral("Excel (*.xlsx)");
const QString kWorkbookSuffix = QStringLiteral(".xlsx");
// Page plan, layout, writing.
constexpr int kExportStages = 3;
// The print panel is redrawn this often (ms), not after each of a thousand pages; the cancel
// button is heard after every page all the same.
constexpr qint64 kPrintProgressInterval = 50;

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string ss(const QString& s) {
    return s.toStdString();
}

std::filesystem::path fsPath(const QString& name) {
#ifdef _WIN32
    return std::filesystem::path(name.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(name).toStdString());
#endif
}

// While the print draws its pages the window goes on handling events, for the cancel button and
// its own drawing, but nothing else may be used until the print ends: the panel stands between
// the mouse and the controls, this hold keeps the keyboard away (the focus, Tab, the history
// keys) and gives the focus back afterwards.
class InputHold {
  public:
    InputHold(QWidget& window, QWidget& kept) : m_focus(QApplication::focusWidget()) {
        for (QWidget* w : window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            if (w != &kept && w->isEnabled()) {
                w->setEnabled(false);
                m_widgets.emplace_back(w);
            }
        for (QAction* a : window.actions())
            if (a->isEnabled()) {
                a->setEnabled(false);
                m_actions.emplace_back(a);
            }
    }
    InputHold(const InputHold&) = delete;
    InputHold& operator=(const InputHold&) = delete;
    ~InputHold() {
        for (const QPointer<QWidget>& w : m_widgets)
            if (w)
                w->setEnabled(true);
        for (const QPointer<QAction>& a : m_actions)
            if (a)
                a->setEnabled(true);
        if (m_focus)
            m_focus->setFocus();
    }

  private:
    std::vector<QPointer<QWidget>> m_widgets;
    std::vector<QPointer<QAction>> m_actions;
    QPointer<QWidget> m_focus;
};

}  // namespace

TForm1::TForm1(Services services, StartUp startUp, QWidget* parent)
    : QWidget(parent),
      ui(std::make_unique<Ui::TForm1>()),
      m_services(services),
      m_verdictWidth(0),
      m_model(new SheetTableModel(m_document.sheet(), this)),
      m_delegate(new SheetCellDelegate(this)),
      m_popupMenu(nullptr),
      m_form6(nullptr),
      m_feederDialog(m_document, m_cables),
      m_branchDialog(m_document, m_cables) {
    registerJapaneseFonts();
    m_verdictWidth = layout::longestVerdictWidth(sheetFont(10));
    m_listener = m_document.subscribe([this](Document::Change c) { documentChanged(c); });
    ui->setupUi(this);
    setUpGrid();
    setUpHeaderStrip();
    setUpPopupMenu();
    setUpLook();
    connectControls();
    // The chooser is made once, after the window's own parts, and lives as long as the window.
    m_form6 = new TForm6(this);
    m_inputs =
        std::make_unique<DesktopInputServices>(m_cables, m_services.prompter, m_services.modal);
    m_form2 = std::make_unique<TForm2>(m_feederDialog, *m_inputs, m_services.modal);
    m_form4 = std::make_unique<TForm4>(m_branchDialog, *m_inputs, m_services.modal);
    m_form2->setOwner(this);
    m_form4->setOwner(this);
    FormCreate(startUp);
}

TForm1::~TForm1() {
    m_document.unsubscribe(m_listener);
    m_form4.reset();
    m_form2.reset();
    m_inputs.reset();
    // The controls go first and in silence, while the document they show is still there: a
    // field that loses the focus as the window goes would otherwise commit into a document
    // already gone.
    ui->StringGrid1->viewport()->removeEventFilter(this);
    ui->Edit2->removeEventFilter(this);
    for (QObject* child : findChildren<QObject*>())
        child->blockSignals(true);
    qDeleteAll(findChildren<QObject*>(Qt::FindDirectChildrenOnly));
}

// ---------------------------------------------------------------------------------------------
// Building the window

void TForm1::setUpGrid() {
    QTableView& grid = *ui->StringGrid1;
    grid.setModel(m_model);
    grid.setItemDelegate(m_delegate);
    grid.horizontalHeader()->hide();
    grid.verticalHeader()->hide();
    // Fixed sections: sizing to contents would measure every one of thousands of rows.
    grid.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.horizontalHeader()->setMinimumSectionSize(0);
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.verticalHeader()->setMinimumSectionSize(layout::kRowHeight);
    grid.verticalHeader()->setDefaultSectionSize(layout::kRowHeight);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::ContiguousSelection);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    grid.setWordWrap(false);
    grid.setCornerButtonEnabled(false);
    grid.setContextMenuPolicy(Qt::NoContextMenu);
    grid.setFont(sheetFont(10));
    grid.viewport()->setMouseTracking(true);
    grid.viewport()->installEventFilter(this);
    applyColumnWidths();
}

void TForm1::setUpHeaderStrip() {
    QWidget* area = ui->CaptionArea;
    const QFont captionFont = sheetFont(9);
    m_captions.assign(kColumnCount, nullptr);
    auto makePanel = [&](const QString& name, const QString& text) {
        auto* label = new QLabel(text, area);
        label->setObjectName(name);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Raised);
        label->setFont(captionFont);
        label->setAutoFillBackground(true);
        return label;
    };
    for (int c = 0; c < static_cast<int>(layout::kColumnWidths.size()); ++c)
        m_captions[static_cast<std::size_t>(c)] =
            makePanel(QStringLiteral("Caption%1").arg(c), layout::columnCaption(c).join('\n'));
    for (const layout::SpanCaption& span : layout::kSpanCaptions)
        m_spanCaptions.push_back(makePanel(QStringLiteral("SpanCaption%1").arg(span.firstColumn),
                                           QString::fromUtf8(span.text)));
    m_captions[col::verdict] = ui->VerdictCaption;
    ui->VerdictCaption->setFont(captionFont);
    ui->VerdictCaption->setAutoFillBackground(true);
    ui->Button11->raise();
    ui->Button13->raise();

    // The captions follow the grid when it scrolls sideways in a narrow window.
    connect(ui->StringGrid1->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { placeCaptions(); });
    connect(ui->StringGrid1->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this] { placeCaptions(); });
}

void TForm1::setUpPopupMenu() {
    m_popupMenu = new QMenu(this);
    m_popupMenu->setObjectName(QStringLiteral("PopupMenu1"));
    m_popupMenu->setFont(sheetFont(10));
    auto add = [this](const char* name, const QString& text) {
        QAction* a = m_popupMenu->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    N1 = add("N1", QStringLiteral("幹線削除"));
    m_popupMenu->addSeparator();
    N2 = add("N2", QStringLiteral("行の追加"));
    m_popupMenu->addSeparator();
    N8 = add("N8", QStringLiteral("貼付"));
    N7 = add("N7", QStringLiteral("コピー"));
    m_popupMenu->addSeparator();
    N3 = add("N3", QStringLiteral("クリップボードへコピー(個別)"));
    N9 = add("N9", QStringLiteral("クリップボードへコピー(全部)"));
    m_popupMenu->addSeparator();
    N11 = add("N11", QStringLiteral("全削除"));
    m_popupMenu->addSeparator();
    N13 = add("N13", QStringLiteral("操作方法の表示"));
    m_popupMenu->addSeparator();
    N14 = add("N14", QStringLiteral("元に戻す"));
    N15 = add("N15", QStringLiteral("やり直し"));
    // The keys work anywhere in the window, not only while the menu is open; an edit box that
    // has the focus takes them for its own typing first.
    N14->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    N15->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction* a : {N14, N15}) {
        a->setShortcutContext(Qt::WindowShortcut);
        addAction(a);
    }
    updateHistoryItems();
}

void TForm1::setUpLook() {
    setFont(sheetFont(10));
    ui->TopBar->setAutoFillBackground(true);
    ui->TopBar->setStyleSheet(
        QStringLiteral("QFrame#TopBar { background: black; }"
                       "QLabel { color: white; }"
                       "QLabel#Label66 { color: yellow; font-weight: bold; }"
                       "QFrame#Panel2 { background: rgb(255, 0, 0); }"
                       "QFrame#Panel3 { background: rgb(0, 128, 0); }"));
    ui->Edit1->setFont(proportionalFont(12));
    ui->HeaderStrip->setStyleSheet(
        QStringLiteral("QLabel { background: rgb(240, 240, 240); color: black; }"));
    ui->GuideLine->setStyleSheet(QStringLiteral("background: rgb(0, 0, 255);"));
    ui->GuideLine->setAttribute(Qt::WA_TransparentForMouseEvents);
    ui->InstructionsPanel->setAutoFillBackground(true);
    ui->InstructionsPanel->setStyleSheet(
        QStringLiteral("QFrame#InstructionsPanel { background: rgb(255, 255, 225); }"));
    ui->InstructionsTitle->setFont(sheetFont(12));
    ui->Panel30->setAutoFillBackground(true);
    ui->Panel30->setStyleSheet(
        QStringLiteral("QFrame#Panel30 { background: rgb(236, 233, 216); }"));
    ui->SettingsTitle->setFont(sheetFont(14));
    // The export covers the whole window: nothing can be pressed until the workbook is done.
    ui->ProgressPanel->setAutoFillBackground(true);
    ui->ProgressPanel->setStyleSheet(
        QStringLiteral("QFrame#ProgressPanel { background: rgb(236, 233, 216); }"));
    ui->ProgressTitle->setFont(sheetFont(16));
    ui->ProgressNote->setFont(sheetFont(11));
    ui->ProgressBar1->setRange(0, kExportStages);
    // The print's panel looks like the export's.
    ui->PrintProgressPanel->setAutoFillBackground(true);
    ui->PrintProgressPanel->setStyleSheet(
        QStringLiteral("QFrame#PrintProgressPanel { background: rgb(236, 233, 216); }"));
    ui->PrintProgressTitle->setFont(sheetFont(16));
    ui->PrintProgressPages->setFont(sheetFont(11));
}

void TForm1::connectControls() {
    auto click = [this](QAbstractButton* b, void (TForm1::*handler)()) {
        connect(b, &QAbstractButton::clicked, this, [this, handler] { (this->*handler)(); });
    };
    click(ui->Button1, &TForm1::Button1Click);
    click(ui->Button2, &TForm1::Button2Click);
    click(ui->Button3, &TForm1::Button3Click);
    click(ui->Button11, &TForm1::Button11Click);
    click(ui->Button13, &TForm1::Button13Click);
    click(ui->Button16, &TForm1::Button16Click);
    click(ui->PrintCancelButton, &TForm1::PrintCancelButtonClick);
    click(ui->Button18, &TForm1::Button18Click);
    click(ui->Button19, &TForm1::Button19Click);
    click(ui->Button24, &TForm1::Button24Click);
    click(ui->Button25, &TForm1::Button25Click);
    click(ui->Button26, &TForm1::Button26Click);
    click(ui->Button124, &TForm1::Button124Click);

    // An option's effect runs whenever it becomes selected, by the user or by a file.
    auto selected = [this](QAbstractButton* b, void (TForm1::*handler)()) {
        connect(b, &QAbstractButton::toggled, this, [this, handler](bool on) {
            if (on)
                (this->*handler)();
        });
    };
    selected(ui->RadioButton1, &TForm1::RadioButton1Click);
    selected(ui->RadioButton2, &TForm1::RadioButton2Click);
    selected(ui->RadioButton3, &TForm1::RadioButton3Click);
    selected(ui->RadioButton4, &TForm1::RadioButton4Click);
    selected(ui->RadioButton5, &TForm1::RadioButton5Click);
    selected(ui->RadioButton6, &TForm1::RadioButton6Click);

    auto menu = [this](QAction* a, void (TForm1::*handler)()) {
        connect(a, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    menu(N1, &TForm1::N1Click);
    menu(N2, &TForm1::N2Click);
    menu(N3, &TForm1::N3Click);
    menu(N7, &TForm1::N7Click);
    menu(N8, &TForm1::N8Click);
    menu(N9, &TForm1::N9Click);
    menu(N11, &TForm1::N11Click);
    menu(N13, &TForm1::N13Click);
    menu(N14, &TForm1::N14Click);
    menu(N15, &TForm1::N15Click);

    // What is typed into the heading becomes one step once the field is left.
    for (QLineEdit* e : {ui->Edit1, ui->Edit2, ui->Edit3, ui->Edit25, ui->Edit26, ui->Edit27})
        connect(e, &QLineEdit::editingFinished, this, [this] { commitHeading(); });

    // A click into the era-name box fills in today's era.
    ui->Edit2->installEventFilter(this);
}

// ---------------------------------------------------------------------------------------------
// Life of the window

void TForm1::FormCreate(const StartUp& startUp) {
    strFileName = startUp.programPath;
    strFilePath = QFileInfo(strFileName).absolutePath() + QLatin1Char('/');

    const QScreen* screen = QGuiApplication::primaryScreen();
    const layout::WindowPlacement place =
        layout::placeWindow(screen ? screen->size() : QSize(),
                            screen ? screen->availableGeometry() : QRect(), m_verdictWidth);
    resize(place.size);
    move(place.position);
    if (place.maximised)
        setWindowState(windowState() | Qt::WindowMaximized);
    FormResize();

    m_document.patan = 0;
    // The new sheet: dated today, with the settings of set.ini, which are read once, here. The
    // window's activation no longer reads them: a sheet opened later keeps its own.
    Button22Click();
    m_document.replace([this](Sheet& sheet) {
        applyToday(sheet.heading, today());
        applyProgramSettings(sheet);
        m_programSettings.eraName = sheet.heading.eraName;
        convertEra(sheet.heading, sheet.settings.yearDisplay);
    });

    ui->GuideLine->move(ui->GuideLine->x(), kGuideLineParked);
    ui->Panel30->move(0, 0);
    if (!startUp.fileArgument.isEmpty()) {
        FileName = startUp.fileArgument;
        if (!loadFileName())
            FileName.clear();
    }
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    if (m_activationHolds > 0) {
        m_activationPending = true;
        return;
    }
    FormActivate();
}

TForm1::ActivationHold::ActivationHold(TForm1& form) : m_form(form) {
    ++m_form.m_activationHolds;
}

TForm1::ActivationHold::~ActivationHold() {
    if (--m_form.m_activationHolds > 0 || !m_form.m_activationPending)
        return;
    m_form.m_activationPending = false;
    m_form.FormActivate();
}

void TForm1::FormActivate() {
    m_document.kansenno = 1;
    m_document.keitou = 1;
    applyColumnWidths();
    ui->StringGrid1->verticalHeader()->setDefaultSectionSize(layout::kRowHeight);
    ui->InstructionsPanel->hide();
    // The era conversion, and the era label taken from the era name: usually they change
    // nothing, and then they leave no step.
    commitHeading();
    m_document.edit("和暦←→西暦変換", [this](Sheet& sheet) {
        convertEra(sheet.heading, sheet.settings.yearDisplay);
    });
    // The window becomes active again after every message box and dialog; only the first
    // activation moves the selection, so the row a finding or an edit showed stays in view.
    if (!m_activatedOnce) {
        m_activatedOnce = true;
        ui->StringGrid1->selectRow(0);
        ui->Button25->setFocus();
    }
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FormResize();
}

void TForm1::FormResize() {
    const int w = width();
    const int h = height();
    const int gridWidth = w - layout::kGridWidthMargin;
    ui->TopBar->setGeometry(0, 0, w, layout::kTopBarHeight);
    ui->HeaderStrip->setGeometry(0, layout::kTopBarHeight, w, layout::kHeaderHeight);
    ui->StringGrid1->setGeometry(layout::kGridLeft, layout::kGridTop, gridWidth,
                                 std::max(0, h - layout::kGridHeightMargin));
    ui->StringGrid1->setColumnWidth(col::verdict,
                                    layout::verdictColumnWidth(gridWidth, m_verdictWidth));
    ui->Panel30->setGeometry(0, 0, w, h);
    ui->ProgressPanel->setGeometry(0, 0, w, h);
    ui->PrintProgressPanel->setGeometry(0, 0, w, h);
    ui->GuideLine->setGeometry(layout::kGridLeft, ui->GuideLine->y(),
                               w - layout::kGuideLineWidthMargin, 3);
    const QRect panel = ui->InstructionsPanel->geometry();
    ui->InstructionsPanel->move(std::max(0, (w - panel.width()) / 2), panel.y());
    placeCaptions();
}

void TForm1::applyColumnWidths() {
    QTableView& grid = *ui->StringGrid1;
    const int gridWidth = grid.width();
    for (int c = 0; c < kColumnCount; ++c) {
        const bool shown = layout::isShownColumn(c);
        grid.setColumnHidden(c, !shown);
        if (shown)
            grid.setColumnWidth(c, layout::columnWidth(c, gridWidth, m_verdictWidth));
    }
}

void TForm1::placeCaptions() {
    if (m_captions.empty())
        return;
    QTableView& grid = *ui->StringGrid1;
    const int areaLeft = grid.x() + grid.frameWidth();
    ui->CaptionArea->setGeometry(areaLeft, 0, std::max(0, width() - areaLeft),
                                 layout::kHeaderHeight);
    auto spanOf = [](int column) -> const layout::SpanCaption* {
        for (const layout::SpanCaption& s : layout::kSpanCaptions)
            if (column >= s.firstColumn && column <= s.lastColumn)
                return &s;
        return nullptr;
    };
    for (int c = 0; c < static_cast<int>(layout::kColumnWidths.size()); ++c) {
        const int top = spanOf(c) ? layout::kSpanHeight : 0;
        m_captions[static_cast<std::size_t>(c)]->setGeometry(
            grid.columnViewportPosition(c), top, grid.columnWidth(c), layout::kHeaderHeight - top);
    }
    for (std::size_t i = 0; i < layout::kSpanCaptions.size(); ++i) {
        const layout::SpanCaption& s = layout::kSpanCaptions[i];
        const int left = grid.columnViewportPosition(s.firstColumn);
        const int right =
            grid.columnViewportPosition(s.lastColumn) + grid.columnWidth(s.lastColumn);
        m_spanCaptions[i]->setGeometry(left, 0, right - left, layout::kSpanHeight);
    }
    // "▲" and "▼" stand at the start of the verdict column, its caption takes the rest.
    const int verdictLeft = grid.columnViewportPosition(col::verdict);
    const int buttonWidth = ui->Button11->width();
    const int half = layout::kHeaderHeight / 2;
    ui->Button11->setGeometry(verdictLeft, 0, buttonWidth, half);
    ui->Button13->setGeometry(verdictLeft, half, buttonWidth, layout::kHeaderHeight - half);
    ui->VerdictCaption->setGeometry(
        verdictLeft + buttonWidth, 0,
        std::max(0, ui->CaptionArea->width() - verdictLeft - buttonWidth), layout::kHeaderHeight);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // Closing the window while it prints stops the print; the window stays, and the next
    // close asks about unsaved work as always.
    if (m_printing) {
        m_printCancelled = true;
        event->ignore();
        return;
    }
    commitHeading();
    if (m_document.unsaved() && !m_services.prompter.question(QStringLiteral(
                                    "作業中のデーターが消失します。終了してよろしいですか？"))) {
        event->ignore();
        return;
    }
    event->accept();
}

// ---------------------------------------------------------------------------------------------
// The grid and the document

int TForm1::topRow() const {
    return ui->StringGrid1->verticalScrollBar()->value();
}

void TForm1::showRowAtTop(int row) {
    QTableView& grid = *ui->StringGrid1;
    if (row < 0 || row >= m_model->rowCount())
        return;
    grid.verticalScrollBar()->setValue(row);
    // The row alone, whatever keys are held: selectRow would add to the selection under Ctrl.
    const QModelIndex index = m_model->index(row, 0);
    grid.selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid.verticalScrollBar()->setValue(row);
}

void TForm1::documentChanged(Document::Change change) {
    switch (change) {
        case Document::Change::Cells:
        case Document::Change::Replaced:
            showSheetState();
            break;
        case Document::Change::FrequencyLock:
            for (QRadioButton* b : {ui->RadioButton1, ui->RadioButton2})
                b->setEnabled(!m_document.frequencyLocked());
            break;
        case Document::Change::Unsaved:
            updateHistoryItems();
            break;
        case Document::Change::Supply:
            break;
    }
}

void TForm1::showSheetState() {
    m_model->setCellMarks(m_document.cellMarks());
    refreshGrid();
    showHeading(m_document.sheet().heading);
    showSettings(m_document.sheet().settings);
    for (QRadioButton* b : {ui->RadioButton1, ui->RadioButton2})
        b->setEnabled(!m_document.frequencyLocked());
    updateHistoryItems();
}

void TForm1::updateHistoryItems() {
    auto named = [](const QString& item, std::string_view step) {
        return step.empty() ? item : item + QStringLiteral("（") + qs(step) + QStringLiteral("）");
    };
    N14->setText(named(QStringLiteral("元に戻す"), m_document.undoName()));
    N14->setEnabled(m_document.canUndo());
    N15->setText(named(QStringLiteral("やり直し"), m_document.redoName()));
    N15->setEnabled(m_document.canRedo());
}

void TForm1::refreshGrid() {
    m_model->sheetChanged();
    // The view would set its scroll range at its next layout; "▼" or a finding pressed before
    // that would stop at the old end of the sheet.
    ui->StringGrid1->doItemsLayout();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->StringGrid1->viewport()) {
        switch (event->type()) {
            case QEvent::MouseButtonPress: {
                const auto* me = static_cast<QMouseEvent*>(event);
                StringGrid1MouseDown(me->button(), me->position().toPoint());
                // A right press leaves the selection alone: the menu acts on the rows the
                // left button chose.
                return me->button() == Qt::RightButton;
            }
            case QEvent::MouseButtonRelease: {
                const auto* me = static_cast<QMouseEvent*>(event);
                StringGrid1MouseUp(me->button(), me->position().toPoint(),
                                   me->globalPosition().toPoint());
                return me->button() == Qt::RightButton;
            }
            case QEvent::MouseMove:
                StringGrid1MouseMove(static_cast<QMouseEvent*>(event)->position().toPoint());
                break;
            case QEvent::Leave:
                StringGrid1MouseLeave();
                break;
            case QEvent::MouseButtonDblClick: {
                const auto* me = static_cast<QMouseEvent*>(event);
                if (me->button() == Qt::LeftButton) {
                    StringGrid1DblClick(me->position().toPoint());
                    return true;
                }
                break;
            }
            default:
                break;
        }
    } else if (watched == ui->Edit2 && event->type() == QEvent::MouseButtonPress) {
        Edit2Click();
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::StringGrid1MouseDown(Qt::MouseButton button, QPoint pos) {
    ui->InstructionsPanel->hide();
    if (button != Qt::LeftButton)
        return;
    const QTableView& grid = *ui->StringGrid1;
    nx1 = grid.columnAt(pos.x());
    ny1 = grid.rowAt(pos.y());
}

void TForm1::StringGrid1MouseUp(Qt::MouseButton button, QPoint pos, QPoint globalPos) {
    const QTableView& grid = *ui->StringGrid1;
    const int row = grid.rowAt(pos.y());
    if (row < 0)
        return;
    ux1 = grid.columnAt(pos.x());
    uy1 = row;
    for (QAction* a : {N1, N7, N3, N9})
        a->setEnabled(true);
    if (button != Qt::RightButton)
        return;

    const PopupMenuDecision menu = decidePopupMenu(sheet(), ny1, uy1);
    ny1 = menu.ny1;
    uy1 = menu.uy1;
    N1->setEnabled(menu.deleteEnabled);
    N7->setEnabled(menu.copyEnabled);
    N3->setEnabled(menu.clipboardEnabled);
    N9->setEnabled(menu.clipboardEnabled);
    if (!menu.shown)
        return;
    popupTag = static_cast<int>(menu.mode);
    N1->setText(qs(menu.deleteCaption));
    updateHistoryItems();
    m_popupMenu->popup(globalPos + QPoint(kMenuOffset, 0));
}

void TForm1::StringGrid1MouseMove(QPoint pos) {
    const QTableView& grid = *ui->StringGrid1;
    const int y = pos.y() + grid.frameWidth();
    QFrame& line = *ui->GuideLine;
    line.move(line.x(), y >= kGuideLineStart ? grid.y() + y + kGuideLineOffset : kGuideLineHidden);
}

void TForm1::StringGrid1MouseLeave() {
    // A line left standing where the pointer went out would mark a row nobody points at.
    ui->GuideLine->move(ui->GuideLine->x(), kGuideLineHidden);
}

void TForm1::StringGrid1DblClick(QPoint pos) {
    // Below the last row the release left uy1 on the row released before: nothing opens there.
    if (ui->StringGrid1->rowAt(pos.y()) < 0 || uy1 < 0 || uy1 >= m_document.sheet().rowCount())
        return;
    // The dialog hands its result to the document; the window's activation, which resets
    // `kansenno` and `keitou`, waits until that write-back has run.
    const ActivationHold hold(*this);
    if (opensBranchDialog(m_document.sheet().cell(uy1, col::glyph))) {
        if (!openBranchRow(m_document, uy1, m_branchDialog, *m_form4))
            return;
        m_form4->run(nx1);
        writeBranchRow(m_document, uy1, m_branchDialog, *m_form4);
        return;
    }
    prepareFeederDialog(m_feederDialog, m_document, uy1, nx1, *m_form2);
    m_form2->run();
    writeBackFeederDialog(m_feederDialog, m_document, uy1, *m_form2);
}

void TForm1::Button11Click() {
    ui->StringGrid1->verticalScrollBar()->setValue(0);
}

void TForm1::Button13Click() {
    ui->StringGrid1->verticalScrollBar()->setValue(
        std::max(0, m_model->rowCount() - kRowsBelowTopOnLastPage));
}

void TForm1::N14Click() {
    commitHeading();
    m_document.undo();
}

void TForm1::N15Click() {
    commitHeading();
    m_document.redo();
}

// ---------------------------------------------------------------------------------------------
// Heading and settings panel

void TForm1::chooseSetting(std::string_view stepName, void (*apply)(SheetSettings&)) {
    commitHeading();
    m_document.edit(stepName, [apply](Sheet& sheet) { apply(sheet.settings); });
}

void TForm1::chooseYearDisplay(std::string_view stepName, YearDisplay display) {
    commitHeading();
    // The date is converted to the display chosen.
    m_document.edit(stepName, [this, display](Sheet& sheet) {
        sheet.settings.yearDisplay = display;
        convertEraYear(sheet.heading, display, today());
    });
}

void TForm1::RadioButton1Click() {
    chooseSetting("周波数を 60Hz に変更", [](SheetSettings& s) { s.frequency = Frequency::Hz60; });
}
void TForm1::RadioButton2Click() {
    chooseSetting("周波数を 50Hz に変更", [](SheetSettings& s) { s.frequency = Frequency::Hz50; });
}
void TForm1::RadioButton3Click() {
    chooseYearDisplay("年号表示を和暦に変更", YearDisplay::Era);
}
void TForm1::RadioButton4Click() {
    chooseYearDisplay("年号表示を西暦に変更", YearDisplay::Western);
}
void TForm1::RadioButton5Click() {
    chooseSetting("ページ番号を印刷する", [](SheetSettings& s) { s.printPageNumbers = true; });
}
void TForm1::RadioButton6Click() {
    chooseSetting("ページ番号を印刷しない", [](SheetSettings& s) { s.printPageNumbers = false; });
}

void TForm1::Button19Click() {
    commitHeading();
    ui->Label67->setText(ui->Edit3->text() + QStringLiteral("年"));
    ui->Panel30->show();
    ui->Panel30->raise();
}

void TForm1::Button26Click() {
    ui->Panel30->hide();
}

void TForm1::N13Click() {
    ui->InstructionsPanel->show();
    ui->InstructionsPanel->raise();
}

// ---------------------------------------------------------------------------------------------
// Heading <-> core

HeadingFields TForm1::headingFromWindow() const {
    HeadingFields h;
    h.buildingName = ss(ui->Edit1->text());
    h.eraLabel = ss(ui->Label56->text());
    h.eraYear = ss(ui->Edit25->text());
    h.month = ss(ui->Edit26->text());
    h.day = ss(ui->Edit27->text());
    h.westernYear = ss(ui->Edit3->text());
    h.eraName = ss(ui->Edit2->text());
    return h;
}

void TForm1::showHeading(const HeadingFields& h) {
    // Only what differs: a field being typed in keeps its cursor.
    auto show = [](auto* control, const std::string& text) {
        const QString t = qs(text);
        if (control->text() != t)
            control->setText(t);
    };
    show(ui->Edit1, h.buildingName);
    show(ui->Label56, h.eraLabel);
    show(ui->Edit25, h.eraYear);
    show(ui->Edit26, h.month);
    show(ui->Edit27, h.day);
    show(ui->Edit3, h.westernYear);
    show(ui->Edit2, h.eraName);
}

void TForm1::commitHeading() {
    const HeadingFields typed = headingFromWindow();
    const HeadingFields& held = m_document.sheet().heading;
    if (typed == held)
        return;
    const bool building = typed.buildingName != held.buildingName;
    const bool eraName = typed.eraName != held.eraName;
    HeadingFields others = typed;
    others.buildingName = held.buildingName;
    others.eraName = held.eraName;
    const bool date = others != held;
    const char* name = building && !eraName && !date   ? "建物名称を変更"
                       : eraName && !building && !date ? "年号を変更"
                       : date && !building && !eraName ? "日付を変更"
                                                       : "見出しを変更";
    m_document.edit(name, [&typed](Sheet& sheet) { sheet.heading = typed; });
}

void TForm1::showSettings(const SheetSettings& s) {
    const QSignalBlocker blockers[] = {
        QSignalBlocker(ui->RadioButton1), QSignalBlocker(ui->RadioButton2),
        QSignalBlocker(ui->RadioButton3), QSignalBlocker(ui->RadioButton4),
        QSignalBlocker(ui->RadioButton5), QSignalBlocker(ui->RadioButton6),
    };
    const bool hz60 = s.frequency == Frequency::Hz60;
    (hz60 ? ui->RadioButton1 : ui->RadioButton2)->setChecked(true);
    ui->Label66->setText(hz60 ? QStringLiteral("60Hz") : QStringLiteral("50Hz"));

    const bool era = s.yearDisplay == YearDisplay::Era;
    (era ? ui->RadioButton3 : ui->RadioButton4)->setChecked(true);
    // The era display shows the era label and its name box, the Western one the year box
    // (over the era label and the era year) and the year beside its option.
    ui->Label56->setVisible(era);
    ui->Edit2->setVisible(era);
    ui->Edit3->setVisible(!era);
    ui->Label67->setVisible(!era);
    if (!era) {
        ui->Edit3->raise();
        ui->Label67->setText(ui->Edit3->text() + QStringLiteral("年"));
    }
    (s.printPageNumbers ? ui->RadioButton5 : ui->RadioButton6)->setChecked(true);
}

void TForm1::applyProgramSettings(Sheet& sheet) const {
    sheet.settings = m_programSettings.settings;
    if (m_programSettings.eraName)
        sheet.heading.eraName = *m_programSettings.eraName;
}

void TForm1::convertEra(HeadingFields& heading, YearDisplay display) const {
    convertEraYear(heading, display, today());
    heading.eraLabel = heading.eraName;
}

CivilDate TForm1::today() const {
    const QDate d = m_services.clock.today();
    return {d.year(), d.month(), d.day()};
}

std::filesystem::path TForm1::settingsPath() const {
    return settingsFilePath(fsPath(strFilePath));
}

// ---------------------------------------------------------------------------------------------
// Date

void TForm1::Button124Click() {
    commitHeading();
    m_document.edit("TODAY", [this](Sheet& sheet) { applyToday(sheet.heading, today()); });
}

void TForm1::Edit2Click() {
    Button124Click();
}

void TForm1::Button20Click() {
    commitHeading();
    m_document.edit("和暦←→西暦変換", [this](Sheet& sheet) {
        convertEraYear(sheet.heading, sheet.settings.yearDisplay, today());
    });
}

// ---------------------------------------------------------------------------------------------
// Files

void TForm1::Button1Click() {
    commitHeading();
    if (m_document.unsaved() && !m_services.prompter.question(QStringLiteral(
                                    "作業中のデーターが消失します。開いてよろしいですか？")))
        return;
    const std::optional<QString> chosen = m_services.files.openFileName(kSheetFilter);
    if (!chosen)
        return;
    const QString previous = FileName;
    FileName = *chosen;
    if (!loadFileName())
        FileName = previous;
}

void TForm1::Button8Click() {
    loadFileName();
}

bool TForm1::loadFileName() {
    // All or nothing: a file that fails leaves the sheet, its history and its unsaved work.
    // What the file does not set stays as the sheet has it.
    const Status loaded = m_document.replace([this](Sheet& sheet) -> Status {
        const Status read = loadSheetFile(sheet, fsPath(FileName));
        if (read)
            convertEra(sheet.heading, sheet.settings.yearDisplay);
        return read;
    });
    if (!loaded) {
        m_services.prompter.info(
            QStringLiteral("ファイル「%1」を読み込めませんでした。%2")
                .arg(QFileInfo(FileName).fileName(), qs(loaded.error().message)));
        return false;
    }
    return true;
}

void TForm1::Button2Click() {
    commitHeading();
    const std::optional<QString> chosen = m_services.files.saveFileName(
        ui->Edit1->text() + QStringLiteral("幹線計算書"), kSheetFilter);
    if (!chosen)
        return;
    // The extension is added after the dialog, so the dialog cannot ask about the file really
    // written: the window asks, and No leaves the file, the sheet and its unsaved work.
    const QString target = qs(withSheetExtension(ss(*chosen)));
    if (QFileInfo::exists(target) &&
        !m_services.prompter.question(
            QStringLiteral("ファイル「%1」は既にあります。置き換えてよろしいですか？")
                .arg(QFileInfo(target).fileName())))
        return;
    FileName = target;
    // Saving trims the sheet to its used rows plus 20, whether or not the file was written.
    const Status saved =
        m_document.save([this](Sheet& sheet) { return saveSheetFile(sheet, fsPath(FileName)); });
    if (!saved)
        m_services.prompter.info(qs(saved.error().message));
}

// ---------------------------------------------------------------------------------------------
// Settings

void TForm1::Button22Click() {
    // A settings file that cannot be read leaves the settings as they are: the window opens
    // all the same.
    const Expected<SettingsFileContent> content = readSettingsFile(settingsPath());
    if (!content)
        return;
    HeadingFields heading;
    applySettings(*content, m_programSettings.settings, heading);
    if (content->eraName)
        m_programSettings.eraName = heading.eraName;
}

Status TForm1::Button21Click() {
    const Sheet& s = sheet();
    const Status written = writeSettingsFile(settingsPath(), s.settings, s.heading.eraName);
    if (written)
        m_programSettings = {s.settings, s.heading.eraName};
    return written;
}

void TForm1::Button18Click() {
    commitHeading();
    const Status written = Button21Click();
    if (!written) {
        m_services.prompter.info(qs(written.error().message));
        return;
    }
    ui->Panel30->hide();
    runFullRecalculation("設定保存の再計算");
}

// ---------------------------------------------------------------------------------------------
// Recalculation and checks

bool TForm1::report(const Status& status) {
    if (status)
        return true;
    m_services.prompter.info(qs(status.error().message));
    return false;
}

void TForm1::runFullRecalculation(std::string_view stepName) {
    // A cell that is no number stops the recalculation; what it wrote before stays, as one step.
    const Status done = m_document.edit(stepName, [this](Sheet& s) {
        return recalculateBlock(s, m_document.s1, m_document.e1, m_document.supply());
    });
    report(done);
}

void TForm1::Button17Click() {
    report(m_document.edit("設計電流の再計算", [this](Sheet& s) {
        return recalculateDesignCurrents(s, m_document.s1, m_document.e1);
    }));
}

void TForm1::Button10Click() {
    report(m_document.edit("単独の電圧降下計算", [this](Sheet& s) {
        return computeSingleDrops(s, m_document.s1, m_document.e1);
    }));
}

void TForm1::Button6Click() {
    report(m_document.edit("こう長と電流値の足し算、電圧降下計算と判断", [this](Sheet& s) {
        return sumLengthsCurrentsAndDrops(s, m_document.s1, m_document.e1, m_document.supply());
    }));
}

void TForm1::Button7Click() {
    report(m_document.edit("許容電流５５％と３５％のチェック", [this](Sheet& s) {
        return checkBranchProtection(s, m_document.s1, m_document.e1);
    }));
}

void TForm1::Button25Click() {
    const Expected<std::vector<VerdictFinding>> findings = verdictSummary(sheet());
    if (!findings) {
        m_services.prompter.info(qs(findings.error().message));
        return;
    }
    if (findings->empty()) {
        m_services.prompter.info(qs(kVerdictsGoodMessage));
        return;
    }
    // One box a finding; "中止" (or closing the box) ends the walk on that finding's row.
    for (const VerdictFinding& f : *findings) {
        showRowAtTop(f.row);
        if (!m_services.prompter.finding(qs(f.message)))
            return;
    }
}

// ---------------------------------------------------------------------------------------------
// Rows

void TForm1::Button4Click() {
    m_document.edit("幹線番号の書き換え", [](Sheet& s) { renumberFeeders(s); });
}

void TForm1::Button5Click() {
    const BlockRange range = findFeederRange(sheet(), ny1);
    m_document.s1 = range.s1;
    m_document.e1 = range.e1;
}

void TForm1::Button9Click() {
    m_document.edit("行の追加", [this](Sheet& s) { insertBlankRows(s, ny1, uy1); });
}

void TForm1::N2Click() {
    Button9Click();
}

void TForm1::N1Click() {
    // The step is named after the menu item: "No.3 を削除する" undoes as "No.3 を削除".
    QString name = N1->text();
    if (name.endsWith(QStringLiteral("する")))
        name.chop(2);
    const DeleteResult deleted = m_document.edit(ss(name), [this](Sheet& s) {
        return deleteRows(s, static_cast<MenuMode>(popupTag), ny1, uy1, m_document.kansenno);
    });
    m_document.s1 = deleted.range.s1;
    m_document.e1 = deleted.range.e1;
    m_document.kansenno = deleted.kansenno;
    if (!deleted.message.empty())
        m_services.prompter.info(qs(deleted.message));
}

void TForm1::N7Click() {
    // The copy buffer is no part of the sheet's history: copying changes no cell.
    const BlockRange copied =
        m_document.amend([this](Sheet& s) { return copyFeederBlock(s, ny1, uy1); });
    m_document.s1 = copied.s1;
    m_document.e1 = copied.e1;
}

void TForm1::N8Click() {
    m_document.edit("貼付", [this](Sheet& s) { pasteCopyBuffer(s, uy1); });
}

void TForm1::N11Click() {
    // An emptied sheet is no longer the sheet that was opened: it takes the program's settings
    // again, and its frequency may be chosen anew.
    m_document.edit("全削除", [this](Sheet& s) {
        emptySheet(s);
        applyProgramSettings(s);
        convertEra(s.heading, s.settings.yearDisplay);
        m_document.setFrequencyLocked(false);
    });
}

// ---------------------------------------------------------------------------------------------
// Clipboard

void TForm1::Button3Click() {
    N9Click();
}

void TForm1::N9Click() {
    popupTag = static_cast<int>(MenuMode::Rows);
    N3Click();
}

void TForm1::N3Click() {
    std::string text;
    if (popupTag == static_cast<int>(MenuMode::Rows)) {
        text = wholeSheetClipboardText(sheet());
        popupTag = static_cast<int>(MenuMode::Feeder);
    } else {
        Button5Click();
        text = feederClipboardText(sheet(), {m_document.s1, m_document.e1});
    }
    m_services.clipboard.setText(qs(text));
}

// ---------------------------------------------------------------------------------------------
// Printing and the workbook

void TForm1::Button24Click() {
    const std::unique_ptr<QPrinter> printer = m_services.printers.choosePrinter();
    if (!printer)
        return;
    commitHeading();
    // The printer gets whatever was drawn up to a failure, the unfinished page included; the
    // one message then tells the user the sheet is incomplete. The page plan it writes into
    // the sheet is the program's own, no work of the user's.
    const PrintedSheet printed = m_document.amend([](Sheet& s) { return layoutPrintJob(s); });
    const Expected<PrintEnd> ended = printWithProgress(*printer, printed);
    if (ended && *ended == PrintEnd::Cancelled) {
        // The user's own choice, no failure: no file was written, and the printer dropped the
        // job where its driver can.
        m_services.prompter.info(QStringLiteral("印刷を中止しました。"));
        return;
    }
    if (!ended) {
        // The described warning, followed by the cell that stopped it where there is one, so
        // the engineer knows what to complete.
        QString text = qs(kPrintFailedMessage);
        if (printed.failure)
            text += QStringLiteral("\n") + qs(printed.failure->message);
        m_services.prompter.warning(text);
    }
}

void TForm1::PrintCancelButtonClick() {
    m_printCancelled = true;
}

Expected<PrintEnd> TForm1::printWithProgress(QPrinter& printer, const PrintedSheet& printed) {
    const int pages = static_cast<int>(printed.pages.size());
    m_printCancelled = false;
    ui->PrintProgressBar->setRange(0, std::max(1, pages));
    showPrintProgress(0, pages);
    ui->PrintProgressPanel->show();
    ui->PrintProgressPanel->raise();
    // The window's activation (which edits the heading) waits until the print is over.
    const ActivationHold activation(*this);
    const InputHold input(*this, *ui->PrintProgressPanel);
    ui->PrintCancelButton->setFocus();
    ui->PrintProgressPanel->repaint();

    m_printing = true;
    QElapsedTimer sinceShown;
    sinceShown.start();
    const Expected<PrintEnd> ended = printSheet(printer, printed, [&](int drawn, int total) {
        if (drawn == total || sinceShown.elapsed() >= kPrintProgressInterval) {
            showPrintProgress(drawn, total);
            sinceShown.restart();
        }
        QCoreApplication::processEvents();
        // A stopped print shows the page it stopped at.
        if (m_printCancelled)
            showPrintProgress(drawn, total);
        return !m_printCancelled;
    });
    m_printing = false;
    ui->PrintProgressPanel->hide();
    return ended;
}

void TForm1::showPrintProgress(int drawn, int pages) {
    ui->PrintProgressBar->setValue(drawn);
    ui->PrintProgressPages->setText(QStringLiteral("%1 / %2 ページ").arg(drawn).arg(pages));
}

void TForm1::Button16Click() {
    commitHeading();
    const ExportChoice choice = m_services.exports.choose(*m_form6);
    if (choice == ExportChoice::None)
        return;
    // The workbook is proposed beside the sheet file it comes from, once there is one.
    const QString name = ui->Edit1->text() + QStringLiteral("幹線計算書") + kWorkbookSuffix;
    const std::optional<QString> chosen = m_services.files.exportFileName(
        FileName.isEmpty() ? name : QFileInfo(FileName).absoluteDir().filePath(name),
        kWorkbookFilter);
    if (!chosen)
        return;
    // The desktop finds the spreadsheet application by the file's extension.
    QString path = *chosen;
    if (!path.endsWith(kWorkbookSuffix, Qt::CaseInsensitive))
        path += kWorkbookSuffix;

    const Status exported =
        exportWorkbook(choice == ExportChoice::PerFeeder ? WorkbookExport::PerFeeder
                                                         : WorkbookExport::EighteenRows,
                       path);
    // Failed or not, the panel goes: it covers the whole window and would lock the user out.
    ui->ProgressPanel->hide();
    if (!report(exported))
        return;
    if (!m_services.opener.open(path))
        m_services.prompter.info(QStringLiteral("エクセルファイルを「%1」に保存しました。"
                                                "開くアプリケーションが見つかりませんでした。")
                                     .arg(QDir::toNativeSeparators(path)));
}

Status TForm1::exportWorkbook(WorkbookExport kind, const QString& path) {
    ui->ProgressBar1->setValue(0);
    ui->ProgressPanel->show();
    ui->ProgressPanel->raise();
    // The export runs without returning to the event loop: the panel is drawn now, before it.
    ui->ProgressPanel->repaint();

    const Expected<PagePlan> plan = m_document.amend([](Sheet& s) { return planPages(s); });
    if (!plan)
        return plan.error();
    advanceProgress();
    const Expected<Workbook> book =
        kind == WorkbookExport::PerFeeder
            ? layoutFeederWorkbook(sheet())
            : Expected<Workbook>(layoutPagedWorkbook(sheet(), plan->pagesu, plan->maxrowsu));
    if (!book)
        return book.error();
    advanceProgress();
    const Status written = writeWorkbook(*book, fsPath(path));
    if (!written)
        return written;
    advanceProgress();
    return success();
}

void TForm1::advanceProgress() {
    ui->ProgressBar1->setValue(ui->ProgressBar1->value() + 1);
    ui->ProgressBar1->repaint();
}

}  // namespace wirelark
