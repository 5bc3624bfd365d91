// pdf and xlsx: the printed sheet as a PDF file and the spreadsheet workbook, from a sheet file.
// They live in a module of their own, loaded only when one of them runs: printing needs Qt Gui
// and the workbook libxlsxwriter, and linking those into the command itself would make every
// recalc, check or tsv load them (about half its memory and a fifth of its time on a large
// sheet).

#include <cstdio>

#include <QByteArray>
#include <QGuiApplication>
#include <QString>

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>

#include "commands.h"
#include "japanese_fonts.h"
#include "message_text.h"
#include "output.h"
#include "output_module.h"
#include "page_painter.h"
#include "print_layout.h"
#include "sheet.h"
#include "sheet_file.h"
#include "workbook_layout.h"
#include "workbook_writer.h"

namespace wirelark::cli {

namespace {

struct OutputArgs {
    std::string input;
    std::string output;
    bool byFeeder = false;
};

// IN -o OUT, plus --by-feeder where `allowByFeeder`. Returns the error line on bad arguments.
Expected<OutputArgs> parseOutputArgs(const Args& args, bool allowByFeeder) {
    OutputArgs parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-o" || a == "--output") {
            if (i + 1 >= args.size())
                return Error{"-o の後に出力ファイルを指定してください。"};
            parsed.output = args[++i];
        } else if (allowByFeeder && a == "--by-feeder") {
            parsed.byFeeder = true;
        } else if (!a.empty() && a[0] == '-') {
            return Error{"不明なオプションです: " + quotedText(a)};
        } else if (parsed.input.empty()) {
            parsed.input = a;
        } else {
            return Error{"入力ファイルは一つだけ指定してください: " + quotedText(a)};
        }
    }
    if (parsed.input.empty())
        return Error{"入力ファイル (.ksk) を指定してください。"};
    if (parsed.output.empty())
        return Error{std::string(kNoOutputFileMessage)};
    return parsed;
}

// Arguments arrive as UTF-8.
std::filesystem::path pathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

Expected<Sheet> loadSheet(const std::string& path) {
    Sheet sheet;
    if (Status loaded = loadSheetFile(sheet, pathOf(path)); !loaded)
        return loaded.error();
    return sheet;
}

int fail(std::ostream& err, const std::string& message) {
    err << message << "\n";
    return 2;
}

int pdfCommand(const Args& args, std::ostream& /*out*/, std::ostream& err) {
    const auto parsed = parseOutputArgs(args, false);
    if (!parsed)
        return fail(err, parsed.error().message);
    auto sheet = loadSheet(parsed->input);
    if (!sheet)
        return fail(err, sheet.error().message);

    // Checked before anything is written: a sheet that cannot be printed completely gives no
    // file at all, not a PDF that stops in the middle of a page.
    const PrintedSheet printed = layoutPrintJob(*sheet);
    if (printed.failure)
        return fail(err, std::string(kPrintFailedMessage) + printed.failure->message);

    // Fonts and painting need the application object, but never a screen. Qt's notes about
    // the environment (a missing runtime folder, say) are no business of a batch run, whose
    // standard error carries its own one-line messages: only Qt's errors pass.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(text));
    });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    int argc = 1;
    char name[] = "wirelark-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    registerJapaneseFonts();
    const Status written = writePdf(printed, QString::fromStdString(parsed->output));
    if (!written)
        return fail(err, written.error().message);
    return 0;
}

int xlsxCommand(const Args& args, std::ostream& /*out*/, std::ostream& err) {
    const auto parsed = parseOutputArgs(args, true);
    if (!parsed)
        return fail(err, parsed.error().message);
    auto sheet = loadSheet(parsed->input);
    if (!sheet)
        return fail(err, sheet.error().message);
    const auto book = layoutExport(
        *sheet, parsed->byFeeder ? WorkbookExport::PerFeeder : WorkbookExport::EighteenRows);
    if (!book)
        return fail(err, book.error().message);
    const Status written = writeWorkbook(*book, pathOf(parsed->output));
    if (!written)
        return fail(err, written.error().message);
    return 0;
}

}  // namespace

}  // namespace wirelark::cli

extern "C" WIRELARK_OUTPUT_EXPORT int wirelark_run_output_command(const char* name,
                                                                  const wirelark::cli::Args* args,
                                                                  std::ostream* out,
                                                                  std::ostream* err) {
    const std::string_view command(name);
    if (command == "pdf")
        return wirelark::cli::pdfCommand(*args, *out, *err);
    if (command == "xlsx")
        return wirelark::cli::xlsxCommand(*args, *out, *err);
    *err << "不明なサブコマンドです: " << command << "\n";
    return 2;
}
