#include "replay_script.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <optional>

#include "number_text.h"

namespace wirelark {

namespace {

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (;;) {
        const auto tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

// A script is text: it holds valid UTF-8 and no control characters but the TAB between fields.
bool validText(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            if ((c < 0x20 && c != '\t') || c == 0x7f)
                return false;
            ++i;
            continue;
        }
        std::size_t n = 0;
        std::uint32_t cp = 0;
        if ((c & 0xe0) == 0xc0) {
            n = 1;
            cp = c & 0x1f;
        } else if ((c & 0xf0) == 0xe0) {
            n = 2;
            cp = c & 0x0f;
        } else if ((c & 0xf8) == 0xf0) {
            n = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        for (std::size_t k = 1; k <= n; ++k) {
            if (i + k >= s.size())
                return false;
            const auto cc = static_cast<unsigned char>(s[i + k]);
            if ((cc & 0xc0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3f);
        }
        const std::uint32_t least[] = {0, 0x80, 0x800, 0x10000};
        if (cp < least[n] || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
            return false;
        i += n + 1;
    }
    return true;
}

std::optional<int> readIndex(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 0)
        return std::nullopt;
    return value;
}

Expected<ReplayAction> parseLine(int number, const std::vector<std::string_view>& f) {
    using K = ReplayAction::Kind;
    ReplayAction a;
    a.line = number;
    const std::string_view verb = f[0];
    const auto fieldCount = [&](std::size_t n) -> std::optional<Error> {
        if (f.size() == n)
            return std::nullopt;
        return scriptError(number, "「" + std::string(verb) + "」のフィールドは " +
                                       std::to_string(n - 1) + " 個です（" +
                                       std::to_string(f.size() - 1) + " 個あります）。");
    };
    const auto needControl = [&](K kind, std::size_t n) -> std::optional<Error> {
        if (auto e = fieldCount(n))
            return e;
        if (f[1].empty())
            return scriptError(number, "「" + std::string(verb) + "」に部品の名前がありません。");
        a.kind = kind;
        a.control = std::string(f[1]);
        if (n == 3)
            a.text = std::string(f[2]);
        return std::nullopt;
    };

    if (verb == "open") {
        if (auto e = fieldCount(3))
            return *e;
        const auto row = readIndex(f[1]);
        const auto column = readIndex(f[2]);
        if (!row)
            return scriptError(
                number, "open の行「" + std::string(f[1]) + "」は 0 以上の整数ではありません。");
        if (!column || *column > 34)
            return scriptError(number, "open の列「" + std::string(f[2]) +
                                           "」は 0 から 34 の整数ではありません。");
        a.kind = K::Open;
        a.row = *row;
        a.column = *column;
    } else if (verb == "pick") {
        if (auto e = needControl(K::Pick, 3))
            return *e;
    } else if (verb == "type") {
        if (auto e = needControl(K::Type, 3))
            return *e;
    } else if (verb == "click") {
        if (auto e = needControl(K::Click, 2))
            return *e;
    } else if (verb == "dblclick") {
        if (auto e = needControl(K::DoubleClick, 2))
            return *e;
    } else if (verb == "close") {
        if (auto e = fieldCount(1))
            return *e;
        a.kind = K::Close;
    } else if (verb == "answer") {
        if (auto e = fieldCount(2))
            return *e;
        if (f[1] != "yes" && f[1] != "no")
            return scriptError(number, "answer は yes か no です: " + std::string(f[1]));
        a.kind = K::Answer;
        a.positive = f[1] == "yes";
    } else if (verb == "keypad") {
        if (auto e = fieldCount(2))
            return *e;
        a.kind = K::Keypad;
        if (f[1] == "cancel") {
            a.positive = false;
        } else {
            if (!std::all_of(f[1].begin(), f[1].end(),
                             [](char c) { return (c >= '0' && c <= '9') || c == '.'; }))
                return scriptError(number,
                                   "keypad のキーは数字と「.」だけです: " + std::string(f[1]));
            a.text = std::string(f[1]);
        }
    } else if (verb == "calculator") {
        if (auto e = fieldCount(2))
            return *e;
        a.kind = K::Calculator;
        if (f[1] == "none") {
            a.positive = false;
        } else {
            if (!readNumber(f[1]))
                return scriptError(number,
                                   "calculator の電流値が数値ではありません: " + std::string(f[1]));
            a.text = std::string(f[1]);
        }
    } else if (verb == "cable") {
        a.kind = K::Cable;
        if (f.size() == 2 && f[1] == "none") {
            a.positive = false;
            return a;
        }
        if (f.size() < 3 || f.size() % 2 == 0)
            return scriptError(number,
                               "cable には「オプション<TAB>値」の組か none を書いてください。");
        for (std::size_t i = 1; i + 1 < f.size(); i += 2) {
            const std::string_view name = f[i];
            if (std::find(std::begin(kReplayCableOptions), std::end(kReplayCableOptions), name) ==
                std::end(kReplayCableOptions))
                return scriptError(
                    number, "cable のオプション「" + std::string(name) +
                                "」は使えません（配線方式・埋設深さ・電気方式・周波数は呼び出した"
                                "画面とメイン画面のものを使います）。");
            const bool repeated =
                std::any_of(a.cableOptions.begin(), a.cableOptions.end(),
                            [&](const auto& option) { return option.first == name; });
            if (repeated)
                return scriptError(
                    number, "cable のオプション " + std::string(name) + " が 2 回あります。");
            a.cableOptions.emplace_back(std::string(name), std::string(f[i + 1]));
        }
        const bool sized = std::any_of(a.cableOptions.begin(), a.cableOptions.end(),
                                       [](const auto& option) { return option.first == "--size"; });
        if (!sized)
            return scriptError(number, "cable には --size を指定してください。");
    } else {
        return scriptError(number, "不明な操作です: " + std::string(verb));
    }
    return a;
}

}  // namespace

Error scriptError(int line, std::string_view what) {
    return Error{"スクリプト " + std::to_string(line) + " 行目: " + std::string(what)};
}

Expected<std::vector<ReplayAction>> parseReplayScript(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<ReplayAction> actions;
    int number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        if (!validText(line))
            return scriptError(
                number, "UTF-8 のテキストではありません（制御文字か不正なバイトがあります）。");
        if (line.empty() || line.starts_with('#'))
            continue;
        auto action = parseLine(number, splitTabs(line));
        if (!action)
            return action.error();
        actions.push_back(std::move(*action));
    }
    return actions;
}

}  // namespace wirelark
