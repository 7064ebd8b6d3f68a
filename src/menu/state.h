// The menu's state: which page is open, the highlighted item of every page, the
// model each list page shows, the formation and the custom builder's choices.
#pragma once

constexpr int PAGE_CLOSED = 0;
constexpr int PAGE_MAIN = 1;
constexpr int PAGE_BUILDER = 2;
constexpr int PAGE_ROSTER_FULL = 3;
constexpr int PAGE_CATEGORY = 4;
constexpr int PAGE_MODELS_FEMALE = 5;
constexpr int PAGE_MODELS_MALE = 6;
constexpr int PAGE_MODELS_GANG = 7;
constexpr int PAGE_MODELS_ALL = 8;
constexpr int PAGE_MODELS_CUSTOM = 9;
constexpr int PAGE_INVALID_MODEL = 10;

constexpr int FORMATION_AUTO = 11;

extern int menuPage;
extern int mainMenuItem;
extern int builderItem;
extern int categoryItem;
extern int femaleItem, maleItem, gangItem, allItem, customItem;
extern int femaleModelIndex, maleModelIndex, gangModelIndex, allModelIndex, customModelIndex;
extern int formationMode;
extern int lastSpawnSlot;
extern int lastSpawnCategory;
extern int lastSpawnModelIndex;
extern int builderOutfitMax, builderOutfit, builderSidearm, builderSecondSidearm, builderLongarm;

// Puts every value above back to what it holds when the module is loaded.
void ResetMenuState();
