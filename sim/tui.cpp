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
#include <string>
#include <thread>
#include <vector>

#include "config/settings.h"
#include "keys.h"
#include "menu/state.h"
#include "png_renderer.h"
#include "roster/roster.h"
#include "world_actions.h"
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
        const char* name = sig == SIGSEGV   ? "SIGSEGV"
                           : sig == SIGABRT ? "SIGABRT"
                           : sig == SIGBUS  ? "SIGBUS"
                           : sig == SIGFPE  ? "SIGFPE"
                                            : "SIGILL";
        ssize_t ignored = write(savedStderr, "tavrossimer-sim: crashed (", 26);
        ignored = write(savedStderr, name, std::strlen(name));
        ignored = write(savedStderr, "); ", 3);
        ignored = write(savedStderr, crashNote, std::strlen(crashNote));
        ignored = write(savedStderr, "\n", 1);
        (void)ignored;
    }
    signal(sig, SIG_DFL);
    raise(sig);
}

void InstallSignalHandlers() {
    struct sigaction quit = {};
    quit.sa_handler = OnQuitSignal;
    sigemptyset(&quit.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP}) sigaction(s, &quit, nullptr);
    struct sigaction crash = {};
    crash.sa_handler = OnCrashSignal;
    crash.sa_flags = SA_RESETHAND;
    sigemptyset(&crash.sa_mask);
    for (int s : {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL}) sigaction(s, &crash, nullptr);
}

// ---- colours

enum Pair { kHighlight = 1, kDim, kGood, kWarn, kInfo, kBad, kTitle, kKey };

void InitColours() {
    if (!has_colors()) return;
    start_color();
    use_default_colors();
    init_pair(kHighlight, COLOR_WHITE, COLOR_RED);
    init_pair(kDim, COLORS > 8 ? 8 : COLOR_WHITE, -1);
    init_pair(kGood, COLOR_GREEN, -1);
    init_pair(kWarn, COLOR_YELLOW, -1);
    init_pair(kInfo, COLOR_CYAN, -1);
    init_pair(kBad, COLOR_RED, -1);
    init_pair(kTitle, COLOR_BLACK, COLOR_WHITE);
    init_pair(kKey, COLOR_YELLOW, -1);
}

attr_t PairAttr(Pair p) {
    return has_colors() ? COLOR_PAIR(p) : (p == kHighlight || p == kTitle ? A_REVERSE : 0);
}

attr_t EventAttr(EventKind k) {
    switch (k) {
        case EventKind::Hire:
        case EventKind::Save:
        case EventKind::Revive:
            return PairAttr(kGood);
        case EventKind::Charge:
        case EventKind::Downed:
            return PairAttr(kWarn);
        case EventKind::Death:
        case EventKind::Warning:
            return PairAttr(kBad) | A_BOLD;
        case EventKind::Order:
        case EventKind::Menu:
            return PairAttr(kInfo);
        case EventKind::Dismiss:
        case EventKind::Player:
            return A_BOLD;
        case EventKind::Action:
            return 0;
    }
    return 0;
}

// ---- drawing helpers

void Put(WINDOW* w, int y, int x, const std::string& text, int width, attr_t attr = 0) {
    if (width <= 0) return;
    std::string t = text.size() > static_cast<std::size_t>(width) ? text.substr(0, width) : text;
    wattron(w, attr);
    mvwaddnstr(w, y, x, t.c_str(), width);
    wattroff(w, attr);
}

void Frame(WINDOW* w, int y, int x, int h, int wd, const std::string& title) {
    if (h < 2 || wd < 2) return;
    mvwhline(w, y, x + 1, ACS_HLINE, wd - 2);
    mvwhline(w, y + h - 1, x + 1, ACS_HLINE, wd - 2);
    mvwvline(w, y + 1, x, ACS_VLINE, h - 2);
    mvwvline(w, y + 1, x + wd - 1, ACS_VLINE, h - 2);
    mvwaddch(w, y, x, ACS_ULCORNER);
    mvwaddch(w, y, x + wd - 1, ACS_URCORNER);
    mvwaddch(w, y + h - 1, x, ACS_LLCORNER);
    mvwaddch(w, y + h - 1, x + wd - 1, ACS_LRCORNER);
    if (!title.empty()) Put(w, y, x + 2, " " + title + " ", wd - 4, A_BOLD);
}

