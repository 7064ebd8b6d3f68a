// The constant tables whose row numbers a bodyguard record (and so the save
// file) stores: five model lists, the sidearm and longarm tables, and the gang
// members with their names and fixed loadouts. Rows never move.
#pragma once

#include <cstdint>

constexpr int CATEGORY_MALE = 0;
constexpr int CATEGORY_FEMALE = 1;
constexpr int CATEGORY_GANG = 2;
constexpr int CATEGORY_ALL = 3;
constexpr int CATEGORY_CUSTOM = 4;
constexpr int CATEGORY_COUNT = 5;

// One model list: non-owning pointers to the game's model identifiers.
struct ModelList {
    const char* const* names;
    int count;
};

// Lists 0 to 3 point at constant arrays (no heap, set before the host calls the
// plug-in); list 4 is filled once at startup from the custom ped list file.
extern ModelList modelCatalogue[CATEGORY_COUNT];

constexpr int MALE_MODEL_COUNT = 65;
constexpr int FEMALE_MODEL_COUNT = 1;
constexpr int GANG_MODEL_COUNT = 22;
constexpr int ALL_MODEL_COUNT = 1149;

extern const char* const maleModelNames[MALE_MODEL_COUNT];
extern const char* const femaleModelNames[FEMALE_MODEL_COUNT];
extern const char* const gangModelNames[GANG_MODEL_COUNT];
extern const char* const allModelNames[ALL_MODEL_COUNT];

constexpr int SIDEARM_COUNT = 24;
constexpr int LONGARM_COUNT = 19;
constexpr int SIDEARM_HEADING_ROW = 7;   // "Unique Sidearms": rows below it are the player's choices
constexpr int LONGARM_HEADING_ROW = 11;  // "Unique Longarms"
constexpr int SIDEARM_LAST_REGULAR_ROW = 6;
constexpr int LONGARM_LAST_REGULAR_ROW = 10;

extern const char* const sidearmNames[SIDEARM_COUNT];
extern const std::uint32_t sidearmHashes[SIDEARM_COUNT];
extern const char* const longarmNames[LONGARM_COUNT];
extern const std::uint32_t longarmHashes[LONGARM_COUNT];

// What the builder imposes on a gang member: its outfit limit and up to three
// fixed weapons (rows of the tables above, -1 where nothing is fixed).
struct GangLoadout {
    int outfitLimit;
    int sidearm;
    int secondSidearm;
    int longarm;
};

constexpr int GANG_MEMBER_COUNT = 22;
extern const char* const gangMemberNames[GANG_MEMBER_COUNT];
extern const GangLoadout gangLoadouts[GANG_MEMBER_COUNT];

// The loadout of gang row `row`; a row outside 0..21 has outfit limit 0 and no weapons.
GangLoadout GangLoadoutOf(int row);
