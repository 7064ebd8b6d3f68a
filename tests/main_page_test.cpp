// The main page end to end: the menu key, moving and accepting with keys and
// frontend controls, the random hire, the roster-full notice, the formation
// line, Dismiss All, and the saves each of them makes.
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "menu/state.h"
#include "menu_game.h"
#include "roster/roster.h"
#include "script_calls.h"

using standin::Call;

namespace {

constexpr int ITEM_RANDOM = 1, ITEM_DISMISS_ALL = 2, ITEM_FORMATION = 3;

std::vector<std::string> PageLines() {
    std::vector<std::string> lines;
    for (int row : {0, 1, 2, 4, 7}) lines.push_back(standin::MenuLineAt(row));
    return lines;
}

}  // namespace

class MainPage : public MenuGameTest {
  protected:
    void SetUp() override {
        MenuGameTest::SetUp();
        StartAndSettle();
    }
    // Accepts "Random Bodyguard" with Enter, drawing model, longarm, sidearm,
    // longarm place and outfit from the scripted values.
    void HireRandom(int model, int longarm, int sidearm, int outfit) {
        World().scriptedRandom = {model, longarm, sidearm, 9, outfit};
        Press(VK_ENTER_KEY);
    }
    int Released() {
        int n = 0;
        for (const auto& [handle, ped] : World().peds) n += ped.released ? 1 : 0;
        return n;
    }
};

TEST_F(MainPage, HomeOpensItAndItsItemsMoveWithKeysAndControls) {
    standin::TapKey(VK_HOME_KEY);
    standin::RunFrame();  // drawn in the very frame the key opens it
    EXPECT_EQ(PageLines(), (std::vector<std::string>{"Custom Bodyguard", "Random Bodyguard", "Dismiss All",
                                                     "Formation - Auto", "Exit"}));
    EXPECT_EQ(standin::HighlightRow(), 0);
    WaitGate();

    Arrow(VK_DOWN_KEY);
    EXPECT_EQ(standin::HighlightRow(), 1);
    Pad("INPUT_FRONTEND_UP");
    Pad("INPUT_FRONTEND_UP");  // from the first item to the last
    EXPECT_EQ(menu.mainMenuItem, 4);
    EXPECT_EQ(standin::HighlightRow(), 7);

    // "Exit" closes without saving; the item is kept for the next opening.
    Press(VK_ENTER_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_TRUE(standin::MenuLines().empty());
    EXPECT_FALSE(FileExists("Tavrossimer.dat"));
    OpenMenu();
    EXPECT_EQ(standin::HighlightRow(), 7);

    // Closing with the menu key saves.
    Press(VK_HOME_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), AllFreeSave());

    // "Custom Bodyguard" leads to the builder.
    OpenMenu();
    MoveTo(0);
    standin::TriggerControl("INPUT_FRONTEND_ACCEPT");
    standin::RunFrame();
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);
}

TEST_F(MainPage, RandomHireDrawsModelLongarmSidearmThenAnOutfitAndCharges) {
    WriteSettings("PRICE=25\n");
    standin::RestartGame();
    standin::RunFrames(3);
    OpenMenu();
    MoveTo(ITEM_RANDOM);
    const std::size_t mark = Log().Mark();
    World().scriptedRandom = {5, 3, 2, 10, 20};
    standin::TriggerControl("INPUT_FRONTEND_ACCEPT");
    standin::RunFrames(5);

    const Transcript expected =
        ExpectedCalls(R"(
        GetOffsetPosition({player}, 0, -1, 0)
        RandomIntInRange(0, {males})
        RandomIntInRange(1, 9)
        RandomIntInRange(1, 4)
        RandomIntInRange(9, 11)
        RandomIntInRange(0, 21)
    )",
                      {{"{player}", Z(World().player.ped)}, {"{males}", std::to_string(MALE_MODEL_COUNT)}});
    EXPECT_EQ(CallsNamed(mark, {"GetOffsetPosition", "RandomIntInRange"}), expected);

    const BodyguardRecord& r = roster[0];
    ASSERT_NE(r.ped, 0);
    EXPECT_EQ(World().FindPed(r.ped)->model, standin::GameHash(maleModelNames[5]));
    EXPECT_EQ(World().FindPed(r.ped)->outfit, 20);  // the outfit count itself can come up
    EXPECT_EQ(CallsNamed(mark, {"SetPedOutfit"}), Transcript{"SetPedOutfit(" + Z(r.ped) + ", 20, 0)"});
    EXPECT_EQ(World().player.charges, std::vector<std::int32_t>{2500});
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_EQ(ReadFile("Tavrossimer.dat").substr(0, 14), " 0 5 2 0 3 20 ");
}

