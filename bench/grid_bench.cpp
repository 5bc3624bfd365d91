// Speed of the main window's grid on a large sheet: what the engineer waits for after every
// change (the step with its cell checks, and the redraw), after undoing "全削除", and while
// scrolling. Drawn off screen.
// Run: build/ci/bench/grid_bench   (about 32,000 rows)

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>
#include <QTableView>

#include <memory>
#include <string>

#include "KANSEN.h"
#include "apartment_example.h"
#include "services.h"
#include "tree_editing.h"

using namespace wirelark;

namespace {

class SilentPrompter final : public Prompter {
  public:
    void info(const QString&) override {}
    void warning(const QString&) override {}
    bool question(const QString&) override { return true; }
};

struct Window {
    SilentPrompter prompter;
    DesktopServices desktop;
    std::unique_ptr<TForm1> form;
    QTableView* grid = nullptr;

    Window() {
        form = std::make_unique<TForm1>(
            Services{prompter, desktop.modal, desktop.files, desktop.clipboard, desktop.clock,
                     desktop.printers, desktop.exports, desktop.opener},
            TForm1::StartUp{QStringLiteral("/nonexistent/wirelark"), QString()});
        const Sheet one = examples::buildApartmentSheet();
        const int used = one.lastUsedRow() + 2;
        const int copies = 32000 / used;
        form->document().replace([&](Sheet& sheet) {
            sheet.setRowCount(copies * used + 20);
            for (int c = 0; c < copies; ++c)
                for (int r = 0; r < used; ++r)
                    sheet.setRow(c * used + r, one.row(r));
            renumberFeeders(sheet);
        });
        form->show();
        QApplication::processEvents();
        grid = form->findChild<QTableView*>(QStringLiteral("StringGrid1"));
    }
};

Window& window() {
    static Window w;
    return w;
}

// An edit anywhere: one step, the cell checks of every row in it, then the grid redrawn.
void BM_ChangeOfALargeSheet(benchmark::State& state) {
    Window& w = window();
    int n = 0;
    for (auto _ : state) {
        w.form->document().edit("備考を変更", [&n](Sheet& s) {
            s.setCell(0, col::remarks, "メモ" + std::to_string(++n));
        });
        w.grid->viewport()->repaint();
    }
    state.counters["rows"] = w.form->sheet().rowCount();
}
BENCHMARK(BM_ChangeOfALargeSheet)->Unit(benchmark::kMillisecond);

// "全削除" taken back with Ctrl+Z: the rows come back, are checked and drawn.
void BM_UndoEmptyingInTheWindow(benchmark::State& state) {
    Window& w = window();
    w.form->N11Click();
    for (auto _ : state) {
        w.form->N14Click();
        w.grid->viewport()->repaint();
        state.PauseTiming();
        w.form->N15Click();
        state.ResumeTiming();
    }
    w.form->N14Click();
    state.counters["rows"] = w.form->sheet().rowCount();
}
BENCHMARK(BM_UndoEmptyingInTheWindow)->Unit(benchmark::kMillisecond);

// One screenful drawn at another place of the sheet.
void BM_ScrollAndDraw(benchmark::State& state) {
    Window& w = window();
    QScrollBar* bar = w.grid->verticalScrollBar();
    int value = 0;
    for (auto _ : state) {
        value = (value + 7919) % std::max(1, bar->maximum());
        bar->setValue(value);
        w.grid->viewport()->repaint();
    }
}
BENCHMARK(BM_ScrollAndDraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
