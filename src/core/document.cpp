#include "document.h"

#include <algorithm>

namespace wirelark {

void Document::setSupply(SupplyChoice supply) {
    if (supply == m_supply)
        return;
    m_supply = std::move(supply);
    notify(Change::Supply);
}

void Document::setSupplyKind(SupplyKind kind) {
    setSupply({kind, m_supply.percent});
}

void Document::setSupplyPercent(std::string percent) {
    setSupply({m_supply.kind, std::move(percent)});
}

void Document::setFrequencyLocked(bool locked) {
    if (locked == m_frequencyLocked)
        return;
    m_frequencyLocked = locked;
    notify(Change::FrequencyLock);
}

void Document::setUnsaved(bool unsaved) {
    if (unsaved == m_unsaved)
        return;
    m_unsaved = unsaved;
    notify(Change::Unsaved);
}

int Document::subscribe(Listener listener) {
    const int id = m_nextId++;
    m_listeners.emplace_back(id, std::move(listener));
    return id;
}

void Document::unsubscribe(int id) {
    std::erase_if(m_listeners, [id](const auto& l) { return l.first == id; });
}

void Document::afterEdit() {
    notify(Change::Cells);
    setUnsaved(true);
}

void Document::afterReplace() {
    notify(Change::Replaced);
    setUnsaved(false);
}

void Document::notify(Change change) {
    // A listener may unsubscribe (a window closing) while it is told: walk a copy.
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(change);
}

}  // namespace wirelark
