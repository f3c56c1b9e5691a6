// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/pilot/demo_pilot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/records.h"
#include "game/data/level_file.h"
#include "game/play/ship.h"
#include "game/window/end_program.h"
#include "game/window/main_window.h"
#include "runtime/core/rt_core.h"
#include "runtime/input/rt_input.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/window/rt_window.h"

namespace {

// ---- Timing of the pilot's own actions, in frames --------------------------

constexpr int64_t kStorySkipFrame = 60;  // a second of story, then skip it
constexpr int64_t kPauseAtFrame = 300;   // P once, this far into the first level
constexpr int64_t kPauseLength = 90;     // pause frames before P again
constexpr int64_t kPanelLength = 50;     // end-panel frames before N or R

// ---- Where the ship may go --------------------------------------------------

constexpr int32_t kMinPointerY = 100;
constexpr int32_t kMaxPointerY = 736;
constexpr int32_t kMinPointerX = 36;
constexpr int32_t kStandOff = 220;      // preferred distance below the target
constexpr int32_t kLongestShot = 36;    // moves; longer shots miss more than they hit
constexpr int32_t kSearchRadius = 240;  // farthest pointer move in one frame
constexpr int32_t kSearchStep = 16;
constexpr int32_t kEasyMove = 40;      // moves up to this look like a hand's
constexpr int32_t kDangerFrames = 12;  // frames ahead checked for rockets

// A pointer position chosen at one pass is read by the game in the next pass
// and tested against rockets and enemies from the pass after: two frames.
constexpr int32_t kPointerDelay = 2;

struct Box {
    int32_t Left, Top, Right, Bottom;  // inclusive
    bool Overlaps(const Box& other) const {
        return Left <= other.Right && other.Left <= Right && Top <= other.Bottom &&
               other.Top <= Bottom;
    }
    Box Grown(int32_t margin) const {
        return {Left - margin, Top - margin, Right + margin, Bottom + margin};
    }
};

Box BoxAt(int32_t x, int32_t y, int32_t width, int32_t height) {
    return {x, y, x + width - 1, y + height - 1};
}

// Walks a list's records without moving its cursor: the game's own walks
// begin with a reset, and reading leaves everything as it was.
template <class Record, class Visit>
void ReadRecords(const rt_list* list, Visit visit) {
    if (list == nullptr) return;
    for (const rt_list_element* e = list->first; e != nullptr; e = e->next) {
        visit(*static_cast<const Record*>(RT_LIST_RECORD(e)), static_cast<const void*>(e));
    }
}

int32_t NormaliseTurn(int32_t degrees) {
    int32_t d = degrees % 360;
    if (d > 180) d -= 360;
    if (d <= -180) d += 360;
    return d;
}

// ---- What is on the field -------------------------------------------------

struct SeenEnemy {
    const void* Key;
    float X, Y;    // top-left
    float VX, VY;  // expected step per frame
    int32_t Shield;
    bool Doomed = false;  // shots in flight will break it
};

struct SeenMover {
    int32_t X, Y, StepX, StepY, Width, Height;
};

struct SeenBonus {
    int32_t X, Y, StepX, StepY, Kind;
};

struct Field {
    std::vector<SeenEnemy> Enemies;
    std::vector<SeenMover> Rockets;
    std::vector<SeenMover> Shots;
    std::vector<SeenBonus> Bonuses;
};

// Follows each enemy's sideways sway from one frame to the next: the game
// sways all enemies together and turns now and then, so a smoothed step
// predicts the next frames well enough.
class SwayTracker {
  public:
    float Update(const void* key, int32_t x) {
        auto [it, fresh] = tracks_.try_emplace(key, Track{x, 0.0f, generation_});
        Track& t = it->second;
        const int32_t step = x - t.LastX;
        // A record reused by a new enemy jumps far: start it afresh.
        if (!fresh && std::abs(step) <= 16)
            t.VX = 0.6f * t.VX + 0.4f * static_cast<float>(step);
        else if (!fresh)
            t.VX = 0.0f;
        t.LastX = x;
        t.Seen = generation_;
        return t.VX;
    }
    void EndFrame() {
        std::erase_if(tracks_,
                      [this](const auto& entry) { return entry.second.Seen != generation_; });
        generation_ += 1;
    }

