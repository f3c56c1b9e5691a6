// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/level/play_level.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/core/records.h"
#include "game/data/asset_discovery.h"
#include "game/data/asset_files.h"
#include "game/data/best_scores.h"
#include "game/data/folder_check.h"
#include "game/data/level_file.h"
#include "game/level/text_screens.h"
#include "game/play/bonuses.h"
#include "game/play/enemies.h"
#include "game/play/explosions.h"
#include "game/play/moves.h"
#include "game/play/planets.h"
#include "game/play/ship.h"
#include "game/play/star_field.h"
#include "game/window/end_program.h"
#include "game/window/full_screen.h"
#include "game/window/main_window.h"
#include "runtime/core/rt_core.h"
#include "runtime/input/rt_input.h"
#include "runtime/screen/rt_screen.h"
#include "runtime/sound/rt_sound.h"
#include "runtime/window/rt_window.h"

namespace {

constexpr int32_t kPanelWidth = 350;
constexpr int32_t kPanelHeight = 270;
constexpr int32_t kSpawnsPerEventCheck = 256;

LevelFrameHook frameHook;
int64_t hookFrame = 0;
// Set when the window is minimized during play; the next key check pauses.
bool pauseAsked = false;

void RunHook(LevelPhase phase) {
    if (frameHook) frameHook(phase, hookFrame);
    hookFrame += 1;
}

int32_t LoadSound(const char* path) {
    const int32_t sound = rt_sound_load(-1, path);
    rt_sound_volume(sound, SoundVolume);
    return sound;
}

// Every value of the loop state starts at 0 in each level, retries included.
void ResetLoopState() {
    game.ShipX = game.ShipY = 0;
    game.ShipAngle = 0;
    game.TurnStep = 0;
    game.ShieldLevel = 0;
    game.Points = 0;
    game.ShotsInFlight = 0;
    game.GunShots = game.Hits = game.RocketShots = game.RocketHits = game.EnemiesDestroyed = 0;
    game.GunpowerStart = game.RocketCoverStart = 0;
    game.SavedShotDamage = game.SavedRocketDamage = 0;
    game.ShieldMessageOn = 0;
    game.Shake = 0;
    game.StarDirection = 0;
    game.CursorHidden = 0;
    game.Lost = 0;
    game.ShipWidth = game.ShipHeight = 0;
    game.EnemyWidth = game.EnemyHeight = 0;
    game.ShieldOffset = game.RocketBlastOffset = game.FlashOffset = game.EnemyShieldOffset = 0;
    game.EnemyImageCount = 0;
    game.SpawnCount = 0;
    game.HudSprite = 0;
    game.PauseImage = 0;
}

}  // namespace

