// The save file survives a game killed at any moment. A child process writes
// the save file in a tight loop, the roster alternating between two complete
// rosters, and is killed with SIGKILL at a random moment, hundreds of times.
// After every kill the file reads back as exactly one of the two rosters, and
// the folder holds at most the save file and the save's single temporary file,
// which the next save replaces.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "game_test.h"
#include "kill_rosters.h"
#include "menu/state.h"
#include "persist/save_file.h"
#include "roster/roster.h"
#include "save_text.h"

namespace {

constexpr int KILLS = 300;

using killrosters::PutInRoster;
using killrosters::RosterA;
using killrosters::RosterB;

savetext::Values LoadedRoster() {
    killrosters::ClearRosterAsAtStartup();
    LoadRoster();
    return killrosters::RosterValues();
}

// The child: saves for ever, B then A then B...
[[noreturn]] void SaveForEver() {
    const savetext::Values a = RosterA(), b = RosterB();
    for (;;) {
        PutInRoster(b);
        SaveRoster();
        PutInRoster(a);
        SaveRoster();
    }
}

}  // namespace

class SaveKill : public GameTest {};

TEST_F(SaveKill, EveryKillLeavesOneCompleteRosterAndNoPileOfTemporaries) {
    const savetext::Values a = RosterA(), b = RosterB();
    const std::string textA = savetext::Format(a), textB = savetext::Format(b);
    ASSERT_NE(textA, textB);

    // The first round, like most, starts from a complete file.
    PutInRoster(a);
    SaveRoster();
    std::mt19937 rng(4242);
    int sawA = 0, sawB = 0, sawTemporary = 0, sawNoFile = 0;
    for (int kill = 0; kill < KILLS; ++kill) {
        // Most rounds start from a complete file; some from an empty folder,
        // where the first save creates the file.
        const bool fromNothing = kill % 10 == 9;
        if (fromNothing) {
            for (const std::string& e : FolderEntries()) std::remove(e.c_str());
        }

        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) SaveForEver();
        // Mostly within the first few saves, sometimes much later.
        const int waitUs = kill % 7 == 0 ? static_cast<int>(rng() % 20000) : static_cast<int>(rng() % 1500);
        std::this_thread::sleep_for(std::chrono::microseconds(waitUs));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "kill " << kill;

        std::vector<std::string> entries = FolderEntries();
        std::sort(entries.begin(), entries.end());
        for (const std::string& e : entries) {
            ASSERT_TRUE(e == SAVE_FILE_NAME || e == std::string(SAVE_FILE_NAME) + ".tmp")
                << "kill " << kill << " left a stray file: " << e;
        }
        if (std::count(entries.begin(), entries.end(), std::string(SAVE_FILE_NAME) + ".tmp") > 0)
            ++sawTemporary;

        if (!FileExists(SAVE_FILE_NAME)) {
            ASSERT_TRUE(fromNothing) << "kill " << kill << " lost the save file";
            ++sawNoFile;
        } else {
            const std::string text = ReadFile(SAVE_FILE_NAME);
            ASSERT_TRUE(text == textA || text == textB) << "kill " << kill << " left \"" << text << "\"";
            const savetext::Values loaded = LoadedRoster();
            ASSERT_TRUE(loaded == (text == textA ? a : b)) << "kill " << kill;
            (text == textA ? sawA : sawB) += 1;
        }

        // The next save goes through whatever the kill left and leaves only
        // the save file.
        PutInRoster(a);
        SaveRoster();
        ASSERT_EQ(ReadFile(SAVE_FILE_NAME), textA) << "kill " << kill;
        ASSERT_EQ(FolderEntries(), std::vector<std::string>{SAVE_FILE_NAME}) << "kill " << kill;
    }
    std::printf(
        "%d kills: roster A %d times, roster B %d times, no file yet %d times, a temporary left %d times\n",
        KILLS, sawA, sawB, sawNoFile, sawTemporary);
    RecordProperty("kills", KILLS);
    // The kills landed both between saves and inside them.
    EXPECT_GT(sawA, 0);
    EXPECT_GT(sawB, 0);
    EXPECT_GT(sawTemporary, 0);
}
