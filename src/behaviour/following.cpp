// STUB: being written; replaced by its owner.
#include "behaviour/behaviour.h"
std::int32_t playerPed = 0;
std::int32_t playerGroup = 0;
std::int32_t playerRelationshipGroup = 0;
std::int32_t nextFormationTime = 0;
bool onFootSettingsActive = false;
void BodyguardSection() {}
void BodyguardPass() {}
void FollowAllKeyCheck() {}
void FormationRefresh() {}
void PeriodicStep(BodyguardRecord&) {}
void StayingStep(BodyguardRecord&) {}
void FollowingStep(BodyguardRecord&) {}
void ResetBehaviourState() {}
