// SPDX-License-Identifier: GPL-3.0-or-later
// The game's frame on a heavy scene against the same drawing with plain
// QPainter calls, the level start, the runtime operations a frame leans on,
// and paced play (processor share, frame periods, peak memory).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QImage>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>
#include <vector>

#include "bench/game/heavy_scene.h"
#include "game/core/game_state.h"
#include "game/level/play_level.h"
#include "game/play/bonuses.h"
#include "game/play/enemies.h"
#include "game/play/explosions.h"
#include "game/play/moves.h"
#include "game/play/planets.h"
#include "game/play/ship.h"
#include "game/play/star_field.h"
#include "runtime/runtime.h"

namespace {

enum class Scene { None, Heavy, Plain };
Scene g_scene = Scene::None;

void UseScene(Scene wanted) {
    bench::StartGameOnAssetPack();
    if (g_scene == wanted) return;
    if (g_scene != Scene::None) bench::TearDownScene();
    g_scene = Scene::None;
    if (wanted == Scene::Heavy) bench::BuildHeavyScene();
    g_scene = wanted;
}

// The heavy scene built afresh from its seeds: the same frames whatever ran before.
void FreshHeavyScene() {
    UseScene(Scene::None);
    UseScene(Scene::Heavy);
}

double PeakResidentMB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// ---- The heavy frame -------------------------------------------------------

void BM_GameFrame_Heavy(benchmark::State& state) {
    FreshHeavyScene();
    rt_screen_frame_rate(0);
    int64_t draws = 0;
    for (auto _ : state) {
        const int64_t before = bench::ScreenDraws();
        bench::RunGameFrame();
        draws += bench::ScreenDraws() - before;
        state.PauseTiming();
        bench::KeepSceneHeavy();
        state.ResumeTiming();
    }
    state.counters["draws"] = static_cast<double>(draws) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_GameFrame_Heavy)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The first frame of the fresh heavy scene, captured once and drawn again
// and again.
void BM_PlainQPainter_Heavy(benchmark::State& state) {
    static bench::PlainFrame captured = [] {
        FreshHeavyScene();
        return bench::CapturePlainFrame();
    }();
    bench::PlainFrame frame = captured;
    QImage target(1024, 768, QImage::Format_RGB32);
    QImage shown(1024, 768, QImage::Format_RGB32);
    int64_t n = 0;
    for (auto _ : state) {
        bench::DrawPlainFrame(frame, target, shown, n++);
        benchmark::DoNotOptimize(shown.constBits());
    }
    state.counters["draws"] = static_cast<double>(frame.draws.size());
}
BENCHMARK(BM_PlainQPainter_Heavy)->Unit(benchmark::kMicrosecond)->UseRealTime();

// The frame's steps one by one on the heavy scene (what each costs of the frame).
template <void (*Step)()>
void BM_Step(benchmark::State& state) {
    UseScene(Scene::Heavy);
    for (auto _ : state) {
        Step();
        state.PauseTiming();
        bench::KeepSceneHeavy();
        state.ResumeTiming();
    }
    rt_scene_end();
}
void StepStarField() {
    ScrollStarField(game.StarField, game.StarDirection);
}
void StepEnemies() {
    MoveEnemies(game.RocketsEnabled);
}
void StepFlip() {
    rt_screen_flip();
    rt_window_event_poll();
}
BENCHMARK(BM_Step<StepStarField>)->Name("BM_Step_StarField")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step<MovePlanets>)->Name("BM_Step_Planets")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step<DrawShip>)->Name("BM_Step_Ship")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step<StepEnemies>)->Name("BM_Step_Enemies")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step<MoveShots>)->Name("BM_Step_Shots")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step<MoveRockets>)->Name("BM_Step_Rockets")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step<UpdateBonusEffects>)->Name("BM_Step_Messages")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step<FadeExplosions>)->Name("BM_Step_Explosions")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Step<StepFlip>)->Name("BM_Step_FlipAndPoll")->Unit(benchmark::kMicrosecond);

// ---- Level start -----------------------------------------------------------

