// What a scenario can expect of the game, the plug-in and the files: the menu
// as drawn, the roster's bodyguards, the prompts shown, the player's money and
// state, the files in the working folder and the events noted so far.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class Session;

struct ConditionContext {
    const Session* session = nullptr;
    std::uint64_t eventsFrom = 0;  // `event` looks at the events after this many (the last action's)
};

struct ConditionResult {
    bool ok = false;
    std::string actual;  // what was found, for the failure message
};

// Checks the words of a condition (from `at` on); false with a message.
bool CheckCondition(const std::vector<std::string>& words, std::size_t at, std::string* error);
// Evaluates a checked condition now.
ConditionResult EvaluateCondition(const std::vector<std::string>& words, std::size_t at,
                                  const ConditionContext& context);

// The help lines for the conditions.
std::string ConditionHelp();

// "995", "$995", "995.50" in dollars into cents; false for anything else.
bool ParseDollars(const std::string& text, long long* cents);

}  // namespace sim
