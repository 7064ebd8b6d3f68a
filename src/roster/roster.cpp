#include "roster/roster.h"

static_assert(ROSTER_SIZE == SAVED_SLOT_COUNT, "the save file has a line for every slot");

BodyguardRecord roster[ROSTER_SIZE] = {};
int formationMode = FORMATION_AUTO;

void ClearRecord(BodyguardRecord& record) { record = BodyguardRecord{}; }

int FirstFreeSlot() {
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) {
        if (roster[slot].ped == 0) return slot;
    }
    return -1;
}

namespace {

SavedLoadout LoadoutOf(const BodyguardRecord& record) {
    return SavedLoadout{record.modelCategory, record.modelIndex, record.sidearm,
                        record.secondSidearm, record.longarm,    record.outfit};
}

}  // namespace

void SaveRoster() {
    SaveFileContent content;
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) {
        const BodyguardRecord& record = roster[slot];
        content.slots[slot] = record.held ? record.heldLoadout : LoadoutOf(record);
    }
    content.formationMode = formationMode;
    WriteSaveFile(content);
}

void LoadRoster() {
    SaveFileContent content;
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) content.slots[slot] = LoadoutOf(roster[slot]);
    content.formationMode = formationMode;
    ReadSaveFile(content);
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) {
        BodyguardRecord& record = roster[slot];
        const SavedLoadout& loaded = content.slots[slot];
        record.modelCategory = loaded.modelCategory;
        record.modelIndex = loaded.modelIndex;
        record.sidearm = loaded.sidearm;
        record.secondSidearm = loaded.secondSidearm;
        record.longarm = loaded.longarm;
        record.outfit = loaded.outfit;
    }
    formationMode = content.formationMode;
}
