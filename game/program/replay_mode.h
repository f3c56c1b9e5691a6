// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of a recorded or a replayed run (--record, --replay).
#pragma once
#include <cstdint>

#include "game/program/options.h"

// With --record or --replay: starts the runtime's session (seeding the random
// generator), with the level file's fingerprint, and registers the game's
// state hash, its level outcomes and its way out. A replay that does not fit
// this program and level file is refused with one line on stderr and exit
// code 2. Call after rt_runtime_start, before anything is drawn at random.
void StartRecordOrReplay(const ProgramOptions& options);

// The hash of the game's state a recording keeps per frame: positions,
// scores, counters, switches and the contents of the entity lists.
uint32_t GameStateHash();

// The level file's contents after its first line (the progress, which the
// game rewrites as the player advances and which a replay does not depend
// on); 0 for a missing file.
uint32_t LevelFileFingerprint();
