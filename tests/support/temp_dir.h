// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh directory for one test, removed with everything in it afterwards.
#pragma once
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

namespace zentara_test {

inline void write_file(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

inline std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class TempDir {
  public:
    // With enter = true the directory is also the current one until destruction.
    explicit TempDir(bool enter = false) {
        std::string pattern = (std::filesystem::temp_directory_path() / "zentara-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
        if (enter) {
            previous_ = std::filesystem::current_path().string();
            std::filesystem::current_path(path_);
        }
    }
    ~TempDir() {
        std::error_code ignored;
        if (!previous_.empty()) std::filesystem::current_path(previous_, ignored);
        // Tests make files and folders read-only; give the owner rights back first.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(
                 path_, std::filesystem::directory_options::skip_permission_denied, ignored)) {
            if (!entry.is_symlink()) ::chmod(entry.path().c_str(), 0755);
        }
        ::chmod(path_.c_str(), 0755);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    void write(const std::string& name, const std::string& bytes) const {
        write_file(*this / name, bytes);
    }
    std::string read(const std::string& name) const { return read_file(*this / name); }

  private:
    std::string path_, previous_;
};

}  // namespace zentara_test
