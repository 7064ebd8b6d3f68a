// The pages that choose a custom bodyguard's model: the category page, then one
// model list page per catalogue list. "Spawn" creates the bodyguard next to the
// player at once (outfit 0, no weapons) and hands it to the builder, which then
// dresses and arms that live bodyguard.
#include "behaviour/behaviour.h"
#include "catalog/catalog.h"
#include "game/natives.h"
#include "host/platform.h"
#include "menu/draw.h"
#include "menu/input.h"
#include "menu/pages.h"
#include "menu/state.h"
#include "roster/roster.h"

namespace {

// ---- category page -----------------------------------------------------------------------

struct CategoryEntry {
    int row;
    const char* text;
    int acceptPage;
};

constexpr int CATEGORY_LAST_ITEM = 5;
constexpr CategoryEntry CATEGORY_ENTRIES[CATEGORY_LAST_ITEM + 1] = {
    {0, "Female", PAGE_MODELS_FEMALE},    {1, "Male", PAGE_MODELS_MALE},
    {2, "Gang Member", PAGE_MODELS_GANG}, {3, "Custom list", PAGE_MODELS_CUSTOM},
    {4, "ALL", PAGE_MODELS_ALL},          {6, "Back", PAGE_BUILDER},
};

// ---- model list pages --------------------------------------------------------------------

// Items of a model list page: the model selector, "Spawn" and "Exit".
constexpr int MODEL_ITEM_SELECTOR = 0;
constexpr int MODEL_ITEM_SPAWN = 1;
constexpr int MODEL_ITEM_EXIT = 2;
constexpr int MODEL_LAST_ITEM = 2;
constexpr int MODEL_ITEM_ROWS[MODEL_LAST_ITEM + 1] = {0, 3, 4};

constexpr int ROW_LABEL = 0;
constexpr int ROW_NAME = 1;
constexpr int ROW_NOTE = 2;
constexpr int ROW_SPAWN = 3;
constexpr int ROW_EXIT = 4;

// What the page waits after hiring, before it looks at the result.
constexpr unsigned long SPAWN_SETTLE_MS = 300;

// Shown instead of a model name when the custom list gave no names.
constexpr const char* EMPTY_LIST_TEXT = "(No models in the list)";

// The five pages are one procedure; these are the points in which they differ.
struct ModelPage {
    int page;
    int category;  // catalogue list, and the category the bodyguard is hired with
    int* item;
    int* index;
    const char* labelPrefix;
    const char* labelSuffix;
    float spawnDy;        // spawn offset from the player along his forward axis
    int spawnCancelPage;  // where cancel on "Spawn" leads
    bool spawnCancelKeepsIndex;
    const char* note;      // row 2, or nullptr
    bool checkModelFirst;  // the custom list's names are asked of the game before spawning
};

constexpr ModelPage MODEL_PAGES[] = {
    {PAGE_MODELS_FEMALE, CATEGORY_FEMALE, &menu.femaleItem, &menu.femaleModelIndex, "Model - ", " -", -1.0f,
     PAGE_CATEGORY, false, "(Only one available)", false},
    {PAGE_MODELS_MALE, CATEGORY_MALE, &menu.maleItem, &menu.maleModelIndex, "Model - ", " -", -1.0f,
     PAGE_CATEGORY, false, nullptr, false},
    // The gang page stays open on a cancel over "Spawn", keeping its model.
    {PAGE_MODELS_GANG, CATEGORY_GANG, &menu.gangItem, &menu.gangModelIndex, "Model - ", " -", -1.0f,
     PAGE_MODELS_GANG, true, nullptr, false},
    // The page of all models puts the bodyguard in front of the player.
    {PAGE_MODELS_ALL, CATEGORY_ALL, &menu.allItem, &menu.allModelIndex, "Model - ", " -", 1.0f, PAGE_CATEGORY,
     false, nullptr, false},
    {PAGE_MODELS_CUSTOM, CATEGORY_CUSTOM, &menu.customItem, &menu.customModelIndex, "Model ", "-", -1.0f,
     PAGE_CATEGORY, false, nullptr, true},
};

const ModelPage* FindModelPage(int page) {
    for (const ModelPage& p : MODEL_PAGES) {
        if (p.page == page) return &p;
    }
    return nullptr;
}

// The game refuses models it does not know; only names from the player's own
// file can be such. The hash is asked for anew before each test.
bool GameAcceptsModel(const char* name) {
    const std::int32_t hash = HashOfName(name);
    if (IsModelAvailable(hash) == 0) return false;
    return IsModelValid(HashOfName(name)) != 0;
}

// Accept on "Spawn": hire the shown model (menuPage is already the builder).
void SpawnShownModel(const ModelPage& p, const char* name) {
    int& index = *p.index;
    if (p.checkModelFirst && !GameAcceptsModel(name)) {
        menu.menuPage = PAGE_INVALID_MODEL;
        return;
    }
    const Vector3 pos = GetOffsetPosition(behaviour.playerPed, 0.0f, p.spawnDy, 0.0f);
    builder.lastSpawnSlot = HireBodyguard(p.category, index, 0, -1, -1, -1, pos.x, pos.y, pos.z);
    scriptWait(SPAWN_SETTLE_MS);
    if (builder.lastSpawnSlot == -1) {
        menu.menuPage = PAGE_ROSTER_FULL;
        return;
    }
    builder.builderPed = roster[builder.lastSpawnSlot].ped;
    SetPedOutfit(builder.builderPed, 0, 0);
    builder.lastSpawnCategory = p.category;
    builder.lastSpawnModelIndex = index;
    index = 0;
}

}  // namespace

