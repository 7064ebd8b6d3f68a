// Handing a bodyguard the weapons of its loadout: rows of the catalogue's
// sidearm and longarm tables, checked before they index a table.
#pragma once

#include <cstdint>

#include "catalog/catalog.h"

// Where the game keeps a weapon once given: the right hand, the left hand, and
// the two back slots a longarm can go to (LONGARM_PLACE_END is past the last).
constexpr std::int32_t SIDEARM_PLACE = 2;
constexpr std::int32_t SECOND_SIDEARM_PLACE = 3;
constexpr std::int32_t LONGARM_PLACE = 9;
constexpr std::int32_t LONGARM_PLACE_END = 11;

// A row read back from a record or a save file can be anything; only a row of
// its table may look up a hash.
inline bool IsSidearmRow(int row) {
    return row >= 0 && row < SIDEARM_COUNT;
}
inline bool IsLongarmRow(int row) {
    return row >= 0 && row < LONGARM_COUNT;
}

// Gives the ped the weapon of a row of the table, with infinite ammunition for it.
void GiveSidearm(std::int32_t ped, int row, std::int32_t place);
void GiveLongarm(std::int32_t ped, int row, std::int32_t place);

// Takes the weapon of `row` away; nothing happens for row 0 (no weapon) or a
// row outside the table.
void RemoveSidearm(std::int32_t ped, int row);
void RemoveLongarm(std::int32_t ped, int row);
