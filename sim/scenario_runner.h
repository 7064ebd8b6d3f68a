// Runs a scenario headless against the plug-in on the stand-in world and
// writes a readable transcript: each command with its frame and game time,
// the events it caused, the expectations met, and the first one that failed
// with its line and frame.
#pragma once

#include <ostream>
#include <string>

#include "scenario.h"
#include "session.h"
#include "workdir.h"

namespace sim {

struct RunOptions {
    bool quiet = false;      // only failures and the summary
    bool showCalls = false;  // the plug-in's game calls in the transcript
};

struct RunResult {
    bool ok = true;
    int failedLine = 0;
    int failedFrame = 0;
    std::string message;  // the failure, ready to print
    int commands = 0;
    int expectations = 0;
};

RunResult RunScenario(const Scenario& scenario, Session& session, const WorkDir& workDir,
                      const RunOptions& options, std::ostream& out);

}  // namespace sim
