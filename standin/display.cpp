#include <cmath>

#include "driver.h"

namespace standin {

namespace {
constexpr float kTextTop = 0.19f, kHighlightTop = 0.2064f, kPitch = 0.04f;
int RowOf(float y, float top) {
    return static_cast<int>(std::lround((y - top) / kPitch));
}
}  // namespace

std::vector<MenuLine> MenuLines() {
    std::vector<MenuLine> lines;
    for (const DisplayItem& d : GetWorld().display) {
        if (d.kind != DisplayItem::Text) continue;
        lines.push_back(
            {RowOf(d.y, kTextTop), d.plainText, d.colourSet && d.r == 100 && d.g == 100 && d.b == 100});
    }
    return lines;
}

std::string MenuLineAt(int row) {
    for (const MenuLine& l : MenuLines()) {
        if (l.row == row) return l.text;
    }
    return std::string();
}

int HighlightRow() {
    for (const DisplayItem& d : GetWorld().display) {
        if (d.kind == DisplayItem::Rect && d.r == 80 && d.g == 10 && d.b == 10)
            return RowOf(d.y, kHighlightTop);
    }
    return -1;
}

}  // namespace standin
