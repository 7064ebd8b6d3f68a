// Settings at their edges, through the whole plug-in: key codes that are
// negative or too large, BODYGUARD_HEALTH of 0, below 0 or huge, ALLOW_REVIVE
// with any value, and a PRICE whose cents do not fit 32 bits, charged at both
// places a hire is paid for. Whatever the file says, the plug-in must not
// crash, leak a bodyguard's handles or charge a wrapped amount.
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "builder_driver.h"
#include "catalog/catalog.h"
#include "config/settings.h"
#include "menu/state.h"
#include "persist/save_file.h"
#include "roster/roster.h"

namespace {

// A save file with one bodyguard in slot 0: male model 3, sidearm 1, longarm 2, outfit 5.
std::string OneSaved() {
    std::string text = " 0 3 1 0 2 5";
    for (int slot = 1; slot < ROSTER_SIZE; ++slot) text += " -1 -1 0 0 0 0";
    return text + " 11";
}
const std::string ONE_SAVED = OneSaved();

constexpr int CATEGORY_ITEM_MALE = 1;  // the category page lists Female first

}  // namespace

class SettingsEdges : public BuilderDriverTest {
  protected:
    // A fresh game start with these settings and, when given, this save file.
    void Start(const std::string& settings, const std::string& save = "") {
        standin::EndGame();
        standin::ResetWorld();
        WriteSettings(settings);
        if (save.empty()) {
            std::remove(SAVE_FILE_NAME);
        } else {
            WriteFile(SAVE_FILE_NAME, save);
        }
        StartAndSettle(10);
    }

    std::int32_t Stranger() {
        const standin::Vec3 p = World().PlayerPed().pos;
        return World().SpawnPed(standin::GameHash("a_m_m_valtownfolk_01"), {p.x + 5, p.y, p.z});
    }

    // Nothing of the bodyguards is left in the world once the roster is empty,
    // and no call named a handle after it was given back.
    void ExpectNothingLeftBehind() {
        for (const BodyguardRecord& r : roster) ASSERT_EQ(r.ped, 0);
        for (const auto& [h, p] : World().peds) {
            if (!p.isPlayer && p.scriptOwned) ADD_FAILURE() << "ped " << h << " still owned by the plug-in";
        }
        for (const auto& [h, b] : World().blips) EXPECT_FALSE(b.exists) << "blip " << h;
        for (const auto& [h, p] : World().prompts) EXPECT_TRUE(p.deleted) << "prompt " << h << " " << p.text;
        EXPECT_TRUE(World().staleUses.empty());
    }

    int Named(std::size_t mark, const char* name) { return static_cast<int>(Log().Since(mark, name).size()); }
};

TEST_F(SettingsEdges, KeyCodesOutsideTheTableNeverFireWhateverIsPressed) {
    for (const char* bad : {"-1", "255", "300", "2147483647", "-2147483648", "4294967295", "99999999999"}) {
        SCOPED_TRACE(bad);
        Start(std::string("SPAWN_MENU_KEY=") + bad + "\nATTACK_KEY=" + bad + "\nFOLLOW_ALL=" + bad + "\n",
              ONE_SAVED);
        ASSERT_NE(roster[0].ped, 0);
        World().player.aimed = Stranger();
        const std::size_t mark = Log().Mark();
        // Every code a key event can carry, in the table and far outside it.
        for (int vk = 0; vk < 255; ++vk) {
            if (vk == VK_ENTER_KEY || vk == VK_BACK_KEY) continue;  // menu keys act only on an open menu
            standin::TapKey(vk);
            standin::RunFrame();
        }
        for (unsigned long vk : {255ul, 256ul, 300ul, 65535ul, 0xFFFFFFFFul, ~0ul}) {
            standin::SendKeyEvent(vk, false);
            standin::SendKeyEvent(vk, true);
            standin::RunFrame();
        }
        EXPECT_EQ(menu.menuPage, PAGE_CLOSED);
        EXPECT_TRUE(World().display.empty());
        EXPECT_EQ(Named(mark, "TaskCombatPed"), 0) << "the attack key fired";
        EXPECT_FALSE(roster[0].staying) << "the follow-all key fired";
        EXPECT_EQ(Named(mark, "TaskStartScenarioInPlace"), 0);
    }
}

TEST_F(SettingsEdges, TheTableEndsAreUsableKeys) {
    Start("SPAWN_MENU_KEY=254\nATTACK_KEY=0\nFOLLOW_ALL=1\n", ONE_SAVED);
    ASSERT_NE(roster[0].ped, 0);
    Press(254);
    EXPECT_EQ(menu.menuPage, PAGE_MAIN);
    Press(254);
    EXPECT_EQ(menu.menuPage, PAGE_CLOSED);

    const std::int32_t target = Stranger();
    World().player.aimed = target;
    Press(0);
    EXPECT_EQ(World().FindPed(roster[0].ped)->combatTarget, target);
    Press(1);
    EXPECT_TRUE(roster[0].staying);
}

TEST_F(SettingsEdges, OneCodeForAttackAndFollowAllFiresOnlyTheAttack) {
    Start("ATTACK_KEY=70\nFOLLOW_ALL=70\n", ONE_SAVED);
    const std::int32_t target = Stranger();
    World().player.aimed = target;
    Press(70);
    EXPECT_EQ(World().FindPed(roster[0].ped)->combatTarget, target);
    EXPECT_FALSE(roster[0].staying);
}

