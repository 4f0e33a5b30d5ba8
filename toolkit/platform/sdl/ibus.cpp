// The IBus client. It talks to the daemon on the address the daemon publishes for this display, makes one
// input context, and hands it each raw key press and release (SDL's event filter sees the X event before
// SDL reports the key): a key the input method takes never reaches the program as a key or as text.
// Commits and compositions come back as signals and go into SDL's queue as SDL's own text events, after
// the keys of the same batch, as SDL's client queues them. When the connection breaks, a composition on
// screen is cleared at once; while there is none, the published address is read again every so often and
// on every key, and the daemon found again whenever it runs.
#include "toolkit/platform/sdl/ibus.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xutil.h>
#include <dbus/dbus.h>
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char* const ibusService = "org.freedesktop.IBus";
static const char* const contextInterface = "org.freedesktop.IBus.InputContext";
enum : uint32_t { capPreeditText = 1, capFocus = 8, releaseMask = 1u << 30 };
enum : int { callTimeout = 5000 };       // a daemon that does not answer a key in 5 s is taken for gone
enum : uint64_t { retryInterval = 250 }; // between two looks at the published address

struct IbusClient {
    bool enabled;
    bool addressFromEnvironment; // IBUS_ADDRESS named the daemon itself
    bool composing;              // a composition is on screen
    bool pushing;                // the text events being queued are this client's own
    // What SDL is about to report of the key the input method just took.
    bool dropKeyDown, dropText, dropKeyUp;
    DBusConnection* connection;
    uint64_t lastLook;
    char address[1024];
    char addressFile[1024];
    char context[256]; // the input context's object path
};
static IbusClient ibus;

// The file where the daemon publishes its address for this display, as IBus names it.
static bool AddressFileName(char* path, size_t size) {
    const char* display = getenv("DISPLAY");
    const char* colon = display ? strrchr(display, ':') : nullptr;
    if (!colon) return false;
    char host[256] = "unix";
    if (colon > display && static_cast<size_t>(colon - display) < sizeof host)
        snprintf(host, sizeof host, "%.*s", static_cast<int>(colon - display), display);
    int number = atoi(colon + 1);
    char config[768];
    const char* xdg = getenv("XDG_CONFIG_HOME");
    const char* home = getenv("HOME");
    if (xdg && *xdg) {
        snprintf(config, sizeof config, "%s", xdg);
    } else if (home && *home) {
        snprintf(config, sizeof config, "%s/.config", home);
    } else {
        return false;
    }
    char* machine = dbus_get_local_machine_id();
    if (!machine) return false;
    int n = snprintf(path, size, "%s/ibus/bus/%s-%s-%d", config, machine, host, number);
    dbus_free(machine);
    return n > 0 && static_cast<size_t>(n) < size;
}

