// Immediate-mode drawing of the menu: the panel, the highlight bar and text
// lines at fixed rows, all through the game's sprite, rectangle and text calls.
#pragma once

#include <cstdint>

void DrawMenuBackground();
void DrawMenuRect(float y, float width, float height, std::int32_t r, std::int32_t g, std::int32_t b,
                  std::int32_t a);
void DrawMenuHighlight(int row);
void DrawMenuLine(const char* text, int row);
void DrawMenuLineDimmed(const char* text, int row);

// Text y of a row: float(row) x 0.04 + 0.19, in single precision.
float MenuTextY(int row);
// Highlight centre y of a row: float(row) x 0.04 + 0.2064.
float MenuHighlightY(int row);

// Labels built from a decimal number, e.g. NumberLabel("Model - ", 5, " -").
// The result lives in a small ring of static buffers: it stays valid until
// eight more labels have been built, so draw it in the same frame.
const char* NumberLabel(const char* prefix, int value, const char* suffix);

// Puts the text and label buffer rings back to their first buffer.
void ResetMenuDrawing();
