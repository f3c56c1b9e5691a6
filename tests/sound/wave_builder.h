// Builds RIFF/WAVE images chunk by chunk for the sound tests, and measures
// tones in rendered sample streams.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace wavetest {

using Bytes = std::vector<uint8_t>;

// A chunk: 4-character id, little-endian size, body, pad byte when odd.
Bytes chunk(const std::string& id, const Bytes& body);

// The 16-byte wave format structure (format tag 1 = PCM, 3 = float).
Bytes format_body(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);

// "RIFF", the total size, "WAVE", then the chunks as given.
Bytes riff(std::initializer_list<Bytes> chunks);

// Interleaved sine samples, every channel alike.
Bytes sine16(double hz, double seconds, uint32_t rate, uint16_t channels, double amplitude);
Bytes sine8(double hz, double seconds, uint32_t rate, double amplitude);

// A complete mono 16-bit PCM file of a sine, or of several sines one after the
// other (each `seconds` long).
Bytes tone_file(std::initializer_list<double> hz, double seconds, uint32_t rate, double amplitude);

// A heap block of exactly the image's size, so that AddressSanitizer reports
// any read past its end.
std::unique_ptr<uint8_t[]> exact_copy(const Bytes& image);

// Power of one frequency in a stretch of samples (Goertzel), normalised so
// that a sine of amplitude a gives about a^2 / 4.
double tone_power(const float* samples, size_t count, double hz, double rate);

}  // namespace wavetest
