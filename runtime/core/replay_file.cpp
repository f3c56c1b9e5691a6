// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/core/replay_file.h"

#include <cstring>

namespace rt::replay {
namespace {

constexpr uint8_t kEscape = 31;  // small value: a varint follows
constexpr uint8_t kControlFrame = 0;
constexpr uint8_t kControlEnd = 1;
constexpr uint8_t kManyKeys = 15;  // key count: a varint follows
constexpr uint8_t kFocus = 16;
constexpr uint8_t kNoEvent = 0;
constexpr uint8_t kNewEvent = 1;
constexpr uint8_t kSameEvent = 2;  // as the last one that came (a burst of pointer moves)

uint32_t zigzag(int32_t value) {
    const auto bits = static_cast<uint32_t>(value);
    return (bits << 1) ^ (value < 0 ? 0xFFFFFFFFu : 0u);
}
int32_t unzigzag(uint32_t value) {
    return static_cast<int32_t>((value >> 1) ^ (0u - (value & 1u)));
}

void put_varint(std::vector<uint8_t>& out, uint32_t value) {
    while (value >= 0x80) {
        out.push_back(static_cast<uint8_t>(value | 0x80));
        value >>= 7;
    }
    out.push_back(static_cast<uint8_t>(value));
}

void put_u32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// A record byte with a small value, or with the escape and the value after it.
void put_small(std::vector<uint8_t>& out, Kind kind, uint32_t value) {
    const auto tag = static_cast<uint8_t>(static_cast<uint8_t>(kind) << 5);
    if (value < kEscape) {
        out.push_back(static_cast<uint8_t>(tag | value));
        return;
    }
    out.push_back(static_cast<uint8_t>(tag | kEscape));
    put_varint(out, value);
}

class Cursor {
  public:
    Cursor(const uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ == size_; }
    std::size_t at() const { return at_; }
    bool byte(uint8_t& value) {
        if (at_ == size_) return false;
        value = data_[at_++];
        return true;
    }
    bool u32(uint32_t& value) {
        if (size_ - at_ < 4) return false;
        value = 0;
        for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(data_[at_++]) << (8 * i);
        return true;
    }
    // False at the end of the data; `bad` for more than five bytes or bits
    // above 32.
    bool varint(uint32_t& value, bool& bad) {
        value = 0;
        for (int shift = 0; shift < 35; shift += 7) {
            uint8_t b = 0;
            if (!byte(b)) return false;
            if (shift == 28 && (b & 0x70) != 0) bad = true;
            value |= static_cast<uint32_t>(b & 0x7F) << shift;
            if ((b & 0x80) == 0) return true;
        }
        bad = true;
        return true;
    }
    bool skip(std::size_t count) {
        if (size_ - at_ < count) return false;
        at_ += count;
        return true;
    }
    const uint8_t* here() const { return data_ + at_; }

