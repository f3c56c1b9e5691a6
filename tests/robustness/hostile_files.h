// Broken, lying and oversized versions of the files a player may put into
// zentara/: each function turns good bytes (or nothing) into hostile ones.
#pragma once
#include <cstdint>
#include <string>

// The signature and header kept, every later 7th byte flipped.
std::string Corrupted(const std::string& good);
// A BMP header declaring width x height 24-bit pixels, with a few bytes of data.
std::string HugeBmp(int32_t width, int32_t height);
// A WAV whose RIFF, "fmt " and "data" sizes claim far more than the file holds.
std::string LyingWav(const std::string& good);
// `size` bytes of reproducible noise.
std::string Garbage(size_t size, uint32_t seed);
