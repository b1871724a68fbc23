// Counts the file calls below the armed root and decides what happens at the n-th; FileCallsLinux.c and
// FileCallsWindows.c bring each host's calls here.
#include "FileCalls.h"
#include "FileCallsHost.h"

#include <pthread.h>
#include <stdatomic.h>
#include <stdio.h>
#include <string.h>

static atomic_int armed;
static pthread_mutex_t mutex = PTHREAD_MUTEX_INITIALIZER;
static pthread_cond_t changed = PTHREAD_COND_INITIALIZER;
static char root[4096];
static size_t rootLength;
static int counted;
static long nth;
static int action;
static atomic_long count;
static atomic_int holding;
static int released;

void file_calls_arm(const char* folder, int which, long n, int what) {
    pthread_mutex_lock(&mutex);
    snprintf(root, sizeof root, "%s", folder);
    rootLength = strlen(root);
    counted = which;
    nth = n;
    action = what;
    count = 0;
    holding = 0;
    released = 0;
    atomic_store(&armed, 1);
    pthread_mutex_unlock(&mutex);
}

void file_calls_disarm(void) {
    atomic_store(&armed, 0);
}

int file_calls_armed(void) {
    return atomic_load(&armed);
}

long file_calls_counted(void) {
    return atomic_load(&count);
}

int file_calls_holding(void) {
    return atomic_load(&holding);
}

void file_calls_release(void) {
    pthread_mutex_lock(&mutex);
    released = 1;
    pthread_cond_broadcast(&changed);
    pthread_mutex_unlock(&mutex);
}

static int isBelowRoot(const char* path) {
#ifdef _WIN32
    // Windows' names match whatever their case.
    const int same = _strnicmp(path, root, rootLength) == 0;
#else
    const int same = strncmp(path, root, rootLength) == 0;
#endif
    return same && (path[rootLength] == '/' || path[rootLength] == '\0');
}

int file_calls_visit(int isRename, const char* path) {
    if (!atomic_load(&armed))
        return 0;
    pthread_mutex_lock(&mutex);
    if (!isBelowRoot(path) || (counted == FILE_CALLS_RENAMES && !isRename)) {
        pthread_mutex_unlock(&mutex);
        return 0;
    }
    ++count;
    const int hit = action == FILE_CALLS_FAIL_ON    ? count >= nth
                    : action == FILE_CALLS_FAIL_TWO ? count == nth || count == nth + 1
                                                    : count == nth;
    if (hit && action == FILE_CALLS_KILL)
        file_calls_host_kill();
    if (hit && action == FILE_CALLS_HOLD) {
        holding = 1;
        while (!released)
            pthread_cond_wait(&changed, &mutex);
        holding = 0;
    }
    pthread_mutex_unlock(&mutex);
    if (!hit || action == FILE_CALLS_KILL || action == FILE_CALLS_HOLD)
        return 0;
    return action == FILE_CALLS_FULL ? -2 : -1;
}
