// Scenarios: plain-text scripts that drive the simulator headless, one
// command per line. `#` starts a comment; words are separated by blanks;
// "double quotes" keep blanks and take \" \\ \n \t escapes.
//
//   tap Home                       keys as a person presses them
//   select "Random Bodyguard"      move the highlight to a line, then Enter
//   wait 2 s                       frames, ms, s
//   target slot 0                  world events
//   complete "Stay Here"
//   expect slot 0 state staying    expectations fail the run with the frame number
//
// ScenarioHelp() lists every command.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "session.h"
#include "workdir.h"

namespace sim {

struct Command {
    int line = 0;
    std::string source;  // the line as written, trimmed, without its comment
    std::string verb;
    std::vector<std::string> args;  // words after the verb, quotes removed
};

struct Scenario {
    std::string name;         // file name without folder and extension
    std::string path;         // where it was read from ("" for built-in text)
    std::string description;  // the first comment line
    std::vector<Command> commands;
};

// Splits one line into words; false with a message on an unclosed quote.
// `commentAt` (when given) is where a trailing comment starts.
bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error,
                std::size_t* commentAt = nullptr);

// Parses and checks a whole scenario: every verb known, every argument in its
// place. False with "LINE: message" for the first fault.
bool ParseScenario(const std::string& text, const std::string& name, Scenario* out, std::string* error);
bool LoadScenarioFile(const std::string& path, Scenario* out, std::string* error);

// Checks one command's arguments; false with a message.
bool CheckCommand(const Command& command, std::string* error);

std::string ScenarioHelp();

// A table entry's name: the first word of its usage ("slot N TEST": "slot").
std::string NameOf(const char* usage);
// Checks the words from `at` against the pattern after a usage's name (see
// scenario_parser.cpp); "usage: ..." unless a finer message fits.
bool CheckUsage(const char* usage, const std::vector<std::string>& words, std::size_t at, std::string* error);
// The entry of a verb or condition table with this name, or nullptr.
template <typename Entry, std::size_t N>
const Entry* FindByName(const Entry (&table)[N], const std::string& name) {
    for (const Entry& e : table) {
        if (NameOf(e.usage) == name) return &e;
    }
    return nullptr;
}

// "2 s", "500 ms", "10 frames" (also "frame", "f", "sec", "seconds") into a
// count of milliseconds or frames. False for anything else.
struct Duration {
    bool frames = false;
    long long amount = 0;  // frames, or milliseconds
};
bool ParseDuration(const std::vector<std::string>& words, std::size_t at, Duration* out, std::size_t* used);

// Who a world command acts on: "slot 2", "stranger 1", "player", "horse", "none".
struct Who {
    enum Kind { None, Slot, Stranger, Player, Horse } kind = None;
    int number = 0;
};
bool ParseWho(const std::vector<std::string>& words, std::size_t at, Who* out, std::size_t* used);

// ---- conditions: what a scenario can expect of the game, the plug-in and the files

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

// The ped that the words from `at` name ("slot 2", "stranger 1", "player",
// "horse", "none": 0); 0 and a message when there is none such.
std::int32_t ResolveWho(const std::vector<std::string>& words, std::size_t at, std::string* failure);

std::string ConditionHelp();

// "995", "$995", "995.50" in dollars into cents; false for anything else.
bool ParseDollars(const std::string& text, long long* cents);

// ---- running: a transcript of each command with its frame and game time, the
// events it caused, the expectations met and the first one that failed.

struct RunOptions {
    bool quiet = false;      // only failures and the summary
    bool showCalls = false;  // the plug-in's game calls in the transcript
};

struct RunResult {
    bool ok = true;
    int failedLine = 0;
    int failedFrame = 0;
    std::string message;  // the failure, ready to print
    int commands = 0;
    int expectations = 0;
};

RunResult RunScenario(const Scenario& scenario, Session& session, const WorkDir& workDir,
                      const RunOptions& options, std::ostream& out);

}  // namespace sim