// Level start, steps 1 to 11 (the intro is shown by the caller).
void StartLevel(int32_t level, const std::function<void()>& serveWindow) {
    ResetLoopState();
    // The file was there at program start; if it has gone since, the level
    // cannot be set up and the program ends with the same message.
    CheckLevelFile();
    const std::vector<std::string> lines = ReadLevelFileLines();
    game.Params = LevelParamsIn(lines, level);
    const LevelParams& p = game.Params;
    // What an edited file or folder will do to this level, for the player
    // who edits them.
    for (const Finding& finding : LevelStartFindings(lines, level)) {
        std::fprintf(stderr, "zentara: %s\n", FindingText(finding).c_str());
    }

    game.ShotSound = LoadSound(ShotSoundFile);
    game.RocketSound = LoadSound(RocketSoundFile);
    game.EnemyExplosionSound = LoadSound(EnemyExplosionSoundFile);
    game.RocketExplosionSound = LoadSound(RocketExplosionSoundFile);
    game.CollisionSound = LoadSound(CollisionSoundFile);

    game.ShipExplosionImage = LoadFixedPicture(ShipExplosionPicture);
    game.ShotImage = LoadFixedPicture(ShotPicture);
    game.PowerShotImage = LoadFixedPicture(PowerShotPicture);
    game.ShotFlashImage = LoadFixedPicture(ShotFlashPicture);
    game.ShipImage = LoadFixedPicture(ShipPicture);
    game.ShipShieldImage = LoadFixedPicture(ShipShieldPicture);
    game.ShipWidth = rt_sprite_width(game.ShipImage);
    game.ShipHeight = rt_sprite_height(game.ShipImage);
    game.ShipRotated = rt_sprite3d_create(-1, game.ShipImage);
    game.ShieldLevel = p.ShieldBase;
    game.ShipAngle = 0;
    game.TurnStep = 5;
    game.ShieldOffset = (rt_sprite_width(game.ShipShieldImage) - game.ShipWidth) / 2;

    game.RocketImage = LoadFixedPicture(RocketPicture);
    game.RocketExplosionImage = LoadFixedPicture(RocketExplosionPicture);
    game.RocketBlastOffset = (rt_sprite_width(game.RocketExplosionImage) - game.ShipWidth) / 2;

    game.EnemyImageCount = CountEnemyImages();

    game.EnemyShieldImage = LoadFixedPicture(EnemyShieldPicture);
    game.EnemyExplosionImage = LoadFixedPicture(EnemyExplosionPicture);

    Enemy* last = nullptr;
    int32_t counter = 0;
    while (counter < std::min(p.EnemyCount, MostEnemies)) {
        last = SpawnEnemy(rt_random(game.EnemyImageCount), game.EnemyShieldImage, p.BaseAlpha);
        counter += 1;
        // A large count takes seconds to spawn: the window stays served.
        if (counter % kSpawnsPerEventCheck == 0 && serveWindow) serveWindow();
    }
    game.SpawnCount = counter;

    // Every enemy is centred with the sizes of the one spawned last; without
    // enemies there is nothing to centre and the sizes stay 0.
    if (last != nullptr) {
        game.EnemyWidth = rt_sprite_width(last->Sprite);
        game.EnemyHeight = rt_sprite_height(last->Sprite);
        game.EnemyShieldOffset = (rt_sprite_width(last->ShieldSprite) - game.EnemyWidth) / 2;
    }

    LoadBonuses(p.BonusValue);
    LoadPlanets();
    LoadMoons();

    game.CollisionFlashImage = LoadFixedPicture(CollisionFlashPicture);
    game.FlashOffset = (rt_sprite_width(game.CollisionFlashImage) - game.ShipWidth) / 2;

    game.StarDirection = rt_random(1);
    game.HudSprite = rt_sprite_create(-1, 350, 20);
}

