#include "options.h"

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "keys.h"
#include "workdir.h"

namespace sim {

namespace {

// One command-line option: a switch, a text, a number in a range, or a
// settings line; its help line in the usage text.
struct Option {
    const char* name;
    const char* value;  // "" for a switch
    const char* help;
    bool Options::*flag = nullptr;
    std::string Options::*text = nullptr;
    int Options::*number = nullptr;
    int min = 0, max = 0;
    std::vector<std::string> Options::*list = nullptr;
};

constexpr Option kOptions[] = {
    {"--dir", "DIR",
     "working folder with the plug-in's three files (default ./tavrossimer-sim-work;\n"
     "a scenario runs in a new temporary folder unless --dir is given)",
     nullptr, &Options::dir},
    {"--fresh", "",
     "remove the plug-in's three files from the folder first\n"
     "(settings and sample custom list are put back)",
     &Options::fresh},
    {"--known-model", "NAME",
     "a model the game knows beyond the catalogue, for the custom list\n(repeatable; other custom names get "
     "the invalid-model notice)",
     nullptr, nullptr, nullptr, 0, 0, &Options::knownModels},
    {"--ini-set", "KEY=VALUE", "set a line of Tavrossimer.ini before the start (repeatable)"},
    {"--script", "FILE",
     "run a scenario headless and print its transcript; FILE may be\n"
     "the name of a shipped scenario (see --list-scenarios)",
     nullptr, &Options::script},
    {"--demo", "", "run the demo scenario", &Options::demo},
    {"--list-scenarios", "", "list the shipped scenarios", &Options::listScenarios},
    {"--help-scenarios", "", "the scenario language", &Options::helpScenarios},
    {"--png", "FILE", "write the last frame as the game shows it, 1920x1080", nullptr, &Options::png},
    {"--frames", "N", "run N frames headless (after the scenario, if any)", nullptr, nullptr,
     &Options::frames, 0, 10000000},
    {"--fps", "N", "frames per second, 30 to 60 (default 30)", nullptr, nullptr, &Options::fps, 30, 60},
    {"--seed", "N", "seed of the game's random numbers (default 12345)", nullptr, nullptr, &Options::seed, 0,
     2147483647},
    {"--speed", "N", "interactive: start N times faster than real time (1 to 64)", nullptr, nullptr,
     &Options::speed, 1, 64},
    {"--calls", "", "scenario: print the plug-in's game calls too", &Options::calls},
    {"--quiet", "", "scenario: print only a failure and the summary", &Options::quiet},
    {"--keep", "", "scenario: keep the temporary working folder", &Options::keep},
    {"--interactive", "", "the terminal screen even if the check for a terminal fails",
     &Options::interactive},
    {"--help", "", "this text (also -h)", &Options::help},
};

}  // namespace

std::string UsageText() {
    std::string out =
        "Usage: tavrossimer-sim [options]\n\n"
        "Runs the Tavrossimer plug-in on a stand-in of the game, in the terminal.\n"
        "Without a terminal (or with --demo) it runs the demo scenario and prints its transcript.\n\n";
    for (const Option& o : kOptions) {
        std::string head = std::string("  ") + o.name + (*o.value ? " " : "") + o.value;
        head.resize(22, ' ');
        std::istringstream help(o.help);
        for (std::string line; std::getline(help, line); head.assign(22, ' ')) out += head + line + "\n";
    }
    return out;
}

bool ParseOptions(int argc, const char* const* argv, Options* out, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i] == std::string("-h") ? "--help" : argv[i];
        const Option* o = std::find_if(std::begin(kOptions), std::end(kOptions),
                                       [&](const Option& c) { return a == c.name; });
        if (o == std::end(kOptions)) return Fail(error, "unknown option " + a + " (see --help)");
        if (o->flag) {
            out->*(o->flag) = true;
            continue;
        }
        if (i + 1 >= argc) return Fail(error, a + " needs a value");
        const std::string v = argv[++i];
        std::string key, value;
        if (o->text) {
            out->*(o->text) = v;
        } else if (o->list) {
            (out->*(o->list)).push_back(v);
        } else if (o->number && IsInteger(v) && ToInt(v) >= o->min && ToInt(v) <= o->max) {
            out->*(o->number) = static_cast<int>(ToInt(v));
        } else if (!o->number && SplitAssignment(v, &key, &value)) {
            out->iniSets.emplace_back(key, value);
        } else {
            return Fail(
                error,
                a + " takes " + o->value + ", not " + v +
                    (o->number ? " (" + std::to_string(o->min) + " to " + std::to_string(o->max) + ")" : ""));
        }
    }
    return true;
}

std::string ScenarioFolder() {
    return TAVROSSIMER_SIM_SCENARIO_DIR;  // set by the build: the source tree's scenarios
}

std::string FindScenario(const std::string& nameOrPath) {
    namespace fs = std::filesystem;
    if (fs::exists(nameOrPath)) return nameOrPath;
    for (const std::string& candidate : {nameOrPath, nameOrPath + ".txt"}) {
        const fs::path p = fs::path(ScenarioFolder()) / candidate;
        if (fs::exists(p)) return p.string();
    }
    return nameOrPath;
}

}  // namespace sim
