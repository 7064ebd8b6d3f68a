// The key table the host's keyboard events fill, and its two questions: was a
// key released a moment ago, and is it being held.
#include "host/keyboard.h"

#include "game_test.h"

namespace {

void Event(unsigned long vk, bool release) {
    OnKeyboardEvent(vk, 1, 0, 0, 0, release ? 1 : 0, release ? 1 : 0);
}

class Keyboard : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        World().tickCount = 100000;
    }
    void Advance(std::uint32_t ms) { World().tickCount += ms; }
};

}  // namespace

TEST_F(Keyboard, ReleaseCountsForLessThan100MsAndOnlyUntilReset) {
    Event(VK_ENTER_KEY, false);
    Event(VK_ENTER_KEY, true);
    EXPECT_TRUE(KeyJustReleased(VK_ENTER_KEY));
    EXPECT_FALSE(KeyHeld(VK_ENTER_KEY));
    Advance(99);
    EXPECT_TRUE(KeyJustReleased(VK_ENTER_KEY));
    Advance(1);
    EXPECT_FALSE(KeyJustReleased(VK_ENTER_KEY)) << "a release 100 ms old must not fire late";

    Event(VK_ENTER_KEY, true);
    ResetKeyState(VK_ENTER_KEY);
    EXPECT_FALSE(KeyJustReleased(VK_ENTER_KEY));
    EXPECT_FALSE(KeyHeld(VK_ENTER_KEY)) << "a reset record reads as neither released nor held";
    EXPECT_EQ(keyStates[VK_ENTER_KEY].time, 0u);
    EXPECT_EQ(keyStates[VK_ENTER_KEY].released, 0);
}

TEST_F(Keyboard, HeldWhileEventsKeepComingAndNotAfterRelease) {
    Event(VK_UP_KEY, false);
    Advance(4000);
    EXPECT_TRUE(KeyHeld(VK_UP_KEY));
    Event(VK_UP_KEY, false);  // auto-repeat renews it
    Advance(4999);
    EXPECT_TRUE(KeyHeld(VK_UP_KEY));
    Advance(1);
    EXPECT_FALSE(KeyHeld(VK_UP_KEY)) << "5000 ms without an event is no longer held";

    Event(VK_DOWN_KEY, false);
    Event(VK_DOWN_KEY, true);
    EXPECT_FALSE(KeyHeld(VK_DOWN_KEY)) << "a release ends the hold at once";
}

TEST_F(Keyboard, CodesFrom255UpChangeNothing) {
    KeyState before[KEY_STATE_COUNT];
    std::copy(std::begin(keyStates), std::end(keyStates), before);
    Event(255, true);
    Event(256, true);
    Event(0xFFFFFFFFul, false);
    for (int i = 0; i < KEY_STATE_COUNT; ++i) {
        EXPECT_EQ(keyStates[i].time, before[i].time);
        EXPECT_EQ(keyStates[i].released, before[i].released);
    }
    Event(254, true);
    EXPECT_TRUE(KeyJustReleased(254));
}

TEST_F(Keyboard, UntouchedKeysAreNeitherHeldNorReleasedWhateverTheTickCount) {
    // The tick count restarts at 0 after 49.7 days (and the stand-in's starts
    // there): an empty record must not read as a key held for five seconds.
    for (std::uint32_t tick : {0u, 1u, 99u, 4999u, 5000u, 0xFFFFFFFFu}) {
        World().tickCount = tick;
        for (int vk : {VK_BACK_KEY, VK_ENTER_KEY, VK_LEFT_KEY, VK_UP_KEY, VK_RIGHT_KEY, VK_DOWN_KEY}) {
            EXPECT_FALSE(KeyHeld(vk)) << "key " << vk << " at tick " << tick;
            EXPECT_FALSE(KeyJustReleased(vk)) << "key " << vk << " at tick " << tick;
        }
    }
}

TEST_F(Keyboard, EventsAcrossTheTickCountWrap) {
    World().tickCount = 0xFFFFFFF0u;
    Event(VK_HOME_KEY, true);
    Advance(0x20);  // now 0x10, after the wrap
    EXPECT_TRUE(KeyJustReleased(VK_HOME_KEY)) << "released 32 ms ago, just before the wrap";

    World().tickCount = 0xFFFFF000u;
    Event(VK_UP_KEY, false);
    Advance(0x1000 + 100);
    EXPECT_TRUE(KeyHeld(VK_UP_KEY)) << "held across the wrap";
    Advance(5000);
    EXPECT_FALSE(KeyHeld(VK_UP_KEY));

    // An event stamped exactly at tick 0 still counts.
    World().tickCount = 0;
    Event(VK_ENTER_KEY, true);
    EXPECT_TRUE(KeyJustReleased(VK_ENTER_KEY));
}

TEST_F(Keyboard, TheHostDeliversEventsThroughTheRegisteredHandler) {
    StartAndSettle();
    ASSERT_EQ(standin::GetHost().keyboardHandler, &OnKeyboardEvent);
    standin::KeyDown(VK_RIGHT_KEY);
    standin::RunFrame();
    EXPECT_TRUE(KeyHeld(VK_RIGHT_KEY));
    standin::KeyUp(VK_RIGHT_KEY);
    standin::RunFrame();
    EXPECT_FALSE(KeyHeld(VK_RIGHT_KEY));
    EXPECT_TRUE(KeyJustReleased(VK_RIGHT_KEY));
}
