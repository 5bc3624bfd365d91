// The sheet subcommands of the batch command: recalculate a sheet file, check it, copy it as
// text. They run the same core as the desktop program, without its windows and without its
// settings file: the sheet file alone decides the result.

#include <filesystem>
#include <iostream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "checks.h"
#include "circuit_rules.h"
#include "clipboard_text.h"
#include "commands.h"
#include "era.h"
#include "message_text.h"
#include "number_text.h"
#include "output.h"
#include "recalculation.h"
#include "result.h"
#include "sheet.h"
#include "sheet_file.h"
#include "tree_editing.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace wirelark::cli {

namespace {

constexpr std::string_view kRecalcUsage =
    "使い方: wirelark-cli recalc IN.ksk -o OUT.ksk [--supply transformer|utility|typed] "
    "[--percent P]";
constexpr std::string_view kCheckUsage =
    "使い方: wirelark-cli check IN.ksk [--supply transformer|utility|typed] [--percent P]";
constexpr std::string_view kTsvUsage = "使い方: wirelark-cli tsv IN.ksk [--feeder N]";

struct Options {
    std::string input;
    std::optional<std::string> output;
    std::optional<std::string> supply;
    std::optional<std::string> percent;
    std::optional<std::string> feeder;
};

// Reads `IN` and the options a subcommand accepts; anything else is an error worded for the
// user, with the usage line of the subcommand.
Expected<Options> parseOptions(const Args& args, std::string_view usage, bool takesOutput,
                               bool takesSupply, bool takesFeeder) {
    Options o;
    auto fail = [&](const std::string& what) { return Error{what + " " + std::string(usage)}; };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::optional<std::string>& into) -> bool {
            if (into || i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        if (takesOutput && a == "-o") {
            if (!value(o.output))
                return fail("-o には出力ファイルを 1 つ指定してください。");
        } else if (takesSupply && a == "--supply") {
            if (!value(o.supply))
                return fail(
                    "--supply には transformer、utility、typed のどれか 1 つを指定してください。");
        } else if (takesSupply && a == "--percent") {
            if (!value(o.percent))
                return fail("--percent には許容電圧降下の % を 1 つ指定してください。");
        } else if (takesFeeder && a == "--feeder") {
            if (!value(o.feeder))
                return fail("--feeder には幹線の No. を 1 つ指定してください。");
        } else if (a.size() > 1 && a[0] == '-') {
            return fail("不明なオプションです: " + quotedText(a) + "。");
        } else if (o.input.empty()) {
            o.input = a;
        } else {
            return fail("入力ファイルは 1 つだけ指定してください。");
        }
    }
    if (o.input.empty())
        return fail("入力ファイルを指定してください。");
    if (takesOutput && (!o.output || o.output->empty()))
        return fail(std::string(kNoOutputFileMessage));
    return o;
}

Expected<SupplyChoice> supplyChoice(const Options& o) {
    SupplyChoice choice;
    if (!o.supply || *o.supply == "transformer")
        choice.kind = SupplyKind::Transformer;
    else if (*o.supply == "utility")
        choice.kind = SupplyKind::Utility;
    else if (*o.supply == "typed")
        choice.kind = SupplyKind::Typed;
    else
        return Error{
            "--supply は transformer（電気使用場所に設けた変圧器から供給）、utility"
            "（電気事業者から低圧で電気の供給を受ける）、typed（指定した電圧降下(%)で計算する）"
            "のどれかです: " +
            quotedText(*o.supply)};
    if (o.percent) {
        if (choice.kind != SupplyKind::Typed)
            return Error{"--percent は --supply typed と一緒に指定してください。"};
        const auto p = readNumber(*o.percent);
        if (!p || *p <= 0.0 || *p >= 100.0)
            return Error{"--percent には 0 より大きく 100 より小さい数値を指定してください: " +
                         quotedText(*o.percent)};
        choice.percent = *o.percent;
    }
    return choice;
}

// The sheet of a file as the program holds it after opening the file at start-up.
Expected<Sheet> openSheet(const std::string& path) {
    Sheet sheet = newSheet(todayInTokyo());
    const Status st = loadSheetFile(sheet, std::filesystem::path(path));
    if (!st)
        return st.error();
    return sheet;
}

int fail(std::ostream& err, const Error& e) {
    err << e.message << "\n";
    return 2;
}

}  // namespace

namespace {

// Opens the input and recalculates it as `recalc` and `check` both do.
Expected<Sheet> recalculatedInput(const Options& options) {
    auto supply = supplyChoice(options);
    if (!supply)
        return supply.error();
    auto sheet = openSheet(options.input);
    if (!sheet)
        return sheet.error();
    if (Status st = recalculateSheet(*sheet, *supply); !st)
        return st.error();
    return sheet;
}

}  // namespace

int runRecalc(const Args& args, std::ostream& /*out*/, std::ostream& err) {
    auto options = parseOptions(args, kRecalcUsage, true, true, false);
    if (!options)
        return fail(err, options.error());
    auto sheet = recalculatedInput(*options);
    if (!sheet)
        return fail(err, sheet.error());
    if (Status st = saveSheetFile(*sheet, std::filesystem::path(*options->output)); !st)
        return fail(err, st.error());
    return 0;
}

int runCheck(const Args& args, std::ostream& out, std::ostream& err) {
    prepareStandardOutput();
    auto options = parseOptions(args, kCheckUsage, false, true, false);
    if (!options)
        return fail(err, options.error());
    auto sheet = recalculatedInput(*options);
    if (!sheet)
        return fail(err, sheet.error());
    auto findings = verdictSummary(*sheet);
    if (!findings)
        return fail(err, findings.error());
    if (findings->empty()) {
        out << kVerdictsGoodMessage << "\n";
        return finishOutput(out, err, 0);
    }
    for (const auto& finding : *findings)
        out << finding.message << "\n";
    return finishOutput(out, err, 1);
}

int runTsv(const Args& args, std::ostream& out, std::ostream& err) {
    prepareStandardOutput();
    auto options = parseOptions(args, kTsvUsage, false, false, true);
    if (!options)
        return fail(err, options.error());
    auto sheet = openSheet(options->input);
    if (!sheet)
        return fail(err, sheet.error());
#ifdef _WIN32
    // The text carries its own CR LF line ends; a text-mode stdout would double the CR.
    if (&out == &std::cout)
        _setmode(_fileno(stdout), _O_BINARY);
#endif
    if (!options->feeder) {
        out << wholeSheetClipboardText(*sheet);
        return finishOutput(out, err, 0);
    }
    const auto n = readInteger(*options->feeder);
    if (!n)
        return fail(err, Error{"--feeder には幹線の No.（数字）を指定してください: " +
                               quotedText(*options->feeder)});
    const std::string number = std::to_string(*n);
    BlockRange range{-1, -1};
    for (int r = 0; r < sheet->rowCount(); ++r) {
        if (range.s1 < 0 && sheet->cell(r, col::number) == number)
            range.s1 = r;
        if (sheet->cell(r, col::feederNumber) == number)
            range.e1 = r;
    }
    if (range.s1 < 0)
        return fail(
            err, Error{"No. " + number + " の幹線はありません: " + printableText(options->input)});
    if (range.e1 < range.s1)
        range.e1 = range.s1;
    out << feederClipboardText(*sheet, range);
    return finishOutput(out, err, 0);
}

}  // namespace wirelark::cli
