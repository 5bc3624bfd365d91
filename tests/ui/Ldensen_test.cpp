// The cable selection window Tdensen, driven by its controls' names as a user drives it.

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTableView>
#include <QtTest>

#include <functional>

#include "Ldensen.h"
#include "cable_table_model.h"
#include "japanese_fonts.h"
#include "modal_runner.h"
#include "services.h"

using namespace wirelark;

namespace {

const QString kCvTrefoil = QStringLiteral("600V CV及びEM 600V CE/F単心 S＝俵積み");
const QString kCvt = QStringLiteral("600V CVD、600V CVT及びEM 600V CED/F、EM 600V CET/F");
const QString kIv = QStringLiteral("IV（2本（密着）及び3本俵積）");
const QString kVv = QStringLiteral("600V VV2心、3心一括シース");
const QString kVvf = QStringLiteral("VVF");
const QString kEmFpFlat = QStringLiteral("600V EM－FP平形");

class RecordingPrompter final : public Prompter {
  public:
    QStringList infos;
    void info(const QString& text) override { infos << text; }
    void warning(const QString& text) override { QFAIL(qPrintable("warning: " + text)); }
    bool question(const QString& text) override {
        [&] { QFAIL(qPrintable("question: " + text)); }();
        return false;
    }
};

// Shows the window instead of exec(), runs the script on it and closes it with the close box
// when the script left it open.
class ScriptRunner final : public ModalRunner {
  public:
    std::function<void(Tdensen&)> script;
    void run(QDialog& dialog) override {
        dialog.show();
        if (script)
            script(static_cast<Tdensen&>(dialog));
        if (dialog.isVisible())
            dialog.close();
    }
};

CableRequest request(Caller caller = Caller::FeederDialog, const char* method = "気中暗渠配線",
                     Frequency f = Frequency::Hz60, const char* system = "単相3線") {
    CableRequest q;
    q.context = {caller, method, "H=600", system, f};
    return q;
}

template <class T>
T* child(QWidget& w, const char* name) {
    auto* c = w.findChild<T*>(QString::fromLatin1(name));
    if (c == nullptr)
        qFatal("no control %s", name);
    return c;
}

void pick(QWidget& w, const char* combo, const QString& text) {
    auto* box = child<QComboBox>(w, combo);
    const int i = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(i >= 0, qPrintable(text));
    box->setCurrentIndex(i);
    emit box->activated(i);
}

// Types `text` into an edit box or an editable combo box, key by key (kana and kanji
// included), and leaves it with Return.
void type(QWidget& w, const char* name, const QString& text) {
    QLineEdit* edit = w.findChild<QLineEdit*>(QString::fromLatin1(name));
    if (edit == nullptr)
        edit = child<QComboBox>(w, name)->lineEdit();
    edit->setFocus();
    edit->selectAll();
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
    QTest::keyClick(edit, Qt::Key_Return);
}

QModelIndex rowOf(Tdensen& w, const QString& size) {
    auto* grid = child<QTableView>(w, "StringGrid7");
    for (int r = 0; r < grid->model()->rowCount(); ++r)
        if (grid->model()->index(r, 0).data().toString() == size)
            return grid->model()->index(r, 0);
    qWarning("no row %s", qPrintable(size));
    return {};
}

void click(Tdensen& w, const QString& size) {
    auto* grid = child<QTableView>(w, "StringGrid7");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(rowOf(w, size)).center());
}

void doubleClickAt(Tdensen& w, QPoint p) {
    auto* grid = child<QTableView>(w, "StringGrid7");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, p);
}

void doubleClick(Tdensen& w, const QString& size) {
    doubleClickAt(w, child<QTableView>(w, "StringGrid7")->visualRect(rowOf(w, size)).center());
}

QString text(Tdensen& w, const char* name) {
    if (auto* l = w.findChild<QLabel*>(QString::fromLatin1(name)))
        return l->text();
    if (auto* e = w.findChild<QLineEdit*>(QString::fromLatin1(name)))
        return e->text();
    return child<QComboBox>(w, name)->currentText();
}

}  // namespace

class LdensenTest : public QObject {
    Q_OBJECT

    CableSelection m_selection;
    RecordingPrompter m_prompter;
    ScriptRunner m_runner;
    std::unique_ptr<Tdensen> m_window;

