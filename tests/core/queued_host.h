#pragma once
// A DialogHost for tests: answers of every kind queued in one line, in order, every box and focus
// recorded, and a modal window opened without a queued answer of its kind recorded as an error (the
// window is then taken as closed without a result).

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "dialog_host.h"

namespace wirelark::test {

class QueuedHost : public DialogHost {
  public:
    using CablePick = std::function<std::optional<CableChoice>(const CableRequest&)>;

    void answer(bool yes) { m_answers.emplace_back(Question{yes}); }
    void keypadGives(std::optional<std::string> text) {
        m_answers.emplace_back(Keypad{std::move(text)});
    }
    void cableGives(CablePick pick) { m_answers.emplace_back(Cable{std::move(pick)}); }
    void cableGives(std::optional<CableChoice> choice) {
        cableGives([choice](const CableRequest&) { return choice; });
    }

    // Boxes as the batch replay prints them: "info\tTEXT", "question\tTEXT\tyes|no".
    std::vector<std::string> boxes;
    std::vector<std::string> focused;
    std::vector<CableRequest> cableRequests;
    std::vector<std::string> errors;
    int beeps = 0;

    bool answersLeft() const { return !m_answers.empty(); }

    void info(std::string_view text) override { boxes.push_back("info\t" + std::string(text)); }
    bool question(std::string_view text) override {
        const auto* q = next<Question>("question");
        const bool yes = q && q->yes;
        boxes.push_back("question\t" + std::string(text) + (yes ? "\tyes" : "\tno"));
        return yes;
    }
    void focus(std::string_view control) override { focused.emplace_back(control); }
    void beep() override { ++beeps; }
    std::optional<std::string> keypad() override {
        const auto* k = next<Keypad>("keypad");
        return k ? k->text : std::nullopt;
    }
    std::optional<std::string> calculator() override {
        errors.emplace_back("calculator");
        return std::nullopt;
    }
    std::optional<CableChoice> chooseCable(const CableRequest& request) override {
        cableRequests.push_back(request);
        const auto* c = next<Cable>("cable");
        return c ? c->pick(request) : std::nullopt;
    }

  private:
    struct Question {
        bool yes;
    };
    struct Keypad {
        std::optional<std::string> text;
    };
    struct Cable {
        CablePick pick;
    };
    using Answer = std::variant<Question, Keypad, Cable>;

    template <class T>
    const T* next(const char* kind) {
        if (m_answers.empty() || !std::holds_alternative<T>(m_answers.front())) {
            errors.emplace_back(kind);
            return nullptr;
        }
        m_current = std::move(m_answers.front());
        m_answers.pop_front();
        return &std::get<T>(m_current);
    }

    std::deque<Answer> m_answers;
    Answer m_current;
};

}  // namespace wirelark::test
