// The two notice pages: a short message and a single item, no up/down step.
#include "menu/draw.h"
#include "menu/input.h"
#include "menu/pages.h"
#include "menu/state.h"

// All seven slots are taken. Accept goes back to the main page, cancel closes
// the menu.
void RosterFullPage() {
    DrawMenuBackground();
    DrawMenuLine("You can't have more than", 0);
    DrawMenuLine("seven bodyguards at a time.", 1);
    DrawMenuLine("Fire someone to make room ", 3);
    DrawMenuLine("for a new one.", 4);
    DrawMenuLine("Exit", 6);
    DrawMenuHighlight(6);
    MenuAcceptCancel(PAGE_MAIN, PAGE_CLOSED);
}

// A model from the custom list that the game cannot use. Both ways lead back
// to the custom list page.
void InvalidModelPage() {
    DrawMenuBackground();
    DrawMenuHighlight(2);
    MenuAcceptCancel(PAGE_MODELS_CUSTOM, PAGE_MODELS_CUSTOM);
    DrawMenuLine("ERROR: InvalidModel", 0);
    DrawMenuLine("Back", 2);
}