    // Opens the window for `q`, lets `script` drive it, and returns what it handed back.
    std::optional<CableChoice> open(const CableRequest& q, std::function<void(Tdensen&)> script,
                                    QWidget* caller = nullptr) {
        m_runner.script = std::move(script);
        return m_window->choose(q, caller);
    }

  private slots:
    void init() {
        m_selection = CableSelection();
        m_selection.preselectFirstGroup();  // as the input dialogs do when they open
        m_prompter.infos.clear();
        m_window = std::make_unique<Tdensen>(m_selection, m_prompter, m_runner);
    }
    void cleanup() {
        m_window.reset();
        QVERIFY2(m_prompter.infos.isEmpty(), qPrintable(m_prompter.infos.join('\n')));
    }

    void aDoubleClickHandsBackTheCableAsTabulated_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("size");
        QTest::addColumn<int>("hz");
        QTest::addColumn<QStringList>("handed");  // name, R, X, current, size key
        QTest::addColumn<QString>("sizeBox");
        QTest::newRow("50 Hz: R and X of columns 1 and 2")
            << kCvTrefoil << "38゜" << 50 << QStringList{"CV38゜", "0.614", "0.0955", "190", "38"}
            << "38゜";
        QTest::newRow("60 Hz: R and X of columns 3 and 4")
            << kCvTrefoil << "38゜" << 60 << QStringList{"CV38゜", "0.614", "0.115", "190", "38"}
            << "38゜";
        QTest::newRow("R differs with the frequency only where tabulated")
            << kCvt << "100゜" << 50 << QStringList{"CV-T100゜", "0.239", "0.0881", "290", "100"}
            << "100゜";
        QTest::newRow("compressed 8 mm² VV is rated and named as 8 mm²")
            << kVv << "8゜(円形圧縮)" << 60 << QStringList{"VV8゜", "2.71", "0.111", "36", "8"}
            << "8゜";
        QTest::newRow("IV by diameter keeps its m")
            << kIv << "1.6mm" << 60 << QStringList{"IV1.6mm", "10.3", "0.123", "19", "1.6m"}
            << "1.6mm";
        QTest::newRow("a size without an allowable-current row hands back no current")
            << kEmFpFlat << "2ﾟx2" << 60 << QStringList{"EM-FP2ﾟx2", "11.2", "0.131", "", "2ﾟx"}
            << "2ﾟx2";
    }
    void aDoubleClickHandsBackTheCableAsTabulated() {
        QFETCH(QString, group);
        QFETCH(QString, size);
        QFETCH(int, hz);
        QFETCH(QStringList, handed);
        QFETCH(QString, sizeBox);
        QString shownSize;
        const auto c = open(request(Caller::FeederDialog, "気中暗渠配線",
                                    hz == 50 ? Frequency::Hz50 : Frequency::Hz60),
                            [&](Tdensen& w) {
                                if (group == kEmFpFlat)
                                    type(w, "ComboBox11", group);  // not in the list
                                else
                                    pick(w, "ComboBox11", group);
                                click(w, size);
                                shownSize = text(w, "Edit10");
                                doubleClick(w, size);
                            });
        QVERIFY(c.has_value());
        QCOMPARE(
            QStringList(
                {QString::fromStdString(c->cableName), QString::fromStdString(c->resistance),
                 QString::fromStdString(c->reactance), QString::fromStdString(c->allowableCurrent),
                 QString::fromStdString(c->sizeKey)}),
            handed);
        QCOMPARE(shownSize, sizeBox);
        QVERIFY(!m_window->isVisible());
    }

    void correctionsChangeWhatIsShownAndHandedBack_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("size");
        QTest::addColumn<std::function<void(Tdensen&)>>("change");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("handed");
        QTest::addColumn<QString>("caption");
        using F = std::function<void(Tdensen&)>;
        QTest::newRow("CV 38 mm² in air at 40 ℃")
            << kCvTrefoil << "38゜" << F([](Tdensen&) {}) << "190"
            << "190"
            << "CV 38 -1C";
        QTest::newRow("CV 38 mm² at 45 ℃: √(45/50)")
            << kCvTrefoil << "38゜" << F([](Tdensen& w) { pick(w, "ComboBox2", "45"); }) << "180"
            << "180"
            << "CV 38 -1C";
        QTest::newRow("a factor of 0.5 on 127 A: shown cut, handed back rounded")
            << kCvTrefoil << "22゜" << F([](Tdensen& w) {
                   type(w, "ComboBox2", "42");  // 130 x √(48/50) = 127
                   type(w, "Edit1", "0.5");
               })
            << "63"
            << "64"
            << "CV 22 -1C";
        QTest::newRow("IV 14 mm², four wires in one conduit")
            << kIv << "14゜"
            << F([](Tdensen& w) { child<QRadioButton>(w, "RadioButton2")->click(); }) << "55"
            << "55"
            << "IV 14゜";
        QTest::newRow("three tiers of 9～10 cables at S=d")
            << kCvTrefoil << "38゜" << F([](Tdensen& w) {
                   pick(w, "ComboBox5", "3");
                   pick(w, "ComboBox4", "9～10");
                   QCOMPARE(text(w, "Edit1"), QStringLiteral("0.3"));
               })
            << "57"
            << "57"
            << "39～10S=d";
    }
    void correctionsChangeWhatIsShownAndHandedBack() {
        QFETCH(QString, group);
        QFETCH(QString, size);
        QFETCH(std::function<void(Tdensen&)>, change);
        QFETCH(QString, shown);
        QFETCH(QString, handed);
        QFETCH(QString, caption);
        const auto c = open(request(), [&](Tdensen& w) {
            pick(w, "ComboBox11", group);
            click(w, size);
            change(w);
            QCOMPARE(text(w, "Label22"), shown);
            QCOMPARE(w.windowTitle(), caption);
            doubleClick(w, size);
        });
        QVERIFY(c.has_value());
        QCOMPARE(QString::fromStdString(c->allowableCurrent), handed);
    }

    void theCloseBoxAndClicksOutsideTheSizesHandBackNothing() {
        auto* caller = new QWidget;
        caller->setGeometry(100, 150, 600, 500);
        caller->show();
        const auto closed = open(
            request(Caller::FeederDialog),
            [](Tdensen& w) {
                pick(w, "ComboBox11", kVvf);
                auto* grid = child<QTableView>(w, "StringGrid7");
                // Below the six VVF sizes, and on the header: the window stays open.
                doubleClickAt(w, QPoint(20, grid->viewport()->height() - 5));
                QVERIFY(w.isVisible());
                QTest::mouseDClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {},
                                   QPoint(20, 10));
                QVERIFY(w.isVisible());
                click(w, "2.0-2C");
                w.close();
            },
            caller);
        QVERIFY(!closed.has_value());
        // Centred to within the width of the window frame, unknown before the first showing.
        QVERIFY((m_window->frameGeometry().center() - caller->frameGeometry().center())
                    .manhattanLength() <= 6);
        // Opened by no input dialog: a double-click closes the window and nobody receives it.
        const auto nobody =
            open(request(Caller::None), [](Tdensen& w) { doubleClick(w, "2.0-2C"); });
        QVERIFY(!nobody.has_value());
        QVERIFY(!m_window->isVisible());
        // A caller near the edge of the screen: the window stays whole on the screen, and the
        // caller is not moved.
        caller->setGeometry(500, 500, 600, 500);
        open(request(Caller::BranchDialog), {}, caller);
        QVERIFY(m_window->screen()->availableGeometry().contains(m_window->frameGeometry()));
        QCOMPARE(caller->geometry(), QRect(500, 500, 600, 500));
        delete caller;
    }

    void selectionsPersistBetweenOpeningsFromEitherCaller() {
        const auto first = open(request(Caller::FeederDialog), [](Tdensen& w) {
            pick(w, "ComboBox11", kCvTrefoil);
            pick(w, "ComboBox2", "45");
            pick(w, "ComboBox5", "2");
            pick(w, "ComboBox4", "3");
            doubleClick(w, "38゜");
        });
        QVERIFY(first.has_value());
        QCOMPARE(first->allowableCurrent, "108");  // 180 A x 0.6
        const auto second = open(request(Caller::BranchDialog), [](Tdensen& w) {
            QCOMPARE(text(w, "ComboBox11"), kCvTrefoil);
            QCOMPARE(text(w, "ComboBox2"), QStringLiteral("45"));
            QCOMPARE(text(w, "ComboBox5"), QStringLiteral("2"));
            QCOMPARE(text(w, "ComboBox4"), QStringLiteral("3"));
            QCOMPARE(text(w, "Edit1"), QStringLiteral("0.6"));
            QCOMPARE(text(w, "Label22"), QStringLiteral("108"));
            auto* grid = child<QTableView>(w, "StringGrid7");
            QCOMPARE(grid->selectionModel()->selectedRows(),
                     QModelIndexList{rowOf(w, QStringLiteral("38゜"))});
            doubleClick(w, "60゜");
        });
        QVERIFY(second.has_value());
        QCOMPARE(second->cableName, "CV60゜");
    }

    void theGroupIsMatchedByItsExactText() {
        open(request(), [](Tdensen& w) {
            auto* groups = child<QComboBox>(w, "ComboBox11");
            QCOMPARE(groups->findText(kEmFpFlat), -1);
            type(w, "ComboBox11", QStringLiteral("vvf"));  // no group, whatever the case
            QCOMPARE(w.tableModel().rowCount(), 0);
            QCOMPARE(child<QComboBox>(w, "ComboBox3")->count(), 0);
            type(w, "ComboBox11", kEmFpFlat);
            QCOMPARE(text(w, "ComboBox11"), kEmFpFlat);
            QCOMPARE(w.tableModel().rowCount(), 12);
            QCOMPARE(rowOf(w, QStringLiteral("1.2mmx2")).row(), 0);
            QCOMPARE(text(w, "ComboBox3"), QStringLiteral("EM-FP"));
            QCOMPARE(text(w, "Label166"), QStringLiteral("(75℃)"));
        });
    }

    void theCallersMethodDecidesThePanels_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<QString>("checked");  // installation radio; empty: none shown
        QTest::addColumn<bool>("grouping");
        QTest::newRow("cable in air: grouping below") << kCvTrefoil << "気中暗渠配線"
                                                      << "Panel5"
                                                      << "RadioButton8" << true;
        QTest::newRow("cable in conduit") << kCvTrefoil << "保護管配線"
                                          << "Panel5"
                                          << "RadioButton9" << true;
        QTest::newRow("buried conduit: no grouping") << kCvTrefoil << "地中保護管配線"
                                                     << "Panel5"
                                                     << "RadioButton10" << false;
        QTest::newRow("IV wires: the conductor-count panel") << kIv << "保護管配線"
                                                             << "Panel3"
                                                             << "RadioButton9" << true;
    }
    void theCallersMethodDecidesThePanels() {
        QFETCH(QString, group);
        QFETCH(QString, method);
        QFETCH(QString, panel);
        QFETCH(QString, checked);
        QFETCH(bool, grouping);
        const QByteArray m = method.toUtf8();
        open(request(Caller::BranchDialog, m.constData()), [&](Tdensen& w) {
            pick(w, "ComboBox11", group);
            QCOMPARE(child<QStackedWidget>(w, "CorrectionStack")->currentWidget()->objectName(),
                     panel);
            for (const char* r : {"RadioButton8", "RadioButton9", "RadioButton10"}) {
                auto* b = child<QRadioButton>(w, r);
                QCOMPARE(!b->isHidden(), checked == QLatin1String(r));
                QCOMPARE(b->isChecked(), checked == QLatin1String(r));
            }
            QCOMPARE(child<QWidget>(w, "Panel1")->isVisibleTo(&w), grouping);
            if (panel == QLatin1String("Panel3"))
                QVERIFY(child<QRadioButton>(w, "RadioButton1")->isChecked());
        });
    }

    void aTemperatureThatIsNoNumberIsRefusedAndReverts() {
        open(request(), [this](Tdensen& w) {
            pick(w, "ComboBox11", kCvTrefoil);
            type(w, "ComboBox2", QStringLiteral("暑い"));
            QCOMPARE(m_prompter.infos,
                     QStringList{QStringLiteral("布設温度の「暑い」は数値ではありません。")});
            QCOMPARE(text(w, "ComboBox2"), QStringLiteral("40"));
            m_prompter.infos.clear();
        });
    }

    void sizesThatPassAreMarked() {
        CableRequest q = request();
        q.designCurrent = "150";
        q.length = "60";
        q.powerFactor = "0.95";
        q.allowableDrop = "3";
        const auto c = open(q, [](Tdensen& w) {
            pick(w, "ComboBox11", kCvTrefoil);
            auto* grid = child<QTableView>(w, "StringGrid7");
            const int drop = CableTableModel::kDropColumn;
            QVERIFY(!grid->isColumnHidden(drop));
            QVERIFY(
                grid->model()->headerData(drop, Qt::Horizontal).toString().contains("電圧降下"));
            auto cell = [&](const char* size, int column) {
                return rowOf(w, QString::fromUtf8(size)).siblingAtColumn(column);
            };
            QVERIFY(cell("22゜", 0).data(CableTableModel::BelowCurrentRole).toBool());
            QCOMPARE(cell("38゜", drop).data().toString(), QStringLiteral("5.57"));
            QVERIFY(cell("38゜", drop).data(CableTableModel::DropTooLargeRole).toBool());
            QVERIFY(!cell("38゜", 0).data(CableTableModel::BelowCurrentRole).toBool());
            QCOMPARE(cell("100゜", drop).data().toString(), QStringLiteral("2.29  推奨"));
            QVERIFY(cell("100゜", 1).data(CableTableModel::RecommendedRole).toBool());
            QVERIFY(cell("100゜", 1).data(Qt::BackgroundRole).isValid());
            doubleClick(w, "38゜");  // the engineer may still pick another size
        });
        QVERIFY(c.has_value());
        QCOMPARE(c->cableName, "CV38゜");
        QCOMPARE(c->allowableCurrent, "190");
        // Without a length nothing is marked and the column is gone.
        q.length.clear();
        open(q, [](Tdensen& w) {
            QVERIFY(
                child<QTableView>(w, "StringGrid7")->isColumnHidden(CableTableModel::kDropColumn));
            QVERIFY(w.marks().rows.empty());
        });
    }

    void everyTextIsDrawnWholeInAJapaneseFace_data() {
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("method");
        QTest::newRow("CV group in air") << kCvt << "気中暗渠配線";
        QTest::newRow("IV group, conductor panel") << kIv << "保護管配線";
        QTest::newRow("buried conduit") << kCvTrefoil << "地中保護管配線";
    }
    void everyTextIsDrawnWholeInAJapaneseFace() {
        QFETCH(QString, group);
        QFETCH(QString, method);
        const QByteArray m = method.toUtf8();
        CableRequest q = request(Caller::FeederDialog, m.constData());
        q.designCurrent = "100";
        q.length = "50";
        q.powerFactor = "0.95";
        q.allowableDrop = "3";
        open(q, [&](Tdensen& w) {
            pick(w, "ComboBox11", group);
            click(w, w.tableModel().index(0, 0).data().toString());
            QVERIFY(w.width() >= Tdensen::kWidth && w.height() >= Tdensen::kHeight);
            QCOMPARE(w.minimumSize(), w.maximumSize());
            QList<QWidget*> controls = w.findChildren<QWidget*>();
            for (QComboBox* box : w.findChildren<QComboBox*>())
                controls << box->view();
            for (QWidget* c : controls) {
                const QFontMetrics fm(c->font());
                QVERIFY2(drawsKanji(c->font()) && fm.inFont(QChar(0x309C)) &&
                             fm.inFont(QChar(0xFF9F)) && fm.inFont(QChar(0xFF79)),
                         qPrintable(c->objectName()));
                if (auto* l = qobject_cast<QLabel*>(c); l && l->isVisibleTo(&w))
                    QVERIFY2(l->width() >= fm.horizontalAdvance(l->text()),
                             qPrintable(l->objectName()));
                if (auto* b = qobject_cast<QRadioButton*>(c); b && b->isVisibleTo(&w))
                    QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->objectName()));
            }
            auto* groups = child<QComboBox>(w, "ComboBox11");
            const QFontMetrics fm(groups->view()->font());
            QVERIFY(groups->view()->minimumWidth() > fm.horizontalAdvance(kCvt));
            auto* grid = child<QTableView>(w, "StringGrid7");
            QVERIFY(!grid->isColumnHidden(CableTableModel::kDropColumn));
            QVERIFY(grid->viewport()->width() >= grid->horizontalHeader()->length());
            for (int c = 0; c < grid->model()->columnCount(); ++c)
                for (const QString& line :
                     grid->model()->headerData(c, Qt::Horizontal).toString().split('\n'))
                    QVERIFY(grid->horizontalHeader()->sectionSize(c) >
                            QFontMetrics(grid->horizontalHeader()->font()).horizontalAdvance(line));
        });
    }
};

QTEST_MAIN(LdensenTest)
#include "Ldensen_test.moc"
