#include "scenario_runner.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "conditions.h"
#include "driver.h"
#include "keys.h"
#include "menu/state.h"
#include "png_renderer.h"
#include "world_actions.h"
#include "world_view.h"

namespace sim {

namespace {

constexpr long long kDefaultWaitForMs = 10000;
constexpr int kHighlightMoveLimit = 12;

// Commands that work on files or on the set-up of the next world, and so do
// not start the game.
bool NeedsGame(const std::string& verb) {
    static const char* const kNoGame[] = {
        "ini",  "custom-list",       "write-file",    "delete-file",       "seed", "random",
        "echo", "model-unavailable", "model-invalid", "model-load-frames", "start"};
    for (const char* v : kNoGame) {
        if (verb == v) return false;
    }
    return true;
}

std::string Stamp(int frame, long long timeMs) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "[%6d %7.2fs]", frame, static_cast<double>(timeMs) / 1000.0);
    return buf;
}

std::string Now() {
    const standin::World& w = standin::GetWorld();
    return Stamp(w.frame, w.timeMs);
}

class Runner {
  public:
    Runner(Session& s, const WorkDir& d, const RunOptions& o, std::ostream& out)
        : session_(s), dir_(d), options_(o), out_(out) {}

    RunResult Run(const Scenario& scenario);

  private:
    bool Execute(const Command& c, std::string* failure);
    void Print(const std::string& line) {
        if (!options_.quiet) out_ << line << "\n";
    }
    void PrintEventsSince(std::uint64_t mark);
    void PrintCalls();
    void AfterWorldAction() { session_.Frame(); }
    // One more frame once the keys are taken: what a page does on the frame
    // after a key (a new bodyguard made ready in the builder) shows then.
    void SettleAfterKeys() { session_.Frame(); }
    std::int32_t Resolve(const Who& who, std::string* failure);
    bool MoveHighlightTo(const std::string& text, std::string* failure);
    bool Show(const std::vector<std::string>& what);

    Session& session_;
    const WorkDir& dir_;
    const RunOptions& options_;
    std::ostream& out_;
    std::uint64_t eventsOfLastAction_ = 0;
    int expectations_ = 0;
    std::vector<std::string> calls_;
};

void Runner::PrintEventsSince(std::uint64_t mark) {
    for (const Event& e : session_.Log().Since(mark)) {
        const char* bullet = e.kind == EventKind::Warning ? "!! " : "* ";
        Print(Stamp(e.frame, e.timeMs) + "     " + bullet + e.text);
    }
}

void Runner::PrintCalls() {
    if (!options_.showCalls) return;
    for (const std::string& c : calls_) Print("                      | " + c);
    calls_.clear();
}

std::int32_t Runner::Resolve(const Who& who, std::string* failure) {
    switch (who.kind) {
        case Who::None:
            return 0;
        case Who::Player:
            return standin::GetWorld().player.ped;
        case Who::Horse:
            if (GetExtras().horse == 0) *failure = "the player has no horse yet (mount first)";
            return GetExtras().horse;
        case Who::Slot: {
            const std::int32_t ped = PedOfSlot(who.number);
            if (ped == 0) *failure = "slot " + std::to_string(who.number) + " is free";
            return ped;
        }
        case Who::Stranger: {
            const auto& s = GetExtras().strangers;
            if (who.number > static_cast<int>(s.size())) {
                *failure = "there is no stranger " + std::to_string(who.number) + " (" +
                           std::to_string(s.size()) + " spawned; use the stranger command)";
                return 0;
            }
            return s[who.number - 1];
        }
    }
    return 0;
}

bool Runner::MoveHighlightTo(const std::string& text, std::string* failure) {
    for (int moves = 0; moves <= kHighlightMoveLimit; ++moves) {
        const MenuView m = ViewOfMenu(session_.ShownDisplay());
        if (m.Empty()) {
            *failure = "the menu is closed";
            return false;
        }
        int target = -1;
        for (int r = 0; r < MenuView::kRows; ++r) {
            if (m.rows[r].present && m.rows[r].text == text) target = r;
        }
        if (target < 0) {
            std::vector<std::string> lines = DescribeMenu(m);
            std::string shown;
            for (const std::string& l : lines) shown += "\n      " + l;
            *failure = "no menu line reads \"" + text + "\"; the menu shows:" + shown;
            return false;
        }
        if (m.highlightRow == target) return true;
        session_.QueueKey(m.highlightRow < target ? VK_DOWN : VK_UP);
        session_.SettleKeys();
    }
    *failure = "the highlight did not reach \"" + text + "\" (is it a line that cannot be highlighted?)";
    return false;
}

