#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include "driver.h"
#include "keys.h"
#include "menu/state.h"
#include "persist/custom_peds.h"
#include "persist/save_file.h"
#include "png_renderer.h"
#include "scenario.h"
#include "world_view.h"

namespace sim {

namespace {

constexpr long long kDefaultWaitForMs = 10000;
constexpr int kHighlightMoveLimit = 12;
constexpr std::size_t kShownFileBytes = 4096;

using Args = std::vector<std::string>;

std::string Stamp(int frame, long long timeMs) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "[%6d %7.2fs]", frame, static_cast<double>(timeMs) / 1000.0);
    return buf;
}

// A checked duration from the words at `at`, or `fallback` ms when there is none.
Duration DurationAt(const Args& a, std::size_t at, long long fallback = 0) {
    Duration d{false, fallback};
    std::size_t used = 0;
    ParseDuration(a, at, &d, &used);
    return d;
}

// Game time in seconds: "12.35".
std::string Seconds(long long ms, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, static_cast<double>(ms) / 1000.0);
    return buf;
}

// The texts of the prompts shown now, each between `open` and `close`; "none" for none.
std::string PromptList(const char* open, const char* close) {
    std::string shown;
    for (const ShownPrompt& p : ShownPrompts())
        shown += (shown.empty() ? "" : ", ") + (open + p.text + close);
    return shown.empty() ? "none" : shown;
}

std::string Now() {
    const standin::World& w = standin::GetWorld();
    return Stamp(w.frame, w.timeMs);
}

struct Runner {
    Session& session;
    const WorkDir& dir;
    const RunOptions& options;
    std::ostream& out;
    std::uint64_t eventsOfLastAction = 0;
    RunResult result;
    std::vector<std::string> calls;

    RunResult Run(const Scenario& scenario);
    void Print(const std::string& line) {
        if (!options.quiet) out << line << "\n";
    }
    // The events since `mark`, then the game calls made since the last time.
    void PrintSince(std::uint64_t mark) {
        for (const Event& e : session.Log().Since(mark))
            Print(Stamp(e.frame, e.timeMs) + "     " + (e.kind == EventKind::Warning ? "!! " : "* ") +
                  e.text);
        for (const std::string& c : calls) Print("                      | " + c);
        calls.clear();
    }
    void Wait(const Duration& d) {
        d.frames ? session.Frames(static_cast<int>(d.amount)) : session.RunMs(static_cast<int>(d.amount));
    }
    void Tap(int vk) {
        session.QueueKey(vk);
        session.SettleKeys();
    }
    bool MoveHighlightTo(const std::string& text, std::string* failure);
    void Show(const Args& what);
    void ShowFile(const char* name);
};

bool Runner::MoveHighlightTo(const std::string& text, std::string* failure) {
    for (int moves = 0; moves <= kHighlightMoveLimit; ++moves) {
        const MenuView m = ViewOfMenu(session.ShownDisplay());
        if (m.Empty()) return Fail(failure, "the menu is closed");
        int target = -1;
        for (int r = 0; r < MenuView::kRows; ++r) {
            if (m.rows[r].present && m.rows[r].text == text) target = r;
        }
        if (target < 0) {
            std::string shown;
            for (const std::string& l : DescribeMenu(m)) shown += "\n      " + l;
            return Fail(failure, "no menu line reads \"" + text + "\"; the menu shows:" + shown);
        }
        if (m.highlightRow == target) return true;
        Tap(m.highlightRow < target ? VK_DOWN : VK_UP);
    }
    return Fail(failure,
                "the highlight did not reach \"" + text + "\" (is it a line that cannot be highlighted?)");
}

