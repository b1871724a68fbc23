#pragma once

// Between the counting, the same on every host, and each host's way of standing between the program and its calls.

// Whether a test armed the calls, so that a host finds a call's path only then.
int file_calls_armed(void);
// Counts a call on path, spelt as the root was given (Windows: "/" between names); 0 lets the call go on, -1 fails
// it, -2 fails it as a full disk, and at the n-th call to kill the process never returns.
int file_calls_visit(int isRename, const char* path);
// Ends the process as kill -9 ends it, each host as it can.
void file_calls_host_kill(void);
