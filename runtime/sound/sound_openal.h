// SPDX-License-Identifier: GPL-3.0-or-later
// The sound service on OpenAL Soft: one device with one current context; a
// sound is one buffer holding its samples as stored and one source playing it.
#pragma once
#include <AL/al.h>
#include <AL/alc.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "runtime/sound/wave_format.h"

namespace rt::sound {

// The OpenAL objects of one sound.
struct Voice {
    ALuint buffer = 0;
    ALuint source = 0;
};

class OpenAlService {
  public:
    // Opens the default output device. When no output can be opened, falls
    // back to a loopback device that nobody renders: sounds load and play
    // without being heard and nothing waits on audio hardware. Null when not
    // even that is available.
    static std::unique_ptr<OpenAlService> open();

    OpenAlService(const OpenAlService&) = delete;
    OpenAlService& operator=(const OpenAlService&) = delete;
    ~OpenAlService();

    // False when running on the silent fallback device.
    bool audible() const { return audible_; }

    // A buffer filled with the whole frames of `samples` and a source bound to
    // it, centred and unaffected by distance. Empty when the format is not
    // supported, there is no whole frame, or OpenAL refuses.
    std::optional<Voice> create_voice(const PcmLayout& layout, std::span<const uint8_t> samples);

    // Stops, rewinds and starts the source once. False when OpenAL refuses.
    bool play(const Voice& voice);

    void set_gain(const Voice& voice, float gain);
    float gain(const Voice& voice) const;
    int32_t frequency(const Voice& voice) const;

    // Stops the source and deletes it with its buffer.
    void destroy(const Voice& voice);

  private:
    struct DeviceCloser {
        void operator()(ALCdevice* device) const { alcCloseDevice(device); }
    };
    struct ContextDestroyer {
        void operator()(ALCcontext* context) const;
    };

    OpenAlService(ALCdevice* device, bool audible);

    std::optional<ALenum> buffer_format(const PcmLayout& layout) const;

    // Declared in this order so that the context goes before its device.
    std::unique_ptr<ALCdevice, DeviceCloser> device_;
    std::unique_ptr<ALCcontext, ContextDestroyer> context_;
    bool audible_ = false;
    bool float32_ = false;
};

}  // namespace rt::sound
