#pragma once
// Replays the printed calculation sheet (print_layout.h) on a printer or into a PDF file.

#include <QFont>
#include <QString>

#include <functional>

#include "print_layout.h"
#include "result.h"

class QPagedPaintDevice;
class QPainter;
class QPrinter;

namespace wirelark {

// The form's face "ＭＳ 明朝" at `points`, optionally underlined. Its substitutes where the
// platform lacks the face are those of registerJapaneseFonts (japanese_fonts.h), which the
// window, the print and the batch PDF all call before the first font of the form is used.
QFont formFont(double points, bool underline = false);

// Device dots per 1/600 inch for a device of `dpi`. A real number: a printer below 600 dpi
// keeps the layout at a fraction of a dot per unit instead of collapsing onto the origin.
double deviceScale(int dpi);

// Draws one page on an active painter. (x, y) of the layout lands on device point
// (x * scaleX, y * scaleY); texts stand with their top-left corner there; pen widths are dots.
void paintPage(QPainter& painter, const PrintedPage& page, double scaleX, double scaleY);

// Draws every page of the sheet on a paged device (a printer or a PDF writer), one device
// page per page. Fails when the device cannot be opened for drawing.
Status paintSheet(QPagedPaintDevice& device, const PrintedSheet& sheet);

// Sets the printer up for the form: A4 landscape, origin at the paper's corner, 600 dpi
// where the driver allows, and the job title.
void preparePrinter(QPrinter& printer, const QString& title);

// Told after each page is drawn, with the pages drawn so far and the pages of the sheet; false
// stops the print after that page.
using PageProgress = std::function<bool(int drawn, int pages)>;

// How a print that did not fail ended.
enum class PrintEnd { Printed, Cancelled };

// Prints the sheet on a printer chosen in the print dialog. What the layout drew before a
// failure is printed too; then the failure is returned, and the window tells the user
// kPrintFailedMessage.
//
// A print that `progress` stops is aborted: the printer drops the job where its driver can,
// and a printer that writes a file (print to file, PDF) leaves no file. The file is drawn into
// a temporary file beside it and replaces it only once every page is drawn (file_io.h), so a
// stopped or failed print leaves an earlier file at that name as it was.
Expected<PrintEnd> printSheet(QPrinter& printer, const PrintedSheet& sheet,
                              const PageProgress& progress = {});

// Writes the pages as a PDF file titled with the sheet's title. The file replaces its target
// as every output does (file_io.h): a link followed, the permission bits kept, anything but a
// regular file refused, and the target touched only once the whole file is written.
Status writePdf(const PrintedSheet& sheet, const QString& path);

}  // namespace wirelark
