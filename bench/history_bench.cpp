// Speed of undo and redo on a large sheet: taking back "全削除" and a feeder deletion at the
// top of the sheet (which renumbers every feeder below), and making them again. The step
// itself is measured too: its journal is what undo walks.
// Run: build/ci/bench/history_bench   (about 32,000 rows)

#include <benchmark/benchmark.h>

#include <memory>

#include "apartment_example.h"
#include "document.h"
#include "tree_editing.h"

using namespace wirelark;

namespace {

// The example building repeated to about 32,000 used rows (38 rows a copy).
std::unique_ptr<Document> largeDocument() {
    const Sheet one = examples::buildApartmentSheet();
    const int used = one.lastUsedRow() + 2;  // rows of one copy, with its blank separator
    const int copies = 32000 / used;
    Sheet big(copies * used + 20);
    for (int c = 0; c < copies; ++c)
        for (int r = 0; r < used; ++r)
            big.setRow(c * used + r, one.row(r));
    big.heading = one.heading;
    renumberFeeders(big);
    return std::make_unique<Document>(std::move(big));
}

void emptySheetStep(Document& d) {
    d.edit("全削除", [](Sheet& s) { emptySheet(s); });
}

void deleteFirstFeederStep(Document& d) {
    d.edit("No.1 を削除", [&d](Sheet& s) { deleteRows(s, MenuMode::Feeder, 0, 0, d.kansenno); });
}

void setRows(benchmark::State& state, const Document& d) {
    state.counters["rows"] = d.sheet().rowCount();
}

template <void (*Step)(Document&)>
void BM_Step(benchmark::State& state) {
    auto d = largeDocument();
    for (auto _ : state) {
        Step(*d);
        state.PauseTiming();
        d->undo();
        state.ResumeTiming();
    }
    setRows(state, *d);
}

template <void (*Step)(Document&)>
void BM_Undo(benchmark::State& state) {
    auto d = largeDocument();
    Step(*d);
    for (auto _ : state) {
        if (!d->undo())
            state.SkipWithError("nothing to undo");
        state.PauseTiming();
        d->redo();
        state.ResumeTiming();
    }
    setRows(state, *d);
}

template <void (*Step)(Document&)>
void BM_Redo(benchmark::State& state) {
    auto d = largeDocument();
    Step(*d);
    d->undo();
    for (auto _ : state) {
        if (!d->redo())
            state.SkipWithError("nothing to redo");
        state.PauseTiming();
        d->undo();
        state.ResumeTiming();
    }
    setRows(state, *d);
}

}  // namespace

BENCHMARK(BM_Step<emptySheetStep>)->Name("EmptySheet/step")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Undo<emptySheetStep>)->Name("EmptySheet/undo")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redo<emptySheetStep>)->Name("EmptySheet/redo")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Step<deleteFirstFeederStep>)
    ->Name("DeleteFirstFeeder/step")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Undo<deleteFirstFeederStep>)
    ->Name("DeleteFirstFeeder/undo")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Redo<deleteFirstFeederStep>)
    ->Name("DeleteFirstFeeder/redo")
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
