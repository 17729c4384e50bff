// game_process.cpp: fork/exec of the game, its exit code and its processor time.
#include "game_process.h"

#include "x_driver.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <ftw.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

bool GameProcess::start(const std::string& executable, const std::string& workDir,
                        const std::string& logPath)
{
    kill();
    int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (log < 0) return false;
    pid_ = fork();
    if (pid_ < 0) {
        ::close(log);
        return false;
    }
    if (pid_ == 0) {
        int nothing = open("/dev/null", O_RDONLY);
        if (nothing >= 0) dup2(nothing, 0);
        dup2(log, 1);
        dup2(log, 2);
        if (chdir(workDir.c_str()) != 0) _exit(126);
        execl(executable.c_str(), executable.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(log);
    ended_ = false;
    status_ = 0;
    return true;
}

bool GameProcess::reap(int options)
{
    if (pid_ <= 0) return true;
    if (ended_) return true;
    int status;
    pid_t got;
    do {
        got = waitpid(pid_, &status, options);
    } while (got < 0 && errno == EINTR);
    if (got == pid_ || (got < 0 && errno == ECHILD)) {
        ended_ = true;
        status_ = got == pid_ ? status : 0;
        return true;
    }
    return false;
}

bool GameProcess::running()
{
    return pid_ > 0 && !reap(WNOHANG);
}

bool GameProcess::waitExit(int timeoutMs, int* exitCode)
{
    if (pid_ <= 0) return false;
    if (!waitFor([&] { return reap(WNOHANG); }, timeoutMs, 10)) return false;
    if (WIFEXITED(status_)) {
        *exitCode = WEXITSTATUS(status_);
    } else if (WIFSIGNALED(status_)) {
        *exitCode = 128 + WTERMSIG(status_);
    } else {
        *exitCode = -1;
    }
    return true;
}

void GameProcess::kill()
{
    if (pid_ > 0 && !reap(WNOHANG)) {
        ::kill(pid_, SIGKILL);
        reap(0);
    }
    pid_ = -1;
}

long GameProcess::cpuTicks() const
{
    if (pid_ <= 0) return -1;
    std::string stat;
    if (!readFile("/proc/" + std::to_string(pid_) + "/stat", &stat)) return -1;
    // The command name may hold blanks and parentheses; the fields follow its last ')'.
    size_t close = stat.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(stat.substr(close + 1));
    std::string field;
    long utime = -1, stime = -1;
    // After ')': state is field 3; utime and stime are fields 14 and 15.
    for (int number = 3; number <= 15 && (fields >> field); ++number) {
        if (number == 14) utime = std::atol(field.c_str());
        if (number == 15) stime = std::atol(field.c_str());
    }
    return utime < 0 || stime < 0 ? -1 : utime + stime;
}

std::string makeTemporaryFolder()
{
    const char* base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/sphere-snake-e2e-XXXXXX";
    if (mkdtemp(&pattern[0]) == nullptr) return "";
    return pattern;
}

namespace {
int removeEntry(const char* path, const struct stat*, int, struct FTW*)
{
    return ::remove(path);
}
} // namespace

void removeFolder(const std::string& path)
{
    if (!path.empty()) nftw(path.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

bool readFile(const std::string& path, std::string* content)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    if (in.bad()) return false;
    *content = all.str();
    return true;
}

bool writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    return static_cast<bool>(out);
}
