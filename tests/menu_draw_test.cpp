// Menu drawing: the panel, the highlight bar and the text lines as the game
// receives them, down to the float bit patterns, and the text copies handed to
// the game through pointers.
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "game_test.h"
#include "menu/draw.h"

using standin::Call;

namespace {

constexpr char PREFIX[] = "<FONT FACE='$title' COLOR='#%04X'>";

std::vector<const Call*> DrawingCalls(standin::CallLog& log, std::size_t mark) {
    return log.SinceExcept(mark, {"scriptWait"});
}

std::vector<std::string> Names(const std::vector<const Call*>& calls) {
    std::vector<std::string> out;
    for (const Call* c : calls) out.push_back(c->name);
    return out;
}

std::uint32_t FloatBits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

}  // namespace

class MenuDraw : public GameTest {};

TEST_F(MenuDraw, PanelIsTheDarkenedMenuSprite) {
    const std::size_t mark = Log().Mark();
    DrawMenuBackground();
    const auto calls = DrawingCalls(Log(), mark);
    ASSERT_EQ(calls.size(), 1u);
    const Call& c = *calls[0];
    ASSERT_STREQ(c.name, "DrawSprite");
    ASSERT_EQ(c.args.size(), 12u);
    EXPECT_EQ(c.S(0), "generic_textures");
    EXPECT_EQ(c.S(1), "hud_menu_4a");
    EXPECT_EQ(c.args[2], 0x3e2c0831u);  // 0.168
    EXPECT_EQ(c.args[3], 0x3ecccccdu);  // 0.4
    EXPECT_EQ(c.args[4], 0x3e8a3d71u);  // 0.27
    EXPECT_EQ(c.args[5], 0x3f000000u);  // 0.5
    EXPECT_EQ(c.args[6], 0u);           // heading 0.0
    EXPECT_EQ(c.args[7], 0u);
    EXPECT_EQ(c.args[8], 0u);
    EXPECT_EQ(c.args[9], 0u);
    EXPECT_EQ(c.args[10], 250u);
    EXPECT_EQ(c.args[11], 0u);
    // Drawn straight away, every time: the texture dictionary is never requested.
    DrawMenuBackground();
    EXPECT_EQ(Names(DrawingCalls(Log(), mark)), (std::vector<std::string>{"DrawSprite", "DrawSprite"}));
}

TEST_F(MenuDraw, HighlightIsARedFrameAroundABlackBarWithAlpha300) {
    struct Case {
        int row;
        std::uint32_t yBits;
    };
    for (const Case k : {Case{0, 0x3e535a86u}, Case{2, 0x3e92a306u}, Case{6, 0x3ee48e8au}}) {
        const std::size_t mark = Log().Mark();
        DrawMenuHighlight(k.row);
        const auto calls = DrawingCalls(Log(), mark);
        ASSERT_EQ(Names(calls), (std::vector<std::string>{"DrawRect", "DrawRect"})) << "row " << k.row;
        const Call& outer = *calls[0];
        const Call& inner = *calls[1];
        const std::vector<std::uint64_t> outerArgs{0x3e2d0e56u, k.yBits, 0x3e5c28f6u, 0x3d27ef9eu, 80,
                                                   10,          10,      235,         1,           1};
        const std::vector<std::uint64_t> innerArgs{0x3e2d0e56u, k.yBits, 0x3e570a3du, 0x3d1374bcu, 0,
                                                   0,           0,       300,         1,           1};
        EXPECT_EQ(outer.args, outerArgs) << "row " << k.row;
        EXPECT_EQ(inner.args, innerArgs) << "row " << k.row;
    }
    // The generic rectangle passes its own size and colour through unchanged.
    const std::size_t mark = Log().Mark();
    DrawMenuRect(0.5f, 0.1f, 0.2f, 1, 2, 3, 4);
    const auto calls = DrawingCalls(Log(), mark);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0]->args, (std::vector<std::uint64_t>{0x3e2d0e56u, FloatBits(0.5f), FloatBits(0.1f),
                                                          FloatBits(0.2f), 1, 2, 3, 4, 1, 1}));
}

