// A real Korean input method for the programs of an X session: a private D-Bus session bus, ibus-daemon
// with the ibus-hangul engine in Hangul mode, and a throw-away home for their settings. Programs started
// afterwards (StartProgram) talk to it through SDL's IBus support.
#pragma once

#include <stdint.h>
#include <sys/types.h>

#include <string>

struct ImeSession {
    pid_t group = 0;  // the bus and whatever it starts, in one process group
    pid_t daemon = 0; // ibus-daemon, which leads a process group of its own with its engine
    std::string home;
};

// forwarding: ibus-hangul's use-event-forwarding (true is its default: it hands keys that end a
// composition back instead of letting them through). False when ibus, its engine or D-Bus is missing.
bool StartImeSession(ImeSession* session, bool forwarding);
void StopImeSession(ImeSession* session);

// The daemon and its engine killed outright, or started again with the Hangul engine (false when it does
// not come up).
void KillImeDaemon(ImeSession* session);
bool StartImeDaemon(ImeSession* session);
