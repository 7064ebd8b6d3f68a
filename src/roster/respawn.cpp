// STUB: being written; replaced by its owner.
#include "roster/roster.h"
void RespawnSavedRoster(float, float, float) {}
