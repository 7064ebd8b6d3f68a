// The weapon tables and the gang members. Row numbers are stored in bodyguard
// records and in the save file, so rows never move.
//
// Both weapon tables have the same shape: row 0 is the empty choice, then the
// regular weapons the builder offers, then a heading row (hash 0) that nothing
// ever selects, then the unique weapons that only a gang member's fixed loadout
// hands out. Dual sidearms take two rows with the same display name: the first is
// the right-hand gun (the record's sidearm), the second the left-hand gun (its
// second sidearm).
#include "catalog/catalog.h"

constexpr const char* sidearmNames[SIDEARM_COUNT] = {
    "No Sidearm",                   // 0
    "Cattleman Revolver",           // 1
    "Double Action Revolver",       // 2
    "Schofield Revolver",           // 3
    "Sawed Off Shotgun",            // 4
    "Semi Auto Pistol",             // 5
    "Mauser Pistol",                // 6
    "Unique Sidearms",              // 7
    "Dutch's Dual Schofields",      // 8
    "Dutch's Dual Schofields",      // 9
    "Bill's Schofield",             // 10
    "Charles' Sawed Off",           // 11
    "Hosea's Dual Cattlemans",      // 12
    "Hosea's Dual Cattlemans",      // 13
    "Javier's Double Action",       // 14
    "John's Cattleman",             // 15
    "Kieran's Cattleman",           // 16
    "Lenny's Cattleman",            // 17
    "Sadie's Dual Cattlemans",      // 18
    "Sadie's Dual Cattlemans",      // 19
    "Micah's Dual Double Actions",  // 20
    "Micah's Dual Double Actions",  // 21
    "Sean's Cattleman",             // 22
    "Uncle's Schofield",            // 23
};

constexpr std::uint32_t sidearmHashes[SIDEARM_COUNT] = {
    0x00000000,  // 0 "No Sidearm"
    0x169F59F7,  // 1 "Cattleman Revolver"
    0x0797FBF5,  // 2 "Double Action Revolver"
    0x7BBD1FF6,  // 3 "Schofield Revolver"
    0x1765A8F8,  // 4 "Sawed Off Shotgun"
    0x657065D6,  // 5 "Semi Auto Pistol"
    0x8580C63E,  // 6 "Mauser Pistol"
    0x00000000,  // 7 "Unique Sidearms"
    0xFA4B2D47,  // 8 "Dutch's Dual Schofields"
    0xD44A5A04,  // 9 "Dutch's Dual Schofields"
    0x6DFE44AB,  // 10 "Bill's Schofield"
    0xBE8D2666,  // 11 "Charles' Sawed Off"
    0xA6FE9435,  // 12 "Hosea's Dual Cattlemans"
    0x1EAA7376,  // 13 "Hosea's Dual Cattlemans"
    0x514B39A1,  // 14 "Javier's Double Action"
    0xC9622757,  // 15 "John's Cattleman"
    0x8FAE73BB,  // 16 "Kieran's Cattleman"
    0xC9095426,  // 17 "Lenny's Cattleman"
    0x49F6BE32,  // 18 "Sadie's Dual Cattlemans"
    0x8384D5FE,  // 19 "Sadie's Dual Cattlemans"
    0x02300C65,  // 20 "Micah's Dual Double Actions"
    0x00D427AD,  // 21 "Micah's Dual Double Actions"
    0x3EECE288,  // 22 "Sean's Cattleman"
    0x99496406,  // 23 "Uncle's Schofield"
};

constexpr const char* longarmNames[LONGARM_COUNT] = {
    "No Longarm",                 // 0
    "Carbine Repeater",           // 1
    "Lichfield Repeater",         // 2
    "Henry Repeater",             // 3
    "Double Barreled Shotgun",    // 4
    "Pump Action Shotgun",        // 5
    "Repeating Shotgun",          // 6
    "Bolt Action Rifle",          // 7
    "Springfield Rifle",          // 8
    "Rolling Block Rifle",        // 9
    "Carcano Rifle",              // 10
    "Unique Longarms",            // 11
    "Bill's Bolt Action Rifle",   // 12
    "Charles' Bow",               // 13
    "Hosea's Semi-Auto Shotgun",  // 14
    "John's Repeater",            // 15
    "Lenny's Sniper Rifle",       // 16
    "Sadie's Repeater",           // 17
    "Uncle's Double Barreled",    // 18
};

