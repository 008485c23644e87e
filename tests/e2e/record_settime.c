/* Preloaded into qlok by the end-to-end tests: records a clock_settime call on
 * CLOCK_REALTIME instead of making it.
 *
 * The call appends "tv_sec tv_nsec\n" to the file named by QLOK_SETTIME_RECORD
 * and reports success; without QLOK_SETTIME_RECORD, or when the line cannot be
 * written, the call fails with EPERM. No clock is ever set: any other clock
 * fails with EINVAL, as the kernel answers for every clock a process cannot set.
 * With QLOK_STARTUP_MARK set it also prints the moment of the call for the start-up
 * benchmark: "startup-mark clock_settime <monotonic ns> <process CPU ns>" on standard error. */
#define _GNU_SOURCE
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <time.h>
#include <unistd.h>

int clock_settime(clockid_t clock, const struct timespec* tp) {
    if (clock != CLOCK_REALTIME) {
        errno = EINVAL;
        return -1;
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
    const int fd = path == NULL || *path == '\0'
                       ? -1
                       : open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    char line[64];
    const int length =
        snprintf(line, sizeof line, "%lld %ld\n", (long long)tp->tv_sec, (long)tp->tv_nsec);
    const int written = fd < 0 ? -1 : (int)write(fd, line, (size_t)length);
    if (fd >= 0) {
        close(fd);
    }
    if (written != length) {
        errno = EPERM;
        return -1;
    }
    return 0;
}
