#include "replay_session.h"

#include <algorithm>
#include <optional>
#include <string>

#include "branch_hand_off.h"
#include "cable_catalogue.h"
#include "checks.h"
#include "feeder_row_edit.h"
#include "row_kind.h"
#include "sheet.h"

namespace wirelark {

// An error of the script raised while a dialog runs (a modal window nothing answers): it
// unwinds the dialog's handler to the replay, which reports it for the line being run.
struct ReplaySession::ScriptFailure {
    Error error;
};

namespace {

std::string_view supplyName(SupplyKind kind) {
    switch (kind) {
        case SupplyKind::Transformer:
            return "transformer";
        case SupplyKind::Utility:
            return "utility";
        case SupplyKind::Typed:
            return "typed";
    }
    return "transformer";
}

std::string_view stateName(ScriptableDialog::State state) {
    switch (state) {
        case ScriptableDialog::State::Open:
            return "open";
        case ScriptableDialog::State::Confirmed:
            return "confirmed";
        case ScriptableDialog::State::Cancelled:
            return "cancelled";
    }
    return "open";
}

std::string_view answerName(ReplayAction::Kind kind) {
    switch (kind) {
        case ReplayAction::Kind::Answer:
            return "answer";
        case ReplayAction::Kind::Keypad:
            return "keypad";
        case ReplayAction::Kind::Calculator:
            return "calculator";
        case ReplayAction::Kind::Cable:
            return "cable";
        default:
            return "?";
    }
}

std::string optionValue(const ReplayAction& a, std::string_view name) {
    for (const auto& [option, value] : a.cableOptions)
        if (option == name)
            return value;
    return {};
}

bool hasOption(const ReplayAction& a, std::string_view name) {
    return std::any_of(a.cableOptions.begin(), a.cableOptions.end(),
                       [&](const auto& option) { return option.first == name; });
}

}  // namespace

// The windows the dialogs open, answered from the script.
class ReplaySession::Host final : public DialogHost {
  public:
    explicit Host(ReplaySession& session) : m_s(session) {}

    void info(std::string_view text) override { m_s.m_out << "info\t" << text << '\n'; }

    bool question(std::string_view text) override {
        const ReplayAction a = take(ReplayAction::Kind::Answer, "質問");
        m_s.m_out << "question\t" << text << '\t' << (a.positive ? "yes" : "no") << '\n';
        return a.positive;
    }

    void focus(std::string_view) override {}
    void beep() override {}

    std::optional<std::string> keypad() override {
        const ReplayAction a = take(ReplayAction::Kind::Keypad, "数値入力（キーパッド）");
        Keypad& pad = m_s.m_keypad;
        pad.FormShow();
        if (!a.positive) {
            pad.Button23Click();
            return std::nullopt;
        }
        for (char key : a.text)
            pad.press(key);
        return pad.Button14Click();
    }

    std::optional<std::string> calculator() override {
        const ReplayAction a = take(ReplayAction::Kind::Calculator, "電流計算フォーム");
        if (!a.positive)
            return std::nullopt;
        return a.text;
    }

    std::optional<CableChoice> chooseCable(const CableRequest& request) override {
        const ReplayAction a = take(ReplayAction::Kind::Cable, "電線・ケーブル選択フォーム");
        CableSelection& dialog = m_s.m_cables;
        dialog.activate(request.context);
        if (!a.positive)
            return std::nullopt;
        const auto refuse = [&](const std::string& what) {
            return ScriptFailure{scriptError(a.line, "cable: " + what)};
        };
        const auto apply = [&](const Status& s) {
            if (!s)
                throw refuse(s.error().message);
        };
        if (hasOption(a, "--group")) {
            const std::string group = optionValue(a, "--group");
            if (findCableGroup(group) == nullptr)
                throw refuse("電線・ケーブル「" + group + "」は一覧にありません。");
            dialog.selectGroup(group);
        }
        if (hasOption(a, "--family"))
            apply(dialog.pickFamily(optionValue(a, "--family")));
        const bool conductorPanel = dialog.correctionPanel() == CorrectionPanel::ConductorCount;
        for (const char* name : {"--conductors", "--ambient"})
            if (hasOption(a, name) && !conductorPanel)
                throw refuse(std::string(name) + " は IV 電線（IV、EM IE/F）にだけ指定できます。");
        if (hasOption(a, "--conductors")) {
            const std::string text = optionValue(a, "--conductors");
            const auto n = readInteger(text);
            if (!n || *n < 1 || *n > 7)
                throw refuse("--conductors は 1 から 7 です: " + text);
            apply(dialog.chooseConductorCount(static_cast<int>(*n)));
        }
        if (hasOption(a, "--ambient"))
            apply(dialog.chooseAmbient(optionValue(a, "--ambient")));
        if (hasOption(a, "--temp"))
            apply(dialog.chooseInstallationTemperature(optionValue(a, "--temp")));
        if (hasOption(a, "--tiers"))
            apply(dialog.chooseTiers(optionValue(a, "--tiers")));
        if (hasOption(a, "--spacing"))
            apply(dialog.chooseSpacing(optionValue(a, "--spacing")));
        if (hasOption(a, "--per-tier"))
            apply(dialog.chooseCablesPerTier(optionValue(a, "--per-tier")));

        const std::string size = optionValue(a, "--size");
        const auto& grid = dialog.impedanceGrid();
        int row = -1;
        for (int r = kImpedanceHeaderRows; r < kImpedanceGridRows && row < 0; ++r)
            if (!size.empty() && grid[static_cast<std::size_t>(r)][0] == size)
                row = r;
        if (row < 0)
            throw refuse("サイズ「" + size + "」は電線・ケーブル「" + dialog.selectorText() +
                         "」の表にありません。");
        dialog.clickRow(row);
        std::optional<CableChoice> choice = dialog.doubleClickRow(row);
        if (!choice)
            throw refuse("サイズ「" + size + "」の行から電線・ケーブルを取り出せません。");
        return choice;
    }

