// The settings file, read once when the module loads, and the stand-in's
// reading of ini files as Windows does it.
#include "config/settings.h"

#include "game_test.h"
#include "profile.h"

using standin::ProfileInt;

namespace {

class Settings : public GameTest {
  protected:
    void Load(const std::string& ini) {
        WriteFile("Tavrossimer.ini", ini);
        ReadSettings();
    }
};

}  // namespace

TEST_F(Settings, DefaultsWithoutAFileOrWithAnEmptyOne) {
    for (int pass = 0; pass < 2; ++pass) {
        if (pass == 1) WriteFile("Tavrossimer.ini", "");
        ReadSettings();
        EXPECT_EQ(SPAWN_MENU_KEY, 36);
        EXPECT_TRUE(ALLOW_REVIVE);
        EXPECT_TRUE(NO_HEADSHOT);
        EXPECT_EQ(BODYGUARD_HEALTH, 500);
        EXPECT_EQ(ATTACK_KEY, 48);
        EXPECT_EQ(FOLLOW_ALL, 18);
        EXPECT_EQ(PRICE, 0);
        EXPECT_FALSE(ONLY_IN_SALOONS);
        EXPECT_FALSE(CONTROLLER_MENU);
        EXPECT_EQ(ComputeSpawnHealth(), 1000);
    }
}

TEST_F(Settings, EveryKeyIsReadFromTheSettingsSection) {
    Load(
        "[SETTINGS]\r\nSPAWN_MENU_KEY=45\r\nALLOW_REVIVE=0\r\nNO_HEADSHOT=0\r\nBODYGUARD_HEALTH=750\r\n"
        "ATTACK_KEY=70\r\nFOLLOW_ALL=71\r\nPRICE=12\r\nONLY_IN_SALOONS=1\r\n"
        "CONTROLLER_MENU=1\r\n");
    EXPECT_EQ(SPAWN_MENU_KEY, 45);
    EXPECT_FALSE(ALLOW_REVIVE);
    EXPECT_FALSE(NO_HEADSHOT);
    EXPECT_EQ(BODYGUARD_HEALTH, 750);
    EXPECT_EQ(ATTACK_KEY, 70);
    EXPECT_EQ(FOLLOW_ALL, 71);
    EXPECT_EQ(PRICE, 12);
    EXPECT_TRUE(ONLY_IN_SALOONS);
    EXPECT_TRUE(CONTROLLER_MENU);
    EXPECT_EQ(ComputeSpawnHealth(), 750);
}

TEST_F(Settings, FlagsAreOnForAnyNonZeroValueAndHealthFollowsRevive) {
    Load("[SETTINGS]\nALLOW_REVIVE=7\nNO_HEADSHOT=-1\nONLY_IN_SALOONS=2\n");
    EXPECT_TRUE(ALLOW_REVIVE);
    EXPECT_TRUE(NO_HEADSHOT);
    EXPECT_TRUE(ONLY_IN_SALOONS);
    Load("[SETTINGS]\nALLOW_REVIVE=0\nBODYGUARD_HEALTH=500\n");
    EXPECT_EQ(ComputeSpawnHealth(), 500);
    Load("[SETTINGS]\nBODYGUARD_HEALTH=0\n");
    EXPECT_EQ(ComputeSpawnHealth(), 500);
    Load("[SETTINGS]\nBODYGUARD_HEALTH=-300\n");
    EXPECT_EQ(ComputeSpawnHealth(), 200);
    // No setting makes a bodyguard dead on arrival or wraps its health negative.
    Load("[SETTINGS]\nBODYGUARD_HEALTH=-800\n");
    EXPECT_EQ(ComputeSpawnHealth(), 1);
    Load("[SETTINGS]\nBODYGUARD_HEALTH=0\nALLOW_REVIVE=0\n");
    EXPECT_EQ(ComputeSpawnHealth(), 1);
    Load("[SETTINGS]\nBODYGUARD_HEALTH=2147483647\n");
    EXPECT_EQ(ComputeSpawnHealth(), 2147483647) << "capped, not wrapped";
    Load("[SETTINGS]\nBODYGUARD_HEALTH=2147483400\n");
    EXPECT_EQ(ComputeSpawnHealth(), 2147483647);
}

TEST_F(Settings, KeyCodesOutsideTheTableTurnTheKeyOff) {
    EXPECT_TRUE(KeyCodeUsable(0));
    EXPECT_TRUE(KeyCodeUsable(254));
    EXPECT_FALSE(KeyCodeUsable(255));
    EXPECT_FALSE(KeyCodeUsable(300));
    EXPECT_FALSE(KeyCodeUsable(-1));
    EXPECT_FALSE(KeyCodeUsable(-2147483647 - 1));
}

