#include "script/lifecycle.h"

#include "behaviour/behaviour.h"
#include "config/settings.h"
#include "game/natives.h"
#include "host/keyboard.h"
#include "menu/state.h"
#include "persist/custom_peds.h"
#include "roster/roster.h"
#include "script/frame_tick.h"

namespace {
constexpr unsigned long DLL_ATTACH = 1;
constexpr unsigned long DLL_DETACH = 0;
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_ATTACH) {
        scriptRegister(module, ScriptMain);
        keyboardHandlerRegister(OnKeyboardEvent);
    } else if (reason == DLL_DETACH) {
        scriptUnregister(module);
        keyboardHandlerUnregister(OnKeyboardEvent);
    }
    return TRUE;
}

void ScriptMain() {
    // Peds are added to this named set as they are hired; the game needs the
    // name registered once.
    if (IsNamedSetRegistered(NAMED_SET, NAMED_SET_KIND) == 0) RegisterNamedSet(NAMED_SET, NAMED_SET_KIND);

    spawnHealth = ComputeSpawnHealth();

    // The custom list first: saved records of category 4 refer to it by row.
    LoadCustomPedList();
    LoadRoster();
    if (static_cast<unsigned>(formationMode) > static_cast<unsigned>(FORMATION_AUTO))
        formationMode = FORMATION_AUTO;

    // Nothing else runs until the player's ped is in the world.
    std::int32_t ped = GetPlayerPed();
    while (EntityExists(ped) == 0) {
        scriptWait(PLAYER_POLL_MS);
        ped = GetPlayerPed();
    }
    behaviour.playerPed = GetPlayerPed();

    const Vector3 base = GetOffsetPosition(behaviour.playerPed, 0.0f, -2.0f, 0.0f);
    RespawnSavedRoster(base.x, base.y, base.z);

    for (;;) {
        FrameTick();
        scriptWait(0);
    }
}
