// The player's own model list. The file is read once at startup, before the save
// file, so that saved bodyguards of the custom list find their names again.
//
// Format: line 1 is a header and never a name; every later non-empty line is one
// model name, taken exactly as written; a line that is exactly "END_LIST" ends
// the list (and a header of "END_LIST" means the list is empty).
#include "persist/custom_peds.h"

#include <cstdio>

#include "catalog/catalog.h"
#include "persist/text_read.h"

std::vector<std::string> customPedNames;
std::vector<const char*> customPedNamePointers;

// A CR right before the LF is dropped here, which is what the Windows text-mode
// read does, so both builds see the same names (a CR elsewhere in a line, or a
// last line ending in a CR without LF, stays part of the text, as it does on
// Windows). A Ctrl-Z ends the file: what stands before it on its line is the
// last line.
bool ReadCustomListLine(std::FILE* file, std::string& line) {
    line.clear();
    int c = ReadTextChar(file);
    if (c == EOF) return false;
    while (c != EOF && c != '\n') {
        line.push_back(static_cast<char>(c));
        c = ReadTextChar(file);
    }
    if (c == '\n' && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

int ReadCustomPedNames(std::FILE* file, std::vector<std::string>& names, std::vector<int>* nameLines) {
    names.clear();
    if (nameLines != nullptr) nameLines->clear();
    std::string line;
    ReadCustomListLine(file, line);  // the header
    if (line == CUSTOM_LIST_END) return 1;
    for (int number = 2; ReadCustomListLine(file, line); ++number) {
        if (line == CUSTOM_LIST_END) return number;
        if (line.empty()) continue;
        names.push_back(line);
        if (nameLines != nullptr) nameLines->push_back(number);
    }
    return 0;
}

void LoadCustomPedList() {
    customPedNames.clear();

    std::FILE* file = std::fopen(CUSTOM_PEDS_FILE_NAME, "rb");
    if (file != nullptr) {
        ReadCustomPedNames(file, customPedNames, nullptr);
        std::fclose(file);
    }

    // The catalogue's list 4 points into the names, which live for the whole run
    // and are never changed again, so the pointers stay valid.
    customPedNamePointers.clear();
    customPedNamePointers.reserve(customPedNames.size());
    for (const std::string& name : customPedNames) customPedNamePointers.push_back(name.c_str());
    modelCatalogue[CATEGORY_CUSTOM] =
        ModelList{customPedNamePointers.data(), static_cast<int>(customPedNamePointers.size())};
}
