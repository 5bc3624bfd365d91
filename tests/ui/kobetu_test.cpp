// The branch input window TForm4 as the engineer meets it: drawn off screen on a two-system
// residential feeder laid out by the core, opened on a row as the main window opens it, driven
// by its controls' names with clicks and typed keys. The message boxes, the keypad and the
// cable selection are answered by the test; one nobody expected fails it.

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QtTest>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "branch_dialog.h"
#include "branch_hand_off.h"
#include "cable_selection.h"
#include "document.h"
#include "feeder_diagram.h"
#include "input_window_services.h"
#include "japanese_fonts.h"
#include "kobetu.h"
#include "modal_runner.h"
#include "services.h"
#include "write_back.h"

using namespace wirelark;

namespace {

// The feeder's rows as the core lays them out: two systems of two dwellings each.
enum Row {
    kHead = 0,        // "-─▶┌"
    kFirstTrunk = 1,  // "┌┌┘": system 2 leaves the trunk here as well
    kBranch = 2,      // "│├▶"
    kTrunk = 3,       // "││"
    kSecond = 5,      // "│　": system 2's own first trunk row
    kLastBranch = 8,  // "└─▶"
};

FeederEntry twoSystemFeeder() {
    FeederEntry e;
    e.name = "L-A";
    e.powerFactor = "0.95";
    e.cable = "CV38-3C";
    e.method = "気中暗渠配線";
    e.allowableCurrent = "150";
    e.impedance = "0.497";
    e.voltageDrop = "1.50";
    e.allowableDrop = "3";
    e.sizeKey = "38";
    e.trunkSystem = "単相3線";
    e.trunkVoltage = "100/200";
    e.trunkBreaker = "125";
    e.trunkLength = "40";
    e.trunkDesignCurrent = "90";
    e.branchesSystem1 = "2";
    e.branchesSystem2 = "2";
    e.dwellingMainBreaker = "40";
    e.dwellingCurrent = "30";
    e.lengthBetweenBranches = "3";
    e.systems = 2;
    return e;
}

const CableChoice kCv38{"CV38゜", "0.614", "0.115", "190", "38"};

using CablePick = std::function<std::optional<CableChoice>(const CableRequest&)>;

// The main window's services as a test answers them.
class ScriptedServices final : public InputWindowServices, public Prompter {
  public:
    QStringList infos;
    QStringList questions;
    std::deque<bool> answers;
    std::deque<std::optional<std::string>> keys;
    std::deque<CablePick> cables;
    std::vector<CableRequest> requests;
    QStringList unexpected;
    // The window the cable selection stood over, and whether it was still shown.
    QWidget* cableCaller = nullptr;
    bool callerShown = false;

    Prompter& prompter() override { return *this; }
    void beep() override { unexpected << QStringLiteral("beep"); }
    std::optional<std::string> keypad(QWidget&) override {
        if (keys.empty()) {
            unexpected << QStringLiteral("keypad");
            return std::nullopt;
        }
        auto k = keys.front();
        keys.pop_front();
        return k;
    }
    std::optional<std::string> calculator(QWidget&) override {
        unexpected << QStringLiteral("calculator");
        return std::nullopt;
    }
    std::optional<CableChoice> chooseCable(const CableRequest& request, QWidget& caller) override {
        requests.push_back(request);
        cableCaller = &caller;
        callerShown = caller.isVisible();
        if (cables.empty()) {
            unexpected << QStringLiteral("cable selection");
            return std::nullopt;
        }
        CablePick pick = std::move(cables.front());
        cables.pop_front();
        return pick(request);
    }

