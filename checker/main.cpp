// tavrossimer-check [FOLDER]: reads Tavrossimer.ini, Tavrossimer.dat and
// Tavrossimer_CustomPeds.txt in the game folder (the current one by default)
// and says what the plug-in will make of them.
//
// Exit status: 0 nothing to report, 1 a problem or a warning, 2 a file that is
// there could not be read (or the folder could not be opened).
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <direct.h>
#define ChangeFolder _chdir
#else
#include <unistd.h>
#define ChangeFolder chdir
#endif

#include "report.h"

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))) {
        std::printf(
            "usage: tavrossimer-check [FOLDER]\n"
            "Reads Tavrossimer.ini, Tavrossimer_CustomPeds.txt and Tavrossimer.dat in FOLDER (the game\n"
            "folder; the current folder by default) and says what Tavrossimer will make of them.\n"
            "Exit status: 0 nothing to report, 1 a problem or a warning, 2 a file could not be read.\n");
        return argc > 2 ? 2 : 0;
    }
    const char* folder = argc == 2 ? argv[1] : ".";
    // The plug-in opens its files by bare name in the folder it runs in.
    if (ChangeFolder(folder) != 0) {
        std::fprintf(stderr, "tavrossimer-check: cannot open the folder %s\n", folder);
        return 2;
    }
    std::printf("Tavrossimer files in %s\n", folder);
    Report report{stdout, 0, 0, false};
    return CheckGameFolder(report);
}
