#include "tests/e2e/ime_session.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/e2e/x_session.h"

static bool WriteFile(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "w");
    if (!f) return false;
    bool ok = fputs(text.c_str(), f) >= 0;
    return fclose(f) == 0 && ok;
}

// Starts a program in the session's process group (a new one when group is 0), its output to a log.
static pid_t Spawn(pid_t group, const char* const* argv, int outputFd, const std::string& log) {
    pid_t child = fork();
    if (child != 0) {
        if (child > 0) setpgid(child, group ? group : child);
        return child;
    }
    setpgid(0, group);
    int out = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    if (out >= 0) {
        dup2(out, 1);
        dup2(out, 2);
    }
    if (outputFd >= 0) dup2(outputFd, 3);
    execvp(argv[0], const_cast<char* const*>(argv));
    _exit(127);
}

bool StartImeSession(ImeSession* session, bool forwarding) {
    *session = {};
    char pattern[] = "/tmp/vq-ime.XXXXXX";
    if (!mkdtemp(pattern)) return false;
    session->home = pattern;
    const std::string& home = session->home;
    std::string config = home + "/.config", runtime = home + "/runtime";
    for (const std::string& dir :
         {config, config + "/glib-2.0", config + "/glib-2.0/settings", home + "/.cache"})
        mkdir(dir.c_str(), 0700);
    mkdir(runtime.c_str(), 0700);
    // The engine's settings come from a key file, so no settings service is needed; Hangul mode from the
    // start.
    if (!WriteFile(config + "/glib-2.0/settings/keyfile",
                   std::string("[org/freedesktop/ibus/engine/hangul]\ninitial-input-mode='hangul'\n"
                               "use-event-forwarding=") +
                       (forwarding ? "true" : "false") + "\n"))
        return false;
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    setenv("XDG_CACHE_HOME", (home + "/.cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("GSETTINGS_BACKEND", "keyfile", 1);
    setenv("SDL_IM_MODULE", "ibus", 1);
    setenv("XMODIFIERS", "@im=ibus", 1);
    unsetenv("IBUS_ADDRESS");
    unsetenv("DBUS_SESSION_BUS_ADDRESS");

    // The bus prints its address once it takes connections.
    int fds[2];
    if (pipe(fds) != 0) return false;
    const char* bus[] = {"dbus-daemon", "--session", "--nofork", "--nosyslog", "--print-address=3", nullptr};
    pid_t daemon = Spawn(0, bus, fds[1], home + "/dbus.log");
    close(fds[1]);
    if (daemon <= 0) {
        close(fds[0]);
        return false;
    }
    session->group = daemon;
    std::string address;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') address += c;
    close(fds[0]);
    if (address.empty()) return false;
    setenv("DBUS_SESSION_BUS_ADDRESS", address.c_str(), 1);

    return StartImeDaemon(session);
}

bool StartImeDaemon(ImeSession* session) {
    const char* ibus[] = {"ibus-daemon", "--panel=disable", "--emoji-extension=disable", nullptr};
    session->daemon = Spawn(session->group, ibus, -1, session->home + "/ibus.log");
    if (session->daemon <= 0) return false;
    // The daemon answers once it runs; the engine can be chosen once it has loaded its components.
    int64_t deadline = NowMilliseconds() + 60000;
    while (RunCommand("timeout 10 ibus engine hangul >/dev/null 2>&1") != 0) {
        if (NowMilliseconds() > deadline) return false;
        SleepMilliseconds(100);
    }
    return true;
}

// The daemon's group holds its engine; the bus's holds the portal the bus started for it.
void KillImeDaemon(ImeSession* session) {
    if (session->daemon > 0) {
        kill(-session->daemon, SIGKILL);
        kill(session->daemon, SIGKILL);
        waitpid(session->daemon, nullptr, 0);
    }
    session->daemon = 0;
    RunCommand(("pkill -KILL -g " + std::to_string(session->group) + " -f ibus-portal").c_str());
}

void StopImeSession(ImeSession* session) {
    if (session->group > 0) {
        RunCommand("timeout 5 ibus exit >/dev/null 2>&1");
        if (session->daemon > 0) kill(-session->daemon, SIGTERM);
        kill(-session->group, SIGTERM);
        int64_t deadline = NowMilliseconds() + 5000;
        while (waitpid(-session->group, nullptr, WNOHANG) >= 0 && NowMilliseconds() < deadline)
            SleepMilliseconds(20);
        if (session->daemon > 0) {
            kill(-session->daemon, SIGKILL);
            waitpid(session->daemon, nullptr, 0);
        }
        kill(-session->group, SIGKILL);
        while (waitpid(-session->group, nullptr, 0) > 0) {
        }
    }
    if (!session->home.empty()) RunCommand(("rm -rf '" + session->home + "'").c_str());
    *session = {};
}
