// high_score.cpp: the best score and its one-number file "Highscore.hsc".
#include <cctype>
#include <climits>
#include <cstdio>

#include "game/game_state.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

int highScore;
const char highScoreFileName[] = "Highscore.hsc";

// The new content is written here first and renamed over the file only when complete.
static const char highScoreTempName[] = "Highscore.hsc.tmp";

// Reads a number the way "%d\n" does: white space, an optional sign, at least one digit.
// Returns 0 when there is no number, when it does not fit in an int, or on a read error.
static int readNumber(FILE* file, int* value)
{
    int c = std::fgetc(file);
    while (c != EOF && std::isspace(c)) {
        c = std::fgetc(file);
    }
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = (c == '-');
        c = std::fgetc(file);
    }
    // Accumulated as a magnitude; INT_MIN's magnitude is one more than INT_MAX.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long magnitude = 0;
    int digits = 0;
    while (c != EOF && std::isdigit(c)) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit) {
            return 0;
        }
        ++digits;
        c = std::fgetc(file);
    }
    if (digits == 0 || std::ferror(file)) {
        return 0;
    }
    *value = static_cast<int>(negative ? -magnitude : magnitude);
    return 1;
}

// Replaces highScore with the file's number; keeps it when the file is missing, unreadable
// (a directory, no permission) or holds no number that fits.
void loadHighScore()
{
    FILE* file = std::fopen(highScoreFileName, "r");
    if (file == nullptr) {
        return;
    }
    int value = 0;
    if (readNumber(file, &value)) {
        highScore = value;
    }
    std::fclose(file);
}

// Pushes the file's content to the disk before it takes the file's place.
static int syncFile(FILE* file)
{
#ifdef _WIN32
    return _commit(_fileno(file)) == 0;
#else
    return fsync(fileno(file)) == 0;
#endif
}

// Puts the finished temporary file in the place of the high-score file.
static int replaceHighScoreFile()
{
#ifdef _WIN32
    return MoveFileExA(highScoreTempName, highScoreFileName,
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(highScoreTempName, highScoreFileName) == 0;
#endif
}

// Writes highScore as "%d\n" in text mode. The previous file stays untouched unless the new
// content was written completely; a failed save is silent and leaves no temporary file.
void saveHighScore()
{
    FILE* file = std::fopen(highScoreTempName, "w");
    if (file == nullptr) {
        return;
    }
    bool written = std::fprintf(file, "%d\n", highScore) > 0;
    written = written && std::fflush(file) == 0;
    written = written && syncFile(file);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || !replaceHighScoreFile()) {
        std::remove(highScoreTempName);
    }
}
