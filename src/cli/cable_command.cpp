// wirelark-cli cable: picks a cable the way the engineer does in the cable selection dialog
// opened from the feeder dialog right after the program starts, and prints what the dialog
// hands back.

#include <algorithm>
#include <map>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "cable_catalogue.h"
#include "cable_selection.h"
#include "commands.h"
#include "message_text.h"
#include "output.h"

namespace wirelark::cli {

namespace {

constexpr std::string_view kOptions[] = {
    "--group",      "--size",    "--family", "--method", "--depth",   "--system",  "--freq",
    "--conductors", "--ambient", "--temp",   "--tiers",  "--spacing", "--per-tier"};
constexpr std::string_view kMethods[] = {"気中暗渠配線", "保護管配線", "地中保護管配線"};
constexpr std::string_view kDepths[] = {"H=300", "H=600", "H=1200"};
constexpr std::string_view kFrequencies[] = {"60", "50"};
constexpr std::string_view kConductorOptions[] = {"1", "2", "3", "4", "5", "6", "7"};

// The feeder dialog as it stands when the program has just started.
constexpr std::string_view kDefaultMethod = "気中暗渠配線";
constexpr std::string_view kDefaultDepth = "H=600";
constexpr std::string_view kDefaultSystem = "単相3線";

bool listed(std::span<const std::string_view> items, std::string_view text) {
    return std::find(items.begin(), items.end(), text) != items.end();
}

std::string joined(std::span<const std::string_view> items) {
    std::string out;
    for (std::string_view item : items) {
        if (!out.empty())
            out += "、";
        out += item;
    }
    return out;
}

Expected<std::map<std::string, std::string>> parseOptions(const Args& args) {
    std::map<std::string, std::string> options;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (!listed(kOptions, name))
            return Error{"不明な引数です: " + quotedText(name)};
        if (i + 1 >= args.size())
            return Error{name + " に値がありません。"};
        options[name] = args[i + 1];
    }
    for (const char* required : {"--group", "--size"})
        if (!options.contains(required))
            return Error{std::string(required) + " を指定してください。"};
    return options;
}

std::optional<Error> checkListed(const std::map<std::string, std::string>& options,
                                 const std::string& name, std::span<const std::string_view> items) {
    const auto it = options.find(name);
    if (it == options.end() || listed(items, it->second))
        return std::nullopt;
    return Error{name + " の「" + quotedText(it->second) + "」は選べません（" + joined(items) +
                 "）。"};
}

std::string valueOr(const std::map<std::string, std::string>& options, const std::string& name,
                    std::string_view fallback) {
    const auto it = options.find(name);
    return it == options.end() ? std::string(fallback) : it->second;
}

int fail(std::ostream& err, const Error& e) {
    err << "cable: " << e.message << "\n";
    return 2;
}

}  // namespace

int runCable(const Args& args, std::ostream& out, std::ostream& err) {
    prepareStandardOutput();
    const auto parsed = parseOptions(args);
    if (!parsed)
        return fail(err, parsed.error());
    const std::map<std::string, std::string>& options = *parsed;

    const std::pair<const char*, std::span<const std::string_view>> lists[] = {
        {"--method", kMethods},   {"--depth", kDepths},
        {"--freq", kFrequencies}, {"--conductors", kConductorOptions},
        {"--tiers", tierItems()}, {"--spacing", spacingItems()},
    };
    for (const auto& [name, items] : lists)
        if (const auto e = checkListed(options, name, items))
            return fail(err, *e);

    CableSelection dialog;
    // The feeder dialog, activated first, fills the empty group selector.
    dialog.preselectFirstGroup();

    CallerContext context;
    context.caller = Caller::FeederDialog;
    context.installationMethod = valueOr(options, "--method", kDefaultMethod);
    context.burialDepth = valueOr(options, "--depth", kDefaultDepth);
    context.electricSystem = valueOr(options, "--system", kDefaultSystem);
    context.frequency =
        valueOr(options, "--freq", "60") == "50" ? Frequency::Hz50 : Frequency::Hz60;
    dialog.activate(context);

    dialog.selectGroup(options.at("--group"));
    if (findCableGroup(options.at("--group")) == nullptr)
        return fail(err, Error{"電線・ケーブル「" + quotedText(options.at("--group")) +
                               "」は一覧にありません。"});

    if (options.contains("--family"))
        if (const Status s = dialog.pickFamily(options.at("--family")); !s)
            return fail(err, s.error());

    const bool conductorPanel = dialog.correctionPanel() == CorrectionPanel::ConductorCount;
    for (const char* name : {"--conductors", "--ambient"})
        if (options.contains(name) && !conductorPanel)
            return fail(
                err, Error{std::string(name) + " は IV 電線（IV、EM IE/F）にだけ指定できます。"});
    if (options.contains("--conductors"))
        if (const Status s = dialog.chooseConductorCount(std::stoi(options.at("--conductors"))); !s)
            return fail(err, s.error());
    if (options.contains("--ambient"))
        if (const Status s = dialog.chooseAmbient(options.at("--ambient")); !s)
            return fail(err, s.error());
    if (options.contains("--temp"))
        if (const Status s = dialog.chooseInstallationTemperature(options.at("--temp")); !s)
            return fail(err, s.error());
    if (options.contains("--tiers"))
        if (const Status s = dialog.chooseTiers(options.at("--tiers")); !s)
            return fail(err, s.error());
    if (options.contains("--spacing"))
        if (const Status s = dialog.chooseSpacing(options.at("--spacing")); !s)
            return fail(err, s.error());
    const std::string perTier = options.contains("--per-tier")
                                    ? options.at("--per-tier")
                                    : dialog.cablesPerTierItems().front();
    if (const Status s = dialog.chooseCablesPerTier(perTier); !s)
        return fail(err, s.error());

    const std::string& size = options.at("--size");
    const auto& grid = dialog.impedanceGrid();
    int row = -1;
    for (int r = kImpedanceHeaderRows; r < kImpedanceGridRows && row < 0; ++r)
        if (!grid[static_cast<std::size_t>(r)][0].empty() &&
            grid[static_cast<std::size_t>(r)][0] == size)
            row = r;
    if (row < 0)
        return fail(err, Error{"サイズ「" + quotedText(size) + "」は電線・ケーブル「" +
                               quotedText(options.at("--group")) + "」の表にありません。"});

    dialog.clickRow(row);
    const std::string key = dialog.lookupKey();
    const auto choice = dialog.doubleClickRow(row);
    if (!choice)
        return fail(err, Error{"選んだ行から電線・ケーブルを取り出せません。"});

    out << choice->cableName << '\t' << choice->resistance << '\t' << choice->reactance << '\t'
        << choice->allowableCurrent << '\t' << choice->sizeKey << '\t' << key << '\n';
    return finishOutput(out, err, 0);
}

}  // namespace wirelark::cli
