// The constant catalogues: model lists, weapon tables and gang members. Row
// numbers are stored in save files, so the tests pin rows, not just contents.
#include "catalog/catalog.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <string>

namespace {

// Read while this file's own statics are initialised. The catalogue must already
// hold its lists then: the settings and the host may touch it before main.
const ModelList allListSeenAtStaticInit = modelCatalogue[CATEGORY_ALL];
const ModelList maleListSeenAtStaticInit = modelCatalogue[CATEGORY_MALE];

std::string Lower(const char* s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Case-blind order with "_" before digits and letters, the order of list 3.
bool SortsBefore(const char* a, const char* b) {
    auto rank = [](char c) { return c == '_' ? 0 : 1 + std::tolower(static_cast<unsigned char>(c)); };
    for (; *a && *b; ++a, ++b) {
        if (rank(*a) != rank(*b)) return rank(*a) < rank(*b);
    }
    return *a == '\0' && *b != '\0';
}

bool IsIdentifier(const char* s) {
    if (s == nullptr || *s == '\0') return false;
    for (; *s; ++s) {
        if (!std::isalnum(static_cast<unsigned char>(*s)) && *s != '_') return false;
    }
    return true;
}

}  // namespace

TEST(Catalog, FiveListsWithTheirCounts) {
    EXPECT_EQ(modelCatalogue[CATEGORY_MALE].names, maleModelNames);
    EXPECT_EQ(modelCatalogue[CATEGORY_MALE].count, 65);
    EXPECT_EQ(modelCatalogue[CATEGORY_FEMALE].names, femaleModelNames);
    EXPECT_EQ(modelCatalogue[CATEGORY_FEMALE].count, 1);
    EXPECT_EQ(modelCatalogue[CATEGORY_GANG].names, gangModelNames);
    EXPECT_EQ(modelCatalogue[CATEGORY_GANG].count, 22);
    EXPECT_EQ(modelCatalogue[CATEGORY_ALL].names, allModelNames);
    EXPECT_EQ(modelCatalogue[CATEGORY_ALL].count, 1149);
    // The custom list is empty until the custom ped list file is read.
    EXPECT_EQ(modelCatalogue[CATEGORY_CUSTOM].names, nullptr);
    EXPECT_EQ(modelCatalogue[CATEGORY_CUSTOM].count, 0);
}

TEST(Catalog, ListsAreInPlaceBeforeAnyCodeRuns) {
    EXPECT_EQ(allListSeenAtStaticInit.names, allModelNames);
    EXPECT_EQ(allListSeenAtStaticInit.count, ALL_MODEL_COUNT);
    EXPECT_EQ(maleListSeenAtStaticInit.count, MALE_MODEL_COUNT);
    ASSERT_NE(allListSeenAtStaticInit.names, nullptr);
    EXPECT_STREQ(allListSeenAtStaticInit.names[0], "A_F_M_ARMCHOLERACORPSE_01");
}

TEST(Catalog, EveryConstantNameIsAPlainIdentifier) {
    for (int c = CATEGORY_MALE; c <= CATEGORY_ALL; ++c) {
        for (int i = 0; i < modelCatalogue[c].count; ++i) {
            EXPECT_TRUE(IsIdentifier(modelCatalogue[c].names[i])) << "list " << c << " row " << i;
        }
    }
}

TEST(Catalog, MaleListRowsAndItsOneDuplicate) {
    EXPECT_STREQ(maleModelNames[0], "A_M_M_UniCoachGuards_01");
    EXPECT_STREQ(maleModelNames[4], "S_M_M_UniTrainGuards_01");
    EXPECT_STREQ(maleModelNames[36], "S_M_M_UniTrainGuards_01");
    EXPECT_STREQ(maleModelNames[15], "A_M_M_huntertravelers_cool_01");
    EXPECT_STREQ(maleModelNames[42], "G_M_M_UniAfricanAmericanGang_01");
    EXPECT_STREQ(maleModelNames[56], "g_m_m_unimountainmen_01");
    EXPECT_STREQ(maleModelNames[64], "G_M_M_UniGrays_02");
    // Rows 4 and 36 are the only repeat, so that model is twice as likely in a random hire.
    std::map<std::string, int> seen;
    for (int i = 0; i < MALE_MODEL_COUNT; ++i) ++seen[maleModelNames[i]];
    EXPECT_EQ(seen.size(), 64u);
    EXPECT_EQ(seen["S_M_M_UniTrainGuards_01"], 2);
}

TEST(Catalog, FemaleListHasOneRow) {
    EXPECT_STREQ(femaleModelNames[0], "A_F_M_ROUGHTRAVELLERS_01");
}

TEST(Catalog, AllModelsSampledRows) {
    const std::map<int, const char*> expected = {
        {0, "A_F_M_ARMCHOLERACORPSE_01"},
        {100, "A_M_M_GRIFANCYDRIVERS_01"},
        {191, "armadillo"},
        {200, "CS_albertmason"},
        {300, "CS_FIGHTREF"},
        {400, "CS_MP_MARSHALL_DAVIES"},
        {424, "CS_MrsWeathers"},
        {425, "CS_MRSWEATHERS"},
        {500, "CS_twingroupie_01"},
        {545, "Immortality"},
        {546, "LegendaryPanther"},
        {550, "MCCLELLAN_SADDLE_01"},
        {563, "MOTHERHUBBARD_SADDLE_01"},
        {600, "MP_ASN_SHADYBELLE_FEMALES_01"},
        {687, "Player_Three"},
        {688, "Player_Zero"},
        {689, "Ps4"},
        {694, "RCSP_BEAUANDPENELOPE_MALES_01"},
        {695, "RCSP_BEAUANDPENELOPE1_FEMALES_01"},
        {700, "RCSP_COACHROBBERY_MALES_01"},
        {800, "RE_PUBLICHANGING_FEMALES_01"},
        {900, "S_M_M_VHTDEALER_01"},
        {1000, "U_M_M_LNSOUTLAW_04"},
        {1100, "U_M_M_UNIONLEADER_02"},
        {1148, "U_M_Y_ShackStarvingKid_01"},
    };
    for (const auto& [row, name] : expected) EXPECT_STREQ(allModelNames[row], name) << "row " << row;
}

TEST(Catalog, AllModelsKeepBothCopiesOfTheTwoRepeatedNames) {
    EXPECT_STREQ(allModelNames[395], "CS_MP_LEE");
    EXPECT_STREQ(allModelNames[396], "CS_MP_LEM");
    EXPECT_STREQ(allModelNames[397], "CS_MP_LEM");
    EXPECT_STREQ(allModelNames[398], "CS_MP_MABEL");
    EXPECT_STREQ(allModelNames[468], "CS_SDSALOONDRUNK_01");
    EXPECT_STREQ(allModelNames[469], "CS_SDStreetKidThief");
    EXPECT_STREQ(allModelNames[470], "CS_SDStreetKidThief");
    EXPECT_STREQ(allModelNames[471], "CS_sean");
    std::set<std::string> distinct(allModelNames, allModelNames + ALL_MODEL_COUNT);
    EXPECT_EQ(distinct.size(), static_cast<size_t>(ALL_MODEL_COUNT - 2));
}

// A row dropped, doubled or moved shows up either in the order or in the group sizes.
TEST(Catalog, AllModelsAreInOrderAndGroupedByPrefix) {
    for (int i = 0; i + 1 < ALL_MODEL_COUNT; ++i) {
        EXPECT_FALSE(SortsBefore(allModelNames[i + 1], allModelNames[i]))
            << "rows " << i << " and " << i + 1 << ": " << allModelNames[i] << ", " << allModelNames[i + 1];
    }
    // Longest prefixes first, compared without regard to case.
    const char* const prefixes[] = {"saloonbrawlers_",
                                    "player_",
                                    "rces_",
                                    "rcsp_",
                                    "mbh_",
                                    "mes_",
                                    "msp_",
                                    "cs_",
                                    "mp_",
                                    "re_",
                                    "a_",
                                    "g_",
                                    "p_",
                                    "s_",
                                    "u_"};
    std::map<std::string, int> groups;
    std::set<std::string> singles;
    for (int i = 0; i < ALL_MODEL_COUNT; ++i) {
        const std::string name = Lower(allModelNames[i]);
        bool grouped = false;
        for (const char* p : prefixes) {
            if (name.compare(0, std::strlen(p), p) == 0) {
                ++groups[p];
                grouped = true;
                break;
            }
        }
        if (!grouped) singles.insert(allModelNames[i]);
    }
    const std::map<std::string, int> expected = {
        {"a_", 191},    {"cs_", 328},
        {"g_", 25},     {"mbh_", 3},
        {"mes_", 12},   {"mp_", 84},
        {"msp_", 37},   {"p_", 2},
        {"player_", 2}, {"rces_", 4},
        {"rcsp_", 30},  {"re_", 119},
        {"s_", 62},     {"saloonbrawlers_", 13},
        {"u_", 231},
    };
    EXPECT_EQ(groups, expected);
    const std::set<std::string> expectedSingles = {
        "armadillo", "Immortality", "LegendaryPanther", "MCCLELLAN_SADDLE_01", "MOTHERHUBBARD_SADDLE_01",
        "Ps4"};
    EXPECT_EQ(singles, expectedSingles);
}

TEST(Catalog, SidearmTable) {
    const struct {
        const char* name;
        std::uint32_t hash;
    } expected[SIDEARM_COUNT] = {
        {"No Sidearm", 0x00000000u},
        {"Cattleman Revolver", 0x169F59F7u},
        {"Double Action Revolver", 0x0797FBF5u},
        {"Schofield Revolver", 0x7BBD1FF6u},
        {"Sawed Off Shotgun", 0x1765A8F8u},
        {"Semi Auto Pistol", 0x657065D6u},
        {"Mauser Pistol", 0x8580C63Eu},
        {"Unique Sidearms", 0x00000000u},
        {"Dutch's Dual Schofields", 0xFA4B2D47u},
        {"Dutch's Dual Schofields", 0xD44A5A04u},
        {"Bill's Schofield", 0x6DFE44ABu},
        {"Charles' Sawed Off", 0xBE8D2666u},
        {"Hosea's Dual Cattlemans", 0xA6FE9435u},
        {"Hosea's Dual Cattlemans", 0x1EAA7376u},
        {"Javier's Double Action", 0x514B39A1u},
        {"John's Cattleman", 0xC9622757u},
        {"Kieran's Cattleman", 0x8FAE73BBu},
        {"Lenny's Cattleman", 0xC9095426u},
        {"Sadie's Dual Cattlemans", 0x49F6BE32u},
        {"Sadie's Dual Cattlemans", 0x8384D5FEu},
        {"Micah's Dual Double Actions", 0x02300C65u},
        {"Micah's Dual Double Actions", 0x00D427ADu},
        {"Sean's Cattleman", 0x3EECE288u},
        {"Uncle's Schofield", 0x99496406u},
    };
    for (int row = 0; row < SIDEARM_COUNT; ++row) {
        EXPECT_STREQ(sidearmNames[row], expected[row].name) << "row " << row;
        EXPECT_EQ(sidearmHashes[row], expected[row].hash) << "row " << row;
    }
    EXPECT_STREQ(sidearmNames[SIDEARM_HEADING_ROW], "Unique Sidearms");
    EXPECT_EQ(SIDEARM_LAST_REGULAR_ROW + 1, SIDEARM_HEADING_ROW);
}

TEST(Catalog, LongarmTable) {
    const struct {
        const char* name;
        std::uint32_t hash;
    } expected[LONGARM_COUNT] = {
        {"No Longarm", 0x00000000u},
        {"Carbine Repeater", 0xF5175BA1u},
        {"Lichfield Repeater", 0xA84762ECu},
        {"Henry Repeater", 0x95B24592u},
        {"Double Barreled Shotgun", 0x6DFA071Bu},
        {"Pump Action Shotgun", 0x31B7B9FEu},
        {"Repeating Shotgun", 0x63CA782Au},
        {"Bolt Action Rifle", 0x772C8DD6u},
        {"Springfield Rifle", 0x63F46DE6u},
        {"Rolling Block Rifle", 0xE1D2B317u},
        {"Carcano Rifle", 0x53944780u},
        {"Unique Longarms", 0x00000000u},
        {"Bill's Bolt Action Rifle", 0xD853C801u},
        {"Charles' Bow", 0x791BBD2Cu},
        {"Hosea's Semi-Auto Shotgun", 0xFD9B510Bu},
        {"John's Repeater", 0xBE76397Cu},
        {"Lenny's Sniper Rifle", 0x21556EC2u},
        {"Sadie's Repeater", 0x7BD9C820u},
        {"Uncle's Double Barreled", 0x8BA6AF0Au},
    };
    for (int row = 0; row < LONGARM_COUNT; ++row) {
        EXPECT_STREQ(longarmNames[row], expected[row].name) << "row " << row;
        EXPECT_EQ(longarmHashes[row], expected[row].hash) << "row " << row;
    }
    EXPECT_STREQ(longarmNames[LONGARM_HEADING_ROW], "Unique Longarms");
    EXPECT_EQ(LONGARM_LAST_REGULAR_ROW + 1, LONGARM_HEADING_ROW);
}

TEST(Catalog, GangMembersLineUpWithModelListTwo) {
    const struct {
        const char* model;
        const char* name;
        GangLoadout loadout;
    } expected[GANG_MEMBER_COUNT] = {
        {"Player_Zero", "Arthur", {57, -1, -1, -1}},
        {"CS_dutch", "Dutch", {16, 8, 9, -1}},
        {"CS_abigailroberts", "Abigail", {11, -1, -1, -1}},
        {"CS_billwilliamson", "Bill", {17, 10, -1, 12}},
        {"CS_charlessmith", "Charles", {21, 11, -1, -1}},
        {"CS_hoseamatthews", "Hosea", {8, 12, 13, 14}},
        {"CS_javierescuella", "Javier", {21, 14, -1, -1}},
        {"Player_Three", "John", {32, 15, -1, 15}},
        {"CS_josiahtrelawny", "Trelawny", {9, -1, -1, -1}},
        {"CS_karen", "Karen", {15, -1, -1, -1}},
        {"CS_kieran", "Kieran", {8, 16, -1, -1}},
        {"CS_lenny", "Lenny", {12, 17, -1, 16}},
        {"CS_leostrauss", "Strauss", {10, -1, -1, -1}},
        {"CS_marybeth", "Mary-Beth", {7, -1, -1, -1}},
        {"CS_mrsadler", "Sadie", {20, 18, 19, 17}},
        {"CS_MicahBell", "Micah", {23, 20, 21, -1}},
        {"CS_mollyoshea", "Molly", {6, -1, -1, -1}},
        {"CS_sean", "Sean", {10, 22, -1, -1}},
        {"CS_mrpearson", "Pearson", {7, -1, -1, -1}},
        {"CS_susangrimshaw", "Ms Grimshaw", {10, -1, -1, -1}},
        {"CS_tilly", "Tilly", {9, -1, -1, -1}},
        {"CS_uncle", "Uncle", {8, 23, -1, 18}},
    };
    for (int row = 0; row < GANG_MEMBER_COUNT; ++row) {
        SCOPED_TRACE(row);
        EXPECT_STREQ(gangModelNames[row], expected[row].model);
        EXPECT_STREQ(gangMemberNames[row], expected[row].name);
        const GangLoadout got = GangLoadoutOf(row);
        EXPECT_EQ(got.outfitLimit, expected[row].loadout.outfitLimit);
        EXPECT_EQ(got.sidearm, expected[row].loadout.sidearm);
        EXPECT_EQ(got.secondSidearm, expected[row].loadout.secondSidearm);
        EXPECT_EQ(got.longarm, expected[row].loadout.longarm);
        EXPECT_EQ(gangLoadouts[row].outfitLimit, got.outfitLimit);
    }
    // John: sidearm row 15 and longarm row 15 are different weapons.
    EXPECT_STREQ(sidearmNames[gangLoadouts[7].sidearm], "John's Cattleman");
    EXPECT_STREQ(longarmNames[gangLoadouts[7].longarm], "John's Repeater");
}

// Fixed weapons are unique rows; a second sidearm is always the left hand of a pair.
TEST(Catalog, FixedWeaponsAreUniqueRowsAndPairsMatch) {
    std::set<int> longarmsUsed;
    for (int row = 0; row < GANG_MEMBER_COUNT; ++row) {
        SCOPED_TRACE(row);
        const GangLoadout& l = gangLoadouts[row];
        EXPECT_GT(l.outfitLimit, 0);
        if (l.sidearm != -1) {
            EXPECT_GT(l.sidearm, SIDEARM_HEADING_ROW);
            EXPECT_LT(l.sidearm, SIDEARM_COUNT);
        }
        if (l.secondSidearm != -1) {
            ASSERT_EQ(l.secondSidearm, l.sidearm + 1);
            EXPECT_STREQ(sidearmNames[l.secondSidearm], sidearmNames[l.sidearm]);
            EXPECT_NE(sidearmHashes[l.secondSidearm], sidearmHashes[l.sidearm]);
        }
        if (l.longarm != -1) {
            EXPECT_GT(l.longarm, LONGARM_HEADING_ROW);
            EXPECT_LT(l.longarm, LONGARM_COUNT);
            longarmsUsed.insert(l.longarm);
        }
    }
    EXPECT_EQ(longarmsUsed.count(13), 0u);  // Charles' bow is in no loadout
}

TEST(Catalog, GangLoadoutOfARowOutsideTheTable) {
    for (int row : {-1, GANG_MEMBER_COUNT, 100, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(row);
        const GangLoadout l = GangLoadoutOf(row);
        EXPECT_EQ(l.outfitLimit, 0);
        EXPECT_EQ(l.sidearm, -1);
        EXPECT_EQ(l.secondSidearm, -1);
        EXPECT_EQ(l.longarm, -1);
    }
}