TEST_F(MenuDraw, RowPositionsAreComputedInSinglePrecision) {
    // float(row) * 0.04f + 0.19f, each step rounded to single precision. Row 9
    // differs from the double-precision result (0x3f0ccccd) in the last bit.
    const std::uint32_t text[10] = {0x3e428f5c, 0x3e6b851e, 0x3e8a3d70, 0x3e9eb852, 0x3eb33333,
                                    0x3ec7ae14, 0x3edc28f6, 0x3ef0a3d7, 0x3f028f5c, 0x3f0ccccc};
    const std::uint32_t highlight[10] = {0x3e535a86, 0x3e7c5048, 0x3e92a306, 0x3ea71de7, 0x3ebb98c8,
                                         0x3ed013a9, 0x3ee48e8a, 0x3ef9096c, 0x3f06c226, 0x3f10ff97};
    for (int row = 0; row < 10; ++row) {
        EXPECT_EQ(FloatBits(MenuTextY(row)), text[row]) << "row " << row;
        EXPECT_EQ(FloatBits(MenuHighlightY(row)), highlight[row]) << "row " << row;
    }
    // And the game receives exactly that for the lowest row in use.
    const std::size_t mark = Log().Mark();
    DrawMenuLine("Cancel", 9);
    const auto shown = Log().Since(mark, "DisplayText");
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0]->args[1], 0x3d851eb8u);  // x 0.065
    EXPECT_EQ(shown[0]->args[2], 0x3f0cccccu);
    EXPECT_FLOAT_EQ(shown[0]->F(2), 0.55f);
}

TEST_F(MenuDraw, LineIsScaleThenMarkedUpLiteralThenColourStringThenDisplay) {
    const std::size_t mark = Log().Mark();
    DrawMenuLine("Random Bodyguard", 1);
    const auto calls = DrawingCalls(Log(), mark);
    ASSERT_EQ(Names(calls), (std::vector<std::string>{"SetTextScale", "CreateVarString", "CreateVarString",
                                                      "DisplayText"}));
    EXPECT_EQ(calls[0]->args, (std::vector<std::uint64_t>{0x3ecccccdu, 0x3ecccccdu}));

    const Call& literal = *calls[1];
    ASSERT_EQ(literal.args.size(), 3u);
    EXPECT_EQ(literal.args[0], 10u);
    EXPECT_EQ(literal.S(1), "LITERAL_STRING");
    EXPECT_EQ(literal.S(2), std::string(PREFIX) + "Random Bodyguard</FONT>");

    const Call& coloured = *calls[2];
    ASSERT_EQ(coloured.args.size(), 4u);
    EXPECT_EQ(coloured.args[0], 42u);
    EXPECT_EQ(coloured.S(1), "COLOR_STRING");
    EXPECT_EQ(coloured.args[2], 0u);
    EXPECT_EQ(coloured.args[3], literal.result[0]);  // the literal's handle, all 64 bits

    const Call& display = *calls[3];
    EXPECT_EQ(display.args,
              (std::vector<std::uint64_t>{coloured.result[0], 0x3d851eb8u, FloatBits(MenuTextY(1))}));
    EXPECT_EQ(display.args[2], 0x3e6b851eu);
    // The game drew it white (no colour was set) at row 1.
    ASSERT_EQ(World().display.size(), 1u);
    EXPECT_FALSE(World().display[0].colourSet);
    EXPECT_EQ(standin::MenuLineAt(1), "Random Bodyguard");
}

TEST_F(MenuDraw, MarkupPrefixKeepsItsLiteralPercentFormat) {
    const std::size_t mark = Log().Mark();
    DrawMenuLine("", 0);
    DrawMenuLine(nullptr, 1);
    DrawMenuLine("100% sure", 2);
    const auto literals = Log().Since(mark, "CreateVarString");
    ASSERT_EQ(literals.size(), 6u);
    // An empty line still carries the whole markup and makes every text call.
    EXPECT_EQ(literals[0]->S(2), "<FONT FACE='$title' COLOR='#%04X'></FONT>");
    EXPECT_EQ(literals[2]->S(2), "<FONT FACE='$title' COLOR='#%04X'></FONT>");
    EXPECT_EQ(literals[4]->S(2), "<FONT FACE='$title' COLOR='#%04X'>100% sure</FONT>");
    EXPECT_EQ(std::strlen(PREFIX), 34u);
    EXPECT_EQ(Log().Since(mark, "DisplayText").size(), 3u);
    EXPECT_EQ(Log().Since(mark, "SetTextScale").size(), 3u);
}