  private:
    const uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

enum class Step { ok, truncated, malformed };

Step small_value(Cursor& in, uint8_t small, uint32_t& value) {
    if (small != kEscape) {
        value = small;
        return Step::ok;
    }
    bool bad = false;
    if (!in.varint(value, bad)) return Step::truncated;
    return bad ? Step::malformed : Step::ok;
}

Step signed_varint(Cursor& in, int32_t& value) {
    uint32_t raw = 0;
    bool bad = false;
    if (!in.varint(raw, bad)) return Step::truncated;
    value = unzigzag(raw);
    return bad ? Step::malformed : Step::ok;
}

Step decode_keys(Cursor& in, uint8_t small, Recording& recording, Reading& reading) {
    reading.value = (small & kFocus) != 0 ? 1 : 0;
    uint32_t count = small & 0x0F;
    if (count == kManyKeys) {
        bool bad = false;
        if (!in.varint(count, bad)) return Step::truncated;
        if (bad || count > 256) return Step::malformed;
    }
    const uint8_t* codes = in.here();
    if (!in.skip(count)) return Step::truncated;
    reading.first_toggle = static_cast<uint32_t>(recording.toggles.size());
    reading.toggle_count = count;
    recording.toggles.insert(recording.toggles.end(), codes, codes + count);
    return Step::ok;
}

Step decode_event(Cursor& in, uint8_t small, Deltas& deltas, Reading& reading) {
    if (small == kNoEvent) return Step::ok;
    int32_t* last = deltas.event;
    if (small == kNewEvent) {
        for (int i = 0; i < 3; ++i) {
            const Step step = signed_varint(in, last[i]);
            if (step != Step::ok) return step;
        }
    } else if (small != kSameEvent) {
        return Step::malformed;
    }
    // Code 0 is "no event", which the writer never spells out.
    if (last[0] == 0) return Step::malformed;
    reading.value = last[0];
    reading.item = last[1];
    reading.window = last[2];
    return Step::ok;
}

Step decode_one(Cursor& in, Deltas& deltas, Recording& recording, Reading& reading) {
    uint8_t byte = 0;
    in.byte(byte);
    const auto kind = static_cast<Kind>(byte >> 5);
    const auto small = static_cast<uint8_t>(byte & 0x1F);
    reading.kind = kind;
    uint32_t value = 0;
    Step step = Step::ok;
    switch (kind) {
        case Kind::clock:
            step = small_value(in, small, value);
            deltas.clock += value;
            reading.value = static_cast<int32_t>(deltas.clock);
            return step;
        case Kind::screen_x:
        case Kind::screen_y:
        case Kind::window_x:
        case Kind::window_y: {
            step = small_value(in, small, value);
            int32_t& base = deltas.pointer[static_cast<int>(kind) - 1];
            base = static_cast<int32_t>(static_cast<uint32_t>(base) +
                                        static_cast<uint32_t>(unzigzag(value)));
            reading.value = base;
            return step;
        }
        case Kind::keys:
            return decode_keys(in, small, recording, reading);
        case Kind::event:
            return decode_event(in, small, deltas, reading);
        default:
            if (small == kControlEnd) {
                reading.kind = Kind::end;
                return Step::ok;
            }
            if (small != kControlFrame) return Step::malformed;
            reading.kind = Kind::frame;
            if (!in.u32(value)) return Step::truncated;
            reading.value = static_cast<int32_t>(value);
            return Step::ok;
    }
}

}  // namespace

void encode_header(std::vector<uint8_t>& out, uint32_t seed, const int32_t* data, int32_t count) {
    out.insert(out.end(), kMagic, kMagic + sizeof kMagic);
    out.push_back(kFormatVersion);
    put_u32(out, seed);
    put_varint(out, static_cast<uint32_t>(count));
    for (int32_t i = 0; i < count; ++i) put_varint(out, zigzag(data[i]));
}

void encode(std::vector<uint8_t>& out, Deltas& deltas, const Reading& reading,
            const uint8_t* toggles) {
    switch (reading.kind) {
        case Kind::clock: {
            const auto now = static_cast<uint32_t>(reading.value);
            put_small(out, Kind::clock, now - deltas.clock);
            deltas.clock = now;
            break;
        }
        case Kind::screen_x:
        case Kind::screen_y:
        case Kind::window_x:
        case Kind::window_y: {
            int32_t& base = deltas.pointer[static_cast<int>(reading.kind) - 1];
            const auto step = static_cast<int32_t>(static_cast<uint32_t>(reading.value) -
                                                   static_cast<uint32_t>(base));
            put_small(out, reading.kind, zigzag(step));
            base = reading.value;
            break;
        }
        case Kind::keys: {
            const uint32_t count = reading.toggle_count;
            const auto focus = static_cast<uint8_t>(reading.value != 0 ? kFocus : 0);
            const auto tag = static_cast<uint8_t>(static_cast<uint8_t>(Kind::keys) << 5);
            out.push_back(
                static_cast<uint8_t>(tag | focus | (count < kManyKeys ? count : kManyKeys)));
            if (count >= kManyKeys) put_varint(out, count);
            out.insert(out.end(), toggles, toggles + count);
            break;
        }
        case Kind::event: {
            int32_t* last = deltas.event;
            if (reading.value == 0) {
                put_small(out, Kind::event, kNoEvent);
            } else if (reading.value == last[0] && reading.item == last[1] &&
                       reading.window == last[2]) {
                put_small(out, Kind::event, kSameEvent);
            } else {
                put_small(out, Kind::event, kNewEvent);
                last[0] = reading.value;
                last[1] = reading.item;
                last[2] = reading.window;
                for (int i = 0; i < 3; ++i) put_varint(out, zigzag(last[i]));
            }
            break;
        }
        case Kind::frame:
            put_small(out, Kind::frame, kControlFrame);
            put_u32(out, static_cast<uint32_t>(reading.value));
            break;
        case Kind::end:
            put_small(out, Kind::frame, kControlEnd);
            break;
    }
}

bool decode(const uint8_t* data, std::size_t size, Recording& recording, std::string& error) {
    recording = Recording{};
    if (size < sizeof kMagic || std::memcmp(data, kMagic, sizeof kMagic) != 0) {
        error = "is not a replay file";
        return false;
    }
    if (size > sizeof kMagic && data[4] != kFormatVersion) {
        error = "is a replay of format version " + std::to_string(data[4]) +
                "; this program plays version " + std::to_string(kFormatVersion);
        return false;
    }
    Cursor in(data, size);
    uint32_t count = 0;
    bool bad = false;
    // Every value takes a byte at least: a larger count is a damaged header.
    if (!in.skip(5) || !in.u32(recording.seed) || !in.varint(count, bad) || bad || count > size) {
        error = "is truncated: its header is cut short";
        return false;
    }
    for (uint32_t i = 0; i < count; ++i) {
        int32_t value = 0;
        if (signed_varint(in, value) != Step::ok) {
            error = "is truncated: its header is cut short";
            return false;
        }
        recording.data.push_back(value);
    }
    Deltas deltas;
    while (!in.done()) {
        const std::size_t start = in.at();
        Reading reading;
        const Step step = decode_one(in, deltas, recording, reading);
        if (step != Step::ok) {
            error = (step == Step::truncated ? "is truncated inside the record at byte "
                                             : "holds a malformed record at byte ") +
                    std::to_string(start);
            return false;
        }
        recording.readings.push_back(reading);
        recording.ended = reading.kind == Kind::end;
        if (reading.kind == Kind::end && !in.done()) {
            error = "holds data after its end mark at byte " + std::to_string(in.at());
            return false;
        }
    }
    return true;
}

uint32_t hash_bytes(uint32_t hash, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

}  // namespace rt::replay