TEST_F(Settings, TheChargeIsNeverNegativeOrWrapped) {
    Load("[SETTINGS]\nPRICE=5\n");
    EXPECT_EQ(HireChargeCents(), 500);
    Load("[SETTINGS]\nPRICE=0\n");
    EXPECT_EQ(HireChargeCents(), 0);
    Load("[SETTINGS]\nPRICE=-3\n");
    EXPECT_EQ(HireChargeCents(), 0);
    Load("[SETTINGS]\nPRICE=21474836\n");
    EXPECT_EQ(HireChargeCents(), 2147483600);
    Load("[SETTINGS]\nPRICE=21474837\n");
    EXPECT_EQ(HireChargeCents(), 2147483647) << "capped at the largest 32-bit value";
    Load("[SETTINGS]\nPRICE=2147483647\n");
    EXPECT_EQ(HireChargeCents(), 2147483647);
}

TEST_F(Settings, ReadWhenTheGameLoadsTheModule) {
    WriteFile("Tavrossimer.ini", "[SETTINGS]\nBODYGUARD_HEALTH=321\nALLOW_REVIVE=0\n");
    StartAndSettle();
    EXPECT_EQ(BODYGUARD_HEALTH, 321);
    EXPECT_EQ(spawnHealth, 321);
}

TEST(IniReading, NamesIgnoreCaseAndLinesMayEndAnyWay) {
    EXPECT_EQ(ProfileInt("[settings]\rprice=4\r", "SETTINGS", "PRICE", 9), 4u);
    EXPECT_EQ(ProfileInt("[SeTtInGs]\r\nPrIcE=5", "SETTINGS", "PRICE", 9), 5u);
    EXPECT_EQ(ProfileInt("  [ SETTINGS ]  \n \t PRICE \t=\t 6 \t\n", "SETTINGS", "PRICE", 9), 6u);
}

TEST(IniReading, ValuesAsWindowsReadsThem) {
    auto read = [](const std::string& value) { return ProfileInt("[S]\nK=" + value + "\n", "S", "K", 77); };
    EXPECT_EQ(read("102abc"), 102u);
    EXPECT_EQ(read("5 ; note"), 5u);
    EXPECT_EQ(read("\"42\""), 42u);
    EXPECT_EQ(read("'43'"), 43u);
    EXPECT_EQ(read("\"44'"), 0u) << "quotes that do not match stay, and then there are no digits";
    EXPECT_EQ(read("-1"), 0xFFFFFFFFu);
    EXPECT_EQ(read("+8"), 8u);
    EXPECT_EQ(read("abc"), 0u) << "a value with no digits gives 0, not the default";
    EXPECT_EQ(read(""), 77u) << "an empty value gives the default";
    EXPECT_EQ(read("   "), 77u);
    EXPECT_EQ(read("4294967296"), 0u) << "wraps modulo 2^32";
    EXPECT_EQ(read("4294967301"), 5u);
}

TEST(IniReading, MissingPiecesGiveTheDefaultAndTheFirstKeyWins) {
    EXPECT_EQ(ProfileInt("", "S", "K", -5), static_cast<unsigned>(-5));
    EXPECT_EQ(ProfileInt("[OTHER]\nK=1\n", "S", "K", 3), 3u);
    EXPECT_EQ(ProfileInt("[S]\nJ=1\n", "S", "K", 3), 3u);
    EXPECT_EQ(ProfileInt("[S]\nK=1\nK=2\n", "S", "K", 3), 1u);
    EXPECT_EQ(ProfileInt("K=1\n[S]\nK=2\n", "S", "K", 3), 2u) << "keys before any section belong to none";
    EXPECT_EQ(ProfileInt("[S]\n;K=1\nK=2\n", "S", "K", 3), 2u) << "a comment line is no key";
    EXPECT_EQ(ProfileInt("[S]\nK\n", "S", "K", 3), 3u) << "a line without '=' is no key";
}

TEST_F(Settings, TheFileIsOpenedInTheCurrentFolderThroughItsDotBackslashName) {
    WriteFile("Tavrossimer.ini", "[SETTINGS]\nPRICE=9\n");
    EXPECT_EQ(standin::ProfileIntFromFile(".\\Tavrossimer.ini", "SETTINGS", "PRICE", 0), 9u);
    EXPECT_EQ(standin::ProfileIntFromFile(".\\Missing.ini", "SETTINGS", "PRICE", 4), 4u);
}