  private:
    struct Track {
        int32_t LastX;
        float VX;
        uint32_t Seen;
    };
    std::unordered_map<const void*, Track> tracks_;
    uint32_t generation_ = 0;
};

Field ReadField(SwayTracker& sway) {
    Field field;
    ReadRecords<Enemy>(game.Enemies, [&](const Enemy& e, const void* key) {
        const int32_t x = e.X;
        const int32_t speed = e.Speed;
        field.Enemies.push_back({key, static_cast<float>(x), static_cast<float>(e.Y),
                                 sway.Update(key, x), static_cast<float>(speed) / 2.0f,
                                 static_cast<int32_t>(e.Shield)});
    });
    sway.EndFrame();
    ReadRecords<Rocket>(game.Rockets, [&](const Rocket& r, const void*) {
        const int32_t sprite = r.Sprite;
        field.Rockets.push_back(
            {r.X, r.Y, r.StepX, r.StepY, rt_sprite_width(sprite), rt_sprite_height(sprite)});
    });
    ReadRecords<Shot>(game.Shots, [&](const Shot& s, const void*) {
        const int32_t sprite = s.Sprite;
        field.Shots.push_back(
            {s.X, s.Y, s.StepX, s.StepY, rt_sprite_width(sprite), rt_sprite_height(sprite)});
    });
    ReadRecords<Bonus>(game.Bonuses, [&](const Bonus& b, const void*) {
        if (b.Active) field.Bonuses.push_back({b.X, b.Y, b.StepX, b.StepY, b.Kind});
    });
    return field;
}

bool OffScreen(int32_t x, int32_t y) {
    return x > game.ScreenWidth || x < 0 || y > game.ScreenHeight || y < 0;
}

// Where an enemy's box is expected after `moves` more moves, shrunk by a
// margin that grows with the uncertainty of the prediction.
Box EnemyBoxAfter(const SeenEnemy& e, int32_t moves) {
    const int32_t x = static_cast<int32_t>(std::lround(e.X + e.VX * static_cast<float>(moves)));
    const int32_t y = static_cast<int32_t>(std::lround(e.Y + e.VY * static_cast<float>(moves)));
    const int32_t margin = std::min(20, 4 + moves / 2);
    return BoxAt(x, y, game.EnemyWidth, game.EnemyHeight).Grown(-margin);
}

// Which enemy a shot fired now from (x, y) along `heading` would hit, and
// after how many of its moves; -1 for none. The enemies move once more in
// this frame before the shot is fired.
std::pair<int32_t, int32_t> ShotOutcome(const Field& field, int32_t x, int32_t y, int32_t heading,
                                        int32_t shotW, int32_t shotH) {
    const int32_t speed = game.Params.ShotSpeed;
    const int32_t sx = static_cast<int8_t>(HeadingStepX(heading, speed));
    const int32_t sy = static_cast<int8_t>(HeadingStepY(heading, speed));
    if (sx == 0 && sy == 0) return {-1, 0};
    for (int32_t k = 1; k < 120; ++k) {
        x += sx;
        y += sy;
        if (OffScreen(x, y)) break;
        const Box shot = BoxAt(x, y, shotW, shotH);
        for (size_t i = 0; i < field.Enemies.size(); ++i) {
            if (shot.Overlaps(EnemyBoxAfter(field.Enemies[i], k + 1))) {
                return {static_cast<int32_t>(i), k};
            }
        }
    }
    return {-1, 0};
}

// Marks the enemies that shots already in flight are expected to break, so
// that the gun turns to the others.
void MarkDoomed(Field& field) {
    std::vector<int32_t> hits(field.Enemies.size(), 0);
    for (const SeenMover& s : field.Shots) {
        int32_t x = s.X;
        int32_t y = s.Y;
        for (int32_t k = 1; k < 120; ++k) {
            x += s.StepX;
            y += s.StepY;
            if (OffScreen(x, y)) break;
            const Box shot = BoxAt(x, y, s.Width, s.Height);
            bool hit = false;
            for (size_t i = 0; i < field.Enemies.size() && !hit; ++i) {
                if (shot.Overlaps(EnemyBoxAfter(field.Enemies[i], k))) {
                    hits[i] += 1;
                    hit = true;
                }
            }
            if (hit) break;
        }
    }
    for (size_t i = 0; i < field.Enemies.size(); ++i) {
        const int32_t damage =
            WrapAdd(field.Enemies[i].Shield, WrapMul(hits[i], game.Params.ShotDamage));
        field.Enemies[i].Doomed = damage > game.Params.EnemyBreakLevel;
    }
}

// ---- The pilot's choices ---------------------------------------------------

// Danger of the ship's box at pointer (px, py) from the frames it would be
// there on: rockets and enemies that would touch it. Contacts in the first
// frames cannot be escaped any more and weigh the most.
double Danger(const Field& field, int32_t px, int32_t py) {
    const Box ship =
        BoxAt(px - game.ShipWidth / 2, py - game.ShipHeight / 2, game.ShipWidth, game.ShipHeight);
    double danger = 0.0;
    for (const SeenMover& r : field.Rockets) {
        for (int32_t j = kPointerDelay; j <= kDangerFrames; ++j) {
            const Box rocket = BoxAt(r.X + j * r.StepX, r.Y + j * r.StepY, r.Width, r.Height);
            if (!rocket.Overlaps(ship.Grown(8))) continue;
            danger += j <= kPointerDelay + 1 ? 1e6 : 4000.0 / j;
            break;
        }
    }
    for (const SeenEnemy& e : field.Enemies) {
        for (int32_t j = kPointerDelay; j <= 8; ++j) {
            // The sway may take an enemy up to 8 pixels aside per frame.
            const int32_t x = static_cast<int32_t>(e.X);
            const int32_t y = static_cast<int32_t>(e.Y);
            const Box reach = {x - 8 * j, y, x + game.EnemyWidth - 1 + 8 * j,
                               y + game.EnemyHeight - 1 + static_cast<int32_t>(2 * e.VY) * j};
            if (!reach.Overlaps(ship.Grown(4))) continue;
            danger += j <= kPointerDelay + 1 ? 1e6 : 3000.0 / j;
            break;
        }
    }
    return danger;
}

bool BonusWanted(const SeenBonus& b) {
    switch (b.Kind) {
        case 0:
            return game.ShieldLevel > WrapAdd(game.Params.ShieldBase, 30);
        case 1:
            return game.GunpowerStart == 0;
        case 2:
            return game.RocketCoverStart == 0;
        default:
            return false;
    }
}

// Where the pilot would like the pointer: on a bonus worth having, else
// below the lowest enemy that is still to be shot, at a distance that leaves
// the shots little time to miss.
std::pair<int32_t, int32_t> IdealSpot(const Field& field) {
    for (const SeenBonus& b : field.Bonuses) {
        const int32_t x = b.X + kPointerDelay * b.StepX + 20;
        const int32_t y = b.Y + kPointerDelay * b.StepY + 20;
        if (BonusWanted(b) && x > 0 && x < game.ScreenWidth && y > kMinPointerY &&
            y < kMaxPointerY) {
            return {x, y};
        }
    }
    const SeenEnemy* target = nullptr;
    for (const SeenEnemy& e : field.Enemies) {
        if (e.Y < -40 || e.Y > 560 || e.Doomed) continue;
        if (target == nullptr || e.Y > target->Y) target = &e;
    }
    if (target == nullptr) return {game.ScreenWidth / 2, 560};
    const float ahead = 12.0f;
    const int32_t x = static_cast<int32_t>(target->X + target->VX * ahead) + game.EnemyWidth / 2;
    const int32_t y = static_cast<int32_t>(target->Y + target->VY * ahead) + kStandOff;
    return {std::clamp(x, kMinPointerX, game.ScreenWidth - kMinPointerX), std::clamp(y, 300, 700)};
}

class Pilot {
  public:
    PilotInput PlayFrame(int64_t levelFrame) {
        Field field = ReadField(sway_);
        MarkDoomed(field);
        PilotInput input;
        if (!pointerKnown_) {
            pointerX_ = game.ScreenWidth / 2;
            pointerY_ = 640;
        }
        // The gun fires from where the game last read the pointer.
        const int32_t fireX = pointerX_;
        const int32_t fireY = pointerY_;
        ChoosePointer(field, input);
        if (!pausedOnce_ && levelFrame >= kPauseAtFrame) {
            PressPause(input);
        } else {
            Aim(field, fireX, fireY, input);
        }
        return input;
    }

