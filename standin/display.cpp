#include <cmath>

#include "driver.h"

namespace standin {

namespace {
constexpr float kTextTop = 0.19f, kHighlightTop = 0.2064f, kPitch = 0.04f;
}  // namespace

bool IsHighlightBar(const DisplayItem& d) {
    return d.kind == DisplayItem::Rect && d.r == 80 && d.g == 10 && d.b == 10;
}
bool IsDimmedText(const DisplayItem& d) {
    return d.kind == DisplayItem::Text && d.colourSet && d.r == 100 && d.g == 100 && d.b == 100;
}

int TextRowOfY(float y) {
    return static_cast<int>(std::lround((y - kTextTop) / kPitch));
}
int HighlightRowOfY(float y) {
    return static_cast<int>(std::lround((y - kHighlightTop) / kPitch));
}

std::vector<MenuLine> MenuLines() {
    std::vector<MenuLine> lines;
    for (const DisplayItem& d : GetWorld().display) {
        if (d.kind != DisplayItem::Text) continue;
        lines.push_back({TextRowOfY(d.y), d.plainText, IsDimmedText(d)});
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
        if (IsHighlightBar(d)) return HighlightRowOfY(d.y);
    }
    return -1;
}

}  // namespace standin
