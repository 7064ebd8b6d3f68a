#pragma once

// Interior ids of the saloons in which the menu key works when ONLY_IN_SALOONS is on.
constexpr int SALOON_INTERIOR_COUNT = 8;
extern const int SALOON_INTERIORS[SALOON_INTERIOR_COUNT];

// Once per frame: the menu key, one menu page, then the bodyguard section.
void FrameTick();
