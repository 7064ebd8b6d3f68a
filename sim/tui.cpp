#include "tui.h"

#include <curses.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "config/settings.h"
#include "keys.h"
#include "menu/state.h"
#include "png_renderer.h"
#include "world_view.h"

namespace sim {

namespace {

// ---- the terminal's state, restored on every way out

volatile sig_atomic_t quitRequested = 0;
volatile sig_atomic_t cursesActive = 0;
int savedStderr = -1;
char crashNote[512];

void RestoreTerminal() {
    if (cursesActive) {
        cursesActive = 0;
        endwin();
    }
}

void OnQuitSignal(int) {
    quitRequested = 1;
}

void OnCrashSignal(int sig) {
    RestoreTerminal();
    if (savedStderr >= 0) {
        const char* name = sigabbrev_np(sig);
        for (const char* part : {"tavrossimer-sim: crashed (SIG", name ? name : "?", "); ",
                                 static_cast<const char*>(crashNote), "\n"}) {
            if (write(savedStderr, part, std::strlen(part)) < 0) break;
        }
    }
    raise(sig);
}

void InstallSignalHandlers() {
    struct sigaction action = {};
    sigemptyset(&action.sa_mask);
    action.sa_handler = OnQuitSignal;
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &action, nullptr);
    // The crash handler is reset on entry, so the signal raised again takes its default course.
    action.sa_handler = OnCrashSignal;
    action.sa_flags = SA_RESETHAND;
    for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) sigaction(s, &action, nullptr);
}

// ---- colours

enum Pair { kHighlight = 1, kDim, kGood, kWarn, kInfo, kBad, kTitle, kKey };

void InitColours() {
    if (!has_colors()) return;
    start_color();
    use_default_colors();
    // Foreground and background of each pair, from kHighlight on.
    const int colours[][2] = {{COLOR_WHITE, COLOR_RED},   {COLORS > 8 ? 8 : COLOR_WHITE, -1},
                              {COLOR_GREEN, -1},          {COLOR_YELLOW, -1},
                              {COLOR_CYAN, -1},           {COLOR_RED, -1},
                              {COLOR_BLACK, COLOR_WHITE}, {COLOR_YELLOW, -1}};
    for (short p = 0; p < 8; ++p) init_pair(p + 1, colours[p][0], colours[p][1]);
}

attr_t PairAttr(Pair p) {
    return has_colors() ? COLOR_PAIR(p) : (p == kHighlight || p == kTitle ? A_REVERSE : 0);
}

// The screen's attribute of a world line's tone.
attr_t ToneAttr(WorldLine::Tone t) {
    const attr_t tones[] = {0,
                            A_BOLD,
                            PairAttr(kDim),
                            PairAttr(kGood),
                            PairAttr(kWarn) | A_BOLD,
                            PairAttr(kBad) | A_BOLD,
                            PairAttr(kInfo)};
    return tones[t];
}

// Events by kind: hire, charge, save, dismiss, death, downed, revive, order, menu, player, action, warning.
attr_t EventAttr(EventKind k) {
    using T = WorldLine;
    constexpr WorldLine::Tone kTones[] = {T::Good, T::Warn, T::Good, T::Bold, T::Bad,   T::Warn,
                                          T::Good, T::Info, T::Info, T::Bold, T::Plain, T::Bad};
    return ToneAttr(kTones[static_cast<int>(k)]);
}

// ---- drawing helpers

void Put(int y, int x, const std::string& text, int width, attr_t attr = 0) {
    if (width <= 0) return;
    attron(attr);
    mvaddnstr(y, x, text.c_str(), width);
    attroff(attr);
}

// A box with its title on the top edge.
void Frame(int y, int x, int h, int w, const std::string& title) {
    if (WINDOW* area = h >= 2 && w >= 2 ? derwin(stdscr, h, w, y, x) : nullptr) {
        box(area, 0, 0);
        delwin(area);
    }
    if (!title.empty()) Put(y, x + 2, " " + title + " ", w - 4, A_BOLD);
}

bool TooSmall() {
    return COLS < 80 || LINES < 24;
}

std::string Clock(long long ms) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld.%lld", ms / 60000, (ms / 1000) % 60, (ms / 100) % 10);
    return buf;
}

// ---- the keys

