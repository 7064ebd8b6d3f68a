// The roster save file: its exact text, every reading rule for short, damaged,
// out-of-range and hand-reformatted files, and the replacement that never
// leaves a short file or a stray temporary behind.
#include "persist/save_file.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <vector>

#include "menu/state.h"
#include "menu_game.h"
#include "roster/roster.h"

namespace {

// The 43 loaded fields, in file order.
std::vector<int> Fields() {
    std::vector<int> out;
    for (const BodyguardRecord& r : roster) {
        out.insert(out.end(),
                   {r.modelCategory, r.modelIndex, r.sidearm, r.secondSidearm, r.longarm, r.outfit});
    }
    out.push_back(formationMode);
    return out;
}

std::vector<int> StartupFields() {
    std::vector<int> out;
    for (int slot = 0; slot < ROSTER_SIZE; ++slot) out.insert(out.end(), {-1, -1, 0, 0, 0, 0});
    out.push_back(11);
    return out;
}

}  // namespace

class SaveFile : public MenuGameTest {
  protected:
    // Loads `content` into a roster in its startup state.
    std::vector<int> Load(const std::string& content) {
        for (BodyguardRecord& r : roster) ClearRecord(r);
        formationMode = FORMATION_AUTO;
        WriteFile(SAVE_FILE_NAME, content);
        LoadRoster();
        return Fields();
    }
    std::vector<std::string> Entries() {
        std::vector<std::string> e = FolderEntries();
        std::sort(e.begin(), e.end());
        return e;
    }
};

TEST_F(SaveFile, WritesFortyThreeSpacedValuesAndReadsThemBack) {
    SaveRoster();
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME), AllFreeSave());
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME).size(), 101u);

    roster[1].modelCategory = 4;
    roster[1].modelIndex = 12;
    roster[1].sidearm = 2;
    roster[1].secondSidearm = 9;
    roster[1].longarm = 5;
    roster[1].outfit = -1;
    roster[6].modelIndex = INT32_MIN;
    formationMode = 3;
    SaveRoster();
    const std::string text = ReadFile(SAVE_FILE_NAME);
    std::string expected = " -1 -1 0 0 0 0 4 12 2 9 5 -1";
    for (int slot = 2; slot < 6; ++slot) expected += " -1 -1 0 0 0 0";
    EXPECT_EQ(text, expected + " -1 -2147483648 0 0 0 0 3");
    const std::vector<int> saved = Fields();
    EXPECT_EQ(Load(text), saved);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrossimer.dat"});
}

TEST_F(SaveFile, LayoutOfWhitespaceDoesNotMatter) {
    std::string byLine = "4\r\n\t12\n+2\n9\v5\f-1";
    for (int i = 6; i < 43; ++i) byLine += "\n" + std::to_string(i == 42 ? 3 : -1);
    std::vector<int> expected = {4, 12, 2, 9, 5, -1};
    expected.resize(43, -1);
    expected[42] = 3;
    EXPECT_EQ(Load(byLine), expected);
    // Text after the 43rd value is ignored.
    EXPECT_EQ(Load(byLine + " 77 x"), expected);
}

TEST_F(SaveFile, ShortFileFillsOnlyWhatItHolds) {
    std::vector<int> expected = StartupFields();
    const int values[10] = {0, 3, 2, 0, 4, 6, 1, 0, 1, 9};
    std::string text;
    for (int i = 0; i < 10; ++i) {
        text += " " + std::to_string(values[i]);
        expected[i] = values[i];
    }
    EXPECT_EQ(Load(text), expected);  // slot 1 keeps longarm 0 and outfit 0
    // A Ctrl-Z ends the file, as in a Windows text-mode read, even inside a number.
    EXPECT_EQ(Load(text + "\x1A 5 5 5"), expected);
    EXPECT_EQ(Load(text + " 7\x1A" + "8 5"), [&] {
        std::vector<int> withSeven = expected;
        withSeven[10] = 7;
        return withSeven;
    }());
    EXPECT_EQ(Load(""), StartupFields());
    std::remove(SAVE_FILE_NAME);
    for (BodyguardRecord& r : roster) ClearRecord(r);
    LoadRoster();  // a missing file loads nothing
    EXPECT_EQ(Fields(), StartupFields());
}

