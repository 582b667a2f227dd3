/* Preloaded into the test program when scripts/test-arm64.sh runs it under qemu-user.
 * Debian 12's qemu-user (7.2) has no CLONE_PIDFD in clone(2), but Qt's QProcess asks the
 * kernel, not qemu, whether pidfds exist (waitid(P_PIDFD) on a closed descriptor): the
 * kernel says yes, the clone then fails and every program a test starts fails to start.
 * Answering that question with "no" makes QProcess fork as it does on older kernels. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdarg.h>
#include <stdlib.h>
#include <string.h>
#include <sys/syscall.h>

enum { IdTypePidfd = 3 }; /* P_PIDFD */

static long (*systemCall)(long, ...);

__attribute__((constructor)) static void takeOver(void)
{
    void* next = dlsym(RTLD_NEXT, "syscall");
    memcpy(&systemCall, &next, sizeof next);
    /* The programs the tests start, some of them for the build machine, are not preloaded. */
    unsetenv("LD_PRELOAD");
}

long syscall(long number, ...)
{
    va_list arguments;
    va_start(arguments, number);
    long a[6];
    for (int i = 0; i < 6; ++i)
        a[i] = va_arg(arguments, long);
    va_end(arguments);
    if (number == SYS_waitid && a[0] == IdTypePidfd) {
        errno = EINVAL;
        return -1;
    }
    return systemCall(number, a[0], a[1], a[2], a[3], a[4], a[5]);
}