// What the game is given as health is BODYGUARD_HEALTH (+500 with revive),
// kept between 1 and the largest 32-bit value: no setting makes bodyguards dead
// on arrival (their first check would dismiss them and empty the save file).
TEST_F(SettingsEdges, BodyguardHealthAtZeroBelowZeroAndHuge) {
    struct Case {
        const char* settings;
        int health;  // given to the game
        bool downed;
    };
    const Case cases[] = {
        {"BODYGUARD_HEALTH=0\nALLOW_REVIVE=1\n", 500, false},
        {"BODYGUARD_HEALTH=0\nALLOW_REVIVE=0\n", 1, false},
        {"BODYGUARD_HEALTH=-100\nALLOW_REVIVE=1\n", 400, true},
        {"BODYGUARD_HEALTH=-100\nALLOW_REVIVE=0\n", 1, false},
        {"BODYGUARD_HEALTH=2147483647\nALLOW_REVIVE=0\n", INT_MAX, false},
        {"BODYGUARD_HEALTH=-2147483648\nALLOW_REVIVE=0\n", 1, false},
        {"BODYGUARD_HEALTH=2147483647\nALLOW_REVIVE=1\n", INT_MAX, false},
        {"BODYGUARD_HEALTH=99999999999\nALLOW_REVIVE=0\n", static_cast<int>(99999999999ull % 4294967296ull),
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings);
        Start(c.settings, ONE_SAVED);
        EXPECT_EQ(CallsNamed(0, {"SetEntityMaxHealth"}), Transcript{"SetEntityMaxHealth(" + Z(roster[0].ped) +
                                                                    ", " + std::to_string(c.health) + ")"});
        standin::RunMs(6000);  // past the first periodic checks
        ASSERT_NE(roster[0].ped, 0);
        EXPECT_EQ(roster[0].downed, c.downed);
        EXPECT_NE(ReadFile(SAVE_FILE_NAME).substr(0, 14), " -1 -1 0 0 0 0") << "the saved bodyguard is kept";
    }
}

// A downed bodyguard whose full health is itself below the downed line goes
// down again after every revive, and bleeds out in the end: no loop of its own,
// nothing left behind.
TEST_F(SettingsEdges, HealthBelowTheDownedLineEndsInACleanBleedOut) {
    Start("BODYGUARD_HEALTH=-100\nALLOW_REVIVE=1\n", ONE_SAVED);
    ASSERT_TRUE(roster[0].downed);
    standin::Ped* ped = World().FindPed(roster[0].ped);
    World().PlayerPed().pos = {ped->pos.x + 0.5f, ped->pos.y, ped->pos.z};
    World().PlayerPed().crouching = true;
    standin::RunFrame();
    ASSERT_TRUE(World().CompletePrompt(roster[0].helpPrompt));
    standin::RunFrames(2);
    EXPECT_TRUE(roster[0].downed) << "400 health is below the line again";
    World().PlayerPed().pos.x += 30.0f;
    ASSERT_TRUE(standin::RunUntil([] { return roster[0].ped == 0; }, 60 * 5000 / 33));
    ExpectNothingLeftBehind();
}

TEST_F(SettingsEdges, AllowReviveIsOnForAnyNonZeroValue) {
    struct Case {
        const char* value;
        bool on;
    };
    for (const Case& c :
         {Case{"7", true}, Case{"-1", true}, Case{"2147483648", true}, Case{"\"1\"", true}, Case{"0", false},
          Case{"abc", false}, Case{"4294967296", false}, Case{"-0", false}}) {
        SCOPED_TRACE(c.value);
        Start(std::string("ALLOW_REVIVE=") + c.value + "\n", ONE_SAVED);
        EXPECT_EQ(spawnHealth, c.on ? 1000 : 500);
        World().Damage(roster[0].ped, World().FindPed(roster[0].ped)->health - 400);
        standin::RunMs(6000);
        if (c.on) {
            EXPECT_TRUE(roster[0].downed);
        } else {
            ASSERT_NE(roster[0].ped, 0);
            EXPECT_FALSE(roster[0].downed);
            World().Kill(roster[0].ped);
            standin::RunMs(3000);
            ExpectNothingLeftBehind();
        }
    }
}

// Both places a hire is paid for, the main page's random hire and the
// builder's Confirm, charge PRICE x 100 computed wide and capped at the largest
// 32-bit value; a PRICE of 0 or below (a huge file value may wrap to one)
// charges nothing.
TEST_F(SettingsEdges, EveryChargeIsTheCappedPriceAndNeverWrapped) {
    struct Case {
        const char* price;
        std::vector<std::int32_t> charges;  // for one random hire, then one built bodyguard
    };
    const Case cases[] = {
        {"5", {500, 500}},
        {"21474836", {2147483600, 2147483600}},
        {"21474837", {INT_MAX, INT_MAX}},
        {"2147483647", {INT_MAX, INT_MAX}},
        {"4294967295", {}},  // wraps to -1: free
        {"-5", {}},
        {"0", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.price);
        Start(std::string("PRICE=") + c.price + "\n");
        const std::int64_t moneyBefore = World().player.money;

        Home();
        MoveTo(menu.mainMenuItem, 1);
        Enter();  // "Random Bodyguard"
        ASSERT_NE(roster[0].ped, 0);
        Home();

        OpenBuilder();
        OpenModelPage(CATEGORY_ITEM_MALE);
        AcceptSpawn();
        ASSERT_EQ(menu.menuPage, PAGE_BUILDER);
        MoveTo(menu.builderItem, 4);
        Enter();  // "Confirm"
        ASSERT_NE(roster[1].ped, 0);

        EXPECT_EQ(World().player.charges, c.charges);
        std::int64_t paid = 0;
        for (std::int32_t charge : c.charges) paid += charge;
        EXPECT_EQ(World().player.money, moneyBefore - paid);
    }
}
