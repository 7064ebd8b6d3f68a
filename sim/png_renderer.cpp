#include "png_renderer.h"

#include <cairo.h>

#include <algorithm>
#include <filesystem>

#include "driver.h"
#include "keys.h"

namespace sim {

namespace {

constexpr int PNG_WIDTH = 1920;
constexpr int PNG_HEIGHT = 1080;
// The game's text line at scale 1.0, as a share of the screen height. The
// menu draws at scale 0.4, so a line is 0.4 x 0.08 = 0.032 of the screen high:
// it fits the menu's row pitch of 0.04, and its middle lies on the centre of
// the highlight bar (0.0164 below the text's y). The letters take the middle
// GLYPH_SHARE of the line.
constexpr double BASE_TEXT_HEIGHT = 0.08;
constexpr double GLYPH_SHARE = 0.75;
constexpr const char* kFontFace = "DejaVu Sans";

double Channel(int v) {
    return std::clamp(v, 0, 255) / 255.0;
}

// A calm, neutral stand-in for the game world behind the menu: a dusky sky
// over darker ground, so the translucent panel and the text read as they do
// in the game.
void DrawBackdrop(cairo_t* cr) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, PNG_HEIGHT);
    cairo_pattern_add_color_stop_rgb(sky, 0.0, 0.47, 0.50, 0.53);
    cairo_pattern_add_color_stop_rgb(sky, 0.55, 0.62, 0.60, 0.55);
    cairo_pattern_add_color_stop_rgb(sky, 0.56, 0.40, 0.37, 0.31);
    cairo_pattern_add_color_stop_rgb(sky, 1.0, 0.27, 0.25, 0.21);
    cairo_set_source(cr, sky);
    cairo_paint(cr);
    cairo_pattern_destroy(sky);
}

void FillCentred(cairo_t* cr, const standin::DisplayItem& d) {
    const double w = d.width * PNG_WIDTH, h = d.height * PNG_HEIGHT;
    const double x = d.x * PNG_WIDTH - w / 2, y = d.y * PNG_HEIGHT - h / 2;
    cairo_set_source_rgba(cr, Channel(d.r), Channel(d.g), Channel(d.b), Channel(d.a));
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
    // The game lights its highlight bar; a dark red frame on the black panel
    // would hardly show in a picture, so its edge is drawn in the full red of
    // its hue.
    if (standin::IsHighlightBar(d)) {
        const double top = std::max({d.r, d.g, d.b, 1});
        cairo_set_source_rgb(cr, Channel(d.r) * 255 / top, Channel(d.g) * 255 / top,
                             Channel(d.b) * 255 / top);
        cairo_set_line_width(cr, 2.0);
        cairo_rectangle(cr, x + 1, y + 1, w - 2, h - 2);
        cairo_stroke(cr);
    }
}

// The game places a text by the top-left corner of its line, and its line is
// the scale times the game's base text height; the letters (from the top of
// a capital to the foot of a descender) fill the middle three quarters of it.
void DrawText(cairo_t* cr, const standin::DisplayItem& d) {
    const double scale = d.scaleSet ? d.scaleY : 1.0;
    const double lineHeight = scale * BASE_TEXT_HEIGHT * PNG_HEIGHT;
    cairo_select_font_face(cr, kFontFace, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
    // Measured at a large size: at size 1 the font's hinted metrics are coarse.
    constexpr double kProbeSize = 100.0;
    cairo_set_font_size(cr, kProbeSize);
    cairo_text_extents_t probe;
    cairo_text_extents(cr, "Ay", &probe);
    if (probe.height <= 0) return;
    // At this size the letters fill GLYPH_SHARE of the line.
    const double size = GLYPH_SHARE * lineHeight * kProbeSize / probe.height;
    cairo_set_font_size(cr, size);
    const double baseline =
        d.y * PNG_HEIGHT + lineHeight * (1 - GLYPH_SHARE) / 2 - probe.y_bearing / kProbeSize * size;
    const auto channel = [&d](int v) { return d.colourSet ? Channel(v) : 1.0; };
    cairo_set_source_rgba(cr, channel(d.r), channel(d.g), channel(d.b), channel(d.a));
    cairo_move_to(cr, d.x * PNG_WIDTH, baseline);
    cairo_show_text(cr, d.plainText.c_str());
}

}  // namespace

bool WriteFramePng(const std::vector<standin::DisplayItem>& display, const std::string& path,
                   std::string* error, bool menuOnly) {
    if (display.empty())
        return Fail(error, "no picture written to " + path +
                               ": nothing is drawn in this frame (the menu is closed); open the menu first");
    // The picture's part of the frame: all of it, or what the panel and the highlight cover.
    double left = 0, top = 0, right = PNG_WIDTH, bottom = PNG_HEIGHT;
    if (menuOnly) {
        constexpr double kMargin = 24;
        left = PNG_WIDTH, top = PNG_HEIGHT, right = 0, bottom = 0;
        for (const standin::DisplayItem& d : display) {
            if (d.kind == standin::DisplayItem::Text) continue;
            left = std::min(left, (d.x - d.width / 2) * PNG_WIDTH - kMargin);
            right = std::max(right, (d.x + d.width / 2) * PNG_WIDTH + kMargin);
            top = std::min(top, (d.y - d.height / 2) * PNG_HEIGHT - kMargin);
            bottom = std::max(bottom, (d.y + d.height / 2) * PNG_HEIGHT + kMargin);
        }
        left = std::max(0.0, left), top = std::max(0.0, top);
        right = std::min<double>(PNG_WIDTH, std::max(right, left + 1));
        bottom = std::min<double>(PNG_HEIGHT, std::max(bottom, top + 1));
    }
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(right - left),
                                                          static_cast<int>(bottom - top));
    cairo_t* cr = cairo_create(surface);
    cairo_translate(cr, -left, -top);
    DrawBackdrop(cr);
    // The game draws a frame's script text above its sprites and rectangles,
    // whatever the order of the calls: the roster-full notice draws its
    // highlight after its lines, and its "Exit" still shows. Sprites and
    // rectangles cover one another in the order they were drawn.
    for (const standin::DisplayItem& d : display) {
        if (d.kind != standin::DisplayItem::Text) FillCentred(cr, d);
    }
    for (const standin::DisplayItem& d : display) {
        if (d.kind == standin::DisplayItem::Text) DrawText(cr, d);
    }
    cairo_destroy(cr);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    const cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (status != CAIRO_STATUS_SUCCESS)
        return Fail(error, "cannot write " + path + ": " + cairo_status_to_string(status));
    return true;
}

}  // namespace sim
