// wirelark-cli: the batch command over the same core as the desktop program.

#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"

#ifndef WIRELARK_VERSION
#error "WIRELARK_VERSION is set by the build from the project's version"
#endif

namespace {

// One subcommand: its name, what runs it, a line for the overview and its own help, which
// lists every option it takes. A new subcommand is one more row of the table.
struct Subcommand {
    std::string_view name;
    int (*run)(const wirelark::cli::Args&, std::ostream&, std::ostream&);
    std::string_view summary;
    std::string_view help;
};

constexpr std::string_view kHelpOption = "  -h, --help              この説明を表示します。\n";

const Subcommand kSubcommands[] = {
    {"recalc", wirelark::cli::runRecalc, "計算書ファイルを再計算・判定して別のファイルに保存する",
     "使い方: wirelark-cli recalc IN.ksk -o OUT.ksk [--supply transformer|utility|typed "
     "[--percent P]]\n"
     "計算書ファイル IN を開いたときと同じ状態で読み込み、各幹線を再計算して判定を付け、OUT\n"
     "に保存します。OUT はすべて成功したときだけ書き込みます。set.ini は読み書きしません。\n"
     "\n"
     "  -o OUT.ksk              保存先の計算書ファイル（必須）\n"
     "  --supply KIND           許容電圧降下の電源の種別:\n"
     "                            transformer  電気使用場所に設けた変圧器から供給（既定）\n"
     "                            utility      電気事業者から低圧で電気の供給を受ける\n"
     "                            typed        --percent の電圧降下(%)で計算する\n"
     "  --percent P             --supply typed の許容電圧降下(%)。0 より大きく 100 より小さい"
     "数値（既定 3）\n"},
    {"check", wirelark::cli::runCheck,
     "再計算して「判定の確認」の指摘を出力する（指摘があれば終了コード 1）",
     "使い方: wirelark-cli check IN.ksk [--supply transformer|utility|typed [--percent P]]\n"
     "recalc と同じ再計算をメモリ上で行い、「判定の確認」が表示する指摘を 1 行ずつ出力します。\n"
     "指摘があれば終了コード 1、なければ「判定は良好です。」を出力して 0 です。\n"
     "\n"
     "  --supply KIND           許容電圧降下の電源の種別: transformer（既定）、utility、typed\n"
     "  --percent P             --supply typed の許容電圧降下(%)（既定 3）\n"},
    {"tsv", wirelark::cli::runTsv, "クリッボードコピーのテキストを標準出力に出す",
     "使い方: wirelark-cli tsv IN.ksk [--feeder N]\n"
     "「クリッボードコピー」のテキスト（タブ区切り、行末 CR LF、UTF-8）を標準出力に出します。\n"
     "\n"
     "  --feeder N              No. N の幹線の行だけを出す（見出し行なし）\n"},
    {"replay", wirelark::cli::runReplay,
     "入力画面（メイン画面・幹線入力・分岐入力）の操作をスクリプトで再生する",
     "使い方: wirelark-cli replay [IN.ksk] [-o OUT.ksk] [--freq 60|50] SCRIPT|-\n"
     "メイン画面と入力画面の操作を記録したスクリプト（UTF-8、1 行 1 操作、タブ区切り）を\n"
     "画面なしで再生し、表示されたメッセージと閉じた入力画面の内容を標準出力に出します。\n"
     "IN がなければ空のシートから始めます。SCRIPT が - のときは標準入力から読みます。\n"
     "スクリプトの誤りは行番号を示して終了コード 2 で、そのときは OUT を書きません。\n"
     "\n"
     "  -o OUT.ksk              最後のシートの保存先\n"
     "  --freq 60|50            読み込んだあとの周波数（既定: シートのもの、IN がなければ 60）\n"},
    {"cable", wirelark::cli::runCable,
     "電線・ケーブル選択フォームの操作を再現し、選んだ電線・ケーブルの値を出力する",
     "使い方: wirelark-cli cable --group 電線群 --size サイズ [オプション...]\n"
     "電線・ケーブル選択フォームを幹線入力フォームから開いたときと同じ手順で操作し、\n"
     "電線・ケーブル名、R、X、許容電流、サイズキー、許容電流表の検索キーをタブ区切りの 1 行で\n"
     "出力します。\n"
     "\n"
     "  --group 電線群          電線群の名称（完全一致、必須）\n"
     "  --size サイズ           表のサイズ（必須）\n"
     "  --family 種別           ケーブル種別（既定: 電線群の最初の種別）\n"
     "  --method 配線方式       気中暗渠配線（既定）、保護管配線、地中保護管配線\n"
     "  --depth 深さ            H=300、H=600（既定）、H=1200\n"
     "  --system 電気方式       呼び出し元の電気方式（既定 単相3線）\n"
     "  --freq 60|50            周波数（既定 60）\n"
     "  --conductors 1..7       IV の同一管内の電線数（３本以下〜６０本以上、既定 1）\n"
     "  --ambient 温度          IV の周囲温度 ℃（既定 30）\n"
     "  --temp 温度             ケーブルの布設温度 ℃（既定: 配線方式の基準温度）\n"
     "  --tiers 1|2|3           段数（既定 1）\n"
     "  --spacing 間隔          S=d（既定）、S=2d、S=3d\n"
     "  --per-tier 列数         段数と間隔で選べる 1 段の列数（既定: 最初の項目）\n"},
    {"pdf", wirelark::cli::runPdf, "「印刷」と同じ計算書を PDF ファイルに書き出す",
     "使い方: wirelark-cli pdf IN.ksk -o OUT.pdf\n"
     "「印刷」ボタンと同じ計算書（A4 横、1 ページ 18 行）を PDF に書き出します。画面は\n"
     "いりません。\n"
     "\n"
     "  -o, --output OUT.pdf    書き出す PDF ファイル（必須）\n"},
    {"xlsx", wirelark::cli::runXlsx, "「エクセル変換」と同じブックを .xlsx ファイルに書き出す",
     "使い方: wirelark-cli xlsx IN.ksk -o OUT.xlsx [--by-feeder]\n"
     "「エクセル変換」と同じブックを書き出します。既定は 18 行ごとにシートを分けます。\n"
     "\n"
     "  -o, --output OUT.xlsx   書き出すブック（必須）\n"
     "  --by-feeder             幹線ごとにシートを分ける（１項目／シート）\n"},
};

void printOverview(std::ostream& out) {
    out << "使い方: wirelark-cli <サブコマンド> [引数...]\n"
           "        wirelark-cli <サブコマンド> --help\n"
           "        wirelark-cli --version\n"
           "\n"
           "サブコマンド:\n";
    std::size_t width = 0;
    for (const Subcommand& s : kSubcommands)
        width = std::max(width, s.name.size());
    for (const Subcommand& s : kSubcommands)
        out << "  " << s.name << std::string(width + 2 - s.name.size(), ' ') << s.summary << "\n";
    out << "\n"
           "  -h, --help    この説明を表示します。\n"
           "  --version     版を表示します。\n"
           "\n"
           "終了コード: 0 成功、1 check の指摘あり、2 指定の誤りまたは失敗（標準エラーに 1 行）\n";
}

bool asksForHelp(const wirelark::cli::Args& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> all(argv + 1, argv + argc);
    if (all.empty()) {
        printOverview(std::cerr);
        return 2;
    }
    if (all[0] == "--help" || all[0] == "-h") {
        printOverview(std::cout);
        return 0;
    }
    if (all[0] == "--version") {
        std::cout << "wirelark-cli " << WIRELARK_VERSION << "\n";
        return 0;
    }
    const wirelark::cli::Args args(all.begin() + 1, all.end());
    for (const Subcommand& s : kSubcommands) {
        if (all[0] != s.name)
            continue;
        if (asksForHelp(args)) {
            std::cout << s.help << kHelpOption;
            return 0;
        }
        return s.run(args, std::cout, std::cerr);
    }
    std::cerr << "不明なサブコマンドです: " << all[0]
              << "（wirelark-cli --help で使い方を表示します）\n";
    return 2;
}
