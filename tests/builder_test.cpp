// The custom bodyguard builder, driven with key events from a closed menu: the
// live bodyguard dressed and armed as the player steps the lines, gang members'
// fixed loadouts, "Confirm" (saved and paid), and every way of giving the
// bodyguard up again.
#include <string>
#include <vector>

#include "builder_driver.h"
#include "catalog/catalog.h"
#include "menu/pages.h"
#include "menu/state.h"
#include "roster/roster.h"
#include "script_calls.h"

namespace {

constexpr int MALE = 1, GANG = 2;  // category page items

constexpr std::uint32_t CATTLEMAN = 0x169F59F7, DOUBLE_ACTION = 0x0797FBF5, MAUSER = 0x8580C63E;
constexpr std::uint32_t CARCANO = 0x53944780, ROLLING_BLOCK = 0xE1D2B317;
constexpr std::uint32_t DUTCH_RIGHT = 0xFA4B2D47, DUTCH_LEFT = 0xD44A5A04;
constexpr std::uint32_t JOHNS_CATTLEMAN = 0xC9622757, JOHNS_REPEATER = 0xBE76397C;

const std::string FREE_SLOT = " -1 -1 0 0 0 0";

std::string SaveWith(const std::string& slot0) {
    std::string s = slot0;
    for (int i = 1; i < ROSTER_SIZE; ++i) s += FREE_SLOT;
    return s + " 11";
}

std::string Give(std::int32_t ped, std::uint32_t weapon, int a, int b, int place) {
    return "GiveWeaponToPed(" + std::to_string(ped) + ", " + Z(weapon) + ", 150, " + std::to_string(a) +
           ", " + std::to_string(b) + ", " + std::to_string(place) + ", 1, 0.5, 1, " + Z(0x5C05C64D) +
           ", 1, 0, 0)";
}
std::string Flag(std::int32_t ped, std::uint32_t weapon) {
    return "SetPedWeaponFlag(" + std::to_string(ped) + ", 1, " + Z(weapon) + ")";
}
std::string Remove(std::int32_t ped, std::uint32_t weapon) {
    return "RemoveWeaponFromPed(" + std::to_string(ped) + ", " + Z(weapon) + ", 1, 0)";
}

}  // namespace

class Builder : public BuilderDriverTest {
  protected:
    const std::vector<std::string> weaponCalls{"GiveWeaponToPed", "SetPedWeaponFlag", "RemoveWeaponFromPed"};

    std::int32_t BuildPed() { return builder.lastSpawnSlot == -1 ? 0 : roster[builder.lastSpawnSlot].ped; }
    bool AllChoicesCleared() {
        return builder.builderOutfitMax == -1 && builder.builderOutfit == -1 &&
               builder.builderSidearm == -1 && builder.builderSecondSidearm == -1 &&
               builder.builderLongarm == -1 && builder.lastSpawnSlot == -1 &&
               builder.lastSpawnCategory == -1 && builder.lastSpawnModelIndex == -1;
    }
    // One key on a line: the weapon calls it made.
    Transcript Step(int vk) {
        const std::size_t mark = Log().Mark();
        if (vk == VK_LEFT_KEY || vk == VK_RIGHT_KEY)
            Arrow(vk);
        else
            Press(vk);
        return CallsNamed(mark, weaponCalls);
    }
};

TEST_F(Builder, WithoutABodyguardTheLinesAreDimmedAndConfirmBuildsNothing) {
    WriteSettings("PRICE=5\n");
    StartAndSettle();
    OpenBuilder();
    EXPECT_EQ(Lines(), (Transcript{"0:Choose Model", "2:~- chose outfit -", "3:~- chose sidearm -",
                                   "5:~- chose longarm -", "8:~Confirm", "9:Cancel"}));
    EXPECT_EQ(standin::HighlightRow(), 0);

    // The value lines do nothing without a bodyguard.
    const std::size_t mark = Log().Mark();
    for (int item : {1, 2, 3}) {
        MoveTo(menu.builderItem, item);
        Left();
        Right();
    }
    EXPECT_TRUE(CallsNamed(mark, {"SetPedOutfit", "GiveWeaponToPed", "RemoveWeaponFromPed"}).empty());
    EXPECT_TRUE(AllChoicesCleared());

    // Nothing was built: the main page follows, nobody pays, nothing is written.
    MoveTo(menu.builderItem, 4);
    Enter();
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_TRUE(World().player.charges.empty());
    EXPECT_FALSE(FileExists("Tavrossimer.dat"));
}

