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

// Opens the main page, or closes whatever page is open and saves. With
// ONLY_IN_SALOONS the request is swallowed outside a saloon.
static void ToggleMenu() {
    if (ONLY_IN_SALOONS && !PlayerInSaloon()) return;
    if (menu.menuPage != PAGE_CLOSED) {
        menu.menuPage = PAGE_CLOSED;
        SaveRoster();
    } else {
        menu.menuPage = PAGE_MAIN;
    }
}

// The menu key opens the main page, or closes whatever page is open and saves.
static bool MenuKey() {
    const int key = SPAWN_MENU_KEY;
    if (!KeyCodeUsable(key) || !KeyJustReleased(key)) return false;
    ResetKeyState(key);  // used up even when the saloon rule swallows it
    ToggleMenu();
    return true;
}

// The controller's way into the menu (CONTROLLER_MENU): d-pad up and the
// cancel button (B, circle) held together, read only while the player is on a
// pad. The left thumb leaves the movement stick for the d-pad while the right
// one holds cancel, which ordinary play does not ask for. The chord acts once
// when it completes; it must be let go before it acts again.
//
// Both buttons are menu controls too: up moves the highlight and the release
// of cancel goes back a page. So after the chord opens the menu, the pages do
// not run until both buttons are up and the cancel release has passed, and the
// menu comes up then. After a close nothing reads them.
constexpr int PAD = 0;
constexpr const char* CHORD_UP = "INPUT_FRONTEND_UP";
constexpr const char* CHORD_CANCEL = "INPUT_FRONTEND_CANCEL";

PadChord padChord;

static bool PadControlHeld(const char* control) {
    return IsControlHeld(PAD, HashOfName(control)) != 0;
}

// Returns true while the pages must wait for the chord's buttons to be let go.
static bool PadChordStep(bool menuKeyActed) {
    if (!CONTROLLER_MENU) return false;
    if (IsUsingKeyboard(PAD) != 0) {
        padChord = PadChord{};
        return false;
    }
    const bool up = PadControlHeld(CHORD_UP);
    const bool cancel = (up || padChord.waitingLetGo) && PadControlHeld(CHORD_CANCEL);
    const bool complete = up && cancel;
    const bool acts = complete && !padChord.complete && !menuKeyActed;
    padChord.complete = complete;
    if (acts) {
        const bool wasClosed = menu.menuPage == PAGE_CLOSED;
        ToggleMenu();
        padChord.waitingLetGo = wasClosed && menu.menuPage != PAGE_CLOSED;
        return padChord.waitingLetGo;
    }
    if (!padChord.waitingLetGo || menu.menuPage == PAGE_CLOSED) {
        padChord.waitingLetGo = false;
        return false;
    }
    if (up || cancel || IsControlTriggered(PAD, HashOfName(CHORD_CANCEL)) != 0) return true;
    padChord.waitingLetGo = false;
    return false;
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
    const bool menuKeyActed = MenuKey();
    if (!PadChordStep(menuKeyActed)) DispatchPage();
    BodyguardSection();
}