// The published address of a daemon that still runs.
static bool ReadAddress(char* address, size_t size) {
    if (ibus.addressFromEnvironment) {
        snprintf(address, size, "%s", ibus.address);
        return true;
    }
    FILE* file = fopen(ibus.addressFile, "re");
    if (!file) return false;
    char line[1024];
    long pid = 0;
    address[0] = 0;
    while (fgets(line, sizeof line, file)) {
        line[strcspn(line, "\r\n")] = 0;
        if (strncmp(line, "IBUS_ADDRESS=", 13) == 0) snprintf(address, size, "%s", line + 13);
        if (strncmp(line, "IBUS_DAEMON_PID=", 16) == 0) pid = atol(line + 16);
    }
    fclose(file);
    return address[0] && pid > 0 && (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

static void PushText(Uint32 type, const char* text) {
    if (SDL_GetEventState(type) != SDL_ENABLE) return;
    SDL_Window* focus = SDL_GetKeyboardFocus();
    ibus.pushing = true;
    size_t length = strlen(text);
    size_t at = 0;
    do {
        SDL_Event event = {};
        event.type = type;
        event.text.windowID = focus ? SDL_GetWindowID(focus) : 0;
        char* into = type == SDL_TEXTINPUT ? event.text.text : event.edit.text;
        // Whole UTF-8 characters only, as many as one event holds.
        size_t n =
            length - at < SDL_TEXTINPUTEVENT_TEXT_SIZE - 1 ? length - at : SDL_TEXTINPUTEVENT_TEXT_SIZE - 1;
        while (n > 0 && at + n < length && (static_cast<unsigned char>(text[at + n]) & 0xC0) == 0x80) --n;
        memcpy(into, text + at, n);
        at += n;
        SDL_PushEvent(&event);
        if (n == 0) break;
    } while (type == SDL_TEXTINPUT && at < length);
    ibus.pushing = false;
}

// The text of an IBusText: a variant holding (sa{sv}sv), the name, attachments, text and attributes.
static const char* IbusText(DBusMessageIter* argument) {
    DBusMessageIter variant, fields;
    if (dbus_message_iter_get_arg_type(argument) != DBUS_TYPE_VARIANT) return nullptr;
    dbus_message_iter_recurse(argument, &variant);
    if (dbus_message_iter_get_arg_type(&variant) != DBUS_TYPE_STRUCT) return nullptr;
    dbus_message_iter_recurse(&variant, &fields);
    if (dbus_message_iter_get_arg_type(&fields) != DBUS_TYPE_STRING || !dbus_message_iter_next(&fields) ||
        dbus_message_iter_get_arg_type(&fields) != DBUS_TYPE_ARRAY || !dbus_message_iter_next(&fields) ||
        dbus_message_iter_get_arg_type(&fields) != DBUS_TYPE_STRING)
        return nullptr;
    const char* text = nullptr;
    dbus_message_iter_get_basic(&fields, &text);
    return text;
}

static DBusHandlerResult Signal(DBusConnection*, DBusMessage* message, void*) {
    if (dbus_message_get_type(message) != DBUS_MESSAGE_TYPE_SIGNAL ||
        !dbus_message_has_interface(message, contextInterface) ||
        !dbus_message_has_path(message, ibus.context))
        return DBUS_HANDLER_RESULT_NOT_YET_HANDLED;
    DBusMessageIter argument;
    const char* text = nullptr;
    if (dbus_message_iter_init(message, &argument)) text = IbusText(&argument);
    if (dbus_message_has_member(message, "CommitText")) {
        if (text && static_cast<unsigned char>(text[0]) >= ' ' && text[0] != 127)
            PushText(SDL_TEXTINPUT, text);
    } else if (dbus_message_has_member(message, "UpdatePreeditText")) {
        dbus_bool_t visible = TRUE;
        if (dbus_message_iter_next(&argument) && dbus_message_iter_next(&argument) &&
            dbus_message_iter_get_arg_type(&argument) == DBUS_TYPE_BOOLEAN)
            dbus_message_iter_get_basic(&argument, &visible);
        if (!visible || !text) text = "";
        ibus.composing = text[0] != 0;
        PushText(SDL_TEXTEDITING, text);
    } else if (dbus_message_has_member(message, "HidePreeditText")) {
        ibus.composing = false;
        PushText(SDL_TEXTEDITING, "");
    }
    return DBUS_HANDLER_RESULT_HANDLED;
}

// A method of the input context without an answer; false when the connection is gone.
static bool Send(const char* method, int firstType = DBUS_TYPE_INVALID, const void* value = nullptr) {
    DBusMessage* m = dbus_message_new_method_call(ibusService, ibus.context, contextInterface, method);
    if (!m) return false;
    if (firstType != DBUS_TYPE_INVALID) dbus_message_append_args(m, firstType, value, DBUS_TYPE_INVALID);
    dbus_message_set_no_reply(m, TRUE);
    bool sent = dbus_connection_send(ibus.connection, m, nullptr);
    dbus_message_unref(m);
    dbus_connection_flush(ibus.connection);
    return sent && dbus_connection_get_is_connected(ibus.connection);
}

static void Disconnect() {
    if (ibus.connection) {
        dbus_connection_close(ibus.connection);
        dbus_connection_unref(ibus.connection);
        ibus.connection = nullptr;
    }
    ibus.context[0] = 0;
    if (ibus.composing) {
        ibus.composing = false;
        PushText(SDL_TEXTEDITING, "");
    }
}

static bool CreateContext(DBusConnection* c) {
    DBusMessage* m =
        dbus_message_new_method_call(ibusService, "/org/freedesktop/IBus", ibusService, "CreateInputContext");
    if (!m) return false;
    const char* name = "Velquist";
    dbus_message_append_args(m, DBUS_TYPE_STRING, &name, DBUS_TYPE_INVALID);
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(c, m, callTimeout, nullptr);
    dbus_message_unref(m);
    const char* path = nullptr;
    if (reply && dbus_message_get_args(reply, nullptr, DBUS_TYPE_OBJECT_PATH, &path, DBUS_TYPE_INVALID))
        snprintf(ibus.context, sizeof ibus.context, "%s", path);
    if (reply) dbus_message_unref(reply);
    return path != nullptr;
}

// A key looks at once; otherwise at most every retryInterval.
static void Connect(bool now) {
    uint64_t time = SDL_GetTicks64();
    if (ibus.connection || (!now && time - ibus.lastLook < retryInterval)) return;
    ibus.lastLook = time;
    char address[1024];
    if (!ReadAddress(address, sizeof address)) return;
    DBusConnection* c = dbus_connection_open_private(address, nullptr);
    if (!c) return;
    dbus_connection_set_exit_on_disconnect(c, FALSE);
    if (!dbus_bus_register(c, nullptr) || !CreateContext(c)) {
        dbus_connection_close(c);
        dbus_connection_unref(c);
        return;
    }
    dbus_bus_add_match(c, "type='signal',interface='org.freedesktop.IBus.InputContext'", nullptr);
    dbus_connection_add_filter(c, Signal, nullptr, nullptr);
    ibus.connection = c;
    uint32_t caps = capPreeditText | capFocus;
    if (!Send("SetCapabilities", DBUS_TYPE_UINT32, &caps) || (SDL_GetKeyboardFocus() && !Send("FocusIn")))
        Disconnect();
}

// True when the input method took the key.
static bool ProcessKey(XKeyEvent* key) {
    Connect(true);
    if (!ibus.connection) return false;
    char text[16];
    KeySym symbol = 0;
    XLookupString(key, text, sizeof text, &symbol, nullptr);
    uint32_t keyval = static_cast<uint32_t>(symbol), keycode = key->keycode - 8;
    uint32_t state = (key->state & 0xFF) | (key->type == KeyRelease ? uint32_t{releaseMask} : 0u);
    DBusMessage* m =
        dbus_message_new_method_call(ibusService, ibus.context, contextInterface, "ProcessKeyEvent");
    if (!m) return false;
    dbus_message_append_args(m, DBUS_TYPE_UINT32, &keyval, DBUS_TYPE_UINT32, &keycode, DBUS_TYPE_UINT32,
                             &state, DBUS_TYPE_INVALID);
    DBusMessage* reply = dbus_connection_send_with_reply_and_block(ibus.connection, m, callTimeout, nullptr);
    dbus_message_unref(m);
    dbus_bool_t taken = FALSE;
    if (!reply || !dbus_message_get_args(reply, nullptr, DBUS_TYPE_BOOLEAN, &taken, DBUS_TYPE_INVALID)) {
        // No answer: the daemon went away (or hangs); the key is typed as it is.
        Disconnect();
        taken = FALSE;
    }
    if (reply) dbus_message_unref(reply);
    return taken;
}

// Runs as SDL queues each event: the raw X key comes first, SDL's report of it after.
static int Filter(void*, SDL_Event* event) {
    switch (event->type) {
    case SDL_SYSWMEVENT: {
        ibus.dropKeyDown = ibus.dropText = ibus.dropKeyUp = false;
        if (!event->syswm.msg || event->syswm.msg->subsystem != SDL_SYSWM_X11) return 1;
        XEvent x = event->syswm.msg->msg.x11.event;
        if ((x.type != KeyPress && x.type != KeyRelease) || SDL_GetEventState(SDL_TEXTINPUT) != SDL_ENABLE)
            return 1;
        // Shift, Ctrl and Alt reach the program even when the input method takes them: it knows them from
        // their presses and releases, and a press without its release would stay held.
        // Shift, Ctrl and Alt reach the program even when the input method takes them: it knows them from
        // their presses and releases, and a press without its release would stay held.
        if (ProcessKey(&x.xkey) && !IsModifierKey(XLookupKeysym(&x.xkey, 0))) {
            ibus.dropKeyDown = ibus.dropText = x.type == KeyPress;
            ibus.dropKeyUp = x.type == KeyRelease;
        }
        return 1;
    }
    case SDL_KEYDOWN:
        return ibus.dropKeyDown ? (ibus.dropKeyDown = false, 0) : 1;
    case SDL_KEYUP:
        return ibus.dropKeyUp ? (ibus.dropKeyUp = false, 0) : 1;
    case SDL_TEXTINPUT:
        return ibus.dropText && !ibus.pushing ? (ibus.dropText = false, 0) : 1;
    case SDL_WINDOWEVENT:
        if (ibus.connection && event->window.event == SDL_WINDOWEVENT_FOCUS_GAINED && !Send("FocusIn"))
            Disconnect();
        if (ibus.connection && event->window.event == SDL_WINDOWEVENT_FOCUS_LOST && !Send("FocusOut"))
            Disconnect();
        return 1;
    default:
        return 1;
    }
}

void SdlIbusBeforeVideo() {
    const char* module = getenv("SDL_IM_MODULE");
    const char* modifiers = getenv("XMODIFIERS");
    bool fcitx = module ? strcmp(module, "fcitx") == 0 : modifiers && strstr(modifiers, "@im=fcitx");
    if (fcitx) return;
    const char* address = getenv("IBUS_ADDRESS");
    ibus.addressFromEnvironment = address && *address;
    if (ibus.addressFromEnvironment) {
        snprintf(ibus.address, sizeof ibus.address, "%s", address);
    } else if (!AddressFileName(ibus.addressFile, sizeof ibus.addressFile)) {
        return;
    }
    ibus.enabled = true;
    // SDL reads its daemon's address from the file IBUS_ADDRESS names, if it names one: with a name that is
    // no file, SDL's client stays off.
    setenv("IBUS_ADDRESS", "/nonexistent/velquist-uses-its-own-ibus-client", 1);
}

void SdlIbusAfterVideo(bool started) {
    if (!ibus.enabled) return;
    if (ibus.addressFromEnvironment) {
        setenv("IBUS_ADDRESS", ibus.address, 1);
    } else {
        unsetenv("IBUS_ADDRESS");
    }
    ibus.enabled = started;
    if (!started) return;
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    SDL_SetEventFilter(Filter, nullptr);
    Connect(true);
}

bool SdlIbusPump() {
    if (!ibus.enabled) return false;
    ibus.dropKeyDown = ibus.dropText = ibus.dropKeyUp = false;
    Connect(false);
    if (!ibus.connection) return false;
    bool pushed = false;
    dbus_connection_read_write(ibus.connection, 0);
    while (dbus_connection_get_dispatch_status(ibus.connection) == DBUS_DISPATCH_DATA_REMAINS) {
        dbus_connection_dispatch(ibus.connection);
        pushed = true;
    }
    if (!dbus_connection_get_is_connected(ibus.connection)) {
        pushed = pushed || ibus.composing;
        Disconnect();
    }
    return pushed;
}

bool SdlIbusReset() {
    if (!ibus.enabled) return false;
    if (ibus.connection && !Send("Reset")) Disconnect();
    return true;
}
