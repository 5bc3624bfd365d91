// wirelark-cli replay: a recorded sequence of the engineer's actions on the main window and its
// input dialogs, replayed without a display through the same models as the desktop program, so
// sheets can be built and changed from scripts.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>

#include "commands.h"
#include "document.h"
#include "era.h"
#include "output.h"
#include "replay_script.h"
#include "replay_session.h"
#include "sheet.h"
#include "sheet_file.h"

namespace wirelark::cli {

namespace {

constexpr std::string_view kUsage =
    "使い方: wirelark-cli replay [IN.ksk] [-o OUT.ksk] [--freq 60|50] SCRIPT|-";

struct Options {
    std::optional<std::string> input;
    std::optional<std::string> output;
    std::optional<std::string> frequency;
    std::string script;
};

Expected<Options> parseOptions(const Args& args) {
    Options o;
    std::vector<std::string> positional;
    const auto fail = [](const std::string& what) {
        return Error{what + " " + std::string(kUsage)};
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--freq") {
            std::optional<std::string>& into = a == "-o" ? o.output : o.frequency;
            if (into || i + 1 >= args.size())
                return fail(a + " には値を 1 つ指定してください。");
            into = args[++i];
        } else if (a.size() > 1 && a[0] == '-') {
            return fail("不明なオプションです: " + a + "。");
        } else {
            positional.push_back(a);
        }
    }
    if (positional.empty())
        return fail("スクリプトを指定してください（標準入力なら -）。");
    if (positional.size() > 2)
        return fail("入力ファイルとスクリプトは 1 つずつです。");
    if (positional.size() == 2)
        o.input = positional[0];
    o.script = positional.back();
    if (o.frequency && *o.frequency != "60" && *o.frequency != "50")
        return fail("--freq は 60 か 50 です: " + *o.frequency + "。");
    return o;
}

Expected<std::string> readScript(const std::string& name) {
    if (name == "-")
        return std::string(std::istreambuf_iterator<char>(std::cin), {});
    std::ifstream in(std::filesystem::path(name), std::ios::binary);
    if (!in)
        return Error{"スクリプト \"" + name + "\" を開けません。"};
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        return Error{"スクリプト \"" + name + "\" を読めません。"};
    return text;
}

int fail(std::ostream& err, const Error& e) {
    err << "replay: " << e.message << "\n";
    return 2;
}

}  // namespace

int runReplay(const Args& args, std::ostream& out, std::ostream& err) {
    const auto options = parseOptions(args);
    if (!options)
        return fail(err, options.error());
    if (options->output && options->output->empty()) {
        err << kNoOutputFileMessage << "\n";
        return 2;
    }
    prepareStandardOutput();
    const auto text = readScript(options->script);
    if (!text)
        return fail(err, text.error());
    const auto actions = parseReplayScript(*text);
    if (!actions)
        return fail(err, actions.error());

    // The program as started without a file, then the sheet opened as "開く" opens it.
    Sheet sheet = newSheet(todayInTokyo());
    if (options->input)
        if (const Status st = loadSheetFile(sheet, std::filesystem::path(*options->input)); !st)
            return fail(err, st.error());
    Document document(std::move(sheet));
    if (options->frequency)
        document.settings().frequency =
            *options->frequency == "50" ? Frequency::Hz50 : Frequency::Hz60;

    // The output of the script is only worth anything in full: it is written once the replay ran
    // to its end, and on an error only what ran before it reaches the output.
    std::ostringstream shown;
    ReplaySession session(document, shown);
    const Status ran = session.run(*actions);
    out << shown.str();
    if (!ran) {
        fail(err, ran.error());
        return finishOutput(out, err, 2);
    }
    // What the engineer would have seen must reach the output before the sheet is written.
    if (const int code = finishOutput(out, err, 0); code != 0)
        return code;
    if (options->output) {
        Sheet saved = document.sheet();
        if (const Status st = saveSheetFile(saved, std::filesystem::path(*options->output)); !st)
            return fail(err, st.error());
    }
    return 0;
}

}  // namespace wirelark::cli
