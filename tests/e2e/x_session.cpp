#include "tests/e2e/x_session.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

int64_t NowMilliseconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

void SleepMilliseconds(int32_t milliseconds) {
    timespec t = {milliseconds / 1000, (milliseconds % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0 && errno == EINTR) {
    }
}

bool StartXSession(XSession* session) {
    *session = {};
    int fds[2];
    if (pipe(fds) != 0) return false;
    pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        close(fds[0]);
        int devnull = open("/dev/null", O_RDWR);
        dup2(devnull, 1);
        dup2(devnull, 2);
        char fd[16];
        snprintf(fd, sizeof fd, "%d", fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd, "-screen", "0", "1024x768x24", "-nolisten", "tcp",
               "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char text[32] = {};
    size_t n = 0;
    // Xvfb writes the display number it chose once it is ready to take clients.
    while (n < sizeof text - 1) {
        ssize_t r = read(fds[0], text + n, 1);
        if (r <= 0 || text[n] == '\n') break;
        n++;
    }
    close(fds[0]);
    if (n == 0) {
        waitpid(child, nullptr, 0);
        return false;
    }
    session->server = child;
    session->number = atoi(text);
    char name[32];
    snprintf(name, sizeof name, ":%d", session->number);
    setenv("DISPLAY", name, 1);
    session->display = XOpenDisplay(name);
    if (!session->display) {
        StopXSession(session);
        return false;
    }
    return true;
}

void StopXSession(XSession* session) {
    if (session->display) XCloseDisplay(session->display);
    session->display = nullptr;
    if (session->server > 0) {
        kill(session->server, SIGTERM);
        waitpid(session->server, nullptr, 0);
    }
    session->server = 0;
}

pid_t StartProgram(const char* path, const char* outputPath) {
    pid_t child = fork();
    if (child != 0) return child;
    if (outputPath) {
        int out = open(outputPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) dup2(out, 1);
    }
    execl(path, path, static_cast<char*>(nullptr));
    _exit(127);
}

pid_t StartCommand(const char* const* argv, const char* outputPath) {
    pid_t child = fork();
    if (child != 0) return child;
    if (outputPath) {
        int out = open(outputPath, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
    }
    execvp(argv[0], const_cast<char* const*>(argv));
    _exit(127);
}

bool WaitForExit(pid_t program, int32_t milliseconds, int32_t* code) {
    int64_t deadline = NowMilliseconds() + milliseconds;
    for (;;) {
        int status = 0;
        pid_t r = waitpid(program, &status, WNOHANG);
        if (r == program) {
            *code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            return true;
        }
        if (r < 0 || NowMilliseconds() > deadline) return false;
        SleepMilliseconds(20);
    }
}

// Looks without reaping, so that WaitForExit still gets the exit code.
bool ProgramRunning(pid_t program) {
    siginfo_t info = {};
    if (waitid(P_PID, static_cast<id_t>(program), &info, WEXITED | WNOHANG | WNOWAIT) != 0) return false;
    return info.si_pid == 0;
}

void KillProgram(pid_t program) {
    if (program <= 0) return;
    kill(program, SIGKILL);
    waitpid(program, nullptr, 0);
}

int32_t RunCommand(const char* command) {
    int status = system(command);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
