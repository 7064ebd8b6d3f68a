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
#include "script_calls.h"

namespace {

constexpr char PREFIX[] = "<FONT FACE='$title' COLOR='#%04X'>";

// The expected calls, with {PREFIX} for the markup every line starts with.
Transcript Expected(const std::string& text) {
    return ExpectedCalls(text, {{"{PREFIX}", PREFIX}});
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
    // Drawn straight away, every time: the texture dictionary is never requested.
    DrawMenuBackground();
    const std::string sprite =
        R"(DrawSprite("generic_textures", "hud_menu_4a", 0.168, 0.4, 0.27, 0.5, 0, 0, 0, 0, 250, 0))";
    EXPECT_EQ(CallsSince(mark), (Transcript{sprite, sprite}));
}

TEST_F(MenuDraw, HighlightIsARedFrameAroundABlackBarWithAlpha300) {
    for (const auto& [row, y] : {std::pair{0, "0.2064"}, {2, "0.28640002"}, {6, "0.4464"}}) {
        const std::size_t mark = Log().Mark();
        DrawMenuHighlight(row);
        const Transcript expected = ExpectedCalls(R"(
            DrawRect(0.169, {y}, 0.215, 0.041, 80, 10, 10, 235, 1, 1)
            DrawRect(0.169, {y}, 0.21, 0.036, 0, 0, 0, 300, 1, 1)
        )",
                                                  {{"{y}", y}});
        EXPECT_EQ(CallsSince(mark), expected) << "row " << row;
    }
    // The generic rectangle passes its own size and colour through unchanged.
    const std::size_t mark = Log().Mark();
    DrawMenuRect(0.5f, 0.1f, 0.2f, 1, 2, 3, 4);
    EXPECT_EQ(CallsSince(mark), Transcript{"DrawRect(0.169, 0.5, 0.1, 0.2, 1, 2, 3, 4, 1, 1)"});
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
    // And the game receives exactly that for the lowest row in use: 0.54999995, not 0.55.
    const std::size_t mark = Log().Mark();
    DrawMenuLine("Cancel", 9);
    EXPECT_EQ(CallsNamed(mark, {"DisplayText"}),
              Expected(R"t(DisplayText(T"COLOR_STRING({PREFIX}Cancel</FONT>)", 0.065, 0.54999995))t"));
}

TEST_F(MenuDraw, LineIsScaleThenMarkedUpLiteralThenColourStringThenDisplay) {
    const std::size_t mark = Log().Mark();
    DrawMenuLine("Random Bodyguard", 1);
    // The colour string takes the literal's handle, all 64 bits, and is what is displayed.
    EXPECT_EQ(CallsSince(mark), Expected(R"t(
        SetTextScale(0.4, 0.4)
        CreateVarString(10, "LITERAL_STRING", "{PREFIX}Random Bodyguard</FONT>")
        CreateVarString(42, "COLOR_STRING", 0, T"{PREFIX}Random Bodyguard</FONT>")
        DisplayText(T"COLOR_STRING({PREFIX}Random Bodyguard</FONT>)", 0.065, 0.22999999)
    )t"));
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
    // An empty line still carries the whole markup and makes every text call.
    EXPECT_EQ(CallsNamed(mark, {"SetTextScale", "DisplayText"}).size(), 6u);
    EXPECT_EQ(CallsNamed(mark, {"CreateVarString"}), ExpectedCalls(R"(
        CreateVarString(10, "LITERAL_STRING", "<FONT FACE='$title' COLOR='#%04X'></FONT>")
        CreateVarString(42, "COLOR_STRING", 0, T"<FONT FACE='$title' COLOR='#%04X'></FONT>")
        CreateVarString(10, "LITERAL_STRING", "<FONT FACE='$title' COLOR='#%04X'></FONT>")
        CreateVarString(42, "COLOR_STRING", 0, T"<FONT FACE='$title' COLOR='#%04X'></FONT>")
        CreateVarString(10, "LITERAL_STRING", "<FONT FACE='$title' COLOR='#%04X'>100% sure</FONT>")
        CreateVarString(42, "COLOR_STRING", 0, T"<FONT FACE='$title' COLOR='#%04X'>100% sure</FONT>")
    )"));
}

TEST_F(MenuDraw, DimmedLineSetsGreyAfterScaleAndTheNextNormalLineSetsNoColour) {
    const std::size_t mark = Log().Mark();
    DrawMenuLineDimmed("Outfit", 3);
    DrawMenuLine("Cancel", 4);
    EXPECT_EQ(CallsSince(mark), Expected(R"t(
        SetTextScale(0.4, 0.4)
        SetTextColor(100, 100, 100, 235)
        CreateVarString(10, "LITERAL_STRING", "{PREFIX}Outfit</FONT>")
        CreateVarString(42, "COLOR_STRING", 0, T"{PREFIX}Outfit</FONT>")
        DisplayText(T"COLOR_STRING({PREFIX}Outfit</FONT>)", 0.065, 0.31)
        SetTextScale(0.4, 0.4)
        CreateVarString(10, "LITERAL_STRING", "{PREFIX}Cancel</FONT>")
        CreateVarString(42, "COLOR_STRING", 0, T"{PREFIX}Cancel</FONT>")
        DisplayText(T"COLOR_STRING({PREFIX}Cancel</FONT>)", 0.065, 0.35)
    )t"));

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
    const std::string text = PREFIX + longText + "</FONT>";
    EXPECT_EQ(CallsNamed(mark, {"CreateVarString"}),
              (Transcript{"CreateVarString(10, \"LITERAL_STRING\", \"" + text + "\")",
                          "CreateVarString(42, \"COLOR_STRING\", 0, T\"" + text + "\")"}));
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
