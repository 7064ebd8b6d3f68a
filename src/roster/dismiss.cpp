// STUB: being written; replaced by its owner.
#include "roster/roster.h"
void DismissBodyguard(BodyguardRecord&) {}
void DismissAll() {}
void DiscardBuilderBodyguard(int&, int&, int&, bool) {}
