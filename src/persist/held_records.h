// Saved bodyguards that could not come back at this start only because their
// model cannot be used right now: the custom list is missing or shorter than
// when they were hired, or the game does not offer the model at the moment.
//
// Such a record keeps its line in the save file, so the bodyguard returns at a
// later start when the model is usable again. It waits outside the roster: the
// slot itself is free and cleared, so no new hire can take over its weapons or
// outfit. Only the slot's model fields keep the waiting record's model as a
// mark. Every hire writes a slot's model fields and every dismissal clears
// them, so once a hire has used the slot the mark is gone and the waiting
// record is dropped: the save file never names two bodyguards for one slot.
#pragma once

#include <cstdint>

#include "roster/roster.h"

struct HeldRecord {
    bool held;
    std::int32_t modelCategory;
    std::int32_t modelIndex;
    std::int32_t sidearm;
    std::int32_t secondSidearm;
    std::int32_t longarm;
    std::int32_t outfit;
};

extern HeldRecord heldRecords[ROSTER_SIZE];

// Moves the loaded fields of roster[slot] (a free slot) into heldRecords[slot]
// and leaves the slot cleared but for its model mark.
void HoldRecord(int slot);

// True while slot's held record still waits: the slot is free and nothing has
// been hired into it since the record was held.
bool RecordStillHeld(int slot);

// Drops every held record (startup, before the respawn).
void ReleaseHeldRecords();
