// The child of the Windows kill test (tools/wine-kill-test.sh): the plug-in's
// own SaveRoster, built for Windows, saving for ever in the current folder with
// the roster alternating between two complete rosters, until it is killed.
// It prints "started" as soon as its main runs and "saving" once its first
// saves are done. With "--texts" it prints the two rosters' save texts
// instead, one per line; with "--idle" it says "idle" and sleeps until it is
// killed, keeping the test's wineserver in use between one child and the next.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "kill_rosters.h"
#include "persist/save_file.h"

int main(int argc, char** argv) {
    const savetext::Values a = killrosters::RosterA(), b = killrosters::RosterB();
    if (argc > 1 && std::strcmp(argv[1], "--texts") == 0) {
        std::printf("%s\n%s\n", savetext::Format(a).c_str(), savetext::Format(b).c_str());
        return 0;
    }
    if (argc > 1 && std::strcmp(argv[1], "--idle") == 0) {
        std::printf("idle\n");
        std::fflush(stdout);
        for (;;) Sleep(INFINITE);
    }
    // A child that ends before saying this was never run by Wine; one that
    // ends after it has failed in the save code.
    std::printf("started\n");
    std::fflush(stdout);
    // Say once that the loop is running, after its first two saves, so the
    // test can aim its kills into the loop however slowly Wine starts.
    bool told = false;
    for (;;) {
        killrosters::PutInRoster(b);
        SaveRoster();
        killrosters::PutInRoster(a);
        SaveRoster();
        if (!told) {
            std::printf("saving\n");
            std::fflush(stdout);
            told = true;
        }
    }
}
