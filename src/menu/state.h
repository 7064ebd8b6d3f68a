// The menu's state: which page is open, the highlighted item of every page, the
// model each list page shows, and the custom builder's bodyguard and choices.
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

struct MenuState {
    int menuPage = PAGE_CLOSED;
    int mainMenuItem = 0;
    int builderItem = 0;
    int categoryItem = 0;
    int femaleItem = 0, maleItem = 0, gangItem = 0, allItem = 0, customItem = 0;
    int femaleModelIndex = 0, maleModelIndex = 0, gangModelIndex = 0, allModelIndex = 0, customModelIndex = 0;
};

// The bodyguard under construction and the choices made for it; -1 is none.
// A build starts when a model page hires its bodyguard and ends with "Confirm"
// or a discard, which put this back to BuilderState{}.
struct BuilderState {
    int lastSpawnSlot = -1;  // the bodyguard's roster slot; -1: nothing is being built
    int lastSpawnCategory = -1;
    int lastSpawnModelIndex = -1;
    int builderOutfitMax = -1;  // -1: the bodyguard has not been prepared yet
    int builderOutfit = -1;
    int builderSidearm = -1;
    int builderSecondSidearm = -1;
    int builderLongarm = -1;
    // The ped the model page created. The builder compares it with the ped of
    // slot lastSpawnSlot to notice that its bodyguard has left the roster
    // meanwhile (killed or dismissed while the menu was closed) and must not be
    // dressed, charged for or deleted in its place.
    int builderPed = 0;
};

extern MenuState menu;
extern BuilderState builder;