std::string Clock(long long ms) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld.%lld", ms / 60000, (ms / 1000) % 60, (ms / 100) % 10);
    return buf;
}

std::string KeyLabel(int vk) {
    if (!KeyCodeUsable(vk)) return "off";
    return KeyName(vk) + " (" + std::to_string(vk) + ")";
}

// ---- the screen

class Screen {
  public:
    Screen(Session& s, const WorkDir& d, const Options& o) : session_(s), dir_(d), options_(o) {
        speed_ = o.speed;
    }
    int Run();

  private:
    void HandleKey(int ch);
    void PluginKey(int vk, const std::string& label);
    void Draw();
    void DrawMenu(int y, int x, int h, int w);
    void DrawPrompts(int y, int x, int h, int w);
    void DrawWorld(int y, int x, int h, int w);
    void DrawLog(int y, int x, int h, int w);
    void DrawHelpBar(int y, int w);
    void DrawHelpOverlay();
    std::int32_t Selected();
    void Status(const std::string& s) {
        status_ = s;
        statusUntilMs_ = standin::GetWorld().timeMs + 4000;
    }

    Session& session_;
    const WorkDir& dir_;
    const Options& options_;
    int speed_ = 1;
    bool paused_ = false;
    bool help_ = false;
    bool quit_ = false;
    std::int32_t selected_ = 0;
    int promptCursor_ = 0;
    std::string status_;
    long long statusUntilMs_ = 0;
    int pngCount_ = 0;
};

std::int32_t Screen::Selected() {
    const std::vector<std::int32_t> all = PickableEntities();
    if (all.empty()) return selected_ = 0;
    if (std::find(all.begin(), all.end(), selected_) == all.end()) selected_ = all.front();
    return selected_;
}

void Screen::PluginKey(int vk, const std::string& label) {
    session_.QueueKey(vk);
    Status("key " + label + " -> plug-in (vk " + std::to_string(vk) + ")");
}

