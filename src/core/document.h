#pragma once
// The open calculation sheet and the state the main window shares with the input dialogs: the
// sheet itself, the current feeder block (`s1`, `e1`), the feeder counter `kansenno`, the
// pattern `patan` and the number of systems `keitou` of the feeder dialog, the supply choice of
// the allowable drop, the frequency lock and the unsaved-work flag. Windows and the batch
// `replay` hold a reference to the one document; whoever changes it goes through its methods,
// and every listener hears what changed.
//
// Every change the user makes to the sheet is one step of the document's history, which undo
// and redo walk. A step keeps only what it changed: the sheet records the old contents of the
// rows while the step runs (sheet_journal.h), and the heading, the settings and the frequency
// lock as they were before and after. The checks the grid shows (the red cells and the
// verdicts they write) run at the end of every step, inside it, so undoing a step restores the
// verdicts with the cells.

#include <cstdint>
#include <deque>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "checks.h"
#include "circuit_rules.h"
#include "sheet.h"
#include "sheet_journal.h"

namespace wirelark {

class Document {
  public:
    enum class Change {
        Cells,     // cells of the sheet changed (rows may have been added or removed)
        Replaced,  // a new sheet: opened from a file, or a new program
        Supply,    // the supply choice of the allowable drop
        FrequencyLock,
        Unsaved,  // the unsaved-work flag
    };
    using Listener = std::function<void(Change)>;

    // Steps the history keeps; older ones are forgotten.
    static constexpr int kHistoryDepth = 100;

    Document();
    explicit Document(Sheet sheet);
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;
    ~Document();

    const Sheet& sheet() const { return m_sheet; }

    // One change the user makes to the sheet: `apply` gets the sheet to change and its result
    // is returned. What it changed becomes one step of the history named `stepName` (the undo
    // menu shows it: "元に戻す（No.3 を削除）"), the unsaved-work flag is set and the listeners
    // hear of it. A step that changes nothing leaves no trace. An edit inside an edit belongs
    // to the outer step. When `apply` throws, everything it changed is taken back.
    template <class F>
    decltype(auto) edit(std::string_view stepName, F&& apply) {
        StepGuard guard(*this, stepName);
        return std::forward<F>(apply)(m_sheet);
    }

    // The same, all or nothing: when the result of `apply` reports a failure (a Status or an
    // Expected that is false, or a result whose `status` is), everything it changed is taken
    // back and no step is left; the result is returned all the same, for its message.
    template <class F>
    auto editAllOrNothing(std::string_view stepName, F&& apply) {
        StepGuard guard(*this, stepName);
        auto result = std::forward<F>(apply)(m_sheet);
        if (!succeeded(result))
            guard.rollBack();
        return result;
    }

    // A sheet that replaces the one open (opened from a file, a new program): `apply` fills
    // it. A new history starts, the unsaved-work flag is cleared and the listeners hear of a
    // new sheet. When `apply` reports a failure (as for editAllOrNothing) it must have left the
    // sheet as it was, and nothing else changes either.
    template <class F>
    decltype(auto) replace(F&& apply) {
        if constexpr (std::is_void_v<decltype(std::forward<F>(apply)(m_sheet))>) {
            std::forward<F>(apply)(m_sheet);
            afterReplace();
        } else {
            decltype(auto) result = std::forward<F>(apply)(m_sheet);
            if (succeeded(result))
                afterReplace();
            return result;
        }
    }

    // Writes the sheet out through `write` (the file save, which also trims the unused rows at
    // the end and keeps the sheet's setting cells up to date). Not a step; when `write`
    // succeeds the sheet as it stands is the saved state, which undo and redo come back to.
    template <class F>
    decltype(auto) save(F&& write) {
        struct Notify {
            Document& d;
            ~Notify() { d.notify(Change::Cells); }
        } notify{*this};
        decltype(auto) result = std::forward<F>(write)(m_sheet);
        if (succeeded(result))
            markSaved();
        return result;
    }

    // What the program writes into the sheet on its own account (the export page plan of a
    // print or a workbook): not a step of its own and no unsaved work. It is recorded with the
    // last step, so undoing that step takes it back too.
    template <class F>
    decltype(auto) amend(F&& apply) {
        AmendGuard guard(*this);
        return std::forward<F>(apply)(m_sheet);
    }

