// The Linux script host: the plug-in's script entry runs on a thread of its
// own, and scriptWait hands control back to the frame driver, which resumes the
// script for exactly one frame at a time. Only one side runs at any moment, so
// the world needs no locks. Ending a run makes the blocked scriptWait unwind the
// script thread.
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "driver.h"
#include "script/lifecycle.h"

namespace standin {

namespace {

struct ScriptEnded {};

std::mutex handoffMutex;
std::condition_variable handoff;
enum class Turn { Driver, Script };
Turn turn = Turn::Driver;
bool stopRequested = false;
std::thread scriptThread;

// RunOnScript: a job waiting for the script thread, whether one runs there now
// (its own scriptWaits must not pick up another), and whether it has finished.
std::function<void()> pendingJob;
bool jobRunning = false;
bool jobDone = false;

void ScriptThreadMain(void (*entry)()) {
    {
        std::unique_lock<std::mutex> lock(handoffMutex);
        handoff.wait(lock, [] { return turn == Turn::Script; });
    }
    if (!stopRequested) {
        try {
            entry();
        } catch (const ScriptEnded&) {
        }
    }
    std::unique_lock<std::mutex> lock(handoffMutex);
    GetHost().scriptRunning = false;
    turn = Turn::Driver;
    handoff.notify_all();
}

// Gives the script the floor until it yields again (or ends).
void ResumeScript() {
    std::unique_lock<std::mutex> lock(handoffMutex);
    turn = Turn::Script;
    handoff.notify_all();
    handoff.wait(lock, [] { return turn == Turn::Driver; });
}

void StopScript() {
    HostState& host = GetHost();
    if (scriptThread.joinable()) {
        if (host.scriptRunning) {
            stopRequested = true;
            ResumeScript();
        }
        scriptThread.join();
    }
    stopRequested = false;
    host.scriptRunning = false;
    pendingJob = nullptr;
    jobRunning = false;
    jobDone = false;
}

// On the script thread, with the handoff lock held: hands the floor to the
// driver and blocks until the next frame resumes the script.
void YieldToDriver(std::unique_lock<std::mutex>& lock) {
    turn = Turn::Driver;
    handoff.notify_all();
    handoff.wait(lock, [] { return turn == Turn::Script; });
    if (stopRequested) throw ScriptEnded{};
}

// A test that ends without EndGame still leaves the process cleanly.
struct ExitGuard {
    ~ExitGuard() { StopScript(); }
} exitGuard;

}  // namespace

HINSTANCE PluginModule() {
    return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(0x180000000ull));
}

void StartGame() {
    StopScript();
    ResetHostForNewGame();
    ResetPluginToLoadState();
    DllMain(PluginModule(), 1, nullptr);
}

void EndGame() {
    StopScript();
    DllMain(PluginModule(), 0, nullptr);
}

void RunFrame() {
    BeginFrame();
    World& w = GetWorld();
    HostState& host = GetHost();

    if (!host.scriptEntry) return;
    if (!host.scriptRunning && !scriptThread.joinable()) {
        host.scriptRunning = true;
        host.wakeAtMs = 0;
        scriptThread = std::thread(ScriptThreadMain, host.scriptEntry);
    }
    if (host.scriptRunning && w.timeMs >= host.wakeAtMs) ResumeScript();
}

void RunOnScript(std::function<void()> fn) {
    HostState& host = GetHost();
    auto fail = [](const char* what) {
        std::fprintf(stderr, "stand-in host: %s (frame %d)\n", what, GetWorld().frame);
        std::abort();
    };
    if (jobRunning) fail("RunOnScript called from inside a script job");
    pendingJob = std::move(fn);
    jobDone = false;
    while (!jobDone) {
        if (!host.scriptEntry) fail("RunOnScript with no script registered");
        RunFrame();
        if (!host.scriptRunning && !jobDone) fail("the script ended before its job finished");
    }
    jobDone = false;
}

// Nothing to undo here: a script thread still running is ended by EndGame.
void OnScriptUnregistered() {}

}  // namespace standin

using namespace standin;

void scriptWait(unsigned long ms) {
    LogHostCall("scriptWait", ms);
    HostState& host = GetHost();
    host.wakeAtMs = GetWorld().timeMs + static_cast<std::int64_t>(ms);
    std::unique_lock<std::mutex> lock(handoffMutex);
    YieldToDriver(lock);
    // A job queued by RunOnScript takes this frame instead of the plug-in. The
    // plug-in's wait goes on afterwards: it returns in a later frame, so the job's
    // last frame holds nothing but the job. Waits inside the job yield plainly.
    while (pendingJob && !jobRunning) {
        const std::function<void()> job = std::move(pendingJob);
        pendingJob = nullptr;
        lock.unlock();
        {
            struct Running {  // an ended run unwinds through the job
                Running() { jobRunning = true; }
                ~Running() { jobRunning = false; }
            } running;
            job();
        }
        lock.lock();
        jobDone = true;
        YieldToDriver(lock);
    }
}
