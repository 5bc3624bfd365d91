// The export chooser TForm6: its captions and the export each button chooses.

#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "Unit6.h"

using namespace wirelark;

class Unit6Test : public QObject {
    Q_OBJECT

  private:
    static QPushButton* button(TForm6& form, const char* name) {
        auto* b = form.findChild<QPushButton*>(QString::fromLatin1(name));
        if (!b)
            qFatal("no button %s", name);
        return b;
    }

    // Opens the chooser modally and clicks `button` once it is shown.
    static ExportChoice chooseBy(TForm6& form, QPushButton* button) {
        QTimer::singleShot(0, button, [button] { button->click(); });
        return form.choose();
    }

  private slots:
    void captions() {
        TForm6 form;
        QCOMPARE(form.windowTitle(), QStringLiteral("エクセル変換"));
        QCOMPARE(button(form, "Button12")->text(),
                 QStringLiteral("エクセル変換  (　１項目　/　シート　)"));
        QCOMPARE(button(form, "Button15")->text(),
                 QStringLiteral("エクセル変換　(１８行毎に自動調整)"));
        QCOMPARE(button(form, "Button1")->text(), QStringLiteral("キャンセル"));
    }

    void eachButtonChoosesItsExportAndClosesTheChooser() {
        TForm6 form;
        QCOMPARE(chooseBy(form, button(form, "Button12")), ExportChoice::PerFeeder);
        QVERIFY(!form.isVisible());
        QCOMPARE(form.result(), int(QDialog::Accepted));
        QCOMPARE(chooseBy(form, button(form, "Button15")), ExportChoice::EighteenRows);
        QVERIFY(!form.isVisible());
        QCOMPARE(chooseBy(form, button(form, "Button1")), ExportChoice::None);
        QCOMPARE(form.result(), int(QDialog::Rejected));
    }

    void closingForgetsTheEarlierChoice() {
        TForm6 form;
        QCOMPARE(chooseBy(form, button(form, "Button15")), ExportChoice::EighteenRows);
        QTimer::singleShot(0, &form, [&form] { form.reject(); });
        QCOMPARE(form.choose(), ExportChoice::None);
    }
};

QTEST_MAIN(Unit6Test)
#include "Unit6_test.moc"