bool Runner::Show(const std::vector<std::string>& what) {
    const bool all = what.empty();
    auto wants = [&](const char* w) {
        if (all) return std::string(w) != "files" && std::string(w) != "display";
        for (const std::string& s : what) {
            if (s == w) return true;
        }
        return false;
    };
    if (wants("menu")) {
        Print("        menu (" + std::string(PageName(menu.menuPage)) + "):");
        for (const std::string& l : DescribeMenu(ViewOfMenu(session_.ShownDisplay())))
            Print("          " + l);
    }
    if (wants("world")) {
        for (const std::string& l : DescribeWorld()) Print("        " + l);
    }
    if (wants("prompts")) {
        std::string shown;
        for (const ShownPrompt& p : ShownPrompts())
            shown += (shown.empty() ? "" : ", ") + ("[" + p.text + "]");
        Print("        prompts shown: " + (shown.empty() ? std::string("none") : shown));
    }
    if (wants("display")) {
        // The frame's display list as the plug-in drew it, in drawing order.
        for (const standin::DisplayItem& d : session_.ShownDisplay()) {
            char buf[256];
            const char* kind = d.kind == standin::DisplayItem::Sprite ? "sprite"
                               : d.kind == standin::DisplayItem::Rect ? "rect"
                                                                      : "text";
            std::snprintf(buf, sizeof buf, "        %-6s x %.4f y %.4f w %.4f h %.4f rgba %d %d %d %d", kind,
                          d.x, d.y, d.width, d.height, d.r, d.g, d.b, d.a);
            std::string line = buf;
            if (d.kind == standin::DisplayItem::Text) {
                std::snprintf(buf, sizeof buf, " scale %.2f", d.scaleY);
                line += buf + (" \"" + d.plainText + "\"");
            }
            if (d.kind == standin::DisplayItem::Sprite) line += " " + d.dictionary + "/" + d.texture;
            Print(line);
        }
    }
    if (wants("files")) {
        for (const char* f : {INI_FILE, SAVE_FILE, CUSTOM_LIST_FILE}) {
            std::string content;
            if (!ReadTextFile(f, &content)) {
                Print(std::string("        ") + f + ": (none)");
                continue;
            }
            if (std::string(f) == SAVE_FILE) {
                Print(std::string("        ") + f + ": \"" + content + "\"  (" + DescribeSaveFile(content) +
                      ")");
            } else {
                Print(std::string("        ") + f + ":");
                std::size_t start = 0;
                while (start < content.size()) {
                    std::size_t end = content.find('\n', start);
                    if (end == std::string::npos) end = content.size();
                    Print("          | " + content.substr(start, end - start));
                    start = end + 1;
                }
            }
        }
    }
    return true;
}

