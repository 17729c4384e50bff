// fuzz_support.cpp: the two platform calls of the rules for the fuzz targets, and a scratch
// working directory for the high-score file.
#include "fuzz_support.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

DWORD fuzzTickCount;
int fuzzQuitRequests;

DWORD GetTickCount(void)
{
    return fuzzTickCount;
}

void requestQuit(const GameWindow&)
{
    ++fuzzQuitRequests;
}

static char folder[64];
static int previousFolder = -1;

// Leaves nothing behind when the fuzzer ends normally.
static void removeScratchFolder()
{
    if (chdir(folder) == 0) {
        std::remove("Highscore.hsc");
        std::remove("Highscore.hsc.tmp");
    }
    if (chdir("/") == 0) {
        rmdir(folder);
    }
}

// Made once, in a tmpfs when there is one: the exit commands fsync the file they save.
static void makeScratchFolder()
{
    std::snprintf(folder, sizeof folder, "%s", "/dev/shm/snake_fuzz_XXXXXX");
    if (mkdtemp(folder) == nullptr) {
        std::snprintf(folder, sizeof folder, "%s", "/tmp/snake_fuzz_XXXXXX");
        if (mkdtemp(folder) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
    }
    std::atexit(removeScratchFolder);
}

// Only for the length of one input: libFuzzer's own paths (corpus, artifacts) may be relative.
void enterScratchFolder()
{
    if (folder[0] == '\0') {
        makeScratchFolder();
    }
    previousFolder = open(".", O_RDONLY | O_DIRECTORY);
    if (previousFolder < 0 || chdir(folder) != 0) {
        std::perror("entering the scratch folder");
        std::abort();
    }
}

void leaveScratchFolder()
{
    if (fchdir(previousFolder) != 0) {
        std::perror("leaving the scratch folder");
        std::abort();
    }
    close(previousFolder);
    previousFolder = -1;
}
