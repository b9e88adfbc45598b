// A disk whose syncs are slow (a network share, a disk waking from sleep), preloaded into a
// process: fsync and fdatasync wait ZPM_SYNC_DELAY_MS milliseconds (500 without it) before they
// do their work.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <time.h>

static void Delay(void) {
    const char* text = getenv("ZPM_SYNC_DELAY_MS");
    long ms = text ? atol(text) : 500;
    struct timespec t = {ms / 1000, (ms % 1000) * 1000000L};
    while (nanosleep(&t, &t) != 0) {
    }
}

int fsync(int fd) {
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))dlsym(RTLD_NEXT, "fsync");
    Delay();
    return real(fd);
}

int fdatasync(int fd) {
    static int (*real)(int);
    if (!real)
        real = (int (*)(int))dlsym(RTLD_NEXT, "fdatasync");
    Delay();
    return real(fd);
}
