// tuning.h: the process settings the Linux stand-in makes before anything else runs.
#pragma once

// Called first thing in main(), before SDL, Mesa or the game allocate anything.
void standinTuneProcess();
