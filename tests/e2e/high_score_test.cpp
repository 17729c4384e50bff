// high_score_test.cpp: the best score read from "Highscore.hsc" at start-up, as the heads-up
// display shows it, and files that hold no score.
#include "game_session.h"

#include <X11/keysym.h>

#include <sys/stat.h>

namespace {

class HighScore : public GameSession {
protected:
    // Ink of the heads-up line "Highscore: %d" on the skill menu of a fresh start.
    int highScoreInk(const Shot& menu)
    {
        Projection v = view();
        return inkIn(menu, v, hudRow(v, 1.5));
    }
};

TEST_F(HighScore, TheStoredBestScoreShowsAndDamagedFilesDoNotStopTheGame)
{
    ASSERT_NO_FATAL_FAILURE(startDisplay(1024, 768));

    // No file: "Highscore: 0".
    Shot menu;
    ASSERT_NO_FATAL_FAILURE(launchWindowed(&menu, "missing"));
    int zeroInk = highScoreInk(menu);
    EXPECT_GE(zeroInk, INK_PRESENT);
    x.closeAsWindowManager(gameWindow);
    ASSERT_EQ(waitForExit(), 0);

    // 345: three digits instead of one.
    ASSERT_NO_FATAL_FAILURE(seedScoreFile("345\n"));
    ASSERT_NO_FATAL_FAILURE(launchWindowed(&menu, "stored-345"));
    EXPECT_GT(highScoreInk(menu), zeroInk + 20);
    x.closeAsWindowManager(gameWindow);
    ASSERT_EQ(waitForExit(), 0);

    // Binary junk holds no number: the game starts with 0 and plays; the file stays as it was.
    const std::string junk("\x01\xff\xfe\x00junk\x7f\x80", 11);
    ASSERT_NO_FATAL_FAILURE(seedScoreFile(junk));
    ASSERT_NO_FATAL_FAILURE(launchWindowed(&menu, "junk"));
    EXPECT_EQ(highScoreInk(menu), zeroInk) << "junk does not read as 0";
    EXPECT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "junk-running"));
    x.closeAsWindowManager(gameWindow);
    ASSERT_EQ(waitForExit(), 0);
    std::string after;
    ASSERT_TRUE(readFile(scorePath(), &after));
    EXPECT_EQ(after, junk);

    // A folder of that name can be neither read nor written: the game starts with 0, plays,
    // and still quits cleanly from the pause screen.
    ASSERT_EQ(std::remove(scorePath().c_str()), 0);
    ASSERT_EQ(mkdir(scorePath().c_str(), 0755), 0);
    ASSERT_NO_FATAL_FAILURE(launchWindowed(&menu, "folder"));
    EXPECT_EQ(highScoreInk(menu), zeroInk) << "a folder does not read as 0";
    ASSERT_TRUE(holdKeyUntilScreen(XK_space, GameScreen::Running, 5000, "folder-running"));
    ASSERT_TRUE(holdKeyUntilScreen(XK_Escape, GameScreen::Pause, 5000, "folder-paused"));
    EXPECT_EQ(holdKeyUntilExit(XK_F1), 0) << "saving into a folder must not break the exit";
    struct stat info;
    ASSERT_EQ(stat(scorePath().c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
}

} // namespace