void Screen::HandleKey(int ch) {
    EventLog& log = session_.Log();
    if (help_) {
        // Any key only closes the help.
        if (ch != KEY_RESIZE) help_ = false;
        return;
    }
    switch (ch) {
        // The plug-in's keys.
        case KEY_HOME:
        case KEY_END:
        case KEY_FIND:
        case KEY_SELECT:
            PluginKey(SPAWN_MENU_KEY, "menu");
            return;
        case KEY_UP:
            PluginKey(VK_UP, "Up");
            return;
        case KEY_DOWN:
            PluginKey(VK_DOWN, "Down");
            return;
        case KEY_LEFT:
            PluginKey(VK_LEFT, "Left");
            return;
        case KEY_RIGHT:
            PluginKey(VK_RIGHT, "Right");
            return;
        case '\n':
        case '\r':
        case KEY_ENTER:
            PluginKey(VK_RETURN, "Enter");
            return;
        case KEY_BACKSPACE:
        case 127:
        case 8:
            PluginKey(VK_BACK, "Backspace");
            return;
        case KEY_IC:
            PluginKey(VK_INSERT, "Insert");
            return;
        case KEY_DC:
            PluginKey(VK_DELETE, "Delete");
            return;
        case KEY_PPAGE:
            PluginKey(VK_PRIOR, "PageUp");
            return;
        case KEY_NPAGE:
            PluginKey(VK_NEXT, "PageDown");
            return;
        case 'a':
            PluginKey(ATTACK_KEY, "attack");
            return;
        case 'f':
            PluginKey(FOLLOW_ALL, "follow-all");
            return;
        default:
            break;
    }
    if (ch >= '0' && ch <= '9') {
        PluginKey(ch, std::string(1, static_cast<char>(ch)));
        return;
    }
    if (ch >= KEY_F(1) && ch <= KEY_F(12)) {
        PluginKey(VK_F1 + (ch - KEY_F(1)), "F" + std::to_string(ch - KEY_F(1) + 1));
        return;
    }
    standin::World& world = standin::GetWorld();
    const std::int32_t sel = Selected();
    switch (ch) {
        case '\t':
        case KEY_BTAB: {
            const std::vector<std::int32_t> all = PickableEntities();
            if (all.empty()) {
                Status("nobody to pick: hire a bodyguard or press n for a stranger");
                return;
            }
            auto it = std::find(all.begin(), all.end(), sel);
            std::ptrdiff_t i = it == all.end() ? 0 : it - all.begin();
            const std::ptrdiff_t n = static_cast<std::ptrdiff_t>(all.size());
            i = ch == '\t' ? (i + 1) % n : (i + n - 1) % n;
            selected_ = all[static_cast<std::size_t>(i)];
            Status("picked " + PedLabel(selected_));
            return;
        }
        case 't':
            if (!sel) return Status("nobody picked (Tab)");
            SetTarget(log, world.player.target == sel ? 0 : sel);
            return;
        case 'g':
            if (!sel) return Status("nobody picked (Tab)");
            SetAim(log, world.player.aimed == sel ? 0 : sel);
            return;
        case 'n':
            selected_ = SpawnStranger(log);
            return;
        case 'p':
            ++promptCursor_;
            return;
        case 'c': {
            const std::vector<ShownPrompt> shown = ShownPrompts();
            if (shown.empty()) return Status("no prompt is shown (target a bodyguard with t)");
            const ShownPrompt& p = shown[static_cast<std::size_t>(promptCursor_) % shown.size()];
            CompleteShownPrompt(log, p.handle);
            return;
        }
        case 'd':
            if (!sel) return Status("nobody picked (Tab)");
            DamagePed(log, sel, 200);
            return;
        case 'k':
            if (!sel) return Status("nobody picked (Tab)");
            KillPed(log, sel);
            return;
        case 'h':
            if (!sel) return Status("nobody picked (Tab)");
            HealPed(log, sel);
            return;
        case 'w':
            if (!sel) return Status("nobody picked (Tab)");
            WalkTo(log, sel);
            return;
        case 'e':
            WalkAway(log, 10.0f);
            return;
        case 'm':
            SetMounted(log, world.PlayerPed().mount == 0);
            return;
        case 'v':
            SetInVehicle(log, !world.PlayerPed().inVehicle);
            return;
        case 's':
            SetInSaloon(log, !ViewOfPlayer().inSaloon);
            return;
        case 'x':
            if (world.PlayerPed().dead)
                RespawnPlayer(log);
            else
                KillPlayer(log);
            return;
        case '+':
        case '=':
            speed_ = std::min(64, speed_ * 2);
            Status("speed x" + std::to_string(speed_));
            return;
        case '-':
        case '_':
            speed_ = std::max(1, speed_ / 2);
            Status("speed x" + std::to_string(speed_));
            return;
        case ' ':
            paused_ = !paused_;
            Status(paused_ ? "paused (space goes on)" : "running");
            return;
        case 'R':
            session_.Restart(true);
            selected_ = 0;
            Status("restarted: the plug-in read its files again");
            return;
        case 'P': {
            const std::string path = dir_.path + "/frame-" + std::to_string(world.frame) + ".png";
            std::string error;
            if (WriteFramePng(session_.ShownDisplay(), path, &error)) {
                ++pngCount_;
                log.Add(EventKind::Action, "Picture written: " + path);
            } else {
                Status(error);
            }
            return;
        }
        case '?':
            help_ = true;
            return;
        case 'q':
        case 'Q':
        case 27:
            quit_ = true;
            return;
        case KEY_RESIZE:
            clear();
            return;
        default:
            return;
    }
}

void Screen::DrawMenu(int y, int x, int h, int w) {
    const MenuView m = ViewOfMenu(session_.ShownDisplay());
    const std::string title =
        menu.menuPage == PAGE_CLOSED ? "Menu" : std::string("Menu: ") + PageName(menu.menuPage);
    Frame(stdscr, y, x, h, w, title);
    const int inner = w - 2;
    if (m.Empty()) {
        Put(stdscr, y + 2, x + 2, "(closed)", inner - 2, PairAttr(kDim));
        Put(stdscr, y + 4, x + 2, "Home opens the menu", inner - 2, PairAttr(kDim));
        if (ONLY_IN_SALOONS) Put(stdscr, y + 5, x + 2, "(only in a saloon: s)", inner - 2, PairAttr(kDim));
        return;
    }
    for (int r = 0; r < MenuView::kRows && r + 1 < h - 1; ++r) {
        const MenuRow& row = m.rows[r];
        const bool lit = m.highlightRow == r;
        std::string text = (lit ? "> " : "  ") + (row.present ? row.text : std::string());
        if (static_cast<int>(text.size()) < inner) text.resize(inner, ' ');
        attr_t attr = 0;
        if (row.dimmed) attr |= PairAttr(kDim);
        if (lit) attr = PairAttr(kHighlight) | A_BOLD;
        Put(stdscr, y + 1 + r, x + 1, text, inner, attr);
    }
    if (!m.offRows.empty() && h > 12)
        Put(stdscr, y + h - 1, x + 2, " +" + m.offRows.front() + " ", inner - 2);
}

