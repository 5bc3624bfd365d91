// The current/power calculator TForm5, driven with the mouse on its keys and controls.

#include <QTabBar>
#include <QtTest>

#include "DENRYUKEISAN.h"
#include "japanese_fonts.h"
#include "scripted_windows.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

using Script = std::function<void(QDialog&)>;

// Button52 .. Button60 are "1" .. "9", Button61 "0", Button62 ".".
void key(QDialog& w, const QString& keys) {
    for (const QChar c : keys) {
        const QByteArray name = c == QLatin1Char('.') ? QByteArray("Button62")
                                : c == QLatin1Char('0')
                                    ? QByteArray("Button61")
                                    : "Button" + QByteArray::number(51 + c.digitValue());
        click(w, name.constData());
    }
}

void tab(QDialog& w, int index) {
    auto* bar = child<QTabBar>(w, "TabControl3");
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
}

QColor pixel(QWidget& w) {
    return w.grab().toImage().pixelColor(w.width() / 2, w.height() / 2);
}

}  // namespace

Q_DECLARE_METATYPE(Script)

class DenryukeisanTest : public QObject {
    Q_OBJECT

    RecordingPrompter m_prompter;
    ScriptRunner m_runner;
    int m_beeps = 0;
    std::unique_ptr<TForm5> m_window;

    std::optional<std::string> calculate(Script script) {
        m_runner.scripts.push_back(std::move(script));
        return m_window->calculate();
    }

  private slots:
    void initTestCase() { registerJapaneseFonts(); }
    void init() {
        m_prompter.infos.clear();
        m_beeps = 0;
        m_window = std::make_unique<TForm5>(
            m_prompter, [this] { ++m_beeps; }, m_runner);
    }

    void computesWhatItsTabSays_data() {
        QTest::addColumn<Script>("entry");
        QTest::addColumn<QStringList>("display");  // title, value, unit, compute caption
        QTest::addColumn<QString>("handed");       // empty: nothing handed back
        QTest::newRow("1 kW at 100 V, 80 %, single phase: 12.50 A") << Script([](QDialog& w) {
            key(w, "1");
            click(w, "Button65");
        }) << QStringList{"電流値", "12.50", "A", "計算"} << "12.5";
        QTest::newRow("the circuit kind by its label computes again: 7.22 A three-phase")
            << Script([](QDialog& w) {
                   key(w, "1");
                   click(w, "Button65");
                   click(w, "Label142");
                   QVERIFY(child<QAbstractButton>(w, "RadioButton29")->isChecked());
               })
            << QStringList{"電流値", "7.22", "A", "計算"} << "7.21687836487032";
        QTest::newRow("10 A at 200 V, 100 %, three-phase, as KVA from the unrounded power")
            << Script([](QDialog& w) {
                   tab(w, 0);
                   key(w, "10");
                   pick(w, "ComboBox9", "200");
                   click(w, "Button63");
                   click(w, "RadioButton29");
                   click(w, "Button65");
                   click(w, "Button67");
                   QVERIFY(!shown(w, "Button67"));
               })
            << QStringList{"電力値", "3.46", "Kva", "計算"} << "";
        QTest::newRow("keyed 0 0 5 . 5 with a second point refused")
            << Script([](QDialog& w) { key(w, "005.5."); })
            << QStringList{"", "5.5", "Kw", "電力値の入力"} << "";
        QTest::newRow("a power typed in the input field") << Script([](QDialog& w) {
            click(w, "Edit7");
            type(w, "Edit7", "2");
            QCOMPARE(text(w, "Button65"), QStringLiteral("計算"));
            click(w, "Button65");
        }) << QStringList{"電流値", "25.00", "A", "計算"} << "25";
        QTest::newRow("C clears the result") << Script([](QDialog& w) {
            key(w, "3");
            click(w, "Button65");
            click(w, "Button64");
        }) << QStringList{"", "0", "Kw", "電力値の入力"}
                                             << "37.5";
    }
    void computesWhatItsTabSays() {
        QFETCH(Script, entry);
        QFETCH(QStringList, display);
        QFETCH(QString, handed);
        QStringList got;
        const auto back = calculate([&](QDialog& w) {
            entry(w);
            got = QStringList{shown(w, "Label144") ? text(w, "Label144") : QString(),
                              text(w, "Label145"), text(w, "Label146"), text(w, "Button65")};
            click(w, "Button1");
        });
        QCOMPARE(got, display);
        QCOMPARE(QString::fromStdString(back.value_or("")), handed);
        QVERIFY(m_prompter.infos.isEmpty());
    }

    void refusalsBeepOrSayWhy() {
        calculate([this](QDialog& w) {
            key(w, "1..");
            QCOMPARE(m_beeps, 1);
            QCOMPARE(text(w, "Label145"), QStringLiteral("1."));
            click(w, "Edit7");
            type(w, "Edit7", "");
            click(w, "Button65");  // a result state without an input
            QCOMPARE(m_beeps, 2);
            click(w, "Button64");
            key(w, "5");
            type(w, "ComboBox9", "0");
            click(w, "Button65");
            QCOMPARE(m_prompter.infos,
                     QStringList{QStringLiteral("「電圧」の「0」は正しい数値ではありません。")});
            QCOMPARE(text(w, "Label145"), QStringLiteral("5"));
        });
        m_prompter.infos.clear();
    }

    void everyOpeningStartsOnTheCurrentTabAndKeepsTheLastCurrent() {
        calculate([](QDialog& w) {
            key(w, "2");
            pick(w, "ComboBox9", "200");
            click(w, "Button65");
            tab(w, 0);
        });
        // Closed without computing: nothing this time, the voltage and the last current kept.
        const auto second = calculate([](QDialog& w) {
            QCOMPARE(child<QTabBar>(w, "TabControl3")->currentIndex(), 1);
            QCOMPARE(text(w, "Label137"), QStringLiteral(" 電  力"));
            QCOMPARE(text(w, "Label145"), QStringLiteral("0"));
            QCOMPARE(text(w, "ComboBox9"), QStringLiteral("200"));
            w.close();
        });
        QVERIFY(!second.has_value());
        QCOMPARE(m_window->model().Label1, "12.5");
    }

    void theMarkerAndTheTitleTakeTheColourOfTheResult() {
        calculate([](QDialog& w) {
            const QColor green(0, 255, 64);
            const QColor cyan(128, 255, 255);
            key(w, "1");
            click(w, "Button65");
            QCOMPARE(pixel(*child(w, "Marker1")), green);
            QVERIFY(pixel(*child(w, "Marker0")) != green);
            QCOMPARE(child(w, "Label144")->palette().color(QPalette::Window), green);
            tab(w, 0);
            key(w, "1");
            click(w, "Button65");
            QCOMPARE(pixel(*child(w, "Marker0")), cyan);
            QCOMPARE(child(w, "Label144")->palette().color(QPalette::Window), cyan);
            QVERIFY(drawsKanji(w.font()));
            QCOMPARE(w.windowTitle(), QStringLiteral("電流計算フォーム"));
            QCOMPARE(text(w, "TitleLabel"), QStringLiteral("電力と電流の計算"));
            const QStringList clipped = clippedTexts(w);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
        });
    }
};

QTEST_MAIN(DenryukeisanTest)
#include "DENRYUKEISAN_test.moc"
