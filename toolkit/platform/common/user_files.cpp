// Files of the Linux backends: whole-file reads, writes that go to a temporary file beside the target and
// are renamed over it, and data directories made on demand. Only regular files are read or replaced: a
// FIFO, a device or a directory at the path is refused rather than waited on, read forever or written into.
#include "toolkit/platform/common/user_files.h"

#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <stdio.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "toolkit/platform/platform.h"

enum : uint32_t { pathLimit = 4096 };

static bool PlainComponent(const char* name) {
    if (!name || !name[0] || strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return false;
    return strchr(name, '/') == nullptr;
}

// Makes every directory of an absolute or relative path ending in '/'.
static bool MakeDirectories(char* path) {
    for (char* p = path + 1; *p; p++) {
        if (*p != '/') continue;
        *p = 0;
        bool made = mkdir(path, 0700) == 0 || errno == EEXIST;
        *p = '/';
        if (!made) return false;
    }
    struct stat st;
    return stat(path, &st) == 0 && S_ISDIR(st.st_mode);
}

uint32_t MakeDataDirectory(const char* root, const char* name, char* destination, uint32_t size) {
    if (!root || !root[0] || !PlainComponent(name) || !destination) return 0;
    size_t rootLength = strlen(root);
    while (rootLength > 1 && root[rootLength - 1] == '/') rootLength--;
    size_t length = rootLength + 1 + strlen(name) + 1;
    if (length + 1 > size || length + 1 > pathLimit) return 0;
    char path[pathLimit];
    memcpy(path, root, rootLength);
    path[rootLength] = '/';
    strcpy(path + rootLength + 1, name);
    strcat(path, "/");
    if (!MakeDirectories(path)) return 0;
    memcpy(destination, path, length + 1);
    return static_cast<uint32_t>(length);
}

int64_t PlatformReadFile(const char* path, void* destination, uint32_t capacity) {
    if (!path || (!destination && capacity)) return -1;
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    uint8_t* to = static_cast<uint8_t*>(destination);
    uint64_t got = 0;
    bool failed = false;
    while (got < capacity) {
        ssize_t n = read(fd, to + got, capacity - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed = n < 0;
            break;
        }
        got += static_cast<uint64_t>(n);
    }
    // A full buffer says nothing about what follows: one more byte tells.
    uint64_t size = got;
    if (!failed && got == capacity) {
        char more;
        ssize_t n;
        do n = read(fd, &more, 1);
        while (n < 0 && errno == EINTR);
        failed = n < 0;
        if (n > 0)
            size = static_cast<uint64_t>(st.st_size) > got ? static_cast<uint64_t>(st.st_size) : got + 1;
    }
    close(fd);
    return failed ? -1 : static_cast<int64_t>(size);
}

// Where a write to path goes: path itself when nothing or a regular file is there, the file a link leads to
// when that is a regular file (the link stays a link). False for anything else, a dangling link included.
static bool WriteTarget(const char* path, char* target) {
    struct stat st;
    if (lstat(path, &st) != 0) {
        if (errno != ENOENT || strlen(path) >= pathLimit) return false;
        strcpy(target, path);
        return true;
    }
    if (S_ISREG(st.st_mode)) {
        if (strlen(path) >= pathLimit) return false;
        strcpy(target, path);
        return true;
    }
    char resolved[PATH_MAX];
    if (!S_ISLNK(st.st_mode) || !realpath(path, resolved) || stat(resolved, &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    if (strlen(resolved) >= pathLimit) return false;
    strcpy(target, resolved);
    return true;
}

int32_t PlatformWriteFile(const char* path, const void* data, uint32_t size) {
    if (!path || !path[0] || (!data && size)) return 0;
    char target[pathLimit], temporary[pathLimit];
    if (!WriteTarget(path, target)) return 0;
    // Each program its own temporary: two saving the same file at once both succeed (the last one wins),
    // and neither removes or renames the other's half-written file.
    int made = snprintf(temporary, sizeof temporary, "%s.%ld.new", target, static_cast<long>(getpid()));
    if (made < 0 || static_cast<size_t>(made) >= sizeof temporary) return 0;
    // A file-size limit then fails the write (EFBIG) instead of ending the program.
    signal(SIGXFSZ, SIG_IGN);
    // A leftover of that name, or a link someone put there, is removed, never written through.
    unlink(temporary);
    int fd = open(temporary, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return 0;
    const uint8_t* from = static_cast<const uint8_t*>(data);
    uint64_t put = 0;
    bool failed = false;
    while (put < size && !failed) {
        ssize_t n = write(fd, from + put, size - put);
        if (n < 0 && errno == EINTR) continue;
        failed = n <= 0;
        if (n > 0) put += static_cast<uint64_t>(n);
    }
    failed = fsync(fd) != 0 || failed;
    failed = close(fd) != 0 || failed;
    if (failed || rename(temporary, target) != 0) {
        unlink(temporary);
        return 0;
    }
    return -1;
}
