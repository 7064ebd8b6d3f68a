// STUB: being written; replaced by its owner.
#include "roster/roster.h"
int HireBodyguard(int, int, int, int, int, int, float, float, float) { return -1; }
std::int32_t CreateBodyguardPed(std::int32_t, float, float, float) { return 0; }
