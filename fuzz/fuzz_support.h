// fuzz_support.h: test doubles for GetTickCount and requestQuit, and a scratch folder.
#pragma once

#include "game/game_state.h"

// What GetTickCount returns.
extern DWORD fuzzTickCount;
// Calls of requestQuit so far.
extern int fuzzQuitRequests;

// Make a temporary folder of the fuzzer's own the working directory for one input (there
// "Highscore.hsc" lands), and go back to where the fuzzer was.
void enterScratchFolder();
void leaveScratchFolder();
