#include "print_layout.h"

#include "encoding.h"
#include "number_text.h"
#include "page_plan.h"

namespace wirelark {

namespace {

// Geometry of the form, in 1/600 inch.
constexpr int kFrameLeft = 560;
constexpr int kFrameRight = 6320;
constexpr int kFrameTop = 450;
constexpr int kFrameBottom = 4300;
constexpr int kSlotsTop = 1100;
constexpr int kSlotHeight = 153;
constexpr int kSlotsBottom = kSlotsTop + kRowsPerPage * kSlotHeight;  // 3854
constexpr int kFirstTextTop = 1142;
// The tree glyph is set larger than the row's text and raised to sit on the same line.
constexpr int kGlyphRaise = 15;
// A long load name takes two lines, this far above and below the row's line.
constexpr int kLoadNameShift = 33;
// Load names up to this many bytes of code page 932 fit the column on one line.
constexpr std::size_t kLoadNameOneLineBytes = 11;
constexpr std::size_t kLoadNameFirstLineChars = 9;

struct FixedText {
    int x;
    int y;
    int size;
    const char* text;
};

// A row is printed in column order; a number column that fails stops the row at that point.
struct RowItem {
    enum class Kind { Text, Glyph, Number, LoadName } kind;
    int column;
    int x;
    int width = 0;
    int decimals = 0;
};

constexpr RowItem kRowItems[] = {
    {RowItem::Kind::Text, col::name, 580},
    {RowItem::Kind::Text, col::system, 1022},
    {RowItem::Kind::Text, col::voltage, 1303},
    {RowItem::Kind::Number, col::breaker, 1648, 5, 2},
    {RowItem::Kind::Glyph, col::glyph, 1860},
    {RowItem::Kind::Number, col::length, 2140, 8, 2},
    {RowItem::Kind::LoadName, col::loadName, 2450},
    {RowItem::Kind::Number, col::mainBreaker, 2830, 8, 2},
    {RowItem::Kind::Number, col::designCurrent, 3130, 8, 2},
    {RowItem::Kind::Number, col::powerFactor, 3390, 8, 2},
    {RowItem::Kind::Text, col::cable, 3705},
    {RowItem::Kind::Text, col::method, 4132},
    {RowItem::Kind::Number, col::allowableCurrent, 4610, 8, 2},
    {RowItem::Kind::Number, col::impedance, 4945, 8, 3},
    {RowItem::Kind::Number, col::singleDrop, 5211, 8, 2},
    {RowItem::Kind::Number, col::summedDrop, 5475, 8, 2},
    {RowItem::Kind::Number, col::allowableDrop, 5694, 8, 2},
};

constexpr FixedText kColumnTitles[] = {
    {640, 835, 8, "幹線番号"},
    {640, 895, 8, "又は名称"},
    {1010, 860, 8, "電気方式"},
    {1360, 805, 8, "電圧"},
    {1377, 995, 8, "[V]"},
    {1600, 747, 8, "幹線保"},
    {1600, 809, 8, "護用遮"},
    {1600, 871, 8, "断器定"},
    {1600, 933, 8, "格電流"},
    {1655, 995, 8, "[A]"},
    {1953, 860, 8, "系統"},
    {2210, 805, 8, "こう長"},
    {2218, 995, 8, "l [ｍ]"},
    {2505, 860, 8, "負荷名称"},
    {2850, 805, 8, "主幹器具"},
    {2850, 867, 8, "定格電流"},
    {2940, 995, 8, "[A]"},
    {3145, 805, 8, "設計負荷"},
    {3145, 867, 8, "　電流　"},
    {3210, 995, 8, "I [A]"},
    {3460, 805, 8, "負荷の"},
    {3460, 867, 8, " 力率 "},
    {3488, 995, 8, "cosθ"},
    {3780, 805, 8, "種別及び"},
    {3780, 867, 8, " 断面積 "},
    {3802, 995, 8, "A [mm ]"},
    {3950, 980, 5, "2"},  // the exponent of mm²
    {4238, 710, 7, "電線及びケーブル"},
    {4260, 899, 7, "配線方式"},
    {4710, 805, 7, "許容"},
    {4710, 867, 7, "電流"},
    {4722, 995, 7, "[A]"},
    {4946, 805, 7, "電線1Kmあ"},
    {4965, 867, 7, "たりのｲﾝ"},
    {4980, 929, 7, "ﾋﾟｰﾀﾞﾝｽ"},
    {4951, 995, 7, "Z [Ω/km]"},
    {5272, 710, 7, "各線間の電圧降下"},
    {5430, 772, 7, "e [V]"},
    {5258, 886, 7, "単一配線"},
    {5258, 948, 7, "　 の"},
    {5258, 1010, 7, "電圧降下"},
    {5518, 886, 7, "分岐があ"},
    {5518, 948, 7, "る場合の"},
    {5518, 1010, 7, "　合計"},
    {5790, 805, 7, "許容電"},
    {5790, 867, 7, "圧降下"},
    {5838, 995, 7, "[V]"},
    {6098, 867, 7, "備考"},
};

// The formula e = K'IlZ / 1,000 with its legend; the fraction bar follows its denominator.
constexpr FixedText kFormulaTexts[] = {
    {600, 3865, 7, "電圧降下による電線太さの算出"},
    {1080, 4020, 7, "K'IlZ"},
    {900, 4059, 7, "e＝"},
    {1080, 4095, 7, "1,000"},
};

constexpr FixedText kLegendTexts[] = {
    {1330, 4059, 7, "[V]"},
    {700, 4173, 7, "中性線がある場合は中性線との電圧降下"},
    {1855, 3865, 7, "ここに、e：各線間の電圧降下[V]"},
    {2058, 3942, 7, "K'：電気方式による係数"},
    {2086, 4019, 7, "I：設計負荷電流 [A]"},
    {2086, 4096, 7, "l：こう長 [m]"},
    {2086, 4173, 7, "Z：電線1Kmあたりのｲﾝﾋﾟｰﾀﾞﾝｽ [Ω/Km]"},
};

// The table of the coefficient K' by electric system; its rules follow its texts.
constexpr FixedText kCoefficientTexts[] = {
    {3720, 3865, 7, "K'：電気方式による係数"},
    {3580, 3942, 7, "回路の電気方式"},
    {4320, 3942, 7, "係数"},
    {3432, 4019, 7, "単相2線式"},
    {4360, 4019, 7, "2"},
    {3432, 4096, 7, "三相3線式"},
    {4325, 4091, 8, "√"},
    {4360, 4096, 7, "3"},
    {3432, 4173, 7, "単相3線式、三相4線式"},
    {4360, 4173, 7, "1"},
};
constexpr int kCoefficientRulesY[] = {4012, 4089, 4166, 4243};

// Vertical rules of the table: x and the y they start at; all end at the bottom of the slots.
struct VerticalRule {
    int x;
    int top;
};
constexpr VerticalRule kVerticalRules[] = {
    {1000, 700}, {1851, 700}, {2181, 700}, {2441, 700}, {2836, 700}, {3132, 700},
    {3428, 700}, {3689, 700}, {5244, 700}, {5766, 700}, {5990, 700}, {1295, 600},
    {1556, 600}, {4118, 775}, {4622, 775}, {4913, 775}, {5505, 852},
};

// Builds the pages one operation at a time. The printer keeps the pen of the last line
// drawn, and two rules of the footer are drawn with whatever pen that is: width 1 on the
// first page (the printer's default), the width of the last rule on every later page.
class PageBuilder {
  public:
    std::vector<PrintedPage> pages{1};

