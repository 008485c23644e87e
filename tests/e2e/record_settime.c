/* Preloaded into qlok by the end-to-end tests: records a clock_settime call on
 * CLOCK_REALTIME instead of making it.
 *
 * The call appends "tv_sec tv_nsec\n" to the file named by QLOK_SETTIME_RECORD
 * and reports success. The real function is never called for CLOCK_REALTIME;
 * without QLOK_SETTIME_RECORD the call fails with EPERM. Other clocks pass on.
 * With QLOK_STARTUP_MARK set it also prints the moment of the call for the start-up
 * benchmark: "startup-mark clock_settime <monotonic ns> <process CPU ns>" on standard error. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

typedef int (*clock_settime_fn)(clockid_t, const struct timespec*);

int clock_settime(clockid_t clock, const struct timespec* tp) {
    if (clock != CLOCK_REALTIME) {
        void* symbol = dlsym(RTLD_NEXT, "clock_settime");
        clock_settime_fn real;
        memcpy(&real, &symbol, sizeof real); /* ISO C has no cast from object pointer */
        if (symbol == NULL) {
            errno = ENOSYS;
            return -1;
        }
        return real(clock, tp);
    }
    if (getenv("QLOK_STARTUP_MARK") != NULL) {
        struct timespec now, cpu;
        clock_gettime(CLOCK_MONOTONIC, &now);
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        fprintf(stderr, "startup-mark clock_settime %lld %lld\n",
                (long long)now.tv_sec * 1000000000LL + now.tv_nsec,
                (long long)cpu.tv_sec * 1000000000LL + cpu.tv_nsec);
    }
    const char* path = getenv("QLOK_SETTIME_RECORD");
    if (path == NULL || *path == '\0') {
        errno = EPERM;
        return -1;
    }
    char line[64];
    const int length =
        snprintf(line, sizeof line, "%lld %ld\n", (long long)tp->tv_sec, (long)tp->tv_nsec);
    const int fd = open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) {
        errno = EPERM;
        return -1;
    }
    const ssize_t written = write(fd, line, (size_t)length);
    close(fd);
    if (written != length) {
        errno = EPERM;
        return -1;
    }
    return 0;
}