namespace {

// The ship's position as the pause and the end screens read it: a third of
// the ship's height above the pointer instead of a half.
void FollowMouseInPanel() {
    game.ShipX = rt_screen_mouse_x() - game.ShipWidth / 2;
    game.ShipY = rt_screen_mouse_y() - game.ShipHeight / 3;
    game.CursorHidden = UpdateCursor(game.ShipY, game.CursorHidden);
}

void GrabPauseImage() {
    rt_sprite_free(game.PauseImage);
    game.PauseImage = rt_sprite_grab(-1, 0, 0, game.ScreenWidth, game.ScreenHeight);
}

// Holds the frame as it stands, under the pause label, until P is released
// again. Only the pointer and the window are served meanwhile; bonus timers
// keep running on the clock. The frame is left in the back buffer without the
// label, so the label goes with the pause.
void Pause(int32_t window, int32_t menu) {
    GrabPauseImage();
    do {
        RunHook(LevelPhase::Paused);
        FollowMouseInPanel();
        PumpEvents(window, menu);
        rt_screen_clear(0);
        rt_sprite_draw(game.PauseImage, 0, 0);
        DrawPauseLabel();
        rt_screen_flip();
        rt_keyboard_poll();
    } while (!rt_key_released(RT_KEY_P));
    rt_screen_clear(0);
    rt_sprite_draw(game.PauseImage, 0, 0);
}

// Draws the end panel over the last frame, grabs the result and shows it
// until `key` is pressed; Q ends the program.
void ShowEndPanel(int32_t panel, int32_t window, int32_t menu, int32_t key, LevelPhase phase) {
    rt_sprite_draw_keyed(panel, PanelX(rt_sprite_width(panel)), PanelY(rt_sprite_height(panel)));
    GrabPauseImage();
    rt_sprite_free(panel);
    do {
        RunHook(phase);
        rt_screen_clear(0);
        PumpEvents(window, menu);
        FollowMouseInPanel();
        rt_sprite_draw(game.PauseImage, 0, 0);
        rt_keyboard_poll();
        if (rt_key_down(RT_KEY_Q)) EndProgram();
        rt_screen_flip();
    } while (!rt_key_down(key));
}

// At most one window event of a level: the close box and "Close" end the
// program, the "Disable" items toggle their flags, and a minimized window
// asks for the pause.
void HandleWindowEvent(int32_t window, int32_t menu, int32_t& shipEnabled, int32_t& enemiesEnabled,
                       int32_t& rocketsEnabled) {
    const int32_t event = rt_window_event_poll();
    if (event == 0 || rt_event_window() != window) return;
    switch (event) {
        case RT_EVENT_MINIMIZE:
            pauseAsked = true;
            break;
        case EventCloseWindow:
            EndProgram();
        case EventRepaint:
            rt_window_resize(window, RT_WINDOW_KEEP, RT_WINDOW_KEEP, RT_WINDOW_KEEP,
                             RT_WINDOW_KEEP);
            break;
        case EventMenu:
            switch (rt_event_item()) {
                case MenuClose:
                    EndProgram();
                case MenuDisableEnemies:
                    enemiesEnabled = ToggleDisableEnemies(menu);
                    break;
                case MenuDisableRockets:
                    rocketsEnabled = ToggleDisableRockets(menu);
                    break;
                case MenuDisableShip:
                    shipEnabled = ToggleDisableShip(menu);
                    break;
                default:
                    break;
            }
            break;
        default:
            break;
    }
}

// Frame step 15: only the first key of the chain that applies is acted on.
// A window that has lost the keyboard focus (another window was chosen, or it
// was minimized) pauses the game as P does; P resumes it as usual.
void HandleKeys(int32_t window, int32_t menu) {
    const bool focused = rt_keyboard_poll() != 0;
    FollowFullScreenKey(window);
    if (!focused || pauseAsked) {
        pauseAsked = false;
        Pause(window, menu);
    } else if (rt_key_down(RT_KEY_A)) {
        TurnShip(-game.TurnStep);
    } else if (rt_key_down(RT_KEY_D)) {
        TurnShip(game.TurnStep);
    } else if (rt_key_down(RT_KEY_SPACE) && game.ShotsInFlight < game.Params.MaxShots) {
        FireGun();
    } else if (rt_key_released(RT_KEY_P)) {
        Pause(window, menu);
    }
}

}  // namespace

void RunOneFrame(int32_t window, int32_t menu, int32_t starField, int32_t& shipEnabled,
                 int32_t& enemiesEnabled, int32_t& rocketsEnabled) {
    RunHook(LevelPhase::Playing);
    rt_screen_clear(0);
    game.Shake = ShakeOffset(game.Params.ShakeAmplitude);
    ScrollStarField(starField, game.StarDirection);
    MovePlanets();
    MoveBonuses();
    if (shipEnabled) DrawShip();
    if (enemiesEnabled) MoveEnemies(rocketsEnabled);
    MoveShots();
    MoveRockets();
    CatchBonuses();
    UpdateBonusEffects();
    FadeExplosions();
    // Screen coordinates: the ship stays under the pointer on a stretched screen.
    game.ShipX = rt_screen_mouse_x() - game.ShipWidth / 2;
    game.ShipY = rt_screen_mouse_y() - game.ShipHeight / 2;
    game.CursorHidden = UpdateCursor(game.ShipY, game.CursorHidden);
    HandleWindowEvent(window, menu, shipEnabled, enemiesEnabled, rocketsEnabled);
    HandleKeys(window, menu);
    rt_screen_flip();
}

