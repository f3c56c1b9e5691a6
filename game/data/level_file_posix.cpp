// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/data/level_file_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace {

// Closes or removes what a failed step leaves without losing the failure's
// errno, which tells the player why.
void CloseKeepingErrno(int fd) {
    const int why = errno;
    close(fd);
    errno = why;
}
void UnlinkKeepingErrno(const std::string& path) {
    const int why = errno;
    unlink(path.c_str());
    errno = why;
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
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

FileRead ReadWholeFile(const std::string& path, std::string& contents) {
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0) return errno == ENOENT ? FileRead::Missing : FileRead::Failed;
    contents.clear();
    char block[4096];
    for (;;) {
        const ssize_t got = read(fd, block, sizeof(block));
        if (got < 0) {
            if (errno == EINTR) continue;
            CloseKeepingErrno(fd);
            return FileRead::Failed;
        }
        if (got == 0) break;
        contents.append(block, static_cast<size_t>(got));
    }
    close(fd);
    return FileRead::Ok;
}

namespace {

// Writes `contents` over the file itself: the only way left when its folder
// cannot take a new file, and the way that keeps every hard link to it
// sharing the data. Not atomic, but the same bytes, flushed.
bool RewriteInPlace(const std::string& target, const std::string& contents) {
    const int fd = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    bool written = WriteAll(fd, contents);
    if (written) written = ftruncate(fd, static_cast<off_t>(contents.size())) == 0;
    if (written) written = fsync(fd) == 0;
    if (!written) CloseKeepingErrno(fd);
    return written && close(fd) == 0;
}

// A save's temporary file is the target's name, this marker and six random
// characters: a shape no player picks, so the leftovers of a save that was
// killed can be recognised and removed by the next one.
constexpr char kSaveMarker[] = ".save-";
constexpr size_t kRandomChars = 6;

void RemoveKilledSaves(const std::string& target) {
    const std::string folder = DirectoryOf(target);
    const size_t slash = target.rfind('/');
    const std::string prefix =
        (slash == std::string::npos ? target : target.substr(slash + 1)) + kSaveMarker;
    DIR* listing = opendir(folder.c_str());
    if (listing == nullptr) return;
    while (const dirent* entry = readdir(listing)) {
        const std::string name = entry->d_name;
        if (name.size() == prefix.size() + kRandomChars &&
            name.compare(0, prefix.size(), prefix) == 0) {
            unlink((folder + "/" + name).c_str());
        }
    }
    closedir(listing);
}

// The new contents go to a temporary file with a name nobody else uses
// (created exclusively, so no player's file is ever touched), which is then
// flushed and renamed over the target. `mode` is the permission to give it.
bool WriteBesideAndRename(const std::string& target, const std::string& contents, mode_t mode) {
    RemoveKilledSaves(target);
    std::string temporary = target + kSaveMarker + std::string(kRandomChars, 'X');
    const int fd = mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    bool written = WriteAll(fd, contents);
    if (written) written = fchmod(fd, mode) == 0;
    if (written) written = fsync(fd) == 0;
    if (!written) CloseKeepingErrno(fd);
    if (!written || close(fd) != 0 || rename(temporary.c_str(), target.c_str()) != 0) {
        UnlinkKeepingErrno(temporary);
        return false;
    }
    SyncDirectory(DirectoryOf(target));
    return true;
}

mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

}  // namespace

bool ReplaceFileContents(const std::string& path, const std::string& contents) {
    const std::string target = FinalTarget(path);
    // The old file's permission decides whether the game may change it.
    struct stat info;
    if (stat(target.c_str(), &info) != 0) {
        return WriteBesideAndRename(target, contents, NewFileMode());
    }
    const int probe = open(target.c_str(), O_WRONLY | O_CLOEXEC);
    if (probe < 0) return false;
    close(probe);
    // A rename would part the file from its other names, and a folder that
    // takes no new file leaves no other way. Otherwise never in place: a write
    // that fails halfway (a full disk) would tear the only copy.
    if (info.st_nlink > 1 || access(DirectoryOf(target).c_str(), W_OK) != 0) {
        return RewriteInPlace(target, contents);
    }
    return WriteBesideAndRename(target, contents, info.st_mode & 07777);
}
