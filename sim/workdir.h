// The simulator's working folder: where the plug-in finds Tavrossimer.ini,
// Tavrossimer.dat and Tavrossimer_CustomPeds.txt, exactly as it would in the
// game folder. The simulator changes into it before the game starts, since the
// plug-in opens its files by relative name.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace sim {

constexpr const char* INI_FILE = "Tavrossimer.ini";
constexpr const char* DEFAULT_WORK_DIR = "tavrossimer-sim-work";

struct WorkDir {
    std::string path;         // absolute
    bool temporary = false;   // made by the simulator for one run; removed at the end unless kept
    std::string previousCwd;  // where the simulator was started
};

// Makes `dir` (and its parents) if needed and changes into it. With `fresh`, the
// plug-in's three files are removed first (nothing else in the folder is
// touched). A settings file and a sample custom list are put in place when
// missing, so a modder finds documented files to edit. False with a message
// when the folder cannot be used.
bool OpenWorkDir(const std::string& dir, bool fresh, WorkDir* out, std::string* error);
// A new empty folder under the system's temporary folder, changed into.
bool OpenTemporaryWorkDir(WorkDir* out, std::string* error);
// Changes back to where the simulator started; removes a temporary folder unless `keep`.
void CloseWorkDir(WorkDir& dir, bool keep);

// Sets KEY=VALUE in the [SETTINGS] section of the settings file in the current
// folder: an existing line of that key is replaced in place, otherwise the line
// is added at the end of the section (the section is made when missing).
// Comments and other lines stay as they are.
void SetIniValue(const std::string& key, const std::string& value);
// "KEY=VALUE" split at the first '='; false when there is no '=' or no key.
bool SplitAssignment(const std::string& text, std::string* key, std::string* value);

// The custom list file with its header line, the names, and END_LIST.
void WriteCustomList(const std::vector<std::string>& names);

// The settings file and the sample custom list the plug-in ships with.
const char* ShippedSettingsText();
const char* ShippedCustomListText();

// Whole-file helpers, relative to the current folder.
bool WriteTextFile(const std::string& path, const std::string& content);
bool ReadTextFile(const std::string& path, std::string* content);

// A path the user gave, taken relative to where the simulator was started.
std::string UserPath(const WorkDir& dir, const std::string& path);

}  // namespace sim