    // The heading and the settings, changed outside the history (a display setting chosen for a
    // batch run); changes the user makes go through edit().
    HeadingFields& heading() { return m_sheet.heading; }
    SheetSettings& settings() { return m_sheet.settings; }

    // The red cells of the checks made at the end of the last step.
    const CellMarks& cellMarks() const { return m_marks; }

    // The history.
    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    // Name of the step undo would take back, redo would make again; empty when there is none.
    std::string_view undoName() const;
    std::string_view redoName() const;
    // Take back the last step, make the last undone step again; false when there is none (or
    // a step is running). Coming back to the saved state clears the unsaved-work flag, leaving
    // it sets the flag.
    bool undo();
    bool redo();
    // The sheet as it stands is the saved state.
    void markSaved();

    // Working fields of the main window, named as the design names them.
    int s1 = 0, e1 = 0;  // rows of the current feeder block
    int kansenno = 1;    // number of the next new feeder
    int patan = 0;       // feeder kind confirmed: 1 single, 2 residential, 0 none
    int keitou = 1;      // systems of the residential feeder being entered

    const SupplyChoice& supply() const { return m_supply; }
    void setSupply(SupplyChoice supply);
    void setSupplyKind(SupplyKind kind);
    void setSupplyPercent(std::string percent);

    // The frequency can no longer be changed once a feeder was confirmed in the feeder dialog,
    // until the sheet is emptied.
    bool frequencyLocked() const { return m_frequencyLocked; }
    void setFrequencyLocked(bool locked);

    // 1 once the sheet holds work that is not saved (the design's `kidou`).
    bool unsaved() const { return m_unsaved; }
    void setUnsaved(bool unsaved);

    int subscribe(Listener listener);
    void unsubscribe(int id);

  private:
    // What a step changes besides the rows.
    struct Extras {
        HeadingFields heading;
        SheetSettings settings;
        bool frequencyLocked = false;
        friend bool operator==(const Extras&, const Extras&) = default;
    };
    struct Step {
        std::string name;
        std::uint64_t stateBefore = 0;
        std::uint64_t stateAfter = 0;
        // Undo: what the step replaced; redo: what undoing it replaced.
        SheetJournal journal;
        int rowsBefore = 0;
        int rowsAfter = 0;
        std::optional<std::pair<Extras, Extras>> extras;  // before, after; when they changed
    };
    struct OpenStep {
        std::string name;
        SheetJournal journal;
        Extras before;
        int rowsBefore = 0;
    };
    // Where an inner edit began, to roll back to.
    struct Marker {
        std::size_t journalSize = 0;
        Extras extras;
    };

    class StepGuard {
      public:
        StepGuard(Document& d, std::string_view name);
        StepGuard(const StepGuard&) = delete;
        StepGuard& operator=(const StepGuard&) = delete;
        ~StepGuard();
        void rollBack() { m_rollBack = true; }

      private:
        Document& m_d;
        bool m_outer;
        Marker m_marker;
        int m_exceptions;
        bool m_rollBack = false;
    };
    class AmendGuard {
      public:
        explicit AmendGuard(Document& d);
        AmendGuard(const AmendGuard&) = delete;
        AmendGuard& operator=(const AmendGuard&) = delete;
        ~AmendGuard();

      private:
        Document& m_d;
        bool m_recorded;
    };

    template <class R>
    static bool succeeded(const R& result) {
        if constexpr (requires { result.status; })
            return static_cast<bool>(result.status);
        else
            return static_cast<bool>(result);
    }

    Extras extras() const;
    void setExtras(const Extras& e);
    void finishStep();
    void rollBackTo(const Marker& marker);
    // Takes back `step` (undo or redo): its journal is replaced by the way back.
    void takeBack(Step& step, int rowsExpected, const Extras* extrasAfter);
    void runChecks();
    void afterReplace();
    void notify(Change change);
    void updateUnsaved();

    Sheet m_sheet;
    CellMarks m_marks;
    SupplyChoice m_supply;
    bool m_frequencyLocked = false;
    bool m_unsaved = false;

    std::optional<OpenStep> m_open;
    std::deque<Step> m_undo;
    std::vector<Step> m_redo;
    std::uint64_t m_state = 0;       // the state of the sheet as it stands
    std::uint64_t m_savedState = 0;  // the state last saved or opened
    std::uint64_t m_nextState = 1;

    int m_nextId = 1;
    std::vector<std::pair<int, Listener>> m_listeners;
};

}  // namespace wirelark
