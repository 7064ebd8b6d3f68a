// tavrossimer-check: tells a player what the plug-in will make of the three
// files in the game folder, through the plug-in's own readers.
#pragma once

#include <cstdio>
#include <string>

// Collects the report's lines and counts what it found.
struct Report {
    std::FILE* out;
    int problems;
    int warnings;
    bool unreadable;  // a file is there but could not be read
};

void Heading(Report& report, const std::string& text);
void Line(Report& report, const std::string& text);  // plain information
void Warning(Report& report, const std::string& text);
void Problem(Report& report, const std::string& text);

// Each part reads its file from the current folder, as the plug-in does.
void CheckSettings(Report& report);
void CheckCustomList(Report& report);
void CheckSaveFile(Report& report);

// The three checks on the current folder, then the summary. Returns the exit
// status: 0 nothing to report, 1 a problem or a warning, 2 a file that is there
// could not be read.
int CheckGameFolder(Report& report);

// Helpers shared by the parts.
std::string Quote(const std::string& text);  // "text", with control bytes shown as \xNN
std::string Upper(std::string text);         // ASCII letters in capitals
bool InCatalogue(const std::string& name);   // a name of lists 0 to 3, letter case aside
// Reads a whole file for a check. One that is there but cannot be read is a
// problem (the exit status becomes 2); a missing one is reported with
// `missingLine` and reads as empty.
enum class FileState { Read, Missing, Unreadable };
FileState ReadForCheck(Report& report, const char* name, std::string& content, const char* missingLine);