// A file in the transcript: the first kShownFileBytes of it, and how much was left out.
void Runner::ShowFile(const char* name) {
    std::string content;
    if (!ReadTextFile(name, &content)) return Print(std::string("        ") + name + ": (none)");
    const std::size_t size = content.size();
    const std::string summary =
        std::string(name) == SAVE_FILE_NAME ? "  (" + DescribeSaveFile(content) + ")" : "";
    content.resize(std::min(size, kShownFileBytes));
    Print(std::string("        ") + name + ":" + (summary.empty() ? "" : " \"" + content + "\"" + summary));
    std::istringstream lines(summary.empty() ? content : "");
    for (std::string line; std::getline(lines, line);) Print("          | " + line);
    if (size > kShownFileBytes)
        Print("          ... " + std::to_string(size - kShownFileBytes) + " more bytes not shown (" +
              std::to_string(size) + " in all)");
}

void Runner::Show(const Args& what) {
    auto wants = [&](const std::string& w) {
        if (what.empty()) return w != "files" && w != "display";
        return std::any_of(what.begin(), what.end(), [&](const std::string& s) { return SameText(s, w); });
    };
    if (wants("menu")) {
        Print("        menu (" + std::string(PageName(menu.menuPage)) + "):");
        for (const std::string& l : DescribeMenu(ViewOfMenu(session.ShownDisplay()))) Print("          " + l);
    }
    if (wants("world")) {
        for (const WorldLine& l : DescribeWorld()) Print("        " + l.text);
    }
    if (wants("prompts")) Print("        prompts shown: " + PromptList("[", "]"));
    if (wants("display")) {
        // The frame's display list as the plug-in drew it, in drawing order.
        for (const standin::DisplayItem& d : session.ShownDisplay()) {
            char buf[256];
            static const char* const kKinds[] = {"sprite", "rect", "text"};
            std::snprintf(buf, sizeof buf, "        %-6s x %.4f y %.4f w %.4f h %.4f rgba %d %d %d %d",
                          kKinds[d.kind], d.x, d.y, d.width, d.height, d.r, d.g, d.b, d.a);
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
        for (const char* f : {INI_FILE, SAVE_FILE_NAME, CUSTOM_PEDS_FILE_NAME}) ShowFile(f);
    }
}

// What a verb needs and does besides its own run: the game started (all but
// those on files and the next world's set-up), a frame after it (world
// actions, for the plug-in to see them; after keys, what a page does on the
// frame after a key, such as a bodyguard made ready in the builder, shows
// then); an output verb or an expectation leaves `expect event` looking at
// the last action before it.
enum VerbFlags { kNoGame = 1, kOutput = 2, kFrameAfter = 4 };

struct Verb {
    const char* usage;  // the name, then the argument pattern (see CheckUsage)
    const char* help;
    int flags;
    // Runs a checked command; sets *failure when it cannot.
    void (*run)(Runner& r, const Args& a, std::string* failure);
};

// A ped the command names, then what is done to it.
template <typename Action>
void OnPed(Runner& r, const Args& a, std::string* failure, Action action) {
    const std::int32_t ped = ResolveWho(a, 0, failure);
    if (failure->empty()) action(r.session.Log(), ped);
}
template <void (*Action)(EventLog&, std::int32_t)>
void OnPed(Runner& r, const Args& a, std::string* failure) {
    OnPed(r, a, failure, Action);
}

bool Evaluate(Runner& r, const Args& a, std::size_t at, ConditionResult* result) {
    *result = EvaluateCondition(a, at, ConditionContext{&r.session, r.eventsOfLastAction});
    return result->ok;
}

void SetModel(Runner& r, const std::string& name, bool invalid) {
    (invalid ? r.session.Setup().invalidModels : r.session.Setup().unavailableModels).push_back(name);
    standin::World& w = standin::GetWorld();
    if (r.session.Started()) (invalid ? w.invalidModels : w.unavailableModels).insert(w.HashName(name));
}

const Verb kVerbs[] = {
    // Files and the world's set-up.
    {"ini KEY=VALUE", "set a line of [SETTINGS] in Tavrossimer.ini (read at the next start)", kNoGame,
     [](Runner& r, const Args& a, std::string*) {
         std::string key, value;
         SplitAssignment(a[0], &key, &value);
         SetIniValue(key, value);
         if (r.session.Started())
             r.Print("        (the plug-in reads its settings at the next start or restart)");
     }},
    {"custom-list [NAME]...", "write Tavrossimer_CustomPeds.txt with these model names", kNoGame,
     [](Runner&, const Args& a, std::string*) { WriteCustomList(a); }},
    {"write-file FILE \"TEXT\"", "write a file in the working folder", kNoGame,
     [](Runner&, const Args& a, std::string* failure) {
         if (!WriteTextFile(a[0], a[1])) *failure = "cannot write " + a[0];
     }},
    {"delete-file FILE", "remove a file from the working folder", kNoGame,
     [](Runner&, const Args& a, std::string*) {
         std::error_code ec;
         std::filesystem::remove(a[0], ec);
     }},
    {"seed N", "seed the game's random numbers", kNoGame,
     [](Runner& r, const Args& a, std::string*) {
         r.session.Setup().seed = static_cast<std::uint32_t>(ToInt(a[0]));
         if (r.session.Started()) standin::GetWorld().rng.seed(r.session.Setup().seed);
     }},
    {"random N...", "the next random numbers the game hands out, in order", kNoGame,
     [](Runner& r, const Args& a, std::string*) {
         auto& queue =
             r.session.Started() ? standin::GetWorld().scriptedRandom : r.session.Setup().pendingRandom;
         for (const std::string& n : a) queue.push_back(static_cast<int>(ToInt(n)));
     }},
    {"model-unavailable NAME", "the game refuses this model (IsModelAvailable 0)", kNoGame,
     [](Runner& r, const Args& a, std::string*) { SetModel(r, a[0], false); }},
    {"model-invalid NAME", "the game refuses this model (IsModelValid 0)", kNoGame,
     [](Runner& r, const Args& a, std::string*) { SetModel(r, a[0], true); }},
    {"known-model NAME...", "models the game knows beyond the catalogue", kNoGame,
     [](Runner& r, const Args& a, std::string*) {
         for (const std::string& m : a) r.session.Setup().knownModels.push_back(m);
         if (r.session.Started()) standin::GetWorld().extraModels.insert(a.begin(), a.end());
     }},
    {"model-load-frames N", "frames a model takes to load (-1: never)", kNoGame,
     [](Runner& r, const Args& a, std::string*) {
         r.session.Setup().modelLoadFrames = static_cast<int>(ToInt(a[0]));
         if (r.session.Started()) standin::GetWorld().modelLoadFrames = r.session.Setup().modelLoadFrames;
     }},
    {"start", "start the game (done by the first command that needs it)", kNoGame,
     [](Runner& r, const Args&, std::string*) { r.session.Start(); }},
    {"restart [same-world]", "end the game and start it again; the plug-in reads its files again", 0,
     [](Runner& r, const Args& a, std::string*) { r.session.Restart(a.empty()); }},
    // Keys.
    {"tap KEY...", "press and release keys one after another, as a person does", kFrameAfter,
     [](Runner& r, const Args& a, std::string*) {
         for (const std::string& k : a) r.Tap(KeyCodeOfName(k));
     }},
    {"press KEY", "key down only (delivered with the next frame)", 0,
     [](Runner&, const Args& a, std::string*) { standin::KeyDown(KeyCodeOfName(a[0])); }},
    {"release KEY", "key up only (delivered with the next frame)", 0,
     [](Runner&, const Args& a, std::string*) { standin::KeyUp(KeyCodeOfName(a[0])); }},
    {"hold KEY DURATION", "key down, wait, key up", kFrameAfter,
     [](Runner& r, const Args& a, std::string*) {
         standin::KeyDown(KeyCodeOfName(a[0]));
         r.Wait(DurationAt(a, 1));
         standin::KeyUp(KeyCodeOfName(a[0]));
     }},
    {"select \"TEXT\"", "move the highlight to the menu line with this text, then Enter", kFrameAfter,
     [](Runner& r, const Args& a, std::string* failure) {
         if (r.MoveHighlightTo(a[0], failure)) r.Tap(VK_RETURN);
     }},
    {"highlight \"TEXT\"", "move the highlight to the menu line with this text", kFrameAfter,
     [](Runner& r, const Args& a, std::string* failure) { r.MoveHighlightTo(a[0], failure); }},
    {"control NAME", "trigger a game control for one frame (INPUT_FRONTEND_ACCEPT...)", 0,
     [](Runner& r, const Args& a, std::string*) {
         standin::TriggerControl(a[0].c_str());
         r.session.Frame();
         r.session.SettleKeys();
     }},
    {"hold-control NAME on|off", "hold or let go of a game control", 0,
     [](Runner&, const Args& a, std::string*) { standin::HoldControl(a[0].c_str(), SameText(a[1], "on")); }},
    {"input keyboard|gamepad", "whether the player uses keyboard and mouse", 0,
     [](Runner&, const Args& a, std::string*) {
         standin::GetWorld().usingKeyboard = SameText(a[0], "keyboard");
     }},
    // Time.
    {"wait DURATION", "let the game run: 10 frames, 500 ms, 2 s", 0,
     [](Runner& r, const Args& a, std::string*) { r.Wait(DurationAt(a, 0)); }},
    {"wait-for CONDITION [within DURATION]", "run frames until the condition holds (default 10 s)", 0,
     [](Runner& r, const Args& a, std::string* failure) {
         const auto within = std::find(a.begin(), a.end(), "within");
         const Duration limit =
             DurationAt(a, static_cast<std::size_t>(within - a.begin()) + 1, kDefaultWaitForMs);
         const Args cond(a.begin(), within);
         const standin::World& w = standin::GetWorld();
         const int startFrame = w.frame;
         const long long startMs = w.timeMs;
         ConditionResult c;
         while (!Evaluate(r, cond, 0, &c)) {
             if (limit.frames ? w.frame - startFrame >= limit.amount : w.timeMs - startMs >= limit.amount) {
                 *failure = "not met within " + std::to_string(limit.amount) +
                            (limit.frames ? " frames" : " ms") + ": " + c.actual;
                 return;
             }
             r.session.Frame();
         }
         r.Print(Now() + "     ok: " + c.actual);
     }},
    // The world.
    {"stranger [MODEL]", "a stranger ped appears near the player (stranger 1, 2, ...)", 0,
     [](Runner& r, const Args& a, std::string*) {
         if (a.empty())
             SpawnStranger(r.session.Log());
         else
             SpawnStranger(r.session.Log(), a[0]);
     }},
    {"target slot N|stranger N|none", "the player targets someone (prompts show for a bodyguard)",
     kFrameAfter, OnPed<SetTarget>},
    {"aim slot N|stranger N|none", "the player aims at someone (for the attack key)", kFrameAfter,
     OnPed<SetAim>},
    {"complete \"TEXT\"", "complete the shown prompt with this text", 0,
     [](Runner& r, const Args& a, std::string* failure) {
         if (!CompletePromptByText(r.session.Log(), a[0])) {
             *failure = "no prompt \"" + a[0] + "\" is shown; shown: " + PromptList("\"", "\"");
             return;
         }
         // The game reports the completion in the next frame; the plug-in's
         // answer (new prompts, an order) shows in the frame after it.
         r.session.Frames(2);
     }},
    {"damage slot N|stranger N|player|horse AMOUNT", "take health from a ped (or the player's horse)",
     kFrameAfter,
     [](Runner& r, const Args& a, std::string* f) {
         OnPed(r, a, f,
               [&a](EventLog& l, std::int32_t p) { DamagePed(l, p, static_cast<int>(ToInt(a.back()))); });
     }},
    {"kill slot N|stranger N|player", "kill a ped (or the player)", kFrameAfter,
     [](Runner& r, const Args& a, std::string* f) {
         OnPed(r, a, f, [](EventLog& l, std::int32_t p) {
             if (p == standin::GetWorld().player.ped)
                 KillPlayer(l);
             else
                 KillPed(l, p);
         });
     }},
    {"heal slot N|stranger N", "give a ped its full health back", kFrameAfter, OnPed<HealPed>},
    {"respawn", "the dead player comes back", kFrameAfter,
     [](Runner& r, const Args&, std::string*) { RespawnPlayer(r.session.Log()); }},
    {"mount", "the player gets on his horse", kFrameAfter,
     [](Runner& r, const Args&, std::string*) { SetMounted(r.session.Log(), true); }},
    {"dismount", "the player gets off his horse", kFrameAfter,
     [](Runner& r, const Args&, std::string*) { SetMounted(r.session.Log(), false); }},
    {"vehicle in|out", "the player gets into or out of a wagon", kFrameAfter,
     [](Runner& r, const Args& a, std::string*) { SetInVehicle(r.session.Log(), SameText(a[0], "in")); }},
    {"crouch on|off", "the player crouches (sneaks) or stands up", kFrameAfter,
     [](Runner& r, const Args& a, std::string*) { SetCrouching(r.session.Log(), SameText(a[0], "on")); }},
    {"fight slot N|stranger N", "a ped attacks the player: a fight starts", kFrameAfter,
     [](Runner& r, const Args& a, std::string* f) {
         OnPed(r, a, f,
               [](EventLog& l, std::int32_t p) { StartFight(l, p, standin::GetWorld().player.ped); });
     }},
    {"end-fights slot N|stranger N|player", "nobody fights this ped and it fights nobody", kFrameAfter,
     OnPed<EndFights>},
    {"walk-to slot N|stranger N", "the player walks up to a ped", kFrameAfter, OnPed<WalkTo>},
    {"walk-away [METRES]", "the player walks away (10 m unless said)", kFrameAfter,
     [](Runner& r, const Args& a, std::string*) {
         WalkAway(r.session.Log(), a.empty() ? 10.0f : static_cast<float>(ToInt(a[0])));
     }},
    {"saloon in|out", "the player walks into a saloon or out of it", kFrameAfter,
     [](Runner& r, const Args& a, std::string*) { SetInSaloon(r.session.Log(), SameText(a[0], "in")); }},
    {"interior ID", "the player is inside this interior (0: outside)", kFrameAfter,
     [](Runner& r, const Args& a, std::string*) {
         SetInterior(r.session.Log(), static_cast<std::int32_t>(ToInt(a[0])));
     }},
    {"money DOLLARS", "set the player's money", 0,
     [](Runner&, const Args& a, std::string*) {
         long long cents = 0;
         ParseDollars(a[0], &cents);
         standin::GetWorld().player.money = cents;
     }},
    // Output.
    {"echo [TEXT]...", "print a line in the transcript", kNoGame | kOutput,
     [](Runner& r, const Args& a, std::string*) {
         std::string text;
         for (const std::string& s : a) text += (text.empty() ? "" : " ") + s;
         r.Print("        " + text);
     }},
    {"show [menu|world|prompts|files|display]...",
     "print the menu, the world, the prompts, the files or the frame's display list", kOutput,
     [](Runner& r, const Args& a, std::string*) { r.Show(a); }},
    {"png FILE [menu]",
     "write the frame as the game shows it, 1920x1080, or with menu only the menu's part of it at full size "
     "(path from where you started)",
     kOutput,
     [](Runner& r, const Args& a, std::string* failure) {
         const std::string path = UserPath(r.dir, a[0]);
         if (WriteFramePng(r.session.ShownDisplay(), path, failure, a.size() > 1))
             r.Print("        wrote " + path);
     }},
    // Expectations.
    {"expect [not] CONDITION", "fail the run unless the condition holds now", kOutput,
     [](Runner& r, const Args& a, std::string* failure) {
         const bool negate = a[0] == "not";
         ConditionResult c;
         ++r.result.expectations;
         if (Evaluate(r, a, negate ? 1 : 0, &c) == negate)
             *failure = c.actual;
         else
             r.Print(Now() + "     ok" + (negate ? " (not): " : ": ") + c.actual);
     }},
};

RunResult Runner::Run(const Scenario& scenario) {
    if (options.showCalls) session.SetCallSink(&calls);
    Print("== scenario " + scenario.name + (scenario.description.empty() ? "" : ": " + scenario.description));
    Print("   working folder " + dir.path);
    for (const Command& c : scenario.commands) {
        const Verb& verb = *FindByName(kVerbs, c.verb);
        const std::uint64_t mark = session.Log().Count();
        if (!(verb.flags & kNoGame) && !session.Started()) session.Start();
        PrintSince(mark);
        const std::uint64_t commandMark = session.Log().Count();
        // `expect event` looks at what the last action brought about.
        if (!(verb.flags & kOutput)) eventsOfLastAction = mark;
        Print(Now() + " " + std::to_string(c.line) + ": " + c.source);
        std::string failure;
        verb.run(*this, c.args, &failure);
        if (failure.empty() && (verb.flags & kFrameAfter)) session.Frame();
        ++result.commands;
        PrintSince(commandMark);
        if (failure.empty()) continue;
        const standin::World& w = standin::GetWorld();
        result.ok = false;
        result.failedLine = c.line;
        result.failedFrame = w.frame;
        const std::string start =
            session.Starts() > 1 ? ", game start " + std::to_string(session.Starts()) : std::string();
        result.message = "FAILED at frame " + std::to_string(w.frame) + " (" + Seconds(w.timeMs, 2) +
                         " s of game time" + start + "), " +
                         (scenario.path.empty() ? scenario.name : scenario.path) + " line " +
                         std::to_string(c.line) + ": " + c.source + "\n    " + failure;
        out << result.message << "\n";
        break;
    }
    session.SetCallSink(nullptr);
    if (result.ok) {
        out << "PASSED " << scenario.name << ": " << result.commands << " commands, " << result.expectations
            << " expectations, " << session.TotalFrames() << " frames (" << Seconds(session.TotalMs(), 1)
            << " s of game time"
            << (session.Starts() > 1 ? ", " + std::to_string(session.Starts()) + " game starts"
                                     : std::string())
            << ")\n";
    }
    return result;
}

}  // namespace

