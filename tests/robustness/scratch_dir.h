// A fresh working directory for one test, removed with everything in it.
#pragma once
#include <string>

class ScratchDir {
public:
    ScratchDir();   // creates the directory and makes it current
    ~ScratchDir();  // restores the previous current directory, removes it
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

void WriteFile(const std::string& path, const std::string& contents);
std::string ReadFile(const std::string& path);