// Keys that go to the plug-in as Windows key codes; a negative code -1-i
// stands for the key the settings file gives, kKeySettings[i].
constexpr int kMenuKey = -1, kAttackKey = -2, kFollowAllKey = -3;
struct PluginKey {
    int ch;
    int vk;
};
constexpr PluginKey kPluginKeys[] = {
    {KEY_HOME, kMenuKey},  {KEY_END, kMenuKey},  {KEY_FIND, kMenuKey},   {KEY_SELECT, kMenuKey},
    {KEY_UP, VK_UP},       {KEY_DOWN, VK_DOWN},  {KEY_LEFT, VK_LEFT},    {KEY_RIGHT, VK_RIGHT},
    {'\n', VK_RETURN},     {'\r', VK_RETURN},    {KEY_ENTER, VK_RETURN}, {KEY_BACKSPACE, VK_BACK},
    {127, VK_BACK},        {8, VK_BACK},         {KEY_IC, VK_INSERT},    {KEY_DC, VK_DELETE},
    {KEY_PPAGE, VK_PRIOR}, {KEY_NPAGE, VK_NEXT}, {'a', kAttackKey},      {'f', kFollowAllKey},
};

// The key code a terminal key sends to the plug-in and, for the plug-in's own
// keys, the setting that gives it; false when the key is the simulator's.
bool PluginKeyOf(int ch, int* vk, const char** settingName) {
    *settingName = nullptr;
    for (const PluginKey& k : kPluginKeys) {
        if (k.ch != ch) continue;
        *vk = k.vk >= 0 ? k.vk : *kKeySettings[-1 - k.vk].value;
        if (k.vk < 0) *settingName = kKeySettings[-1 - k.vk].name;
        return true;
    }
    *vk = ch >= '0' && ch <= '9' ? ch : ch >= KEY_F(1) && ch <= KEY_F(12) ? VK_F1 + (ch - KEY_F(1)) : -1;
    return *vk >= 0;
}

// The menu key as the player would press it: "Insert", or the reason there is none.
std::string MenuKeyHint() {
    const std::string problem = KeyProblem("SPAWN_MENU_KEY", SPAWN_MENU_KEY);
    return problem.empty() ? KeyName(SPAWN_MENU_KEY) + " opens the menu" : problem;
}

struct Screen;

// The simulator's own keys: what they do, in the help screen's words.
struct WorldKey {
    const char* keys;  // the characters that do it
    const char* label;
    const char* help;
    bool needsPick;
    void (*run)(Screen& s);  // s.pick is the picked ped (or 0)
};

// ---- the screen

struct Screen {
    Screen(Session& s, const WorkDir& d, const Options& o)
        : session(s), log(s.Log()), dir(d), options(o), speed(o.speed) {}
    void Status(const std::string& s) {
        statusText = s;
        statusUntilMs = standin::GetWorld().timeMs + 4000;
    }
    void ChangeSpeed(bool faster) {
        speed = faster ? std::min(64, speed * 2) : std::max(1, speed / 2);
        Status("speed x" + std::to_string(speed));
    }
    void HandleKey(int ch);
    void Draw();
    void DrawHelp();