TEST_F(MenuDraw, DimmedLineSetsGreyAfterScaleAndTheNextNormalLineSetsNoColour) {
    const std::size_t mark = Log().Mark();
    DrawMenuLineDimmed("Outfit", 3);
    DrawMenuLine("Cancel", 4);
    const auto calls = DrawingCalls(Log(), mark);
    ASSERT_EQ(Names(calls), (std::vector<std::string>{"SetTextScale", "SetTextColor", "CreateVarString",
                                                      "CreateVarString", "DisplayText", "SetTextScale",
                                                      "CreateVarString", "CreateVarString", "DisplayText"}));
    EXPECT_EQ(calls[1]->args, (std::vector<std::uint64_t>{100, 100, 100, 235}));
    EXPECT_EQ(calls[2]->S(2), std::string(PREFIX) + "Outfit</FONT>");
    EXPECT_EQ(calls[4]->args[2], FloatBits(MenuTextY(3)));

    const auto lines = standin::MenuLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].dimmed);
    EXPECT_EQ(lines[0].row, 3);
    EXPECT_FALSE(lines[1].dimmed);
    EXPECT_FALSE(World().display[1].colourSet);
}

TEST_F(MenuDraw, LongTextReachesTheGameWholeInsideItsMarkup) {
    // A custom model name may be of any length; the game gets all of it.
    const std::string longText(1000, 'x');
    const std::size_t mark = Log().Mark();
    DrawMenuLine(longText.c_str(), 0);
    const auto literals = Log().Since(mark, "CreateVarString");
    ASSERT_EQ(literals.size(), 2u);
    EXPECT_EQ(literals[0]->S(2), PREFIX + longText + "</FONT>");
}

TEST_F(MenuDraw, TextCopiesAreReusedFrameAfterFrameAndOutliveTheirFrame) {
    // A page of ten lines drawn for many frames: the game is handed copies from
    // a fixed set of buffers, never fresh memory.
    std::set<std::uint64_t> pointers;
    std::vector<std::uint64_t> firstFrame;
    std::vector<std::string> firstTexts;
    for (int frame = 0; frame < 300; ++frame) {
        const std::size_t mark = Log().Mark();
        for (int row = 0; row < 10; ++row) {
            const std::string text = "frame " + std::to_string(frame) + " row " + std::to_string(row);
            DrawMenuLine(text.c_str(), row);
        }
        const auto calls = Log().Since(mark, "CreateVarString");
        ASSERT_EQ(calls.size(), 20u);
        for (std::size_t i = 0; i < calls.size(); i += 2) {
            pointers.insert(calls[i]->args[2]);
            if (frame == 0) {
                firstFrame.push_back(calls[i]->args[2]);
                firstTexts.push_back(calls[i]->S(2));
            }
        }
        if (frame == 1) {
            // The game may draw a frame's text after the script has moved on to
            // the next one: the previous frame's copies are still intact.
            for (std::size_t i = 0; i < firstFrame.size(); ++i) {
                EXPECT_EQ(std::string(reinterpret_cast<const char*>(firstFrame[i])), firstTexts[i])
                    << "line " << i;
            }
        }
        Log().Clear();
    }
    EXPECT_LE(pointers.size(), 32u);
    EXPECT_GE(pointers.size(), 10u);  // ten lines of one frame never share a buffer
}

TEST_F(MenuDraw, NumberLabelsAreDecimalWithoutPaddingAndSurviveSeveralLabels) {
    EXPECT_STREQ(NumberLabel("Model - ", 5, " -"), "Model - 5 -");
    EXPECT_STREQ(NumberLabel("Outfit - ", -1, " -"), "Outfit - -1 -");
    EXPECT_STREQ(NumberLabel("", INT32_MIN, ""), "-2147483648");
    EXPECT_STREQ(NumberLabel("Longarm ", INT32_MAX, ""), "Longarm 2147483647");

    // A page builds several labels before drawing them: each keeps its text.
    const char* a = NumberLabel("Outfit - ", 3, " -");
    const char* b = NumberLabel("Sidearm - ", 12, " -");
    const char* c = NumberLabel("Longarm - ", 0, " -");
    EXPECT_STREQ(a, "Outfit - 3 -");
    EXPECT_STREQ(b, "Sidearm - 12 -");
    EXPECT_STREQ(c, "Longarm - 0 -");

    // The labels come from a fixed ring and a huge prefix is cut, not overflowed.
    std::set<const char*> seen;
    const std::string huge(5000, 'p');
    for (int i = 0; i < 100; ++i) seen.insert(NumberLabel(huge.c_str(), i, " -"));
    EXPECT_LE(seen.size(), 8u);
    EXPECT_LT(std::strlen(NumberLabel(huge.c_str(), 1, "")), 200u);
}
