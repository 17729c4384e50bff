// xvfb.h: a private X server for one test program.
//
// Starts Xvfb with the screen size asked for, waits until it accepts clients, and points
// DISPLAY at it; the destructor ends it. Each test program gets its own server, so the tests
// can run in parallel and can ask for the display size they need (800x600, 1024x768, ...).
#pragma once

#include <string>
#include <sys/types.h>

class XvfbServer {
public:
    XvfbServer() = default;
    ~XvfbServer() { stop(); }
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    // Starts the server and sets DISPLAY; false (with a reason in error()) when it cannot.
    bool start(int width = 1024, int height = 768, int depth = 24);
    void stop();

    const std::string& display() const { return display_; }
    pid_t pid() const { return pid_; }
    const std::string& error() const { return error_; }

private:
    pid_t pid_ = -1;
    std::string display_;
    std::string error_;
};
