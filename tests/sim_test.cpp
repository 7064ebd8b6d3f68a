// The simulator: its scenario language, its working folder, the events it
// reads off the world, the way it feeds keys to the plug-in, the runner's
// failure reports and the pictures it draws. The shipped scenarios themselves
// run as tests of their own (label "sim").
#include <cairo.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include "config/settings.h"
#include "driver.h"
#include "event_log.h"
#include "game_test.h"
#include "keys.h"
#include "menu/state.h"
#include "options.h"
#include "persist/custom_peds.h"
#include "persist/save_file.h"
#include "png_renderer.h"
#include "roster/roster.h"
#include "scenario.h"
#include "session.h"
#include "workdir.h"
#include "world_view.h"

namespace fs = std::filesystem;
using namespace sim;

namespace {

Scenario Parse(const std::string& text) {
    Scenario s;
    std::string error;
    EXPECT_TRUE(ParseScenario(text, "test", &s, &error)) << error;
    return s;
}

std::string ParseError(const std::string& text) {
    Scenario s;
    std::string error;
    EXPECT_FALSE(ParseScenario(text, "test", &s, &error)) << "parsed: " << text;
    return error;
}

}  // namespace

// ---------------------------------------------------------------- the language

TEST(SimScenarioParser, SplitsWordsWithQuotesEscapesAndComments) {
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(SplitWords(R"(expect menu-line 3 "Fire someone to make room "  # trailing space kept)",
                           &words, &error));
    EXPECT_EQ(words, (std::vector<std::string>{"expect", "menu-line", "3", "Fire someone to make room "}));
    ASSERT_TRUE(SplitWords(R"(write-file a.txt "x \"y\"\n#z" "")", &words, &error));
    EXPECT_EQ(words, (std::vector<std::string>{"write-file", "a.txt", "x \"y\"\n#z", ""}));
    EXPECT_FALSE(SplitWords(R"(select "Random Bodyguard)", &words, &error));
}

TEST(SimScenarioParser, KeepsLineNumbersDescriptionAndSourceWithoutComment) {
    const Scenario s = Parse("# Hires somebody\n\n  tap Home   # open it\nselect \"Random Bodyguard\"\n");
    EXPECT_EQ(s.description, "Hires somebody");
    ASSERT_EQ(s.commands.size(), 2u);
    EXPECT_EQ(s.commands[0].line, 3);
    EXPECT_EQ(s.commands[0].source, "tap Home");
    EXPECT_EQ(s.commands[1].verb, "select");
    EXPECT_EQ(s.commands[1].args, (std::vector<std::string>{"Random Bodyguard"}));
}

TEST(SimScenarioParser, RejectsMistakesWithTheirLine) {
    EXPECT_EQ(ParseError("tap Home\ntapp Home\n").substr(0, 2), "2:");
    EXPECT_NE(ParseError("tap Hoem\n").find("unknown key"), std::string::npos);
    EXPECT_NE(ParseError("wait 5\n").find("usage: wait"), std::string::npos);
    EXPECT_NE(ParseError("wait 5 parsecs\n").find("usage: wait"), std::string::npos);
    EXPECT_NE(ParseError("expect slot 9 empty\n").find("1:"), std::string::npos);
    EXPECT_NE(ParseError("expect slot 0 colour red\n").find("unknown slot test"), std::string::npos);
    EXPECT_NE(ParseError("expect bodyguards two\n").find("usage: bodyguards"), std::string::npos);
    EXPECT_NE(ParseError("target slot\n").find("usage: target"), std::string::npos);
    EXPECT_NE(ParseError("kill none\n").find("usage: kill"), std::string::npos);
    EXPECT_NE(ParseError("ini PRICE\n").find("KEY=VALUE"), std::string::npos);
    EXPECT_NE(ParseError("wait-for bodyguards 1 within forever\n").find("usage: wait-for"),
              std::string::npos);
    EXPECT_NE(ParseError("expect money 9.5\n").find("usage: money"), std::string::npos);
}

TEST(SimScenarioParser, TakesThePluginsOwnKeyNamesWhateverTheSettings) {
    SPAWN_MENU_KEY = -1;  // a settings file can turn the key off
    Parse("tap Menu Attack FollowAll\npress vk:200\nhold Up 300 ms\ntap F12 A 7\n");
}

TEST(SimScenarioParser, ReadsDurationsAndWho) {
    Duration d;
    std::size_t used = 0;
    ASSERT_TRUE(ParseDuration({"2", "s"}, 0, &d, &used));
    EXPECT_FALSE(d.frames);
    EXPECT_EQ(d.amount, 2000);
    EXPECT_EQ(used, 2u);
    ASSERT_TRUE(ParseDuration({"500ms"}, 0, &d, &used));
    EXPECT_EQ(d.amount, 500);
    EXPECT_EQ(used, 1u);
    ASSERT_TRUE(ParseDuration({"12", "frames"}, 0, &d, &used));
    EXPECT_TRUE(d.frames);
    EXPECT_EQ(d.amount, 12);
    EXPECT_FALSE(ParseDuration({"s"}, 0, &d, &used));

    Who who;
    ASSERT_TRUE(ParseWho({"stranger", "2"}, 0, &who, &used));
    EXPECT_EQ(who.kind, Who::Stranger);
    EXPECT_EQ(who.number, 2);
    EXPECT_FALSE(ParseWho({"slot", "7"}, 0, &who, &used));
    EXPECT_FALSE(ParseWho({"stranger", "0"}, 0, &who, &used));
}

TEST(SimScenarioParser, EveryShippedScenarioAndTheBuiltInDemoParse) {
    int count = 0;
    for (const auto& e : fs::directory_iterator(ScenarioFolder())) {
        if (e.path().extension() != ".txt") continue;
        Scenario s;
        std::string error;
        EXPECT_TRUE(LoadScenarioFile(e.path().string(), &s, &error)) << error;
        EXPECT_FALSE(s.description.empty()) << e.path() << " has no description line";
        ++count;
    }
    EXPECT_GE(count, 6);
    Scenario demo;
    std::string error;
    EXPECT_TRUE(ParseScenario(DemoScenarioText(), "demo", &demo, &error)) << error;
    EXPECT_GT(demo.commands.size(), 10u);
}

TEST(SimScenarioParser, ReadsDollars) {
    long long c = 0;
    ASSERT_TRUE(ParseDollars("995", &c));
    EXPECT_EQ(c, 99500);
    ASSERT_TRUE(ParseDollars("$12.05", &c));
    EXPECT_EQ(c, 1205);
    ASSERT_TRUE(ParseDollars("-3", &c));
    EXPECT_EQ(c, -300);
    EXPECT_FALSE(ParseDollars("12.5", &c));
    EXPECT_FALSE(ParseDollars("$", &c));
    EXPECT_FALSE(ParseDollars("1e3", &c));
}

TEST(SimKeys, NamesAndThePluginsKeysFromTheSettings) {
    EXPECT_EQ(KeyCodeOfName("home"), 36);
    EXPECT_EQ(KeyCodeOfName("Backspace"), 8);
    EXPECT_EQ(KeyCodeOfName("F5"), 116);
    EXPECT_EQ(KeyCodeOfName("0"), 48);
    EXPECT_EQ(KeyCodeOfName("q"), 'Q');
    EXPECT_EQ(KeyCodeOfName("vk:45"), 45);
    EXPECT_EQ(KeyCodeOfName("Hyper"), -1);
    SPAWN_MENU_KEY = 45;
    ATTACK_KEY = 112;
    EXPECT_EQ(KeyCodeOfName("Menu"), 45);
    EXPECT_EQ(KeyCodeOfName("attack"), 112);
    EXPECT_EQ(KeyName(18), "Alt");
    EXPECT_EQ(KeyName(113), "F2");
}

TEST(SimOptions, ParsesTheCommandLine) {
    Options o;
    std::string error;
    const char* good[] = {"sim",   "--dir", "w",     "--ini-set", "PRICE=5",  "--ini-set", "ALLOW_REVIVE = 0",
                          "--fps", "60",    "--png", "x.png",     "--frames", "10",        "--fresh"};
    ASSERT_TRUE(ParseOptions(14, good, &o, &error)) << error;
    EXPECT_EQ(o.dir, "w");
    ASSERT_EQ(o.iniSets.size(), 2u);
    EXPECT_EQ(o.iniSets[1].first, "ALLOW_REVIVE");
    EXPECT_EQ(o.iniSets[1].second, "0");
    EXPECT_EQ(o.fps, 60);
    EXPECT_EQ(o.frames, 10);
    EXPECT_TRUE(o.fresh);
    for (const std::vector<const char*>& bad : {std::vector<const char*>{"sim", "--fps", "120"},
                                                {"sim", "--ini-set", "PRICE"},
                                                {"sim", "--dir"},
                                                {"sim", "--frobnicate"}}) {
        Options b;
        EXPECT_FALSE(ParseOptions(static_cast<int>(bad.size()), bad.data(), &b, &error)) << bad[1];
    }
}

// ---------------------------------------------------------------- the working folder

class SimFolderTest : public GameTest {};

TEST_F(SimFolderTest, SetsIniValuesInPlaceAndKeepsTheRest) {
    WriteFile(
        INI_FILE,
        "; my notes\r\n[SETTINGS]\r\n; the price\r\nprice=0\r\nALLOW_REVIVE=1\r\n\r\n[OTHER]\r\nPRICE=9\r\n");
    SetIniValue("PRICE", "25");
    SetIniValue("ONLY_IN_SALOONS", "1");
    EXPECT_EQ(ReadFile(INI_FILE),
              "; my notes\n[SETTINGS]\n; the "
              "price\nPRICE=25\nALLOW_REVIVE=1\nONLY_IN_SALOONS=1\n\n[OTHER]\nPRICE=9\n");
    std::remove(INI_FILE);
    SetIniValue("PRICE", "3");
    EXPECT_EQ(ReadFile(INI_FILE), "[SETTINGS]\nPRICE=3\n");
    // The plug-in reads it as Windows would.
    standin::StartGame();
    EXPECT_EQ(PRICE, 3);
}

TEST_F(SimFolderTest, WritesTheCustomListAsThePluginReadsIt) {
    WriteCustomList({"CS_dutch", "S_M_M_Army_01"});
    const std::string text = ReadFile(CUSTOM_PEDS_FILE_NAME);
    EXPECT_EQ(text.substr(text.find('\n') + 1), "CS_dutch\nS_M_M_Army_01\nEND_LIST\n");
}

TEST_F(SimFolderTest, AFreshFolderLosesOnlyThePluginsFiles) {
    fs::create_directory("game");
    WriteFile("game/Tavrossimer.dat", " 1 2 3");
    WriteFile("game/Tavrossimer.ini", "[SETTINGS]\nPRICE=7\n");
    WriteFile("game/notes.txt", "mine");
    WorkDir dir;
    std::string error;
    ASSERT_TRUE(OpenWorkDir("game", true, &dir, &error)) << error;
    EXPECT_FALSE(fs::exists("Tavrossimer.dat"));
    EXPECT_TRUE(fs::exists("notes.txt"));
    // Documented defaults come back for the modder to edit.
    std::string ini;
    ASSERT_TRUE(ReadTextFile(INI_FILE, &ini));
    EXPECT_NE(ini.find("SPAWN_MENU_KEY=36"), std::string::npos);
    EXPECT_NE(ini.find("PRICE=0"), std::string::npos);
    EXPECT_TRUE(fs::exists(CUSTOM_PEDS_FILE_NAME));
    EXPECT_EQ(UserPath(dir, "pic.png"), (fs::path(folder_) / "pic.png").string());
    CloseWorkDir(dir, true);
    EXPECT_EQ(fs::current_path().string(), folder_);

    ASSERT_TRUE(OpenWorkDir("game", false, &dir, &error));
    WriteTextFile(SAVE_FILE_NAME, " 5");
    CloseWorkDir(dir, true);
    ASSERT_TRUE(OpenWorkDir("game", false, &dir, &error));
    EXPECT_TRUE(fs::exists(SAVE_FILE_NAME)) << "a folder opened without --fresh keeps the save file";
    CloseWorkDir(dir, true);
}

// ---------------------------------------------------------------- events

TEST(SimEventLog, KeepsTheLatestAndCountsAll) {
    EventLog log;
    for (std::size_t i = 0; i < EventLog::kKept + 5; ++i) log.Add(EventKind::Action, std::to_string(i));
    EXPECT_EQ(log.Count(), EventLog::kKept + 5);
    EXPECT_EQ(log.Events().size(), EventLog::kKept);
    const std::vector<Event> last = log.Since(log.Count() - 2);
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(last[1].text, std::to_string(EventLog::kKept + 4));
    EXPECT_EQ(log.Since(0).size(), EventLog::kKept);
    EXPECT_TRUE(log.Since(log.Count()).empty());
}

TEST(SimEventLog, DescribesMoneyAndSaveFiles) {
    EXPECT_EQ(Dollars(99500), "$995.00");
    EXPECT_EQ(Dollars(-1205), "-$12.05");
    EXPECT_EQ(
        DescribeSaveFile(" 2 1 8 9 1 2 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 "
                         "4 0 0 0 0 0 11"),
        "2 bodyguards, formation Auto");
    EXPECT_EQ(DescribeSaveFile(" 0 3 1 0"), "1 bodyguard (4 of 43 values)");
}

class SimEventsTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        for (BodyguardRecord& r : roster) ClearRecord(r);
        builder.lastSpawnSlot = -1;
        menu.menuPage = PAGE_CLOSED;
    }
    std::int32_t Guard(int slot, const char* model) {
        const std::int32_t h = World().SpawnPed(World().HashName(model), {});
        roster[slot].ped = h;
        return h;
    }
    std::vector<std::string> Frame(const std::vector<standin::Call>& calls = {}) {
        EventLog log;
        NoteFrameEvents(before_, TakeSnapshot(), calls, log);
        std::vector<std::string> texts;
        for (const Event& e : log.Events()) texts.push_back(e.text);
        before_ = TakeSnapshot();
        return texts;
    }
    bool Has(const std::vector<std::string>& events, const std::string& text) {
        for (const std::string& e : events) {
            if (e.find(text) != std::string::npos) return true;
        }
        return false;
    }
    WorldSnapshot before_;
};

