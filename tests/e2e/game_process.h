// game_process.h: the game as a process: started from its executable in a fresh working
// folder, its output kept in a log, its exit code read, its processor time measured.
#pragma once

#include <string>
#include <sys/types.h>

class GameProcess {
public:
    GameProcess() = default;
    ~GameProcess() { kill(); }
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // Starts `executable` with no arguments in `workDir`, standard output and error going to
    // `logPath`; the environment (DISPLAY) is this process's. False when it cannot start.
    bool start(const std::string& executable, const std::string& workDir,
               const std::string& logPath);
    // True while the process has not ended.
    bool running();
    // Waits up to timeoutMs for the end; true with the exit code (or 128 + signal) when it ended.
    bool waitExit(int timeoutMs, int* exitCode);
    // Ends the process if it still runs (SIGKILL) and reaps it.
    void kill();
    pid_t pid() const { return pid_; }
    // User plus system processor time used so far, in clock ticks; -1 when unknown.
    long cpuTicks() const;

private:
    bool reap(int options);

    pid_t pid_ = -1;
    bool ended_ = false;
    int status_ = 0;
};

// A new empty folder under the system's temporary folder; "" when it cannot be made.
std::string makeTemporaryFolder();
// Removes a folder and everything in it.
void removeFolder(const std::string& path);
// Reads a whole file; false when it cannot be read.
bool readFile(const std::string& path, std::string* content);
bool writeFile(const std::string& path, const std::string& content);
