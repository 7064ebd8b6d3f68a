#include "options.h"

#include <cstdlib>
#include <filesystem>

#include "workdir.h"

namespace sim {

namespace {

#ifdef TAVROSSIMER_SIM_SCENARIO_DIR
constexpr const char* kScenarioDir = TAVROSSIMER_SIM_SCENARIO_DIR;
#else
constexpr const char* kScenarioDir = "sim/scenarios";
#endif

bool ParseInt(const std::string& s, int min, int max, int* out) {
    if (s.empty()) return false;
    char* end = nullptr;
    const long v = std::strtol(s.c_str(), &end, 10);
    if (*end != '\0' || v < min || v > max) return false;
    *out = static_cast<int>(v);
    return true;
}

}  // namespace

std::string UsageText() {
    return "Usage: tavrossimer-sim [options]\n"
           "\n"
           "Runs the Tavrossimer plug-in on a stand-in of the game, in the terminal.\n"
           "Without a terminal (or with --demo) it runs the demo scenario and prints its transcript.\n"
           "\n"
           "  --dir DIR           working folder with Tavrossimer.ini, Tavrossimer.dat and\n"
           "                      Tavrossimer_CustomPeds.txt (default ./" +
           std::string(DEFAULT_WORK_DIR) +
           "; a scenario runs in\n"
           "                      a new temporary folder unless --dir is given)\n"
           "  --fresh             remove the plug-in's three files from the folder first\n"
           "                      (settings and sample custom list are put back)\n"
           "  --ini-set KEY=VALUE set a line of Tavrossimer.ini before the start (repeatable)\n"
           "  --script FILE       run a scenario headless and print its transcript; FILE may be\n"
           "                      the name of a shipped scenario (see --list-scenarios)\n"
           "  --demo              run the demo scenario\n"
           "  --list-scenarios    list the shipped scenarios\n"
           "  --help-scenarios    the scenario language\n"
           "  --png FILE          write the last frame as the game shows it, 1920x1080\n"
           "  --frames N          run N frames headless (after the scenario, if any)\n"
           "  --fps N             frames per second, 30 to 60 (default 30)\n"
           "  --seed N            seed of the game's random numbers (default 12345)\n"
           "  --speed N           interactive: start N times faster than real time\n"
           "  --calls             scenario: print the plug-in's game calls too\n"
           "  --quiet             scenario: print only a failure and the summary\n"
           "  --keep              scenario: keep the temporary working folder\n"
           "  --interactive       the terminal screen even if the check for a terminal fails\n"
           "  -h, --help          this text\n";
}

bool ParseOptions(int argc, const char* const* argv, Options* out, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string* v) {
            if (i + 1 >= argc) {
                *error = a + " needs a value";
                return false;
            }
            *v = argv[++i];
            return true;
        };
        std::string v;
        if (a == "-h" || a == "--help") {
            out->help = true;
        } else if (a == "--help-scenarios") {
            out->helpScenarios = true;
        } else if (a == "--dir") {
            if (!value(&out->dir)) return false;
        } else if (a == "--fresh") {
            out->fresh = true;
        } else if (a == "--keep") {
            out->keep = true;
        } else if (a == "--ini-set") {
            if (!value(&v)) return false;
            std::string key, val;
            if (!SplitAssignment(v, &key, &val)) {
                *error = "--ini-set takes KEY=VALUE, not " + v;
                return false;
            }
            out->iniSets.emplace_back(key, val);
        } else if (a == "--script") {
            if (!value(&out->script)) return false;
        } else if (a == "--demo") {
            out->demo = true;
        } else if (a == "--list-scenarios") {
            out->listScenarios = true;
        } else if (a == "--png") {
            if (!value(&out->png)) return false;
        } else if (a == "--frames") {
            if (!value(&v) || !ParseInt(v, 0, 10000000, &out->frames)) {
                *error = "--frames takes a number of frames";
                return false;
            }
        } else if (a == "--fps") {
            if (!value(&v) || !ParseInt(v, 30, 60, &out->fps)) {
                *error = "--fps takes 30 to 60";
                return false;
            }
        } else if (a == "--seed") {
            int seed = 0;
            if (!value(&v) || !ParseInt(v, 0, 2147483647, &seed)) {
                *error = "--seed takes a number";
                return false;
            }
            out->seed = static_cast<unsigned>(seed);
        } else if (a == "--speed") {
            if (!value(&v) || !ParseInt(v, 1, 64, &out->speed)) {
                *error = "--speed takes 1 to 64";
                return false;
            }
        } else if (a == "--calls") {
            out->calls = true;
        } else if (a == "--quiet") {
            out->quiet = true;
        } else if (a == "--interactive") {
            out->interactive = true;
        } else {
            *error = "unknown option " + a + " (see --help)";
            return false;
        }
    }
    return true;
}

std::string ScenarioFolder() {
    return kScenarioDir;
}

std::string FindScenario(const std::string& nameOrPath) {
    namespace fs = std::filesystem;
    if (fs::exists(nameOrPath)) return nameOrPath;
    for (const std::string& candidate : {nameOrPath, nameOrPath + ".txt"}) {
        const fs::path p = fs::path(kScenarioDir) / candidate;
        if (fs::exists(p)) return p.string();
    }
    return nameOrPath;
}

}  // namespace sim
