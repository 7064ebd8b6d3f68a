// Scenarios played against the real Tavrossimer.asi under the Windows loader.
// Each one starts from an empty working folder (the game folder) and a fresh
// world; StartGame loads the module, so its static initialisation reads the
// settings with the real GetPrivateProfileIntA, and the real GetTickCount stamps
// key events. To add a scenario, write a function below and list it in
// Scenarios() at the end of the file.
#include <cstring>
#include <sstream>

#include "vk_codes.h"
#include "wine_support.h"

namespace standin {

namespace {

constexpr std::int32_t SALOON_INTERIOR = 41218;
constexpr const char* NAMED_SET = "Tavrossimer";
constexpr const char* SAVE_FILE = "Tavrossimer.dat";

// --- Helpers ---------------------------------------------------------------------

std::size_t Mark() {
    return GetCallLog().Mark();
}

std::vector<const Call*> CallsSince(std::size_t mark, const char* name = nullptr) {
    return GetCallLog().Since(mark, name);
}

std::size_t CountSince(std::size_t mark, const char* name) {
    return CallsSince(mark, name).size();
}

bool InModule(const void* address, HMODULE module) {
    HMODULE m = nullptr;
    return GetModuleHandleExA(
               GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
               static_cast<LPCSTR>(address), &m) &&
           m == module;
}

// The calls since `mark`, one line each as the call log describes them.
std::string Transcript(std::size_t mark) {
    std::string s;
    for (const std::string& line : GetCallLog().DescribeSince(mark)) s += line + "\n";
    return s;
}

std::string Names(const std::vector<const Call*>& calls) {
    std::string s;
    for (const Call* c : calls) {
        if (!s.empty()) s += ", ";
        s += c->name;
    }
    return s;
}

// Runs frames until the script has left its wait for the player and has run
// the frame loop at least once (a scriptWait(0) was logged).
bool RunUntilFrameLoop(int maxFrames) {
    const std::size_t mark = Mark();
    return RunUntil(
        [mark] {
            for (const Call* c : CallsSince(mark, "scriptWait"))
                if (c->args.at(0) == 0) return true;
            return false;
        },
        maxFrames);
}

// The menu key reaches the frame routine's saloon test only when the plug-in
// took the key code from the settings, and only while ONLY_IN_SALOONS is on:
// the test asks for the player's interior. Returns whether that happened in the
// frame after a tap of `vk`.
bool MenuKeyAskedForInterior(int vk) {
    const std::size_t mark = Mark();
    TapKey(vk);
    RunFrame();
    return CountSince(mark, "GetEntityInterior") > 0;
}

std::string SettingsFile(const std::string& lines) {
    return "[SETTINGS]\r\n" + lines;
}

// Lets the menu's input gate (a game timer that must pass 150 ms) open again.
void WaitGate() {
    RunMs(160);
}

// Taps the key and runs the frame that sees it; true when the main page was
// drawn in that frame.
bool KeyOpensMenu(int vk) {
    TapKey(vk);
    RunFrame();
    return MenuLineAt(1) == "Random Bodyguard";
}

// Moves the highlight one line down with the arrow key, as a player would.
void MenuDown() {
    KeyDown(VK_DOWN_KEY);
    RunFrame();
    KeyUp(VK_DOWN_KEY);
    WaitGate();
}

std::vector<long long> SavedValues(bool* exists) {
    std::istringstream in(ReadFile(SAVE_FILE, exists));
    std::vector<long long> values;
    long long v;
    while (in >> v) values.push_back(v);
    return values;
}

// --- Scenarios -----------------------------------------------------------------

// DllMain(attach) registers the script entry with the module's own handle and
// the keyboard handler, and nothing else happens before the host runs the script.
void LoadRegistersScriptAndKeyboardHandler() {
    StartGame();
    WINE_REQUIRE(PluginModule() != nullptr);
    const HostState& host = GetHost();
    WINE_CHECK_EQ(Names(CallsSince(0)), std::string("scriptRegister, keyboardHandlerRegister"));
    WINE_CHECK_EQ(host.scriptRegisterCalls, 1);
    WINE_CHECK_EQ(host.keyboardRegisterCalls, 1);
    WINE_CHECK(host.module == PluginModule());
    WINE_REQUIRE(host.scriptEntry != nullptr);
    WINE_REQUIRE(host.keyboardHandler != nullptr);
    WINE_CHECK(InModule(reinterpret_cast<const void*>(host.scriptEntry), PluginModule()));
    WINE_CHECK(InModule(reinterpret_cast<const void*>(host.keyboardHandler), PluginModule()));
    WINE_CHECK_EQ(host.scriptUnregisterCalls, 0);
}

// The script registers its named set, polls every 500 ms while the player's
// ped does not exist, then runs the frame loop: one scriptWait(0) per frame.
void ScriptPollsForThePlayerThenWaitsOncePerFrame() {
    StartGame();
    const std::size_t registered = Mark();
    GetWorld().player.pedExists = false;
    RunMs(1600);

    // While it waits, the script asks for the player's ped and nothing else.
    const std::size_t polls = CountSince(registered, "scriptWait");
    WINE_CHECK(polls >= 3);
    std::string expected = "IsNamedSetRegistered(\"Tavrossimer\", 3)\nRegisterNamedSet(\"Tavrossimer\", 3)\n";
    for (std::size_t i = 0; i < polls; ++i)
        expected +=
            "GetPlayerPed()\nEntityExists(" + std::to_string(GetWorld().player.ped) + ")\nscriptWait(500)\n";
    WINE_CHECK_EQ(Transcript(registered), expected);

    GetWorld().player.pedExists = true;
    WINE_REQUIRE(RunUntilFrameLoop(60));
    WINE_CHECK(CountSince(0, "GetOffsetPosition") == 1);

    const std::size_t mark = Mark();
    const int firstFrame = GetWorld().frame + 1;
    RunFrames(10);
    const std::vector<const Call*> loopWaits = CallsSince(mark, "scriptWait");
    WINE_CHECK_EQ(loopWaits.size(), 10u);
    for (std::size_t i = 0; i < loopWaits.size(); ++i) {
        WINE_CHECK_EQ(loopWaits[i]->args.at(0), 0ull);
        WINE_CHECK_EQ(loopWaits[i]->frame, firstFrame + static_cast<int>(i));
    }
}

// FreeLibrary runs DllMain(detach): the script and then the keyboard handler are
// unregistered with what was registered, and the module leaves the process.
void UnloadUnregistersScriptAndKeyboardHandler() {
    StartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));
    const HMODULE module = PluginModule();
    const KeyboardHandler handler = GetHost().keyboardHandler;
    const std::size_t mark = Mark();
    EndGame();

