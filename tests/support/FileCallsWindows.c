// The test executable's imports of the system's file calls are pointed here once a test arms them: the program and
// the static Qt in the executable call through those imports, each call then passed on unchanged unless counted.
#include "FileCalls.h"
#include "FileCallsHost.h"

#include <windows.h>

#include <errno.h>
#include <io.h>
#include <stdatomic.h>
#include <string.h>
#include <wchar.h>

// Long enough for the long paths the program writes (the "\\?\" form), in UTF-8.
enum { kPathBytes = 4 * MAX_PATH * 4 };

static atomic_llong fileRoom = -1;

// A call made to fail fails as a disk that cannot be written does, or as a full one.
static int failed(DWORD error, int code) {
    SetLastError(error);
    errno = code;
    return -1;
}

// The path spelt as a test gives the root: UTF-8, absolute, "/" between names, without the "\\?\" of long paths.
static int spelt(const wchar_t* path, char* out) {
    wchar_t full[4 * MAX_PATH];
    if (wcsncmp(path, L"\\\\?\\", 4) == 0)
        path += 4;
    else if (GetFullPathNameW(path, sizeof full / sizeof *full, full, NULL) < sizeof full / sizeof *full)
        path = full;
    else
        return 0;
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
    return file_calls_visit(isRename, spelling) < 0 ? failed(ERROR_IO_DEVICE, EIO) : 0;
}

static int visitHandle(HANDLE file) {
    wchar_t path[4 * MAX_PATH];
    if (!file_calls_armed())
        return 0;
    const DWORD length = GetFinalPathNameByHandleW(file, path, sizeof path / sizeof *path, VOLUME_NAME_DOS);
    return length && length < sizeof path / sizeof *path ? visitPath(0, path) : 0;
}

static int visitWrite(HANDLE file, DWORD size) {
    const long long room = atomic_load(&fileRoom);
    const LARGE_INTEGER here = {0};
    LARGE_INTEGER at;
    if (room >= 0 && GetFileType(file) == FILE_TYPE_DISK && SetFilePointerEx(file, here, &at, FILE_CURRENT) &&
        at.QuadPart + size > room)
        return failed(ERROR_DISK_FULL, ENOSPC);
    return visitHandle(file);
}

typedef void (*AnyCall)(void);
enum { CREATE_FILE, WRITE_FILE, CRT_WRITE, FLUSH, MOVE, DELETE_FILE, MAKE_FOLDER, REMOVE_FOLDER, CALLS };
// Each call's own, as the executable imported it.
static AnyCall real[CALLS];

static HANDLE WINAPI createFile(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD creation,
                                DWORD flags, HANDLE model) {
    // Only an open that may create the file is counted, as on Linux.
    if (creation != OPEN_EXISTING && visitPath(0, path) < 0)
        return INVALID_HANDLE_VALUE;
    typedef HANDLE(WINAPI * Call)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    return ((Call)real[CREATE_FILE])(path, access, share, security, creation, flags, model);
}

static BOOL WINAPI writeFile(HANDLE file, LPCVOID bytes, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
    if (visitWrite(file, size) < 0)
        return FALSE;
    typedef BOOL(WINAPI * Call)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    return ((Call)real[WRITE_FILE])(file, bytes, size, written, overlapped);
}

// The C runtime's write, which Qt uses for a file it was handed as a descriptor, calls the system from the runtime's
// own library, which keeps its imports.
static int __cdecl crtWrite(int fd, const void* bytes, unsigned size) {
    if (visitWrite((HANDLE)_get_osfhandle(fd), size) < 0)
        return -1;
    typedef int(__cdecl * Call)(int, const void*, unsigned);
    return ((Call)real[CRT_WRITE])(fd, bytes, size);
}

static BOOL WINAPI flush(HANDLE file) {
    if (visitHandle(file) < 0)
        return FALSE;
    typedef BOOL(WINAPI * Call)(HANDLE);
    return ((Call)real[FLUSH])(file);
}