TEST_F(SimEventsTest, HiresDismissalsAndDeathsFromTheRoster) {
    before_ = TakeSnapshot();
    const std::int32_t dutch = Guard(1, "CS_dutch");
    World().FindPed(dutch)->displayName = "Dutch";
    auto events = Frame();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "Hired Dutch (CS_dutch) into slot 1");

    roster[1].ped = 0;
    World().FindPed(dutch)->released = true;
    events = Frame();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0], "Dutch (CS_dutch) was dismissed; slot 1 is free");

    const std::int32_t other = Guard(0, "S_M_M_Army_01");
    Frame();
    roster[0].downed = true;
    roster[0].downedChecks = 50;
    Frame();
    World().Kill(other);
    roster[0].ped = 0;
    events = Frame();
    EXPECT_TRUE(Has(events, "S_M_M_Army_01 died (bled out)")) << events.at(0);

    // The builder's bodyguard: spawned, then confirmed.
    builder.lastSpawnSlot = 2;
    Guard(2, "CS_kieran");
    EXPECT_TRUE(Has(Frame(), "Spawned CS_kieran into slot 2 for the builder"));
    builder.lastSpawnSlot = -1;
    EXPECT_TRUE(Has(Frame(), "Confirmed CS_kieran in slot 2"));
}

