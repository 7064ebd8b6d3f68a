// The player's own model list: "Tavrossimer_CustomPeds.txt", a header line,
// one model name per line, ended by END_LIST. It becomes model list 4.
#pragma once

#include <string>
#include <vector>

constexpr const char* CUSTOM_PEDS_FILE_NAME = "Tavrossimer_CustomPeds.txt";

extern std::vector<std::string> customPedNames;
// The text of each name, in order: the rows of the catalogue's list 4.
extern std::vector<const char*> customPedNamePointers;

void LoadCustomPedList();
