#pragma once
// A dialog host for the tests: it records every box, focus and beep, answers questions, keypads,
// calculators and cable selections from queues the test fills, and fails the test on a window
// that nothing answers.

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialog_host.h"

namespace wirelark::test {

class ScriptedHost final : public DialogHost {
  public:
    std::vector<std::string> infos;
    std::vector<std::string> questions;
    std::vector<std::string> focuses;
    std::vector<CableRequest> cableRequests;
    int beeps = 0;

    std::deque<bool> answers;
    std::deque<std::optional<std::string>> keypads;
    std::deque<std::optional<std::string>> calculators;
    std::deque<std::optional<CableChoice>> cables;

    void info(std::string_view text) override { infos.emplace_back(text); }
    bool question(std::string_view text) override {
        questions.emplace_back(text);
        return next(answers, "question", false);
    }
    void focus(std::string_view control) override { focuses.emplace_back(control); }
    void beep() override { ++beeps; }
    std::optional<std::string> keypad() override {
        return next(keypads, "keypad", std::optional<std::string>());
    }
    std::optional<std::string> calculator() override {
        return next(calculators, "calculator", std::optional<std::string>());
    }
    std::optional<CableChoice> chooseCable(const CableRequest& request) override {
        cableRequests.push_back(request);
        return next(cables, "cable selection", std::optional<CableChoice>());
    }

    // Every queued answer was used.
    bool drained() const {
        return answers.empty() && keypads.empty() && calculators.empty() && cables.empty();
    }

  private:
    template <class Q, class T>
    static T next(Q& queue, const char* what, T fallback) {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return fallback;
        }
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace wirelark::test
