// Startup: the bodyguards of the save file come back beside the player.
//
// Every saved bodyguard comes back into its own slot, so a slot keeps its
// meaning from one start to the next and each record appears once in the next
// save. A saved record that fails its checks leaves its slot free:
// - when its model merely cannot be used at this start (the custom list is
//   missing or shorter, the game does not offer the model, or the model never
//   loaded), the record is held in its slot (BodyguardRecord::held) and keeps
//   its line in the save file until a hire takes the slot;
// - otherwise (an empty or damaged record) the slot is simply cleared.
// Either way the free slot holds no loadout a later hire could take over.
#include "catalog/catalog.h"
#include "game/natives.h"
#include "roster/roster.h"

namespace {

// The four startup checks, in order; the first that fails decides. The
// model's hash is asked for anew before each of the two game tests.
RecordCheck CheckSavedRecord(const BodyguardRecord& record) {
    const RecordCheck ranges = CheckSavedRanges(record);
    if (ranges != RecordCheck::Usable) return ranges;
    const char* name = modelCatalogue[record.modelCategory].names[record.modelIndex];
    if (IsModelAvailable(HashOfName(name)) == 0) return RecordCheck::ModelUnusableNow;
    if (IsModelValid(HashOfName(name)) == 0) return RecordCheck::ModelUnusableNow;
    return RecordCheck::Usable;
}

// Frees the slot but keeps what it loaded for the save file.
void HoldRecord(BodyguardRecord& record, const BodyguardRecord& loaded) {
    ClearRecord(record);
    record.held = true;
    record.heldLoadout = LoadoutOf(loaded);
}

}  // namespace

void RespawnSavedRoster(float baseX, float baseY, float baseZ) {
    for (int i = 0; i < ROSTER_SIZE; ++i) {
        const BodyguardRecord loaded = roster[i];
        const RecordCheck check = CheckSavedRecord(loaded);
        if (check == RecordCheck::Broken) {
            ClearRecord(roster[i]);
            continue;
        }
        if (check == RecordCheck::ModelUnusableNow) {
            HoldRecord(roster[i], loaded);
            continue;
        }
        // The row's y is worked out in double and rounded to the game's float
        // once, as base.y - 2.0 + i reads in C++.
        const float rowY = static_cast<float>(static_cast<double>(baseY) - 2.0 + i);
        const int slot =
            HireBodyguardInto(i, loaded.modelCategory, loaded.modelIndex, loaded.outfit, loaded.sidearm,
                              loaded.secondSidearm, loaded.longarm, baseX, rowY, baseZ);
        // The model never loaded: like a model the game does not offer now.
        if (slot == -1) HoldRecord(roster[i], loaded);
    }
}
