// The three input operations every page uses, behind one shared 150 ms gate.
#pragma once

constexpr int MENU_INPUT_GATE = 150;

void MenuUpDown(int* item, int maxItem);
bool MenuLeftRight(int* value, int maxValue);

constexpr int MENU_NOTHING = 0;
constexpr int MENU_ACCEPTED = 1;
constexpr int MENU_CANCELLED = 2;
int MenuAcceptCancel(int acceptPage, int cancelPage);
