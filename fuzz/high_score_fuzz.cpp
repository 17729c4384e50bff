// high_score_fuzz.cpp: the high-score reader on arbitrary file contents. The load must take
// exactly the number an independent reading of the "%d\n" rule finds, or keep the previous
// value; a save of whatever was loaded must write "%d\n" and read back the same.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"

namespace {

// The value the read rules accept from these bytes, or `previous` when there is none: white
// space, an optional sign, decimal digits, and the number must fit in an int.
int expectedScore(const uint8_t* data, size_t size, int previous)
{
    size_t i = 0;
    auto blank = [](uint8_t c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    while (i < size && blank(data[i])) {
        ++i;
    }
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-')) {
        negative = data[i] == '-';
        ++i;
    }
    std::string digits;
    while (i < size && data[i] >= '0' && data[i] <= '9') {
        digits += static_cast<char>(data[i]);
        ++i;
    }
    if (digits.empty()) {
        return previous;
    }
    const size_t firstSignificant = digits.find_first_not_of('0');
    digits = firstSignificant == std::string::npos ? "0" : digits.substr(firstSignificant);
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) {
        return previous;
    }
    const long long magnitude = std::stoll(digits);
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::string readWholeFile(const char* name)
{
    std::string content;
    FILE* file = std::fopen(name, "rb");
    if (file == nullptr) {
        return "<missing>";
    }
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        content += static_cast<char>(c);
    }
    std::fclose(file);
    return content;
}

void fail(const char* what, long long got, long long expected)
{
    std::fprintf(stderr, "high-score fuzz: %s: got %lld, expected %lld\n", what, got, expected);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    enterScratchFolder();
    FILE* file = std::fopen(highScoreFileName, "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::perror("writing the input file");
        std::abort();
    }

    // A previous value that no short input spells, so that "kept" and "read" differ.
    const int previous = -123456789;
    highScore = previous;
    loadHighScore();
    const int expected = expectedScore(data, size, previous);
    if (highScore != expected) {
        fail("loaded value", highScore, expected);
    }

    const int loaded = highScore;
    saveHighScore();
    char line[16];
    std::snprintf(line, sizeof line, "%d\n", loaded);
    if (readWholeFile(highScoreFileName) != line) {
        fail("saved file differs from \"%d\\n\" of the value", loaded, loaded);
    }
    if (std::fopen("Highscore.hsc.tmp", "rb") != nullptr) {
        fail("temporary file left behind", 1, 0);
    }
    highScore = 0;
    loadHighScore();
    if (highScore != loaded) {
        fail("value read back after the save", highScore, loaded);
    }
    leaveScratchFolder();
    return 0;
}
