// wirelark-cli: the batch command over the same core as the desktop program.

#include <iostream>
#include <string>
#include <vector>

#include "commands.h"

namespace {

struct Subcommand {
    const char* name;
    int (*run)(const wirelark::cli::Args&, std::ostream&, std::ostream&);
    const char* usage;
};

const Subcommand kSubcommands[] = {
    {"recalc", wirelark::cli::runRecalc,
     "recalc IN.ksk -o OUT.ksk [--supply transformer|utility|typed [--percent P]]   再計算して OUT "
     "に保存"},
    {"check", wirelark::cli::runCheck,
     "check IN.ksk [--supply transformer|utility|typed [--percent P]]   "
     "判定の確認（指摘があれば終了コード 1）"},
    {"tsv", wirelark::cli::runTsv, "tsv IN.ksk [--feeder N]   クリップボードコピーのテキスト"},
    {"replay", wirelark::cli::runReplay,
     "replay [IN.ksk] [-o OUT.ksk] [--freq 60|50] SCRIPT|-   入力画面の操作をスクリプトで再生"},
    {"cable", wirelark::cli::runCable,
     "cable --group 電線群 --size サイズ [--family 種別] [--method 気中暗渠配線|保護管配線|"
     "地中保護管配線] [--depth H=300|H=600|H=1200] [--system 電気方式] [--freq 60|50] "
     "[--conductors 1..7] [--ambient 温度] [--temp 温度] [--tiers 1|2|3] "
     "[--spacing S=d|S=2d|S=3d] [--per-tier 列数]"},
    {"pdf", wirelark::cli::runPdf, "pdf IN.ksk -o OUT.pdf   印刷と同じ計算書を PDF に"},
    {"xlsx", wirelark::cli::runXlsx,
     "xlsx IN.ksk -o OUT.xlsx [--by-feeder]   エクセル変換（18 行毎、または幹線毎）"},
};

void printUsage(std::ostream& out) {
    out << "使い方: wirelark-cli <サブコマンド> [引数...]\n";
    for (const Subcommand& s : kSubcommands)
        if (s.run)
            out << "  " << s.usage << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (all.empty() || all[0] == "--help" || all[0] == "-h") {
        printUsage(all.empty() ? std::cerr : std::cout);
        return all.empty() ? 2 : 0;
    }
    const wirelark::cli::Args args(all.begin() + 1, all.end());
    for (const Subcommand& s : kSubcommands)
        if (s.run && all[0] == s.name)
            return s.run(args, std::cout, std::cerr);
    std::cerr << "不明なサブコマンドです: " << all[0] << "\n";
    return 2;
}
