// The frame tick's menu part: the menu key (with the saloon rule), the page
// dispatch and the two notice pages, driven through the stand-in with real key
// events, one frame at a time.

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "game_test.h"
#include "host/keyboard.h"
#include "menu/state.h"
#include "roster/roster.h"
#include "script_calls.h"

using standin::Call;

namespace {

// The calls a menu page makes to draw itself and to read its input gate.
const std::vector<std::string> kPageCalls{"DrawSprite",      "DrawRect",    "SetTextScale", "SetTextColor",
                                          "CreateVarString", "DisplayText", "GetMenuTimer"};

bool IsPageCall(const Call& c) {
    for (const std::string& n : kPageCalls) {
        if (n == c.name) return true;
    }
    return false;
}

std::vector<std::string> PageCallsSince(std::size_t mark) {
    std::vector<std::string> out;
    for (const Call* c : standin::GetCallLog().Since(mark)) {
        if (IsPageCall(*c)) out.push_back(c->name);
    }
    return out;
}

std::vector<std::string> TextLine() {
    return {"SetTextScale", "CreateVarString", "CreateVarString", "DisplayText"};
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

constexpr char kAllFreeSave[] =
    " -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0 -1 -1 0 0 0 0";

}  // namespace

class FrameTickMenu : public GameTest {
  protected:
    // Taps a key and runs the one frame it is delivered in.
    void TapAndRun(int vk) {
        standin::TapKey(vk);
        standin::RunFrame();
    }
    std::size_t DrawCallsSince(std::size_t mark) {
        std::size_t n = 0;
        for (const Call* c : Log().Since(mark)) n += IsPageCall(*c);
        return n;
    }
};

TEST_F(FrameTickMenu, MenuKeyOpensTheMainPageDrawnInTheSameFrame) {
    StartAndSettle();
    ASSERT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_TRUE(World().display.empty());

    const std::size_t mark = Log().Mark();
    TapAndRun(VK_HOME_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    // The panel came in the very frame the key was released.
    EXPECT_EQ(
        CallsNamed(mark, {"DrawSprite"}),
        Transcript{
            R"(DrawSprite("generic_textures", "hud_menu_4a", 0.168, 0.4, 0.27, 0.5, 0, 0, 0, 0, 250, 0))"});
    // The release is used up, and without the saloon rule nobody asks where the player is.
    EXPECT_EQ(keyStates[VK_HOME_KEY].released, 0);
    EXPECT_TRUE(Log().Named("GetEntityInterior").empty());
    // Opening does not save.
    EXPECT_FALSE(FileExists("Tavrossimer.dat"));

    // It stays open, drawn each frame, until something closes it.
    for (int i = 0; i < 10; ++i) {
        const std::size_t frame = Log().Mark();
        standin::RunFrame();
        EXPECT_EQ(menu.menuPage, PAGE_MAIN);
        EXPECT_EQ(Log().Since(frame, "DrawSprite").size(), 1u);
    }
}

TEST_F(FrameTickMenu, MenuKeyClosesFromAnyPageWithASaveAndNothingDrawn) {
    StartAndSettle();
    TapAndRun(VK_HOME_KEY);
    WaitGate();
    // Say the player went on to the builder.
    menu.menuPage = PAGE_BUILDER;
    formationMode = 4;
    const std::size_t mark = Log().Mark();
    TapAndRun(VK_HOME_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_EQ(DrawCallsSince(mark), 0u) << "the closing frame draws no page";
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), std::string(kAllFreeSave) + " 4");

    // Closed, the next key press opens the main page again, not the builder.
    WaitGate();
    TapAndRun(VK_HOME_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
}

TEST_F(FrameTickMenu, TwoReleasesInOneFrameToggleOnce) {
    StartAndSettle();
    standin::TapKey(VK_HOME_KEY);
    standin::TapKey(VK_HOME_KEY);
    standin::RunFrame();
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    standin::RunFrames(3);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
}

TEST_F(FrameTickMenu, PageNumbersNoPageOwnsDrawNothingAndTheKeyClosesThem) {
    StartAndSettle();
    for (int page : {11, -1, 1000}) {
        WriteFile("Tavrossimer.dat", "");
        menu.menuPage = page;
        const std::size_t mark = Log().Mark();
        standin::RunFrames(3);
        EXPECT_EQ(DrawCallsSince(mark), 0u) << "page " << page;
        EXPECT_EQ(menu.menuPage, page);
        TapAndRun(VK_HOME_KEY);
        EXPECT_EQ(menu.menuPage, PAGE_CLOSED) << "page " << page;
        EXPECT_EQ(ReadFile("Tavrossimer.dat"), std::string(kAllFreeSave) + " 11") << "page " << page;
    }
}

TEST_F(FrameTickMenu, AnUnusableMenuKeySettingNeverOpensTheMenu) {
    // 300 is no key code; it must not act as 300 & 0xFF = 44 either.
    WriteSettings("SPAWN_MENU_KEY=300\n");
    StartAndSettle();
    for (int vk : {300, 44, VK_HOME_KEY, 254}) {
        TapAndRun(vk);
        WaitGate();
        EXPECT_EQ(menu.menuPage, PAGE_CLOSED) << "key " << vk;
    }

    WriteSettings("SPAWN_MENU_KEY=-1\n");
    standin::RestartGame();
    standin::RunFrames(3);
    for (int vk : {255, VK_HOME_KEY, 254}) {
        TapAndRun(vk);
        WaitGate();
        EXPECT_EQ(menu.menuPage, PAGE_CLOSED) << "key " << vk;
    }

    // A usable setting moves the menu to that key.
    WriteSettings("SPAWN_MENU_KEY=45\n");
    standin::RestartGame();
    standin::RunFrames(3);
    TapAndRun(VK_HOME_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    TapAndRun(45);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
}

class SaloonRule : public FrameTickMenu {
  protected:
    void SetUp() override {
        FrameTickMenu::SetUp();
        WriteFile("Tavrossimer.ini", "[SETTINGS]\r\nONLY_IN_SALOONS=1\r\n");
    }
};

TEST_F(SaloonRule, TheKeyWorksInsideEachOfTheEightSaloons) {
    StartAndSettle();
    const std::int32_t saloons[] = {41218, 5634, 21250, 37378, 39426, 53762, 54274, 56834};
    for (std::int32_t interior : saloons) {
        World().player.interior = interior;
        std::size_t mark = Log().Mark();
        TapAndRun(VK_HOME_KEY);
        EXPECT_EQ(menu.menuPage, PAGE_MAIN) << "interior " << interior;
        // The player's ped is asked afresh, then where it stands.
        Transcript calls = CallsSince(mark);
        calls.resize(std::min<std::size_t>(calls.size(), 2));
        EXPECT_EQ(calls, (Transcript{"GetPlayerPed()", "GetEntityInterior(" + Z(World().player.ped) + ")"}));
        WaitGate();
        TapAndRun(VK_HOME_KEY);
        EXPECT_EQ(menu.menuPage, PAGE_CLOSED) << "interior " << interior;
        WaitGate();
    }
    // Asked once per press, never on frames without one.
    EXPECT_EQ(Log().Named("GetEntityInterior").size(), 16u);
}

TEST_F(SaloonRule, OutsideThePressIsSwallowedAndAnOpenMenuStaysOpen) {
    StartAndSettle();
    for (std::int32_t interior : {0, 41217, 41219, 5635, 12345}) {
        World().player.interior = interior;
        TapAndRun(VK_HOME_KEY);
        EXPECT_EQ(menu.menuPage, PAGE_CLOSED) << "interior " << interior;
        // The release is used up even though nothing happened.
        EXPECT_EQ(keyStates[VK_HOME_KEY].released, 0);
        EXPECT_EQ(keyStates[VK_HOME_KEY].time, 0u);
    }

    // Opened in a saloon, then the player walks out with the menu open.
    World().player.interior = 21250;
    TapAndRun(VK_HOME_KEY);
    ASSERT_EQ(menu.menuPage, PAGE_MAIN);
    WaitGate();
    menu.menuPage = PAGE_ROSTER_FULL;
    World().player.interior = 0;
    TapAndRun(VK_HOME_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_ROSTER_FULL);
    EXPECT_FALSE(FileExists("Tavrossimer.dat"));
    standin::RunFrames(10);
    EXPECT_EQ(menu.menuPage, PAGE_ROSTER_FULL);
    EXPECT_EQ(standin::MenuLineAt(6), "Exit");
    // The page's own cancel still leaves it.
    WaitGate();
    TapAndRun(VK_BACK_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_FALSE(FileExists("Tavrossimer.dat")) << "only the menu key saves on closing";
}

class NoticePages : public FrameTickMenu {};

TEST_F(NoticePages, RosterFullDrawsItsLinesThenTheHighlightThenReadsInput) {
    StartAndSettle();
    menu.menuPage = PAGE_ROSTER_FULL;
    std::size_t mark = Log().Mark();
    standin::RunFrame();
    const auto expected = Concat({{"DrawSprite"},
                                  TextLine(),
                                  TextLine(),
                                  TextLine(),
                                  TextLine(),
                                  TextLine(),
                                  {"DrawRect", "DrawRect", "GetMenuTimer"}});
    EXPECT_EQ(PageCallsSince(mark), expected);

    const auto lines = standin::MenuLines();
    ASSERT_EQ(lines.size(), 5u);
    const int rows[] = {0, 1, 3, 4, 6};
    const char* texts[] = {"You can't have more than", "seven bodyguards at a time.",
                           "Fire someone to make room ", "for a new one.", "Exit"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(lines[i].row, rows[i]);
        EXPECT_EQ(lines[i].text, texts[i]);
        EXPECT_FALSE(lines[i].dimmed);
    }
    EXPECT_EQ(standin::HighlightRow(), 6);
    EXPECT_EQ(CallsNamed(mark, {"DrawRect"}),
              (Transcript{"DrawRect(0.169, 0.4464, 0.215, 0.041, 80, 10, 10, 235, 1, 1)",
                          "DrawRect(0.169, 0.4464, 0.21, 0.036, 0, 0, 0, 300, 1, 1)"}));

    // Its single item is fixed: the arrows do nothing.
    standin::KeyDown(VK_DOWN_KEY);
    standin::RunFrames(8);
    EXPECT_EQ(standin::HighlightRow(), 6);
    EXPECT_EQ(World().sounds, 0);
    standin::KeyUp(VK_DOWN_KEY);

    // Enter: back to the main page, from the next frame on.
    mark = Log().Mark();
    TapAndRun(VK_ENTER_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_EQ(Log().Since(mark, "PlayFrontendSound").size(), 1u);
    EXPECT_EQ(Log().Since(mark, "DisplayText").size(), 5u) << "the notice finished its frame";

    // Backspace: the menu closes, without a save.
    WaitGate();
    menu.menuPage = PAGE_ROSTER_FULL;
    standin::RunFrame();
    TapAndRun(VK_BACK_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_FALSE(FileExists("Tavrossimer.dat"));
}

TEST_F(NoticePages, InvalidModelDrawsHighlightReadsInputThenItsLines) {
    StartAndSettle();
    menu.menuPage = PAGE_INVALID_MODEL;
    std::size_t mark = Log().Mark();
    standin::RunFrame();
    const auto expected =
        Concat({{"DrawSprite", "DrawRect", "DrawRect", "GetMenuTimer"}, TextLine(), TextLine()});
    EXPECT_EQ(PageCallsSince(mark), expected);
    const auto lines = standin::MenuLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].row, 0);
    EXPECT_EQ(lines[0].text, "ERROR: InvalidModel");
    EXPECT_EQ(lines[1].row, 2);
    EXPECT_EQ(lines[1].text, "Back");
    EXPECT_EQ(standin::HighlightRow(), 2);
    EXPECT_EQ(CallsNamed(mark, {"DrawRect"}),
              (Transcript{"DrawRect(0.169, 0.28640002, 0.215, 0.041, 80, 10, 10, 235, 1, 1)",
                          "DrawRect(0.169, 0.28640002, 0.21, 0.036, 0, 0, 0, 300, 1, 1)"}));

    // Accept and cancel both lead back to the custom list page; the notice
    // still draws its lines in the frame it is left.
    mark = Log().Mark();
    TapAndRun(VK_ENTER_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_CUSTOM);
    EXPECT_EQ(standin::MenuLineAt(0), "ERROR: InvalidModel");

    WaitGate();
    menu.menuPage = PAGE_INVALID_MODEL;
    standin::RunFrame();
    TapAndRun(VK_BACK_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_CUSTOM);

    WaitGate();
    menu.menuPage = PAGE_INVALID_MODEL;
    standin::RunFrame();
    standin::TriggerControl("INPUT_FRONTEND_CANCEL");
    standin::RunFrame();
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_CUSTOM);
}

// The controller's chord: d-pad up and cancel held together, with CONTROLLER_MENU on.
class ControllerChord : public FrameTickMenu {
  protected:
    void PadChord(bool held) {
        standin::HoldControl("INPUT_FRONTEND_UP", held);
        standin::HoldControl("INPUT_FRONTEND_CANCEL", held);
    }
    // Lets go of both buttons, cancel last, as a game reports it: a release is
    // "triggered" for one frame.
    void LetGo() {
        standin::HoldControl("INPUT_FRONTEND_UP", false);
        standin::RunFrame();
        standin::HoldControl("INPUT_FRONTEND_CANCEL", false);
        standin::TriggerControl("INPUT_FRONTEND_CANCEL");
        standin::RunFrame();
    }
};

TEST_F(ControllerChord, OffByDefaultThePadIsNeverAsked) {
    StartAndSettle();
    World().usingKeyboard = false;
    PadChord(true);
    standin::RunFrames(5);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_TRUE(Log().Named("IsUsingKeyboard").empty());
    EXPECT_TRUE(Log().Named("IsControlHeld").empty());
}

TEST_F(ControllerChord, OpensOnceThePagesWaitForTheLetGoAndTheChordClosesWithASave) {
    WriteSettings("CONTROLLER_MENU=1\n");
    StartAndSettle();
    World().usingKeyboard = false;
    // One button alone does nothing.
    standin::HoldControl("INPUT_FRONTEND_CANCEL", true);
    standin::RunFrames(3);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);

    std::size_t mark = Log().Mark();
    standin::HoldControl("INPUT_FRONTEND_UP", true);
    standin::RunFrames(10);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_EQ(DrawCallsSince(mark), 0u) << "nothing is drawn while the chord is held";
    const int item = menu.mainMenuItem;
    LetGo();
    EXPECT_EQ(menu.menuPage, PAGE_MAIN) << "letting go of cancel does not go back";
    EXPECT_EQ(menu.mainMenuItem, item) << "holding up did not move the highlight";
    mark = Log().Mark();
    standin::RunFrame();
    EXPECT_EQ(Log().Since(mark, "DrawSprite").size(), 1u);

    WaitGate();
    PadChord(true);
    standin::RunFrame();
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), std::string(kAllFreeSave) + " 11");
    standin::RunFrames(5);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED) << "a chord held on acts once";
    LetGo();
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);

    // On keyboard and mouse the frontend controls are the arrows and Backspace:
    // the chord is not read there.
    World().usingKeyboard = true;
    PadChord(true);
    standin::RunFrames(3);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
}

TEST_F(ControllerChord, TheSaloonRuleApplies) {
    WriteSettings("CONTROLLER_MENU=1\nONLY_IN_SALOONS=1\n");
    StartAndSettle();
    World().usingKeyboard = false;
    World().player.interior = 0;
    PadChord(true);
    standin::RunFrames(3);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_EQ(Log().Named("GetEntityInterior").size(), 1u) << "asked once per chord";
    LetGo();
    World().player.interior = 41218;
    PadChord(true);
    standin::RunFrame();
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
}
