#pragma once

#include "host/platform.h"

constexpr const char* NAMED_SET = "Tavrossimer";
constexpr int NAMED_SET_KIND = 3;
constexpr unsigned long PLAYER_POLL_MS = 500;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);
void ScriptMain();
