#include "clipboard_text.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace wirelark {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

constexpr std::array<std::string_view, 17> kTitles = {
    "幹線番号又は名称",
    "電気方式",
    "電圧[V]",
    "幹線保護用遮断器定格電流[A]",
    "系統",
    "こう長",
    "負荷名称",
    "主幹器具定格電流[A]",
    "設計負荷電流[A]",
    "負荷の力率[cosθ]",
    "種別及び断面積[m㎡]",
    "配線方式",
    "許容電流[A]",
    "ｲﾝﾋﾟｰﾀﾞﾝｽ[Ω/km]",
    "単一の電圧降下[V]",
    "分岐がある場合の合計",
    "許容電圧降下[V]",
};

void appendRows(const Sheet& sheet, int first, int last, std::string& text) {
    first = std::max(first, 0);
    last = std::min(last, sheet.rowCount() - 1);
    for (int r = first; r <= last; ++r) {
        text += clipboardRowLine(sheet, r);
        text += kLineEnd;
    }
}

}  // namespace

std::string clipboardRowLine(const Sheet& sheet, int row) {
    std::string line;
    for (int c = col::name; c <= col::allowableDrop; ++c) {
        if (c != col::name)
            line += '\t';
        if (c == col::glyph)
            line += ' ';
        line += sheet.cell(row, c);
    }
    return line;
}

std::string wholeSheetClipboardText(const Sheet& sheet) {
    std::string text;
    for (std::string_view title : kTitles) {
        text += title;
        text += '\t';
    }
    text += kLineEnd;
    appendRows(sheet, 0, sheet.lastUsedRow(), text);
    return text;
}

std::string feederClipboardText(const Sheet& sheet, BlockRange range) {
    std::string text;
    appendRows(sheet, range.s1, range.e1, text);
    return text;
}

}  // namespace wirelark
