// Putting the plug-in back to the state loading the module gives it, so that
// one process can play several game starts (the simulator's restart, the soak
// test): each subsystem's state takes its load value again.
#include "behaviour/behaviour.h"
#include "catalog/catalog.h"
#include "config/settings.h"
#include "driver.h"
#include "host/keyboard.h"
#include "menu/draw.h"
#include "menu/state.h"
#include "persist/custom_peds.h"
#include "roster/roster.h"
#include "script/frame_tick.h"

namespace standin {

void ResetPluginToLoadState() {
    ReadSettings();
    spawnHealth = 0;
    for (KeyState& key : keyStates) key = KeyState{};
    for (BodyguardRecord& record : roster) record = BodyguardRecord{};
    formationMode = FORMATION_AUTO;
    menu = MenuState{};
    builder = BuilderState{};
    ResetMenuDrawing();
    behaviour = BehaviourState{};
    padChord = PadChord{};
    customPedNames.clear();
    customPedNamePointers.clear();
    modelCatalogue[CATEGORY_CUSTOM] = ModelList{nullptr, 0};
}

}  // namespace standin
