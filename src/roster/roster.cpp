#include "roster/roster.h"

BodyguardRecord roster[ROSTER_SIZE] = {CLEARED_RECORD, CLEARED_RECORD, CLEARED_RECORD, CLEARED_RECORD,
                                       CLEARED_RECORD, CLEARED_RECORD, CLEARED_RECORD};

void ClearRecord(BodyguardRecord& record) { record = CLEARED_RECORD; }

int FirstFreeSlot() {
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) {
        if (roster[slot].ped == 0) return slot;
    }
    return -1;
}