    const auto number = [](const void* p) { return std::to_string(reinterpret_cast<std::intptr_t>(p)); };
    WINE_CHECK_EQ(Transcript(mark), "scriptUnregister(" + number(module) + ")\nkeyboardHandlerUnregister(" +
                                        number(reinterpret_cast<const void*>(handler)) + ")\n");
    WINE_CHECK_EQ(GetHost().scriptUnregisterCalls, 1);
    WINE_CHECK_EQ(GetHost().keyboardUnregisterCalls, 1);
    WINE_CHECK(GetModuleHandleA(kPluginFileName) == nullptr);
}

// Tavrossimer.ini in the working folder is read through ".\Tavrossimer.ini": a
// changed menu key and ONLY_IN_SALOONS take effect, the default key does not.
void SettingsFileInTheGameFolderTakesEffect() {
    WriteFile("Tavrossimer.ini", SettingsFile("SPAWN_MENU_KEY=113\r\nONLY_IN_SALOONS=1\r\n"));
    StartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));

    WINE_CHECK(!MenuKeyAskedForInterior(VK_HOME_KEY));
    WINE_CHECK(MenuKeyAskedForInterior(VK_F2_KEY));
    // The release is used up by the first frame that sees it.
    const std::size_t mark = Mark();
    RunFrame();
    WINE_CHECK_EQ(CountSince(mark, "GetEntityInterior"), 0u);
}

