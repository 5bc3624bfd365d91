#include "page_painter.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <QStringList>

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "file_io.h"
#include "japanese_fonts.h"

namespace wirelark {

namespace {

constexpr int kLayoutDpi = 600;

QPen penOf(int width) {
    // Printer pens draw lines with round ends and joins.
    return QPen(QBrush(Qt::black), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

}  // namespace

QFont formFont(double points, bool underline) {
    QFont font(kSheetFamily);
    font.setPointSizeF(points);
    font.setUnderline(underline);
    return font;
}

double deviceScale(int dpi) {
    if (dpi <= 0)
        return 1.0;
    return static_cast<double>(dpi) / kLayoutDpi;
}

void paintPage(QPainter& painter, const PrintedPage& page, double scaleX, double scaleY) {
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setBrush(Qt::NoBrush);
    const auto at = [&](int x, int y) { return QPointF(x * scaleX, y * scaleY); };
    for (const PrintOp& op : page.ops) {
        if (const auto* t = std::get_if<PrintText>(&op)) {
            const QFont font = formFont(t->size, t->underline);
            painter.setFont(font);
            const double ascent = QFontMetricsF(font, painter.device()).ascent();
            const QPointF topLeft = at(t->x, t->y);
            painter.drawText(QPointF(topLeft.x(), topLeft.y() + ascent),
                             QString::fromStdString(t->text));
        } else if (const auto* l = std::get_if<PrintLine>(&op)) {
            painter.setPen(penOf(l->pen));
            painter.drawLine(at(l->x1, l->y1), at(l->x2, l->y2));
        } else if (const auto* r = std::get_if<PrintRect>(&op)) {
            painter.setPen(penOf(r->pen));
            painter.drawRect(QRectF(at(r->left, r->top), at(r->right, r->bottom)));
        }
    }
}

namespace {

// Draws every page, asking `progress` after each. A stopped print aborts the printer's job
// before the painter ends it: a driver that can drop a job then sends nothing.
Expected<PrintEnd> paintPages(QPagedPaintDevice& device, QPrinter* printer,
                              const PrintedSheet& sheet, const PageProgress& progress) {
    // Nothing drawn is no document: no blank sheet of paper.
    if (sheet.pages.empty())
        return PrintEnd::Printed;
    QPainter painter;
    if (!painter.begin(&device))
        return Error{"印刷を開始できませんでした。"};
    const double scaleX = deviceScale(device.logicalDpiX());
    const double scaleY = deviceScale(device.logicalDpiY());
    const int pages = static_cast<int>(sheet.pages.size());
    for (int i = 0; i < pages; ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return Error{"印刷の途中でページを送れませんでした。"};
        }
        paintPage(painter, sheet.pages[static_cast<std::size_t>(i)], scaleX, scaleY);
        if (progress && !progress(i + 1, pages)) {
            if (printer)
                printer->abort();
            painter.end();
            return PrintEnd::Cancelled;
        }
    }
    if (!painter.end())
        return Error{"印刷を終了できませんでした。"};
    return PrintEnd::Printed;
}

}  // namespace

Status paintSheet(QPagedPaintDevice& device, const PrintedSheet& sheet) {
    const Expected<PrintEnd> painted = paintPages(device, nullptr, sheet, {});
    if (!painted)
        return painted.error();
    return success();
}

void preparePrinter(QPrinter& printer, const QString& title) {
    printer.setFullPage(true);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setResolution(kLayoutDpi);
    printer.setDocName(title);
}

Expected<PrintEnd> printSheet(QPrinter& printer, const PrintedSheet& sheet,
                              const PageProgress& progress) {
    preparePrinter(printer, QString::fromStdString(sheet.title));
    // The printer's engine opens its file by name: it gets the temporary file's, and the
    // target keeps what it held until the last page is drawn. A layout that stopped before
    // its first page draws nothing and touches no file.
    const QString target = printer.outputFileName();
    std::optional<FileReplacement> replacement;
    if (!target.isEmpty() && !sheet.pages.empty()) {
        auto begun = FileReplacement::begin(QFile::encodeName(target).toStdString());
        if (!begun)
            return begun.error();
        replacement.emplace(std::move(*begun));
        printer.setOutputFileName(QFile::decodeName(replacement->temporaryPath().c_str()));
    }
    const Expected<PrintEnd> painted = paintPages(printer, &printer, sheet, progress);
    if (replacement)
        printer.setOutputFileName(target);
    if (!painted)
        return sheet.failure ? *sheet.failure : painted.error();
    if (*painted == PrintEnd::Cancelled)
        return PrintEnd::Cancelled;
    if (replacement) {
        if (Status committed = replacement->commit(); !committed)
            return committed.error();
    }
    if (sheet.failure)
        return *sheet.failure;
    return PrintEnd::Printed;
}

Status writePdf(const PrintedSheet& sheet, const QString& path) {
    const std::filesystem::path target(path.toStdU16String());
    const auto failed = [&](const std::string& reason) {
        return Error{"PDFファイル「" + displayPath(target) + "」を保存できませんでした（" + reason +
                     "）。"};
    };
    if (sheet.pages.empty())
        return failed("ページがありません");
    // Checked before anything is drawn: a target that cannot be replaced costs no painting.
    auto replacement = FileReplacement::begin(target, failed);
    if (!replacement)
        return replacement.error();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(kLayoutDpi);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
        writer.setTitle(QString::fromStdString(sheet.title));
        writer.setCreator(QStringLiteral("Wirelark"));
        if (Status painted = paintSheet(writer, sheet); !painted)
            return failed(painted.error().message);
    }
    const QByteArray& bytes = buffer.data();
    if (Status written = replacement->write(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        !written)
        return written;
    return replacement->commit();
}

}  // namespace wirelark