  private:
    // The answer at the head of the queue, which must be of the kind the window needs.
    ReplayAction take(ReplayAction::Kind kind, std::string_view window) {
        if (m_s.m_answers.empty())
            throw ScriptFailure{scriptError(m_s.m_line, std::string(window) + "が開きましたが、" +
                                                            std::string(answerName(kind)) +
                                                            " の答えがありません。")};
        ReplayAction a = m_s.m_answers.front();
        if (a.kind != kind)
            throw ScriptFailure{
                scriptError(m_s.m_line, std::string(window) + "が開きましたが、次の答えは " +
                                            std::to_string(a.line) + " 行目の " +
                                            std::string(answerName(a.kind)) + " です。")};
        m_s.m_answers.pop_front();
        return a;
    }

    ReplaySession& m_s;
};

ReplaySession::ReplaySession(Document& document, std::ostream& out)
    : m_document(document),
      m_out(out),
      m_feeder(document, m_cables),
      m_branch(document, m_cables) {}

ReplaySession::~ReplaySession() = default;

// The main window's activation: the feeder counter and the number of systems start again (the
// renumbering gives every new feeder its place), and the settings file is not read.
void ReplaySession::mainWindowActivate() {
    m_document.kansenno = 1;
    m_document.keitou = 1;
}

// The grid's drawing marks the failing cells and writes their verdicts.
void ReplaySession::redraw() {
    m_document.amend([](Sheet& sheet) { (void)applyCellChecks(sheet, 0, sheet.rowCount() - 1); });
}

void ReplaySession::reportDialog(std::string_view state) {
    m_out << m_openName << '\t' << state << '\n';
    for (const auto& [control, text] : m_open->report())
        m_out << control << '\t' << text << '\n';
    m_out << "supply\t" << supplyName(m_document.supply().kind) << '\n';
    m_out << "patan\t" << m_document.patan << '\n';
    m_out << "keitou\t" << m_document.keitou << '\n';
}

void ReplaySession::open(const ReplayAction& a, Host& host) {
    if (m_open)
        throw ScriptFailure{scriptError(a.line, "入力画面が開いたままです。先に閉じてください。")};
    const Sheet& sheet = m_document.sheet();
    if (a.row >= sheet.rowCount())
        throw ScriptFailure{
            scriptError(a.line, "行 " + std::to_string(a.row) + " はシートにありません（" +
                                    std::to_string(sheet.rowCount()) + " 行です）。")};
    // The glyph decides the dialog, as the main window's double-click does: the rows of a
    // residential feeder's tree belong to the branch dialog, every other row to the feeder dialog.
    const RowClass kind = classifyRow(sheet.cell(a.row, col::glyph));
    if (kind.isResidential()) {
        if (!openBranchRow(m_document, a.row, m_branch, host))
            throw ScriptFailure{scriptError(
                a.line, "行 " + std::to_string(a.row) + " の分岐の入力画面は開けません。")};
        m_open = &m_branch;
        m_openName = "TForm4";
        m_openRow = a.row;
        m_branch.FormActivate(host, a.column);
        return;
    }
    prepareFeederDialog(m_feeder, m_document, a.row, a.column, host);
    m_open = &m_feeder;
    m_openName = "TForm2";
    m_openRow = a.row;
    m_feeder.show(host);
}

void ReplaySession::dialogClosed(Host& host) {
    reportDialog(stateName(m_open->state()));
    if (m_open == &m_feeder)
        writeBackFeederDialog(m_feeder, m_document, m_openRow, host);
    if (m_open == &m_branch)
        writeBranchRow(m_document, m_openRow, m_branch, host);
    m_open = nullptr;
    redraw();
    mainWindowActivate();
}

void ReplaySession::act(const ReplayAction& a, Host& host) {
    using K = ReplayAction::Kind;
    if (!m_open)
        throw ScriptFailure{scriptError(a.line, "入力画面が開いていません（open で開きます）。")};
    Status done = success();
    switch (a.kind) {
        case K::Pick:
            done = m_open->pick(a.control, a.text, host);
            break;
        case K::Type:
            done = m_open->type(a.control, a.text, host);
            break;
        case K::Click:
            done = m_open->click(a.control, host);
            break;
        case K::DoubleClick:
            done = m_open->doubleClick(a.control, host);
            break;
        case K::Close:
            m_open->close(host);
            break;
        default:
            break;
    }
    if (!done)
        throw ScriptFailure{scriptError(a.line, done.error().message)};
    if (m_open->state() != ScriptableDialog::State::Open)
        dialogClosed(host);
}

Status ReplaySession::run(const std::vector<ReplayAction>& actions) {
    Host host(*this);
    try {
        redraw();
        mainWindowActivate();
        for (const ReplayAction& a : actions) {
            m_line = a.line;
            if (a.isAnswer())
                m_answers.push_back(a);
            else if (a.kind == ReplayAction::Kind::Open)
                open(a, host);
            else
                act(a, host);
        }
        if (m_open)
            reportDialog("open");
        if (!m_answers.empty())
            return scriptError(m_answers.front().line,
                               std::string(answerName(m_answers.front().kind)) +
                                   " の答えが使われずに残りました。");
    } catch (const ScriptFailure& failure) {
        return failure.error;
    }
    return success();
}

}  // namespace wirelark
