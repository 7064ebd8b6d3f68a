#include "persist/held_records.h"

HeldRecord heldRecords[ROSTER_SIZE] = {};

void HoldRecord(int slot) {
    BodyguardRecord& record = roster[slot];
    heldRecords[slot] = HeldRecord{true,           record.modelCategory, record.modelIndex,
                                   record.sidearm, record.secondSidearm, record.longarm,
                                   record.outfit};
    ClearRecord(record);
    record.modelCategory = heldRecords[slot].modelCategory;
    record.modelIndex = heldRecords[slot].modelIndex;
}

bool RecordStillHeld(int slot) {
    const HeldRecord& held = heldRecords[slot];
    const BodyguardRecord& record = roster[slot];
    return held.held && record.ped == 0 && record.modelCategory == held.modelCategory &&
           record.modelIndex == held.modelIndex;
}

void ReleaseHeldRecords() {
    for (HeldRecord& held : heldRecords) held = HeldRecord{};
}
