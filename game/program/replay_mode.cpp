// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/program/replay_mode.h"

#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "game/core/game_state.h"
#include "game/core/records.h"
#include "game/level/play_level.h"
#include "game/program/recorded_data.h"
#include "game/window/end_program.h"
#include "runtime/runtime.h"

namespace {

uint32_t Fnv(uint32_t hash, const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 16777619u;
    return hash;
}

uint32_t HashList(uint32_t hash, const rt_list* list, int32_t recordSize) {
    if (list == nullptr) return hash;
    for (const rt_list_element* e = list->first; e != nullptr; e = e->next) {
        hash = Fnv(hash, RT_LIST_RECORD(e), static_cast<size_t>(recordSize));
    }
    return Fnv(hash, &list->count, sizeof list->count);
}

// A level ends on the first frame whose state is no longer running; the
// outcome stays until the next level starts.
LevelResult lastResult = LevelResult::Running;

uint32_t NoteLevelsAndHash() {
    const LevelResult result = CheckLevelEnd(game.Lost, game.Points, game.Params.GoalPoints);
    if (result != LevelResult::Running && lastResult == LevelResult::Running) {
        rt_replay_note_level(game.CurrentLevel, result == LevelResult::Won ? 1 : 0, game.Points);
    }
    lastResult = result;
    return GameStateHash();
}

}  // namespace

uint32_t GameStateHash() {
    const int32_t scalars[] = {game.CurrentLevel,
                               game.ShipEnabled,
                               game.EnemiesEnabled,
                               game.RocketsEnabled,
                               game.ShipX,
                               game.ShipY,
                               game.ShipAngle,
                               game.ShieldLevel,
                               game.Points,
                               game.ShotsInFlight,
                               game.GunShots,
                               game.Hits,
                               game.RocketShots,
                               game.RocketHits,
                               game.EnemiesDestroyed,
                               static_cast<int32_t>(game.GunpowerStart),
                               static_cast<int32_t>(game.RocketCoverStart),
                               game.Params.ShotDamage,
                               game.Params.RocketDamage,
                               game.Shake,
                               game.StarDirection,
                               game.Lost,
                               game.SpawnCount,
                               game.StarScrollOffset,
                               game.DecayCounter,
                               game.HudCounter,
                               game.SwayCounter,
                               game.SwaySign};
    uint32_t hash = Fnv(2166136261u, scalars, sizeof scalars);
    hash = HashList(hash, game.Enemies, kEnemyRecordSize);
    hash = HashList(hash, game.Bonuses, kBonusRecordSize);
    hash = HashList(hash, game.EnemyExplosions, kEnemyExplosionRecordSize);
    hash = HashList(hash, game.Planets, kPlanetRecordSize);
    hash = HashList(hash, game.Moons, kMoonRecordSize);
    hash = HashList(hash, game.Shots, kShotRecordSize);
    hash = HashList(hash, game.ShotExplosions, kShotExplosionRecordSize);
    hash = HashList(hash, game.Rockets, kRocketRecordSize);
    return HashList(hash, game.RocketExplosions, kRocketExplosionRecordSize);
}

void StartRecordOrReplay(const ProgramOptions& options) {
    if (options.Record.empty() && options.Replay.empty()) return;
    const std::string& path = options.Record.empty() ? options.Replay : options.Record;
    const RecordedData data = ReadRecordedData();
    std::vector<const char*> names;
    for (const std::string& name : data.Names) names.push_back(name.c_str());
    const auto count = static_cast<int32_t>(data.Values.size());
    const bool started =
        options.Record.empty()
            ? rt_replay_play(path.c_str(), data.Values.data(), names.data(), count) != 0
            : rt_replay_record(path.c_str(), options.Seed ? *options.Seed : std::random_device{}(),
                               data.Values.data(), count) != 0;
    if (!started) {
        std::fprintf(stderr, "zentara: %s %s\n", path.c_str(), rt_replay_error());
        std::exit(2);
    }
    rt_replay_set_state_hash(NoteLevelsAndHash);
    rt_replay_set_end(EndProgram);
}
