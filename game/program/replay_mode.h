// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of a recorded or a replayed run (--record, --replay).
#pragma once
#include <cstdint>

#include "game/program/options.h"

// With --record or --replay: starts the runtime's session (seeding the random
// generator), with the values of the game's files the run depends on
// (ReadRecordedData), and registers the game's state hash, its level outcomes
// and its way out. A replay that does not fit this program and these files is
// refused with one line on stderr, naming the first difference, and exit code
// 2. Call after rt_runtime_start, before anything is drawn at random.
void StartRecordOrReplay(const ProgramOptions& options);

// The hash of the game's state a recording keeps per frame: positions,
// scores, counters, switches and the contents of the entity lists.
uint32_t GameStateHash();
