// SPDX-License-Identifier: GPL-3.0-or-later
// Program start-up, from starting the process to a ready menu, measured on a
// new process each time (library loading, the runtime, the level file, the
// window, the screen, the star field and the menu bar).
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

extern char** environ;

namespace fs = std::filesystem;

namespace {

// A working directory holding the asset pack, as the player's data directory does.
const fs::path& WorkDirectory() {
    static const fs::path dir = [] {
        const fs::path d =
            fs::temp_directory_path() / ("zentara-startup-" + std::to_string(getpid()));
        fs::create_directories(d);
        fs::copy(fs::path(ZENTARA_SOURCE_DIR) / "assets" / "zentara", d / "zentara",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        std::atexit([] {
            std::error_code ignored;
            fs::remove_all(
                fs::temp_directory_path() / ("zentara-startup-" + std::to_string(getpid())),
                ignored);
        });
        return d;
    }();
    return dir;
}

void BM_StartupToMenu(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    fs::current_path(WorkDirectory());
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("pipe");
            break;
        }
        const std::string fd = std::to_string(fds[1]);
        char* const argv[] = {const_cast<char*>(STARTUP_PROBE), const_cast<char*>(fd.c_str()),
                              nullptr};
        const auto t0 = std::chrono::steady_clock::now();
        pid_t pid = 0;
        if (posix_spawn(&pid, STARTUP_PROBE, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("spawn");
            break;
        }
        close(fds[1]);
        char buffer[16];
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        const auto t1 = std::chrono::steady_clock::now();
        close(fds[0]);
        state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
        int status = 0;
        waitpid(pid, &status, 0);
        if (got <= 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program did not reach its menu");
            break;
        }
    }
}
BENCHMARK(BM_StartupToMenu)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