constexpr std::uint32_t longarmHashes[LONGARM_COUNT] = {
    0x00000000,  // 0 "No Longarm"
    0xF5175BA1,  // 1 "Carbine Repeater"
    0xA84762EC,  // 2 "Lichfield Repeater"
    0x95B24592,  // 3 "Henry Repeater"
    0x6DFA071B,  // 4 "Double Barreled Shotgun"
    0x31B7B9FE,  // 5 "Pump Action Shotgun"
    0x63CA782A,  // 6 "Repeating Shotgun"
    0x772C8DD6,  // 7 "Bolt Action Rifle"
    0x63F46DE6,  // 8 "Springfield Rifle"
    0xE1D2B317,  // 9 "Rolling Block Rifle"
    0x53944780,  // 10 "Carcano Rifle"
    0x00000000,  // 11 "Unique Longarms"
    0xD853C801,  // 12 "Bill's Bolt Action Rifle"
    0x791BBD2C,  // 13 "Charles' Bow"
    0xFD9B510B,  // 14 "Hosea's Semi-Auto Shotgun"
    0xBE76397C,  // 15 "John's Repeater"
    0x21556EC2,  // 16 "Lenny's Sniper Rifle"
    0x7BD9C820,  // 17 "Sadie's Repeater"
    0x8BA6AF0A,  // 18 "Uncle's Double Barreled"
};

// The names spawning gives a gang member and its blip, by row of model list 2.
constexpr const char* gangMemberNames[GANG_MEMBER_COUNT] = {
    "Arthur",       // 0 Player_Zero
    "Dutch",        // 1 CS_dutch
    "Abigail",      // 2 CS_abigailroberts
    "Bill",         // 3 CS_billwilliamson
    "Charles",      // 4 CS_charlessmith
    "Hosea",        // 5 CS_hoseamatthews
    "Javier",       // 6 CS_javierescuella
    "John",         // 7 Player_Three
    "Trelawny",     // 8 CS_josiahtrelawny
    "Karen",        // 9 CS_karen
    "Kieran",       // 10 CS_kieran
    "Lenny",        // 11 CS_lenny
    "Strauss",      // 12 CS_leostrauss
    "Mary-Beth",    // 13 CS_marybeth
    "Sadie",        // 14 CS_mrsadler
    "Micah",        // 15 CS_MicahBell
    "Molly",        // 16 CS_mollyoshea
    "Sean",         // 17 CS_sean
    "Pearson",      // 18 CS_mrpearson
    "Ms Grimshaw",  // 19 CS_susangrimshaw
    "Tilly",        // 20 CS_tilly
    "Uncle",        // 21 CS_uncle
};

// Outfit limit, then the fixed sidearm, second sidearm and longarm (-1: not fixed).
// Longarm row 13, Charles' bow, is in nobody's loadout.
constexpr GangLoadout gangLoadouts[GANG_MEMBER_COUNT] = {
    {57, -1, -1, -1},  // 0 Player_Zero
    {16, 8, 9, -1},    // 1 CS_dutch
    {11, -1, -1, -1},  // 2 CS_abigailroberts
    {17, 10, -1, 12},  // 3 CS_billwilliamson
    {21, 11, -1, -1},  // 4 CS_charlessmith
    {8, 12, 13, 14},   // 5 CS_hoseamatthews
    {21, 14, -1, -1},  // 6 CS_javierescuella
    {32, 15, -1, 15},  // 7 Player_Three
    {9, -1, -1, -1},   // 8 CS_josiahtrelawny
    {15, -1, -1, -1},  // 9 CS_karen
    {8, 16, -1, -1},   // 10 CS_kieran
    {12, 17, -1, 16},  // 11 CS_lenny
    {10, -1, -1, -1},  // 12 CS_leostrauss
    {7, -1, -1, -1},   // 13 CS_marybeth
    {20, 18, 19, 17},  // 14 CS_mrsadler
    {23, 20, 21, -1},  // 15 CS_MicahBell
    {6, -1, -1, -1},   // 16 CS_mollyoshea
    {10, 22, -1, -1},  // 17 CS_sean
    {7, -1, -1, -1},   // 18 CS_mrpearson
    {10, -1, -1, -1},  // 19 CS_susangrimshaw
    {9, -1, -1, -1},   // 20 CS_tilly
    {8, 23, -1, 18},   // 21 CS_uncle
};

GangLoadout GangLoadoutOf(int row) {
    if (row < 0 || row >= GANG_MEMBER_COUNT) return GangLoadout{0, -1, -1, -1};
    return gangLoadouts[row];
}
