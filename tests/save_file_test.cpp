// The roster save file: its exact text, every reading rule for short, damaged,
// out-of-range and hand-reformatted files, and the replacement that never
// leaves a short file or a stray temporary behind.
#include "persist/save_file.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "kill_rosters.h"
#include "menu/state.h"
#include "menu_game.h"
#include "roster/roster.h"
#include "save_text.h"

using killrosters::RosterValues;
using savetext::StartupValues;

class SaveFile : public MenuGameTest {
  protected:
    // Loads `content` into a roster in its startup state.
    savetext::Values Load(const std::string& content) {
        killrosters::ClearRosterAsAtStartup();
        WriteFile(SAVE_FILE_NAME, content);
        LoadRoster();
        return RosterValues();
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
    const savetext::Values saved = RosterValues();
    EXPECT_EQ(Load(text), saved);
    EXPECT_EQ(Entries(), std::vector<std::string>{"Tavrossimer.dat"});
}

TEST_F(SaveFile, LayoutOfWhitespaceDoesNotMatter) {
    std::string byLine = "4\r\n\t12\n+2\n9\v5\f-1";
    for (int i = 6; i < 43; ++i) byLine += "\n" + std::to_string(i == 42 ? 3 : -1);
    savetext::Values expected{4, 12, 2, 9, 5, -1};
    std::fill(expected.begin() + 6, expected.end(), -1);
    expected[42] = 3;
    EXPECT_EQ(Load(byLine), expected);
    // Text after the 43rd value is ignored.
    EXPECT_EQ(Load(byLine + " 77 x"), expected);
}

TEST_F(SaveFile, ShortFileFillsOnlyWhatItHolds) {
    savetext::Values expected = StartupValues();
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
        savetext::Values withSeven = expected;
        withSeven[10] = 7;
        return withSeven;
    }());
    EXPECT_EQ(Load(""), StartupValues());
    std::remove(SAVE_FILE_NAME);
    for (BodyguardRecord& r : roster) ClearRecord(r);
    LoadRoster();  // a missing file loads nothing
    EXPECT_EQ(RosterValues(), StartupValues());
}

TEST_F(SaveFile, ReadingStopsForGoodAtTheFirstUnreadableValue) {
    savetext::Values expected = StartupValues();
    expected[0] = 0;
    EXPECT_EQ(Load("x 1 2 3"), expected);
    EXPECT_EQ(Load(" - 5"), expected);  // a sign without digits reads as nothing

    // Digits followed at once by letters give the digits; the next value meets the letters.
    expected = StartupValues();
    expected[0] = 12;
    expected[1] = 0;
    EXPECT_EQ(Load(" 12abc 7 7"), expected);

    expected = StartupValues();
    expected[0] = 1;
    expected[1] = INT32_MAX;
    EXPECT_EQ(Load(" 1 2147483648 5"), expected);
    expected[1] = INT32_MIN;
    EXPECT_EQ(Load(" 1 -99999999999999999999999 5"), expected);

    expected = StartupValues();
    expected[0] = INT32_MIN;
    expected[1] = INT32_MAX;
    expected[2] = 7;
    EXPECT_EQ(Load("-2147483648 2147483647 007"), expected);  // the extremes themselves are in range
}

// What the player ends up with when the game folder is not as the save
// expects it. Each case starts from an old save " old" and saves a roster whose
// file starts " 2 -". Cases run as a player would: in a child process without
// root's rights (root ignores file modes), optionally with a file size limit.
struct FolderCase {
    const char* what;
    void (*arrange)();
    mode_t folderMode;
    rlim_t fileSizeLimit;       // RLIM_INFINITY: none
    const char* saveAfter;      // "new", "old", or "none" (no file of that name)
    bool temporaryNameRemains;  // something that is not ours keeps the temporary's name
};

void PrintTo(const FolderCase& c, std::ostream* out) {
    *out << c.what;
}

void WriteOld(const char* name, mode_t mode) {
    std::FILE* f = std::fopen(name, "wb");
    std::fputs(" old", f);
    std::fclose(f);
    chmod(name, mode);
}

const FolderCase FOLDER_CASES[] = {
    {"nothing in the way", [] { WriteOld("Tavrossimer.dat", 0666); }, 0777, RLIM_INFINITY, "new", false},
    {"a stale read-only temporary file",
     [] {
         WriteOld("Tavrossimer.dat", 0666);
         WriteOld("Tavrossimer.dat.tmp", 0444);
     },
     0777, RLIM_INFINITY, "new", false},
    {"a non-empty folder named like the temporary file",
     [] {
         WriteOld("Tavrossimer.dat", 0666);
         mkdir("Tavrossimer.dat.tmp", 0777);
         WriteOld("Tavrossimer.dat.tmp/inside", 0666);
     },
     0777, RLIM_INFINITY, "new", true},
    {"a folder refusing new files, the save writable", [] { WriteOld("Tavrossimer.dat", 0666); }, 0555,
     RLIM_INFINITY, "new", false},
    {"a read-only save", [] { WriteOld("Tavrossimer.dat", 0444); }, 0777, RLIM_INFINITY, "old", false},
    {"a folder named Tavrossimer.dat",
     [] {
         mkdir("Tavrossimer.dat", 0777);
         WriteOld("Tavrossimer.dat/inside", 0666);
     },
     0777, RLIM_INFINITY, "none", false},
    {"a full disk (a 64-byte file size limit)", [] { WriteOld("Tavrossimer.dat", 0666); }, 0777, 64, "old",
     false},
    {"a full disk (the temporary name leads to /dev/full)",
     [] {
         WriteOld("Tavrossimer.dat", 0666);
         symlink("/dev/full", "Tavrossimer.dat.tmp");
     },
     0777, RLIM_INFINITY, "old", false},
};

