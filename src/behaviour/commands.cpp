// STUB: being written; replaced by its owner.
#include "behaviour/behaviour.h"
std::int32_t targetEntity = 0;
void TargetQuery() {}
bool UpdateCommandPrompts(BodyguardRecord&) { return true; }
void OrderStay(BodyguardRecord&) {}
void OrderFollow(BodyguardRecord&) {}