    std::int32_t Selected() {
        const std::vector<std::int32_t> all = PickableEntities();
        if (all.empty()) return selected = 0;
        if (std::find(all.begin(), all.end(), selected) == all.end()) selected = all.front();
        return selected;
    }
    void CyclePick(int step) {
        const std::vector<std::int32_t> all = PickableEntities();
        if (all.empty()) return Status("nobody to pick: hire a bodyguard or press n for a stranger");
        const auto n = static_cast<std::ptrdiff_t>(all.size());
        const std::ptrdiff_t i = std::find(all.begin(), all.end(), Selected()) - all.begin();
        selected = all[static_cast<std::size_t>((i + step + n) % n)];
        Status("picked " + PedLabel(selected));
    }
    void DrawMenu(int y, int x, int h, int w) {
        const MenuView m = ViewOfMenu(session.ShownDisplay());
        Frame(y, x, h, w,
              menu.menuPage == PAGE_CLOSED ? "Menu" : std::string("Menu: ") + PageName(menu.menuPage));
        const int inner = w - 2;
        if (m.Empty()) {
            Put(y + 2, x + 2, "(closed)", inner - 2, PairAttr(kDim));
            const bool reachable = KeyReachable(SPAWN_MENU_KEY);
            const std::string hint = MenuKeyHint();
            for (std::size_t i = 0, row = 4; i < hint.size() && row + 1 < static_cast<std::size_t>(h);
                 i += inner - 2, ++row)
                Put(y + static_cast<int>(row), x + 2, hint.substr(i), inner - 2,
                    reachable ? PairAttr(kDim) : PairAttr(kWarn) | A_BOLD);
            if (reachable && SPAWN_MENU_KEY != VK_HOME)
                Put(y + h - 3, x + 2, "(Home and End send it too)", inner - 2, PairAttr(kDim));
            if (ONLY_IN_SALOONS) Put(y + 5, x + 2, "(only in a saloon: s)", inner - 2, PairAttr(kDim));
            return;
        }
        for (int r = 0; r < MenuView::kRows && r + 1 < h - 1; ++r) {
            const MenuRow& row = m.rows[r];
            const bool lit = m.highlightRow == r;
            std::string text = (lit ? "> " : "  ") + (row.present ? row.text : std::string());
            if (static_cast<int>(text.size()) < inner) text.resize(inner, ' ');
            Put(y + 1 + r, x + 1, text, inner,
                lit          ? PairAttr(kHighlight) | A_BOLD
                : row.dimmed ? PairAttr(kDim)
                             : 0);
        }
        if (!m.offRows.empty() && h > 12) Put(y + h - 1, x + 2, " +" + m.offRows.front() + " ", inner - 2);
    }
    void DrawWorld(int y, int x, int h, int w) {
        Frame(y, x, h, w, "World");
        std::vector<WorldLine> lines = DescribeWorld(Selected());
        const int room = h - 2;
        // Short of room, the weapon lines go first; what still does not fit scrolls with [ and ].
        if (static_cast<int>(lines.size()) > room)
            lines.erase(
                std::remove_if(lines.begin(), lines.end(), [](const WorldLine& l) { return l.detail; }),
                lines.end());
        const int count = static_cast<int>(lines.size());
        worldScroll = std::max(0, std::min(worldScroll, count - room));
        for (int i = 0; i < room && worldScroll + i < count; ++i) {
            const WorldLine& l = lines[static_cast<std::size_t>(worldScroll + i)];
            Put(y + 1 + i, x + 2, l.text, w - 4, ToneAttr(l.tone));
        }
        if (worldScroll > 0) Put(y, x + w - 14, " [ more up ", 11, PairAttr(kKey));
        if (worldScroll + room < count) Put(y + h - 1, x + w - 16, " ] more down ", 13, PairAttr(kKey));
    }
    void DrawLog(int y, int x, int h, int w) {
        Frame(y, x, h, w, "What happened");
        const auto& events = log.Events();
        const int count = static_cast<int>(events.size());
        for (int i = std::max(0, count - (h - 2)), row = 0; i < count; ++i, ++row) {
            const Event& e = events[static_cast<std::size_t>(i)];
            Put(y + 1 + row, x + 2, Clock(e.timeMs) + "  " + e.text, w - 4, EventAttr(e.kind));
        }
    }
    void Run() {
        using SteadyClock = std::chrono::steady_clock;
        const auto frameTime = std::chrono::microseconds(1000000 / std::max(30, std::min(60, options.fps)));
        auto next = SteadyClock::now();
        while (!quit && !quitRequested) {
            for (int ch = getch(); ch != ERR; ch = getch()) HandleKey(ch);
            // Below the smallest usable screen the game waits until it is large enough.
            if (!paused && !TooSmall()) {
                for (int i = 0; i < speed; ++i) session.Frame();
            }
            Draw();
            next = std::max(next + frameTime, SteadyClock::now());
            std::this_thread::sleep_until(next);
        }
    }

    Session& session;
    EventLog& log;
    const WorkDir& dir;
    const Options& options;
    int speed = 1;
    bool paused = false, help = false, quit = false;
    std::int32_t pick = 0, selected = 0;  // pick: the ped a key acts on, taken when it is pressed
    int promptCursor = 0, worldScroll = 0;
    std::string statusText;
    long long statusUntilMs = 0;
};

standin::Ped& Me() {
    return standin::GetWorld().PlayerPed();
}