// Parameters, sounds and images, the spawn, bonuses, planets and moons, then
// the first frame (the intro, a fixed three seconds, is left out).
void BM_LevelStart(benchmark::State& state) {
    UseScene(Scene::None);
    rt_screen_frame_rate(0);
    for (auto _ : state) {
        StartLevel(1);
        bench::RunGameFrame();
        state.PauseTiming();
        bench::TearDownScene();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LevelStart)->Unit(benchmark::kMillisecond)->UseRealTime();

// ---- Runtime operations of a frame -----------------------------------------

// A shot's birth and death: two image copies, two frees.
void BM_Op_ShotCopies(benchmark::State& state) {
    UseScene(Scene::Heavy);
    for (auto _ : state) {
        const int32_t a = rt_sprite_copy(game.ShotImage, -1);
        const int32_t b = rt_sprite_copy(game.PowerShotImage, -1);
        rt_sprite_free(a);
        rt_sprite_free(b);
    }
}
BENCHMARK(BM_Op_ShotCopies);

// A rocket's birth and death: a texture copy and a rotated sprite turned once.
void BM_Op_RocketCopy(benchmark::State& state) {
    UseScene(Scene::Heavy);
    for (auto _ : state) {
        const int32_t sprite = rt_sprite_copy_flags(game.RocketImage, -1, RT_SPRITE_TEXTURE);
        const int32_t rotor = rt_sprite3d_create(-1, game.RocketImage);
        rt_sprite3d_rotate(rotor, 135.0f, 0);
        rt_sprite3d_free(rotor);
        rt_sprite_free(sprite);
    }
}
BENCHMARK(BM_Op_RocketCopy);

// The shots' enemy tests of one heavy frame: 40 shots x 20 enemies.
void BM_Op_Collide800(benchmark::State& state) {
    UseScene(Scene::Heavy);
    const int32_t shot = game.ShotImage;
    const int32_t enemy = game.EnemyShieldImage;
    int32_t hits = 0;
    for (auto _ : state) {
        for (int s = 0; s < 40; ++s)
            for (int e = 0; e < 20; ++e)
                hits += rt_sprite_collide(shot, s * 25, 300, enemy, e * 50, 280 + e);
    }
    benchmark::DoNotOptimize(hits);
    state.SetItemsProcessed(state.iterations() * 800);
}
BENCHMARK(BM_Op_Collide800);

// A respawned enemy's picture: the load of an unchanged file, then its end.
void BM_Op_EnemyLoad(benchmark::State& state) {
    UseScene(Scene::Heavy);
    for (auto _ : state) rt_sprite_free(rt_sprite_load(-1, "zentara\\feind03.png"));
}
BENCHMARK(BM_Op_EnemyLoad);

// The status messages: one text drawing pass on the back buffer.
void BM_Op_ScreenText(benchmark::State& state) {
    UseScene(Scene::Heavy);
    for (auto _ : state) {
        rt_draw_start(rt_screen_output());
        rt_draw_text_colours(674, 728, "Shield 100%", 0xFFFFFF, 0x000000);
        rt_draw_stop();
    }
}
BENCHMARK(BM_Op_ScreenText);

// The flip of a frame, unpaced (shows the back buffer).
void BM_Op_FlipAndPoll(benchmark::State& state) {
    UseScene(Scene::Heavy);
    rt_screen_frame_rate(0);
    for (auto _ : state) {
        rt_screen_flip();
        rt_window_event_poll();
    }
}
BENCHMARK(BM_Op_FlipAndPoll);

// ---- Paced play --------------------------------------------------------------

// A level as the game plays it, paced at 60 frames per second: processor time
// as a share of one core, and the periods between flips against 1/61 s.
void BM_PacedPlay(benchmark::State& state) {
    UseScene(Scene::None);
    const int frames = static_cast<int>(state.range(0));
    for (auto _ : state) {
        StartLevel(1);
        rt_screen_frame_rate(60);
        std::vector<double> flips;
        flips.reserve(frames + 1);
        const std::clock_t cpu0 = std::clock();
        const auto wall0 = std::chrono::steady_clock::now();
        for (int i = 0; i < frames; ++i) {
            bench::RunGameFrame();
            flips.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - wall0).count());
        }
        const double wall = flips.back();
        const double cpu = double(std::clock() - cpu0) / CLOCKS_PER_SEC;
        rt_screen_frame_rate(0);
        std::vector<double> deviation;
        for (size_t i = 1; i < flips.size(); ++i)
            deviation.push_back(std::fabs(flips[i] - flips[i - 1] - 1.0 / 61.0));
        std::sort(deviation.begin(), deviation.end());
        const double within = double(std::count_if(deviation.begin(), deviation.end(),
                                                   [](double d) { return d <= 0.001; })) /
                              deviation.size();
        state.counters["cpu_share"] = cpu / wall;
        state.counters["fps"] = (frames - 1) / (flips.back() - flips.front());
        state.counters["within_1ms"] = within;
        state.counters["p99_dev_ms"] = deviation[deviation.size() * 99 / 100] * 1000.0;
        state.counters["max_dev_ms"] = deviation.back() * 1000.0;
        state.counters["peak_rss_MB"] = PeakResidentMB();
        state.PauseTiming();
        bench::TearDownScene();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PacedPlay)->Arg(600)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
