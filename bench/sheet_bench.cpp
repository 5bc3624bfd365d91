// Speed of the operations an engineer waits for on a large sheet: opening it, recalculating
// every feeder block, the cell checks the grid runs after each change, writing a branch row
// back from its dialog, and saving it.
// Run: build/ci/bench/sheet_bench   (sizes: about 1,000, 8,000, 32,000 and 128,000 rows)

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

#include "apartment_example.h"
#include "branch_dialog.h"
#include "branch_hand_off.h"
#include "checks.h"
#include "encoding.h"
#include "file_io.h"
#include "recalculation.h"
#include "sheet_file.h"
#include "tree_editing.h"

using namespace wirelark;

namespace {

// The example building repeated until the sheet has about `rows` used rows.
const Sheet& sheetOfAbout(int rows) {
    static std::map<int, Sheet> cache;
    auto it = cache.find(rows);
    if (it == cache.end())
        it = cache.emplace(rows, examples::buildLargeSheet(rows)).first;
    return it->second;
}

const std::filesystem::path& fileOfAbout(int rows) {
    static std::map<int, std::filesystem::path> files;
    auto it = files.find(rows);
    if (it == files.end()) {
        const auto path = std::filesystem::temp_directory_path() /
                          ("wirelark-bench-" + std::to_string(rows) + ".ksk");
        Sheet copy = sheetOfAbout(rows);
        if (!saveSheetFile(copy, path))
            std::abort();
        it = files.emplace(rows, path).first;
    }
    return it->second;
}

void setRows(benchmark::State& state, const Sheet& sheet) {
    state.counters["rows"] = sheet.lastUsedRow() + 1;
}

void BM_Load(benchmark::State& state) {
    const auto& path = fileOfAbout(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        Sheet sheet;
        if (!loadSheetFile(sheet, path))
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(sheet);
    }
    setRows(state, sheetOfAbout(static_cast<int>(state.range(0))));
}

// The whole sheet as `wirelark-cli recalc` recalculates it, with one part per processor; the
// CPU time is the whole process's, every thread's together.
void recalculateEveryBlock(benchmark::State& state, SheetThreads threads) {
    const Sheet& original = sheetOfAbout(static_cast<int>(state.range(0)));
    // The copy recalculated is made, and the one before it freed, outside the timing.
    std::optional<Sheet> sheet;
    for (auto _ : state) {
        state.PauseTiming();
        sheet.reset();
        sheet.emplace(original);
        state.ResumeTiming();
        if (!recalculateSheet(*sheet, SupplyKind::Transformer, threads))
            state.SkipWithError("recalculation failed");
        benchmark::DoNotOptimize(*sheet);
    }
    setRows(state, original);
}

void BM_RecalculateEveryBlock(benchmark::State& state) {
    recalculateEveryBlock(state, SheetThreads{});
}

// The same on one thread.
void BM_RecalculateEveryBlockOnOneThread(benchmark::State& state) {
    recalculateEveryBlock(state, SheetThreads{1, 1});
}

void BM_CellChecks(benchmark::State& state) {
    Sheet sheet = sheetOfAbout(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(applyCellChecks(sheet, 0, sheet.rowCount() - 1));
    setRows(state, sheet);
}

void BM_Save(benchmark::State& state) {
    Sheet sheet = sheetOfAbout(static_cast<int>(state.range(0)));
    const auto path = std::filesystem::temp_directory_path() / "wirelark-bench-save.ksk";
    for (auto _ : state)
        if (!saveSheetFile(sheet, path))
            state.SkipWithError("save failed");
    std::filesystem::remove(path);
    setRows(state, sheet);
}

// A host that answers nothing: the branch row below confirms without a box.
struct SilentHost : DialogHost {
    void info(std::string_view) override {}
    bool question(std::string_view) override { return false; }
    void focus(std::string_view) override {}
    void beep() override {}
    std::optional<std::string> keypad() override { return std::nullopt; }
    std::optional<std::string> calculator() override { return std::nullopt; }
    std::optional<CableChoice> chooseCable(const CableRequest&) override { return std::nullopt; }
};

// A branch row of the last feeder confirmed in its dialog and written back: the write is
// checked on a copy of the sheet first, so its cost grows with the sheet, not only the block.
void BM_BranchWriteBack(benchmark::State& state) {
    Document document(sheetOfAbout(static_cast<int>(state.range(0))));
    CableSelection cables;
    BranchDialog dialog(document, cables);
    SilentHost host;
    int row = document.sheet().lastUsedRow();
    while (row > 0 && !classifyRow(document.sheet().cell(row, col::glyph)).isBranch())
        --row;
    for (auto _ : state) {
        if (!openBranchRow(document, row, dialog, host))
            state.SkipWithError("the row does not open");
        dialog.FormActivate(host, 6);
        if (!dialog.Button4Click(host) || !writeBranchRow(document, row, dialog, host))
            state.SkipWithError("the row is not written");
    }
    setRows(state, document.sheet());
}

constexpr int kSmall = 1000, kMedium = 8000, kLarge = 32000, kHuge = 128000;

}  // namespace

BENCHMARK(BM_Load)->Arg(kSmall)->Arg(kMedium)->Arg(kLarge)->Arg(kHuge)->Unit(
    benchmark::kMillisecond);
BENCHMARK(BM_RecalculateEveryBlock)
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Arg(kHuge)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecalculateEveryBlockOnOneThread)
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Arg(kHuge)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellChecks)
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Arg(kHuge)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BranchWriteBack)
    ->Arg(kSmall)
    ->Arg(kMedium)
    ->Arg(kLarge)
    ->Arg(kHuge)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)->Arg(kSmall)->Arg(kMedium)->Arg(kLarge)->Arg(kHuge)->Unit(
    benchmark::kMillisecond);

BENCHMARK_MAIN();
