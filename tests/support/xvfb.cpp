// xvfb.cpp: starting and ending a private Xvfb for a test program.
#include "xvfb.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

bool XvfbServer::start(int width, int height, int depth)
{
    stop();
    int fds[2];
    if (pipe(fds) != 0) {
        error_ = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    char screen[64];
    std::snprintf(screen, sizeof screen, "%dx%dx%d", width, height, depth);
    char fdText[16];
    std::snprintf(fdText, sizeof fdText, "%d", fds[1]);

    pid_ = fork();
    if (pid_ < 0) {
        error_ = std::string("fork: ") + std::strerror(errno);
        close(fds[0]);
        close(fds[1]);
        return false;
    }
    if (pid_ == 0) {
        close(fds[0]);
        int devNull = open("/dev/null", O_RDWR);
        if (devNull >= 0) {
            dup2(devNull, 0);
            dup2(devNull, 1);
            dup2(devNull, 2);
        }
        execlp("Xvfb", "Xvfb", "-displayfd", fdText, "-screen", "0", screen, "-nolisten", "tcp",
               "-noreset", (char*)nullptr);
        _exit(127);
    }
    close(fds[1]);

    // Xvfb writes its display number to the pipe once it is ready for clients.
    std::string number;
    pollfd waitFor{fds[0], POLLIN, 0};
    while (true) {
        int ready = poll(&waitFor, 1, 15000);
        if (ready <= 0) {
            error_ = "Xvfb did not report a display within 15 s";
            break;
        }
        char c;
        ssize_t got = read(fds[0], &c, 1);
        if (got <= 0) {
            if (number.empty()) error_ = "Xvfb ended before it was ready (is it installed?)";
            break;
        }
        if (c == '\n') break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        stop();
        return false;
    }
    display_ = ":" + number;
    setenv("DISPLAY", display_.c_str(), 1);
    return true;
}

void XvfbServer::stop()
{
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        int status;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
    }
    pid_ = -1;
    display_.clear();
}