TEST_F(Builder, DutchComesWithBothSchofieldsIsPaidForAndReturnsAtTheNextStart) {
    WriteSettings("PRICE=5\n");
    StartAndSettle();
    const std::size_t mark = Log().Mark();
    SpawnModel(GANG, 1);
    ASSERT_EQ(builder.lastSpawnSlot, 0);
    const std::int32_t ped = BuildPed();

    // Prepared once: his outfit limit and both fixed guns, no outfit count asked.
    EXPECT_EQ(builder.builderOutfitMax, 16);
    EXPECT_EQ(CallsNamed(mark, {"GiveWeaponToPed", "SetPedWeaponFlag", "GetPedOutfitCount"}),
              (Transcript{Give(ped, DUTCH_RIGHT, 0, 1, 2), Flag(ped, DUTCH_RIGHT),
                          Give(ped, DUTCH_LEFT, 0, 1, 3), Flag(ped, DUTCH_LEFT)}));
    EXPECT_EQ(roster[0].sidearm, 8);
    EXPECT_EQ(roster[0].secondSidearm, 9);
    EXPECT_EQ(roster[0].longarm, 0);
    EXPECT_EQ(builder.builderLongarm, -1);
    EXPECT_EQ(Lines(),
              (Transcript{"0:Choose Model", "1:Dutch", "2:- Choose Outfit -", "3:~- Choose Sidearm -",
                          "4:Dutch's Dual Schofields", "5:- Choose Longarm -", "8:Confirm", "9:Cancel"}));

    // His sidearm cannot be changed.
    MoveTo(menu.builderItem, 2);
    EXPECT_TRUE(Step(VK_LEFT_KEY).empty());
    EXPECT_TRUE(Step(VK_RIGHT_KEY).empty());
    EXPECT_EQ(builder.builderSidearm, 8);

    // Left from "- Choose Outfit -" goes to the top of his range.
    MoveTo(menu.builderItem, 1);
    std::size_t before = Log().Mark();
    Left();
    EXPECT_EQ(CallsNamed(before, {"SetPedOutfit"}),
              (Transcript{"SetPedOutfit(" + std::to_string(ped) + ", 16, 0)"}));
    EXPECT_EQ(standin::MenuLineAt(2), "Outfit - 16 -");

    MoveTo(menu.builderItem, 4);
    Enter();
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_EQ(World().player.charges, (std::vector<std::int32_t>{500}));
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), SaveWith(" 2 1 8 9 0 16"));
    EXPECT_TRUE(AllChoicesCleared());
    EXPECT_EQ(roster[0].ped, ped);
    EXPECT_FALSE(World().FindPed(ped)->deleted);

    // The next start brings him back with both guns.
    standin::RestartGame(true);
    standin::RunFrames(10);
    ASSERT_NE(roster[0].ped, 0);
    const standin::Ped* again = World().FindPed(roster[0].ped);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->model, standin::GameHash("CS_dutch"));
    EXPECT_EQ(again->displayName, "Dutch");
    bool right = false, left = false;
    for (const standin::GivenWeapon& w : again->weapons) {
        right = right || (w.hash == DUTCH_RIGHT && w.place == 2);
        left = left || (w.hash == DUTCH_LEFT && w.place == 3);
    }
    EXPECT_TRUE(right && left);
}