const WorldKey kWorldKeys[] = {
    {"\t", "Tab", "pick a bodyguard or a stranger", false, [](Screen& s) { s.CyclePick(1); }},
    {"\x01", "S-Tab", "pick the one before", false, [](Screen& s) { s.CyclePick(-1); }},
    {"t", "t", "target the pick (again: stop)", true,
     [](Screen& s) { SetTarget(s.log, standin::GetWorld().player.target == s.pick ? 0 : s.pick); }},
    {"g", "g", "aim at the pick (again: stop)", true,
     [](Screen& s) { SetAim(s.log, standin::GetWorld().player.aimed == s.pick ? 0 : s.pick); }},
    {"n", "n", "a stranger appears", false, [](Screen& s) { s.selected = SpawnStranger(s.log); }},
    {"p", "p", "the next shown prompt", false, [](Screen& s) { ++s.promptCursor; }},
    {"c", "c", "complete that prompt", false,
     [](Screen& s) {
         const std::vector<ShownPrompt> shown = ShownPrompts();
         if (shown.empty()) return s.Status("no prompt is shown (target a bodyguard with t)");
         CompleteShownPrompt(s.log, shown[static_cast<std::size_t>(s.promptCursor) % shown.size()].handle);
     }},
    {"d", "d", "200 damage to the pick", true, [](Screen& s) { DamagePed(s.log, s.pick, 200); }},
    {"k", "k", "kill the pick", true, [](Screen& s) { KillPed(s.log, s.pick); }},
    {"h", "h", "heal the pick", true, [](Screen& s) { HealPed(s.log, s.pick); }},
    {"w", "w", "walk up to the pick", true, [](Screen& s) { WalkTo(s.log, s.pick); }},
    {"e", "e", "walk 10 m away", false, [](Screen& s) { WalkAway(s.log, 10.0f); }},
    {"m", "m", "horse: on and off", false, [](Screen& s) { SetMounted(s.log, Me().mount == 0); }},
    {"v", "v", "wagon: in and out", false, [](Screen& s) { SetInVehicle(s.log, !Me().inVehicle); }},
    {"s", "s", "saloon: in and out", false, [](Screen& s) { SetInSaloon(s.log, !ViewOfPlayer().inSaloon); }},
    {"z", "z", "crouch (sneak) or stand up", false, [](Screen& s) { SetCrouching(s.log, !Me().crouching); }},
    {"b", "b", "the pick attacks you (again: stop)", true,
     [](Screen& s) {
         standin::World& w = standin::GetWorld();
         const standin::Ped* p = w.FindPed(s.pick);
         p && p->combatTarget == w.player.ped ? EndFights(s.log, s.pick)
                                              : StartFight(s.log, s.pick, w.player.ped);
     }},
    {"x", "x", "the player dies, or respawns", false,
     [](Screen& s) { Me().dead ? RespawnPlayer(s.log) : KillPlayer(s.log); }},
    {"[", "[", "scroll the world panel up", false,
     [](Screen& s) { s.worldScroll = std::max(0, s.worldScroll - 3); }},
    {"]", "]", "scroll the world panel down", false, [](Screen& s) { s.worldScroll += 3; }},
    {"j", "j", "keyboard or gamepad", false,
     [](Screen& s) {
         bool& keyboard = standin::GetWorld().usingKeyboard;
         keyboard = !keyboard;
         s.log.Add(EventKind::Player, keyboard ? "The player uses keyboard and mouse"
                                               : "The player uses a gamepad: arrows, Enter and Backspace are "
                                                 "the pad's frontend controls");
     }},
    {"o", "o", "gamepad: the menu chord, d-pad up + cancel (CONTROLLER_MENU=1)", false,
     [](Screen& s) {
         if (standin::GetWorld().usingKeyboard)
             return s.Status("the menu chord is a gamepad's: press j first");
         s.Status(CONTROLLER_MENU ? "pad: d-pad up + cancel held together -> plug-in"
                                  : "pad: d-pad up + cancel (CONTROLLER_MENU is 0: the plug-in ignores it)");
         s.session.QueueKey(PAD_MENU_CHORD);
     }},
    {"+=", "+", "faster", false, [](Screen& s) { s.ChangeSpeed(true); }},
    {"-_", "-", "slower", false, [](Screen& s) { s.ChangeSpeed(false); }},
    {" ", "space", "pause", false,
     [](Screen& s) {
         s.paused = !s.paused;
         s.Status(s.paused ? "paused (space goes on)" : "running");
     }},
    {"R", "R", "restart: files read again", false,
     [](Screen& s) {
         s.session.Restart(true);
         s.selected = 0;
         s.Status("restarted: the plug-in read its files again");
     }},
    {"P", "P", "a 1920x1080 picture of the frame", false,
     [](Screen& s) {
         const std::string path = s.dir.path + "/frame-" + std::to_string(standin::GetWorld().frame) + ".png";
         std::string error;
         if (WriteFramePng(s.session.ShownDisplay(), path, &error))
             s.log.Add(EventKind::Action, "Picture written: " + path);
         else
             s.Status(error);
     }},
    {"?", "?", "this help", false, [](Screen& s) { s.help = true; }},
    {"qQ\x1b", "q", "quit", false, [](Screen& s) { s.quit = true; }},
};

