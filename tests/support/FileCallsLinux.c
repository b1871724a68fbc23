// The program's own calls reach these definitions instead of the C library's, and so do Qt's; each passes
// the call on unchanged unless a test armed it.
#define _GNU_SOURCE
#include "FileCalls.h"
#include "FileCallsHost.h"

#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

void file_calls_host_kill(void) {
    kill(getpid(), SIGKILL);
}

static void* real(const char* name) {
    return dlsym(RTLD_NEXT, name);
}

static int pathOfDescriptor(int fd, char* path) {
    char link[64];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, PATH_MAX - 1);
    if (length < 0)
        return 0;
    path[length] = '\0';
    return 1;
}

static int pathAt(int folder, const char* name, char* path) {
    if (name[0] == '/' || folder == AT_FDCWD)
        return snprintf(path, PATH_MAX, "%s", name) < PATH_MAX;
    char base[PATH_MAX];
    return pathOfDescriptor(folder, base) && snprintf(path, PATH_MAX, "%s/%s", base, name) < PATH_MAX;
}

// A call made to fail fails as a disk that cannot be written does, or as a full one.
static int failed(int visited) {
    if (visited < 0)
        errno = visited == -2 ? ENOSPC : EIO;
    return visited < 0 ? -1 : 0;
}

static int visitAt(int isRename, int folder, const char* name) {
    char path[PATH_MAX];
    return file_calls_armed() && pathAt(folder, name, path) ? failed(file_calls_visit(isRename, path)) : 0;
}

static int visitDescriptor(int fd) {
    char path[PATH_MAX];
    return file_calls_armed() && pathOfDescriptor(fd, path) ? failed(file_calls_visit(0, path)) : 0;
}

#define OPEN_WITH_MODE(call, ...)                                                                                      \
    mode_t mode = 0;                                                                                                   \
    if (flags & (O_CREAT | O_TMPFILE)) {                                                                               \
        va_list arguments;                                                                                             \
        va_start(arguments, flags);                                                                                    \
        mode = va_arg(arguments, mode_t);                                                                              \
        va_end(arguments);                                                                                             \
    }                                                                                                                  \
    return call(__VA_ARGS__, flags, mode)

static int createAt(const char* name, int folder, const char* path, int flags, mode_t mode) {
    int (*open)(int, const char*, int, ...) = real(name);
    return (flags & O_CREAT) && visitAt(0, folder, path) < 0 ? -1 : open(folder, path, flags, mode);
}

int open(const char* path, int flags, ...) {
    OPEN_WITH_MODE(createAt, "openat", AT_FDCWD, path);
}
int open64(const char* path, int flags, ...) {
    OPEN_WITH_MODE(createAt, "openat64", AT_FDCWD, path);
}
int openat(int folder, const char* path, int flags, ...) {
    OPEN_WITH_MODE(createAt, "openat", folder, path);
}
int openat64(int folder, const char* path, int flags, ...) {
    OPEN_WITH_MODE(createAt, "openat64", folder, path);
}

ssize_t write(int fd, const void* bytes, size_t size) {
    ssize_t (*call)(int, const void*, size_t) = real("write");
    return visitDescriptor(fd) < 0 ? -1 : call(fd, bytes, size);
}

ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t size, unsigned flags) {
    ssize_t (*call)(int, off64_t*, int, off64_t*, size_t, unsigned) = real("copy_file_range");
    return visitDescriptor(out) < 0 ? -1 : call(in, inOffset, out, outOffset, size, flags);
}

int fsync(int fd) {
    int (*call)(int) = real("fsync");
    return visitDescriptor(fd) < 0 ? -1 : call(fd);
}

int rename(const char* from, const char* to) {
    int (*call)(const char*, const char*) = real("rename");
    return visitAt(1, AT_FDCWD, from) < 0 ? -1 : call(from, to);
}

int unlink(const char* path) {
    int (*call)(const char*) = real("unlink");
    return visitAt(0, AT_FDCWD, path) < 0 ? -1 : call(path);
}

int mkdir(const char* path, mode_t mode) {
    int (*call)(const char*, mode_t) = real("mkdir");
    return visitAt(0, AT_FDCWD, path) < 0 ? -1 : call(path, mode);
}

int rmdir(const char* path) {
    int (*call)(const char*) = real("rmdir");
    return visitAt(0, AT_FDCWD, path) < 0 ? -1 : call(path);
}
