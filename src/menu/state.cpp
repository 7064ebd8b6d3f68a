#include "menu/state.h"

int menuPage = PAGE_CLOSED;
int mainMenuItem = 0;
int builderItem = 0;
int categoryItem = 0;
int femaleItem = 0, maleItem = 0, gangItem = 0, allItem = 0, customItem = 0;
int femaleModelIndex = 0, maleModelIndex = 0, gangModelIndex = 0, allModelIndex = 0, customModelIndex = 0;
int formationMode = FORMATION_AUTO;
int lastSpawnSlot = -1;
int lastSpawnCategory = -1;
int lastSpawnModelIndex = -1;
int builderOutfitMax = -1, builderOutfit = -1, builderSidearm = -1, builderSecondSidearm = -1, builderLongarm = -1;

void ResetMenuState() {
    menuPage = PAGE_CLOSED;
    mainMenuItem = builderItem = categoryItem = 0;
    femaleItem = maleItem = gangItem = allItem = customItem = 0;
    femaleModelIndex = maleModelIndex = gangModelIndex = allModelIndex = customModelIndex = 0;
    formationMode = FORMATION_AUTO;
    lastSpawnSlot = lastSpawnCategory = lastSpawnModelIndex = -1;
    builderOutfitMax = builderOutfit = builderSidearm = builderSecondSidearm = builderLongarm = -1;
}
