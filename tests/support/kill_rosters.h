// The roster as the save file's 43 values, to and from, and the two complete
// rosters the kill tests save in turn (Linux: a forked child;
// Windows: tests/wine_kill/save_loop.cpp under Wine). They differ in every slot
// and in the formation, so a file that is neither is a broken save.
#pragma once

#include "roster/roster.h"
#include "save_text.h"

namespace killrosters {

inline savetext::Values RosterA() {
    savetext::Values v{};
    const int slots[7][6] = {{0, 3, 1, 0, 2, 5},     {1, 0, 2, 0, 3, -1},   {2, 7, 9, 9, 11, 2},
                             {3, 1148, 6, 0, 10, 0}, {0, 64, 3, 13, 8, 19}, {2, 21, 23, 21, 18, 7},
                             {3, 500, 4, 0, 1, 12}};
    for (int s = 0; s < 7; ++s)
        for (int f = 0; f < 6; ++f) v[static_cast<std::size_t>(s * 6 + f)] = slots[s][f];
    v[42] = 4;
    return v;
}

inline savetext::Values RosterB() {
    savetext::Values v = savetext::StartupValues();
    const int slots[4][6] = {
        {0, 10, 2, 0, 5, 3}, {2, 0, 5, 9, 11, 1}, {3, 77, 1, 0, 7, -1}, {1, 0, 3, 0, 4, 0}};
    for (int s = 0; s < 4; ++s)
        for (int f = 0; f < 6; ++f) v[static_cast<std::size_t>((s * 2) * 6 + f)] = slots[s][f];
    v[42] = 11;
    return v;
}

// The roster's loadout fields and formationMode as the save file's 43 values.
inline savetext::Values RosterValues() {
    savetext::Values v{};
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const BodyguardRecord& r = roster[s];
        const std::int32_t fields[savetext::FIELDS] = {r.modelCategory, r.modelIndex, r.sidearm,
                                                       r.secondSidearm, r.longarm,    r.outfit};
        for (int f = 0; f < savetext::FIELDS; ++f)
            v[static_cast<std::size_t>(s * savetext::FIELDS + f)] = fields[f];
    }
    v[savetext::VALUES - 1] = formationMode;
    return v;
}

// Every record cleared and the formation "Auto", as at a game start before the load.
inline void ClearRosterAsAtStartup() {
    for (BodyguardRecord& r : roster) ClearRecord(r);
    formationMode = FORMATION_AUTO;
}

// Puts the values into the roster's loadout fields and formationMode (the inverse of RosterValues).
inline void PutInRoster(const savetext::Values& v) {
    for (int s = 0; s < ROSTER_SIZE; ++s) {
        const savetext::Record rec = savetext::RecordOf(v, s);
        SetLoadout(roster[s], SavedLoadout{rec.category, rec.index, rec.sidearm, rec.secondSidearm,
                                           rec.longarm, rec.outfit});
    }
    formationMode = v[42];
}

}  // namespace killrosters
