// SPDX-License-Identifier: GPL-3.0-or-later
// POSIX implementation of the file calls behind the buffered files.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "runtime/files/file_os.h"
#include "runtime/files/path_platform.h"

namespace rt::files::os {

int32_t open_file(const char* path, Access access) {
    if (!path || !*path) return 0;
    const std::string resolved = resolve_path(path);
    const int flags = access == Access::Read ? O_RDONLY : (O_RDWR | O_CREAT);
    int fd = ::open(resolved.c_str(), flags | O_CLOEXEC, 0666);
    if (fd < 0) return 0;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return 0;
    }
    // 0 means "not open" to the callers; should descriptor 0 be free (standard
    // input closed), move the file to another one.
    if (fd == 0) {
        const int moved = ::fcntl(fd, F_DUPFD_CLOEXEC, 1);
        ::close(fd);
        if (moved < 0) return 0;
        fd = moved;
    }
    return fd;
}

int32_t read(int32_t handle, void* destination, int32_t length) {
    auto* out = static_cast<char*>(destination);
    int32_t done = 0;
    while (done < length) {
        const ssize_t got = ::read(handle, out + done, static_cast<size_t>(length - done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<int32_t>(got);
    }
    return done;
}

int32_t write(int32_t handle, const void* data, int32_t length) {
    const auto* in = static_cast<const char*>(data);
    int32_t done = 0;
    while (done < length) {
        const ssize_t put = ::write(handle, in + done, static_cast<size_t>(length - done));
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) break;
        done += static_cast<int32_t>(put);
    }
    return done;
}

void seek_back(int32_t handle, int32_t count) {
    if (count > 0) ::lseek(handle, -static_cast<off_t>(count), SEEK_CUR);
}

void close(int32_t handle) {
    if (handle > 0) ::close(handle);
}

}  // namespace rt::files::os
