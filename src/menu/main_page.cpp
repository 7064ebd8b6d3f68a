// The main page: what the menu key opens. Custom bodyguard builder, a random
// bodyguard on the spot, dismiss everybody, the group formation, exit.
#include <cstdint>

#include "behaviour/behaviour.h"
#include "catalog/catalog.h"
#include "config/settings.h"
#include "game/natives.h"
#include "menu/draw.h"
#include "menu/input.h"
#include "menu/pages.h"
#include "menu/state.h"
#include "roster/roster.h"

namespace {

constexpr int ITEM_CUSTOM = 0;
constexpr int ITEM_RANDOM = 1;
constexpr int ITEM_DISMISS_ALL = 2;
constexpr int ITEM_FORMATION = 3;
constexpr int ITEM_EXIT = 4;
constexpr int LAST_ITEM = ITEM_EXIT;

// Screen row of each item; rows 3, 5 and 6 stay empty.
constexpr int ITEM_ROWS[LAST_ITEM + 1] = {0, 1, 2, 4, 7};

// Random loadouts: longarm rows 1 to 8 and sidearm rows 1 to 3 (upper bounds
// excluded by the game's random range).
constexpr int RANDOM_LONGARM_MIN = 1, RANDOM_LONGARM_END = 9;
constexpr int RANDOM_SIDEARM_MIN = 1, RANDOM_SIDEARM_END = 4;

int RowOfItem(int item) {
    return (item >= 0 && item <= LAST_ITEM) ? ITEM_ROWS[item] : ITEM_ROWS[0];
}

// Hires a random male bodyguard just behind the player, dresses it at random,
// charges the price and saves. A full roster shows the notice page instead.
void HireRandomBodyguard() {
    const Vector3 pos = GetOffsetPosition(behaviour.playerPed, 0.0f, -1.0f, 0.0f);
    const int model = RandomIntInRange(0, modelCatalogue[CATEGORY_MALE].count);
    const int longarm = RandomIntInRange(RANDOM_LONGARM_MIN, RANDOM_LONGARM_END);
    const int sidearm = RandomIntInRange(RANDOM_SIDEARM_MIN, RANDOM_SIDEARM_END);
    const int slot = HireBodyguard(CATEGORY_MALE, model, -1, sidearm, -1, longarm, pos.x, pos.y, pos.z);
    if (slot == -1) {
        menu.menuPage = PAGE_ROSTER_FULL;
        return;
    }

    BodyguardRecord& record = roster[slot];
    const std::int32_t count = GetPedOutfitCount(record.ped);
    // Outfits 0 to count, both included; a count at the top of the range
    // cannot step past it.
    const std::int32_t outfitEnd = count < INT32_MAX ? count + 1 : INT32_MAX;
    const std::int32_t outfit = RandomIntInRange(0, outfitEnd);
    record.outfit = outfit;
    SetPedOutfit(record.ped, outfit, 0);

    if (PRICE > 0) ChargePlayer(HireChargeCents());
    SaveRoster();
}

}  // namespace

void MainMenuPage() {
    DrawMenuBackground();
    DrawMenuHighlight(RowOfItem(menu.mainMenuItem));

    MenuUpDown(&menu.mainMenuItem, LAST_ITEM);

    switch (menu.mainMenuItem) {
        case ITEM_CUSTOM: MenuAcceptCancel(PAGE_BUILDER, PAGE_CLOSED); break;
        case ITEM_RANDOM:
            if (MenuAcceptCancel(PAGE_MAIN, PAGE_CLOSED) == MENU_ACCEPTED) HireRandomBodyguard();
            break;
        case ITEM_DISMISS_ALL: {
            // Cancel dismisses everybody too, then the menu is closed.
            const int action = MenuAcceptCancel(PAGE_MAIN, PAGE_CLOSED);
            if (action == MENU_ACCEPTED || action == MENU_CANCELLED) DismissAll();
            break;
        }
        case ITEM_FORMATION:
            if (MenuLeftRight(&formationMode, FORMATION_AUTO))
                SetGroupFormation(behaviour.playerGroup, formationMode);
            MenuAcceptCancel(PAGE_MAIN, PAGE_CLOSED);
            break;
        case ITEM_EXIT: MenuAcceptCancel(PAGE_CLOSED, PAGE_CLOSED); break;
        default: break;
    }

    const char* formationLabel = formationMode == FORMATION_AUTO
                                     ? "Formation - Auto"
                                     : NumberLabel("Formation - ", formationMode, " -");
    DrawMenuLine("Custom Bodyguard", ITEM_ROWS[ITEM_CUSTOM]);
    DrawMenuLine("Random Bodyguard", ITEM_ROWS[ITEM_RANDOM]);
    DrawMenuLine("Dismiss All", ITEM_ROWS[ITEM_DISMISS_ALL]);
    DrawMenuLine(formationLabel, ITEM_ROWS[ITEM_FORMATION]);
    DrawMenuLine("Exit", ITEM_ROWS[ITEM_EXIT]);
}
