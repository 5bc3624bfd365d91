#pragma once
// The open calculation sheet and the state the main window shares with the input dialogs: the
// sheet itself, the current feeder block (`s1`, `e1`), the feeder counter `kansenno`, the
// pattern `patan` and the number of systems `keitou` of the feeder dialog, the supply choice of
// the allowable drop, the frequency lock and the unsaved-work flag. Windows and the batch
// `replay` hold a reference to the one document; whoever changes it goes through its methods,
// and every listener hears what changed.

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "circuit_rules.h"
#include "sheet.h"

namespace wirelark {

class Document {
  public:
    enum class Change {
        Cells,     // cells of the sheet changed (rows may have been added or removed)
        Replaced,  // a new sheet: opened from a file, emptied, or a new program
        Supply,    // the supply choice of the allowable drop
        FrequencyLock,
        Unsaved,  // the unsaved-work flag
    };
    using Listener = std::function<void(Change)>;

    Document() = default;
    explicit Document(Sheet sheet) : m_sheet(std::move(sheet)) {}
    Document(const Document&) = delete;
    Document& operator=(const Document&) = delete;

    const Sheet& sheet() const { return m_sheet; }

    // One change the user makes to the sheet. `apply` gets the sheet to change and its result
    // is returned; afterwards the unsaved-work flag is set and the listeners hear of it.
    template <class F>
    decltype(auto) edit(std::string_view stepName, F&& apply) {
        (void)stepName;
        struct Notify {
            Document& d;
            ~Notify() { d.afterEdit(); }
        } notify{*this};
        return std::forward<F>(apply)(m_sheet);
    }

    // A sheet that replaces the one open (opened from a file, emptied): `apply` fills it.
    // The unsaved-work flag is cleared; the listeners hear of a new sheet.
    template <class F>
    decltype(auto) replace(F&& apply) {
        struct Notify {
            Document& d;
            ~Notify() { d.afterReplace(); }
        } notify{*this};
        return std::forward<F>(apply)(m_sheet);
    }

    // Heading fields and settings shown by the main window; they are not steps of their own.
    HeadingFields& heading() { return m_sheet.heading; }
    SheetSettings& settings() { return m_sheet.settings; }

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
    void afterEdit();
    void afterReplace();
    void notify(Change change);

    Sheet m_sheet;
    SupplyChoice m_supply;
    bool m_frequencyLocked = false;
    bool m_unsaved = false;
    int m_nextId = 1;
    std::vector<std::pair<int, Listener>> m_listeners;
};

}  // namespace wirelark