void Screen::DrawPrompts(int y, int x, int h, int w) {
    if (h < 3) return;
    Frame(stdscr, y, x, h, w, "Prompts shown");
    const std::vector<ShownPrompt> shown = ShownPrompts();
    if (shown.empty()) {
        Put(stdscr, y + 1, x + 2, "none (t targets the pick)", w - 4, PairAttr(kDim));
        return;
    }
    const int cursor = promptCursor_ % static_cast<int>(shown.size());
    for (int i = 0; i < static_cast<int>(shown.size()) && i < h - 2; ++i) {
        const ShownPrompt& p = shown[static_cast<std::size_t>(i)];
        std::string line = (i == cursor ? "> [" : "  [") + p.text + "]";
        if (p.slot >= 0) line += " slot " + std::to_string(p.slot);
        Put(stdscr, y + 1 + i, x + 1, line, w - 2, i == cursor ? A_BOLD : 0);
    }
}

void Screen::DrawWorld(int y, int x, int h, int w) {
    Frame(stdscr, y, x, h, w, "World");
    std::vector<std::pair<std::string, attr_t>> lines;
    standin::World& world = standin::GetWorld();
    const PlayerView p = ViewOfPlayer();
    lines.push_back({std::string("Player: ") + (p.alive ? "alive" : "DEAD") + ", " + p.moving + ", " +
                         Dollars(p.money) + ", health " + std::to_string(p.health) +
                         (p.inSaloon ? ", in a saloon" : ""),
                     p.alive ? A_BOLD : PairAttr(kBad) | A_BOLD});
    lines.push_back({"  targets " + PedLabel(p.target) + "; aims at " + PedLabel(p.aimed), 0});
    lines.push_back({"Keys: menu " + KeyLabel(SPAWN_MENU_KEY) + ", attack " + KeyLabel(ATTACK_KEY) +
                         ", follow-all " + KeyLabel(FOLLOW_ALL),
                     PairAttr(kDim)});
    lines.push_back(
        {"Settings: price $" + std::to_string(PRICE) + ", revive " + (ALLOW_REVIVE ? "on" : "off") +
             ", health " + std::to_string(spawnHealth) + ", saloons only " +
             (ONLY_IN_SALOONS ? "on" : "off") + ", formation " +
             (formationMode == FORMATION_AUTO ? std::string("Auto") : std::to_string(formationMode)),
         PairAttr(kDim)});
    const std::int32_t sel = Selected();
    lines.push_back(
        {"Bodyguards " + std::to_string(OccupiedSlots()) + "/" + std::to_string(ROSTER_SIZE), A_BOLD});
    std::string freeSlots;
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const SlotView v = ViewOfSlot(s);
        if (!v.occupied) {
            freeSlots += " " + std::to_string(s);
            continue;
        }
        attr_t attr = 0;
        if (v.dead)
            attr = PairAttr(kBad) | A_BOLD;
        else if (v.downed)
            attr = PairAttr(kWarn) | A_BOLD;
        else if (v.staying)
            attr = PairAttr(kInfo);
        std::string head = std::string(v.ped == sel ? " > " : "   ") + "[" + std::to_string(s) + "] " +
                           v.Label() + "  hp " + std::to_string(v.health) + "/" +
                           std::to_string(v.maxHealth) + "  " + v.State() + "  outfit " +
                           (v.outfit < 0 ? std::string("-") : std::to_string(v.outfit)) + "/" +
                           std::to_string(v.outfitCount);
        if (v.builderPreview) head += "  (builder)";
        if (world.player.target == v.ped) head += "  <targeted>";
        lines.push_back({head, attr});
        std::string weapons;
        for (const std::string& n : v.weapons) weapons += (weapons.empty() ? "" : ", ") + n;
        std::string detail = "       " + (weapons.empty() ? std::string("unarmed") : weapons);
        if (!v.prompts.empty()) {
            detail += "  |";
            for (const std::string& t : v.prompts) detail += " [" + t + "]";
        }
        lines.push_back({detail, PairAttr(kDim)});
    }
    if (!freeSlots.empty()) lines.push_back({"   free slots:" + freeSlots, PairAttr(kDim)});
    const std::vector<std::int32_t>& strangers = GetExtras().strangers;
    if (!strangers.empty()) {
        lines.push_back({"Strangers", A_BOLD});
        for (std::size_t i = 0; i < strangers.size(); ++i) {
            const standin::Ped* ped = world.FindPed(strangers[i]);
            if (!ped) continue;
            std::string l = std::string(strangers[i] == sel ? " > " : "   ") + std::to_string(i + 1) + ". " +
                            PedLabel(strangers[i]) + "  hp " + std::to_string(ped->health) +
                            (ped->dead ? "  dead" : "");
            if (world.player.target == strangers[i]) l += "  <targeted>";
            if (world.player.aimed == strangers[i]) l += "  <aimed at>";
            lines.push_back({l, ped->dead ? PairAttr(kBad) : 0});
        }
    }
    const int room = h - 2;
    for (int i = 0; i < room && i < static_cast<int>(lines.size()); ++i) {
        Put(stdscr, y + 1 + i, x + 2, lines[static_cast<std::size_t>(i)].first, w - 4,
            lines[static_cast<std::size_t>(i)].second);
    }
    if (static_cast<int>(lines.size()) > room && room > 0)
        Put(stdscr, y + h - 1, x + w - 14, " (more...) ", 11, PairAttr(kDim));
}

