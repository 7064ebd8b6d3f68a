#include "menu/draw.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "game/natives.h"

namespace {

// The panel: a darkened sprite of the game's own menu texture, left of centre.
constexpr const char* PANEL_DICTIONARY = "generic_textures";
constexpr const char* PANEL_TEXTURE = "hud_menu_4a";
constexpr float PANEL_X = 0.168f;
constexpr float PANEL_Y = 0.4f;
constexpr float PANEL_WIDTH = 0.27f;
constexpr float PANEL_HEIGHT = 0.5f;

// Every rectangle of the menu is centred on the same x.
constexpr float RECT_X = 0.169f;
// The highlight bar: a dark red rectangle with a slightly smaller black one on
// top, which leaves a thin red frame around the row.
constexpr float HIGHLIGHT_OUTER_WIDTH = 0.215f;
constexpr float HIGHLIGHT_OUTER_HEIGHT = 0.041f;
constexpr float HIGHLIGHT_INNER_WIDTH = 0.21f;
constexpr float HIGHLIGHT_INNER_HEIGHT = 0.036f;
// The game takes the inner rectangle's alpha as given; 300 is what the menu has
// always sent, and it draws fully opaque.
constexpr int HIGHLIGHT_INNER_ALPHA = 300;

constexpr float ROW_PITCH = 0.04f;
constexpr float FIRST_TEXT_Y = 0.19f;
constexpr float FIRST_HIGHLIGHT_Y = 0.2064f;
constexpr float TEXT_X = 0.065f;
constexpr float TEXT_SCALE = 0.4f;

// The game's font markup around every line. The "%04X" is part of the markup
// the game expects; nothing is ever formatted into it.
constexpr char FONT_PREFIX[] = "<FONT FACE='$title' COLOR='#%04X'>";
constexpr char FONT_SUFFIX[] = "</FONT>";
static_assert(sizeof FONT_PREFIX - 1 == 34, "the markup prefix is 34 characters");

// The game reads a line's text through the pointer handed to CreateVarString.
// The copies live in a fixed ring of strings: a page draws at most ten lines a
// frame, so a string is written again only after three frames' worth of lines,
// long after the game has drawn it. Each string keeps its capacity, so once the
// ring has seen the page's longest line nothing is allocated while drawing, and
// no line is ever cut short (a custom model name may be of any length).
constexpr std::size_t TEXT_BUFFER_COUNT = 32;
std::string textBuffers[TEXT_BUFFER_COUNT];
std::size_t nextTextBuffer = 0;

// Labels are short ("Model - 123 -") and are copied by the line that draws them
// right away; a small ring lets a page build a few before it draws them.
constexpr std::size_t LABEL_BUFFER_COUNT = 8;
constexpr std::size_t LABEL_BUFFER_SIZE = 128;
char labelBuffers[LABEL_BUFFER_COUNT][LABEL_BUFFER_SIZE];
std::size_t nextLabelBuffer = 0;

// Appends `text` to out[*length..], leaving room for the terminating zero;
// longer text is cut off.
void Append(char* out, std::size_t size, std::size_t* length, const char* text) {
    const std::size_t room = size - 1 - *length;
    std::size_t n = std::strlen(text);
    if (n > room) n = room;
    std::memcpy(out + *length, text, n);
    *length += n;
    out[*length] = '\0';
}

// The line's text as the game gets it: markup prefix, text, closing tag.
const char* ComposeLine(const char* text) {
    std::string& out = textBuffers[nextTextBuffer];
    nextTextBuffer = (nextTextBuffer + 1) % TEXT_BUFFER_COUNT;
    out.assign(FONT_PREFIX);
    out.append(text ? text : "");
    out.append(FONT_SUFFIX);
    return out.c_str();
}

void DrawTextLine(const char* text, int row, bool dimmed) {
    SetTextScale(TEXT_SCALE, TEXT_SCALE);
    // Text settings apply to the next text only, so a normal line after a
    // dimmed one comes out white without a colour of its own.
    if (dimmed) SetTextColor(100, 100, 100, 235);
    const char* copy = ComposeLine(text);
    const TextHandle literal = CreateVarString(10, "LITERAL_STRING", copy);
    const TextHandle coloured = CreateVarString(42, "COLOR_STRING", 0, literal);
    DisplayText(coloured, TEXT_X, MenuTextY(row));
}

}  // namespace

// Row positions are rounded to single precision after the multiplication and
// again after the addition. The product goes through a volatile so that no
// compiler fuses the two into one multiply-add (which rounds once and moves row
// 9's text by one bit) or keeps the product in wider precision.
float MenuTextY(int row) {
    const volatile float offset = static_cast<float>(row) * ROW_PITCH;
    return offset + FIRST_TEXT_Y;
}

float MenuHighlightY(int row) {
    const volatile float offset = static_cast<float>(row) * ROW_PITCH;
    return offset + FIRST_HIGHLIGHT_Y;
}

void DrawMenuBackground() {
    DrawSprite(PANEL_DICTIONARY, PANEL_TEXTURE, PANEL_X, PANEL_Y, PANEL_WIDTH, PANEL_HEIGHT, 0.0f, 0, 0, 0,
               250, 0);
}

void DrawMenuRect(float y, float width, float height, std::int32_t r, std::int32_t g, std::int32_t b,
                  std::int32_t a) {
    DrawRect(RECT_X, y, width, height, r, g, b, a, 1, 1);
}

void DrawMenuHighlight(int row) {
    const float y = MenuHighlightY(row);
    DrawMenuRect(y, HIGHLIGHT_OUTER_WIDTH, HIGHLIGHT_OUTER_HEIGHT, 80, 10, 10, 235);
    DrawMenuRect(y, HIGHLIGHT_INNER_WIDTH, HIGHLIGHT_INNER_HEIGHT, 0, 0, 0, HIGHLIGHT_INNER_ALPHA);
}

void DrawMenuLine(const char* text, int row) {
    DrawTextLine(text, row, false);
}

void DrawMenuLineDimmed(const char* text, int row) {
    DrawTextLine(text, row, true);
}

// Built by hand rather than with snprintf: the model pages build a label every
// frame, and formatting was half of the plug-in's own work there.
const char* NumberLabel(const char* prefix, int value, const char* suffix) {
    char* out = labelBuffers[nextLabelBuffer];
    nextLabelBuffer = (nextLabelBuffer + 1) % LABEL_BUFFER_COUNT;
    char digits[12];
    std::size_t d = sizeof digits;
    digits[--d] = '\0';
    // Work in unsigned so that the most negative value has a magnitude too.
    std::uint32_t magnitude =
        value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
        digits[--d] = static_cast<char>('0' + magnitude % 10u);
        magnitude /= 10u;
    } while (magnitude != 0);
    if (value < 0) digits[--d] = '-';
    std::size_t length = 0;
    out[0] = '\0';
    Append(out, LABEL_BUFFER_SIZE, &length, prefix ? prefix : "");
    Append(out, LABEL_BUFFER_SIZE, &length, digits + d);
    Append(out, LABEL_BUFFER_SIZE, &length, suffix ? suffix : "");
    return out;
}

void ResetMenuDrawing() {
    nextTextBuffer = 0;
    nextLabelBuffer = 0;
}
