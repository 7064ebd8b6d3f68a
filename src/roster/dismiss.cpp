// Dismissal: a bodyguard's ped is handed back to the game, its blip and prompts
// go, its slot returns to the cleared state and the save file is rewritten, so
// a dismissed bodyguard never comes back at the next start.
#include "game/natives.h"
#include "roster/roster.h"

namespace {
// Where a preview bodyguard that the game refuses to delete is sent, out of the
// player's way.
constexpr float DISCARD_X = -221.0f;
constexpr float DISCARD_Y = 804.0f;
constexpr float DISCARD_Z = 50.0f;
}  // namespace

void DismissBodyguard(BodyguardRecord& record) {
    // A free record goes through the same steps with handle 0.
    PedReleaseStep(record.ped);
    SetPedScriptOwned(record.ped, 0, 0);
    ReleasePedHandle(&record.ped);
    if (BlipExists(record.blip) != 0) RemoveBlip(&record.blip);
    PromptDelete(record.helpPrompt);
    PromptDelete(record.dismissPrompt);
    PromptDelete(record.stayPrompt);
    PromptDelete(record.followPrompt);
    PromptDelete(record.showCommandsPrompt);
    PromptDelete(record.hideCommandsPrompt);
    ClearRecord(record);
    SaveRoster();
}

void DismissAll() {
    // Free records too: whatever loadout a free slot still held is cleared.
    for (BodyguardRecord& record : roster) DismissBodyguard(record);
}

void DeleteBodyguard(int slot) {
    if (slot < 0 || slot >= ROSTER_SIZE) return;
    BodyguardRecord& record = roster[slot];
    const std::int32_t ped = record.ped;
    if (IsPedScriptOwned(ped) == 0) SetPedScriptOwned(ped, 1, 1);
    std::int32_t doomed = ped;  // the game clears this copy; the record keeps its handle
    DeletePed(&doomed);
    if (EntityExists(ped) != 0) SetEntityPosition(ped, DISCARD_X, DISCARD_Y, DISCARD_Z, 0.0f, 1, 1);
    DismissBodyguard(record);
}
