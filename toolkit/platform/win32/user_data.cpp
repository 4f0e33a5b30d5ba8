// The user's files and the local time on Windows: %APPDATA%\name\, whole-file reads, and writes to a
// temporary file beside the target that is then moved over it.
#include <string.h>

#include "toolkit/platform/win32/handles.h"

static bool PlainComponent(const char* name) {
    if (!name || !name[0] || strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return false;
    return strpbrk(name, "\\/:") == nullptr;
}

uint32_t PlatformDataDirectory(const char* name, char* destination, uint32_t size) {
    if (!PlainComponent(name) || !destination) return 0;
    char root[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("APPDATA", root, sizeof root);
    if (length == 0 || length >= sizeof root)
        length = GetEnvironmentVariableA("USERPROFILE", root, sizeof root);
    if (length == 0 || length >= sizeof root) return 0;
    while (length > 3 && (root[length - 1] == '\\' || root[length - 1] == '/')) root[--length] = 0;
    size_t total = length + 1 + strlen(name) + 1;
    if (total + 1 > size || total + 1 > MAX_PATH) return 0;
    char path[MAX_PATH];
    memcpy(path, root, length);
    path[length] = '\\';
    strcpy(path + length + 1, name);
    if (!CreateDirectoryA(path, nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return 0;
    strcat(path, "\\");
    memcpy(destination, path, total + 1);
    return static_cast<uint32_t>(total);
}

int64_t PlatformReadFile(const char* path, void* destination, uint32_t capacity) {
    if (!path || (!destination && capacity)) return -1;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    LARGE_INTEGER size;
    // Only files on a disk: a pipe or a device at the path is refused rather than read from forever.
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        CloseHandle(file);
        return -1;
    }
    uint8_t* to = static_cast<uint8_t*>(destination);
    uint64_t want =
        static_cast<uint64_t>(size.QuadPart) < capacity ? static_cast<uint64_t>(size.QuadPart) : capacity;
    uint64_t got = 0;
    while (got < want) {
        DWORD n = 0;
        if (!ReadFile(file, to + got, static_cast<DWORD>(want - got), &n, nullptr) || n == 0) break;
        got += n;
    }
    CloseHandle(file);
    if (got < want) return -1;
    return size.QuadPart;
}

int32_t PlatformWriteFile(const char* path, const void* data, uint32_t size) {
    if (!path || (!data && size)) return 0;
    char temporary[MAX_PATH];
    size_t length = strlen(path);
    if (length == 0 || length + sizeof ".new" > sizeof temporary) return 0;
    memcpy(temporary, path, length);
    memcpy(temporary + length, ".new", sizeof ".new");
    HANDLE file =
        CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    const uint8_t* from = static_cast<const uint8_t*>(data);
    uint32_t put = 0;
    bool failed = false;
    while (put < size && !failed) {
        DWORD n = 0;
        failed = !WriteFile(file, from + put, size - put, &n, nullptr) || n == 0;
        put += n;
    }
    failed = !FlushFileBuffers(file) || failed;
    failed = !CloseHandle(file) || failed;
    if (failed || !MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary);
        return 0;
    }
    return -1;
}

void PlatformLocalTime(PlatformTime* time) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    time->year = now.wYear;
    time->month = now.wMonth;
    time->dayOfWeek = now.wDayOfWeek;
    time->day = now.wDay;
    time->hour = now.wHour;
    time->minute = now.wMinute;
    time->second = now.wSecond;
    time->milliseconds = now.wMilliseconds;
}