namespace {

void RunFrameLoop(int32_t window, int32_t menu, int32_t starField, int32_t& shipEnabled,
                  int32_t& enemiesEnabled, int32_t& rocketsEnabled) {
    do {
        RunOneFrame(window, menu, starField, shipEnabled, enemiesEnabled, rocketsEnabled);
    } while (CheckLevelEnd(game.Lost, game.Points, game.Params.GoalPoints) == LevelResult::Running);
}

template <class Record, class FreeFn>
void EmptyList(rt_list* list, FreeFn freeRecord) {
    rt_list_reset(list);
    while (Record* record = ListNext<Record>(list)) freeRecord(record);
    rt_list_clear(list);
}

}  // namespace

LevelResult CheckLevelEnd(int32_t lost, int32_t points, int32_t goalPoints) {
    if (lost != 0) return LevelResult::Lost;
    if (points > goalPoints) return LevelResult::Won;
    return LevelResult::Running;
}

int32_t RandomSigned(int32_t max) {
    const int32_t value = rt_random(max);
    return rt_random(1) == 0 ? WrapSub(0, value) : value;
}

// A negative amplitude is no shake at all, not a jump of random size.
// The draws are taken all the same, so the random sequence does not depend on
// the amplitude's sign.
int32_t ShakeOffset(int32_t amplitude) {
    const int32_t shake = RandomSigned(amplitude);
    return amplitude < 0 ? 0 : shake;
}

int32_t IsOffScreen(int32_t x, int32_t y) {
    return (x > game.ScreenWidth || x < 0 || y > game.ScreenHeight || y < 0) ? 1 : 0;
}

int32_t PanelX(int32_t panelWidth) {
    return RoundHalfEven(static_cast<float>((game.ScreenWidth - panelWidth) / 1.8));
}

int32_t PanelY(int32_t panelHeight) {
    return (game.ScreenHeight - panelHeight) / 2;
}

void ShowLevelIntro(int32_t intro, int32_t time, int32_t starField, int32_t& shipEnabled,
                    int32_t& enemiesEnabled, int32_t& rocketsEnabled) {
    const uint32_t start = rt_ms_elapsed();
    const int32_t x =
        RoundHalfEven(static_cast<float>((game.ScreenWidth - rt_sprite_width(intro)) / 1.6));
    const int32_t y = (game.ScreenHeight - rt_sprite_height(intro)) / 2;
    const int32_t direction = rt_random(1);
    uint32_t now = start;
    do {
        // The intro's length comes from the level file and may be huge: the
        // window stays served all along, as in play, so that closing it ends
        // the program and no "Disable" click is lost.
        RunPumpEventsHook();
        HandleWindowEvent(game.MainWindow, game.MainMenu, shipEnabled, enemiesEnabled,
                          rocketsEnabled);
        rt_delay(10);
        rt_screen_clear(0);
        ScrollStarField(starField, direction);
        rt_sprite_draw_keyed(intro, x, y);
        now = rt_ms_elapsed();
        rt_screen_flip();
        // Measured as a difference so that a wrap of the clock cannot end or
        // stretch the intro; a negative time shows one frame.
    } while (time > 0 && now - start <= static_cast<uint32_t>(time));
    rt_sprite_free(intro);
}

void SetLevelFrameHook(LevelFrameHook hook) {
    frameHook = std::move(hook);
    hookFrame = 0;
}