TEST_F(SimEventsTest, DowningsRevivesOrdersMenuAndCharges) {
    Guard(0, "CS_sean");
    before_ = TakeSnapshot();
    roster[0].downed = true;
    World().FindPed(roster[0].ped)->health = 450;
    EXPECT_TRUE(Has(Frame(), "CS_sean went down (health 450)"));
    roster[0].downedChecks = 1;
    EXPECT_TRUE(Has(Frame(), "check 1 of 50"));
    roster[0].downed = false;
    roster[0].downedChecks = 0;
    EXPECT_TRUE(Has(Frame(), "CS_sean was revived"));
    roster[0].staying = true;
    EXPECT_TRUE(Has(Frame(), "CS_sean stays here"));

    menu.menuPage = PAGE_MAIN;
    EXPECT_TRUE(Has(Frame(), "Menu opened: main page"));
    menu.menuPage = PAGE_ROSTER_FULL;
    EXPECT_TRUE(Has(Frame(), "Menu: roster-full notice"));

    standin::Call charge;
    charge.name = "ChargePlayer";
    charge.args = {500};
    World().player.money -= 500;
    EXPECT_TRUE(Has(Frame({charge}), "Charged $5.00 (500 cents); money now $995.00"));
}

TEST_F(SimEventsTest, ASaveIsSeenWhenTheFileIsReplaced) {
    before_ = TakeSnapshot();
    EXPECT_TRUE(Frame().empty());
    WriteFile("Tavrossimer.dat.tmp",
              " -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 "
              "0 0 0 -1 -1 0 0 0 0 3");
    fs::rename("Tavrossimer.dat.tmp", SAVE_FILE_NAME);
    EXPECT_TRUE(Has(Frame(), "Saved Tavrossimer.dat: 0 bodyguards, formation 3"));
    EXPECT_TRUE(Frame().empty()) << "an unchanged file is no new save";
}

