// A picture of a frame as the game shows it: the menu's display list (panel
// sprite, highlight rectangles, text lines) drawn at 1920x1080 with cairo
// over a neutral backdrop that stands in for the game world.
#pragma once

#include <string>
#include <vector>

#include "world.h"

namespace sim {

constexpr int PNG_WIDTH = 1920;
constexpr int PNG_HEIGHT = 1080;

// The game's text line at scale 1.0, as a share of the screen height. The
// menu draws at scale 0.4, so a line is 0.4 x 0.08 = 0.032 of the screen high:
// it fits the menu's row pitch of 0.04, and its middle lies on the centre of
// the highlight bar (0.0164 below the text's y). The letters take the middle
// GLYPH_SHARE of the line.
constexpr double BASE_TEXT_HEIGHT = 0.08;
constexpr double GLYPH_SHARE = 0.75;

// Writes the frame; false with a message when the file cannot be written or
// nothing is drawn. With `menuOnly`, only the part the panel and the highlight
// cover (and a margin), at full size: the menu at a size one can read.
bool WriteFramePng(const std::vector<standin::DisplayItem>& display, const std::string& path,
                   std::string* error, bool menuOnly = false);

}  // namespace sim