TEST_F(SaveFile, ReadingStopsForGoodAtTheFirstUnreadableValue) {
    std::vector<int> expected = StartupFields();
    expected[0] = 0;
    EXPECT_EQ(Load("x 1 2 3"), expected);
    EXPECT_EQ(Load(" - 5"), expected);  // a sign without digits reads as nothing

    // Digits followed at once by letters give the digits; the next value meets the letters.
    expected = StartupFields();
    expected[0] = 12;
    expected[1] = 0;
    EXPECT_EQ(Load(" 12abc 7 7"), expected);

    expected = StartupFields();
    expected[0] = 1;
    expected[1] = INT32_MAX;
    EXPECT_EQ(Load(" 1 2147483648 5"), expected);
    expected[1] = INT32_MIN;
    EXPECT_EQ(Load(" 1 -99999999999999999999999 5"), expected);

    expected = StartupFields();
    expected[0] = INT32_MIN;
    expected[1] = INT32_MAX;
    expected[2] = 7;
    EXPECT_EQ(Load("-2147483648 2147483647 007"), expected);  // the extremes themselves are in range
}

TEST_F(SaveFile, FailedSaveKeepsTheOldFileAndLeavesNothingBehind) {
    WriteFile(SAVE_FILE_NAME, " old");
    roster[0].modelCategory = 2;

    // The temporary name is taken by a directory: nothing can be written.
    ASSERT_EQ(mkdir("Tavrossimer.dat.tmp", 0700), 0);
    SaveRoster();
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME), " old");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"Tavrossimer.dat", "Tavrossimer.dat.tmp"}));
    ASSERT_EQ(rmdir("Tavrossimer.dat.tmp"), 0);

    // The disk is full: the write fails, the partial new file goes.
    ASSERT_EQ(symlink("/dev/full", "Tavrossimer.dat.tmp"), 0);
    SaveRoster();
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME), " old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrossimer.dat"});

    // The old file cannot be replaced (a directory holds its name).
    std::remove(SAVE_FILE_NAME);
    ASSERT_EQ(mkdir(SAVE_FILE_NAME, 0700), 0);
    ASSERT_EQ(mkdir("Tavrossimer.dat/inside", 0700), 0);
    SaveRoster();
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrossimer.dat"});
    ASSERT_EQ(rmdir("Tavrossimer.dat/inside"), 0);
    ASSERT_EQ(rmdir(SAVE_FILE_NAME), 0);

    // Once the way is clear, the save goes through.
    SaveRoster();
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME).substr(0, 4), " 2 -");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrossimer.dat"});
}

TEST_F(SaveFile, SaveFileThatCannotBeOpenedForWritingStaysAsItWas) {
    WriteFile(SAVE_FILE_NAME, " old");
    ASSERT_EQ(chmod(SAVE_FILE_NAME, 0444), 0);
    roster[0].modelCategory = 2;

    // The save runs in a child without root's right to write anything, in a
    // folder it may create files in, so only the file's own mode stands in
    // the way.
    struct stat folder {};
    ASSERT_EQ(stat(".", &folder), 0);
    ASSERT_EQ(chmod(".", 0777), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
        SaveRoster();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_EQ(chmod(".", folder.st_mode & 07777), 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    if (WEXITSTATUS(status) == 3) GTEST_SKIP() << "root's rights cannot be dropped on this machine";
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME), " old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrossimer.dat"});

    // Writable again, the next save goes through.
    ASSERT_EQ(chmod(SAVE_FILE_NAME, 0644), 0);
    SaveRoster();
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME).substr(0, 4), " 2 -");
}
