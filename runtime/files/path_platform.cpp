// Path resolution on POSIX: the program spells its paths the Windows way
// ("zentara\Kugel.wav"), with either separator and in any letter case.
#include "runtime/files/path_platform.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

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

}  // namespace

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

bool read_whole_file(const char* path, std::vector<uint8_t>& out) {
    out.clear();
    const std::string resolved = resolve_path(path);
    if (resolved.empty()) return false;
    const int fd = ::open(resolved.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    if (ok) {
        out.reserve(static_cast<size_t>(info.st_size));
        uint8_t chunk[65536];
        for (;;) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) {
                ok = false;
                break;
            }
            if (got == 0) break;
            out.insert(out.end(), chunk, chunk + got);
        }
    }
    ::close(fd);
    if (!ok) out.clear();
    return ok;
}

}  // namespace rt::files