TEST_F(Builder, SteppingAMaleModelTakesTheOldWeaponAwayBeforeGivingTheNew) {
    WriteSettings("PRICE=0\n");
    World().outfitCounts[standin::GameHash("A_M_M_UniCoachGuards_01")] = 4;
    StartAndSettle();
    const std::size_t mark = Log().Mark();
    SpawnModel(MALE, 0);
    const std::int32_t ped = BuildPed();
    ASSERT_NE(ped, 0);
    EXPECT_EQ(CallsNamed(mark, {"GetPedOutfitCount"}),
              (Transcript{"GetPedOutfitCount(" + std::to_string(ped) + ")"}));
    EXPECT_EQ(builder.builderOutfitMax, 4);
    EXPECT_TRUE(CallsNamed(mark, weaponCalls).empty());

    // Outfits run from 0 to the count itself.
    MoveTo(menu.builderItem, 1);
    Left();
    EXPECT_EQ(builder.builderOutfit, 4);
    Right();
    EXPECT_EQ(builder.builderOutfit, 0);
    Right();
    EXPECT_EQ(roster[0].outfit, 1);
    EXPECT_EQ(World().FindPed(ped)->outfit, 1);

    // The first choice removes nothing (the record holds "No Sidearm"); index 0
    // is handed to the game as hash 0 like any other.
    MoveTo(menu.builderItem, 2);
    EXPECT_EQ(Step(VK_RIGHT_KEY), (Transcript{Give(ped, 0, 0, 1, 0), Flag(ped, 0)}));
    EXPECT_EQ(Step(VK_RIGHT_KEY), (Transcript{Give(ped, CATTLEMAN, 0, 1, 0), Flag(ped, CATTLEMAN)}));
    EXPECT_EQ(Step(VK_RIGHT_KEY), (Transcript{Remove(ped, CATTLEMAN), Give(ped, DOUBLE_ACTION, 0, 1, 0),
                                              Flag(ped, DOUBLE_ACTION)}));
    EXPECT_EQ(Step(VK_LEFT_KEY),
              (Transcript{Remove(ped, DOUBLE_ACTION), Give(ped, CATTLEMAN, 0, 1, 0), Flag(ped, CATTLEMAN)}));
    EXPECT_EQ(Step(VK_LEFT_KEY), (Transcript{Remove(ped, CATTLEMAN), Give(ped, 0, 0, 1, 0), Flag(ped, 0)}));
    EXPECT_EQ(Step(VK_LEFT_KEY), (Transcript{Give(ped, MAUSER, 0, 1, 0), Flag(ped, MAUSER)}));
    EXPECT_EQ(builder.builderSidearm, 6);

    MoveTo(menu.builderItem, 3);
    EXPECT_EQ(Step(VK_LEFT_KEY), (Transcript{Give(ped, CARCANO, 1, 0, 9), Flag(ped, CARCANO)}));
    EXPECT_EQ(Step(VK_LEFT_KEY), (Transcript{Remove(ped, CARCANO), Give(ped, ROLLING_BLOCK, 1, 0, 9),
                                             Flag(ped, ROLLING_BLOCK)}));
    // Accept on a line changes nothing.
    EXPECT_TRUE(Step(VK_ENTER_KEY).empty());
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);

    EXPECT_EQ(Lines(), (Transcript{"0:Choose Model", "1:A_M_M_UniCoachGuards_01", "2:Outfit - 1 -",
                                   "3:Sidearm - 6 -", "4:Mauser Pistol", "5:Longarm - 9 -",
                                   "6:Rolling Block Rifle", "8:Confirm", "9:Cancel"}));
    std::vector<std::uint32_t> carried;
    for (const standin::GivenWeapon& w : World().FindPed(ped)->weapons) {
        if (w.hash != 0) carried.push_back(w.hash);
    }
    EXPECT_EQ(carried, (std::vector<std::uint32_t>{MAUSER, ROLLING_BLOCK}));

    // Free hiring: saved, nothing charged.
    MoveTo(menu.builderItem, 4);
    Enter();
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_TRUE(World().player.charges.empty());
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), SaveWith(" 0 0 6 0 9 1"));
}