// ---------------------------------------------------------------- the menu read off the display list

TEST(SimWorldView, ReadsRowsHighlightAndDimmedLinesFromTheDisplayList) {
    std::vector<standin::DisplayItem> display;
    standin::DisplayItem panel;
    panel.kind = standin::DisplayItem::Sprite;
    display.push_back(panel);
    standin::DisplayItem red;
    red.kind = standin::DisplayItem::Rect;
    red.r = 80, red.g = 10, red.b = 10;
    red.y = 6.0f * 0.04f + 0.2064f;
    display.push_back(red);
    standin::DisplayItem black = red;
    black.r = black.g = black.b = 0;
    display.push_back(black);
    standin::DisplayItem text;
    text.kind = standin::DisplayItem::Text;
    text.plainText = "Exit";
    text.y = 6.0f * 0.04f + 0.19f;
    display.push_back(text);
    text.plainText = "- chose outfit -";
    text.y = 2.0f * 0.04f + 0.19f;
    text.colourSet = true;
    text.r = text.g = text.b = 100;
    display.push_back(text);

    const MenuView m = ViewOfMenu(display);
    EXPECT_TRUE(m.panel);
    EXPECT_EQ(m.highlightRow, 6);
    EXPECT_EQ(m.rows[6].text, "Exit");
    EXPECT_FALSE(m.rows[6].dimmed);
    EXPECT_TRUE(m.rows[2].dimmed);
    EXPECT_FALSE(m.rows[3].present);
    const std::vector<std::string> lines = DescribeMenu(m);
    EXPECT_EQ(lines[6], "6 > Exit");
    EXPECT_EQ(lines[2], "2   - chose outfit -  (dim)");
    EXPECT_TRUE(ViewOfMenu({}).Empty());
}

