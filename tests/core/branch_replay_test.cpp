// Recorded sessions of the branch dialog, driven by control name as the batch `replay` drives
// it: every script opens a row of a sheet file, acts on the dialog, and is compared with the
// lines the replay prints and the sheet file saved afterwards.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "branch_dialog.h"
#include "branch_hand_off.h"
#include "cable_selection.h"
#include "core/queued_host.h"
#include "document.h"
#include "sheet_file.h"
#include "test_files.h"

namespace wirelark {
namespace {

using test::QueuedHost;
namespace fs = std::filesystem;

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return fields;
        start = tab + 1;
    }
}

// The next cable selection, as the `cable` line of a script sets it: its options in the order
// of the cable command, then the size row clicked and double-clicked.
QueuedHost::CablePick cablePick(CableSelection& cables, std::map<std::string, std::string> options,
                                std::vector<std::string>& errors) {
    return [&cables, options, &errors](const CableRequest& request) -> std::optional<CableChoice> {
        cables.activate(request.context);
        const auto has = [&](const char* name) { return options.contains(name); };
        const auto check = [&](const Status& s) {
            if (!s)
                errors.push_back(s.error().message);
        };
        if (has("--group"))
            cables.selectGroup(options.at("--group"));
        if (has("--family"))
            check(cables.pickFamily(options.at("--family")));
        if (has("--conductors"))
            check(cables.chooseConductorCount(std::stoi(options.at("--conductors"))));
        if (has("--ambient"))
            check(cables.chooseAmbient(options.at("--ambient")));
        if (has("--temp"))
            check(cables.chooseInstallationTemperature(options.at("--temp")));
        if (has("--tiers"))
            check(cables.chooseTiers(options.at("--tiers")));
        if (has("--spacing"))
            check(cables.chooseSpacing(options.at("--spacing")));
        if (has("--per-tier"))
            check(cables.chooseCablesPerTier(options.at("--per-tier")));
        const auto& grid = cables.impedanceGrid();
        for (int r = kImpedanceHeaderRows; r < kImpedanceGridRows; ++r) {
            if (grid[static_cast<std::size_t>(r)][0] == options.at("--size")) {
                cables.clickRow(r);
                return cables.doubleClickRow(r);
            }
        }
        errors.push_back("size " + options.at("--size"));
        return std::nullopt;
    };
}

const char* supplyName(SupplyKind kind) {
    switch (kind) {
        case SupplyKind::Transformer:
            return "transformer";
        case SupplyKind::Utility:
            return "utility";
        case SupplyKind::Typed:
            return "typed";
    }
    return "";
}

struct Replayed {
    std::string printed;
    std::string savedFile;
    std::vector<std::string> errors;
};

Replayed replay(const fs::path& folder, const fs::path& saveTo) {
    Replayed result;
    Document document;
    if (const Status s =
            document.replace([&](Sheet& sheet) { return loadSheetFile(sheet, folder / "in.ksk"); });
        !s) {
        result.errors.push_back(s.error().message);
        return result;
    }
    CableSelection cables;
    BranchDialog dialog(document, cables);
    QueuedHost host;
    std::ostringstream out;
    bool open = false;
    int uy1 = -1;

    const auto printBoxes = [&] {
        for (const std::string& box : host.boxes)
            out << box << '\n';
        host.boxes.clear();
    };
    const auto closed = [&](const char* how) {
        out << "TForm4\t" << how << '\n';
        for (const auto& [control, text] : dialog.report())
            out << control << '\t' << text << '\n';
        out << "supply\t" << supplyName(document.supply().kind) << '\n';
        out << "patan\t" << document.patan << '\n' << "keitou\t" << document.keitou << '\n';
        open = false;
    };

    std::istringstream script(testing::readBytes(folder / "script.txt"));
    std::string line;
    while (std::getline(script, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string> f = splitTabs(line);
        const std::string& action = f[0];
        Status status = success();
        if (action == "open") {
            uy1 = std::stoi(f.at(1));
            open = openBranchRow(document, uy1, dialog, host);
            if (!open)
                result.errors.push_back("opens nothing: " + line);
            else
                dialog.FormActivate(host, std::stoi(f.at(2)));
        } else if (action == "answer") {
            host.answer(f.at(1) == "yes");
        } else if (action == "keypad") {
            host.keypadGives(f.at(1) == "cancel" ? std::nullopt
                                                 : std::optional<std::string>(f.at(1)));
        } else if (action == "cable") {
            if (f.at(1) == "none") {
                host.cableGives(std::optional<CableChoice>());
            } else {
                std::map<std::string, std::string> options;
                for (std::size_t i = 1; i + 1 < f.size(); i += 2)
                    options[f[i]] = f[i + 1];
                host.cableGives(cablePick(cables, options, result.errors));
            }
        } else if (action == "pick") {
            status = dialog.pick(f.at(1), f.at(2), host);
        } else if (action == "type") {
            status = dialog.type(f.at(1), f.size() > 2 ? f[2] : "", host);
        } else if (action == "click") {
            status = dialog.click(f.at(1), host);
        } else if (action == "dblclick") {
            status = dialog.doubleClick(f.at(1), host);
        } else if (action == "close") {
            dialog.close(host);
        } else {
            result.errors.push_back("unknown action: " + line);
        }
        if (!status)
            result.errors.push_back(line + ": " + status.error().message);
        printBoxes();
        if (open && dialog.state() != ScriptableDialog::State::Open) {
            closed(dialog.state() == ScriptableDialog::State::Confirmed ? "confirmed"
                                                                        : "cancelled");
            writeBranchRow(document, uy1, dialog, host);
            printBoxes();
        }
    }
    if (open)
        closed("open");
    for (const std::string& e : host.errors)
        result.errors.push_back("no answer queued for a " + e);
    if (host.answersLeft())
        result.errors.push_back("answers left over");

    Sheet saved = document.sheet();
    if (const Status s = saveSheetFile(saved, saveTo); !s)
        result.errors.push_back(s.error().message);
    result.printed = out.str();
    result.savedFile = testing::readBytes(saveTo);
    return result;
}

struct SessionCase {
    const char* name;
    const char* folder;
};

class RecordedBranchSession : public ::testing::TestWithParam<SessionCase> {};

TEST_P(RecordedBranchSession, PrintsAndSavesWhatWasRecorded) {
    const fs::path folder =
        fs::path(WIRELARK_SOURCE_DIR) / "tests/core/data/branch_dialog" / GetParam().folder;
    testing::TempFolder tmp;
    const Replayed r = replay(folder, tmp / "out.ksk");
    EXPECT_TRUE(r.errors.empty()) << ::testing::PrintToString(r.errors);
    EXPECT_EQ(r.printed, testing::readBytes(folder / "replay.txt"));
    EXPECT_TRUE(r.savedFile == testing::readBytes(folder / "out.ksk"))
        << "the saved sheet differs from " << (folder / "out.ksk");
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, RecordedBranchSession,
    ::testing::Values(
        SessionCase{"BranchRowGetsItsLengthAndCable", "branch_length_and_cable"},
        SessionCase{"SameDataBelowNumbersTheDwellings", "branch_run_numbering"},
        SessionCase{"SmallerCurrentAnsweredNoLowersTheMainDevice", "main_device_kept_no"},
        SessionCase{"TypedPercentageReachesTheRecalculation", "typed_supply_percentage"},
        SessionCase{"DropTooLargeThenCloseBoxWritesNothing", "drop_too_large_then_close"}),
    [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace wirelark
