// The player's own model list: "Tavrossimer_CustomPeds.txt", a header line,
// one model name per line, ended by END_LIST. It becomes model list 4.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

constexpr const char* CUSTOM_PEDS_FILE_NAME = "Tavrossimer_CustomPeds.txt";
// The line that ends the list.
constexpr const char* CUSTOM_LIST_END = "END_LIST";

extern std::vector<std::string> customPedNames;
// The text of each name, in order: the rows of the catalogue's list 4.
extern std::vector<const char*> customPedNamePointers;

void LoadCustomPedList();

// Reads one line of the list into `line`; false when the file (or a Ctrl-Z)
// ends before a line starts.
bool ReadCustomListLine(std::FILE* file, std::string& line);

// Reads the list's names from `file`, from its first line on, into `names`;
// `nameLines`, when given, gets the line number (from 1) of each. Returns the
// line number of END_LIST, or 0 when the file has none; the file is left just
// after that line.
int ReadCustomPedNames(std::FILE* file, std::vector<std::string>& names, std::vector<int>* nameLines);
