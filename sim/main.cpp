// tavrossimer-sim: the Tavrossimer plug-in on the stand-in game world.
//
// In a terminal it shows the menu, the world and what happens, in real time.
// With --script it runs a scenario headless and prints a transcript; without
// a terminal it runs the demo scenario. --png writes a frame as the game
// shows it.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>

#include "config/settings.h"
#include "keys.h"
#include "menu/state.h"
#include "options.h"
#include "png_renderer.h"
#include "scenario.h"
#include "session.h"
#include "tui.h"
#include "workdir.h"
#include "world_view.h"

namespace {

int ListScenarios() {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(sim::ScenarioFolder(), ec)) {
        if (e.path().extension() == ".txt") files.push_back(e.path());
    }
    std::sort(files.begin(), files.end());
    std::printf("Scenarios in %s (run one with --script NAME):\n", sim::ScenarioFolder().c_str());
    for (const fs::path& f : files) {
        sim::Scenario s;
        std::string error;
        const bool ok = sim::LoadScenarioFile(f.string(), &s, &error);
        std::printf("  %-28s %s\n", f.stem().string().c_str(), ok ? s.description.c_str() : error.c_str());
    }
    if (files.empty()) std::printf("  (none found; the demo is built in: --demo)\n");
    return 0;
}

bool OpenFolder(const sim::Options& o, bool scenarioMode, sim::WorkDir* dir) {
    std::string error;
    const bool ok =
        (scenarioMode && o.dir.empty())
            ? sim::OpenTemporaryWorkDir(dir, &error)
            : sim::OpenWorkDir(o.dir.empty() ? sim::DEFAULT_WORK_DIR : o.dir, o.fresh, dir, &error);
    if (!ok) std::fprintf(stderr, "tavrossimer-sim: %s\n", error.c_str());
    for (const auto& [key, value] : o.iniSets) {
        if (ok) sim::SetIniValue(key, value);
    }
    return ok;
}

// Opens the menu as a player would (in a saloon when the settings ask for one);
// false with the reason when it cannot be opened.
bool OpenMenuForPicture(sim::Session& session, std::string* error) {
    if (menu.menuPage != PAGE_CLOSED) return true;
    if (!sim::KeyReachable(SPAWN_MENU_KEY))
        return sim::Fail(error, "no picture: the menu cannot be opened, its key SPAWN_MENU_KEY is " +
                                    sim::KeyLabel(SPAWN_MENU_KEY));
    if (ONLY_IN_SALOONS) sim::SetInSaloon(session.Log(), true);
    session.QueueKey(SPAWN_MENU_KEY);
    session.SettleKeys();
    session.Frame();
    if (menu.menuPage != PAGE_CLOSED) return true;
    return sim::Fail(error,
                     "no picture: the menu did not open with its key " + sim::KeyLabel(SPAWN_MENU_KEY));
}

// Headless: the scenario (if any), then --frames more, then the --png picture.
int RunHeadless(const sim::Options& o, const sim::Scenario* scenario, sim::Session& session) {
    sim::WorkDir dir;
    if (!OpenFolder(o, scenario != nullptr, &dir)) return 2;
    bool ok = true;
    if (scenario) ok = sim::RunScenario(*scenario, session, dir, {o.quiet, o.calls}, std::cout).ok;
    if (ok && (o.frames > 0 || !scenario)) {
        if (!session.Started()) session.Start();
        session.Frames(o.frames >= 0 ? o.frames : 30);
    }
    std::string error;
    // The picture shows the menu: without a scenario to open it, it is opened here.
    if (ok && !scenario && !o.png.empty()) ok = OpenMenuForPicture(session, &error);
    const std::string path = sim::UserPath(dir, o.png);
    if (!o.png.empty() && (!ok || !sim::WriteFramePng(session.ShownDisplay(), path, &error))) {
        std::fprintf(stderr, "tavrossimer-sim: %s\n", error.c_str());
        ok = false;
    } else if (!o.png.empty()) {
        std::printf("wrote %s\n", path.c_str());
    }
    session.End();
    std::cout.flush();
    if (dir.temporary && o.keep) std::printf("working folder kept: %s\n", dir.path.c_str());
    sim::CloseWorkDir(dir, o.keep || !scenario);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    sim::Options o;
    std::string error;
    if (!sim::ParseOptions(argc, argv, &o, &error)) {
        std::fprintf(stderr, "tavrossimer-sim: %s\n\n%s", error.c_str(), sim::UsageText().c_str());
        return 2;
    }
    if (o.help || o.helpScenarios) {
        std::printf("%s", (o.help ? sim::UsageText() : sim::ScenarioHelp()).c_str());
        return 0;
    }
    if (o.listScenarios) return ListScenarios();

    sim::EventLog log;
    sim::Session session(log);
    session.Setup().seed = static_cast<std::uint32_t>(o.seed);
    session.Setup().frameMs = 1000 / o.fps;
    session.Setup().knownModels = o.knownModels;

    const bool terminal = isatty(STDIN_FILENO) && isatty(STDOUT_FILENO);
    const bool headlessFrames = o.frames >= 0 || !o.png.empty();
    if (!o.script.empty() || o.demo || (!terminal && !o.interactive && !headlessFrames)) {
        sim::Scenario scenario;
        if (!o.script.empty()) {
            if (!sim::LoadScenarioFile(sim::FindScenario(o.script), &scenario, &error)) {
                std::fprintf(stderr, "tavrossimer-sim: %s\n", error.c_str());
                return 2;
            }
            // The scenario file is read before the working folder is entered.
            scenario.path = std::filesystem::absolute(scenario.path).lexically_normal().string();
        } else {
            if (!sim::ParseScenario(sim::DemoScenarioText(), "demo", &scenario, &error)) {
                std::fprintf(stderr, "tavrossimer-sim: the built-in demo: %s\n", error.c_str());
                return 2;
            }
            if (!terminal && !o.demo)
                std::printf(
                    "(no terminal: running the demo scenario; run in a terminal for the interactive "
                    "screen)\n");
        }
        return RunHeadless(o, &scenario, session);
    }
    if (headlessFrames && !o.interactive) return RunHeadless(o, nullptr, session);

    sim::WorkDir dir;
    if (!OpenFolder(o, false, &dir)) return 2;
    const int code = sim::RunInteractive(session, dir, o);
    sim::CloseWorkDir(dir, true);
    return code;
}
