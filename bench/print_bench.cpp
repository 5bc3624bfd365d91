// Speed of printing a large sheet to a PDF file through QPrinter: the pages drawn straight into
// the file as the print did before it showed its progress, the print as it is now (a temporary
// file that replaces the target once every page is drawn), the same with a progress callback
// that handles the window's events after every page, and "印刷" pressed in the main window with
// its progress panel. The layout is measured on its own, so the window's figure can be set
// against the layout and the drawing. Drawn off screen.
// Run: build/ci/bench/print_bench   (about 32,000 rows, 1,773 pages)

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>

#include "KANSEN.h"
#include "apartment_example.h"
#include "japanese_fonts.h"
#include "page_painter.h"
#include "print_layout.h"
#include "services.h"
#include "tree_editing.h"

using namespace wirelark;

namespace {

constexpr int kRows = 32000;

// The example building repeated until the sheet has about `rows` used rows (38 rows a copy).
Sheet sheetOfAbout(int rows) {
    const Sheet one = examples::buildApartmentSheet();
    const int used = one.lastUsedRow() + 2;  // rows of one copy, with its blank separator
    const int copies = std::max(1, rows / used);
    Sheet big(copies * used + 20);
    for (int c = 0; c < copies; ++c)
        for (int r = 0; r < used; ++r)
            big.setRow(c * used + r, one.row(r));
    big.heading = one.heading;
    renumberFeeders(big);
    return big;
}

const PrintedSheet& printedSheet() {
    static const PrintedSheet printed = [] {
        Sheet sheet = sheetOfAbout(kRows);
        return layoutPrintJob(sheet);
    }();
    return printed;
}

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

QString pdfPath() {
    return folder().filePath(QStringLiteral("sheet.pdf"));
}

// The printer the print dialog gives for "Print to File (PDF)".
std::unique_ptr<QPrinter> pdfPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(pdfPath());
    return printer;
}

void setPages(benchmark::State& state) {
    state.counters["pages"] = static_cast<double>(printedSheet().pages.size());
}

void BM_LayoutPrintJob(benchmark::State& state) {
    const Sheet original = sheetOfAbout(kRows);
    for (auto _ : state) {
        state.PauseTiming();
        Sheet sheet = original;
        state.ResumeTiming();
        benchmark::DoNotOptimize(layoutPrintJob(sheet));
    }
    setPages(state);
}
BENCHMARK(BM_LayoutPrintJob)->Unit(benchmark::kMillisecond)->Iterations(2);

// The print as it was: every page drawn straight into the target file.
void BM_PrintStraightIntoTheFile(benchmark::State& state) {
    for (auto _ : state) {
        const auto printer = pdfPrinter();
        preparePrinter(*printer, QStringLiteral("bench"));
        if (!paintSheet(*printer, printedSheet()))
            state.SkipWithError("print failed");
    }
    setPages(state);
}
BENCHMARK(BM_PrintStraightIntoTheFile)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_PrintSheet(benchmark::State& state) {
    for (auto _ : state) {
        const auto printer = pdfPrinter();
        if (!printSheet(*printer, printedSheet()))
            state.SkipWithError("print failed");
    }
    setPages(state);
}
BENCHMARK(BM_PrintSheet)->Unit(benchmark::kMillisecond)->Iterations(2);

// The callback's own cost: the events handled after every page, as the window does.
void BM_PrintSheetWithProgress(benchmark::State& state) {
    for (auto _ : state) {
        const auto printer = pdfPrinter();
        int shown = 0;
        const auto ended = printSheet(*printer, printedSheet(), [&shown](int drawn, int) {
            shown = drawn;
            QCoreApplication::processEvents();
            return true;
        });
        if (!ended || shown != static_cast<int>(printedSheet().pages.size()))
            state.SkipWithError("print failed");
    }
    setPages(state);
}
BENCHMARK(BM_PrintSheetWithProgress)->Unit(benchmark::kMillisecond)->Iterations(2);

class SilentPrompter final : public Prompter {
  public:
    void info(const QString&) override { ++messages; }
    void warning(const QString&) override { ++messages; }
    bool question(const QString&) override { return true; }
    int messages = 0;
};

class PdfPrinters final : public PrinterChooser {
  public:
    std::unique_ptr<QPrinter> choosePrinter() override { return pdfPrinter(); }
};

// "印刷" in the main window: the page plan and the layout, then every page with the progress
// panel over the window.
void BM_PrintFromTheWindow(benchmark::State& state) {
    SilentPrompter prompter;
    DesktopServices desktop;
    PdfPrinters printers;
    TForm1 form(Services{prompter, desktop.modal, desktop.files, desktop.clipboard, desktop.clock,
                         printers, desktop.exports, desktop.opener},
                TForm1::StartUp{QStringLiteral("/nonexistent/wirelark"), QString()});
    form.document().replace([](Sheet& sheet) { sheet = sheetOfAbout(kRows); });
    form.show();
    QApplication::processEvents();
    auto* print = form.findChild<QPushButton*>(QStringLiteral("Button24"));
    for (auto _ : state)
        print->click();
    if (prompter.messages != 0)
        state.SkipWithError("the print reported a failure");
    setPages(state);
}
BENCHMARK(BM_PrintFromTheWindow)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    registerJapaneseFonts();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
