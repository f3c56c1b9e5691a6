// SPDX-License-Identifier: GPL-3.0-or-later
// Small helpers shared by the fuzz targets: reading little-endian numbers off
// the front of the input and copying the rest out as a NUL-terminated text.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// Consumes the input from the front; past its end every read answers 0.
class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    int32_t TakeInt32() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(TakeByte()) << (8 * i);
        return static_cast<int32_t>(value);
    }
    uint8_t TakeByte() { return size_ > 0 ? (--size_, *data_++) : 0; }
    size_t Remaining() const { return size_; }

    // The rest of the input up to its first NUL, as the runtime sees a text.
    std::string TakeText() {
        std::string text(reinterpret_cast<const char*>(data_), size_);
        data_ += size_;
        size_ = 0;
        return text.substr(0, std::strlen(text.c_str()));
    }

  private:
    const uint8_t* data_;
    size_t size_;
};

// Stops the run so libFuzzer records the input as a crash.
[[noreturn]] inline void FuzzFailure(const char* what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

#define FUZZ_CHECK(condition)                      \
    do {                                           \
        if (!(condition)) FuzzFailure(#condition); \
    } while (0)
