// STUB: being written; replaced by its owner.
#include "menu/pages.h"
void RosterFullPage() {}
void InvalidModelPage() {}
