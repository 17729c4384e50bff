// score_safety_test.cpp: the best score survives a save killed at any moment, huge and junk
// files, and folders and files the player may not write or read (checked as an ordinary user
// even when the tests run as root).
#include "rules_support.h"

#include <signal.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

namespace {

using ScoreSafety = RulesTest;

// The number a whole file written by the save holds, or -1 for anything else ("", "12", "1\n2").
long wholeNumber(const std::string& content)
{
    if (content.size() < 2 || content.back() != '\n') {
        return -1;
    }
    long value = 0;
    for (size_t i = 0; i + 1 < content.size(); ++i) {
        if (content[i] < '0' || content[i] > '9') {
            return -1;
        }
        value = value * 10 + (content[i] - '0');
    }
    return value;
}

// A child saves first+1, first+2, ... as fast as it can until it is killed; after each
// SIGKILL, at a random moment, the file must still hold a whole number written by a save, the
// one seen before or a newer one.
TEST_F(ScoreSafety, ASaveKilledAtAnyMomentLeavesTheOldOrANewerWholeNumber)
{
    highScore = 1;
    saveHighScore();
    long seen = 1;
    std::mt19937 random(20240607u);
    std::uniform_int_distribution<int> delayUs(0, 4000);
    const int kills = 1000;
    for (int kill = 0; kill < kills; ++kill) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int value = static_cast<int>(seen) + 1;; ++value) {
                highScore = value;
                saveHighScore();
            }
        }
        usleep(static_cast<useconds_t>(delayUs(random)));
        ASSERT_EQ(::kill(child, SIGKILL), 0);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const std::string content = fileContent(highScoreFileName);
        const long value = wholeNumber(content);
        ASSERT_GE(value, seen) << "after kill " << kill + 1 << " the file holds "
                               << ::testing::PrintToString(content);
        seen = value;
        highScore = -1;
        loadHighScore();
        ASSERT_EQ(highScore, seen);
    }
    // The children did save: the kills fell on a program that was writing.
    EXPECT_GT(seen, 1);
    std::printf("%d kills survived; the last whole number was %ld\n", kills, seen);
}

// A saved score whose temporary file was left behind by a killed save still loads, and the
// next save replaces the leftover.
TEST_F(ScoreSafety, ALeftoverTemporaryFileIsHarmless)
{
    writeFile(highScoreFileName, "500\n");
    writeFile(std::string(highScoreFileName) + ".tmp", "98");
    loadHighScore();
    EXPECT_EQ(highScore, 500);
    highScore = 600;
    saveHighScore();
    EXPECT_EQ(fileContent(highScoreFileName), "600\n");
    EXPECT_EQ(fileContent(std::string(highScoreFileName) + ".tmp"), "<missing>");
}

// ---------------------------------------------------------------- huge files

struct HugeCase {
    const char* name;
    char fill;         // 10 MB of this byte ...
    const char* tail;  // ... then this
    int expected;      // the value before the load is 7
};

class HugeFile : public ScoreSafety, public ::testing::WithParamInterface<HugeCase> {};

TEST_P(HugeFile, LoadsInOnePassWithoutCrashing)
{
    std::string content(10 * 1024 * 1024, GetParam().fill);
    if (GetParam().fill == 0) {
        std::mt19937 random(7u);
        for (char& c : content) {
            c = static_cast<char>(random());
        }
        content[0] = 'x';  // junk that does not begin with a number
    }
    content += GetParam().tail;
    writeFile(highScoreFileName, content);
    highScore = 7;
    loadHighScore();
    EXPECT_EQ(highScore, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    TenMegabytes, HugeFile,
    ::testing::Values(HugeCase{"RandomJunk", 0, "", 7},
                      HugeCase{"BlanksThenANumber", ' ', "345\n", 345},
                      HugeCase{"DigitsBeyondAnyInt", '9', "\n", 7},
                      HugeCase{"LeadingZerosThenANumber", '0', "42\n", 42}),
    [](const ::testing::TestParamInfo<HugeCase>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- as an ordinary user

// Runs `body` in a child process as the user nobody when the tests run as root (root reads
// and writes whatever the permissions say); returns the child's exit code.
template <typename Body>
int asOrdinaryUser(Body body)
{
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child < 0) {
        return -1;
    }
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
            _exit(90);
        }
        _exit(body());
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) {
        return -1;
    }
    return WEXITSTATUS(status);
}

TEST_F(ScoreSafety, AFileWithoutReadPermissionKeepsTheValue)
{
    writeFile(highScoreFileName, "345\n");
    ASSERT_EQ(chmod(highScoreFileName, 0), 0);
    ASSERT_EQ(chmod(folder.c_str(), 0755), 0);
    const int result = asOrdinaryUser([] {
        if (access(highScoreFileName, R_OK) == 0) {
            return 91;  // this user can read it after all
        }
        highScore = 7;
        loadHighScore();
        return highScore == 7 ? 0 : 1;
    });
    ASSERT_NE(result, 90) << "could not become an ordinary user";
    ASSERT_NE(result, 91) << "the file is readable for this user";
    EXPECT_EQ(result, 0) << "the unreadable file changed the value";
}

TEST_F(ScoreSafety, QuittingWithAReadOnlyFolderKeepsTheFileAndStillQuits)
{
    writeFile(highScoreFileName, "200\n");
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    const int result = asOrdinaryUser([] {
        if (access(".", W_OK) == 0) {
            return 91;
        }
        gameState.skillMenu = false;
        gameState.paused = true;
        gameState.points = 300;
        hostKeys[VK_F1] = 1;
        updateFrame(16);
        if (quitRequests != 1) {
            return 1;
        }
        if (fileContent(highScoreFileName) != "200\n") {
            return 2;
        }
        if (fileContent(std::string(highScoreFileName) + ".tmp") != "<missing>") {
            return 3;
        }
        return highScore == 300 ? 0 : 4;  // the best score is still shown
    });
    ASSERT_NE(result, 90) << "could not become an ordinary user";
    ASSERT_NE(result, 91) << "the folder is writable for this user";
    EXPECT_EQ(result, 0) << "1: no quit, 2: file changed, 3: temporary file left, 4: score lost";
}

}  // namespace
