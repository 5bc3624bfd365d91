#include "Ldensen.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>

#include <algorithm>
#include <array>

#include "cable_catalogue.h"
#include "cable_table_model.h"
#include "japanese_fonts.h"
#include "modal_runner.h"
#include "services.h"
#include "ui_Ldensen.h"

namespace wirelark {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
std::string ss(const QString& s) {
    return s.toStdString();
}

QStringList texts(std::span<const std::string_view> items) {
    QStringList list;
    for (std::string_view item : items)
        list << qs(item);
    return list;
}
QStringList texts(const std::vector<std::string>& items) {
    QStringList list;
    for (const std::string& item : items)
        list << qs(item);
    return list;
}

QStringList itemsOf(const QComboBox& box) {
    QStringList list;
    for (int i = 0; i < box.count(); ++i)
        list << box.itemText(i);
    return list;
}

// Replaces the items only when they differ, so an open list is not rebuilt under the user.
void setItems(QComboBox& box, const QStringList& items) {
    if (itemsOf(box) == items)
        return;
    box.clear();
    box.addItems(items);
}

void selectText(QComboBox& box, const std::string& text) {
    box.setCurrentIndex(box.findText(qs(text), Qt::MatchExactly | Qt::MatchCaseSensitive));
}

void setEditText(QComboBox& box, const std::string& text) {
    if (box.currentText() != qs(text))
        box.setEditText(qs(text));
}

// The impedance grid's columns are as wide as the design has them, wider where the face
// needs more for a header line or for any size or value of the catalogue.
constexpr int kDesignColumnWidth = 94;
constexpr int kCellPadding = 14;
// The largest group has 16 sizes: all of them show without scrolling.
constexpr int kShownSizes = 16;

}  // namespace

Tdensen::Tdensen(CableSelection& selection, Prompter& prompter, ModalRunner& runner,
                 QWidget* parent)
    : QDialog(parent),
      ui(std::make_unique<Ui::Tdensen>()),
      m_selection(selection),
      m_prompter(prompter),
      m_runner(runner),
      m_model(nullptr) {
    registerJapaneseFonts();
    ui->setupUi(this);
    m_model = new CableTableModel(m_selection, m_marks, m_request, this);
    setUpLook();
    setUpGrid();
    connectControls();
    changed();
}

Tdensen::~Tdensen() = default;

// ---------------------------------------------------------------------------------------------
// Building the window

void Tdensen::setUpLook() {
    setFont(sheetFont(10));
    QFont title = sheetFont(14);
    title.setBold(true);
    ui->TitleLabel->setFont(title);
    setStyleSheet(
        QStringLiteral("QFrame#Panel21 { background: black; }"
                       "QFrame#Panel21 QLabel { color: white; }"
                       "QLabel#Label22 { background: yellow; color: black; border: 1px solid gray;"
                       " padding: 1px 4px; }"));
    ui->Label22->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ui->Label22->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("00000")) +
                                 12);
    ui->Edit10->setMinimumWidth(
        QFontMetrics(font()).horizontalAdvance(QStringLiteral("8゜(円形圧縮)")) + 16);
    ui->Edit1->setMaximumWidth(QFontMetrics(font()).horizontalAdvance(QStringLiteral("0.000")) +
                               20);

    ui->ComboBox11->addItems(texts(selectorDescriptions()));
    ui->ComboBox11->setMaxVisibleItems(static_cast<int>(selectorDescriptions().size()));
    // Exact text only: a typed description is matched character for character (the flat EM-FP
    // group is reached by typing its description, never by completing another one).
    auto* completer = new QCompleter(ui->ComboBox11->model(), ui->ComboBox11);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    ui->ComboBox11->setCompleter(completer);
    // The descriptions are long: the list is as wide as the longest one.
    const QFontMetrics fm(font());
    int widest = 0;
    for (int i = 0; i < ui->ComboBox11->count(); ++i)
        widest = std::max(widest, fm.horizontalAdvance(ui->ComboBox11->itemText(i)));
    const int listWidth = widest + 48;
    ui->ComboBox11->view()->setMinimumWidth(listWidth);
    completer->popup()->setMinimumWidth(listWidth);
    ui->ComboBox11->setMinimumWidth(
        std::min(listWidth, fm.horizontalAdvance(qs(kGroupPrompt)) + 48));

    ui->ComboBox1->addItems(texts(ambientItems()));
    ui->ComboBox2->addItems(texts(installationTemperatureItems()));
    ui->ComboBox5->addItems(texts(tierItems()));
    ui->ComboBox6->addItems(texts(spacingItems()));
    for (QComboBox* box : findChildren<QComboBox*>()) {
        box->view()->setFont(font());
        if (box->completer() != nullptr && box->completer()->popup() != nullptr)
            box->completer()->popup()->setFont(font());
    }
}

