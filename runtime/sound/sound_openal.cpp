// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/sound/sound_openal.h"

#include <AL/alext.h>

namespace rt::sound {
namespace {

// The fallback device's render format: any valid one will do, since its
// output is never rendered.
constexpr ALCint kLoopbackAttributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                          ALC_STEREO_SOFT,
                                          ALC_FORMAT_TYPE_SOFT,
                                          ALC_SHORT_SOFT,
                                          ALC_FREQUENCY,
                                          44100,
                                          0};

ALCdevice* open_loopback_device() {
    if (!alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) return nullptr;
    auto open = reinterpret_cast<LPALCLOOPBACKOPENDEVICESOFT>(
        alcGetProcAddress(nullptr, "alcLoopbackOpenDeviceSOFT"));
    return open ? open(nullptr) : nullptr;
}

}  // namespace

void OpenAlService::ContextDestroyer::operator()(ALCcontext* context) const {
    if (alcGetCurrentContext() == context) alcMakeContextCurrent(nullptr);
    alcDestroyContext(context);
}

OpenAlService::OpenAlService(ALCdevice* device, bool audible)
    : device_(device), audible_(audible) {}

std::unique_ptr<OpenAlService> OpenAlService::open() {
    bool audible = true;
    ALCdevice* device = alcOpenDevice(nullptr);
    if (!device) {
        audible = false;
        device = open_loopback_device();
        if (!device) return nullptr;
    }
    std::unique_ptr<OpenAlService> service(new OpenAlService(device, audible));
    const ALCint* attributes = audible ? nullptr : kLoopbackAttributes;
    service->context_.reset(alcCreateContext(device, attributes));
    if (!service->context_ || !alcMakeContextCurrent(service->context_.get())) return nullptr;
    service->float32_ = alIsExtensionPresent("AL_EXT_FLOAT32") == AL_TRUE;
    alGetError();
    return service;
}

OpenAlService::~OpenAlService() = default;

std::optional<ALenum> OpenAlService::buffer_format(const PcmLayout& layout) const {
    const bool mono = layout.channels == 1;
    switch (layout.type) {
        case SampleType::Unsigned8:
            return mono ? AL_FORMAT_MONO8 : AL_FORMAT_STEREO8;
        case SampleType::Signed16:
            return mono ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
        case SampleType::Float32:
            if (!float32_) return std::nullopt;
            return mono ? AL_FORMAT_MONO_FLOAT32 : AL_FORMAT_STEREO_FLOAT32;
    }
    return std::nullopt;
}

std::optional<Voice> OpenAlService::create_voice(const PcmLayout& layout,
                                                 std::span<const uint8_t> samples) {
    const auto format = buffer_format(layout);
    if (!format || layout.frame_bytes == 0) return std::nullopt;
    // OpenAL takes whole frames only; a trailing partial frame is not playable.
    const size_t bytes = samples.size() / layout.frame_bytes * layout.frame_bytes;
    if (bytes == 0 || bytes > static_cast<size_t>(INT32_MAX)) return std::nullopt;

    alGetError();
    Voice voice;
    alGenBuffers(1, &voice.buffer);
    if (alGetError() != AL_NO_ERROR) return std::nullopt;
    alBufferData(voice.buffer, *format, samples.data(), static_cast<ALsizei>(bytes), layout.rate);
    if (alGetError() == AL_NO_ERROR) {
        alGenSources(1, &voice.source);
        if (alGetError() == AL_NO_ERROR) {
            // Listener-relative at the origin: effects sound centred and at full
            // level whatever the channel count.
            alSourcei(voice.source, AL_SOURCE_RELATIVE, AL_TRUE);
            alSource3f(voice.source, AL_POSITION, 0.0f, 0.0f, 0.0f);
            alSourcef(voice.source, AL_ROLLOFF_FACTOR, 0.0f);
            alSourcei(voice.source, AL_LOOPING, AL_FALSE);
            alSourcei(voice.source, AL_BUFFER, static_cast<ALint>(voice.buffer));
            if (alGetError() == AL_NO_ERROR) return voice;
            alDeleteSources(1, &voice.source);
        }
    }
    alDeleteBuffers(1, &voice.buffer);
    alGetError();
    return std::nullopt;
}

bool OpenAlService::play(const Voice& voice) {
    alGetError();
    alSourceStop(voice.source);
    alSourceRewind(voice.source);
    alSourcePlay(voice.source);
    return alGetError() == AL_NO_ERROR;
}

void OpenAlService::set_gain(const Voice& voice, float gain) {
    alSourcef(voice.source, AL_GAIN, gain);
}

float OpenAlService::gain(const Voice& voice) const {
    ALfloat gain = 0.0f;
    alGetSourcef(voice.source, AL_GAIN, &gain);
    return gain;
}

int32_t OpenAlService::frequency(const Voice& voice) const {
    ALint frequency = 0;
    alGetBufferi(voice.buffer, AL_FREQUENCY, &frequency);
    return frequency;
}

void OpenAlService::destroy(const Voice& voice) {
    alSourceStop(voice.source);
    alSourcei(voice.source, AL_BUFFER, 0);
    alDeleteSources(1, &voice.source);
    alDeleteBuffers(1, &voice.buffer);
    alGetError();
}

}  // namespace rt::sound
