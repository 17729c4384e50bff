// high_score_test.cpp: reading and writing "Highscore.hsc" in a scratch working directory, and
// the two exit commands that save it.
#include "rules_support.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string>

namespace {

using HighScoreTest = RulesTest;

// ---------------------------------------------------------------- reading

struct ReadCase {
    const char* content;
    int expected;  // kept is 7, the value before the load
};

// Shows the file's content when a case fails.
void PrintTo(const ReadCase& c, std::ostream* out)
{
    *out << ::testing::PrintToString(std::string(c.content));
}

class ReadRules : public HighScoreTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(ReadRules, TakeTheFirstNumberOrKeepThePreviousValue)
{
    writeFile(highScoreFileName, GetParam().content);
    highScore = 7;
    loadHighScore();
    EXPECT_EQ(highScore, GetParam().expected);
}

const ReadCase readCases[] = {
    {"345\r\n", 345},
    {"345\n", 345},
    {"345", 345},
    {" \t\r\n 42 points\n", 42},
    {"12abc", 12},
    {"+12\n", 12},
    {"-5\n", -5},
    {"0\n", 0},
    {"2147483647\n", INT_MAX},
    {"-2147483648\n", INT_MIN},
    {"", 7},
    {"\n\n", 7},
    {"x345\n", 7},
    {"-\n", 7},
    {"+", 7},
    {"- 5\n", 7},
    {"2147483648\n", 7},
    {"-2147483649\n", 7},
    {"99999999999999999999999\n", 7},
};
INSTANTIATE_TEST_SUITE_P(Contents, ReadRules, ::testing::ValuesIn(readCases));

TEST_F(HighScoreTest, MissingFileKeepsTheValue)
{
    highScore = 7;
    loadHighScore();
    EXPECT_EQ(highScore, 7);
}

TEST_F(HighScoreTest, DirectoryInPlaceOfTheFileKeepsTheValue)
{
    ASSERT_EQ(mkdir(highScoreFileName, 0755), 0);
    highScore = 7;
    loadHighScore();
    EXPECT_EQ(highScore, 7);
}

TEST_F(HighScoreTest, UnreadableFileKeepsTheValue)
{
    writeFile(highScoreFileName, "345\n");
    ASSERT_EQ(chmod(highScoreFileName, 0), 0);
    if (access(highScoreFileName, R_OK) == 0) {
        GTEST_SKIP() << "this user reads files without read permission (root)";
    }
    highScore = 7;
    loadHighScore();
    EXPECT_EQ(highScore, 7);
}

// ---------------------------------------------------------------- writing

TEST_F(HighScoreTest, SaveWritesTheNumberAndOneLineEnd)
{
    writeFile(highScoreFileName, "123456789 old and longer\n");
    highScore = 345;
    saveHighScore();
    EXPECT_EQ(fileContent(highScoreFileName), "345\n");
    EXPECT_EQ(std::filesystem::directory_iterator(folder)->path().filename(), highScoreFileName);
    highScore = 0;
    loadHighScore();
    EXPECT_EQ(highScore, 345);
}

struct PauseQuitCase {
    int points;
    const char* stored;
    const char* expected;
};

class QuitFromPause : public HighScoreTest, public ::testing::WithParamInterface<PauseQuitCase> {};

TEST_P(QuitFromPause, SavesTheBetterOfPointsAndTheStoredScore)
{
    writeFile(highScoreFileName, GetParam().stored);
    loadHighScore();
    gameState.skillMenu = false;
    gameState.paused = true;
    gameState.points = GetParam().points;
    hold(VK_F1);
    update(16);
    EXPECT_EQ(fileContent(highScoreFileName), GetParam().expected);
    EXPECT_EQ(quitRequests, 1);
}

const PauseQuitCase pauseQuitCases[] = {
    {300, "200\r\n", "300\n"},
    {100, "200\r\n", "200\n"},
};
INSTANTIATE_TEST_SUITE_P(Scores, QuitFromPause, ::testing::ValuesIn(pauseQuitCases));

TEST_F(HighScoreTest, QuitFromTheDeathScreenSavesTheGameJustLost)
{
    writeFile(highScoreFileName, "200\n");
    loadHighScore();
    gameState.skillMenu = false;
    gameState.dead = true;
    gameState.snakes = 0;
    gameState.points = 250;
    hold('2');
    update(16);
    EXPECT_EQ(fileContent(highScoreFileName), "250\n");
    EXPECT_EQ(quitRequests, 1);
}

TEST_F(HighScoreTest, ANewBestIsNotSavedWithoutAnExitCommand)
{
    writeFile(highScoreFileName, "200\n");
    loadHighScore();
    gameState.skillMenu = false;
    gameState.dead = true;
    gameState.points = 300;
    update(16);
    hold('1');  // new game
    update(16);
    EXPECT_EQ(highScore, 300);
    EXPECT_EQ(fileContent(highScoreFileName), "200\n");
    loadHighScore();  // a re-created window reads the file again
    EXPECT_EQ(highScore, 200);
}

// ---------------------------------------------------------------- failed saves

enum class SaveObstacle {
    TemporaryNameTaken,  // a directory stands where the new content would be written
    DiskFull,            // writes end in "no space left on device"
    TargetIsDirectory,   // the finished file cannot be renamed into place
    ReadOnlyFolder,
};

class FailedSave : public HighScoreTest, public ::testing::WithParamInterface<SaveObstacle> {};

TEST_P(FailedSave, KeepsThePreviousFileAndStillQuits)
{
    const std::string temporary = std::string(highScoreFileName) + ".tmp";
    const bool targetIsDirectory = GetParam() == SaveObstacle::TargetIsDirectory;
    if (targetIsDirectory) {
        ASSERT_EQ(mkdir(highScoreFileName, 0755), 0);
        writeFile(std::string(highScoreFileName) + "/keep", "x");
    } else {
        writeFile(highScoreFileName, "200\n");
    }
    switch (GetParam()) {
    case SaveObstacle::TemporaryNameTaken:
        ASSERT_EQ(mkdir(temporary.c_str(), 0755), 0);
        break;
    case SaveObstacle::DiskFull:
        if (access("/dev/full", W_OK) != 0) {
            GTEST_SKIP() << "no /dev/full on this system";
        }
        ASSERT_EQ(symlink("/dev/full", temporary.c_str()), 0);
        break;
    case SaveObstacle::TargetIsDirectory:
        break;
    case SaveObstacle::ReadOnlyFolder:
        ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
        if (access(folder.c_str(), W_OK) == 0) {
            GTEST_SKIP() << "this user writes into read-only folders (root); the other "
                            "obstacles cover the failed save";
        }
        break;
    }

    gameState.skillMenu = false;
    gameState.paused = true;
    gameState.points = 300;
    hold(VK_F1);
    update(16);

    EXPECT_EQ(quitRequests, 1);
    if (targetIsDirectory) {
        EXPECT_EQ(fileContent(std::string(highScoreFileName) + "/keep"), "x");
    } else {
        EXPECT_EQ(fileContent(highScoreFileName), "200\n");
    }
    // No half-written temporary file is left behind (the obstacle itself stays).
    struct stat info;
    const bool temporaryExists = lstat(temporary.c_str(), &info) == 0;
    if (GetParam() == SaveObstacle::TemporaryNameTaken) {
        EXPECT_TRUE(temporaryExists && S_ISDIR(info.st_mode));
    } else {
        EXPECT_FALSE(temporaryExists);
    }
}

INSTANTIATE_TEST_SUITE_P(Obstacles, FailedSave,
                         ::testing::Values(SaveObstacle::TemporaryNameTaken,
                                           SaveObstacle::DiskFull,
                                           SaveObstacle::TargetIsDirectory,
                                           SaveObstacle::ReadOnlyFolder));

}  // namespace
