// STUB: being written; replaced by its owner.
#include "persist/custom_peds.h"
std::vector<std::string> customPedNames;
void LoadCustomPedList() {}
