// The executable is linked with --wrap=__imp_NAME for each call below, so the program's and the static Qt's calls
// of NAME come to wrapped_NAME, which passes each on to the system's, real(NAME), unless a test armed it.
#include "FileCalls.h"
#include "FileCallsHost.h"

#include <windows.h>

#include <errno.h>
#include <io.h>
#include <wchar.h>

#define WRAP(name)                                                                                                     \
    extern __typeof__(name)* __real___imp_##name;                                                                      \
    static __typeof__(name) wrapped_##name;                                                                            \
    __typeof__(name)* __wrap___imp_##name = wrapped_##name
#define real(name) __real___imp_##name

// Long enough for the long paths the program writes (the "\\?\" form), in UTF-8.
enum { kPathChars = 4 * MAX_PATH, kPathBytes = 4 * kPathChars };

// A call made to fail fails as a disk that cannot be written does, or as a full one.
static int failed(DWORD error, int code) {
    SetLastError(error);
    errno = code;
    return -1;
}

// The path spelt as a test gives the root: UTF-8, absolute, "/" between names, without the "\\?\" of long paths.
static int spelt(const wchar_t* path, char* out) {
    wchar_t full[kPathChars];
    if (wcsncmp(path, L"\\\\?\\", 4) == 0)
        path += 4;
    else if (GetFullPathNameW(path, kPathChars, full, NULL) < kPathChars)
        path = full;
    if (!WideCharToMultiByte(CP_UTF8, 0, path, -1, out, kPathBytes, NULL, NULL))
        return 0;
    for (char* at = out; *at; ++at)
        *at = *at == '\\' ? '/' : *at;
    return 1;
}

static int visitPath(int isRename, const wchar_t* path) {
    char spelling[kPathBytes];
    if (!path || !file_calls_armed() || !spelt(path, spelling))
        return 0;
    const int visited = file_calls_visit(isRename, spelling);
    return visited == -2 ? failed(ERROR_DISK_FULL, ENOSPC) : visited < 0 ? failed(ERROR_IO_DEVICE, EIO) : 0;
}

static int visitHandle(HANDLE file) {
    wchar_t path[kPathChars];
    if (!file_calls_armed())
        return 0;
    const DWORD length = GetFinalPathNameByHandleW(file, path, kPathChars, VOLUME_NAME_DOS);
    return length && length < kPathChars ? visitPath(0, path) : 0;
}

WRAP(CreateFileW);
static HANDLE WINAPI wrapped_CreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                         DWORD creation, DWORD flags, HANDLE model) {
    // Only an open that may create the file is counted, as on Linux.
    if (creation != OPEN_EXISTING && visitPath(0, path) < 0)
        return INVALID_HANDLE_VALUE;
    return real(CreateFileW)(path, access, share, security, creation, flags, model);
}

WRAP(WriteFile);
static BOOL WINAPI wrapped_WriteFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlap) {
    return visitHandle(file) < 0 ? FALSE : real(WriteFile)(file, bytes, size, written, overlap);
}

// Qt writes a file it was handed as a descriptor through the C runtime, whose library calls the system itself.
WRAP(_write);
static int __cdecl wrapped__write(int fd, const void* bytes, unsigned size) {
    return visitHandle((HANDLE)_get_osfhandle(fd)) < 0 ? -1 : real(_write)(fd, bytes, size);
}

WRAP(FlushFileBuffers);
static BOOL WINAPI wrapped_FlushFileBuffers(HANDLE file) {
    return visitHandle(file) < 0 ? FALSE : real(FlushFileBuffers)(file);
}

WRAP(MoveFileExW);
static BOOL WINAPI wrapped_MoveFileExW(LPCWSTR from, LPCWSTR to, DWORD flags) {
    return visitPath(1, from) < 0 ? FALSE : real(MoveFileExW)(from, to, flags);
}

WRAP(DeleteFileW);
static BOOL WINAPI wrapped_DeleteFileW(LPCWSTR path) {
    return visitPath(0, path) < 0 ? FALSE : real(DeleteFileW)(path);
}

WRAP(CreateDirectoryW);
static BOOL WINAPI wrapped_CreateDirectoryW(LPCWSTR path, LPSECURITY_ATTRIBUTES security) {
    return visitPath(0, path) < 0 ? FALSE : real(CreateDirectoryW)(path, security);
}

WRAP(RemoveDirectoryW);
static BOOL WINAPI wrapped_RemoveDirectoryW(LPCWSTR path) {
    return visitPath(0, path) < 0 ? FALSE : real(RemoveDirectoryW)(path);
}

void file_calls_host_kill(void) {
    TerminateProcess(GetCurrentProcess(), FILE_CALLS_KILLED);
}
