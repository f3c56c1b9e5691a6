// SPDX-License-Identifier: GPL-3.0-or-later
// POSIX implementation of directory reading and the current directory.
#include <dirent.h>
#include <errno.h>
#include <unistd.h>

#include <memory>

#include "runtime/files/dir_os.h"

namespace rt::files::os {
namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

}  // namespace

bool list_directory(const std::string& directory, std::vector<std::string>& names) {
    names.clear();
    std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.empty() ? "." : directory.c_str()));
    if (!dir) return false;
    while (const dirent* entry = ::readdir(dir.get())) names.emplace_back(entry->d_name);
    return true;
}

std::string current_directory() {
    // The buffer grows until the path fits, so no length is ever cut.
    std::string path(256, '\0');
    for (;;) {
        if (::getcwd(path.data(), path.size())) break;
        if (errno != ERANGE || path.size() > (1u << 20)) return {};
        path.resize(path.size() * 2);
    }
    path.resize(path.find('\0'));
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

}  // namespace rt::files::os