// The settings file we ship, Windows line ends, comments and all, reads as the
// defaults: Home opens the menu. In a copy with ONLY_IN_SALOONS switched on,
// the key's use shows in the game calls, which proves that line is read too.
void ShippedSettingsFileReadsAsDefaults() {
    bool exists = false;
    std::string shipped = ReadFile("shipped_Tavrossimer.ini", &exists);
    WINE_REQUIRE(exists);
    WINE_CHECK(shipped.find("\r\n") != std::string::npos);
    WriteFile("Tavrossimer.ini", shipped);
    StartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));
    WINE_CHECK(KeyOpensMenu(VK_HOME_KEY));

    const std::string off = "ONLY_IN_SALOONS=0";
    const std::size_t at = shipped.find(off);
    WINE_REQUIRE(at != std::string::npos);
    shipped.replace(at, off.size(), "ONLY_IN_SALOONS=1");
    WriteFile("Tavrossimer.ini", shipped);
    RestartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));
    WINE_CHECK(MenuKeyAskedForInterior(VK_HOME_KEY));
    WINE_CHECK(!MenuKeyAskedForInterior(VK_F2_KEY));
}

// A menu key set in the settings opens the menu; Home then does nothing.
void MenuKeyFromSettingsOpensTheMenu() {
    WriteFile("Tavrossimer.ini", SettingsFile("SPAWN_MENU_KEY=113\r\n"));
    StartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));
    WINE_CHECK(!KeyOpensMenu(VK_HOME_KEY));
    WINE_CHECK(MenuLines().empty());
    WINE_CHECK(KeyOpensMenu(VK_F2_KEY));
}

// Key events are stamped with the real tick count: a release the script sees
// more than 100 ms later no longer counts, however few game frames went by.
void KeyReleaseSeenTooLateIsIgnored() {
    WriteFile("Tavrossimer.ini", SettingsFile("ONLY_IN_SALOONS=1\r\n"));
    StartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));

    SendKeyEvent(VK_HOME_KEY, true);
    Sleep(250);
    const std::size_t mark = Mark();
    RunFrame();
    WINE_CHECK_EQ(CountSince(mark, "GetEntityInterior"), 0u);

    // The same release seen at once does count.
    SendKeyEvent(VK_HOME_KEY, true);
    const std::size_t mark2 = Mark();
    RunFrame();
    WINE_CHECK_EQ(CountSince(mark2, "GetEntityInterior"), 1u);
}

// A second start loads the module afresh: its static state, settings included,
// comes back from the files, not from the previous run.
void RestartLoadsTheModuleAfresh() {
    WriteFile("Tavrossimer.ini", SettingsFile("SPAWN_MENU_KEY=113\r\nONLY_IN_SALOONS=1\r\n"));
    StartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));
    GetWorld().player.interior = SALOON_INTERIOR;
    WINE_CHECK(MenuKeyAskedForInterior(VK_F2_KEY));  // opens the menu in the module's memory

    WriteFile("Tavrossimer.ini", SettingsFile("SPAWN_MENU_KEY=114\r\nONLY_IN_SALOONS=1\r\n"));
    RestartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));
    GetWorld().player.interior = SALOON_INTERIOR;
    WINE_CHECK_EQ(GetHost().scriptRegisterCalls, 1);
    WINE_CHECK(!MenuKeyAskedForInterior(VK_F2_KEY));
    // The menu starts closed again, so the new key opens it rather than closing
    // it, and closing is what would write the save file.
    WINE_CHECK(MenuKeyAskedForInterior(VK_F3_KEY));
    bool saved = true;
    ReadFile("Tavrossimer.dat", &saved);
    WINE_CHECK(!saved);
}

