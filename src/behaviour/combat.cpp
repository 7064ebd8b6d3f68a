// STUB: being written; replaced by its owner.
#include "behaviour/behaviour.h"
void AttackKeyCheck() {}
void HelpPromptStep(BodyguardRecord&) {}
void DownedDetection(BodyguardRecord&) {}
void ReviveBodyguard(BodyguardRecord&) {}
void DownedStep(BodyguardRecord&) {}
float CoordDistance(float, float, float, float, float, float) { return 0; }
