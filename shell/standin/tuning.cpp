// tuning.cpp: the process settings the Linux stand-in makes before anything else runs.
#include "shell/standin/tuning.h"

#include <malloc.h>

namespace {

// Blocks freed at the top of the heap are kept up to this much, instead of going back to the
// system at once.
const int keptHeapTop = 64 * 1024 * 1024;
// Requests up to this size come from the heap, not from a fresh mapping of their own.
const int largestHeapRequest = 32 * 1024 * 1024;

}  // namespace

// Mesa's software rasteriser (llvmpipe) bins every frame's triangles into blocks of 64 KB and
// frees them all when the frame is drawn; its upload buffers are 1 MB. With glibc's defaults
// the freed heap top goes back to the system after every frame and comes back page by page in
// the next: a few thousand page faults and ten megabytes of zeroing per frame at 101 spheres.
// Keeping the heap (and taking the large buffers from it) removes that churn; the memory the
// game holds stays at the size of its largest frame.
void standinTuneProcess()
{
    mallopt(M_MMAP_THRESHOLD, largestHeapRequest);
    mallopt(M_TRIM_THRESHOLD, keptHeapTop);
}