void Screen::HandleKey(int ch) {
    if (help) {
        // Any key only closes the help.
        if (ch != KEY_RESIZE) help = false;
        return;
    }
    if (ch == KEY_RESIZE) return (void)clear();
    int vk = 0;
    const char* setting = nullptr;
    if (PluginKeyOf(ch, &vk, &setting)) {
        // On a gamepad the menu's keys stand for the pad's frontend controls.
        if (!standin::GetWorld().usingKeyboard)
            vk = vk >= VK_LEFT && vk <= VK_DOWN ? PAD_LEFT + vk - VK_LEFT
                 : vk == VK_RETURN              ? PAD_ACCEPT
                 : vk == VK_BACK                ? PAD_CANCEL
                                                : vk;
        if (setting && !KeyReachable(vk)) return Status(KeyProblem(setting, vk));
        session.QueueKey(vk);
        return Status(PadControl(vk) ? "pad " + KeyName(vk) + " -> plug-in"
                                     : "key " + KeyName(vk) + " -> plug-in (vk " + std::to_string(vk) + ")");
    }
    if (ch == KEY_BTAB) ch = 1;
    for (const WorldKey& k : kWorldKeys) {
        if (ch <= 0 || ch > 127 || !std::strchr(k.keys, ch)) continue;
        pick = Selected();
        if (k.needsPick && !pick) return Status("nobody picked (Tab)");
        return k.run(*this);
    }
}

void Screen::DrawHelp() {
    std::vector<std::string> text = {
        "Keys sent to the plug-in (as Windows key codes):", "  Home or End  the menu key: " + MenuKeyHint(),
        "  arrows, Enter, Backspace  the menu's keys; 0-9 F1-F12 Ins Del PgUp PgDn",
        "  a  attack key: " + KeyLabel(ATTACK_KEY) + "    f  follow-all key: " + KeyLabel(FOLLOW_ALL),
        "The world and the simulator:"};
    // Two keys a line, the first in 40 columns.
    for (std::size_t i = 0; i < std::size(kWorldKeys); ++i) {
        if (i % 2 == 0) text.emplace_back();
        text.back() += std::string("  ") + kWorldKeys[i].label + " " + kWorldKeys[i].help;
        if (i % 2 == 0) text.back().resize(40, ' ');
    }
    text.push_back("Folder: " + dir.path + " (edit the files there, then R)");
    text.push_back("Any key closes this help.");
    const int w = std::min(COLS, 84);
    const int h = std::min(LINES, static_cast<int>(text.size()) + 2);
    const int y = (LINES - h) / 2, x = (COLS - w) / 2;
    for (int r = 0; r < h; ++r) mvhline(y + r, x, ' ', w);
    Frame(y, x, h, w, "Help");
    for (int i = 0; i < h - 2; ++i) Put(y + 1 + i, x + 1, text[static_cast<std::size_t>(i)], w - 2);
}

