// STUB: being written; replaced by its owner.
#include "menu/draw.h"
void DrawMenuBackground() {}
void DrawMenuRect(float, float, float, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {}
void DrawMenuHighlight(int) {}
void DrawMenuLine(const char*, int) {}
void DrawMenuLineDimmed(const char*, int) {}
float MenuTextY(int) { return 0; }
float MenuHighlightY(int) { return 0; }
const char* NumberLabel(const char*, int, const char*) { return ""; }