bool Runner::Execute(const Command& c, std::string* failure) {
    const std::vector<std::string>& a = c.args;
    const std::string& v = c.verb;
    standin::World& w = standin::GetWorld();
    WorldSetup& setup = session_.Setup();

    if (v == "ini") {
        std::string key, value;
        SplitAssignment(a[0], &key, &value);
        SetIniValue(key, value);
        if (session_.Started())
            Print("        (the plug-in reads its settings at the next start or restart)");
    } else if (v == "custom-list") {
        WriteCustomList(a);
    } else if (v == "write-file") {
        if (!WriteTextFile(a[0], a[1])) *failure = "cannot write " + a[0];
    } else if (v == "delete-file") {
        std::error_code ec;
        std::filesystem::remove(a[0], ec);
    } else if (v == "seed") {
        setup.seed = static_cast<std::uint32_t>(std::strtoll(a[0].c_str(), nullptr, 10));
        if (session_.Started()) w.rng.seed(setup.seed);
    } else if (v == "random") {
        for (const std::string& n : a) {
            const int value = std::atoi(n.c_str());
            if (session_.Started())
                w.scriptedRandom.push_back(value);
            else
                setup.pendingRandom.push_back(value);
        }
    } else if (v == "model-unavailable" || v == "model-invalid") {
        (v == "model-unavailable" ? setup.unavailableModels : setup.invalidModels).push_back(a[0]);
        if (session_.Started()) {
            const std::uint32_t h = w.HashName(a[0]);
            (v == "model-unavailable" ? w.unavailableModels : w.invalidModels).insert(h);
        }
    } else if (v == "model-load-frames") {
        setup.modelLoadFrames = std::atoi(a[0].c_str());
        if (session_.Started()) w.modelLoadFrames = setup.modelLoadFrames;
    } else if (v == "start") {
        session_.Start();
    } else if (v == "restart") {
        session_.Restart(a.empty());
    } else if (v == "tap") {
        for (const std::string& k : a) {
            session_.QueueKey(KeyCodeOfName(k));
            session_.SettleKeys();
        }
        SettleAfterKeys();
    } else if (v == "press") {
        session_.RawKeyDown(KeyCodeOfName(a[0]));
    } else if (v == "release") {
        session_.RawKeyUp(KeyCodeOfName(a[0]));
    } else if (v == "hold") {
        Duration d;
        std::size_t used = 0;
        ParseDuration(a, 1, &d, &used);
        const int vk = KeyCodeOfName(a[0]);
        session_.RawKeyDown(vk);
        if (d.frames)
            session_.Frames(static_cast<int>(d.amount));
        else
            session_.RunMs(static_cast<int>(d.amount));
        session_.RawKeyUp(vk);
        session_.Frame();
    } else if (v == "select" || v == "highlight") {
        if (!MoveHighlightTo(a[0], failure)) return false;
        if (v == "select") {
            session_.QueueKey(VK_RETURN);
            session_.SettleKeys();
        }
        SettleAfterKeys();
    } else if (v == "control") {
        standin::TriggerControl(a[0].c_str());
        session_.Frame();
        session_.SettleKeys();
    } else if (v == "hold-control") {
        standin::HoldControl(a[0].c_str(), a[1] == "on");
    } else if (v == "input") {
        w.usingKeyboard = a[0] == "keyboard";
    } else if (v == "wait") {
        Duration d;
        std::size_t used = 0;
        ParseDuration(a, 0, &d, &used);
        if (d.frames)
            session_.Frames(static_cast<int>(d.amount));
        else
            session_.RunMs(static_cast<int>(d.amount));
    } else if (v == "wait-for") {
        std::size_t end = a.size();
        Duration limit;
        limit.amount = kDefaultWaitForMs;
        for (std::size_t i = 0; i < a.size(); ++i) {
            if (a[i] == "within") {
                std::size_t used = 0;
                ParseDuration(a, i + 1, &limit, &used);
                end = i;
                break;
            }
        }
        const std::vector<std::string> cond(a.begin(), a.begin() + static_cast<std::ptrdiff_t>(end));
        ConditionContext ctx{&session_, eventsOfLastAction_};
        const int startFrame = w.frame;
        const long long startMs = w.timeMs;
        ConditionResult r = EvaluateCondition(cond, 0, ctx);
        while (!r.ok) {
            const bool over =
                limit.frames ? (w.frame - startFrame) >= limit.amount : (w.timeMs - startMs) >= limit.amount;
            if (over) {
                *failure = "not met within " + std::to_string(limit.amount) +
                           (limit.frames ? " frames" : " ms") + ": " + r.actual;
                return false;
            }
            session_.Frame();
            r = EvaluateCondition(cond, 0, ctx);
        }
        Print(Now() + "     ok: " + r.actual);
    } else if (v == "stranger") {
        if (a.empty())
            SpawnStranger(session_.Log());
        else
            SpawnStranger(session_.Log(), a[0]);
    } else if (v == "target" || v == "aim" || v == "damage" || v == "kill" || v == "heal" || v == "walk-to") {
        Who who;
        std::size_t used = 0;
        ParseWho(a, 0, &who, &used);
        const std::int32_t ped = Resolve(who, failure);
        if (!failure->empty()) return false;
        EventLog& log = session_.Log();
        if (v == "target") SetTarget(log, ped);
        if (v == "aim") SetAim(log, ped);
        if (v == "damage") DamagePed(log, ped, std::atoi(a[used].c_str()));
        if (v == "kill") {
            if (who.kind == Who::Player)
                KillPlayer(log);
            else
                KillPed(log, ped);
        }
        if (v == "heal") HealPed(log, ped);
        if (v == "walk-to") WalkTo(log, ped);
        AfterWorldAction();
    } else if (v == "complete") {
        if (!CompletePromptByText(session_.Log(), a[0])) {
            std::string shown;
            for (const ShownPrompt& p : ShownPrompts())
                shown += (shown.empty() ? "" : ", ") + ("\"" + p.text + "\"");
            *failure = "no prompt \"" + a[0] +
                       "\" is shown; shown: " + (shown.empty() ? std::string("none") : shown);
            return false;
        }
        // The game reports the completion in the next frame; the plug-in's
        // answer (new prompts, an order) shows in the frame after it.
        session_.Frames(2);
    } else if (v == "respawn") {
        RespawnPlayer(session_.Log());
        AfterWorldAction();
    } else if (v == "mount" || v == "dismount") {
        SetMounted(session_.Log(), v == "mount");
        AfterWorldAction();
    } else if (v == "vehicle") {
        SetInVehicle(session_.Log(), a[0] == "in");
        AfterWorldAction();
    } else if (v == "walk-away") {
        WalkAway(session_.Log(), a.empty() ? 10.0f : static_cast<float>(std::atoi(a[0].c_str())));
        AfterWorldAction();
    } else if (v == "saloon") {
        SetInSaloon(session_.Log(), a[0] == "in");
        AfterWorldAction();
    } else if (v == "interior") {
        SetInterior(session_.Log(), std::atoi(a[0].c_str()));
        AfterWorldAction();
    } else if (v == "money") {
        long long cents = 0;
        ParseDollars(a[0], &cents);
        w.player.money = cents;
    } else if (v == "echo") {
        std::string text;
        for (const std::string& s : a) text += (text.empty() ? "" : " ") + s;
        Print("        " + text);
    } else if (v == "show") {
        Show(a);
    } else if (v == "png") {
        std::string error;
        const std::string path = UserPath(dir_, a[0]);
        if (!WriteFramePng(session_.ShownDisplay(), path, &error)) {
            *failure = error;
            return false;
        }
        Print("        wrote " + path);
    } else if (v == "expect") {
        const bool negate = !a.empty() && a[0] == "not";
        ConditionContext ctx{&session_, eventsOfLastAction_};
        const ConditionResult r = EvaluateCondition(a, negate ? 1 : 0, ctx);
        ++expectations_;
        if (r.ok == negate) {
            *failure = r.actual;
            return false;
        }
        Print(Now() + "     ok" + (negate ? " (not): " : ": ") + r.actual);
    }
    return failure->empty();
}