    PilotInput PauseFrame() {
        PilotInput input;
        pauseFrames_ += 1;
        // P down in one pass, up in the next: the pause ends on the release.
        input.Pause = pauseFrames_ == kPauseLength;
        return input;
    }

    PilotInput PanelFrame(LevelPhase phase) {
        PilotInput input;
        panelFrames_ += 1;
        if (panelFrames_ == kPanelLength) {
            input.Next = phase == LevelPhase::Won;
            input.Retry = phase == LevelPhase::Lost;
        }
        return input;
    }

    void LevelStarts() { panelFrames_ = 0; }
    void PointerPosted(int32_t x, int32_t y) {
        pointerKnown_ = true;
        pointerX_ = x;
        pointerY_ = y;
    }

  private:
    void ChoosePointer(const Field& field, PilotInput& input) {
        const auto [idealX, idealY] = IdealSpot(field);
        double best = std::numeric_limits<double>::max();
        int32_t bestX = pointerX_;
        int32_t bestY = pointerY_;
        for (int32_t dy = -kSearchRadius; dy <= kSearchRadius; dy += kSearchStep) {
            for (int32_t dx = -kSearchRadius; dx <= kSearchRadius; dx += kSearchStep) {
                const int32_t x =
                    std::clamp(pointerX_ + dx, kMinPointerX, game.ScreenWidth - kMinPointerX);
                const int32_t y = std::clamp(pointerY_ + dy, kMinPointerY, kMaxPointerY);
                const double move = std::hypot(x - pointerX_, y - pointerY_);
                double cost = std::hypot(x - idealX, y - idealY) + 0.3 * move;
                if (move > kEasyMove) cost += (move - kEasyMove) * 4.0;
                if (cost >= best) continue;
                cost += Danger(field, x, y);
                if (cost < best) {
                    best = cost;
                    bestX = x;
                    bestY = y;
                }
            }
        }
        if (!pointerKnown_ || bestX != pointerX_ || bestY != pointerY_) {
            input.Move = true;
            input.X = bestX;
            input.Y = bestY;
        }
    }

