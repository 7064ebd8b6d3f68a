// A picture of a frame as the game shows it: the menu's display list (panel
// sprite, highlight rectangles, text lines) drawn at 1920x1080 with cairo
// over a neutral backdrop that stands in for the game world.
#pragma once

#include <string>
#include <vector>

#include "world.h"

namespace sim {

// Writes the frame; false with a message when the file cannot be written or
// nothing is drawn. With `menuOnly`, only the part the panel and the highlight
// cover (and a margin), at full size: the menu at a size one can read.
bool WriteFramePng(const std::vector<standin::DisplayItem>& display, const std::string& path,
                   std::string* error, bool menuOnly = false);

}  // namespace sim
