#include "script/frame_tick.h"

#include "behaviour/behaviour.h"
#include "config/settings.h"
#include "game/natives.h"
#include "host/keyboard.h"
#include "menu/pages.h"
#include "menu/state.h"
#include "roster/roster.h"

const int SALOON_INTERIORS[SALOON_INTERIOR_COUNT] = {41218, 5634, 21250, 37378, 39426, 53762, 54274, 56834};

static bool PlayerInSaloon() {
    const int interior = GetEntityInterior(GetPlayerPed());
    for (int id : SALOON_INTERIORS) {
        if (interior == id) return true;
    }
    return false;
}

// The menu key opens the main page, or closes whatever page is open and saves.
static void MenuKey() {
    const int key = SPAWN_MENU_KEY;
    if (!KeyCodeUsable(key) || !KeyJustReleased(key)) return;
    ResetKeyState(key);  // used up even when the saloon rule swallows it
    if (ONLY_IN_SALOONS && !PlayerInSaloon()) return;
    if (menu.menuPage != PAGE_CLOSED) {
        menu.menuPage = PAGE_CLOSED;
        SaveRoster();
    } else {
        menu.menuPage = PAGE_MAIN;
    }
}

static void DispatchPage() {
    switch (menu.menuPage) {
        case PAGE_MAIN: MainMenuPage(); break;
        case PAGE_BUILDER: BuilderPage(); break;
        case PAGE_ROSTER_FULL: RosterFullPage(); break;
        case PAGE_CATEGORY: CategoryPage(); break;
        case PAGE_MODELS_FEMALE:
        case PAGE_MODELS_MALE:
        case PAGE_MODELS_GANG:
        case PAGE_MODELS_ALL:
        case PAGE_MODELS_CUSTOM: ModelListPage(menu.menuPage); break;
        case PAGE_INVALID_MODEL: InvalidModelPage(); break;
        default: break;  // closed, or a value no page owns: nothing is drawn
    }
}

void FrameTick() {
    MenuKey();
    DispatchPage();
    BodyguardSection();
}
