// STUB: being written; replaced by its owner.
#include "behaviour/behaviour.h"
void CreateBodyguardPrompt(std::int32_t*, const char*, bool, std::int32_t, const char*, int) {}
void SetPromptActive(std::int32_t, bool, bool) {}
