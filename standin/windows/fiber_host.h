// The Windows script host of the stand-in (fiber_host.cpp): what the end-to-end
// driver needs to know of it.
#pragma once

#include "driver.h"

namespace standin {

// The plug-in is loaded from the working folder, as the game folder is the
// current directory of the game.
constexpr const char* kPluginPath = ".\\Tavrossimer.asi";
constexpr const char* kPluginFileName = "Tavrossimer.asi";

// The exit code of a process whose host found a fault of its own.
constexpr int kExitHostFault = 11;

// Whether StartGame has loaded the module and EndGame has not yet unloaded it.
bool PluginLoaded();

}  // namespace standin
