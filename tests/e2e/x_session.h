// A private virtual X display (Xvfb on a display number of its own) and the programs run on it.
#pragma once

#include <X11/Xlib.h>
#include <stdint.h>
#include <sys/types.h>

struct XSession {
    pid_t server;
    int32_t number; // the display is ":number"
    Display* display;
};

// Starts Xvfb with a 1024 × 768 × 24 screen; false when it cannot (no Xvfb). Sets DISPLAY for children.
bool StartXSession(XSession* session);
void StopXSession(XSession* session);

// Starts a program on the session's display with its standard output going to outputPath (if given).
pid_t StartProgram(const char* path, const char* outputPath);
// The same with arguments: argv[0] is looked up on the PATH, the list ends with a null.
pid_t StartCommand(const char* const* argv, const char* outputPath);
// Waits up to milliseconds for the program to end: true and its exit code (or 128 + signal) when it did.
bool WaitForExit(pid_t program, int32_t milliseconds, int32_t* code);
bool ProgramRunning(pid_t program);
void KillProgram(pid_t program);
// Runs a shell command (xdotool and friends) and returns its exit code.
int32_t RunCommand(const char* command);
void SleepMilliseconds(int32_t milliseconds);
// Milliseconds on a monotonic clock, for the deadlines of waits.
int64_t NowMilliseconds();