RunResult Runner::Run(const Scenario& scenario) {
    RunResult result;
    if (options_.showCalls) session_.SetCallSink(&calls_);
    Print("== scenario " + scenario.name + (scenario.description.empty() ? "" : ": " + scenario.description));
    Print("   working folder " + dir_.path);
    for (const Command& c : scenario.commands) {
        const std::uint64_t mark = session_.Log().Count();
        if (NeedsGame(c.verb) && !session_.Started()) session_.Start();
        PrintEventsSince(mark);
        PrintCalls();
        const std::uint64_t commandMark = session_.Log().Count();
        // `expect event` looks at what the last action (not an expectation or
        // an output command) brought about.
        if (c.verb != "expect" && c.verb != "show" && c.verb != "echo" && c.verb != "png")
            eventsOfLastAction_ = mark;
        Print(Now() + " " + std::to_string(c.line) + ": " + c.source);
        std::string failure;
        const bool ok = Execute(c, &failure);
        ++result.commands;
        PrintEventsSince(commandMark);
        PrintCalls();
        if (!ok) {
            const standin::World& w = standin::GetWorld();
            result.ok = false;
            result.failedLine = c.line;
            result.failedFrame = w.frame;
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%.2f", static_cast<double>(w.timeMs) / 1000.0);
            const std::string start =
                session_.Starts() > 1 ? ", game start " + std::to_string(session_.Starts()) : std::string();
            result.message = "FAILED at frame " + std::to_string(w.frame) + " (" + seconds +
                             " s of game time" + start + "), " +
                             (scenario.path.empty() ? scenario.name : scenario.path) + " line " +
                             std::to_string(c.line) + ": " + c.source + "\n    " + failure;
            break;
        }
    }
    session_.SetCallSink(nullptr);
    result.expectations = expectations_;
    if (!result.ok) {
        out_ << result.message << "\n";
    } else {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.1f", static_cast<double>(session_.TotalMs()) / 1000.0);
        out_ << "PASSED " << scenario.name << ": " << result.commands << " commands, " << result.expectations
             << " expectations, " << session_.TotalFrames() << " frames (" << buf << " s of game time"
             << (session_.Starts() > 1 ? ", " + std::to_string(session_.Starts()) + " game starts"
                                       : std::string())
             << ")\n";
    }
    return result;
}

}  // namespace

RunResult RunScenario(const Scenario& scenario, Session& session, const WorkDir& workDir,
                      const RunOptions& options, std::ostream& out) {
    Runner runner(session, workDir, options, out);
    return runner.Run(scenario);
}

}  // namespace sim
