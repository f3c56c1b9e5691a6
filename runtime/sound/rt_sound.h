// SPDX-License-Identifier: GPL-3.0-or-later
/* Sound effects: RIFF/WAVE files loaded once into static playback buffers,
 * played from their start on demand, each with its own volume.
 *
 * Sounds are objects of the sound table, named by ids: -1 asks for a new
 * unique id (returned), a number n >= 0 names slot n (loading under a number
 * that is in use replaces the old sound). Every failure answers 0; operations
 * on ids that name no sound answer 0 or do nothing. Every function keeps the
 * boundary rule of runtime/runtime.h.
 *
 * A sound has exactly one voice: playing it while it still sounds cuts it off
 * and starts it again from its beginning. Different sounds mix freely.
 *
 * Volumes are percentages of the amplitude (0 silent .. 100 full; values
 * outside are clamped), applied as an attenuation in hundredths of a decibel.
 *
 * With no audio output available the service runs silently: sounds still
 * load, play and change volume, and nothing waits for an audio device. */
#ifndef ZENTARA_RT_SOUND_H
#define ZENTARA_RT_SOUND_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Creates the sound table and the volume table and opens the sound service on
 * the default output device (a silent one when no output can be opened).
 * Non-zero when the service is running (at once when it already was), 0 when
 * no service at all could be created. Start-up, before any sound is loaded. */
int32_t rt_sound_init(void);

/* Reads the whole file and loads it with rt_sound_load_memory. Answers the new
 * id for -1, non-zero for a numeric id, 0 when the file cannot be read (files
 * above 2^31 - 1 bytes are refused unread) or its contents are not accepted. */
int32_t rt_sound_load(int32_t id, const char* file_name);

/* Loads a RIFF/WAVE image of `size` bytes: "RIFF" at offset 0, the "fmt "
 * chunk at offset 12, then chunks up to "data". Playable formats: 8 and
 * 16-bit PCM and 32-bit float, mono or stereo. Result as rt_sound_load. The
 * data is copied; the caller keeps ownership. */
int32_t rt_sound_load_memory(int32_t id, const void* data, int32_t size);

/* Stops the sound, rewinds it and plays it once. 1 when the play request was
 * accepted, 0 for an unknown id or a refused request. */
int32_t rt_sound_play(int32_t sound);

/* Sets the sound's volume in percent (clamped to 0..100): the attenuation is
 * entry[volume] - 10000 hundredths of a decibel of the volume table
 * (100 -> 0, 70 -> -310, 50 -> -603, 1 -> -4000, 0 -> -10000 = silent).
 * 1 on success, 0 for an unknown id. The read-back `volume` field is kept. */
int32_t rt_sound_volume(int32_t sound, int32_t volume);

/* Stops and releases the sound and removes its record. An unknown id fails. */
void rt_sound_free(int32_t sound);

/* Frees every sound and closes the sound service. Program end. */
void rt_sound_end(void);

/* Read-back fields recorded when the sound was created: its pan (hundredths
 * of a decibel, 0 = centre), playback frequency in Hz and volume in
 * hundredths of a decibel (0 = full). Unknown ids answer 0. */
int32_t rt_sound_pan(int32_t sound);
int32_t rt_sound_frequency(int32_t sound);
int32_t rt_sound_volume_get(int32_t sound);

#ifdef __cplusplus
}
#endif

#endif
