// SPDX-License-Identifier: GPL-3.0-or-later
// Path resolution on POSIX: the program spells its paths the Windows way
// ("zentara\Kugel.wav"), with either separator and in any letter case.
#include "runtime/files/path_platform.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

#include "runtime/core/boundary.h"
#include "runtime/files/name_match.h"

namespace rt::files {
namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// The entry of `dir` whose name equals `name` ignoring case, or "" when there
// is none. The alphabetically first one wins when several differ only in case,
// so the answer does not depend on the file system's order.
std::string find_ignoring_case(const std::string& dir, const std::string& name) {
    std::unique_ptr<DIR, DirCloser> handle(::opendir(dir.empty() ? "." : dir.c_str()));
    if (!handle) return {};
    std::string best;
    while (const dirent* entry = ::readdir(handle.get())) {
        const std::string candidate = entry->d_name;
        if (!equal_ignoring_case(candidate, name)) continue;
        if (best.empty() || candidate < best) best = candidate;
    }
    return best;
}

void fill_identity(FileIdentity& out, const struct stat& info) {
    out.device = static_cast<uint64_t>(info.st_dev);
    out.inode = static_cast<uint64_t>(info.st_ino);
    out.size = static_cast<int64_t>(info.st_size);
    out.modified = info.st_mtim;
    out.changed = info.st_ctim;
}

bool same_time(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

bool FileIdentity::operator==(const FileIdentity& other) const {
    return device == other.device && inode == other.inode && size == other.size &&
           same_time(modified, other.modified) && same_time(changed, other.changed) &&
           path == other.path;
}

bool identify_file(const char* path, FileIdentity& out) {
    out = FileIdentity{};
    if (path == nullptr || *path == 0) return false;
    // The path as spelled usually exists: one look-up instead of two.
    out.path = path;
    std::replace(out.path.begin(), out.path.end(), '\\', '/');
    struct stat info {};
    if (::stat(out.path.c_str(), &info) != 0) {
        out.path = resolve_path(path);
        if (::stat(out.path.c_str(), &info) != 0) return false;
    }
    if (!S_ISREG(info.st_mode)) return false;
    fill_identity(out, info);
    return true;
}

std::string resolve_path(const char* path) {
    std::string spelled = path ? path : "";
    std::replace(spelled.begin(), spelled.end(), '\\', '/');
    if (spelled.empty() || exists(spelled)) return spelled;

    // Walk the components, keeping each one that exists and looking up the
    // others in their directory. Once a component cannot be found, the rest is
    // kept as spelled (the caller may be about to create it).
    std::string resolved = spelled[0] == '/' ? "/" : "";
    size_t start = spelled[0] == '/' ? 1 : 0;
    bool found = true;
    while (start <= spelled.size()) {
        size_t end = spelled.find('/', start);
        if (end == std::string::npos) end = spelled.size();
        std::string part = spelled.substr(start, end - start);
        const bool last = end == spelled.size();
        if (!part.empty()) {
            std::string candidate = resolved + part;
            if (found && part != "." && part != ".." && !exists(candidate)) {
                const std::string match = find_ignoring_case(resolved, part);
                if (match.empty()) {
                    found = false;
                } else {
                    candidate = resolved + match;
                }
            }
            resolved = candidate;
        }
        if (!last && (resolved.empty() || resolved.back() != '/')) resolved += '/';
        start = end + 1;
    }
    return resolved;
}

bool read_whole_file(const char* path, std::vector<uint8_t>& out, FileIdentity* identity) {
    out.clear();
    const std::string resolved = resolve_path(path);
    if (resolved.empty()) return rt::core::fail(false, "no file name");
    const int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return rt::core::fail(false, std::strerror(errno), path);
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (!ok) rt::core::record_failure("not a regular file", path);
    // Nothing of the interface takes more than 2^31 - 1 bytes: a larger file
    // is refused before any of it is read or memory is reserved for it.
    if (ok && info.st_size > INT32_MAX) {
        rt::core::record_failure("too large (more than 2 GiB)", path);
        ok = false;
    }
    if (ok && identity != nullptr) {
        identity->path = resolved;
        fill_identity(*identity, info);
    }
    if (ok) {
        out.reserve(static_cast<size_t>(info.st_size));
        uint8_t chunk[65536];
        for (;;) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                rt::core::record_failure(std::strerror(errno), path);
                ok = false;
                break;
            }
            if (got == 0) break;
            if (out.size() + static_cast<size_t>(got) > static_cast<size_t>(INT32_MAX)) {
                rt::core::record_failure("too large (more than 2 GiB)", path);
                ok = false;
                break;
            }
            out.insert(out.end(), chunk, chunk + got);
        }
    }
    // A file written to while it was read has no one version to name.
    if (ok && identity != nullptr) {
        FileIdentity after = *identity;
        struct stat now {};
        if (::fstat(fd, &now) != 0) {
            identity->path.clear();
        } else {
            fill_identity(after, now);
            if (!(after == *identity) || static_cast<int64_t>(out.size()) != identity->size)
                identity->path.clear();
        }
    }
    ::close(fd);
    if (!ok) out.clear();
    return ok;
}

}  // namespace rt::files
