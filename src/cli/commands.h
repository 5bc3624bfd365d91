#pragma once
// Subcommands of the batch command. Each takes the arguments after its name and returns the
// process exit code: 0 success, 1 a check that found something, 2 an error (one line on err).

#include <iosfwd>
#include <string>
#include <vector>

namespace wirelark::cli {

using Args = std::vector<std::string>;

// cable --group TEXT --size LABEL [...]: the cable, R, X, allowable current, size key and
// lookup key the cable selection dialog hands back, tab-separated on one line.
int runCable(const Args& args, std::ostream& out, std::ostream& err);

// recalc IN.ksk -o OUT.ksk [--supply transformer|utility]: the sheet file recalculated and
// checked, saved to OUT with the file's own heading and settings.
int runRecalc(const Args& args, std::ostream& out, std::ostream& err);
// check IN.ksk [--supply transformer|utility]: the findings of the verdict summary after the
// recalculation, one per line; exit 1 when there is any.
int runCheck(const Args& args, std::ostream& out, std::ostream& err);
// tsv IN.ksk [--feeder N]: the clipboard text of the sheet, or of feeder No. N.
int runTsv(const Args& args, std::ostream& out, std::ostream& err);

// pdf IN.ksk -o OUT.pdf: the printed calculation sheet as the print draws it, with page
// numbers as the sheet's setting says.
int runPdf(const Args& args, std::ostream& out, std::ostream& err);

// xlsx IN.ksk -o OUT.xlsx [--by-feeder]: the spreadsheet workbook, 18 rows a worksheet, or
// every feeder on worksheets of its own with --by-feeder.
int runXlsx(const Args& args, std::ostream& out, std::ostream& err);

// replay [IN.ksk] [-o OUT.ksk] [--freq 60|50] SCRIPT|-: the engineer's actions on the main
// window and its input dialogs, replayed from a script; what the dialogs show on stdout, the
// sheet at the end saved to OUT.
int runReplay(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace wirelark::cli
