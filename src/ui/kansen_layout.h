#pragma once
// Geometry of the main window: the column widths and captions of the sheet grid and the rules
// that fit the window to the screen. Pixels at 96 dpi, as the form was designed.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <Qt>

#include <array>

#include "sheet.h"

namespace wirelark::layout {

// Designed client area of the main window.
inline constexpr int kDesignedWidth = 1584;
inline constexpr int kDesignedHeight = 798;
inline constexpr int kRowHeight = 24;

// Strips above the grid.
inline constexpr int kTopBarHeight = 36;
inline constexpr int kHeaderHeight = 80;
inline constexpr int kGridLeft = 10;
inline constexpr int kGridTop = kTopBarHeight + kHeaderHeight;
// The grid fills the window but for these margins.
inline constexpr int kGridWidthMargin = 20;
inline constexpr int kGridHeightMargin = 120;
inline constexpr int kGuideLineWidthMargin = 40;

// The verdict column takes what the grid has left beyond the fixed columns, but never less
// than the longest verdict needs (longestVerdictWidth): a verdict is never cut, and the width
// is never negative.
inline constexpr int kFixedColumnsWidth = 1350;

// Widths of the visible columns 0 to 18; every other column has width 0 but the verdict (21),
// whose width follows the window.
inline constexpr std::array<int, 19> kColumnWidths = {
    29, 87, 63, 63, 90, 74, 45, 94, 55, 55, 56, 77, 95, 55, 103, 68, 68, 55, 70,
};

int columnWidth(int column, int gridWidth, int minVerdictWidth);
int verdictColumnWidth(int gridWidth, int minVerdictWidth);
bool isShownColumn(int column);
// Width of the longest verdict the checks write, drawn in `font` with the cell's indent.
int longestVerdictWidth(const QFont& font);

// How the grid draws a column's text.
Qt::Alignment columnAlignment(int column);
qreal columnPointSize(int column);

// Caption lines of a visible column on the header strip.
QStringList columnCaption(int column);

// A caption panel spanning a group of columns, above their own captions.
struct SpanCaption {
    int firstColumn;
    int lastColumn;
    const char* text;
};
inline constexpr std::array<SpanCaption, 2> kSpanCaptions = {{
    {col::cable, col::impedance, "電線及びケーブル"},
    {col::singleDrop, col::summedDrop, "各線間の電圧降下\ne [V]"},
}};
// Height of the spanning panels; the captions of their columns stand below them.
inline constexpr int kSpanHeight = 30;

// Window size for a screen: the designed size, three quarters of a taller screen's height,
// and the narrower widths that the usual laptop screens need.
QSize windowSizeForScreen(QSize screen);

// Room a window manager takes around the client area (title bar and borders), allowed for
// when deciding whether the window fits the screen.
inline constexpr QSize kFrameAllowance{16, 40};

// Where the main window opens: `size` is its client area, `position` the top-left corner of
// its frame, or `maximised` when it is shown maximised within the available area instead.
struct WindowPlacement {
    QSize size;
    QPoint position;
    bool maximised = false;
    friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};
// The described size for the screen, widened as far as the available area (the screen without
// its task bars) allows so that the verdict column shows the longest verdict, and centred in
// that area. Where the described size does not fit the available area, the window is
// maximised within it, never placed partly off screen.
WindowPlacement placeWindow(QSize screen, QRect available, int minVerdictWidth);

}  // namespace wirelark::layout