// ---------------------------------------------------------------- keys fed to the plug-in

class SimSessionTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        session.Start();
    }
    void TearDown() override {
        session.End();
        GameTest::TearDown();
    }
    EventLog log;
    Session session{log};
};

TEST_F(SimSessionTest, AnArrowMovesTheHighlightOnceAndIsLetGo) {
    session.QueueKey(VK_HOME);
    session.SettleKeys();
    session.Frame();
    ASSERT_EQ(menu.menuPage, PAGE_MAIN);
    session.QueueKey(VK_DOWN);
    session.SettleKeys();
    session.Frames(20);  // long after the gate opened again: a held key would move on
    EXPECT_EQ(menu.mainMenuItem, 1);
    EXPECT_EQ(ViewOfMenu(session.ShownDisplay()).highlightRow, 1);
}

TEST_F(SimSessionTest, KeysTypedAheadWaitForTheMenuAndNoneIsLost) {
    // Home, Down, Enter typed at once, as tmux or a fast typist sends them.
    session.QueueKey(VK_HOME);
    session.QueueKey(VK_DOWN);
    session.QueueKey(VK_RETURN);
    session.QueueKey(VK_RETURN);
    session.SettleKeys();
    session.Frame();
    EXPECT_EQ(OccupiedSlots(), 2);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_TRUE(session.KeysIdle());
}

