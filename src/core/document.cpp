#include "document.h"

#include <algorithm>

namespace wirelark {

Document::Document() {
    runChecks();
}

Document::Document(Sheet sheet) : m_sheet(std::move(sheet)) {
    runChecks();
}

Document::~Document() {
    m_sheet.attachJournal(nullptr);
}

// ---------------------------------------------------------------------------------------------
// Steps

Document::StepGuard::StepGuard(Document& d, std::string_view name)
    : m_d(d), m_outer(!d.m_open), m_exceptions(std::uncaught_exceptions()) {
    if (m_outer) {
        d.m_open.emplace();
        d.m_open->name = std::string(name);
        d.m_open->before = d.extras();
        d.m_open->rowsBefore = d.m_sheet.rowCount();
        d.m_sheet.attachJournal(&d.m_open->journal);
    } else {
        m_marker = {d.m_open->journal.size(), d.extras()};
    }
}

Document::StepGuard::~StepGuard() {
    const bool failed = m_rollBack || std::uncaught_exceptions() > m_exceptions;
    if (failed)
        m_d.rollBackTo(m_outer ? Marker{0, m_d.m_open->before} : m_marker);
    if (!m_outer)
        return;
    if (failed) {
        m_d.m_sheet.attachJournal(nullptr);
        m_d.m_open.reset();
        return;
    }
    m_d.finishStep();
}

void Document::rollBackTo(const Marker& marker) {
    SheetJournal& journal = m_open->journal;
    // Taking back must not record itself: the step goes back to where the marker stands.
    m_sheet.attachJournal(nullptr);
    journal.takeBack(m_sheet, marker.journalSize);
    m_sheet.attachJournal(&journal);
    setExtras(marker.extras);
}

void Document::finishStep() {
    // The checks belong to the step: their verdicts come and go with the cells they judge. They
    // judge cells alone, so a step that changed none (the heading) leaves them as they are.
    if (!m_open->journal.empty())
        runChecks();
    m_sheet.attachJournal(nullptr);
    OpenStep open = std::move(*m_open);
    m_open.reset();

    const Extras after = extras();
    if (open.journal.empty() && after == open.before)
        return;

    Step step;
    step.name = std::move(open.name);
    step.stateBefore = m_state;
    step.stateAfter = m_nextState++;
    step.journal = std::move(open.journal);
    step.rowsBefore = open.rowsBefore;
    step.rowsAfter = m_sheet.rowCount();
    if (after != open.before)
        step.extras.emplace(std::move(open.before), after);
    m_state = step.stateAfter;
    m_undo.push_back(std::move(step));
    while (m_undo.size() > static_cast<std::size_t>(kHistoryDepth))
        m_undo.pop_front();
    m_redo.clear();

    notify(Change::Cells);
    updateUnsaved();
}

Document::AmendGuard::AmendGuard(Document& d) : m_d(d), m_recorded(!d.m_open && !d.m_undo.empty()) {
    // Inside a step the amendment is simply part of the step.
    if (m_recorded)
        d.m_sheet.attachJournal(&d.m_undo.back().journal);
}

Document::AmendGuard::~AmendGuard() {
    if (m_d.m_open)
        return;
    m_d.runChecks();
    if (m_recorded) {
        m_d.m_sheet.attachJournal(nullptr);
        m_d.m_undo.back().rowsAfter = m_d.m_sheet.rowCount();
    }
    m_d.notify(Change::Cells);
}

Document::Extras Document::extras() const {
    return {m_sheet.heading, m_sheet.settings, m_frequencyLocked};
}

void Document::setExtras(const Extras& e) {
    m_sheet.heading = e.heading;
    m_sheet.settings = e.settings;
    setFrequencyLocked(e.frequencyLocked);
}

void Document::runChecks() {
    m_marks = applyCellChecks(m_sheet, 0, m_sheet.rowCount() - 1);
}

// ---------------------------------------------------------------------------------------------
// Undo and redo

std::string_view Document::undoName() const {
    return m_undo.empty() ? std::string_view() : std::string_view(m_undo.back().name);
}

std::string_view Document::redoName() const {
    return m_redo.empty() ? std::string_view() : std::string_view(m_redo.back().name);
}

void Document::takeBack(Step& step, int rowsExpected, const Extras* extrasAfter) {
    // A save since may have trimmed empty rows from the end; they come back empty.
    if (m_sheet.rowCount() < rowsExpected)
        m_sheet.setRowCount(rowsExpected);
    SheetJournal wayBack;
    m_sheet.attachJournal(&wayBack);
    step.journal.takeBack(m_sheet);
    if (extrasAfter)
        setExtras(*extrasAfter);
    // The state comes back with the verdicts its checks wrote; checking it again finds the red
    // cells, and whatever it would still write is recorded with the way back.
    runChecks();
    m_sheet.attachJournal(nullptr);
    step.journal = std::move(wayBack);
}

bool Document::undo() {
    if (m_open || m_undo.empty())
        return false;
    Step step = std::move(m_undo.back());
    m_undo.pop_back();
    takeBack(step, step.rowsAfter, step.extras ? &step.extras->first : nullptr);
    m_state = step.stateBefore;
    m_redo.push_back(std::move(step));
    notify(Change::Cells);
    updateUnsaved();
    return true;
}

bool Document::redo() {
    if (m_open || m_redo.empty())
        return false;
    Step step = std::move(m_redo.back());
    m_redo.pop_back();
    takeBack(step, step.rowsBefore, step.extras ? &step.extras->second : nullptr);
    m_state = step.stateAfter;
    m_undo.push_back(std::move(step));
    notify(Change::Cells);
    updateUnsaved();
    return true;
}

void Document::markSaved() {
    m_savedState = m_state;
    updateUnsaved();
}

void Document::updateUnsaved() {
    setUnsaved(m_state != m_savedState);
}

void Document::afterReplace() {
    m_undo.clear();
    m_redo.clear();
    m_state = m_savedState = m_nextState++;
    runChecks();
    notify(Change::Replaced);
    setUnsaved(false);
}

// ---------------------------------------------------------------------------------------------
// Shared state

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

void Document::notify(Change change) {
    // A listener may unsubscribe (a window closing) while it is told: walk a copy.
    const auto listeners = m_listeners;
    for (const auto& [id, listener] : listeners)
        listener(change);
}

}  // namespace wirelark