void Screen::DrawLog(int y, int x, int h, int w) {
    Frame(stdscr, y, x, h, w, "What happened");
    const auto& events = session_.Log().Events();
    const int room = h - 2;
    const int count = static_cast<int>(events.size());
    const int first = std::max(0, count - room);
    for (int i = first, row = 0; i < count; ++i, ++row) {
        const Event& e = events[static_cast<std::size_t>(i)];
        Put(stdscr, y + 1 + row, x + 2, Clock(e.timeMs) + "  " + e.text, w - 4, EventAttr(e.kind));
    }
}

void Screen::DrawHelpBar(int y, int w) {
    if (w >= 132) {
        Put(stdscr, y, 0,
            "Home menu  arrows Enter Backspace  a attack  f follow-all  0-9 F1-F12 keys | Tab pick  t target "
            " "
            "g aim  n stranger  p/c prompt",
            w, PairAttr(kKey));
        Put(stdscr, y + 1, 0,
            "d damage  k kill  h heal  w walk-to  e walk-away  m mount  v wagon  s saloon  x die/respawn  "
            "+/- speed  space pause  R restart  P picture  ? help  q quit",
            w, PairAttr(kKey));
    } else {
        Put(stdscr, y, 0, "Home menu  arrows Enter Bksp  a attack  f follow-all | Tab pick  t target  g aim",
            w, PairAttr(kKey));
        Put(stdscr, y + 1, 0, "n stranger  p/c prompt  d/k/h harm/kill/heal  w/e walk  m/v/s/x  R restart  ?",
            w, PairAttr(kKey));
    }
}

void Screen::DrawHelpOverlay() {
    const std::vector<std::string> text = {
        "Tavrossimer simulator: the plug-in running on a stand-in of the game",
        "",
        "Plug-in keys (sent as the Windows key codes the plug-in reads):",
        "  Home or End       the menu key (SPAWN_MENU_KEY = " + KeyLabel(SPAWN_MENU_KEY) + ")",
        "  arrows            move in the menu, step values",
        "  Enter, Backspace  accept, cancel",
        "  a                 the attack key (ATTACK_KEY = " + KeyLabel(ATTACK_KEY) + ")",
        "  f                 the follow-all key (FOLLOW_ALL = " + KeyLabel(FOLLOW_ALL) + ")",
        "  0-9, F1-F12, Insert, Delete, PageUp, PageDown   those keys",
        "",
        "The world:",
        "  Tab / Shift-Tab   pick a bodyguard or stranger     n  a stranger appears",
        "  t                 target the pick (or stop)        g  aim at the pick (or stop)",
        "  p                 next shown prompt                c  complete that prompt",
        "  d / k / h         damage 200 / kill / heal the pick",
        "  w / e             walk up to the pick / walk 10 m away",
        "  m / v / s         horse on-off / wagon in-out / saloon in-out",
        "  x                 the player dies, or respawns",
        "",
        "The simulator:",
        "  + / -  speed   space  pause   R  restart (files read again)",
        "  P      picture of the frame (1920x1080 PNG in the working folder)",
        "  q      quit",
        "",
        "Working folder: " + dir_.path,
        "Edit Tavrossimer.ini or Tavrossimer_CustomPeds.txt there, then R.",
        "",
        "Any key closes this help.",
    };
    const int w = std::min(COLS - 2, 84);
    const int h = std::min(LINES - 2, static_cast<int>(text.size()) + 2);
    const int y = (LINES - h) / 2, x = (COLS - w) / 2;
    for (int r = 0; r < h; ++r) mvhline(y + r, x, ' ', w);
    Frame(stdscr, y, x, h, w, "Help");
    for (int i = 0; i < h - 2; ++i) Put(stdscr, y + 1 + i, x + 2, text[static_cast<std::size_t>(i)], w - 4);
}

