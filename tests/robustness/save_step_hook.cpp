// SPDX-License-Identifier: GPL-3.0-or-later
#include "save_step_hook.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdarg>

// These definitions take the place of the C library's functions for the whole
// program; unarmed they go straight to the kernel, as the library would.
namespace {

int g_killAt = 0;  // 0: disarmed
int g_calls = 0;

void Step() {
    if (g_killAt == 0) return;
    ++g_calls;
    if (g_calls == g_killAt) raise(SIGKILL);
}

}  // namespace

void ArmSaveStepKill(int killAt) {
    g_calls = 0;
    g_killAt = killAt;
}

int DisarmSaveStepKill() {
    g_killAt = 0;
    return g_calls;
}

extern "C" {

int open(const char* path, int flags, ...) {
    mode_t mode = 0;
    if ((flags & (O_CREAT | O_TMPFILE)) != 0) {
        va_list args;
        va_start(args, flags);
        mode = static_cast<mode_t>(va_arg(args, int));
        va_end(args);
    }
    Step();
    return static_cast<int>(syscall(SYS_openat, AT_FDCWD, path, flags, mode));
}

ssize_t write(int fd, const void* data, size_t size) {
    Step();
    return syscall(SYS_write, fd, data, size);
}

int fchmod(int fd, mode_t mode) {
    Step();
    return static_cast<int>(syscall(SYS_fchmod, fd, mode));
}

int fsync(int fd) {
    Step();
    return static_cast<int>(syscall(SYS_fsync, fd));
}

int close(int fd) {
    Step();
    return static_cast<int>(syscall(SYS_close, fd));
}

int rename(const char* from, const char* to) {
    Step();
    return static_cast<int>(syscall(SYS_renameat, AT_FDCWD, from, AT_FDCWD, to));
}

int unlink(const char* path) {
    Step();
    return static_cast<int>(syscall(SYS_unlinkat, AT_FDCWD, path, 0));
}

}  // extern "C"
