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

#include <string>
#include <vector>

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
bool SplitWords(const std::string& line, std::vector<std::string>* words, std::string* error);

// Parses and checks a whole scenario: every verb known, every argument in its
// place. False with "LINE: message" for the first fault.
bool ParseScenario(const std::string& text, const std::string& name, Scenario* out, std::string* error);
bool LoadScenarioFile(const std::string& path, Scenario* out, std::string* error);

// Checks one command's arguments; false with a message.
bool CheckCommand(const Command& command, std::string* error);

// The help text for scenario writers.
std::string ScenarioHelp();

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

}  // namespace sim
