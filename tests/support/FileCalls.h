#pragma once

// Stands between the program and the host's file calls in a test executable (Linux: the C library's, Windows: the
// system's): counts the calls that create, write, sync, rename or remove files and folders below a root, and does
// something at the n-th: ends the process as kill -9 does, makes the call fail, or holds it until released.
#ifdef __cplusplus
extern "C" {
#endif
enum FileCallsCounted { FILE_CALLS_ALL = 1, FILE_CALLS_RENAMES = 2 };
// FILE_CALLS_FAIL_ON fails the n-th call and every one after it, FILE_CALLS_FAIL_TWO the n-th and the next;
// FILE_CALLS_FULL fails the n-th as a full disk does.
enum FileCallsAction {
    FILE_CALLS_KILL = 1,
    FILE_CALLS_FAIL,
    FILE_CALLS_HOLD,
    FILE_CALLS_FAIL_ON,
    FILE_CALLS_FAIL_TWO,
    FILE_CALLS_FULL
};
void file_calls_arm(const char* root, int counted, long nth, int action);
void file_calls_disarm(void);
// The calls counted since the last arm.
long file_calls_counted(void);
// Whether the n-th call is being held now; releasing it lets it go on.
int file_calls_holding(void);
void file_calls_release(void);
#ifdef _WIN32
// The exit code of a process killed at its call, which is the one QProcess::kill gives.
enum { FILE_CALLS_KILLED = 0xf291 };
#endif
#ifdef __cplusplus
}
#endif