    // Operations are constructed in place: moving a finished variant that holds a string
    // draws a false "may be used uninitialized" warning from GCC 12 at -O2.
    void text(int x, int y, int size, std::string_view s, bool underline = false) {
        if (s.empty())
            return;
        page().ops.emplace_back(std::in_place_type<PrintText>, x, y, size, underline,
                                std::string(s));
    }
    void fixed(const FixedText& t) { text(t.x, t.y, t.size, t.text); }
    void line(int x1, int y1, int x2, int y2, int pen) {
        m_pen = pen;
        currentPenLine(x1, y1, x2, y2);
    }
    void currentPenLine(int x1, int y1, int x2, int y2) {
        page().ops.emplace_back(std::in_place_type<PrintLine>, x1, y1, x2, y2, m_pen);
    }
    void rect(int left, int top, int right, int bottom, int pen) {
        m_pen = pen;
        page().ops.emplace_back(std::in_place_type<PrintRect>, left, top, right, bottom, pen);
    }
    void newPage() { pages.emplace_back(); }
    PrintedPage& page() { return pages.back(); }

  private:
    int m_pen = 1;
};

std::string_view cellOf(const Sheet& sheet, int row, int column) {
    return row < sheet.rowCount() ? sheet.cell(row, column) : std::string_view();
}

// Draws the row's cells on the line whose text top is `top`; stops at the first number
// column that holds text that is not a number.
Status drawRow(PageBuilder& out, const Sheet& sheet, int row, int top) {
    for (const RowItem& item : kRowItems) {
        const std::string_view cell = cellOf(sheet, row, item.column);
        switch (item.kind) {
            case RowItem::Kind::Text:
                out.text(item.x, top, 8, cell);
                break;
            case RowItem::Kind::Glyph:
                out.text(item.x, top - kGlyphRaise, 12, cell);
                break;
            case RowItem::Kind::Number: {
                // A blank cell (empty or the single-space placeholder) was never entered.
                if (isBlank(cell))
                    break;
                const auto value = readNumber(cell);
                if (!value)
                    return cellNumberError(row, item.column, value.error());
                out.text(item.x, top, 8, printedNumber(*value, item.width, item.decimals));
                break;
            }
            case RowItem::Kind::LoadName: {
                // A row without a length carries no load of its own worth naming on paper.
                if (isBlank(cellOf(sheet, row, col::length)))
                    break;
                if (cp932Length(cell) <= kLoadNameOneLineBytes) {
                    out.text(item.x, top, 8, cell);
                } else {
                    const std::string first = utf8Prefix(cell, kLoadNameFirstLineChars);
                    out.text(item.x, top - kLoadNameShift, 8, first);
                    out.text(item.x, top + kLoadNameShift, 8, cell.substr(first.size()));
                }
                break;
            }
        }
    }
    return success();
}

void drawDecoration(PageBuilder& out, const Sheet& sheet, int pageNumber) {
    const HeadingFields& h = sheet.heading;
    out.text(5800, 375, 7, "(様式 電－８－１) ");
    out.text(650, 492, 9, "電路計算書（幹線用）");
    out.text(2170, 492, 9, " 建物名称  " + h.buildingName + " ", true);
    // The printed date is always the era date, whatever the year display of the settings.
    out.text(5500, 492, 8, h.eraLabel + " " + h.eraYear + " 年 " + h.month + " 月 " + h.day + " 日",
             true);
    out.text(850, 622, 8, "周波数 [Hz]：");
    out.text(1398, 622, 8, sheet.settings.frequency == Frequency::Hz60 ? "60" : "50");

    for (const FixedText& t : kColumnTitles)
        out.fixed(t);

    for (const FixedText& t : kFormulaTexts)
        out.fixed(t);
    out.currentPenLine(995, 4090, 1290, 4090);
    for (const FixedText& t : kLegendTexts)
        out.fixed(t);
    for (const FixedText& t : kCoefficientTexts)
        out.fixed(t);
    for (int y : kCoefficientRulesY)
        out.currentPenLine(3428, y, 4628, y);

    out.text(6140, 4315, 7, "Ｈ２１");
    if (sheet.settings.printPageNumbers)
        out.text(6600, 4650, 9, "P-" + std::to_string(pageNumber));

    out.rect(kFrameLeft, kFrameTop, kFrameRight, kFrameBottom, 10);
    for (int y : {600, 700, kSlotsTop})
        out.line(kFrameLeft, y, kFrameRight, y, 3);
    for (int i = 1; i <= kRowsPerPage; ++i) {
        const int y = kSlotsTop + kSlotHeight * i;
        out.line(kFrameLeft, y, kFrameRight, y, 3);
    }
    // The bottom of the slots closes the table above the footer and is drawn heavier.
    out.line(kFrameLeft, kSlotsBottom, kFrameRight, kSlotsBottom, 7);
    for (const VerticalRule& v : kVerticalRules)
        out.line(v.x, v.top, v.x, kSlotsBottom, 2);
    out.line(3689, 775, 5244, 775, 2);
    out.line(5244, 852, 5766, 852, 2);
}

}  // namespace

std::string printedNumber(double value, int width, int decimals) {
    const std::string fixed = formatFixed(value, decimals, false);
    const auto dot = fixed.find('.');
    const bool fractionShows =
        dot != std::string::npos && fixed.find_first_not_of('0', dot + 1) != std::string::npos;
    return fractionShows ? formatFixedWidth(value, width, decimals, false)
                         : formatFixedWidth(value, width, 0, true);
}

PrintedSheet layoutPrintedSheet(const Sheet& sheet) {
    PrintedSheet result;
    result.title = sheet.heading.buildingName;
    PageBuilder out;
    const int last = sheet.lastPrintedRow();
    int slot = 0;
    int pageNumber = 1;
    for (int row = 0; row <= last; ++row) {
        const int top = kFirstTextTop + kSlotHeight * slot;
        ++slot;
        if (Status drawn = drawRow(out, sheet, row, top); !drawn) {
            result.failure = drawn.error();
            break;
        }
        const bool full = slot == kRowsPerPage;
        if (full || row == last)
            drawDecoration(out, sheet, pageNumber);
        if (full && row != last) {
            out.newPage();
            slot = 0;
            ++pageNumber;
        }
    }
    // A page that the failure left without a single mark is no page of the document.
    if (out.page().ops.empty())
        out.pages.pop_back();
    result.pages = std::move(out.pages);
    return result;
}

PrintedSheet layoutPrintJob(Sheet& sheet) {
    if (const auto plan = planPages(sheet); !plan) {
        PrintedSheet nothing;
        nothing.title = sheet.heading.buildingName;
        nothing.failure = plan.error();
        return nothing;
    }
    return layoutPrintedSheet(sheet);
}

}  // namespace wirelark