void FreeLevel(int32_t starField) {
    rt_sprite_free(game.PauseImage);
    game.PauseImage = 0;
    for (int32_t sound : {game.ShotSound, game.RocketSound, game.EnemyExplosionSound,
                          game.RocketExplosionSound, game.CollisionSound}) {
        rt_sound_free(sound);
    }
    rt_sprite_free(starField);
    rt_sprite3d_free(game.ShipRotated);
    for (int32_t sprite : {game.ShipExplosionImage, game.ShotImage, game.PowerShotImage,
                           game.ShotFlashImage, game.ShipImage, game.ShipShieldImage,
                           game.RocketImage, game.RocketExplosionImage, game.EnemyShieldImage,
                           game.EnemyExplosionImage, game.CollisionFlashImage, game.HudSprite}) {
        rt_sprite_free(sprite);
    }
    game.ShotSound = game.RocketSound = game.EnemyExplosionSound = game.RocketExplosionSound =
        game.CollisionSound = 0;
    game.ShipRotated = 0;
    game.ShipExplosionImage = game.ShotImage = game.PowerShotImage = game.ShotFlashImage = 0;
    game.ShipImage = game.ShipShieldImage = game.RocketImage = game.RocketExplosionImage = 0;
    game.EnemyShieldImage = game.EnemyExplosionImage = game.CollisionFlashImage = 0;
    game.HudSprite = 0;

    EmptyList<Planet>(game.Planets, [](Planet* planet) {
        rt_sprite_free(planet->Sprite);
        rt_sprite3d_free(planet->Rotor);
    });
    EmptyList<Moon>(game.Moons, [](Moon* moon) { rt_sprite_free(moon->Sprite); });
    EmptyList<Enemy>(game.Enemies, [](Enemy* enemy) {
        rt_sprite_free(enemy->Sprite);
        rt_sprite_free(enemy->ShieldSprite);
    });
    EmptyList<Rocket>(game.Rockets, [](Rocket* rocket) {
        rt_sprite_free(rocket->Sprite);
        rt_sprite3d_free(rocket->Rotor);
    });
    EmptyList<Shot>(game.Shots, [](Shot* shot) {
        rt_sprite_free(shot->Sprite);
        rt_sprite_free(shot->PowerSprite);
    });
    EmptyList<Bonus>(game.Bonuses, [](Bonus* bonus) {
        rt_sprite_free(bonus->Sprite);
        rt_sound_free(bonus->Sound);
    });
    rt_list_clear(game.EnemyExplosions);
}

int32_t PlayLevel(int32_t window, int32_t menu, int32_t starField, int32_t level,
                  int32_t levelReached, int32_t& shipEnabled, int32_t& enemiesEnabled,
                  int32_t& rocketsEnabled, int32_t levelCount) {
    StartLevel(level, [&] {
        HandleWindowEvent(window, menu, shipEnabled, enemiesEnabled, rocketsEnabled);
    });
    ShowLevelIntro(MakeLevelIntro(level, game.Params.GoalPoints, kPanelWidth, kPanelHeight),
                   game.Params.IntroTime, starField, shipEnabled, enemiesEnabled, rocketsEnabled);

    RunFrameLoop(window, menu, starField, shipEnabled, enemiesEnabled, rocketsEnabled);

    int32_t next;
    if (CheckLevelEnd(game.Lost, game.Points, game.Params.GoalPoints) == LevelResult::Lost) {
        const int32_t w = rt_sprite_width(game.ShipExplosionImage);
        const int32_t h = rt_sprite_height(game.ShipExplosionImage);
        rt_sprite_draw_alpha(game.ShipExplosionImage, game.ShipX - w / 2, game.ShipY - h / 2, 255);
        const int32_t panel = MakeLostScreen(
            kPanelWidth, EndPanelHeight, game.Points, game.GunShots, game.Hits, game.RocketShots,
            game.RocketHits, game.EnemiesDestroyed, NoteLevelScore(level, game.Points));
        ShowEndPanel(panel, window, menu, RT_KEY_R, LevelPhase::Lost);
        next = level;
    } else {
        level += 1;
        SaveLevelReached(level, levelReached);
        const int32_t panel =
            MakeWonScreen(kPanelWidth, EndPanelHeight, level, game.Points, game.GunShots, game.Hits,
                          game.RocketShots, game.RocketHits, game.EnemiesDestroyed,
                          NoteLevelScore(level - 1, game.Points));
        ShowEndPanel(panel, window, menu, RT_KEY_N, LevelPhase::Won);
        // Levels past the menu's last one cannot be offered, so play ends there.
        next = level <= std::min(levelCount, MaxMenuLevels) ? level : -1;
    }
    FreeLevel(starField);
    return next;
}
