// The player's own model list. The file is read once at startup, before the save
// file, so that saved bodyguards of the custom list find their names again.
//
// Format: line 1 is a header and never a name; every later non-empty line is one
// model name, taken exactly as written; a line that is exactly "END_LIST" ends
// the list (and a header of "END_LIST" means the list is empty).
#include "persist/custom_peds.h"

#include <fstream>

#include "catalog/catalog.h"

std::vector<std::string> customPedNames;
std::vector<const char*> customPedNamePointers;

namespace {

constexpr const char* END_OF_LIST = "END_LIST";

// Reads one line. The file is opened in binary mode and a CR right before the LF
// is dropped here, which is what the Windows text-mode read does, so both builds
// see the same names (a CR elsewhere in a line, or a last line ending in a CR
// without LF, stays part of the text, as it does on Windows).
// A Ctrl-Z byte ends the file, as Windows text mode has it: what stands before
// it on its line is the last line, and every later read finds nothing.
bool ReadLine(std::ifstream& in, std::string& line) {
    if (!std::getline(in, line)) {
        line.clear();
        return false;
    }
    const std::size_t ctrlZ = line.find('\x1A');
    if (ctrlZ != std::string::npos) {
        line.resize(ctrlZ);
        in.setstate(std::ios::eofbit | std::ios::failbit);
        return ctrlZ > 0;
    }
    const bool endedByLineFeed = !in.eof();
    if (endedByLineFeed && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace

void LoadCustomPedList() {
    customPedNames.clear();

    std::ifstream in(CUSTOM_PEDS_FILE_NAME, std::ios::in | std::ios::binary);
    if (in.is_open()) {
        std::string line;
        ReadLine(in, line);  // the header
        if (line != END_OF_LIST) {
            while (ReadLine(in, line)) {
                if (line == END_OF_LIST) break;
                if (line.empty()) continue;
                customPedNames.push_back(line);
            }
        }
    }

    // The catalogue's list 4 points into the names, which live for the whole run
    // and are never changed again, so the pointers stay valid.
    customPedNamePointers.clear();
    customPedNamePointers.reserve(customPedNames.size());
    for (const std::string& name : customPedNames) customPedNamePointers.push_back(name.c_str());
    modelCatalogue[CATEGORY_CUSTOM] =
        ModelList{customPedNamePointers.data(), static_cast<int>(customPedNamePointers.size())};
}
