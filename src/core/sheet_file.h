#pragma once
// The calculation sheet file (".ksk"): every used row of the sheet as comma text, followed by
// the heading of the sheet. Written in code page 932 with CR LF after every line; a UTF-8 or
// UTF-16 byte-order mark is honoured when reading.
//
//   line 0        row count of the sheet: L + 20 (L = last used row)
//   line 1        L
//   lines 2..L+2  rows 0..L, 35 cells each as comma text
//   line L+3      frequency "60" / "50"
//   lines L+4..   era year, month, day, building name, era label
//
// A few settings travel inside the rows, in the sheet setting cells: (row 0, column 30) the era
// label, (0, 34) "3"/"4" era or Western year display, (1, 34) "5"/"6" page numbers printed or
// not, (2, 34) the era name of the settings.

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "result.h"
#include "sheet.h"

namespace wirelark {

// Sheets larger than this are refused when loading: no sheet of a building comes near it, and a
// damaged row count must not make the program reserve memory for millions of rows.
inline constexpr int kMaxSheetFileRows = 250000;

// A cell or heading field longer than this fails the load: the longest texts of a sheet (load
// names, cable designations, the building name) stay far below it.
inline constexpr std::size_t kMaxFieldChars = 1000;

// The file name a chosen name is saved under: ".ksk" is appended unless the name's last three
// characters are exactly "ksk" (so "棟A" -> "棟A.ksk", "棟A.ksk" stays, "棟A.KSK" ->
// "棟A.KSK.ksk", and "棟Aksk" stays as it is).
std::string withSheetExtension(std::string_view chosen);

// One row as comma text: cells joined by ",". A cell is quoted, its quotes doubled, when it holds
// a comma, a double quote or a character from U+0001 to U+0020 (the space included); characters
// above U+00FF, the ideographic space among them, never cause quoting. A line break or NUL in a
// cell, which the file cannot carry, is written as a space.
std::string commaText(const Row& row);

// Splits comma text into a row, columns 0, 1, 2 ... in order. Blanks (U+0001..U+0020) before a
// field and after a comma are skipped; a field that begins with a double quote runs to the
// matching closing quote, doubled quotes standing for one; a bare field ends at a comma or at a
// character from U+0000 to U+0020; a field ended by a blank or a closing quote is followed by the
// next field even without a comma; adjacent commas give an empty field, and a comma at the very
// end gives a final empty field. Fields beyond the 35th are dropped; columns without a field are
// left empty.
void splitCommaText(std::string_view line, Row& row);

// The text of the sheet file (UTF-8, CR LF line ends) as saving produces it. Like saving, it
// changes the sheet: the row count becomes L + 20, and the sheet setting cells (1, 34) and
// (2, 34) keep the values written into them.
std::string sheetFileText(Sheet& sheet);

// The bytes of the sheet file (code page 932) as saving writes them; the sheet changes as for
// sheetFileText. Fails, changing nothing, when a cell of a saved row or a heading field is
// longer than kMaxFieldChars (the file could not be read back), or when the text cannot be
// converted on this system.
Expected<std::string> sheetFileBytes(Sheet& sheet);

// Saves the sheet to exactly `path` (the caller applies withSheetExtension to a name the user
// chose). The sheet changes as for sheetFileText. The file is replaced only once the new content
// is completely written; on failure: "ファイル "…" を作成できません。<reason>".
Status saveSheetFile(Sheet& sheet, const std::filesystem::path& path);

// Reads a sheet file's bytes into a new sheet. All or nothing: bytes that are not valid text
// (see decodeFileText), a cell or heading field longer than kMaxFieldChars, a row count or last
// row that is not a number or is out of range, or a file shorter than its rows fail the whole
// load, naming the line. `current` is the sheet open so far: what the file
// does not set (a frequency line other than 50 or 60, an era name cell left empty, a year display
// cell with another value, the row copy buffer) stays as it was there. The era label and the era
// year are those of the file, and the Western year follows from them under 令和, 平成 and 昭和.
// `fileName` names the file in error messages.
Expected<Sheet> parseSheetFile(std::string_view bytes, const Sheet& current,
                               std::string_view fileName);

// Loads the file at `path` into `sheet`. All or nothing: on any failure the sheet is left exactly
// as it was, and the error names the file, the line and what is wrong with it.
Status loadSheetFile(Sheet& sheet, const std::filesystem::path& path);

}  // namespace wirelark