TEST_F(MainPage, EighthHireShowsTheRosterFullNoticeAndChargesNothing) {
    OpenMenu();
    MoveTo(ITEM_RANDOM);
    for (int i = 0; i < 7; ++i) HireRandom(i, 1 + i, 1 + i % 3, i);
    EXPECT_EQ(FirstFreeSlot(), -1);
    EXPECT_TRUE(World().player.charges.empty());  // PRICE 0: free, yet saved
    const std::vector<int> saved = SavedValues();
    ASSERT_EQ(saved.size(), 43u);
    for (int slot = 0; slot < 7; ++slot) {
        EXPECT_EQ(saved[slot * 6 + 1], slot);
        EXPECT_EQ(saved[slot * 6 + 5], slot);
    }
    const std::string before = ReadFile("Tavrossimer.dat");
    const std::size_t peds = World().peds.size();

    StartCountingSaves();
    World().scriptedRandom = {0, 1, 1};
    Press(VK_ENTER_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_ROSTER_FULL);
    EXPECT_EQ(standin::MenuLineAt(0), "You can't have more than");
    EXPECT_EQ(World().peds.size(), peds);
    EXPECT_EQ(SavesCounted(), 0);
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), before);

    Press(VK_ENTER_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
}

TEST_F(MainPage, FormationStepsBothWaysAndIsSetAtOnce) {
    OpenMenu();
    MoveTo(ITEM_FORMATION);
    auto step = [&](auto how, int expected, const char* label) {
        const std::size_t mark = Log().Mark();
        how();
        EXPECT_EQ(formationMode, expected);
        EXPECT_EQ(standin::MenuLineAt(4), label);
        const Transcript set = CallsNamed(mark, {"SetGroupFormation"});
        ASSERT_FALSE(set.empty());
        // With nobody hired no group has been cached yet: group 0.
        EXPECT_EQ(set.front(), "SetGroupFormation(0, " + std::to_string(expected) + ")");
    };
    step([&] { Arrow(VK_LEFT_KEY); }, 10, "Formation - 10 -");
    step([&] { Arrow(VK_RIGHT_KEY); }, 11, "Formation - Auto");
    step([&] { Arrow(VK_RIGHT_KEY); }, 0, "Formation - 0 -");
    World().usingKeyboard = false;  // a gamepad steps it as well
    step([&] { Pad("INPUT_FRONTEND_LEFT"); }, 11, "Formation - Auto");
    step([&] { Pad("INPUT_FRONTEND_RIGHT"); }, 0, "Formation - 0 -");
    Press(VK_ENTER_KEY);  // accept stays on the page
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    Press(VK_HOME_KEY);
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), AllFreeSave(0));
}

TEST_F(MainPage, DismissAllWritesTheFileSevenTimesAndCancelDismissesToo) {
    OpenMenu();
    MoveTo(ITEM_RANDOM);
    HireRandom(1, 2, 3, 4);
    HireRandom(2, 3, 1, 0);
    MoveTo(ITEM_DISMISS_ALL);
    StartCountingSaves();
    Press(VK_ENTER_KEY);
    EXPECT_EQ(SavesCounted(), 7);
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), AllFreeSave());
    EXPECT_EQ(Released(), 2);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);

    MoveTo(ITEM_RANDOM);
    HireRandom(3, 4, 2, 1);
    MoveTo(ITEM_DISMISS_ALL);
    Press(VK_BACK_KEY);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_EQ(Released(), 3);
    EXPECT_EQ(FirstFreeSlot(), 0);
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), AllFreeSave());
}