TEST_F(Builder, FixedGangWeaponsAreDimmedAndEveryBuildStartsFromNothing) {
    StartAndSettle();
    SpawnModel(GANG, 7);  // John: his own sidearm and longarm
    std::int32_t ped = BuildPed();
    EXPECT_EQ(Lines(), (Transcript{"0:Choose Model", "1:John", "2:- Choose Outfit -", "3:~- Choose Sidearm -",
                                   "4:John's Cattleman", "5:~- Choose Longarm -", "6:John's Repeater",
                                   "8:Confirm", "9:Cancel"}));
    std::vector<std::uint32_t> carried;
    for (const standin::GivenWeapon& w : World().FindPed(ped)->weapons) carried.push_back(w.hash);
    EXPECT_EQ(carried, (std::vector<std::uint32_t>{JOHNS_CATTLEMAN, JOHNS_REPEATER}));
    EXPECT_EQ(World().FindPed(ped)->weapons[1].place, 9);

    MoveTo(menu.builderItem, 3);
    EXPECT_TRUE(Step(VK_LEFT_KEY).empty());
    EXPECT_TRUE(Step(VK_RIGHT_KEY).empty());
    // The locked line still answers cancel: John goes.
    Back();
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    EXPECT_TRUE(World().FindPed(ped)->deleted);
    EXPECT_TRUE(AllChoicesCleared());

    // Dutch's left-hand gun does not carry over to Arthur, who has no fixed weapons.
    Home();
    SpawnModel(GANG, 1);
    EXPECT_EQ(builder.builderSecondSidearm, 9);
    MoveTo(menu.builderItem, 5);
    Enter();
    EXPECT_TRUE(AllChoicesCleared());
    Home();
    const std::size_t mark = Log().Mark();
    SpawnModel(GANG, 0);
    ped = BuildPed();
    EXPECT_TRUE(CallsNamed(mark, weaponCalls).empty());
    EXPECT_EQ(builder.builderOutfitMax, 57);
    EXPECT_EQ(builder.builderSidearm, -1);
    EXPECT_EQ(builder.builderSecondSidearm, -1);
    EXPECT_EQ(builder.builderLongarm, -1);
    EXPECT_EQ(roster[builder.lastSpawnSlot].secondSidearm, 0);
    EXPECT_EQ(standin::MenuLineAt(1), "Arthur");
    EXPECT_EQ(standin::MenuLineAt(3), "- Choose Sidearm -");
    EXPECT_EQ(standin::MenuLineAt(4), "");
}

