#include "game/level_file_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace {

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The name in `directory` that equals `name` ignoring case, or `name`.
std::string MatchIgnoringCase(const std::string& directory, const std::string& name) {
    DIR* dir = opendir(directory.empty() ? "." : directory.c_str());
    if (dir == nullptr) return name;
    std::string found = name;
    while (const dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

// Follows a chain of symbolic links to the path that holds the data (which
// may not exist yet). Gives up after as many hops as the system allows.
std::string FinalTarget(std::string path) {
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
        char target[PATH_MAX];
        const ssize_t length = readlink(path.c_str(), target, sizeof(target) - 1);
        if (length < 0) return path;
        const std::string next(target, static_cast<size_t>(length));
        path = next.front() == '/' ? next : DirectoryOf(path) + "/" + next;
    }
    return path;
}

bool WriteAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t written = write(fd, data.data() + done, data.size() - done);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(written);
    }
    return true;
}

// The rename is only durable once the directory entry itself is on disk.
void SyncDirectory(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

std::string FindFileIgnoringCase(const std::string& path) {
    std::string spelled = path;
    for (char& c : spelled) {
        if (c == '\\') c = '/';
    }
    if (Exists(spelled)) return spelled;

    std::string resolved;
    size_t start = 0;
    if (!spelled.empty() && spelled.front() == '/') {
        resolved = "/";
        start = 1;
    }
    while (start <= spelled.size()) {
        size_t end = spelled.find('/', start);
        if (end == std::string::npos) end = spelled.size();
        const std::string name = spelled.substr(start, end - start);
        if (!name.empty()) {
            const std::string directory = resolved.empty() ? "." : resolved;
            const std::string candidate =
                (resolved.empty() || resolved.back() == '/') ? resolved + name : resolved + "/" + name;
            const std::string actual =
                Exists(candidate) ? name : MatchIgnoringCase(directory, name);
            resolved = (resolved.empty() || resolved.back() == '/') ? resolved + actual
                                                                    : resolved + "/" + actual;
        }
        start = end + 1;
    }
    return resolved;
}

FileRead ReadWholeFile(const std::string& path, std::string& contents) {
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    contents.clear();
    char block[4096];
    for (;;) {
        const ssize_t got = read(fd, block, sizeof(block));
        if (got < 0) {
            if (errno == EINTR) continue;
            close(fd);
            return FileRead::Failed;
        }
        if (got == 0) break;
        contents.append(block, static_cast<size_t>(got));
    }
    close(fd);
    return FileRead::Ok;
}

bool ReplaceFileContents(const std::string& path, const std::string& contents) {
    const std::string target = FinalTarget(path);

    // The old file's permission decides whether the game may change it; the
    // replacement keeps its mode. A new file gets the usual mode for the
    // user's umask.
    struct stat info;
    const bool replacing = stat(target.c_str(), &info) == 0;
    if (replacing) {
        const int probe = open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (probe < 0) return false;
        close(probe);
    }

    const std::string temporary = target + ".tmp";
    unlink(temporary.c_str());  // a leftover of an interrupted save
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    bool written = WriteAll(fd, contents);
    if (written && replacing) written = fchmod(fd, info.st_mode & 07777) == 0;
    if (written) written = fsync(fd) == 0;
    if (close(fd) != 0 || !written || rename(temporary.c_str(), target.c_str()) != 0) {
        unlink(temporary.c_str());
        return false;
    }
    SyncDirectory(DirectoryOf(target));
    return true;
}
