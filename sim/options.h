// The simulator's command line.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sim {

struct Options {
    std::string dir;  // working folder ("" = the default for the mode)
    bool fresh = false;
    bool keep = false;
    std::vector<std::pair<std::string, std::string>> iniSets;
    std::vector<std::string> knownModels;  // models the game knows beyond the catalogue
    std::string script;                    // scenario file or the name of a shipped scenario
    bool demo = false;
    bool listScenarios = false;
    bool help = false;
    bool helpScenarios = false;
    std::string png;
    int frames = -1;  // headless: frames to run (-1: not given)
    int fps = 30;
    int seed = 12345;
    int speed = 1;
    bool calls = false;
    bool quiet = false;
    bool interactive = false;  // asked for even without a terminal check
};

// False with a message for a bad command line.
bool ParseOptions(int argc, const char* const* argv, Options* out, std::string* error);
std::string UsageText();

// Where the shipped scenarios are, and the scenario a name refers to: an
// existing path as it is, otherwise NAME or NAME.txt in the scenario folder.
std::string ScenarioFolder();
std::string FindScenario(const std::string& nameOrPath);
// The demo scenario, built into the program.
const char* DemoScenarioText();

}  // namespace sim