// A random hire from the menu, with health, headshot and price from the
// settings; the save file is written in the game folder, and the next start
// reads it back and hires the same bodyguard again beside the player.
void HireIsSavedAndComesBackAtTheNextStart() {
    WriteFile("Tavrossimer.ini",
              SettingsFile("BODYGUARD_HEALTH=700\r\nALLOW_REVIVE=0\r\nNO_HEADSHOT=0\r\nPRICE=3\r\n"));
    StartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));

    WINE_REQUIRE(KeyOpensMenu(VK_HOME_KEY));
    WaitGate();
    MenuDown();
    WINE_CHECK_EQ(HighlightRow(), 1);
    TapKey(VK_ENTER_KEY);
    RunFrames(10);

    std::vector<const Ped*> hired = GetWorld().PedsInNamedSet(NAMED_SET);
    WINE_REQUIRE(hired.size() == 1u);
    const std::uint32_t model = hired[0]->model;
    WINE_CHECK_EQ(hired[0]->maxHealth, 700);
    WINE_CHECK_EQ(hired[0]->health, 700);
    WINE_CHECK(hired[0]->configFlags.count(263) == 0);
    WINE_CHECK(hired[0]->group == GetWorld().player.group);
    WINE_CHECK(GetWorld().player.charges == std::vector<std::int32_t>{300});

    bool saved = false;
    const std::vector<long long> values = SavedValues(&saved);
    WINE_REQUIRE(saved);
    WINE_REQUIRE(values.size() == 43u);
    WINE_CHECK_EQ(values[0], 0LL);   // the male list
    WINE_CHECK_EQ(values[6], -1LL);  // slot 1 is free
    const std::string firstSave = ReadFile(SAVE_FILE);
    WINE_CHECK(firstSave.size() > 0 && firstSave[0] == ' ' && firstSave.back() != '\n');

    // Closing the menu with its key saves again, to the same content.
    TapKey(VK_HOME_KEY);
    RunFrame();
    WINE_CHECK(MenuLines().empty());
    WINE_CHECK_EQ(ReadFile(SAVE_FILE), firstSave);
    bool leftover = true;
    ReadFile("Tavrossimer.dat.tmp", &leftover);
    WINE_CHECK(!leftover);

    // A new game session: a fresh world, the files as they are.
    RestartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));
    RunFrames(10);
    hired = GetWorld().PedsInNamedSet(NAMED_SET);
    WINE_REQUIRE(hired.size() == 1u);
    WINE_CHECK_EQ(hired[0]->model, model);
    WINE_CHECK_EQ(hired[0]->maxHealth, 700);
    WINE_CHECK(GetWorld().player.charges.empty());  // bringing a bodyguard back is free
    WINE_CHECK_EQ(ReadFile(SAVE_FILE), firstSave);
}

// The sample custom list we ship (Windows line ends, read in text mode by the
// C runtime) gives the "Custom list" its names in file order: a saved bodyguard
// of that list comes back with the model named on the file's fourth line, and a
// saved row past the list's end is skipped.
void ShippedCustomListFeedsTheSavedRoster() {
    bool exists = false;
    const std::string shipped = ReadFile("shipped_Tavrossimer_CustomPeds.txt", &exists);
    WINE_REQUIRE(exists);
    WINE_CHECK(shipped.find("\r\nEND_LIST") != std::string::npos);
    WriteFile("Tavrossimer_CustomPeds.txt", shipped);
    // Slot 0: custom row 2; slot 1: custom row 5, one past the five names.
    std::string save = " 4 2 1 0 1 0 4 5 1 0 1 0";
    for (int slot = 2; slot < 7; ++slot) save += " -1 -1 0 0 0 0";
    save += " 11";
    WriteFile(SAVE_FILE, save);

    StartGame();
    WINE_REQUIRE(RunUntilFrameLoop(60));
    RunFrames(10);
    const std::vector<const Ped*> hired = GetWorld().PedsInNamedSet(NAMED_SET);
    WINE_REQUIRE(hired.size() == 1u);
    WINE_CHECK_EQ(hired[0]->model, GameHash("S_M_M_Army_01"));
}

// What the player ends up with when the game folder is not as the save expects
// it, through the real Windows file calls: each case starts from an old save
// " old" (or none), saves by closing the menu with its key, and looks at what
// is left. (A folder refusing new files and a full disk cannot be arranged
// here: Wine, run as root, lets every file be created.)
struct FolderCase {
    const char* what;
    void (*arrange)();
    const char* saveAfter;  // "new", "old" or "none" (no file of that name)
    bool temporaryNameRemains;
};

constexpr const char* SAVE_TEMP = "Tavrossimer.dat.tmp";

// Puts the folder back to empty, read-only files and folders of either name included.
void ClearSaveNames() {
    for (const char* name : {SAVE_FILE, SAVE_TEMP}) {
        SetFileAttributesA(name, FILE_ATTRIBUTE_NORMAL);
        const std::string inside = std::string(name) + "\\inside";
        DeleteFileA(inside.c_str());
        RemoveDirectoryA(name);
        DeleteFileA(name);
    }
}

