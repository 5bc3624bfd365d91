// The feeder input window TForm2, driven by its controls' names as the engineer drives it; the
// keypad, the calculator and the cable selection answered by scripts, or by the real windows.

#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QtTest>

#include "DENRYUKEISAN.h"
#include "Unit3.h"
#include "desktop_input_services.h"
#include "document.h"
#include "feeder_row_edit.h"
#include "japanese_fonts.h"
#include "keitou.h"
#include "scripted_windows.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

using Script = std::function<void(QDialog&)>;
using Setup = std::function<void(Document&)>;

const CableChoice kCv38{"CV-T38゜", "0.614", "0.115", "150", "38"};

// An existing single feeder in row 0: its cells as the sheet holds them, columns 0 to 20.
Setup singleFeederRow(const char* mainDevice) {
    return [mainDevice](Document& d) {
        const char* const cells[] = {
            "1",  "L-1",  "単相3線",  "100/200",      "100", "──▶",   "30",   "", mainDevice,
            "60", "0.95", "CV-T38゜", "気中暗渠配線", "150", "0.619", "1.11", "", "3",
            "",   "",     "38"};
        d.edit("row", [&](Sheet& s) {
            for (int c = 0; c <= col::sizeKey; ++c)
                s.setCell(0, c, cells[c]);
        });
    };
}

}  // namespace

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(Setup)

class KeitouTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Document> m_document;
    std::unique_ptr<CableSelection> m_cables;
    std::unique_ptr<FeederDialog> m_model;
    std::unique_ptr<ScriptedServices> m_services;
    std::unique_ptr<ScriptRunner> m_runner;
    std::unique_ptr<TForm2> m_window;

    // Double-click on row 0 of the sheet, column `column`: the window filled from the row and
    // run with `script`. True when it closed confirmed.
    bool open(const Script& script, int column = 1) {
        prepareFeederDialog(*m_model, *m_document, 0, column, *m_window);
        m_runner->scripts.push_back(script);
        return m_window->run();
    }

  private slots:
    void initTestCase() { registerJapaneseFonts(); }

    void init() {
        m_document = std::make_unique<Document>();
        m_cables = std::make_unique<CableSelection>();
        m_model = std::make_unique<FeederDialog>(*m_document, *m_cables);
        m_services = std::make_unique<ScriptedServices>();
        m_runner = std::make_unique<ScriptRunner>();
        m_window = std::make_unique<TForm2>(*m_model, *m_services, *m_runner);
    }

    void cleanup() {
        QVERIFY2(m_services->keypads.empty() && m_services->calculators.empty() &&
                     m_services->cables.empty() && m_runner->scripts.empty(),
                 "an answer was left over");
        m_window.reset();
    }

    void theWindowShowsWhatTheModelHolds_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<Script>("actions");
        QTest::addColumn<QStringList>("visible");
        QTest::addColumn<QStringList>("hidden");
        QTest::addColumn<QStringList>("disabled");
        QTest::addColumn<QStringList>("checked");
        QTest::addColumn<QStringList>("texts");  // control=text
        const Setup none = [](Document&) {};
        QTest::newRow("a new row: a single feeder without a main device")
            << none << Script([](QDialog&) {})
            << QStringList{"Panel1", "NoDevicePicture", "Button11"}
            << QStringList{"Panel6", "ComboBox11", "ComboBox11Caption", "BurialDepthBox", "Edit1"}
            << QStringList{} << QStringList{"Button6", "RadioButton1"}
            << QStringList{"Button3=ﾌﾞﾚｰｶｰ表示", "Edit1=1", "Edit2=L1"};
        QTest::newRow("ﾌﾞﾚｰｶｰ表示 shows the main device at the feeder's breaker")
            << none << Script([](QDialog& w) { click(w, "Button3"); })
            << QStringList{"ComboBox11", "ComboBox11Caption", "ComboBox11Unit"}
            << QStringList{"NoDevicePicture"} << QStringList{} << QStringList{}
            << QStringList{"Button3=無し", "ComboBox11=50"};
        QTest::newRow("無し hides it again and forgets its rating")
            << none << Script([](QDialog& w) {
                   click(w, "Button3");
                   click(w, "Button3");
               })
            << QStringList{"NoDevicePicture"} << QStringList{"ComboBox11"} << QStringList{}
            << QStringList{} << QStringList{"Button3=ﾌﾞﾚｰｶｰ表示", "ComboBox11="};
        QTest::newRow("住宅幹線: the trunk current is computed, one system")
            << none << Script([](QDialog& w) { click(w, "Button1"); })
            << QStringList{"Panel6", "RuleDiagram", "RuleLength3", "SystemPicture1"}
            << QStringList{"Panel1", "ComboBox17", "SystemPicture2"} << QStringList{"Edit3"}
            << QStringList{"Button1", "RadioButton3"} << QStringList{};
        QTest::newRow("2系統: 5 + 4 dwellings at 50 A")
            << none << Script([](QDialog& w) {
                   click(w, "Button1");
                   click(w, "RadioButton4");
               })
            << QStringList{"ComboBox17", "ComboBox17Caption", "SystemPicture2"} << QStringList{}
            << QStringList{} << QStringList{"RadioButton4"}
            << QStringList{"Edit3=329", "ComboBox9=350"};
        QTest::newRow("an existing single feeder: 住宅幹線 disabled, a blank main device")
            << singleFeederRow(" ") << Script([](QDialog&) {}) << QStringList{"NoDevicePicture"}
            << QStringList{"ComboBox11"} << QStringList{"Button1"} << QStringList{"Button6"}
            << QStringList{"ComboBox4=100", "Edit10=0.619", "Label56=R", "Label57=X"};
        QTest::newRow("an existing single feeder with its main device")
            << singleFeederRow("75") << Script([](QDialog&) {}) << QStringList{"ComboBox11"}
            << QStringList{"NoDevicePicture"} << QStringList{"Button1"} << QStringList{}
            << QStringList{"ComboBox11=75", "Button3=無し"};
        QTest::newRow("地中保護管配線 asks for the depth before any cable table")
            << none << Script([](QDialog& w) { pick(w, "ComboBox14", "地中保護管配線"); })
            << QStringList{"BurialDepthBox", "ComboBox16"} << QStringList{} << QStringList{}
            << QStringList{} << QStringList{"ComboBox16=H=600"};
        QTest::newRow("a supply chosen in the other input window stays chosen")
            << Setup([](Document& d) { d.setSupplyKind(SupplyKind::Utility); })
            << Script([](QDialog&) {}) << QStringList{} << QStringList{} << QStringList{}
            << QStringList{"RadioButton2"} << QStringList{};
    }
    void theWindowShowsWhatTheModelHolds() {
        QFETCH(Setup, setup);
        QFETCH(Script, actions);
        QFETCH(QStringList, visible);
        QFETCH(QStringList, hidden);
        QFETCH(QStringList, disabled);
        QFETCH(QStringList, checked);
        QFETCH(QStringList, texts);
        setup(*m_document);
        open([&](QDialog& w) {
            actions(w);
            for (const QString& name : visible)
                QVERIFY2(shown(w, qPrintable(name)), qPrintable(name));
            for (const QString& name : hidden)
                QVERIFY2(!shown(w, qPrintable(name)), qPrintable(name));
            for (const QString& name : disabled)
                QVERIFY2(!child(w, qPrintable(name))->isEnabled(), qPrintable(name));
            for (const QString& name : checked)
                QVERIFY2(child<QAbstractButton>(w, qPrintable(name))->isChecked(),
                         qPrintable(name));
            for (const QString& pair : texts) {
                const QString name = pair.section('=', 0, 0);
                QCOMPARE(text(w, qPrintable(name)), pair.section('=', 1));
            }
        });
        QVERIFY(m_services->boxes.infos.isEmpty());
    }

    void aDepthPickOpensTheCableTableAndTheCableFillsTheFields() {
        m_services->cables = {kCv38, std::nullopt};
        open([&](QDialog& w) {
            pick(w, "ComboBox14", "地中保護管配線");
            QVERIFY(m_services->cableRequests.empty());
            // The cable table button stands below the depth it waits for.
            QVERIFY(child(w, "Button11")->mapTo(&w, QPoint()).y() >
                    child(w, "ComboBox16")->mapTo(&w, QPoint()).y());
            // "H=600" is already shown: picking it again is what opens the table.
            pick(w, "ComboBox16", "H=600");
            QCOMPARE(m_services->cableRequests.size(), 1u);
            const CallerContext& c = m_services->cableRequests[0].context;
            QCOMPARE(c.installationMethod, "地中保護管配線");
            QCOMPARE(c.burialDepth, "H=600");
            QCOMPARE(c.electricSystem, "単相3線");
            const QStringList filled = {text(w, "Edit8"),   text(w, "Edit9"),   text(w, "Label56"),
                                        text(w, "Label57"), text(w, "Label43"), text(w, "Edit10"),
                                        text(w, "Label60")};
            QCOMPARE(filled,
                     (QStringList{"CV-T38゜", "150", "0.614", "0.115", "38", "0.619", "1.55"}));
            // Closed without a pick: the cable stays.
            pick(w, "ComboBox16", "H=600");
            QCOMPARE(m_services->cableRequests.size(), 2u);
            QCOMPARE(text(w, "Edit8"), QStringLiteral("CV-T38゜"));
        });
    }

    void gesturesOnTheFields_data() {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<Script>("gesture");
        QTest::addColumn<QStringList>("keyed");  // the keypad's answers; "cancel" for キャンセル
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        const Setup none = [](Document&) {};
        QTest::newRow("a press on 設計負荷電流 takes the keyed current")
            << none << Script([](QDialog& w) { click(w, "Edit5"); }) << QStringList{"75"} << "Edit5"
            << "75";
        QTest::newRow("数値入力 of こう長 takes the keyed length")
            << none << Script([](QDialog& w) { click(w, "Button15"); }) << QStringList{"12.5"}
            << "ComboBox5"
            << "12.5";
        QTest::newRow("数値入力 of こう長(分岐間) in the residential mode")
            << none << Script([](QDialog& w) {
                   click(w, "Button1");
                   click(w, "Button17");
               })
            << QStringList{"4"} << "ComboBox6"
            << "4";
        QTest::newRow("a cancelled keypad leaves the current as it was")
            << none << Script([](QDialog& w) { click(w, "Edit5"); }) << QStringList{"cancel"}
            << "Edit5"
            << "50";
        QTest::newRow("the computed trunk current opens no keypad")
            << none << Script([](QDialog& w) {
                   click(w, "Button1");
                   click(w, "Edit3");
               })
            << QStringList{} << "Edit3"
            << "250";
        QTest::newRow("a double-click empties the name")
            << none << Script([](QDialog& w) { doubleClick(w, "Edit2"); }) << QStringList{}
            << "Edit2"
            << "";
        QTest::newRow("a double-click empties the breaker")
            << none << Script([](QDialog& w) { doubleClick(w, "ComboBox4"); }) << QStringList{}
            << "ComboBox4"
            << "";
        QTest::newRow("emptying the impedance empties the cable's current")
            << singleFeederRow("75") << Script([](QDialog& w) { doubleClick(w, "Edit10"); })
            << QStringList{} << "Edit9"
            << "";
        QTest::newRow("the base voltage is not emptied by a double-click")
            << none << Script([](QDialog& w) { doubleClick(w, "Edit6"); }) << QStringList{}
            << "Edit6"
            << "100";
        QTest::newRow("a voltage typed and left sets the base voltage")
            << none << Script([](QDialog& w) { type(w, "ComboBox3", "230/400"); }) << QStringList{}
            << "Edit6"
            << "230";
        QTest::newRow("a residential voltage typed and left sets it too")
            << none << Script([](QDialog& w) {
                   click(w, "Button1");
                   type(w, "ComboBox8", "230/400");
               })
            << QStringList{} << "Edit6"
            << "230";
        QTest::newRow("a power factor typed without the cable's R and X asks for the cable")
            << singleFeederRow("75") << Script([](QDialog& w) { type(w, "Edit4", "0.8"); })
            << QStringList{} << "Edit10"
            << "Z";
        QTest::newRow("a load type picked sets its power factor")
            << none << Script([](QDialog& w) { pick(w, "ComboBox13", "電動機(ｺﾝﾃﾞﾝｻ無)"); })
            << QStringList{} << "Edit4"
            << "0.8";
    }
    void gesturesOnTheFields() {
        QFETCH(Setup, setup);
        QFETCH(Script, gesture);
        QFETCH(QStringList, keyed);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        setup(*m_document);
        for (const QString& k : keyed)
            m_services->keypads.push_back(k == QLatin1String("cancel")
                                              ? std::nullopt
                                              : std::optional<std::string>(k.toStdString()));
        QString got;
        open([&](QDialog& w) {
            gesture(w);
            got = text(w, qPrintable(field));
        });
        QCOMPARE(got, expected);
    }

    void confirmingAndClosing_data() {
        QTest::addColumn<bool>("cable");
        QTest::addColumn<Script>("close");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QStringList>("infos");
        QTest::newRow("登録 without a cable is refused, the window stays")
            << false << Script([](QDialog& w) {
                   click(w, "Button4");
                   QVERIFY(w.isVisible());
               })
            << false << QStringList{"電線・ケーブルを選択してください"};
        QTest::newRow("登録 with the checks passed closes confirmed")
            << true << Script([](QDialog& w) { click(w, "Button4"); }) << true << QStringList{};
        QTest::newRow("キャンセル")
            << true << Script([](QDialog& w) { click(w, "Button5"); }) << false << QStringList{};
        QTest::newRow("the close box counts as キャンセル")
            << true << Script([](QDialog& w) { w.close(); }) << false << QStringList{};
        QTest::newRow("Escape counts as キャンセル")
            << true << Script([](QDialog& w) { QTest::keyClick(&w, Qt::Key_Escape); }) << false
            << QStringList{};
    }
    void confirmingAndClosing() {
        QFETCH(bool, cable);
        QFETCH(Script, close);
        QFETCH(bool, confirmed);
        QFETCH(QStringList, infos);
        if (cable)
            m_services->cables.push_back(kCv38);
        const bool result = open([&](QDialog& w) {
            if (cable)
                click(w, "Button11");
            close(w);
        });
        QCOMPARE(result, confirmed);
        QVERIFY(!m_window->isVisible());
        QCOMPARE(m_document->patan, confirmed ? 1 : 0);
        QCOMPARE(m_document->frequencyLocked(), confirmed);
        QCOMPARE(m_services->boxes.infos, infos);
    }

    // The real calculator, keypad and cable selection, opened through the desktop's services.
    void theCalculatorKeypadAndCableSelectionHandBackThroughTheirWindows() {
        DesktopInputServices desktop(*m_cables, m_services->boxes, *m_runner);
        TForm2 window(*m_model, desktop, *m_runner);
        prepareFeederDialog(*m_model, *m_document, 0, 1, window);
        QString shown;
        m_runner->scripts = {
            [&](QDialog& w) {
                click(w, "Button2");
                QCOMPARE(text(w, "Edit5"), QStringLiteral("12"));  // 12.5 A to even
                QCOMPARE(text(w, "ComboBox11"), QStringLiteral("20"));
                QCOMPARE(text(w, "Label40"), QStringLiteral("計算電流値:12 A"));
                click(w, "Edit5");
                QCOMPARE(text(w, "Edit5"), QStringLiteral("1.5"));
                click(w, "Button11");
                QVERIFY(!text(w, "Edit8").isEmpty());
                QVERIFY(text(w, "Label56") != QStringLiteral("R"));
                QVERIFY(text(w, "Edit10") != QStringLiteral("Z"));
            },
            [&](QDialog& calculator) {  // 1 kW at 100 V, 80 %, single phase
                QCOMPARE(text(calculator, "ComboBox9"), QStringLiteral("100"));
                QCOMPARE(text(calculator, "ComboBox10"), QStringLiteral("80"));
                click(calculator, "Button52");
                click(calculator, "Button65");
                shown = text(calculator, "Label145");
                click(calculator, "Button1");
            },
            [](QDialog& keypad) {
                for (const char* key : {"Button1", "Button11", "Button5"})
                    click(keypad, key);
                click(keypad, "Button14");
            },
            [](QDialog& cables) {  // the first size of the group shown
                auto* grid = child<QTableView>(cables, "StringGrid7");
                const QPoint p = grid->visualRect(grid->model()->index(0, 0)).center();
                QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, p);
                QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, p);
            },
        };
        QVERIFY(!window.run());
        QCOMPARE(shown, QStringLiteral("12.50"));
        QCOMPARE(m_runner->opened, (QStringList{"TForm2", "TForm5", "TForm3", "Tdensen"}));
    }

    void theActivationRunsOncePerOpening() {
        m_services->calculators = {std::optional<std::string>("27.3")};
        open([&](QDialog& w) {
            click(w, "Button2");
            QCOMPARE(text(w, "Label40"), QStringLiteral("計算電流値:27 A"));
            // The focus going to another window and coming back is no new opening.
            QEvent deactivate(QEvent::WindowDeactivate);
            QEvent activate(QEvent::WindowActivate);
            QApplication::sendEvent(&w, &deactivate);
            QApplication::sendEvent(&w, &activate);
            QCOMPARE(text(w, "Label40"), QStringLiteral("計算電流値:27 A"));
            QCOMPARE(text(w, "Edit5"), QStringLiteral("27"));
        });
        open([](QDialog& w) { QCOMPARE(text(w, "Label40"), QString()); });
    }

    void theTextsFitInTheJapaneseFaces_data() {
        QTest::addColumn<Script>("state");
        QTest::newRow("single feeder with its main device") << Script([](QDialog& w) {
            click(w, "Button3");
            pick(w, "ComboBox14", "地中保護管配線");
        });
        QTest::newRow("single feeder without a main device") << Script([](QDialog&) {});
        QTest::newRow("residential feeder of two systems") << Script([](QDialog& w) {
            click(w, "Button1");
            click(w, "RadioButton4");
        });
    }
    void theTextsFitInTheJapaneseFaces() {
        QFETCH(Script, state);
        open([&](QDialog& w) {
            state(w);
            QVERIFY(drawsKanji(w.font()));
            QCOMPARE(w.windowTitle(), QStringLiteral("データー入力フォーム"));
            QCOMPARE(text(w, "TitleLabel"), QStringLiteral("系統パターン登録画面"));
            QVERIFY(w.width() >= TForm2::kWidth && w.height() >= TForm2::kHeight);
            // Centred on its owner, but never off the screen: larger than the screen, its
            // top-left corner (and the caption) stays in reach.
            QVERIFY(w.screen()->availableGeometry().contains(w.frameGeometry().topLeft()));
            const QStringList clipped = clippedTexts(w);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
        });
    }
};

QTEST_MAIN(KeitouTest)
#include "keitou_test.moc"
