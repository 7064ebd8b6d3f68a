// The interactive terminal screen (ncurses): the menu as the game places it on
// the left, the world and the bodyguards on the right, what happened at the
// bottom, and a line of keys. Runs in real time until the user quits.
#pragma once

#include "options.h"
#include "session.h"
#include "workdir.h"

namespace sim {

// Returns the program's exit code. The terminal is restored on every way out:
// quitting, Ctrl-C, a termination signal and a crash.
int RunInteractive(Session& session, const WorkDir& dir, const Options& options);

}  // namespace sim
