// Fuzz target: the roster save file reader. The input is written as
// "Tavrossimer.dat" and read by LoadRoster into a roster in its startup state.
// Beyond not crashing, the 43 fields must be what an independent reading of the
// same text gives, nothing but the loadout fields and the formation may change,
// and SaveRoster must write those values back as exactly the text it reads
// again, leaving no other file behind.
#include <filesystem>

#include "fuzz_support.h"
#include "kill_rosters.h"
#include "menu/state.h"
#include "persist/save_file.h"
#include "roster/roster.h"
#include "save_text.h"

namespace {

using fuzzsupport::Expect;
using killrosters::ClearRosterAsAtStartup;
using killrosters::RosterValues;

void ExpectValues(const savetext::Values& got, const savetext::Values& want, const char* when) {
    for (int i = 0; i < savetext::VALUES; ++i) {
        Expect(got[i] == want[i], std::string(when) + ": value " + std::to_string(i + 1) + " is " +
                                      std::to_string(got[i]) + ", expected " + std::to_string(want[i]));
    }
}

bool OnlyTheSaveFileIsThere() {
    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(".")) {
        if (e.path().filename() != SAVE_FILE_NAME) return false;
        ++entries;
    }
    return entries == 1;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::EnterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    ClearRosterAsAtStartup();
    fuzzsupport::WriteFile(SAVE_FILE_NAME, text);
    LoadRoster();

    savetext::Values expected = savetext::StartupValues();
    savetext::Read(text, expected);
    const savetext::Values loaded = RosterValues();
    ExpectValues(loaded, expected, "loading");
    for (const BodyguardRecord& r : roster) {
        Expect(r.ped == 0 && r.blip == 0 && r.helpPrompt == 0 && r.dismissPrompt == 0 && r.stayPrompt == 0 &&
                   r.followPrompt == 0 && r.showCommandsPrompt == 0 && r.hideCommandsPrompt == 0 &&
                   r.nextUpdateTime == 0 && !r.downed && r.downedChecks == 0 && !r.staying &&
                   !r.promptsCreated && !r.commandsShown,
               "loading touched a field that is not saved");
    }

    SaveRoster();
    Expect(fuzzsupport::ReadFile(SAVE_FILE_NAME) == savetext::Format(loaded),
           "the saved text is not the loaded values, each after one space");
    Expect(OnlyTheSaveFileIsThere(), "saving left another file in the folder");

    ClearRosterAsAtStartup();
    LoadRoster();
    ExpectValues(RosterValues(), loaded, "reading the saved file back");
    return 0;
}
