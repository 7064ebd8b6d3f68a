// Menu input: the shared repeat gate, arrow keys and frontend controls, the
// wrap rules, Enter and Backspace; and the keyboard state table they read.
#include <cstdint>
#include <string>
#include <vector>

#include "game_test.h"
#include "host/keyboard.h"
#include "menu/input.h"
#include "menu/state.h"
#include "script_calls.h"

namespace {

std::uint32_t Hash(const char* name) {
    return standin::GameHash(name);
}

// An expected transcript where #NAME stands for the hash of control NAME and
// "action" for the two calls every menu action ends with.
Transcript Expected(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> values = {
        {"action", "SetMenuTimer(0); PlayFrontendSound(\"NAV_RIGHT\", \"HUD_SHOP_SOUNDSET\", 1, 0)"}};
    for (const char* control : {"INPUT_FRONTEND_UP", "INPUT_FRONTEND_DOWN", "INPUT_FRONTEND_LEFT",
                                "INPUT_FRONTEND_RIGHT", "INPUT_FRONTEND_ACCEPT", "INPUT_FRONTEND_CANCEL"})
        values.push_back({std::string("#") + control, ZHash(control)});
    return ExpectedCalls(text, values);
}

}  // namespace

// Drives the input operations directly, the way a page calls them once per
// frame, with the world's clocks moved by hand and key events delivered
// through the plug-in's keyboard handler.
class MenuInput : public GameTest {
  protected:
    void Down(int vk) { OnKeyboardEvent(static_cast<unsigned long>(vk), 1, 0, 0, 0, 0, 0); }
    void Up(int vk) { OnKeyboardEvent(static_cast<unsigned long>(vk), 1, 0, 0, 0, 1, 1); }
    void Advance(int ms) {
        World().tickCount += static_cast<std::uint32_t>(ms);
        World().menuTimer += ms;
    }
    void SetUp() override {
        GameTest::SetUp();
        World().tickCount = 100000;
        World().menuTimer = 100000;
    }
    void HoldPad(const char* control) {
        World().controlsHeld.insert(static_cast<std::int32_t>(Hash(control)));
    }
    void TriggerPad(const char* control) {
        World().controlsTriggered.insert(static_cast<std::int32_t>(Hash(control)));
    }
};