    void info(const QString& text) override { infos << text; }
    void warning(const QString& text) override { unexpected << QStringLiteral("warning ") + text; }
    bool question(const QString& text) override {
        questions << text;
        if (answers.empty()) {
            unexpected << QStringLiteral("question ") + text;
            return false;
        }
        const bool yes = answers.front();
        answers.pop_front();
        return yes;
    }
};

// Shows the window instead of exec() and lets the test drive it; a window the script leaves
// open is closed by run() as the close box closes it.
class ScriptRunner final : public ModalRunner {
  public:
    std::function<void(TForm4&)> script;
    void run(QDialog& dialog) override {
        dialog.show();
        if (script)
            script(static_cast<TForm4&>(dialog));
    }
};

template <class T>
T* child(QWidget& w, const QString& name) {
    auto* c = w.findChild<T*>(name);
    if (c == nullptr)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QString text(QWidget& w, const QString& name) {
    QWidget* c = child<QWidget>(w, name);
    if (auto* l = qobject_cast<QLabel*>(c))
        return l->text();
    if (auto* e = qobject_cast<QLineEdit*>(c))
        return e->text();
    return child<QComboBox>(w, name)->currentText();
}

bool shown(QWidget& w, const QString& name) {
    return child<QWidget>(w, name)->isVisibleTo(&w);
}

// An item picked from a combo box's list with the mouse.
void pick(QWidget& w, const QString& name, const QString& item) {
    auto* box = child<QComboBox>(w, name);
    const int i = box->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY2(i >= 0, qPrintable(name + ": " + item));
    box->showPopup();
    QAbstractItemView* view = box->view();
    const QModelIndex index = view->model()->index(i, box->modelColumn());
    view->scrollTo(index);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(index).center());
    QVERIFY2(!view->isVisible(), qPrintable(name));
}

// Text typed into a field key by key, then Return.
void type(QWidget& w, const QString& name, const QString& typed) {
    QLineEdit* edit = w.findChild<QLineEdit*>(name);
    if (edit == nullptr)
        edit = child<QComboBox>(w, name)->lineEdit();
    edit->setFocus();
    edit->selectAll();
    // Kana and kanji as a keyboard's input method delivers them: one text per key.
    for (const QChar ch : typed) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    }
    QTest::keyClick(edit, Qt::Key_Return);
}

void click(QWidget& w, const QString& name) {
    auto* b = child<QAbstractButton>(w, name);
    // Near the left edge: a radio button or check box is clicked on its mark.
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

// The control of the design that holds the window's focus (an editable combo box for its line
// edit), or empty.
QString focusedControl(QWidget& w) {
    static const QRegularExpression design(
        QStringLiteral("^(Edit|ComboBox|Button|RadioButton|CheckBox)\\d+$"));
    for (QWidget* f = w.focusWidget(); f != nullptr && f != &w; f = f->parentWidget())
        if (design.match(f->objectName()).hasMatch())
            return f->objectName();
    return {};
}

// Which piece of the tree carries the bar.
QString markedPiece(QWidget& w) {
    for (auto* piece : w.findChildren<FeederTreePiece*>())
        if (piece->highlighted())
            return piece->objectName();
    return {};
}

// The row of the tree panel a piece or the length and cable fields stand in.
int treeRow(QWidget& w, const QString& name) {
    auto* grid =
        qobject_cast<QGridLayout*>(child<QWidget>(w, QStringLiteral("TreePanel"))->layout());
    int row = -1, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(child<QWidget>(w, name)), &row, &column, &rowSpan,
                          &columnSpan);
    return row;
}

}  // namespace

class KobetuTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Document> m_document;
    std::unique_ptr<CableSelection> m_cables;
    std::unique_ptr<BranchDialog> m_model;
    std::unique_ptr<ScriptedServices> m_services;
    std::unique_ptr<ScriptRunner> m_runner;
    std::unique_ptr<TForm4> m_window;

    // Opens the window on `row` as a double-click on `column` does, runs `script` in it, and
    // returns what run() returned.
    bool open(int row, int column, std::function<void(TForm4&)> script,
              std::function<void()> beforeShowing = {}) {
        if (!openBranchRow(*m_document, row, *m_model, *m_window)) {
            qWarning("row %d opens no branch dialog", row);
            return false;
        }
        if (beforeShowing)
            beforeShowing();
        m_runner->script = std::move(script);
        return m_window->run(column);
    }

    void expectNoBoxes() {
        QVERIFY2(m_services->infos.isEmpty(), qPrintable(m_services->infos.join('\n')));
        QVERIFY2(m_services->questions.isEmpty(), qPrintable(m_services->questions.join('\n')));
    }

  private slots:
    void initTestCase() { registerJapaneseFonts(); }

    void init() {
        m_document = std::make_unique<Document>();
        m_document->replace([](Sheet& s) {
            s = Sheet(30);
            return buildResidentialBlock(s, 0, twoSystemFeeder(), 1, SupplyKind::Transformer);
        });
        m_cables = std::make_unique<CableSelection>();
        m_model = std::make_unique<BranchDialog>(*m_document, *m_cables);
        m_services = std::make_unique<ScriptedServices>();
        m_runner = std::make_unique<ScriptRunner>();
        m_window = std::make_unique<TForm4>(*m_model, *m_services, *m_runner);
    }

    void cleanup() {
        m_window.reset();
        QVERIFY2(m_services->unexpected.isEmpty(), qPrintable(m_services->unexpected.join('\n')));
        QVERIFY2(
            m_services->answers.empty() && m_services->keys.empty() && m_services->cables.empty(),
            "answers left over");
    }

    // ---- What the window shows for the row ----------------------------------------------------

    void theRowDecidesTheArrangement_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("unmark");  // the main window did not mark the row
        QTest::addColumn<QString>("marked");
        QTest::addColumn<QString>("fieldsBeside");
        QTest::addColumn<bool>("feederBreaker");
        QTest::addColumn<bool>("reducedBox");
        QTest::newRow("head row: the feeder, fields beside the trunk, feeder breaker shown")
            << int(kHead) << false << "FeederPiece"
            << "BranchPiece" << true << false;
        QTest::newRow("branch row: the branch to the dwelling, fields beside the trunk")
            << int(kBranch) << false << "BranchPiece"
            << "BranchPiece" << false << false;
        QTest::newRow("last branch: the tree ends with it")
            << int(kLastBranch) << false << "BranchPiece"
            << "BranchPiece" << false << false;
        QTest::newRow("trunk between branch points: fields at the trunk row")
            << int(kTrunk) << false << "TrunkPiece"
            << "TrunkPiece" << false << false;
        QTest::newRow("first trunk row of two systems: the tap's breaker is asked for")
            << int(kFirstTrunk) << false << "TrunkPiece"
            << "TrunkPiece" << false << true;
        QTest::newRow("system 2's first trunk row, marked by the main window")
            << int(kSecond) << false << "TrunkPiece"
            << "TrunkPiece" << false << true;
        QTest::newRow("system 2's first trunk row left unmarked is a plain trunk row")
            << int(kSecond) << true << "TrunkPiece"
            << "TrunkPiece" << false << false;
    }
    void theRowDecidesTheArrangement() {
        QFETCH(int, row);
        QFETCH(bool, unmark);
        QFETCH(QString, marked);
        QFETCH(QString, fieldsBeside);
        QFETCH(bool, feederBreaker);
        QFETCH(bool, reducedBox);
        // The window opened on another kind of row first: nothing of that layout may stay.
        open(row == kHead ? kTrunk : kHead, 6, [](TForm4& w) { w.close(); });
        open(
            row, 6,
            [&](TForm4& w) {
                QCOMPARE(text(w, "Edit4"),
                         QString::fromUtf8(m_document->sheet().cell(row, col::glyph)));
                QCOMPARE(markedPiece(w), marked);
                QCOMPARE(treeRow(w, "LengthCableGroup"), treeRow(w, fieldsBeside));
                QCOMPARE(shown(w, "Edit8"), feederBreaker);
                QCOMPARE(shown(w, "FeederBreakerCaption"), feederBreaker);
                QCOMPARE(shown(w, "BreakerNote"), reducedBox);
                QCOMPARE(shown(w, "ComboBox12"), true);
                QCOMPARE(shown(w, "ComboBox15"), !reducedBox);
                QCOMPARE(shown(w, "Button1"), !reducedBox);
                QCOMPARE(text(w, "BreakerNote"),
                         QStringLiteral("※幹線からの分岐ブレーカーがあれば入力してください。"));
                for (const char* hidden : {"Label10", "Label43", "Label56", "Label57"})
                    QVERIFY2(!shown(w, hidden), hidden);
            },
            [&] {
                if (unmark)
                    m_model->Tag = 0;
            });
        // The mark serves one opening only.
        QCOMPARE(m_model->Tag, 0);
        m_services->infos.clear();
    }

    void theDoubleClickedColumnTakesTheFocus_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("control");
        QTest::newRow("feeder breaker of the head row") << int(kHead) << 4 << "Edit8";
        QTest::newRow("main device column of the head row: its feeder breaker")
            << int(kHead) << 8 << "Edit8";
        QTest::newRow("main device column of a branch row") << int(kBranch) << 8 << "ComboBox12";
        QTest::newRow("length: its keypad button") << int(kBranch) << 6 << "Button16";
        QTest::newRow("load name") << int(kLastBranch) << 7 << "Edit5";
        QTest::newRow("power factor") << int(kBranch) << 10 << "Edit6";
        QTest::newRow("cable: the cable button") << int(kTrunk) << 11 << "Button11";
        QTest::newRow("length of a trunk row, its fields moved") << int(kTrunk) << 6 << "Button16";
    }
    void theDoubleClickedColumnTakesTheFocus() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(QString, control);
        // The last opening was a branch row: the head row's breaker must be shown again first.
        open(kBranch, 9, [](TForm4& w) { w.close(); });
        open(row, column, [&](TForm4& w) { QCOMPARE(focusedControl(w), control); });
    }

    // ---- The window's own mouse actions -------------------------------------------------------

    void mouseActionsOnFields_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("focus");    // the focus after it, when it moves
        QTest::addColumn<QString>("emptied");  // the field it empties
        QTest::newRow("a press on the system sends the focus to the cable button") << "press"
                                                                                   << "Edit2"
                                                                                   << "Button11"
                                                                                   << "";
        QTest::newRow("a press on the voltage likewise") << "press"
                                                         << "Edit3"
                                                         << "Button11"
                                                         << "";
        QTest::newRow("a press on the glyph likewise") << "press"
                                                       << "Edit4"
                                                       << "Button11"
                                                       << "";
        QTest::newRow("the pointer over the number box sends the focus to the load name")
            << "enter"
            << "ComboBox1"
            << "Edit5"
            << "";
        QTest::newRow("a double-click empties the load name") << "dblclick"
                                                              << "Edit5"
                                                              << ""
                                                              << "Edit5";
        QTest::newRow("a double-click empties the main device") << "dblclick"
                                                                << "ComboBox12"
                                                                << ""
                                                                << "ComboBox12";
        QTest::newRow("a double-click empties the remarks") << "dblclick"
                                                            << "Edit9"
                                                            << ""
                                                            << "Edit9";
        QTest::newRow("a double-click empties the name unit") << "dblclick"
                                                              << "ComboBox2"
                                                              << ""
                                                              << "ComboBox2";
    }
    void mouseActionsOnFields() {
        QFETCH(QString, action);
        QFETCH(QString, control);
        QFETCH(QString, focus);
        QFETCH(QString, emptied);
        open(kBranch, 9, [&](TForm4& w) {
            type(w, "Edit5", QStringLiteral("住戸"));
            type(w, "Edit9", QStringLiteral("北側"));
            pick(w, "ComboBox2", QStringLiteral("Ｆ"));
            if (!emptied.isEmpty())
                QVERIFY(!text(w, emptied).isEmpty());
            QWidget* target = child<QWidget>(w, control);
            if (auto* box = qobject_cast<QComboBox*>(target); box && action == "dblclick")
                target = box->lineEdit();
            const QPoint centre = target->rect().center();
            if (action == "press") {
                QTest::mouseClick(target, Qt::LeftButton, {}, centre);
            } else if (action == "enter") {
                QEnterEvent enter(centre, target->mapTo(&w, centre), target->mapToGlobal(centre));
                QApplication::sendEvent(target, &enter);
            } else {
                QTest::mouseDClick(target, Qt::LeftButton, {}, centre);
            }
            if (!focus.isEmpty())
                QCOMPARE(focusedControl(w), focus);
            if (!emptied.isEmpty())
                QCOMPARE(text(w, emptied), QString());
            // Read-only fields keep what the head row says.
            QCOMPARE(text(w, "Edit2"), QStringLiteral("単相3線"));
        });
        expectNoBoxes();
    }

    void theWheelTurnsOnlyTheListInUse_data() {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<QString>("after");
        QTest::newRow("the pointer passing over the length changes nothing")
            << "ComboBox6" << false << "3";
        QTest::newRow("passing over the method opens no cable selection")
            << "ComboBox14" << false << "気中暗渠配線";
        QTest::newRow("the length the engineer is in turns") << "ComboBox6" << true << "4";
    }
    void theWheelTurnsOnlyTheListInUse() {
        QFETCH(QString, control);
        QFETCH(bool, focused);
        QFETCH(QString, after);
        open(kTrunk, 9, [&](TForm4& w) {
            auto* box = child<QComboBox>(w, control);
            if (focused) {
                w.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&w));
                box->setFocus();
                QVERIFY(box->hasFocus());
            }
            const QPointF at = box->rect().center();
            QWheelEvent wheel(at, box->mapToGlobal(at), {}, QPoint(0, -120), Qt::NoButton,
                              Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(box, &wheel);
            QCOMPARE(text(w, control), after);
            // A turn is a pick: the model has the new length and computed with it.
            if (control == QStringLiteral("ComboBox6"))
                QCOMPARE(QString::fromStdString(m_model->ComboBox6), after);
        });
        expectNoBoxes();
    }

    // ---- Main device and design current -------------------------------------------------------

    void theDesignCurrentAgainstTheMainDevice_data() {
        QTest::addColumn<QString>("mainDevice");  // picked, or "無し"
        QTest::addColumn<QString>("current");
        QTest::addColumn<int>("answer");  // -1 no question, 0 No, 1 Yes
        QTest::addColumn<QString>("result");
        QTest::newRow("a current above the main device raises it without asking")
            << "60"
            << "75" << -1 << "75";
        QTest::newRow("a current below it asks; No follows the current") << "60"
                                                                         << "30" << 0 << "30";
        QTest::newRow("a current below it asks; Yes keeps the main device") << "60"
                                                                            << "30" << 1 << "60";
        QTest::newRow("without a main device the current changes nothing") << "無し"
                                                                           << "30" << -1 << "";
    }
    void theDesignCurrentAgainstTheMainDevice() {
        QFETCH(QString, mainDevice);
        QFETCH(QString, current);
        QFETCH(int, answer);
        QFETCH(QString, result);
        if (answer >= 0)
            m_services->answers.push_back(answer == 1);
        open(kBranch, 9, [&](TForm4& w) {
            if (mainDevice == QStringLiteral("無し")) {
                click(w, "Button1");
                QVERIFY(!shown(w, "MainDevicePicture"));
            } else {
                pick(w, "ComboBox12", mainDevice);
                QVERIFY(shown(w, "MainDevicePicture"));
            }
            pick(w, "ComboBox15", current);
            QCOMPARE(text(w, "ComboBox12"), result);
            QCOMPARE(text(w, "ComboBox15"), current);
            if (answer >= 0) {
                QCOMPARE(m_services->questions,
                         QStringList{QStringLiteral(
                             "主幹器具定格電流は 60Ａ です。このまままで良いですか？。")});
                QCOMPARE(focusedControl(w), QStringLiteral("Button4"));
            }
        });
        if (answer < 0)
            QVERIFY(m_services->questions.isEmpty());
    }

    void typedNumbersRunNoHandlerUntilPicked() {
        open(kBranch, 9, [&](TForm4& w) {
            pick(w, "ComboBox12", "60");
            // Typed and left: no comparison yet (only a pick from the list compares).
            type(w, "ComboBox15", "75");
            QCOMPARE(text(w, "ComboBox12"), QStringLiteral("60"));
            type(w, "ComboBox6", "12.5");
            QCOMPARE(text(w, "ComboBox6"), QStringLiteral("12.5"));
            // The next action takes the typed texts.
            pick(w, "ComboBox12", "60");
            QCOMPARE(m_model->ComboBox15, "75");
            QCOMPARE(m_model->ComboBox6, "12.5");
        });
        expectNoBoxes();
    }

    // ---- Keypad and cable selection -----------------------------------------------------------

    void theKeypadKeysTheLength_data() {
        QTest::addColumn<bool>("cancelled");
        QTest::addColumn<QString>("length");
        QTest::newRow("keyed and accepted") << false << "12.5";
        QTest::newRow("cancelled: nothing changes") << true << "3";
    }
    void theKeypadKeysTheLength() {
        QFETCH(bool, cancelled);
        QFETCH(QString, length);
        m_services->keys.push_back(cancelled ? std::nullopt : std::optional<std::string>("12.5"));
        open(kTrunk, 6, [&](TForm4& w) {
            QCOMPARE(text(w, "ComboBox6"), QStringLiteral("3"));
            click(w, "Button16");
            QCOMPARE(text(w, "ComboBox6"), length);
            QCOMPARE(text(w, "Label60"), QString::fromStdString(m_model->Label60));
            QCOMPARE(text(w, "Label70"), QString::fromStdString(m_model->Label70));
        });
        expectNoBoxes();
    }

    void theCableSelectionHandsBackIntoTheFields_data() {
        QTest::addColumn<QStringList>("actions");  // "pick CONTROL ITEM" or "click CONTROL"
        QTest::addColumn<QString>("method");
        QTest::addColumn<QString>("depth");
        QTest::addColumn<bool>("handedBack");
        QTest::newRow("buried conduit: the depth picked opens the selection")
            << QStringList{"pick ComboBox14 地中保護管配線", "pick ComboBox16 H=1200"}
            << "地中保護管配線"
            << "H=1200" << true;
        QTest::newRow("conduit: the method picked opens it at once")
            << QStringList{"pick ComboBox14 保護管配線"} << "保護管配線"
            << "H=600" << true;
        QTest::newRow("the cable button") << QStringList{"click Button11"} << "気中暗渠配線"
                                          << "H=600" << true;
        QTest::newRow("closed without a pick: nothing handed back")
            << QStringList{"click Button11"} << "気中暗渠配線"
            << "H=600" << false;
    }
    void theCableSelectionHandsBackIntoTheFields() {
        QFETCH(QStringList, actions);
        QFETCH(QString, method);
        QFETCH(QString, depth);
        QFETCH(bool, handedBack);
        m_services->cables.push_back([&](const CableRequest&) -> std::optional<CableChoice> {
            if (!handedBack)
                return std::nullopt;
            return kCv38;
        });
        open(kBranch, 11, [&](TForm4& w) {
            QCOMPARE(text(w, "Edit12"), QStringLiteral("Z"));
            for (const QString& a : actions) {
                const QStringList part = a.split(' ');
                if (part[0] == "pick") {
                    pick(w, part[1], part[2]);
                    // Buried conduit asks for the depth before any cable is shown.
                    if (part[2] == QStringLiteral("地中保護管配線")) {
                        QVERIFY(shown(w, "ComboBox16"));
                        QVERIFY(m_services->requests.empty());
                    }
                } else {
                    click(w, part[1]);
                }
            }
            QCOMPARE(m_services->requests.size(), std::size_t(1));
            const CableRequest& request = m_services->requests.front();
            QCOMPARE(request.context.caller, Caller::BranchDialog);
            QCOMPARE(QString::fromStdString(request.context.installationMethod), method);
            QCOMPARE(QString::fromStdString(request.context.burialDepth), depth);
            QCOMPARE(request.context.electricSystem, "単相3線");
            QCOMPARE(request.designCurrent, "30");
            // The cable window stands over this one, which stays where it is.
            QCOMPARE(m_services->cableCaller, &w);
            QVERIFY(m_services->callerShown);
            QCOMPARE(shown(w, "ComboBox16"), method == QStringLiteral("地中保護管配線"));
            if (handedBack) {
                QCOMPARE(text(w, "Edit10"), QStringLiteral("CV38゜"));
                QCOMPARE(text(w, "Edit11"), QStringLiteral("190"));
                QCOMPARE(text(w, "Label56"), QStringLiteral("0.614"));
                QCOMPARE(text(w, "Label57"), QStringLiteral("0.115"));
                QCOMPARE(text(w, "Label43"), QStringLiteral("38"));
                QVERIFY(text(w, "Edit12") != QStringLiteral("Z"));
                QVERIFY(!text(w, "Label60").isEmpty());
            } else {
                QCOMPARE(text(w, "Edit10"), QString());
                QCOMPARE(text(w, "Edit12"), QStringLiteral("Z"));
            }
            // Recomputed, and shown as the model holds them.
            QCOMPARE(text(w, "Edit12"), QString::fromStdString(m_model->Edit12));
            QCOMPARE(text(w, "Label60"), QString::fromStdString(m_model->Label60));
            QCOMPARE(text(w, "Label70"), QString::fromStdString(m_model->Label70));
        });
        expectNoBoxes();
    }

    // ---- The shared supply choice -------------------------------------------------------------

    void theSupplyRadiosShowTheSharedChoice_data() {
        QTest::addColumn<int>("kindBefore");  // SupplyKind
        QTest::addColumn<QString>("percentBefore");
        QTest::addColumn<QStringList>("actions");
        QTest::addColumn<QString>("checked");
        QTest::addColumn<int>("kindAfter");
        QTest::addColumn<QString>("percentAfter");
        QTest::addColumn<int>("supplyChanges");
        QTest::newRow("a typed choice made elsewhere shows on opening")
            << int(SupplyKind::Typed) << "2.5" << QStringList{} << "RadioButton5"
            << int(SupplyKind::Typed) << "2.5" << 0;
        QTest::newRow("utility clicked: shared at once, the percentage of its band")
            << int(SupplyKind::Transformer) << "3" << QStringList{"click RadioButton2"}
            << "RadioButton2" << int(SupplyKind::Utility) << "2" << 2;
        QTest::newRow("a percentage typed, then the typed supply")
            << int(SupplyKind::Transformer) << "3"
            << QStringList{"type Edit13 2.5", "click RadioButton5"} << "RadioButton5"
            << int(SupplyKind::Typed) << "2.5" << 2;
        QTest::newRow("the supply already chosen clicked again changes nothing")
            << int(SupplyKind::Transformer) << "3" << QStringList{"click RadioButton1"}
            << "RadioButton1" << int(SupplyKind::Transformer) << "3" << 0;
    }
    void theSupplyRadiosShowTheSharedChoice() {
        QFETCH(int, kindBefore);
        QFETCH(QString, percentBefore);
        QFETCH(QStringList, actions);
        QFETCH(QString, checked);
        QFETCH(int, kindAfter);
        QFETCH(QString, percentAfter);
        QFETCH(int, supplyChanges);
        m_document->setSupply({SupplyKind(kindBefore), percentBefore.toStdString()});
        int changes = 0;
        open(kBranch, 9, [&](TForm4& w) {
            m_document->subscribe([&](Document::Change c) {
                if (c == Document::Change::Supply)
                    ++changes;
            });
            QCOMPARE(text(w, "Edit13"), QString::fromStdString(m_document->supply().percent));
            for (const QString& a : actions) {
                const QStringList part = a.split(' ');
                if (part[0] == "type")
                    type(w, part[1], part[2]);
                else
                    click(w, part[1]);
            }
            for (const char* r : {"RadioButton1", "RadioButton2", "RadioButton5"})
                QCOMPARE(child<QRadioButton>(w, r)->isChecked(), checked == QLatin1String(r));
            QCOMPARE(text(w, "Edit13"), percentAfter);
            QCOMPARE(text(w, "Label70"), QString::fromStdString(m_model->Label70));
        });
        QCOMPARE(int(m_document->supply().kind), kindAfter);
        QCOMPARE(QString::fromStdString(m_document->supply().percent), percentAfter);
        QCOMPARE(changes, supplyChanges);
        expectNoBoxes();
    }

    // ---- Closing ------------------------------------------------------------------------------

    void howTheWindowCloses_data() {
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("infos");
        QTest::newRow("登録 with a cable chosen") << "Button4" << true << QStringList{};
        QTest::newRow("登録 without a cable is refused, the window stays open")
            << "Button4 without cable" << false
            << QStringList{QStringLiteral("電線・ケーブルを選択してください")};
        QTest::newRow("キャンセル") << "Button5" << false << QStringList{};
        QTest::newRow("the close box") << "close" << false << QStringList{};
        QTest::newRow("Escape") << "Escape" << false << QStringList{};
    }
    void howTheWindowCloses() {
        QFETCH(QString, ending);
        QFETCH(bool, confirmed);
        QFETCH(QStringList, infos);
        const bool cable = ending != QStringLiteral("Button4 without cable");
        if (cable)
            m_services->cables.push_back([](const CableRequest&) { return kCv38; });
        bool stayedOpen = false;
        const bool result = open(kBranch, 9, [&](TForm4& w) {
            if (cable)
                click(w, "Button11");
            // A remark typed is kept by the model, however the window closes.
            type(w, "Edit9", QStringLiteral("北側"));
            if (ending.startsWith(QStringLiteral("Button")))
                click(w, ending.section(' ', 0, 0));
            else if (ending == QStringLiteral("close"))
                w.close();
            else
                QTest::keyClick(&w, Qt::Key_Escape);
            stayedOpen = w.isVisible();
        });
        QCOMPARE(result, confirmed);
        QCOMPARE(stayedOpen, ending == QStringLiteral("Button4 without cable"));
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_services->infos, infos);
        QCOMPARE(m_model->Edit9, "北側");
        QCOMPARE(m_model->state(), confirmed ? ScriptableDialog::State::Confirmed
                                             : ScriptableDialog::State::Cancelled);
    }

    // ---- The look -----------------------------------------------------------------------------

    void everyTextIsDrawnWholeInAJapaneseFace_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("buried");
        QTest::newRow("head row") << int(kHead) << false;
        QTest::newRow("first trunk row with the note") << int(kFirstTrunk) << false;
        QTest::newRow("trunk row") << int(kTrunk) << false;
        QTest::newRow("branch row, buried conduit") << int(kBranch) << true;
    }
    void everyTextIsDrawnWholeInAJapaneseFace() {
        QFETCH(int, row);
        QFETCH(bool, buried);
        open(row, 9, [&](TForm4& w) {
            if (buried)
                pick(w, "ComboBox14", QStringLiteral("地中保護管配線"));
            QVERIFY(w.width() >= TForm4::kWidth && w.height() >= TForm4::kHeight);
            QCOMPARE(w.minimumSize(), w.maximumSize());
            QList<QWidget*> controls = w.findChildren<QWidget*>();
            for (QComboBox* box : w.findChildren<QComboBox*>())
                controls << box->view();
            for (QWidget* c : controls) {
                QVERIFY2(drawsKanji(c->font()), qPrintable(c->objectName()));
                if (!c->isVisibleTo(&w))
                    continue;
                const QString name = c->objectName();
                if (auto* l = qobject_cast<QLabel*>(c)) {
                    const QSize hint = l->sizeHint();
                    QVERIFY2(l->width() >= hint.width() || l->wordWrap(), qPrintable(name));
                    const int needed =
                        l->wordWrap() ? l->heightForWidth(l->width()) : hint.height();
                    QVERIFY2(l->height() >= needed, qPrintable(name));
                }
                if (auto* b = qobject_cast<QAbstractButton*>(c)) {
                    QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(name));
                    QVERIFY2(b->height() >= b->sizeHint().height(), qPrintable(name));
                }
                if (auto* e = qobject_cast<QLineEdit*>(c); e && !e->text().isEmpty())
                    QVERIFY2(e->width() > QFontMetrics(e->font()).horizontalAdvance(e->text()),
                             qPrintable(name));
            }
        });
        m_services->infos.clear();
    }
};

QTEST_MAIN(KobetuTest)
#include "kobetu_test.moc"