void Tdensen::setUpGrid() {
    QTableView& grid = *ui->StringGrid7;
    grid.setModel(m_model);
    grid.verticalHeader()->hide();
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setWordWrap(false);
    grid.setCornerButtonEnabled(false);
    grid.setTabKeyNavigation(false);
    grid.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QHeaderView& header = *grid.horizontalHeader();
    header.setSectionResizeMode(QHeaderView::Fixed);
    header.setSectionsClickable(false);
    header.setHighlightSections(false);
    header.setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const QFontMetrics fm(grid.font());
    std::array<int, kImpedanceColumns + 1> widths{};
    widths.fill(kDesignColumnWidth);
    auto fit = [&](int column, const QString& text) {
        for (const QString& line : text.split(QLatin1Char('\n')))
            widths[static_cast<std::size_t>(column)] =
                std::max(widths[static_cast<std::size_t>(column)],
                         fm.horizontalAdvance(line) + kCellPadding);
    };
    // The header texts as activation writes them, for every column.
    CableSelection probe;
    probe.activate({});
    for (int c = 0; c < kImpedanceColumns; ++c)
        fit(c, qs(probe.impedanceGrid()[0][static_cast<std::size_t>(c)]) + QLatin1Char('\n') +
                   qs(probe.impedanceGrid()[1][static_cast<std::size_t>(c)]));
    for (const CableGroup& group : cableGroups())
        for (const ImpedanceRow& row : group.rows) {
            fit(0, qs(row.size));
            fit(1, qs(row.r50));
            fit(2, qs(row.x50));
            fit(3, qs(row.r60));
            fit(4, qs(row.x60));
        }
    fit(CableTableModel::kDropColumn,
        m_model->headerData(CableTableModel::kDropColumn, Qt::Horizontal).toString());
    QFont bold = grid.font();
    bold.setBold(true);
    widths[CableTableModel::kDropColumn] = std::max(
        widths[CableTableModel::kDropColumn],
        QFontMetrics(bold).horizontalAdvance(QStringLiteral("999.99  推奨")) + kCellPadding);
    for (int c = 0; c <= CableTableModel::kDropColumn; ++c)
        header.resizeSection(c, widths[static_cast<std::size_t>(c)]);

    const int rowHeight = std::max(QFontMetrics(bold).height(), fm.height()) + 6;
    grid.verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid.verticalHeader()->setMinimumSectionSize(rowHeight);
    grid.verticalHeader()->setDefaultSectionSize(rowHeight);
    header.setMinimumHeight(2 * QFontMetrics(header.font()).lineSpacing() + 10);
}