void SaveFolderCasesEndWithTheNewSaveOrTheOldOne() {
    const FolderCase cases[] = {
        {"a stale read-only temporary file",
         [] {
             WriteFile(SAVE_FILE, " old");
             WriteFile(SAVE_TEMP, " stale");
             SetFileAttributesA(SAVE_TEMP, FILE_ATTRIBUTE_READONLY);
         },
         "new", false},
        {"a non-empty folder named like the temporary file",
         [] {
             WriteFile(SAVE_FILE, " old");
             CreateDirectoryA(SAVE_TEMP, nullptr);
             WriteFile("Tavrossimer.dat.tmp\\inside", " old");
         },
         "new", true},
        {"a read-only save",
         [] {
             WriteFile(SAVE_FILE, " old");
             SetFileAttributesA(SAVE_FILE, FILE_ATTRIBUTE_READONLY);
         },
         "old", false},
        {"a folder named Tavrossimer.dat",
         [] {
             CreateDirectoryA(SAVE_FILE, nullptr);
             WriteFile("Tavrossimer.dat\\inside", " old");
         },
         "none", false},
    };
    struct Cleanup {
        ~Cleanup() { ClearSaveNames(); }
    } cleanup;
    for (const FolderCase& c : cases) {
        ClearSaveNames();
        c.arrange();
        StartGame();
        WINE_REQUIRE(RunUntilFrameLoop(60));
        WINE_REQUIRE(KeyOpensMenu(VK_HOME_KEY));
        TapKey(VK_HOME_KEY);  // closing the menu saves
        RunFrame();
        EndGame();

        const DWORD attributes = GetFileAttributesA(SAVE_FILE);
        const bool saveIsFile =
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        const std::string save = ReadFile(SAVE_FILE);
        const std::string after = !saveIsFile ? "none" : save == " old" ? "old" : "new";
        Note(std::string(c.what) + ": the save is " + after);
        WINE_CHECK_EQ(after, std::string(c.saveAfter));
        if (after == "new") WINE_CHECK_EQ(save.substr(0, 4), std::string(" -1 "));
        WINE_CHECK_EQ(GetFileAttributesA(SAVE_TEMP) != INVALID_FILE_ATTRIBUTES, c.temporaryNameRemains);
        if (c.temporaryNameRemains)
            WINE_CHECK_EQ(ReadFile("Tavrossimer.dat.tmp\\inside"), std::string(" old"));
        if (!saveIsFile && attributes != INVALID_FILE_ATTRIBUTES) {
            WINE_CHECK_EQ(ReadFile("Tavrossimer.dat\\inside"), std::string(" old"));
        }
    }
}

}  // namespace

const std::vector<Scenario>& Scenarios() {
    static const std::vector<Scenario> all = {
        {"LoadRegistersScriptAndKeyboardHandler", LoadRegistersScriptAndKeyboardHandler},
        {"ScriptPollsForThePlayerThenWaitsOncePerFrame", ScriptPollsForThePlayerThenWaitsOncePerFrame},
        {"UnloadUnregistersScriptAndKeyboardHandler", UnloadUnregistersScriptAndKeyboardHandler},
        {"SettingsFileInTheGameFolderTakesEffect", SettingsFileInTheGameFolderTakesEffect},
        {"ShippedSettingsFileReadsAsDefaults", ShippedSettingsFileReadsAsDefaults},
        {"MenuKeyFromSettingsOpensTheMenu", MenuKeyFromSettingsOpensTheMenu},
        {"KeyReleaseSeenTooLateIsIgnored", KeyReleaseSeenTooLateIsIgnored},
        {"RestartLoadsTheModuleAfresh", RestartLoadsTheModuleAfresh},
        {"HireIsSavedAndComesBackAtTheNextStart", HireIsSavedAndComesBackAtTheNextStart},
        {"ShippedCustomListFeedsTheSavedRoster", ShippedCustomListFeedsTheSavedRoster},
        {"SaveFolderCasesEndWithTheNewSaveOrTheOldOne", SaveFolderCasesEndWithTheNewSaveOrTheOldOne},
    };
    return all;
}

}  // namespace standin
