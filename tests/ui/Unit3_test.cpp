// The numeric keypad TForm3, keyed with the mouse on its buttons.

#include <QLineEdit>
#include <QPushButton>
#include <QWindow>
#include <QtTest>

#include "Unit3.h"
#include "japanese_fonts.h"
#include "scripted_windows.h"

using namespace wirelark;
using namespace wirelark::test;

namespace {

// The key of each character: the digits, "." and "C".
const char* keyOf(QChar c) {
    static const char* const digits[] = {"Button10", "Button1", "Button2", "Button3", "Button4",
                                         "Button5",  "Button6", "Button7", "Button8", "Button9"};
    if (c.isDigit())
        return digits[c.digitValue()];
    return c == QLatin1Char('.') ? "Button11" : "Button13";
}

}  // namespace

class Unit3Test : public QObject {
    Q_OBJECT

    ScriptRunner m_runner;

    // One entry keyed on the buttons, then closed with `closer` (登録 by default).
    std::optional<std::string> enter(TForm3& keypad, const QString& keys,
                                     const char* closer = "Button14") {
        m_runner.scripts.push_back([=](QDialog& w) {
            QVERIFY(!child<QLineEdit>(w, "Edit1")->hasFocus());
            for (const QChar c : keys)
                click(w, keyOf(c));
            if (closer != nullptr)
                click(w, closer);
        });
        return keypad.enter();
    }

  private slots:
    void initTestCase() { registerJapaneseFonts(); }

    void theKeysBuildTheNumber_data() {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("handed");
        QTest::newRow("1 . 5, a second point ignored") << "1.5."
                                                       << "1.5";
        QTest::newRow("a point first reads 0.") << "."
                                                << "0.";
        QTest::newRow("zeros are kept as keyed") << "00"
                                                 << "00";
        QTest::newRow("a digit after a lone 0 is a decimal") << "05"
                                                             << "0.5";
        QTest::newRow("0 7 . : the point was already given") << "07."
                                                             << "0.7";
        QTest::newRow("C starts again") << "12C3"
                                        << "3";
        QTest::newRow("nothing keyed hands back an empty text") << ""
                                                                << "";
    }
    void theKeysBuildTheNumber() {
        QFETCH(QString, keys);
        QFETCH(QString, handed);
        TForm3 keypad(m_runner);
        const auto got = enter(keypad, keys);
        QVERIFY(got.has_value());
        QCOMPARE(QString::fromStdString(*got), handed);
        QVERIFY(!keypad.isVisible());
    }

    void cancellingHandsBackNothingAndTheNextEntryStartsAfresh_data() {
        QTest::addColumn<QString>("closer");
        QTest::newRow("キャンセル") << "Button23";
        QTest::newRow("the close box") << "";
        QTest::newRow("登録") << "Button14";
    }
    void cancellingHandsBackNothingAndTheNextEntryStartsAfresh() {
        QFETCH(QString, closer);
        TForm3 keypad(m_runner);
        const QByteArray name = closer.toLatin1();
        const auto first = enter(keypad, "1.", closer.isEmpty() ? nullptr : name.constData());
        QCOMPARE(first.has_value(), closer == QLatin1String("Button14"));
        // The display is empty again and takes a decimal point.
        m_runner.scripts.push_back([](QDialog& w) { QCOMPARE(text(w, "Edit1"), QString()); });
        QVERIFY(!keypad.enter().has_value());
        QCOMPARE(enter(keypad, ".5"), std::optional<std::string>("0.5"));
    }

    void theDisplayIsWrittenByTheKeysOnly() {
        TForm3 keypad(m_runner);
        m_runner.scripts.push_back([](QDialog& w) {
            auto* display = child<QLineEdit>(w, "Edit1");
            QVERIFY(display->isReadOnly());
            click(w, "Button4");
            // Letters do nothing; the keyboard's digits and point are the keypad's keys.
            QTest::keyClicks(&w, QStringLiteral("ab2.9"));
            QCOMPARE(display->text(), QStringLiteral("42.9"));
            QTest::mouseDClick(display, Qt::LeftButton);
            QCOMPARE(display->text(), QString());
            QTest::keyClick(&w, Qt::Key_3);
            QTest::keyClick(&w, Qt::Key_Return);
        });
        QCOMPARE(keypad.enter(), std::optional<std::string>("3"));
    }

    void theKeypadStaysAboveItsCallerAndFitsItsKeys() {
        QWidget caller;
        caller.setGeometry(200, 200, 500, 400);
        caller.show();
        TForm3 keypad(m_runner);
        m_runner.scripts.push_back([&](QDialog& w) {
            QCOMPARE(w.windowHandle()->transientParent(), caller.windowHandle());
            QVERIFY(drawsKanji(w.font()));
            const QStringList clipped = clippedTexts(w);
            QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join('\n')));
        });
        QVERIFY(!keypad.enter(&caller).has_value());
        QCOMPARE(keypad.windowTitle(), QStringLiteral("数値フォーム"));
    }
};

QTEST_MAIN(Unit3Test)
#include "Unit3_test.moc"