    // Picks the heading that hits a live enemy soonest, counting the frames of
    // turning (5 degrees each) first; fires once the gun points there.
    void Aim(const Field& field, int32_t fireX, int32_t fireY, PilotInput& input) {
        const int32_t angle = game.ShipAngle;
        const int32_t shotW = rt_sprite_width(game.ShotImage);
        const int32_t shotH = rt_sprite_height(game.ShotImage);
        double best = std::numeric_limits<double>::max();
        int32_t bestTurn = 0;
        bool found = false;
        for (int32_t turn = -175; turn <= 180; turn += 5) {
            const auto [enemy, moves] =
                ShotOutcome(field, fireX, fireY, angle + turn, shotW, shotH);
            if (enemy < 0 || moves > kLongestShot ||
                field.Enemies[static_cast<size_t>(enemy)].Doomed) {
                continue;
            }
            const double cost = std::abs(turn) / 5.0 + moves * 0.1;
            if (cost < best) {
                best = cost;
                bestTurn = turn;
                found = true;
            }
        }
        if (!found) {
            // Nothing to hit: point the gun up the screen, where enemies come.
            bestTurn = NormaliseTurn(-angle);
            bestTurn -= bestTurn % 5;
        }
        if (bestTurn < 0) {
            input.Left = true;
        } else if (bestTurn > 0) {
            input.Right = true;
        } else if (found && game.ShotsInFlight < game.Params.MaxShots) {
            input.Fire = true;
        }
    }

    // P is only looked at when no turn or shot is asked for: down in one
    // frame with everything else up, up in the next.
    void PressPause(PilotInput& input) {
        pauseStep_ += 1;
        input.Pause = pauseStep_ == 1;
        if (pauseStep_ >= 2) pausedOnce_ = true;
    }

    SwayTracker sway_;
    bool pointerKnown_ = false;
    int32_t pointerX_ = 0;
    int32_t pointerY_ = 0;
    bool pausedOnce_ = false;
    int32_t pauseStep_ = 0;
    int64_t pauseFrames_ = 0;
    int64_t panelFrames_ = 0;
};

// ---- Posting: the pilot's hands -------------------------------------------

// Turns decisions into key presses and releases and pointer moves, posting
// only changes, as a hand on the keyboard would.
class Hands {
  public:
    void Apply(const PilotInput& input) {
        Key(RT_KEY_A, input.Left);
        Key(RT_KEY_D, input.Right);
        Key(RT_KEY_SPACE, input.Fire);
        Key(RT_KEY_P, input.Pause);
        Key(RT_KEY_N, input.Next);
        Key(RT_KEY_R, input.Retry);
        if (input.Move) rt_input_post_screen_mouse_move(input.X, input.Y);
    }

  private:
    void Key(int32_t scancode, bool down) {
        bool& held = held_[static_cast<size_t>(scancode)];
        if (held == down) return;
        rt_input_post_key(game.MainWindow, scancode, down ? 1 : 0);
        held = down;
    }
    bool held_[256] = {};
};

// ---- The run: frame watch, pilot, record ----------------------------------

class DemoRun {
  public:
    explicit DemoRun(const ProgramOptions& options) : options_(options) {}