static BOOL WINAPI move(LPCWSTR from, LPCWSTR to, DWORD flags) {
    if (visitPath(1, from) < 0)
        return FALSE;
    typedef BOOL(WINAPI * Call)(LPCWSTR, LPCWSTR, DWORD);
    return ((Call)real[MOVE])(from, to, flags);
}

typedef BOOL(WINAPI* PathCall)(LPCWSTR);

static BOOL WINAPI deleteFile(LPCWSTR path) {
    return visitPath(0, path) < 0 ? FALSE : ((PathCall)real[DELETE_FILE])(path);
}

static BOOL WINAPI makeFolder(LPCWSTR path, LPSECURITY_ATTRIBUTES security) {
    if (visitPath(0, path) < 0)
        return FALSE;
    typedef BOOL(WINAPI * Call)(LPCWSTR, LPSECURITY_ATTRIBUTES);
    return ((Call)real[MAKE_FOLDER])(path, security);
}

static BOOL WINAPI removeFolder(LPCWSTR path) {
    return visitPath(0, path) < 0 ? FALSE : ((PathCall)real[REMOVE_FOLDER])(path);
}

static const struct {
    const char* name;
    AnyCall hook;
} hooks[CALLS] = {
    [CREATE_FILE] = {"CreateFileW", (AnyCall)createFile},
    [WRITE_FILE] = {"WriteFile", (AnyCall)writeFile},
    [CRT_WRITE] = {"_write", (AnyCall)crtWrite},
    [FLUSH] = {"FlushFileBuffers", (AnyCall)flush},
    [MOVE] = {"MoveFileExW", (AnyCall)move},
    [DELETE_FILE] = {"DeleteFileW", (AnyCall)deleteFile},
    [MAKE_FOLDER] = {"CreateDirectoryW", (AnyCall)makeFolder},
    [REMOVE_FOLDER] = {"RemoveDirectoryW", (AnyCall)removeFolder},
};

// Points every import of a hooked call, whichever library it names, at the hook.
static BOOL CALLBACK install(PINIT_ONCE once, PVOID parameter, PVOID* context) {
    (void)once, (void)parameter, (void)context;
    char* const base = (char*)GetModuleHandleW(NULL);
    const IMAGE_NT_HEADERS* headers = (const IMAGE_NT_HEADERS*)(base + ((const IMAGE_DOS_HEADER*)base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (const IMAGE_IMPORT_DESCRIPTOR* library = (const IMAGE_IMPORT_DESCRIPTOR*)(base + imports.VirtualAddress);
         library->Name; ++library) {
        const IMAGE_THUNK_DATA* name = (const IMAGE_THUNK_DATA*)(base + library->OriginalFirstThunk);
        for (IMAGE_THUNK_DATA* slot = (IMAGE_THUNK_DATA*)(base + library->FirstThunk); name->u1.AddressOfData;
             ++name, ++slot) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                continue;
            const char* called = (const char*)((const IMAGE_IMPORT_BY_NAME*)(base + name->u1.AddressOfData))->Name;
            for (int call = 0; call < CALLS; ++call) {
                DWORD protection;
                if (strcmp(called, hooks[call].name) != 0 ||
                    !VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, PAGE_READWRITE, &protection))
                    continue;
                real[call] = (AnyCall)slot->u1.Function;
                slot->u1.Function = (ULONG_PTR)hooks[call].hook;
                VirtualProtect(&slot->u1.Function, sizeof slot->u1.Function, protection, &protection);
            }
        }
    }
    return TRUE;
}

void file_calls_host_install(void) {
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    InitOnceExecuteOnce(&once, install, NULL, NULL);
}

void file_calls_host_kill(void) {
    TerminateProcess(GetCurrentProcess(), FILE_CALLS_KILLED);
}

void file_calls_refuse_kernel_copy(int refuse) {
    (void)refuse;
}

void file_calls_limit_file_size(long long room) {
    file_calls_host_install();
    atomic_store(&fileRoom, room);
}
