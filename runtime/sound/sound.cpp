// SPDX-License-Identifier: GPL-3.0-or-later
// The sound library: the sound table, the volume table and the service, and
// the flat operations over them. Everything runs on the game's main thread.
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "runtime/core/boundary.h"
#include "runtime/core/rt_core.h"
#include "runtime/files/path_platform.h"
#include "runtime/sound/rt_sound.h"
#include "runtime/sound/sound_library.h"
#include "runtime/sound/sound_openal.h"
#include "runtime/sound/volume_table.h"
#include "runtime/sound/wave_format.h"

namespace rt::sound {
namespace {

using rt::core::fail;

constexpr int32_t kInitialSlots = 64;

// One record of the sound table. The buffer name (never 0 for a live OpenAL
// buffer) comes first: it is what marks the record as in use.
struct SoundRecord {
    ALuint buffer;
    ALuint source;
    int32_t pan;
    int32_t frequency;
    int32_t volume;

    Voice voice() const { return Voice{buffer, source}; }
};

struct SoundLibrary {
    // Lives until the process ends, like every runtime table.
    rt_table* table = nullptr;
    std::optional<VolumeTable> volumes;
    std::unique_ptr<OpenAlService> service;
};

SoundLibrary& library() {
    static SoundLibrary instance;
    return instance;
}

SoundRecord* find(int32_t id) {
    SoundLibrary& lib = library();
    if (!lib.table) return nullptr;
    return static_cast<SoundRecord*>(rt_table_check(lib.table, id));
}

// Builds the sound first and takes the table record last, so that a refused
// image leaves no record behind and does not disturb a sound already there.
int32_t load_image(int32_t id, std::span<const uint8_t> image, const char* name) {
    SoundLibrary& lib = library();
    if (id < -1 || id > RT_TABLE_MAX_ID) return fail(0, "not -1 or a slot number");
    if (!lib.table || !lib.service)
        return fail(0, "the sound service is not running (rt_sound_init)");
    const auto wave = parse_wave(image);
    if (!wave) return fail(0, "not a RIFF/WAVE sound", name);
    const auto layout = pcm_layout(wave->format);
    if (!layout) return fail(0, "a wave format that cannot be played", name);
    const auto voice = lib.service->create_voice(*layout, wave->samples);
    if (!voice) return fail(0, "the sound service refused the samples", name);

    int32_t new_id = 0;
    // For a numeric id this frees the sound that had the id before.
    auto* record = static_cast<SoundRecord*>(rt_table_alloc(lib.table, id, &new_id));
    if (!record) {
        lib.service->destroy(*voice);
        return 0;  // the table said why
    }
    record->buffer = voice->buffer;
    record->source = voice->source;
    record->pan = 0;  // sources are created centred
    record->frequency = lib.service->frequency(*voice);
    record->volume = hundredths_from_gain(lib.service->gain(*voice));
    return id == -1 ? new_id : 1;
}

constexpr const char* kNoSound = "no such sound";

// Runs a function on the sound the id names.
template <class Result, class Work>
Result on_sound(const char* function, Result failure, int32_t id, Work&& work) noexcept {
    return rt::core::guarded(function, failure, [&]() -> Result {
        const SoundRecord* record = find(id);
        if (record == nullptr) return fail(failure, kNoSound);
        return work(*record);
    });
}

}  // namespace

std::optional<Voice> voice_of(int32_t id) {
    const auto* record = find(id);
    if (!record) return std::nullopt;
    return record->voice();
}

bool service_audible() {
    const auto& service = library().service;
    return service && service->audible();
}

}  // namespace rt::sound

using rt::core::fail;
using rt::core::guarded;
using rt::sound::library;
using rt::sound::on_sound;
using rt::sound::SoundRecord;

extern "C" int32_t rt_sound_init(void) {
    return guarded(__func__, 0, [] {
        auto& lib = library();
        if (!lib.table) {
            lib.table = rt_table_new(sizeof(SoundRecord), rt::sound::kInitialSlots, rt_sound_free);
        }
        if (!lib.volumes) lib.volumes.emplace();
        if (!lib.service) lib.service = rt::sound::OpenAlService::open();
        return lib.service ? 1 : fail(0, "no sound service could be opened");
    });
}

extern "C" int32_t rt_sound_load(int32_t id, const char* file_name) {
    return guarded(__func__, 0, [&] {
        if (!file_name) return fail(0, "no file name (NULL)");
        std::vector<uint8_t> image;
        if (!rt::files::read_whole_file(file_name, image)) return 0;  // it said why
        return rt::sound::load_image(id, image, file_name);
    });
}

extern "C" int32_t rt_sound_load_memory(int32_t id, const void* data, int32_t size) {
    return guarded(__func__, 0, [&] {
        if (!data) return fail(0, "no data (NULL)");
        if (size < 0) return fail(0, "negative size");
        return rt::sound::load_image(
            id,
            std::span<const uint8_t>(static_cast<const uint8_t*>(data), static_cast<size_t>(size)),
            nullptr);
    });
}

extern "C" int32_t rt_sound_play(int32_t sound) {
    return on_sound(__func__, 0, sound, [](const SoundRecord& record) {
        const auto& service = library().service;
        if (!service) return fail(0, "the sound service is not running");
        return service->play(record.voice()) ? 1 : fail(0, "the sound service refused to play it");
    });
}

extern "C" int32_t rt_sound_volume(int32_t sound, int32_t volume) {
    return on_sound(__func__, 0, sound, [volume](const SoundRecord& record) {
        auto& lib = library();
        if (!lib.service || !lib.volumes) return fail(0, "the sound service is not running");
        const int32_t hundredths = lib.volumes->attenuation(volume);
        lib.service->set_gain(record.voice(), rt::sound::gain_from_hundredths(hundredths));
        return 1;
    });
}

extern "C" void rt_sound_free(int32_t sound) {
    on_sound(__func__, 0, sound, [sound](const SoundRecord& record) {
        auto& lib = library();
        if (lib.service) lib.service->destroy(record.voice());
        rt_table_remove(lib.table, sound);
        return 0;
    });
}

extern "C" void rt_sound_end(void) {
    guarded(__func__, [] {
        auto& lib = library();
        if (lib.table) rt_table_free_all(lib.table);
        lib.service.reset();
    });
}

extern "C" int32_t rt_sound_pan(int32_t sound) {
    return on_sound(__func__, 0, sound, [](const SoundRecord& r) { return r.pan; });
}

extern "C" int32_t rt_sound_frequency(int32_t sound) {
    return on_sound(__func__, 0, sound, [](const SoundRecord& r) { return r.frequency; });
}

extern "C" int32_t rt_sound_volume_get(int32_t sound) {
    return on_sound(__func__, 0, sound, [](const SoundRecord& r) { return r.volume; });
}
