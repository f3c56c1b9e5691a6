// A scratch working directory for tests of code that reads ./zentara.
#pragma once
#include <string>

class TempWorkDir {
public:
    TempWorkDir();   // creates a fresh directory and makes it current
    ~TempWorkDir();  // restores the previous current directory and removes it
    TempWorkDir(const TempWorkDir&) = delete;
    TempWorkDir& operator=(const TempWorkDir&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
    std::string previous_;
};

void WriteFile(const std::string& path, const std::string& contents);
std::string ReadFile(const std::string& path);

// Runs the runtime's start-up sequence the first time it is called.
void StartRuntimeOnce();