bool CheckCommand(const Command& command, std::string* error) {
    const Verb* v = FindByName(kVerbs, command.verb);
    if (!v) return Fail(error, "unknown command \"" + command.verb + "\" (see --help-scenarios)");
    return CheckUsage(v->usage, command.args, 0, error);
}

std::string ScenarioHelp() {
    std::string out =
        "Scenario files: one command per line; '#' starts a comment; \"quotes\" keep blanks.\n"
        "The game starts with the first command that needs it, in a fresh world, in the\n"
        "working folder (the settings, save and custom list files live there).\n\n"
        "Keys are named Home, End, Up, Down, Left, Right, Enter, Backspace, Alt, Insert,\n"
        "Delete, PageUp, PageDown, F1..F12, A..Z, 0..9, vk:NN, or Menu, Attack and FollowAll\n"
        "for the keys the settings file gives the plug-in; PadUp, PadDown, PadLeft, PadRight,\n"
        "PadAccept and PadCancel are a gamepad's frontend controls (with input gamepad); PadMenuChord holds\n"
        "PadUp and PadCancel together for a moment (CONTROLLER_MENU=1 opens and closes the menu with it).\n\n"
        "Commands:\n";
    for (const Verb& v : kVerbs) {
        std::string usage = v.usage;
        if (usage.size() < 40) usage.resize(40, ' ');
        out += "  " + usage + " " + v.help + "\n";
    }
    return out + "\nConditions (for expect, expect not, wait-for):\n" + ConditionHelp();
}

RunResult RunScenario(const Scenario& scenario, Session& session, const WorkDir& workDir,
                      const RunOptions& options, std::ostream& out) {
    return Runner{session, workDir, options, out, 0, {}, {}}.Run(scenario);
}

}  // namespace sim