TEST_F(SimSessionTest, TheMenuStaysShownWhileTheScriptSleeps) {
    // A model page's spawn pauses the script for 300 ms: nothing is drawn then.
    for (int vk : {VK_HOME, VK_RETURN, VK_RETURN, VK_DOWN, VK_RETURN, VK_DOWN, VK_RETURN})
        session.QueueKey(vk);
    bool sawSleepingFrame = false;
    for (int i = 0; i < 200 && OccupiedSlots() == 0; ++i) {
        session.Frame();
        if (World().display.empty() && menu.menuPage != PAGE_CLOSED) {
            sawSleepingFrame = true;
            EXPECT_FALSE(session.ShownDisplay().empty()) << "frame " << World().frame;
        }
    }
    EXPECT_EQ(OccupiedSlots(), 1);
    EXPECT_TRUE(sawSleepingFrame);
}

// ---------------------------------------------------------------- the runner

class SimRunnerTest : public GameTest {
  protected:
    RunResult Run(const std::string& text) {
        Scenario s;
        std::string error;
        EXPECT_TRUE(ParseScenario(text, "t", &s, &error)) << error;
        WorkDir dir;
        dir.path = folder_;
        dir.previousCwd = folder_;
        EventLog log;
        Session session(log);
        RunOptions options;
        const RunResult r = RunScenario(s, session, dir, options, transcript_);
        session.End();
        return r;
    }
    std::ostringstream transcript_;
};

TEST_F(SimRunnerTest, AFailedExpectationStopsTheRunWithLineFrameAndWhatWasFound) {
    const RunResult r =
        Run("tap Home\n\nexpect menu-line 1 \"Random Bodyguard\"\nexpect bodyguards 3\ntap Home\n");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.failedLine, 4);
    EXPECT_EQ(r.commands, 3);
    EXPECT_GT(r.failedFrame, 0);
    EXPECT_NE(r.message.find("FAILED at frame " + std::to_string(r.failedFrame)), std::string::npos)
        << r.message;
    EXPECT_NE(r.message.find("line 4: expect bodyguards 3"), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("0 slots are occupied"), std::string::npos) << r.message;
    EXPECT_EQ(menu.menuPage, PAGE_MAIN) << "the line after the failure must not run";
}

TEST_F(SimRunnerTest, NegatedExpectationsAndWaitForTimeouts) {
    EXPECT_TRUE(Run("expect not menu open\nexpect menu closed\n").ok);
    EXPECT_FALSE(Run("expect not menu closed\n").ok);
    const RunResult r = Run("wait-for bodyguards 1 within 500 ms\n");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("not met within 500 ms"), std::string::npos) << r.message;
    EXPECT_GE(r.failedFrame, 500 / 33);
}

TEST_F(SimRunnerTest, SelectReportsAMissingLineWithTheMenuShown) {
    const RunResult r = Run("tap Home\nselect \"Hire Everybody\"\n");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("no menu line reads \"Hire Everybody\""), std::string::npos) << r.message;
    EXPECT_NE(r.message.find("Random Bodyguard"), std::string::npos) << r.message;
}

TEST_F(SimRunnerTest, SettingsWrittenBeforeTheStartOrARestartAreRead) {
    const RunResult r =
        Run("ini PRICE=7\nrandom 0 1 1\ntap Home\nselect \"Random Bodyguard\"\nexpect charged 700\n"
            "ini PRICE=2\nrestart\ntap Home\nselect \"Random Bodyguard\"\nexpect charged 200\nexpect "
            "bodyguards 2\n");
    EXPECT_TRUE(r.ok) << r.message << "\n" << transcript_.str();
}

TEST_F(SimRunnerTest, CompletingAPromptThatIsNotShownFails) {
    const RunResult r = Run("tap Home\nselect \"Random Bodyguard\"\ncomplete \"Stay Here\"\n");
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.message.find("no prompt \"Stay Here\" is shown; shown: none"), std::string::npos)
        << r.message;
    EXPECT_FALSE(Run("target stranger 1\n").ok) << "no stranger was spawned";
}

// ---------------------------------------------------------------- pictures

namespace {

struct Rgb {
    int r, g, b;
};

Rgb PixelAt(cairo_surface_t* s, int x, int y) {
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    std::uint32_t p;
    std::memcpy(&p, data + y * stride + x * 4, 4);
    return {static_cast<int>((p >> 16) & 0xff), static_cast<int>((p >> 8) & 0xff),
            static_cast<int>(p & 0xff)};
}

}  // namespace