class SaveFolder : public SaveFile, public ::testing::WithParamInterface<FolderCase> {
  protected:
    // Saves in a child process as nobody, in a folder of mode `folderMode`.
    // Returns the child's exit status: 0 saved, 3 root's rights could not be dropped.
    int SaveAsPlayer(mode_t folderMode, rlim_t fileSizeLimit) {
        struct stat folder {};
        stat(".", &folder);
        chmod(".", folderMode);
        const pid_t child = fork();
        if (child == 0) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
            if (fileSizeLimit != RLIM_INFINITY) {
                std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
                const rlimit limit{fileSizeLimit, fileSizeLimit};
                if (setrlimit(RLIMIT_FSIZE, &limit) != 0) _exit(4);
            }
            SaveRoster();
            _exit(0);
        }
        int status = -1;
        waitpid(child, &status, 0);
        chmod(".", folder.st_mode & 07777);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
};

TEST_P(SaveFolder, EndsWithTheNewSaveOrTheOldOneAndNoStrayFile) {
    const FolderCase& c = GetParam();
    c.arrange();
    roster[0].modelCategory = 2;
    const int status = SaveAsPlayer(c.folderMode, c.fileSizeLimit);
    if (status == 3) GTEST_SKIP() << "root's rights cannot be dropped on this machine";
    ASSERT_EQ(status, 0);

    struct stat save {};
    const bool saveIsFile = lstat(SAVE_FILE_NAME, &save) == 0 && S_ISREG(save.st_mode);
    const std::string after = !saveIsFile ? "none" : ReadFile(SAVE_FILE_NAME) == " old" ? "old" : "new";
    EXPECT_EQ(after, c.saveAfter);
    if (after == "new") {
        EXPECT_EQ(ReadFile(SAVE_FILE_NAME).substr(0, 4), " 2 -");
    }
    EXPECT_EQ(FileExists("Tavrossimer.dat.tmp"), c.temporaryNameRemains);
    if (c.temporaryNameRemains) {
        EXPECT_EQ(ReadFile("Tavrossimer.dat.tmp/inside"), " old");  // not ours: untouched
    }
    EXPECT_EQ(FolderEntries().size(), 1u + (c.temporaryNameRemains ? 1u : 0u));
}

INSTANTIATE_TEST_SUITE_P(Cases, SaveFolder, ::testing::ValuesIn(FOLDER_CASES),
                         [](const ::testing::TestParamInfo<FolderCase>& info) {
                             return "Case" + std::to_string(info.index);
                         });

// The new text is on the disk before the rename makes it the save: this test
// program stands in for the C library's fsync and rename (doing their work with
// the system calls) and notes what the temporary file holds at each.
namespace {
bool noteSteps = false;
std::vector<std::string> steps;

std::string PathOfDescriptor(int fd) {
    char path[512] = {};
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    const ssize_t n = readlink(link.c_str(), path, sizeof path - 1);
    if (n <= 0) return "";
    const std::string p(path, static_cast<std::size_t>(n));
    return p.substr(p.rfind('/') + 1);
}

bool OpenInThisProcess(const char* name) {
    for (int fd = 0; fd < 1024; ++fd)
        if (PathOfDescriptor(fd) == name) return true;
    return false;
}
}  // namespace

extern "C" int fsync(int fd) {
    if (noteSteps) {
        struct stat st {};
        fstat(fd, &st);
        steps.push_back("flush " + PathOfDescriptor(fd) + " holding " + std::to_string(st.st_size) +
                        " bytes");
    }
    return static_cast<int>(syscall(SYS_fsync, fd));
}

extern "C" int rename(const char* from, const char* to) {
    if (noteSteps) {
        steps.push_back(std::string("rename ") + from +
                        (OpenInThisProcess(from) ? " (still open)" : " (closed)") + " over " + to);
    }
    return static_cast<int>(syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
}

TEST_F(SaveFile, WritesFlushesClosesThenRenames) {
    WriteFile(SAVE_FILE_NAME, " old");
    noteSteps = true;
    SaveRoster();
    noteSteps = false;
    EXPECT_EQ(steps, (std::vector<std::string>{"flush Tavrossimer.dat.tmp holding 101 bytes",
                                               "rename Tavrossimer.dat.tmp (closed) over Tavrossimer.dat"}));
    EXPECT_EQ(ReadFile(SAVE_FILE_NAME), AllFreeSave());
}
