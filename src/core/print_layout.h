#pragma once
// The printed calculation sheet 電路計算書（幹線用） as plain drawing operations: A4 landscape,
// 18 row slots a page, the ruled table of the official form with its heading, column titles
// and the voltage-drop formula in the footer. The painter replays the operations on a printer
// or a PDF file; the layout itself knows nothing of devices.

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "result.h"
#include "sheet.h"

namespace wirelark {

// Positions are in 1/600 inch from the top-left corner of the paper, x to the right and y
// downward. Font sizes are in points. Pen widths are in printer dots.

// Text whose top-left corner is at (x, y), in the form's Mincho face.
struct PrintText {
    int x = 0;
    int y = 0;
    int size = 8;
    bool underline = false;
    std::string text;
    bool operator==(const PrintText&) const = default;
};

struct PrintLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    int pen = 1;
    bool operator==(const PrintLine&) const = default;
};

// The outline of a rectangle; its inside is not filled, so the texts under it stay visible.
struct PrintRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int pen = 1;
    bool operator==(const PrintRect&) const = default;
};

using PrintOp = std::variant<PrintText, PrintLine, PrintRect>;

struct PrintedPage {
    std::vector<PrintOp> ops;
};

struct PrintedSheet {
    // Title of the print job: the building name.
    std::string title;
    // The pages in order. When `failure` is set they hold what was drawn before it, the
    // unfinished page included, as the printer received it.
    std::vector<PrintedPage> pages;
    std::optional<Error> failure;
};

// What the user is told when the sheet could not be printed completely.
inline constexpr std::string_view kPrintFailedMessage = "情報不足で印刷出来ませんでした。";

// Lays out the rows from 0 to the last printed row (Sheet::lastPrintedRow), 18 a page, with
// the heading of the sheet and its settings (frequency, page numbers). A cell that should
// print as a number and holds other text stops the layout with an error naming its row and
// column.
PrintedSheet layoutPrintedSheet(const Sheet& sheet);

// What the print button prints: the export page plan is made first (it rewrites the working
// columns 25 and 30 of the sheet, which the print itself does not use), then the sheet is laid
// out. A plan that fails (a feeder's row count that is not a number) prints nothing.
PrintedSheet layoutPrintJob(Sheet& sheet);

// A number in a printed column: the fixed form with `decimals` decimals in a field of `width`
// characters; when every printed decimal is zero, the whole number with "," grouping in the
// same field instead (20 -> "      20", 0.8 -> "    0.80", 1600 -> "   1,600").
std::string printedNumber(double value, int width, int decimals);

}  // namespace wirelark