void CategoryPage() {
    DrawMenuBackground();
    MenuUpDown(&menu.categoryItem, CATEGORY_LAST_ITEM);
    const CategoryEntry& highlighted = CATEGORY_ENTRIES[menu.categoryItem];
    DrawMenuHighlight(highlighted.row);
    MenuAcceptCancel(highlighted.acceptPage, PAGE_BUILDER);
    for (const CategoryEntry& e : CATEGORY_ENTRIES) DrawMenuLine(e.text, e.row);
}

void ModelListPage(int page) {
    const ModelPage* found = FindModelPage(page);
    if (found == nullptr) return;
    const ModelPage& p = *found;
    const ModelList& list = modelCatalogue[p.category];
    int& item = *p.item;
    int& index = *p.index;
    // Only the custom list can be empty; its page then has no model to show or hire.
    const bool empty = list.count <= 0;

    DrawMenuBackground();
    MenuUpDown(&item, MODEL_LAST_ITEM);
    DrawMenuHighlight(MODEL_ITEM_ROWS[item]);

    switch (item) {
        case MODEL_ITEM_SELECTOR:
            if (!empty) MenuLeftRight(&index, list.count - 1);
            if (MenuAcceptCancel(page, PAGE_CATEGORY) == MENU_CANCELLED) index = 0;
            break;
        case MODEL_ITEM_SPAWN: {
            // With nothing to hire, accept keeps the page; cancel behaves as usual.
            const int r = MenuAcceptCancel(empty ? page : PAGE_BUILDER, p.spawnCancelPage);
            if (r == MENU_ACCEPTED && !empty) {
                SpawnShownModel(p, list.names[index]);
                return;
            }
            if (r == MENU_CANCELLED && !p.spawnCancelKeepsIndex) index = 0;
            break;
        }
        case MODEL_ITEM_EXIT:
            if (MenuAcceptCancel(PAGE_CATEGORY, PAGE_CATEGORY) != MENU_NOTHING) index = 0;
            break;
        default: break;
    }

    DrawMenuLine(NumberLabel(p.labelPrefix, index, p.labelSuffix), ROW_LABEL);
    DrawMenuLine(empty ? EMPTY_LIST_TEXT : list.names[index], ROW_NAME);
    if (p.note != nullptr) DrawMenuLine(p.note, ROW_NOTE);
    DrawMenuLine("Spawn", ROW_SPAWN);
    DrawMenuLine("Exit", ROW_EXIT);
}
