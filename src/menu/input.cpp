// STUB: being written; replaced by its owner.
#include "menu/input.h"
void MenuUpDown(int*, int) {}
bool MenuLeftRight(int*, int) { return false; }
int MenuAcceptCancel(int, int) { return 0; }
