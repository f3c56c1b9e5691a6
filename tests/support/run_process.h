// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a program as a child process: its arguments, extra environment and
// working folder; stdout and stderr captured; killed if it outlives a deadline.
#pragma once
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

namespace zentara_test {

struct ProcessRun {
    bool Ended = false;  // false: still running at the deadline, then killed
    int ExitCode = -1;
    int Signal = 0;
    std::string Out, Err;
    std::string Output() const { return Out + Err; }
};

// environment: "NAME=value" settings added to the test's own.
inline ProcessRun run_process(const std::string& program, const std::vector<std::string>& arguments,
                              const std::string& dir = ".",
                              const std::vector<std::string>& environment = {},
                              std::chrono::milliseconds deadline = std::chrono::seconds(150)) {
    const TempDir capture;
    const std::string out = capture / "out", err = capture / "err";
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        const int out_fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err_fd = open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out_fd < 0 || err_fd < 0 || dup2(out_fd, 1) < 0 || dup2(err_fd, 2) < 0 ||
            chdir(dir.c_str()) != 0) {
            _exit(126);
        }
        for (const std::string& setting : environment) putenv(const_cast<char*>(setting.c_str()));
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    ProcessRun run;
    if (child < 0) return run;
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    pid_t done = 0;
    while ((done = waitpid(child, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    run.Ended = done == child;
    if (!run.Ended) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
    } else if (WIFEXITED(status)) {
        run.ExitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.Signal = WTERMSIG(status);
    }
    run.Out = read_file(out);
    run.Err = read_file(err);
    return run;
}

}  // namespace zentara_test
