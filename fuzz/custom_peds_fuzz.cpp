// Fuzz target: the custom ped list reader. The input is written as
// "Tavrossimer_CustomPeds.txt" and read by LoadCustomPedList. The names must be
// what an independent reading of the same bytes gives (header skipped, empty
// lines skipped, a CR before LF dropped, "END_LIST" ends the list), and the
// catalogue's custom list must point at exactly those names. Reading the file a
// second time (a second game start) gives the same list, not a longer one.
#include <cstring>
#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "fuzz_support.h"
#include "persist/custom_peds.h"

namespace {

using fuzzsupport::Expect;

void CheckList(const std::vector<std::string>& want, const char* when) {
    Expect(customPedNames == want, std::string(when) + ": the names read differ from the file's names");
    const ModelList& list = modelCatalogue[CATEGORY_CUSTOM];
    Expect(list.count == static_cast<int>(want.size()),
           std::string(when) + ": the custom list has the wrong count");
    for (int k = 0; k < list.count; ++k) {
        Expect(list.names != nullptr && list.names[k] != nullptr,
               std::string(when) + ": a missing name pointer");
        Expect(list.names[k] == customPedNames[static_cast<std::size_t>(k)].c_str(),
               std::string(when) + ": a catalogue entry does not point at its name");
        Expect(std::strlen(list.names[k]) == std::strlen(want[static_cast<std::size_t>(k)].c_str()),
               std::string(when) + ": a catalogue entry's text differs");
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzzsupport::EnterPrivateFolder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> want = fuzzsupport::CustomListNames(text);

    customPedNames.clear();
    customPedNamePointers.clear();
    modelCatalogue[CATEGORY_CUSTOM] = ModelList{nullptr, 0};
    fuzzsupport::WriteFile(CUSTOM_PEDS_FILE_NAME, text);

    LoadCustomPedList();
    CheckList(want, "first reading");
    LoadCustomPedList();
    CheckList(want, "second reading");
    return 0;
}
