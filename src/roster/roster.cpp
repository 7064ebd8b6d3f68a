#include "roster/roster.h"

#include "catalog/catalog.h"
#include "roster/loadout.h"

static_assert(ROSTER_SIZE == SAVED_SLOT_COUNT, "the save file has a line for every slot");

BodyguardRecord roster[ROSTER_SIZE] = {};
int formationMode = FORMATION_AUTO;

void ClearRecord(BodyguardRecord& record) {
    record = BodyguardRecord{};
}

int FirstFreeSlot() {
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) {
        if (roster[slot].ped == 0) return slot;
    }
    return -1;
}

SavedLoadout LoadoutOf(const BodyguardRecord& record) {
    return SavedLoadout{record.modelCategory, record.modelIndex, record.sidearm,
                        record.secondSidearm, record.longarm,    record.outfit};
}

void SetLoadout(BodyguardRecord& record, const SavedLoadout& loadout) {
    record.modelCategory = loadout.modelCategory;
    record.modelIndex = loadout.modelIndex;
    record.sidearm = loadout.sidearm;
    record.secondSidearm = loadout.secondSidearm;
    record.longarm = loadout.longarm;
    record.outfit = loadout.outfit;
}

RecordCheck CheckSavedRanges(const BodyguardRecord& record) {
    if (static_cast<unsigned>(record.modelCategory) > static_cast<unsigned>(CATEGORY_CUSTOM)) {
        return RecordCheck::Broken;
    }
    const ModelList& list = modelCatalogue[record.modelCategory];
    const bool weaponsInRange = IsSidearmRow(record.sidearm) && IsLongarmRow(record.longarm);
    if (record.modelIndex < 0 || record.modelIndex >= list.count) {
        // Only the custom list can change between two starts; a row past the
        // end of a constant list never becomes valid.
        const bool mayReturn =
            record.modelCategory == CATEGORY_CUSTOM && record.modelIndex >= 0 && weaponsInRange;
        return mayReturn ? RecordCheck::ModelUnusableNow : RecordCheck::Broken;
    }
    return weaponsInRange ? RecordCheck::Usable : RecordCheck::Broken;
}

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
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) SetLoadout(roster[slot], content.slots[slot]);
    formationMode = content.formationMode;
}