TEST_F(Builder, EveryWayOfBackingOutRemovesTheBodyguard) {
    WriteSettings("PRICE=5\n");
    StartAndSettle();
    struct Case {
        const char* what;
        int item;
        int key;
        int page;
    };
    const Case cases[] = {
        {"accept on Cancel", 5, VK_ENTER_KEY, PAGE_MAIN},
        {"cancel on Cancel", 5, VK_BACK_KEY, PAGE_MAIN},
        {"cancel on Confirm", 4, VK_BACK_KEY, PAGE_MAIN},
        {"cancel on the outfit", 1, VK_BACK_KEY, PAGE_MAIN},
        {"cancel on the sidearm", 2, VK_BACK_KEY, PAGE_MAIN},
        {"cancel on the longarm", 3, VK_BACK_KEY, PAGE_MAIN},
        {"another model", 0, VK_ENTER_KEY, PAGE_CATEGORY},
        {"cancel on Choose Model", 0, VK_BACK_KEY, PAGE_MAIN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (menu.menuPage != PAGE_CLOSED) Home();
        SpawnModel(MALE, 3);
        const std::int32_t ped = BuildPed();
        ASSERT_NE(ped, 0);
        MoveTo(menu.builderItem, 1);
        Right();  // a choice, so that its reset shows
        ASSERT_EQ(builder.builderOutfit, 0);
        MoveTo(menu.builderItem, c.item);
        Press(c.key);
        EXPECT_EQ(menu.menuPage, c.page);
        EXPECT_TRUE(World().FindPed(ped)->deleted);
        EXPECT_EQ(roster[0].ped, 0);
        EXPECT_TRUE(AllChoicesCleared());
        EXPECT_EQ(ReadFile("Tavrossimer.dat"), SaveWith(FREE_SLOT));
    }
    EXPECT_TRUE(World().player.charges.empty());

    // A ped the game does not delete is moved out of the way and let go.
    Home();
    SpawnModel(MALE, 3);
    const std::int32_t ped = BuildPed();
    World().FindPed(ped)->survivesDeletion = true;
    MoveTo(menu.builderItem, 5);
    Enter();
    const standin::Ped* left = World().FindPed(ped);
    EXPECT_FLOAT_EQ(left->pos.x, -221.0f);
    EXPECT_FLOAT_EQ(left->pos.y, 804.0f);
    EXPECT_FLOAT_EQ(left->pos.z, 50.0f);
    EXPECT_EQ(roster[0].ped, 0);
}

TEST_F(Builder, ClosingTheMenuMidBuildKeepsTheBodyguardAndTheBuildGoesOn) {
    WriteSettings("PRICE=5\n");
    StartAndSettle();
    SpawnModel(MALE, 2);
    const std::int32_t ped = BuildPed();
    MoveTo(menu.builderItem, 1);
    Right();
    Right();
    MoveTo(menu.builderItem, 2);
    Right();
    Right();

    Home();
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
    EXPECT_FALSE(World().FindPed(ped)->deleted);
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), SaveWith(" 0 2 1 0 0 1"));
    EXPECT_TRUE(World().player.charges.empty());
    standin::RunMs(2000);

    const std::size_t mark = Log().Mark();
    Home();
    MoveTo(menu.mainMenuItem, 0);
    Enter();
    EXPECT_EQ(menu.menuPage, PAGE_BUILDER);
    EXPECT_EQ(Lines(),
              (Transcript{"0:Choose Model", "1:S_M_M_RACRAILGUARDS_01", "2:Outfit - 1 -", "3:Sidearm - 1 -",
                          "4:Cattleman Revolver", "5:- Choose Longarm -", "8:Confirm", "9:Cancel"}));
    // Not prepared a second time.
    EXPECT_TRUE(CallsNamed(mark, {"GetPedOutfitCount", "GiveWeaponToPed"}).empty());

    MoveTo(menu.builderItem, 3);
    Right();
    MoveTo(menu.builderItem, 4);
    Enter();
    EXPECT_EQ(World().player.charges, (std::vector<std::int32_t>{500}));
    EXPECT_EQ(ReadFile("Tavrossimer.dat"), SaveWith(" 0 2 1 0 0 1"));
    EXPECT_EQ(roster[0].ped, ped);
}

TEST_F(Builder, ABodyguardThatLeftTheRosterMidBuildEndsTheBuild) {
    WriteSettings("PRICE=5\n");
    StartAndSettle();
    SpawnModel(MALE, 0);
    const std::int32_t built = BuildPed();
    Home();

    // Everybody is dismissed from the main page, then a random bodyguard is
    // hired into the slot the build had.
    Home();
    MoveTo(menu.mainMenuItem, 2);
    Enter();
    EXPECT_EQ(roster[0].ped, 0);
    MoveTo(menu.mainMenuItem, 1);
    Enter();
    standin::RunMs(600);
    const std::int32_t hired = roster[0].ped;
    ASSERT_NE(hired, 0);
    ASSERT_NE(hired, built);
    EXPECT_EQ(World().player.charges, (std::vector<std::int32_t>{500}));

    // The builder no longer claims that slot: nothing to dress, charge or delete.
    MoveTo(menu.mainMenuItem, 0);
    Enter();
    EXPECT_EQ(standin::MenuLineAt(8), "Confirm");
    EXPECT_EQ(Lines().at(1), "2:~- chose outfit -");
    EXPECT_TRUE(AllChoicesCleared());
    MoveTo(menu.builderItem, 4);
    Enter();
    EXPECT_EQ(World().player.charges, (std::vector<std::int32_t>{500}));
    Enter();  // main page, "Custom Bodyguard" again
    MoveTo(menu.builderItem, 5);
    Enter();
    EXPECT_EQ(roster[0].ped, hired);
    EXPECT_FALSE(World().FindPed(hired)->deleted);
}