TEST_F(MenuInput, GateIsStrictlyAbove150AndEveryActionRestartsIt) {
    int item = 2;
    Down(VK_DOWN_KEY);
    World().menuTimer = 150;
    std::size_t mark = Log().Mark();
    MenuUpDown(&item, 4);
    EXPECT_EQ(item, 2);
    EXPECT_EQ(MenuLeftRight(&item, 4), false);
    EXPECT_EQ(MenuAcceptCancel(1, 0), MENU_NOTHING);
    // A closed gate asks the timer and nothing else.
    EXPECT_EQ(CallsSince(mark), Expected("GetMenuTimer(); GetMenuTimer(); GetMenuTimer()"));

    World().menuTimer = 151;
    mark = Log().Mark();
    MenuUpDown(&item, 4);
    EXPECT_EQ(item, 3);
    // Up is asked first (its key, then its control), then the down key answers.
    EXPECT_EQ(CallsSince(mark), Expected(R"(
        GetMenuTimer()
        HashOfName("INPUT_FRONTEND_UP"); IsControlHeld(0, #INPUT_FRONTEND_UP)
        action
    )"));
    EXPECT_EQ(World().sounds, 1);
}

TEST_F(MenuInput, HeldArrowMovesOncePerGateNotOncePerFrame) {
    int item = 0;
    Down(VK_DOWN_KEY);
    std::vector<int> seen;
    for (int frame = 0; frame <= 20; ++frame) {
        MenuUpDown(&item, 4);
        seen.push_back(item);
        Advance(33);
    }
    // Moves on frames 0, 5, 10, 15 and 20: after 165 ms the timer is past 150.
    const std::vector<int> expected{1, 1, 1, 1, 1, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 4, 4, 4, 4, 4, 0};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(World().sounds, 5);
}

TEST_F(MenuInput, UpDownWrapsAndUpWinsOverDown) {
    int item = 0;
    Down(VK_UP_KEY);
    Down(VK_DOWN_KEY);
    const std::size_t mark = Log().Mark();
    MenuUpDown(&item, 4);
    EXPECT_EQ(item, 4);  // up from the first item goes to the last
    // The arrow key answered: no control was asked.
    EXPECT_EQ(CallsSince(mark), Expected("GetMenuTimer(); action"));

    Up(VK_UP_KEY);
    Advance(200);
    MenuUpDown(&item, 4);
    EXPECT_EQ(item, 0);  // down from the last item goes to the first

    // An item outside the range is only corrected after a step past the end.
    item = 7;
    Advance(200);
    MenuUpDown(&item, 4);
    EXPECT_EQ(item, 0);
    item = 7;
    Up(VK_DOWN_KEY);
    Down(VK_UP_KEY);
    Advance(200);
    MenuUpDown(&item, 4);
    EXPECT_EQ(item, 6);
}

TEST_F(MenuInput, UpDownFromTheGamepadAsksUpThenDownOnPad0) {
    int item = 1;
    HoldPad("INPUT_FRONTEND_DOWN");
    std::size_t mark = Log().Mark();
    MenuUpDown(&item, 2);
    EXPECT_EQ(item, 2);
    EXPECT_EQ(CallsSince(mark), Expected(R"(
        GetMenuTimer()
        HashOfName("INPUT_FRONTEND_UP"); IsControlHeld(0, #INPUT_FRONTEND_UP)
        HashOfName("INPUT_FRONTEND_DOWN"); IsControlHeld(0, #INPUT_FRONTEND_DOWN)
        action
    )"));

    // Nothing wanted: the same four questions, no action.
    World().controlsHeld.clear();
    Advance(200);
    mark = Log().Mark();
    MenuUpDown(&item, 2);
    EXPECT_EQ(item, 2);
    EXPECT_EQ(CallsSince(mark), Expected(R"(
        GetMenuTimer()
        HashOfName("INPUT_FRONTEND_UP"); IsControlHeld(0, #INPUT_FRONTEND_UP)
        HashOfName("INPUT_FRONTEND_DOWN"); IsControlHeld(0, #INPUT_FRONTEND_DOWN)
    )"));
    EXPECT_EQ(World().menuTimer, 200);  // no action, no restart
}

TEST_F(MenuInput, LeftRightWrapsBothWaysAndMinusOneStepsToEitherEnd) {
    int formation = 11;
    Down(VK_RIGHT_KEY);
    EXPECT_TRUE(MenuLeftRight(&formation, 11));
    EXPECT_EQ(formation, 0);
    Up(VK_RIGHT_KEY);
    Down(VK_LEFT_KEY);
    Advance(200);
    EXPECT_TRUE(MenuLeftRight(&formation, 11));
    EXPECT_EQ(formation, 11);

    int choice = -1;  // no choice yet
    Advance(200);
    EXPECT_TRUE(MenuLeftRight(&choice, 23));
    EXPECT_EQ(choice, 23);
    choice = -1;
    Up(VK_LEFT_KEY);
    Down(VK_RIGHT_KEY);
    Advance(200);
    EXPECT_TRUE(MenuLeftRight(&choice, 23));
    EXPECT_EQ(choice, 0);

    // Right wins over left.
    Down(VK_LEFT_KEY);
    Down(VK_RIGHT_KEY);
    Advance(200);
    const std::size_t mark = Log().Mark();
    EXPECT_TRUE(MenuLeftRight(&choice, 23));
    EXPECT_EQ(choice, 1);
    // A held arrow key answers before the keyboard-in-use question is asked.
    EXPECT_EQ(CallsSince(mark), Expected("GetMenuTimer(); action"));
}

TEST_F(MenuInput, PadLeftRightStepsOnlyWhenTheKeyboardIsNotInUse) {
    int value = 5;
    HoldPad("INPUT_FRONTEND_RIGHT");
    HoldPad("INPUT_FRONTEND_LEFT");

    World().usingKeyboard = true;
    std::size_t mark = Log().Mark();
    EXPECT_FALSE(MenuLeftRight(&value, 9));
    EXPECT_EQ(value, 5);
    // Asked once per side; the pad controls themselves are never read.
    EXPECT_EQ(CallsSince(mark), Expected("GetMenuTimer(); IsUsingKeyboard(0); IsUsingKeyboard(0)"));

    World().usingKeyboard = false;
    mark = Log().Mark();
    EXPECT_TRUE(MenuLeftRight(&value, 9));
    EXPECT_EQ(value, 6);
    EXPECT_EQ(CallsSince(mark), Expected(R"(
        GetMenuTimer()
        IsUsingKeyboard(0); HashOfName("INPUT_FRONTEND_RIGHT"); IsControlHeld(0, #INPUT_FRONTEND_RIGHT)
        action
    )"));

    World().controlsHeld.erase(static_cast<std::int32_t>(Hash("INPUT_FRONTEND_RIGHT")));
    Advance(200);
    mark = Log().Mark();
    EXPECT_TRUE(MenuLeftRight(&value, 9));
    EXPECT_EQ(value, 5);
    EXPECT_EQ(CallsSince(mark), Expected(R"(
        GetMenuTimer()
        IsUsingKeyboard(0); HashOfName("INPUT_FRONTEND_RIGHT"); IsControlHeld(0, #INPUT_FRONTEND_RIGHT)
        IsUsingKeyboard(0); HashOfName("INPUT_FRONTEND_LEFT"); IsControlHeld(0, #INPUT_FRONTEND_LEFT)
        action
    )"));

    // The arrow keys still step while the keyboard is in use.
    World().controlsHeld.clear();
    World().usingKeyboard = true;
    Down(VK_LEFT_KEY);
    Advance(200);
    EXPECT_TRUE(MenuLeftRight(&value, 9));
    EXPECT_EQ(value, 4);
}

TEST_F(MenuInput, EnterAcceptsOnceAndClearsItsRecord) {
    menu.menuPage = PAGE_MAIN;
    Down(VK_ENTER_KEY);
    Up(VK_ENTER_KEY);
    Advance(50);
    std::size_t mark = Log().Mark();
    EXPECT_EQ(MenuAcceptCancel(PAGE_BUILDER, PAGE_CLOSED), MENU_ACCEPTED);
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);
    EXPECT_EQ(CallsSince(mark), Expected("GetMenuTimer(); action"));
    EXPECT_EQ(keyStates[VK_ENTER_KEY].time, 0u);
    EXPECT_EQ(keyStates[VK_ENTER_KEY].released, 0);

    // The same release never accepts twice, even with the gate open at once.
    World().menuTimer = 1000;
    mark = Log().Mark();
    EXPECT_EQ(MenuAcceptCancel(PAGE_CATEGORY, PAGE_CLOSED), MENU_NOTHING);
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);
    EXPECT_EQ(CallsSince(mark), Expected(R"(
        GetMenuTimer()
        HashOfName("INPUT_FRONTEND_ACCEPT"); IsControlTriggered(0, #INPUT_FRONTEND_ACCEPT)
        HashOfName("INPUT_FRONTEND_CANCEL"); IsControlTriggered(0, #INPUT_FRONTEND_CANCEL)
    )"));
}

TEST_F(MenuInput, AcceptWithinTheGateIsNotSeenButEntersRecordIsKept) {
    int item = 0;
    Down(VK_DOWN_KEY);
    MenuUpDown(&item, 4);  // an action: the timer restarts
    Up(VK_DOWN_KEY);
    Advance(100);
    Up(VK_ENTER_KEY);  // released 100 ms after the action
    Advance(30);
    EXPECT_EQ(MenuAcceptCancel(PAGE_BUILDER, PAGE_CLOSED), MENU_NOTHING);
    EXPECT_NE(keyStates[VK_ENTER_KEY].released, 0);  // not used, not cleared
    Advance(30);                                     // timer 160, the release 60 ms old
    EXPECT_EQ(MenuAcceptCancel(PAGE_BUILDER, PAGE_CLOSED), MENU_ACCEPTED);
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);

    // A release that is 100 ms old by the time the gate opens is gone.
    Advance(100);
    Up(VK_ENTER_KEY);
    Advance(100);
    EXPECT_EQ(MenuAcceptCancel(PAGE_CATEGORY, PAGE_CLOSED), MENU_NOTHING);
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);
}

// The gate is open, the pad's accept is asked for (and not found or found), then the action runs.
constexpr const char* kAcceptAskedThenAction = R"(
        GetMenuTimer()
        HashOfName("INPUT_FRONTEND_ACCEPT"); IsControlTriggered(0, #INPUT_FRONTEND_ACCEPT)
        action
    )";

TEST_F(MenuInput, BackspaceCancelsAndEnterWinsWhenBothAreReleased) {
    menu.menuPage = PAGE_CATEGORY;
    Up(VK_BACK_KEY);
    std::size_t mark = Log().Mark();
    EXPECT_EQ(MenuAcceptCancel(PAGE_MODELS_MALE, PAGE_BUILDER), MENU_CANCELLED);
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);
    EXPECT_EQ(CallsSince(mark), Expected(kAcceptAskedThenAction));
    EXPECT_EQ(keyStates[VK_BACK_KEY].released, 0);

    Advance(200);
    Up(VK_ENTER_KEY);
    Up(VK_BACK_KEY);
    EXPECT_EQ(MenuAcceptCancel(PAGE_MAIN, PAGE_CLOSED), MENU_ACCEPTED);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    // Backspace was not used: its record stays until it ages out.
    EXPECT_NE(keyStates[VK_BACK_KEY].released, 0);
    EXPECT_EQ(keyStates[VK_ENTER_KEY].released, 0);
}

TEST_F(MenuInput, PadAcceptAndCancelAreTriggeredControls) {
    menu.menuPage = PAGE_INVALID_MODEL;
    TriggerPad("INPUT_FRONTEND_CANCEL");
    EXPECT_EQ(MenuAcceptCancel(PAGE_MODELS_CUSTOM, PAGE_MODELS_FEMALE), MENU_CANCELLED);
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_FEMALE);

    TriggerPad("INPUT_FRONTEND_ACCEPT");  // both fire: accept wins
    Advance(200);
    const std::size_t mark = Log().Mark();
    EXPECT_EQ(MenuAcceptCancel(PAGE_MODELS_CUSTOM, PAGE_CLOSED), MENU_ACCEPTED);
    EXPECT_EQ(menu.menuPage, PAGE_MODELS_CUSTOM);
    EXPECT_EQ(CallsSince(mark), Expected(kAcceptAskedThenAction));
    // A held (not triggered) accept does nothing.
    World().controlsTriggered.clear();
    HoldPad("INPUT_FRONTEND_ACCEPT");
    Advance(200);
    EXPECT_EQ(MenuAcceptCancel(PAGE_MAIN, PAGE_CLOSED), MENU_NOTHING);
}

// The menu keys at the edges of the Windows tick count: right after it starts
// (the stand-in's starts at 0, as after a reboot or a wrap) and across its wrap
// after 49.7 days.
class MenuKeysAtTickEdges : public MenuInput {};

TEST_F(MenuKeysAtTickEdges, UntouchedKeysDoNothingInTheFirstFiveSeconds) {
    // Records never written (time 0) must not read as keys held or released
    // while the tick count is below the hold window.
    World().tickCount = 10;
    menu.menuPage = PAGE_MAIN;
    int item = 2, value = 2;
    MenuUpDown(&item, 4);
    EXPECT_FALSE(MenuLeftRight(&value, 4));
    EXPECT_EQ(MenuAcceptCancel(PAGE_BUILDER, PAGE_CLOSED), MENU_NOTHING);
    EXPECT_EQ(item, 2);
    EXPECT_EQ(value, 2);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_EQ(World().sounds, 0);
}

TEST_F(MenuKeysAtTickEdges, HoldAndReleaseWindowsRunAcrossTheWrap) {
    World().tickCount = 0xFFFFFFFFu - 1000;
    int item = 0;
    Down(VK_DOWN_KEY);
    MenuUpDown(&item, 100);
    EXPECT_EQ(item, 1);
    Advance(2000);  // the count has wrapped
    MenuUpDown(&item, 100);
    EXPECT_EQ(item, 2);
    Advance(2999);  // 4999 ms after the press
    MenuUpDown(&item, 100);
    EXPECT_EQ(item, 3);
    Advance(1);
    World().menuTimer = 1000;
    MenuUpDown(&item, 100);
    EXPECT_EQ(item, 3) << "5000 ms without an event is no longer held";

    // Released 32 ms before the wrap, read 48 ms after it.
    World().tickCount = 0xFFFFFFE0u;
    Up(VK_ENTER_KEY);
    Advance(80);
    EXPECT_EQ(MenuAcceptCancel(PAGE_CATEGORY, PAGE_CLOSED), MENU_ACCEPTED);
    EXPECT_EQ(menu.menuPage, PAGE_CATEGORY);

    // Through the driver: an arrow pressed just before the wrap stays held
    // after it, and the menu key works on a frame after the wrap.
    World().tickCount = 0xFFFFFFFFu - 40;  // the next frame's count is 8 short of the wrap
    StartAndSettle(0);
    standin::KeyDown(VK_UP_KEY);
    standin::RunFrame();
    EXPECT_EQ(keyStates[VK_UP_KEY].time, 0xFFFFFFF8u);
    EXPECT_TRUE(KeyHeld(VK_UP_KEY));
    standin::RunFrames(10);
    EXPECT_LT(World().tickCount, 1000u);
    EXPECT_TRUE(KeyHeld(VK_UP_KEY));
    standin::KeyUp(VK_HOME_KEY);
    standin::RunFrame();
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
}

// A tick count that leaps by hours between two frames (a machine woken from
// sleep): a held key and a fresh release end, they do not fire again and again.
TEST_F(MenuKeysAtTickEdges, ALeapOfHoursEndsHoldAndReleaseWindows) {
    int item = 0;
    Down(VK_DOWN_KEY);
    Up(VK_ENTER_KEY);
    World().tickCount += 3u * 3600u * 1000u;
    World().menuTimer = 1000;
    MenuUpDown(&item, 100);
    EXPECT_EQ(item, 0);
    EXPECT_EQ(MenuAcceptCancel(PAGE_CATEGORY, PAGE_CLOSED), MENU_NOTHING);
    // Keys pressed after the leap work as ever.
    Down(VK_DOWN_KEY);
    MenuUpDown(&item, 100);
    EXPECT_EQ(item, 1);
}

// A held arrow steps in the first frame after each 150 ms of the menu timer,
// whatever the frame rate; a 3 s frame gives one step, not twenty. The key is
// sent again every frame, as the keyboard's own repeat does.
class MenuInputAtPace : public MenuInput, public ::testing::WithParamInterface<FramePace> {};

TEST_P(MenuInputAtPace, AHeldArrowStepsOncePerGate) {
    const FramePace pace = GetParam();
    int item = 0;
    std::vector<std::uint32_t> steps;
    bool hitchDone = false;
    const int length = 2000 + (pace.hitch ? HITCH_MS : 0);
    for (int elapsed = 0; elapsed < length;) {
        const int frameMs = PacedFrameMs(pace, elapsed, 1000, hitchDone);
        Advance(frameMs);
        elapsed += frameMs;
        Down(VK_DOWN_KEY);
        const int before = item;
        MenuUpDown(&item, 1000);
        ASSERT_LE(item - before, 1);
        if (item == before) continue;
        const std::uint32_t now = World().tickCount;
        if (!steps.empty()) ExpectFirstFrameAfterPeriod(now - steps.back(), 150, frameMs, "a step");
        steps.push_back(now);
    }
    EXPECT_GE(steps.size(), 1800u / (150u + static_cast<std::uint32_t>(pace.frameMs)));
}

INSTANTIATE_TEST_SUITE_P(Paces, MenuInputAtPace, ::testing::ValuesIn(FramePaces()), PaceName);