void Tdensen::connectControls() {
    connect(ui->ComboBox11, &QComboBox::activated, this,
            [this](int i) { ComboBox11Change(ui->ComboBox11->itemText(i)); });
    connect(ui->ComboBox11->lineEdit(), &QLineEdit::textEdited, this,
            [this](const QString& text) { ComboBox11Change(text); });
    connect(ui->ComboBox3, &QComboBox::activated, this, [this] { ComboBox3Click(); });
    connect(ui->StringGrid7, &QTableView::clicked, this, &Tdensen::StringGrid7Click);
    connect(ui->StringGrid7, &QTableView::doubleClicked, this, &Tdensen::StringGrid7DblClick);

    for (QRadioButton* b : {ui->RadioButton1, ui->RadioButton2, ui->RadioButton3, ui->RadioButton4,
                            ui->RadioButton5, ui->RadioButton6, ui->RadioButton7})
        connect(b, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
    connect(ui->ComboBox1, &QComboBox::activated, this, [this] { RadioButton1Click(); });
    connect(ui->ComboBox1->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { RadioButton1Click(); });

    connect(ui->RadioButton8, &QRadioButton::clicked, this, [this] { RadioButton8Click(); });
    connect(ui->RadioButton9, &QRadioButton::clicked, this, [this] { Button4Click(); });
    connect(ui->RadioButton10, &QRadioButton::clicked, this, [this] { Button4Click(); });
    connect(ui->ComboBox2, &QComboBox::activated, this, [this] { Button4Click(); });
    connect(ui->ComboBox2->lineEdit(), &QLineEdit::editingFinished, this,
            [this] { Button4Click(); });

    connect(ui->ComboBox5, &QComboBox::activated, this, [this] { ComboBox5Click(); });
    connect(ui->ComboBox6, &QComboBox::activated, this, [this] { ComboBox6Click(); });
    connect(ui->ComboBox4, &QComboBox::activated, this, [this] { Button3Click(); });
    connect(ui->Edit1, &QLineEdit::editingFinished, this, [this] { Edit1Exit(); });
}

// ---------------------------------------------------------------------------------------------
// Opening and closing

std::optional<CableChoice> Tdensen::choose(const CableRequest& request, QWidget* caller) {
    m_request = request;
    m_choice.reset();
    // FormActivate: the caller, its installation method and the group, looked up again.
    m_selection.activate(request.context);
    changed();
    placeOver(caller);
    m_runner.run(*this);
    return m_choice;
}

void Tdensen::placeOver(const QWidget* caller) {
    const QWidget* anchor = caller != nullptr ? caller->window() : parentWidget();
    if (anchor != nullptr)
        anchor = anchor->window();
    QScreen* screen = anchor != nullptr ? anchor->screen() : this->screen();
    if (screen == nullptr)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame(QPoint(0, 0), frameGeometry().size().expandedTo(size()));
    frame.moveCenter(anchor != nullptr ? anchor->frameGeometry().center() : available.center());
    // Whole on the caller's screen, whatever part of the caller is off it.
    if (frame.right() > available.right())
        frame.moveRight(available.right());
    if (frame.bottom() > available.bottom())
        frame.moveBottom(available.bottom());
    if (frame.left() < available.left())
        frame.moveLeft(available.left());
    if (frame.top() < available.top())
        frame.moveTop(available.top());
    move(frame.topLeft());
}

void Tdensen::fitSize() {
    // The grid's minimum changes with the marks' column, and panels come and go with the
    // group. Before the window is first shown such a change reaches no layout by itself:
    // every panel is measured afresh.
    for (QWidget* panel : findChildren<QWidget*>())
        if (panel->layout() != nullptr) {
            panel->layout()->invalidate();
            panel->updateGeometry();
        }
    layout()->invalidate();
    layout()->activate();
    const QSize wanted = layout()->totalMinimumSize().expandedTo(QSize(kWidth, kHeight));
    if (minimumSize() != wanted || maximumSize() != wanted)
        setFixedSize(wanted);
}

// ---------------------------------------------------------------------------------------------
// The state on the screen

void Tdensen::changed() {
    m_marks = markSizes(m_selection, m_request);
    refresh();
}

void Tdensen::refused(const Status& status) {
    // The controls go back first: the box takes the focus from the field, and leaving the
    // field must not refuse the same text again.
    changed();
    if (!status)
        m_prompter.info(qs(status.error().message));
}

void Tdensen::refresh() {
    const CableSelection& s = m_selection;
    setWindowTitle(qs(s.windowCaption()));

    {
        const QSignalBlocker b11(ui->ComboBox11);
        const QSignalBlocker b11e(ui->ComboBox11->lineEdit());
        setEditText(*ui->ComboBox11, s.selectorText());
        const QSignalBlocker b3(ui->ComboBox3);
        setItems(*ui->ComboBox3, texts(s.familyItems()));
        selectText(*ui->ComboBox3, s.familyText());
        // The prompt "ｹｰﾌﾞﾙ種別" until a group is shown; empty for a text that is no group.
        ui->ComboBox3->setPlaceholderText(qs(s.familyText()));
        ui->Edit10->setText(qs(s.sizeText()));
        ui->Label22->setText(qs(s.allowableCurrentShown()));
        ui->Label166->setText(qs(s.temperatureLabel()));
    }

    {
        QTableView& grid = *ui->StringGrid7;
        const QSignalBlocker b(grid);
        m_model->selectionChanged();
        grid.setColumnHidden(CableTableModel::kDropColumn, !m_marks.active);
        int width = 2 * grid.frameWidth();
        for (int c = 0; c <= CableTableModel::kDropColumn; ++c)
            if (!grid.isColumnHidden(c))
                width += grid.horizontalHeader()->sectionSize(c);
        grid.setMinimumSize(width, grid.horizontalHeader()->minimumHeight() +
                                       kShownSizes * grid.verticalHeader()->defaultSectionSize() +
                                       2 * grid.frameWidth());
        const int row = m_model->modelRow(s.clickedRow());
        if (row >= 0)
            grid.selectionModel()->setCurrentIndex(
                m_model->index(row, 0),
                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        else
            grid.selectionModel()->clear();
    }

    {
        const auto panel = s.correctionPanel();
        if (!panel)
            ui->CorrectionStack->setCurrentWidget(ui->NoCorrectionPage);
        else if (*panel == CorrectionPanel::ConductorCount)
            ui->CorrectionStack->setCurrentWidget(ui->Panel3);
        else
            ui->CorrectionStack->setCurrentWidget(ui->Panel5);

        const std::array<QRadioButton*, kConductorCountOptions> counts = {
            ui->RadioButton1, ui->RadioButton2, ui->RadioButton3, ui->RadioButton4,
            ui->RadioButton5, ui->RadioButton6, ui->RadioButton7};
        for (int i = 0; i < kConductorCountOptions; ++i) {
            const QSignalBlocker b(counts[static_cast<std::size_t>(i)]);
            if (i + 1 == s.conductorCountOption())
                counts[static_cast<std::size_t>(i)]->setChecked(true);
        }
        const QSignalBlocker b1(ui->ComboBox1);
        setEditText(*ui->ComboBox1, s.ambientText());
    }

    {
        const std::array<std::pair<QRadioButton*, Installation>, 3> methods = {{
            {ui->RadioButton8, Installation::InAirOrCulvert},
            {ui->RadioButton9, Installation::ConduitInAir},
            {ui->RadioButton10, Installation::BuriedConduit},
        }};
        // No method checked is a state of its own: exclusivity is lifted while writing it.
        for (const auto& [button, installation] : methods) {
            const QSignalBlocker b(button);
            button->setAutoExclusive(false);
            button->setChecked(s.installation() == installation);
            button->setVisible(s.installationVisible(installation));
        }
        for (const auto& [button, installation] : methods)
            button->setAutoExclusive(true);
        ui->Label14->setVisible(s.installationVisible(Installation::InAirOrCulvert));
        ui->Label15->setVisible(s.installationVisible(Installation::ConduitInAir));
        const QSignalBlocker b2(ui->ComboBox2);
        setEditText(*ui->ComboBox2, s.installationTemperatureText());
        ui->Label12->setText(qs(s.baseTemperatureCaption()));

        // The FP and VVF/VV tables are not corrected: their values hold in air at 40 ℃.
        const auto family = s.loadedFamily();
        const bool uncorrected = family == AllowableFamily::FP || family == AllowableFamily::VVFVV;
        ui->Label17->setVisible(uncorrected);
        ui->Label18->setVisible(uncorrected);
        ui->Label18->setText(family == AllowableFamily::FP ? QStringLiteral("定格600V 75℃")
                                                           : QStringLiteral("定格600V 60℃"));
    }

    {
        ui->Panel1->setVisible(s.groupingPanelVisible());
        const QSignalBlocker b5(ui->ComboBox5);
        const QSignalBlocker b4(ui->ComboBox4);
        const QSignalBlocker b6(ui->ComboBox6);
        const QSignalBlocker b1(ui->Edit1);
        selectText(*ui->ComboBox5, s.tierText());
        setItems(*ui->ComboBox4, texts(s.cablesPerTierItems()));
        selectText(*ui->ComboBox4, s.cablesPerTierText());
        selectText(*ui->ComboBox6, s.spacingText());
        if (ui->Edit1->text() != qs(s.factorText()))
            ui->Edit1->setText(qs(s.factorText()));
    }

    fitSize();
}

// ---------------------------------------------------------------------------------------------
// The user's actions

void Tdensen::ComboBox11Change(const QString& text) {
    if (ss(text) == m_selection.selectorText())
        return;
    m_selection.selectGroup(ss(text));
    changed();
}

void Tdensen::ComboBox3Click() {
    refused(m_selection.pickFamily(ss(ui->ComboBox3->currentText())));
}

void Tdensen::StringGrid7Click(const QModelIndex& index) {
    if (!index.isValid())
        return;
    m_selection.clickRow(CableTableModel::gridRow(index.row()));
    changed();
}

void Tdensen::StringGrid7DblClick(const QModelIndex& index) {
    if (!index.isValid())
        return;
    auto choice = m_selection.doubleClickRow(CableTableModel::gridRow(index.row()));
    if (!choice)
        return;
    // Opened by no input dialog, the window closes without handing anything to anybody.
    if (m_selection.caller() != Caller::None)
        m_choice = std::move(choice);
    accept();
}

void Tdensen::RadioButton1Click() {
    const std::array<QRadioButton*, kConductorCountOptions> counts = {
        ui->RadioButton1, ui->RadioButton2, ui->RadioButton3, ui->RadioButton4,
        ui->RadioButton5, ui->RadioButton6, ui->RadioButton7};
    int option = m_selection.conductorCountOption();
    for (int i = 0; i < kConductorCountOptions; ++i)
        if (counts[static_cast<std::size_t>(i)]->isChecked())
            option = i + 1;
    Status status = m_selection.chooseConductorCount(option);
    const std::string ambient = ss(ui->ComboBox1->currentText().trimmed());
    if (status && ambient != m_selection.ambientText())
        status = m_selection.chooseAmbient(ambient);
    refused(status);
}

void Tdensen::RadioButton8Click() {
    refused(m_selection.chooseInstallation(Installation::InAirOrCulvert));
}

void Tdensen::Button4Click() {
    Installation installation = m_selection.installation();
    if (ui->RadioButton9->isChecked())
        installation = Installation::ConduitInAir;
    else if (ui->RadioButton10->isChecked())
        installation = Installation::BuriedConduit;
    Status status = success();
    if (installation != m_selection.installation())
        status = m_selection.chooseInstallation(installation);
    const std::string temperature = ss(ui->ComboBox2->currentText().trimmed());
    if (status && temperature != m_selection.installationTemperatureText())
        status = m_selection.chooseInstallationTemperature(temperature);
    refused(status);
}

void Tdensen::ComboBox5Click() {
    refused(m_selection.chooseTiers(ss(ui->ComboBox5->currentText())));
    ui->StringGrid7->setFocus();
}

void Tdensen::ComboBox6Click() {
    refused(m_selection.chooseSpacing(ss(ui->ComboBox6->currentText())));
    ui->StringGrid7->setFocus();
}

void Tdensen::Button3Click() {
    refused(m_selection.chooseCablesPerTier(ss(ui->ComboBox4->currentText())));
    ui->StringGrid7->setFocus();
}

void Tdensen::Edit1Exit() {
    const std::string text = ss(ui->Edit1->text().trimmed());
    if (text == m_selection.factorText())
        return;
    refused(m_selection.editFactor(text));
}

}  // namespace wirelark
