// The key table the host's keyboard events fill, and its two questions: was a
// key released a moment ago, and is it being held.
#include "game_test.h"
#include "host/keyboard.h"

namespace {

void Event(unsigned long vk, bool release) { OnKeyboardEvent(vk, 1, 0, 0, 0, release ? 1 : 0, release ? 1 : 0); }

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
    Event(13, false);
    Event(13, true);
    EXPECT_TRUE(KeyJustReleased(13));
    EXPECT_FALSE(KeyHeld(13));
    Advance(99);
    EXPECT_TRUE(KeyJustReleased(13));
    Advance(1);
    EXPECT_FALSE(KeyJustReleased(13)) << "a release 100 ms old must not fire late";

    Event(13, true);
    ResetKeyState(13);
    EXPECT_FALSE(KeyJustReleased(13));
    EXPECT_FALSE(KeyHeld(13)) << "a reset record reads as neither released nor held";
    EXPECT_EQ(keyStates[13].time, 0u);
    EXPECT_EQ(keyStates[13].released, 0);
}

TEST_F(Keyboard, HeldWhileEventsKeepComingAndNotAfterRelease) {
    Event(38, false);
    Advance(4000);
    EXPECT_TRUE(KeyHeld(38));
    Event(38, false);  // auto-repeat renews it
    Advance(4999);
    EXPECT_TRUE(KeyHeld(38));
    Advance(1);
    EXPECT_FALSE(KeyHeld(38)) << "5000 ms without an event is no longer held";

    Event(40, false);
    Event(40, true);
    EXPECT_FALSE(KeyHeld(40)) << "a release ends the hold at once";
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
        for (int vk : {8, 13, 37, 38, 39, 40}) {
            EXPECT_FALSE(KeyHeld(vk)) << "key " << vk << " at tick " << tick;
            EXPECT_FALSE(KeyJustReleased(vk)) << "key " << vk << " at tick " << tick;
        }
    }
}

TEST_F(Keyboard, EventsAcrossTheTickCountWrap) {
    World().tickCount = 0xFFFFFFF0u;
    Event(36, true);
    Advance(0x20);  // now 0x10, after the wrap
    EXPECT_TRUE(KeyJustReleased(36)) << "released 32 ms ago, just before the wrap";

    World().tickCount = 0xFFFFF000u;
    Event(38, false);
    Advance(0x1000 + 100);
    EXPECT_TRUE(KeyHeld(38)) << "held across the wrap";
    Advance(5000);
    EXPECT_FALSE(KeyHeld(38));

    // An event stamped exactly at tick 0 still counts.
    World().tickCount = 0;
    Event(13, true);
    EXPECT_TRUE(KeyJustReleased(13));
}

TEST_F(Keyboard, TheHostDeliversEventsThroughTheRegisteredHandler) {
    StartAndSettle();
    ASSERT_EQ(standin::GetHost().keyboardHandler, &OnKeyboardEvent);
    standin::KeyDown(39);
    standin::RunFrame();
    EXPECT_TRUE(KeyHeld(39));
    standin::KeyUp(39);
    standin::RunFrame();
    EXPECT_FALSE(KeyHeld(39));
    EXPECT_TRUE(KeyJustReleased(39));
}
