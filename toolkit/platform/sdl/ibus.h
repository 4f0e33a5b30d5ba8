// The backend's own IBus client. SDL 2.26 keeps the input context it made at start for good: when the IBus
// daemon restarts, Korean input is gone until the program restarts. This client finds the daemon again
// whenever it comes back, and clears a composition at once when it goes away.
#pragma once

// Before SDL's video starts: keeps SDL's own IBus client off, unless another input method (fcitx) is the
// one asked for, which SDL keeps serving.
void SdlIbusBeforeVideo();

// After SDL's video start: if it started, key presses and releases go to the input method before SDL
// reports them.
void SdlIbusAfterVideo(bool started);

// Takes what the input method sent (commits and compositions become SDL's text events, in queue order) and
// notices a daemon that went away. True when it queued events.
bool SdlIbusPump();

// Drops the composition the input method holds. False when this client is not the one in use.
bool SdlIbusReset();
