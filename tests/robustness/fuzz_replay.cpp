// SPDX-License-Identifier: GPL-3.0-or-later
// Replays every kept input of one fuzz target through the target's own entry
// points, in the ordinary (and the sanitizer) build: the seeds, and each input
// that once made the target fail, so a fixed fault stays fixed. A failing
// input ends the program with the target's report; the trace names the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

// The folders of ZENTARA_FUZZ_INPUTS, separated by "|".
std::vector<std::filesystem::path> InputFolders() {
    std::vector<std::filesystem::path> folders;
    const std::string list = ZENTARA_FUZZ_INPUTS;
    size_t start = 0;
    for (size_t bar; (bar = list.find('|', start)) != std::string::npos; start = bar + 1) {
        folders.emplace_back(list.substr(start, bar - start));
    }
    folders.emplace_back(list.substr(start));
    return folders;
}

TEST(FuzzReplay, EveryKeptInputRunsCleanly) {
    LLVMFuzzerInitialize(nullptr, nullptr);
    std::vector<std::filesystem::path> files;
    for (const auto& folder : InputFolders()) {
        if (!std::filesystem::is_directory(folder)) continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.is_regular_file()) files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    ASSERT_FALSE(files.empty()) << "no seed corpus: run tools/fuzz-corpus";
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
        std::fprintf(stderr, "replaying %s\n", file.c_str());
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
}

}  // namespace
