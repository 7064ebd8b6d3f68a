// The player's own model list, "Tavrossimer_CustomPeds.txt": which lines become
// names, and the catalogue's list 4 that points at them.
#include "persist/custom_peds.h"

#include <string>
#include <vector>

#include "catalog/catalog.h"
#include "game_test.h"
#include "roster/roster.h"

namespace {

using Names = std::vector<std::string>;

Names CatalogueList4() {
    Names out;
    const ModelList& list = modelCatalogue[CATEGORY_CUSTOM];
    for (int i = 0; i < list.count; ++i) out.emplace_back(list.names[i]);
    return out;
}

}  // namespace

class CustomPedList : public GameTest {
  protected:
    Names Load(const std::string& content) {
        WriteFile(CUSTOM_PEDS_FILE_NAME, content);
        LoadCustomPedList();
        return CatalogueList4();
    }
};

TEST_F(CustomPedList, HeaderIsNeverANameAndEndListStopsReading) {
    EXPECT_EQ(Load("A_M_M_UniCoachGuards_01\nCS_dutch\nCS_lenny\nEND_LIST\nCS_sean\n"),
              (Names{"CS_dutch", "CS_lenny"}));
    // The catalogue rows are the names' own text, in file order.
    ASSERT_EQ(customPedNames.size(), 2u);
    EXPECT_EQ(modelCatalogue[CATEGORY_CUSTOM].names[0], customPedNames[0].c_str());
    EXPECT_EQ(modelCatalogue[CATEGORY_CUSTOM].names[1], customPedNames[1].c_str());
}

TEST_F(CustomPedList, EndListAsHeaderMeansAnEmptyList) {
    EXPECT_TRUE(Load("END_LIST\nCS_dutch\nCS_lenny\n").empty());
    EXPECT_EQ(modelCatalogue[CATEGORY_CUSTOM].count, 0);
    EXPECT_TRUE(Load("END_LIST\r\nCS_dutch\r\n").empty());
}

TEST_F(CustomPedList, OnlyTheExactWholeLineEndsTheList) {
    EXPECT_EQ(Load("My bodyguards\nEND_LIST \nend_list\n END_LIST\nEND_LISTS\nCS_dutch\nEND_LIST\nCS_sean\n"),
              (Names{"END_LIST ", "end_list", " END_LIST", "END_LISTS", "CS_dutch"}));
}

TEST_F(CustomPedList, NamesAreVerbatimEmptyLinesSkippedAndLineEndsRemoved) {
    // Windows line ends, empty lines (also "\r\n" alone), spaces and tabs kept,
    // a name twice gives two rows, and the last line needs no line break.
    EXPECT_EQ(Load("header\r\n\r\n\n CS_dutch\r\nCS_lenny  \t\r\n\nCS_lenny\nCS_sean"),
              (Names{" CS_dutch", "CS_lenny  \t", "CS_lenny", "CS_sean"}));
    // Only a CR right before the LF is a line end; one elsewhere is text.
    EXPECT_EQ(Load("header\nCS_du\rtch\nCS_sean\r"), (Names{"CS_du\rtch", "CS_sean\r"}));
    // END_LIST written with a Windows line end still ends the list.
    EXPECT_EQ(Load("header\r\nCS_dutch\r\nEND_LIST\r\nCS_sean\r\n"), (Names{"CS_dutch"}));
    // A Ctrl-Z ends the file, as in a Windows text-mode read: what stands
    // before it on its line is the last name.
    EXPECT_EQ(Load("header\r\nCS_dutch\r\nCS_se\x1A"
                   "an\r\nCS_lenny\r\n"),
              (Names{"CS_dutch", "CS_se"}));
    EXPECT_EQ(Load("header\nCS_dutch\n\x1A"
                   "CS_sean\n"),
              (Names{"CS_dutch"}));
    EXPECT_TRUE(Load("head\x1A"
                     "er\nCS_dutch\n")
                    .empty());
}

TEST_F(CustomPedList, MissingOrEmptyFileGivesNoModels) {
    LoadCustomPedList();
    EXPECT_TRUE(CatalogueList4().empty());
    EXPECT_TRUE(Load("").empty());
    EXPECT_TRUE(Load("only a header\n").empty());
    EXPECT_TRUE(Load("only a header").empty());
}

TEST_F(CustomPedList, HasNoLimitOnCountOrLength) {
    std::string content = "header\n";
    Names expected;
    for (int i = 0; i < 5000; ++i) {
        expected.push_back("MODEL_" + std::to_string(i));
        content += expected.back() + "\n";
    }
    expected.push_back(std::string(4000, 'x'));
    content += expected.back() + "\n";
    EXPECT_EQ(Load(content), expected);
}

TEST_F(CustomPedList, IsFilledAtStartBeforeTheSavedRosterComesBack) {
    WriteFile(CUSTOM_PEDS_FILE_NAME, "header\nCS_dutch\nU_M_M_ValSheriff_01\nEND_LIST\n");
    // Slot 0: custom list row 1, Cattleman, no second gun, Carbine, outfit 3.
    std::string save = " 4 1 1 0 1 3";
    for (int i = 0; i < 6; ++i) save += " -1 -1 0 0 0 0";
    save += " 11";
    WriteFile("Tavrossimer.dat", save);
    StartAndSettle(10);

    EXPECT_EQ(CatalogueList4(), (Names{"CS_dutch", "U_M_M_ValSheriff_01"}));
    ASSERT_NE(roster[0].ped, 0);
    const standin::Ped* ped = World().FindPed(roster[0].ped);
    ASSERT_NE(ped, nullptr);
    EXPECT_EQ(ped->model, standin::GameHash("U_M_M_ValSheriff_01"));
}
