#pragma once

#include "host/platform.h"

constexpr unsigned long PLAYER_POLL_MS = 500;

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID reserved);
void ScriptMain();