TEST_F(SimFolderTest, APictureHasThePanelTheRedFrameAndTheText) {
    std::vector<standin::DisplayItem> display;
    standin::DisplayItem panel;
    panel.kind = standin::DisplayItem::Sprite;
    panel.x = 0.168f, panel.y = 0.4f, panel.width = 0.27f, panel.height = 0.5f;
    panel.r = panel.g = panel.b = 0, panel.a = 250;
    display.push_back(panel);
    // Drawn before the highlight, as the roster-full notice does: it still shows.
    standin::DisplayItem exitLine;
    exitLine.kind = standin::DisplayItem::Text;
    exitLine.x = 0.065f, exitLine.y = 0.43f;
    exitLine.scaleSet = true, exitLine.scaleX = exitLine.scaleY = 0.4f;
    exitLine.plainText = "Exit";
    display.push_back(exitLine);
    standin::DisplayItem outer;
    outer.kind = standin::DisplayItem::Rect;
    outer.x = 0.169f, outer.y = 0.4464f, outer.width = 0.215f, outer.height = 0.041f;
    outer.r = 80, outer.g = 10, outer.b = 10, outer.a = 235;
    display.push_back(outer);
    standin::DisplayItem inner = outer;
    inner.width = 0.21f, inner.height = 0.036f;
    inner.r = inner.g = inner.b = 0, inner.a = 300;  // above 255, as the plug-in passes it
    display.push_back(inner);
    standin::DisplayItem text;
    text.kind = standin::DisplayItem::Text;
    text.x = 0.065f, text.y = 0.19f;
    text.scaleSet = true, text.scaleX = text.scaleY = 0.4f;
    text.plainText = "WWWWWWWW";
    display.push_back(text);

    std::string error;
    ASSERT_TRUE(WriteFramePng(display, "pictures/frame.png", &error)) << error;
    cairo_surface_t* s = cairo_image_surface_create_from_png("pictures/frame.png");
    ASSERT_EQ(cairo_surface_status(s), CAIRO_STATUS_SUCCESS);
    EXPECT_EQ(cairo_image_surface_get_width(s), 1920);
    EXPECT_EQ(cairo_image_surface_get_height(s), 1080);

    const Rgb backdrop = PixelAt(s, 1500, 300);
    EXPECT_GT(backdrop.r + backdrop.g + backdrop.b, 200) << "a neutral backdrop, not black";
    // The panel: black at 250/255 over the backdrop.
    const Rgb inPanel = PixelAt(s, 450, 650);
    EXPECT_LE(inPanel.r + inPanel.g + inPanel.b, 15);
    EXPECT_GT(inPanel.r + inPanel.g + inPanel.b, 0) << "the panel is translucent";
    // The frame: red on the outer ring, black inside it.
    const int frameY = static_cast<int>(0.4464 * 1080);
    const Rgb ring = PixelAt(s, static_cast<int>((0.169 - 0.2125 / 2) * 1920), frameY);
    EXPECT_GT(ring.r, 60);
    EXPECT_LT(ring.g, 20);
    const Rgb fill = PixelAt(s, static_cast<int>(0.169 * 1920), frameY);
    EXPECT_EQ(fill.r + fill.g + fill.b, 0) << "the inner rectangle's alpha 300 is drawn opaque";
    // White text inside row 0, starting at x 0.065.
    int bright = 0;
    for (int y = 205; y < 240; ++y) {
        for (int x = 125; x < 300; ++x) bright += PixelAt(s, x, y).g > 200 ? 1 : 0;
    }
    EXPECT_GT(bright, 100);
    int exitPixels = 0;
    for (int y = frameY - 20; y < frameY + 20; ++y) {
        for (int x = 125; x < 200; ++x) exitPixels += PixelAt(s, x, y).g > 200 ? 1 : 0;
    }
    EXPECT_GT(exitPixels, 30) << "text shows above the highlight drawn after it";
    int leftOfText = 0;
    for (int y = 205; y < 240; ++y) leftOfText += PixelAt(s, 110, y).g > 200 ? 1 : 0;
    EXPECT_EQ(leftOfText, 0);
    cairo_surface_destroy(s);
    EXPECT_FALSE(WriteFramePng(display, "/proc/no/such/folder/x.png", &error));
    EXPECT_FALSE(error.empty());
}
