// The printed sheet replayed on real Qt devices: the face, the scale, where texts and rules
// land, and the PDF file.

#include <QFile>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include "japanese_fonts.h"
#include "page_painter.h"
#include "print_layout.h"

using namespace wirelark;

class PagePainterTest : public QObject {
    Q_OBJECT

  private:
    // Bounding box of the dark pixels of an image.
    static QRect inkOf(const QImage& image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 128)
                    box |= QRect(x, y, 1, 1);
        return box;
    }

    static QImage blank(int width, int height) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        return image;
    }

  private slots:
    void initTestCase() { registerJapaneseFonts(); }

    void theFormsFaceDrawsKanji() {
        const QFont font = formFont(8);
        const QString family = QFontInfo(font).family();
        QVERIFY2(
            family.contains(QStringLiteral("Mincho")) || family.contains(QStringLiteral("明朝")),
            qPrintable(family));
        const QFontMetrics metrics(font);
        // 電 (electric), 幹 (feeder), Ω of the impedance unit.
        QVERIFY(metrics.inFont(QChar(0x96FB)));
        QVERIFY(metrics.inFont(QChar(0x5E79)));
        QVERIFY(metrics.inFont(QChar(0x03A9)));
        // Numbers are aligned by blanks, so a blank is as wide as a digit.
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char(' ')),
                 metrics.horizontalAdvance(QLatin1Char('8')));
    }

    void registeringTwiceKeepsOneList() {
        const int before = QFont::substitutes(QStringLiteral("ＭＳ 明朝")).size();
        registerJapaneseFonts();
        QCOMPARE(QFont::substitutes(QStringLiteral("ＭＳ 明朝")).size(), before);
    }

    void scaleIsTheRealQuotientOfTheResolution() {
        QCOMPARE(deviceScale(600), 1.0);
        QCOMPARE(deviceScale(1200), 2.0);
        QCOMPARE(deviceScale(300), 0.5);  // an integer quotient would put everything at 0
        QCOMPARE(deviceScale(360), 0.6);
        QCOMPARE(deviceScale(0), 1.0);
    }

    void rulesLandAtTheirScaledPositions() {
        QImage image = blank(700, 500);
        PrintedPage page;
        page.ops.emplace_back(std::in_place_type<PrintRect>, 560, 450, 6320, 4300, 10);
        page.ops.emplace_back(std::in_place_type<PrintLine>, 1000, 700, 1000, 3854, 2);
        {
            QPainter painter(&image);
            paintPage(painter, page, 0.1, 0.1);
        }
        // The frame's corners at a tenth of their units; its inside stays white.
        QCOMPARE(qGray(image.pixel(56, 200)), 0);
        QCOMPARE(qGray(image.pixel(300, 45)), 0);
        QCOMPARE(qGray(image.pixel(632, 300)), 0);
        QCOMPARE(qGray(image.pixel(300, 430)), 0);
        QCOMPARE(qGray(image.pixel(300, 200)), 255);
        QCOMPARE(qGray(image.pixel(100, 200)), 0);   // the vertical rule
        QCOMPARE(qGray(image.pixel(100, 60)), 255);  // which starts at y 70
    }

    void textsStandWithTheirTopLeftCornerAtThePosition() {
        QImage image = blank(400, 200);
        image.setDotsPerMeterX(23622);  // 600 dpi
        image.setDotsPerMeterY(23622);
        PrintedPage page;
        page.ops.emplace_back(std::in_place_type<PrintText>, 100, 50, 8, false, "電路");
        {
            QPainter painter(&image);
            paintPage(painter, page, 1.0, 1.0);
        }
        const QRect ink = inkOf(image);
        QVERIFY(!ink.isEmpty());
        // 8 points at 600 dpi are 67 dots; the ink lies within that line, right of x.
        QVERIFY2(ink.left() >= 100 && ink.left() < 110, qPrintable(QString::number(ink.left())));
        QVERIFY2(ink.top() >= 50 && ink.top() < 70, qPrintable(QString::number(ink.top())));
        QVERIFY2(ink.bottom() <= 50 + 67 + 5, qPrintable(QString::number(ink.bottom())));
        QVERIFY(ink.width() > 100);  // two full-width characters of about 67 dots each
    }

    void aPdfHoldsOnePagePerPage() {
        Sheet sheet;
        for (int r = 0; r < 19; ++r) {
            sheet.setCell(r, col::name, "L" + std::to_string(r + 1));
            sheet.setCell(r, col::glyph, std::string(glyph::single));
        }
        sheet.heading.buildingName = "試験棟";
        const PrintedSheet printed = layoutPrintedSheet(sheet);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("sheet.pdf"));
        const Status written = writePdf(printed, path);
        QVERIFY2(written.ok(), written.ok() ? "" : written.error().message.c_str());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        const auto pages = QString::fromLatin1(bytes).count(
            QRegularExpression(QStringLiteral("/Type\\s*/Page[^s]")));
        QCOMPARE(pages, 2);
        // No temporary file is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void aPdfThatCannotBeWrittenLeavesNothing() {
        QTemporaryDir dir;
        const PrintedSheet printed = layoutPrintedSheet(Sheet{});
        const Status written = writePdf(printed, dir.filePath(QStringLiteral("missing/sheet.pdf")));
        QVERIFY(!written.ok());
        QVERIFY(
            QString::fromStdString(written.error().message).contains(QStringLiteral("sheet.pdf")));
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("missing/sheet.pdf"))));
    }

    void anExistingFileStaysWhenThereIsNothingToWrite() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("old.pdf"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("previous");
        }
        PrintedSheet nothing;
        nothing.failure = Error{"1 行目「設計負荷電流」の「x」は数値ではありません。"};
        QVERIFY(!writePdf(nothing, path).ok());
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("previous"));
    }
};

QTEST_MAIN(PagePainterTest)
#include "page_painter_test.moc"
