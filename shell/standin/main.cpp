// main.cpp: the process entry on Linux; hands the command line to WinMain as Windows would.
#include "shell/standin/tuning.h"
#include "shell/standin/winapi.h"

#include <SDL.h>

#include <string>

namespace {
int moduleInstance;  // its address stands for the module instance handle
}

int main(int argc, char** argv)
{
    standinTuneProcess();
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    int result = WinMain(reinterpret_cast<HINSTANCE>(&moduleInstance), nullptr,
                         &commandLine[0], SW_SHOWNORMAL);
    SDL_Quit();
    return result;
}