void Screen::Draw() {
    erase();
    if (TooSmall()) {
        Put(0, 0,
            "Paused: make the terminal at least 80x24 (now " + std::to_string(COLS) + "x" +
                std::to_string(LINES) + "); q quits.",
            COLS);
        refresh();
        return;
    }
    const standin::World& world = standin::GetWorld();
    std::string title = " Tavrossimer simulator | frame " + std::to_string(world.frame) + " | " +
                        Clock(world.timeMs) + " | x" + std::to_string(speed) + (paused ? " PAUSED" : "") +
                        (world.usingKeyboard ? "" : " | GAMEPAD") + " | " + dir.path;
    if (static_cast<int>(title.size()) < COLS) title.resize(COLS, ' ');
    Put(0, 0, title, COLS, PairAttr(kTitle));

    const int logRows = std::max(6, LINES / 4);
    const int topRows = LINES - 1 - logRows - 3;
    const int leftWidth = COLS >= 120 ? 38 : 32;
    DrawMenu(1, 0, topRows, leftWidth);
    DrawWorld(1, leftWidth, topRows, COLS - leftWidth);
    DrawLog(1 + topRows, 0, logRows, COLS);
    std::string status =
        session.QueuedKeys() ? "queued keys: " + std::to_string(session.QueuedKeys()) : "? lists every key";
    const bool fresh = !statusText.empty() && world.timeMs < statusUntilMs;
    Put(LINES - 3, 1, fresh ? statusText : status, COLS - 2, fresh ? A_BOLD : PairAttr(kDim));
    std::string bar = (KeyReachable(SPAWN_MENU_KEY) ? "Home menu" : "Home (menu key off)") +
                      std::string("  arrows Enter Backspace  a attack  f follow-all |");
    for (const WorldKey& k : kWorldKeys) bar += std::string("  ") + k.label;
    if (bar.size() > static_cast<std::size_t>(COLS))
        bar = bar.substr(0, bar.find('|')) + "| ? lists every key";
    // The prompts the player sees, on their own line above the keys.
    const std::vector<ShownPrompt> shown = ShownPrompts();
    std::string line = "Prompts shown:";
    const int cursor = shown.empty() ? 0 : promptCursor % static_cast<int>(shown.size());
    for (int i = 0; i < static_cast<int>(shown.size()); ++i) {
        const ShownPrompt& p = shown[static_cast<std::size_t>(i)];
        line +=
            (i == cursor ? " >[" : "  [") + p.text + "]" + (p.slot >= 0 ? " " + std::to_string(p.slot) : "");
    }
    line += shown.empty() ? " none (t targets the pick)" : "  (p next, c complete)";
    Put(LINES - 2, 1, line, COLS - 2, shown.empty() ? PairAttr(kDim) : A_BOLD);
    Put(LINES - 1, 0, bar, COLS, PairAttr(kKey));
    if (help) DrawHelp();
    refresh();
}

}  // namespace

int RunInteractive(Session& session, const WorkDir& dir, const Options& options) {
    // The plug-in and the stand-in may write to stderr; on the screen that
    // would tear the picture, so it goes to a file in the working folder.
    const std::string logPath = dir.path + "/tavrossimer-sim.log";
    std::snprintf(crashNote, sizeof crashNote, "messages are in %s", logPath.c_str());
    std::fflush(stderr);
    savedStderr = dup(STDERR_FILENO);
    const int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (logFd >= 0) {
        dup2(logFd, STDERR_FILENO);
        close(logFd);
    }

    std::setlocale(LC_ALL, "");
    setenv("ESCDELAY", "25", 0);  // unless the user set it
    InstallSignalHandlers();
    std::atexit(RestoreTerminal);
    if (!initscr()) {
        if (savedStderr >= 0) dup2(savedStderr, STDERR_FILENO);
        std::fprintf(stderr, "tavrossimer-sim: cannot start the terminal screen\n");
        return 1;
    }
    cursesActive = 1;
    cbreak();
    noecho();
    keypad(stdscr, TRUE);
    nodelay(stdscr, TRUE);
    curs_set(0);
    InitColours();

    session.Start();
    Screen screen(session, dir, options);
    screen.Run();
    session.End();

    RestoreTerminal();
    std::fflush(stderr);
    if (savedStderr >= 0) {
        dup2(savedStderr, STDERR_FILENO);
        close(savedStderr);
        savedStderr = -1;
    }
    std::printf("tavrossimer-sim: the game ended. Working folder: %s\n", dir.path.c_str());
    if (quitRequested) std::printf("tavrossimer-sim: stopped by a signal\n");
    return 0;
}

}  // namespace sim