void Screen::Draw() {
    erase();
    if (COLS < 80 || LINES < 24) {
        Put(stdscr, 0, 0, "Please make the terminal at least 80x24 (q quits).", COLS);
        refresh();
        return;
    }
    const standin::World& world = standin::GetWorld();
    std::string title = " Tavrossimer simulator | frame " + std::to_string(world.frame) + " | " +
                        Clock(world.timeMs) + " | x" + std::to_string(speed_) + (paused_ ? " PAUSED" : "") +
                        " | " + dir_.path;
    if (static_cast<int>(title.size()) < COLS) title.resize(COLS, ' ');
    Put(stdscr, 0, 0, title, COLS, PairAttr(kTitle));

    const int helpRows = 2;
    const int logRows = std::max(6, LINES / 4);
    const int topRows = LINES - 1 - logRows - helpRows - 1;
    const int leftWidth = COLS >= 120 ? 38 : 32;
    const int menuRows = std::min(12, topRows);
    DrawMenu(1, 0, menuRows, leftWidth);
    DrawPrompts(1 + menuRows, 0, topRows - menuRows, leftWidth);
    DrawWorld(1, leftWidth, topRows, COLS - leftWidth);
    DrawLog(1 + topRows, 0, logRows, COLS);
    const bool promptsBoxShown = topRows - menuRows >= 3;
    const std::vector<ShownPrompt> shown = ShownPrompts();
    if (!status_.empty() && world.timeMs < statusUntilMs_) {
        Put(stdscr, LINES - helpRows - 1, 1, status_, COLS - 2, A_BOLD);
    } else if (!promptsBoxShown && !shown.empty()) {
        // No room for the prompts box: the prompts go on the status line.
        std::string line = "prompts:";
        const int cursor = promptCursor_ % static_cast<int>(shown.size());
        for (int i = 0; i < static_cast<int>(shown.size()); ++i)
            line += (i == cursor ? " >[" : "  [") + shown[static_cast<std::size_t>(i)].text + "]";
        Put(stdscr, LINES - helpRows - 1, 1, line + "   (p next, c complete)", COLS - 2, A_BOLD);
    } else {
        std::string keys = "queued keys: " + std::to_string(session_.QueuedKeys());
        Put(stdscr, LINES - helpRows - 1, 1, session_.QueuedKeys() ? keys : std::string("? for help"),
            COLS - 2, PairAttr(kDim));
    }
    DrawHelpBar(LINES - helpRows, COLS);
    if (help_) DrawHelpOverlay();
    refresh();
}

int Screen::Run() {
    using SteadyClock = std::chrono::steady_clock;
    const auto frameTime = std::chrono::microseconds(1000000 / std::max(30, std::min(60, options_.fps)));
    auto next = SteadyClock::now();
    while (!quit_ && !quitRequested) {
        for (int ch = getch(); ch != ERR; ch = getch()) HandleKey(ch);
        if (!paused_) {
            for (int i = 0; i < speed_; ++i) session_.Frame();
        }
        Draw();
        next += frameTime;
        const auto now = SteadyClock::now();
        if (next < now) next = now;
        std::this_thread::sleep_until(next);
    }
    return 0;
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
    if (!getenv("ESCDELAY")) setenv("ESCDELAY", "25", 1);
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
    const int code = screen.Run();
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
    return code;
}

}  // namespace sim