    // Once per watched pass of any loop; several watchers may see the same
    // presented frame, which is handled once.
    void WatchFrame() {
        const int64_t flips = rt_screen_flip_count();
        if (flips == lastWatched_) return;
        lastWatched_ = flips;
        if (!options_.ScreenshotDir.empty() && flips / options_.Every > lastShot_) {
            lastShot_ = flips / options_.Every;
            char name[32];
            std::snprintf(name, sizeof name, "frame_%06lld.png", static_cast<long long>(flips));
            const std::string path = options_.ScreenshotDir + "/" + name;
            if (!rt_screen_save_png(path.c_str())) {
                std::fprintf(stderr, "zentara: could not write %s: %s\n", path.c_str(), rt_error());
            }
        }
        if (options_.Frames && flips >= *options_.Frames) EndProgram();
    }

    void OnPumpEvents() {
        WatchFrame();
        if (!options_.Demo || levelSeen_) return;
        // The story: let it scroll a while, then rest the pointer on "Skip".
        storyFrames_ += 1;
        if (storyFrames_ == kStorySkipFrame) {
            rt_input_post_screen_mouse_move(game.ScreenWidth - 40, game.ScreenHeight - 40);
        }
    }

    void OnLevelFrame(LevelPhase phase) {
        WatchFrame();
        if (!options_.Demo) return;
        levelSeen_ = true;
        PilotInput input;
        switch (phase) {
            case LevelPhase::Playing:
                if (lastPhase_ != LevelPhase::Playing && lastPhase_ != LevelPhase::Paused) {
                    levelFrames_ = 0;
                    pilot_.LevelStarts();
                }
                input = pilot_.PlayFrame(levelFrames_);
                levelFrames_ += 1;
                break;
            case LevelPhase::Paused:
                input = pilot_.PauseFrame();
                break;
            case LevelPhase::Won:
            case LevelPhase::Lost:
                if (lastPhase_ != phase) ReportLevel(phase);
                input = pilot_.PanelFrame(phase);
                break;
        }
        lastPhase_ = phase;
        hands_.Apply(input);
        if (input.Move) pilot_.PointerPosted(input.X, input.Y);
    }

    static void ReportEnd() {
        std::printf("demo: ended after %lld frames\n",
                    static_cast<long long>(rt_screen_flip_count()));
        std::fflush(stdout);
    }

  private:
    void ReportLevel(LevelPhase phase) {
        const double rate = game.GunShots > 0 ? 100.0 * game.Hits / game.GunShots : 0.0;
        std::printf(
            "demo: level %d %s after %lld frames: %d points, %d of %d shots hit (%.2f%%), "
            "%d rocket hits, %d enemies destroyed\n",
            game.CurrentLevel, phase == LevelPhase::Won ? "won" : "lost",
            static_cast<long long>(levelFrames_), game.Points, game.Hits, game.GunShots, rate,
            game.RocketHits, game.EnemiesDestroyed);
        std::fflush(stdout);
    }

    ProgramOptions options_;
    Pilot pilot_;
    Hands hands_;
    int64_t lastWatched_ = 0;
    int64_t lastShot_ = 0;
    bool levelSeen_ = false;
    int64_t storyFrames_ = 0;
    int64_t levelFrames_ = 0;
    LevelPhase lastPhase_ = LevelPhase::Won;
};

// The one run of this process; it lives until the process ends.
DemoRun* run = nullptr;

}  // namespace

bool DemoWanted(const ProgramOptions& options) {
    return options.Demo || options.Frames.has_value() || !options.ScreenshotDir.empty();
}

void StartDemo(const ProgramOptions& options) {
    if (!DemoWanted(options)) return;
    static std::unique_ptr<DemoRun> theRun;
    theRun = std::make_unique<DemoRun>(options);
    run = theRun.get();
    if (!options.ScreenshotDir.empty()) {
        std::error_code error;
        std::filesystem::create_directories(options.ScreenshotDir, error);
    }
    SetLevelFrameHook([](LevelPhase phase, int64_t) { run->OnLevelFrame(phase); });
    SetPumpEventsHook([] { run->OnPumpEvents(); });
    if (!options.Demo) return;
    std::atexit(DemoRun::ReportEnd);
    // The same route as a click on the item: the menu loop's wait fetches it.
    if (rt_window_post_menu(game.MainWindow, options.Level) == 0) {
        const int32_t offered = std::min(game.LevelCount, MaxMenuLevels);
        const std::string why =
            options.Level > offered
                ? "the level file defines " + std::to_string(offered) + " levels"
                : "not reached yet (the level file's progress, line 1, is " +
                      std::to_string(game.LevelReached) + ")";
        std::fprintf(stderr, "zentara: the demo cannot choose Level%d: %s\n", options.Level,
                     why.c_str());
        EndProgramWith(1);
    }
}
