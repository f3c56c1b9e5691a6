// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/game/heavy_scene.h"

#include <unistd.h>

#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QTransform>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <string>

#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/core/records.h"
#include "game/level/play_level.h"
#include "game/play/bonuses.h"
#include "game/play/enemies.h"
#include "game/play/explosions.h"
#include "game/play/ship.h"
#include "game/play/star_field.h"
#include "game/program/options.h"
#include "game/program/program.h"
#include "runtime/runtime.h"

namespace fs = std::filesystem;

namespace bench {

namespace {

constexpr int kEnemies = 20;
constexpr int kShots = 40;
constexpr int kRockets = 20;
constexpr int kExplosionsPerList = 5;  // enemy, shot and rocket explosions: 15

constexpr uint32_t kPlaceSeed = 20240601;

fs::path g_scratch;
std::mt19937 g_place(kPlaceSeed);  // placement of topped-up objects, apart from the game's draws
int64_t g_draws = 0;
PlainFrame* g_recording = nullptr;     // the frame being captured, if any
std::map<int32_t, int> g_recorded;     // sprite -> its image in the frame
std::map<int32_t, int32_t> g_rotated;  // rotated sprite -> the sprite it shows

int Between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(g_place);
}

void RemoveScratch() {
    std::error_code ignored;
    if (!g_scratch.empty()) fs::remove_all(g_scratch, ignored);
}

// The shipped pack, with planet 3 left out and a second moon for each of the
// planets 0, 1 and 2 (copies of the pack's own moon pictures).
void CopyAssetPack(const fs::path& to) {
    const fs::path from = fs::path(ZENTARA_SOURCE_DIR) / "assets" / "zentara";
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("planet03", 0) == 0 || name.rfind("planetmond", 0) == 0) continue;
        fs::copy_file(entry.path(), to / name, fs::copy_options::overwrite_existing);
    }
    const char* const moons[][2] = {
        {"planetmond00.png", "planetmond00.png"}, {"planetmond01.png", "planetmond00b.png"},
        {"planetmond01.png", "planetmond01.png"}, {"planetmond01b.png", "planetmond01b.png"},
        {"planetmond03.png", "planetmond02.png"}, {"planetmond00.png", "planetmond02b.png"}};
    for (const auto& moon : moons)
        fs::copy_file(from / moon[0], to / moon[1], fs::copy_options::overwrite_existing);
}

// Adds explosions up to `count` and deletes those beyond it (hits add more).
template <class Record, class Add>
void KeepExactly(rt_list* list, int count, Add add) {
    int n = 0;
    rt_list_reset(list);
    while (ListNext<Record>(list)) {
        if (++n > count) rt_list_delete(list);
    }
    for (; n < count; ++n) add(Between(0, 960), Between(0, 700));
}

template <class Record>
int Count(rt_list* list) {
    int n = 0;
    rt_list_reset(list);
    while (ListNext<Record>(list)) ++n;
    return n;
}

void PlacePlanet(Planet* planet) {
    planet->X = 80 + planet->Index * 320;
    planet->Y = 120 + planet->Index * 140;
    planet->StepX = 1;
    planet->StepY = 0;
}

void FireOneShot() {
    game.ShotsInFlight =
        FireShot(1000, game.ShotsInFlight, game.ShotImage, game.PowerShotImage, Between(100, 924),
                 Between(100, 668), Between(0, 359), game.Params.ShotSpeed);
}

void FireOneRocket() {
    FireRocket(game.RocketImage, Between(50, 974), Between(50, 500), game.Params.RocketSpeed,
               Between(90, 270));
}

QImage ImageOf(int32_t sprite, QImage::Format format) {
    rt_sprite_pixels* pixels = rt_sprite_pixels_of(sprite);
    if (pixels == nullptr) return QImage(1, 1, format);
    int32_t pitch = 0;
    const auto* bits = static_cast<const uchar*>(rt_sprite_lock(pixels, 1, &pitch));
    QImage view(bits, rt_sprite_width(sprite), rt_sprite_height(sprite), pitch,
                QImage::Format_ARGB32);
    QImage image = view.convertToFormat(format);
    rt_sprite_unlock(pixels);
    return image;
}

int RecordedImage(int32_t sprite, QImage::Format format) {
    auto [at, added] = g_recorded.try_emplace(sprite, static_cast<int>(g_recording->images.size()));
    if (added) g_recording->images.push_back(ImageOf(sprite, format));
    return at->second;
}

// A draw call on its way to the runtime: counted, and kept while capturing.
void Note(PlainDraw::Kind kind, int32_t sprite, int32_t x, int32_t y, int32_t opacity = 255,
          double degrees = 0) {
    ++g_draws;
    if (g_recording == nullptr) return;
    const auto format =
        kind == PlainDraw::Opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    g_recording->draws.push_back(
        {kind, RecordedImage(sprite, format), x, y, opacity & 0xFF, degrees, {}});
}

void NoteRotated(int32_t rotor, int32_t x, int32_t y, int32_t opacity) {
    const auto shown = g_rotated.find(rotor);
    // Rockets fired during the frame are not in the map yet.
    const int32_t sprite = shown != g_rotated.end() ? shown->second : game.RocketImage;
    Note(PlainDraw::Rotated, sprite, x, y, opacity,
         rt_sprite3d_angle(rotor) * 180.0 / 3.14159265358979);
}

}  // namespace
}  // namespace bench

// The runtime's draw calls, wrapped at link time (see CMakeLists.txt).
extern "C" {
int32_t __real_rt_sprite_draw(int32_t sprite, int32_t x, int32_t y);
int32_t __real_rt_sprite_draw_keyed(int32_t sprite, int32_t x, int32_t y);
int32_t __real_rt_sprite_draw_alpha(int32_t sprite, int32_t x, int32_t y, int32_t opacity);
int32_t __real_rt_sprite3d_draw(int32_t sprite3d, int32_t x, int32_t y);
int32_t __real_rt_sprite3d_draw_alpha(int32_t sprite3d, int32_t x, int32_t y, int32_t opacity);
int32_t __real_rt_draw_text_colours(int32_t x, int32_t y, const char* text, uint32_t front,
                                    uint32_t back);

int32_t __wrap_rt_sprite_draw(int32_t sprite, int32_t x, int32_t y) {
    bench::Note(bench::PlainDraw::Opaque, sprite, x, y);
    return __real_rt_sprite_draw(sprite, x, y);
}
int32_t __wrap_rt_sprite_draw_keyed(int32_t sprite, int32_t x, int32_t y) {
    bench::Note(bench::PlainDraw::Keyed, sprite, x, y);
    return __real_rt_sprite_draw_keyed(sprite, x, y);
}
int32_t __wrap_rt_sprite_draw_alpha(int32_t sprite, int32_t x, int32_t y, int32_t opacity) {
    bench::Note(bench::PlainDraw::Alpha, sprite, x, y, opacity);
    return __real_rt_sprite_draw_alpha(sprite, x, y, opacity);
}
int32_t __wrap_rt_sprite3d_draw(int32_t sprite3d, int32_t x, int32_t y) {
    bench::NoteRotated(sprite3d, x, y, 255);
    return __real_rt_sprite3d_draw(sprite3d, x, y);
}
int32_t __wrap_rt_sprite3d_draw_alpha(int32_t sprite3d, int32_t x, int32_t y, int32_t opacity) {
    bench::NoteRotated(sprite3d, x, y, opacity);
    return __real_rt_sprite3d_draw_alpha(sprite3d, x, y, opacity);
}
int32_t __wrap_rt_draw_text_colours(int32_t x, int32_t y, const char* text, uint32_t front,
                                    uint32_t back) {
    ++bench::g_draws;
    if (bench::g_recording != nullptr)
        bench::g_recording->draws.push_back({bench::PlainDraw::Text, -1, x, y, 255, 0, text});
    return __real_rt_draw_text_colours(x, y, text, front, back);
}
}

namespace bench {

void StartGameOnAssetPack() {
    static bool started = false;
    if (started) return;
    started = true;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("ALSOFT_DRIVERS", "null", 0);
    g_scratch = fs::temp_directory_path() / ("zentara-bench-" + std::to_string(getpid()));
    CopyAssetPack(g_scratch / "zentara");
    std::atexit(RemoveScratch);
    fs::current_path(g_scratch);
    ProgramOptions options;
    options.Seed = 1;
    StartProgram(options);
    rt_screen_frame_rate(0);
    // The ship follows the pointer: keep it in the lower middle of the screen.
    rt_input_post_mouse_move(game.MainWindow, 512, 620);
}

void BuildHeavyScene() {
    StartGameOnAssetPack();
    rt_random_seed(1);
    g_place.seed(kPlaceSeed);
    game.StarScrollOffset = 0;
    game.StarScrollTick = 0;
    rt_sprite_free(game.StarField);
    game.StarField = MakeStarField();
    StartLevel(1);
    while (Count<Enemy>(game.Enemies) < kEnemies)
        SpawnEnemy(rt_random(game.EnemyImageCount), game.EnemyShieldImage, game.Params.BaseAlpha);
    int i = 0;
    rt_list_reset(game.Enemies);
    while (Enemy* enemy = ListNext<Enemy>(game.Enemies)) {
        enemy->X = 70 + (i * 47) % 880;
        enemy->Y = 40 + (i % 5) * 90;
        ++i;
    }
    rt_list_reset(game.Planets);
    while (Planet* planet = ListNext<Planet>(game.Planets)) PlacePlanet(planet);
    while (game.ShotsInFlight < kShots) FireOneShot();
    for (int r = 0; r < kRockets; ++r) FireOneRocket();
    ApplyBonus(BonusShield, 0);
    ApplyBonus(BonusGunpower, 0);
    KeepSceneHeavy();
    // Run the scene in, so the shield bar and the caches reach their steady state.
    for (int frame = 0; frame < 25; ++frame) {
        RunGameFrame();
        KeepSceneHeavy();
    }
}

void KeepSceneHeavy() {
    game.ShieldLevel = game.Params.ShieldBase;
    game.Lost = 0;
    game.Points = 0;
    if (!game.ShieldMessageOn) ApplyBonus(BonusShield, 0);
    if (game.GunpowerStart == 0) ApplyBonus(BonusGunpower, 0);
    while (game.ShotsInFlight < kShots) FireOneShot();
    for (int r = Count<Rocket>(game.Rockets); r < kRockets; ++r) FireOneRocket();
    KeepExactly<Explosion>(game.EnemyExplosions, kExplosionsPerList, AddEnemyExplosion);
    KeepExactly<Explosion>(game.ShotExplosions, kExplosionsPerList, AddShotExplosion);
    KeepExactly<RocketExplosion>(game.RocketExplosions, kExplosionsPerList, AddRocketExplosion);
    rt_list_reset(game.Enemies);
    while (Enemy* enemy = ListNext<Enemy>(game.Enemies))
        if (enemy->Y < 0 || enemy->Y > 560) enemy->Y = Between(0, 400);
    rt_list_reset(game.Planets);
    while (Planet* planet = ListNext<Planet>(game.Planets))
        if (planet->X > 900 || planet->StepX == 0) PlacePlanet(planet);
    rt_list_reset(game.Bonuses);
    if (Bonus* bonus = ListNext<Bonus>(game.Bonuses)) {
        if (!bonus->Active || bonus->X < 100 || bonus->X > 900 || bonus->Y < 100 ||
            bonus->Y > 600) {
            bonus->Active = 1;
            bonus->X = Between(200, 800);
            bonus->Y = Between(200, 500);
            bonus->StepX = 1;
            bonus->StepY = 1;
        }
    }
}

void TearDownScene() {
    FreeLevel(game.StarField);
    game.StarField = MakeStarField();
}

void RunGameFrame() {
    RunOneFrame(game.MainWindow, game.MainMenu, game.StarField, game.ShipEnabled,
                game.EnemiesEnabled, game.RocketsEnabled);
}

int64_t ScreenDraws() {
    return g_draws;
}

PlainFrame CapturePlainFrame() {
    g_rotated = {{game.ShipRotated, game.ShipImage}};
    rt_list_reset(game.Planets);
    while (Planet* planet = ListNext<Planet>(game.Planets))
        g_rotated[planet->Rotor] = planet->Sprite;
    PlainFrame f;
    g_recorded.clear();
    g_recording = &f;
    RunGameFrame();
    g_recording = nullptr;
    f.hudImage = g_recorded.count(game.HudSprite) ? g_recorded[game.HudSprite] : -1;
    return f;
}

void DrawPlainFrame(PlainFrame& frame, QImage& target, QImage& shown, int64_t frameNumber) {
    static const QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    if (frameNumber % 20 == 0 && frame.hudImage >= 0) {
        // The shield bar: black, the coloured part, the score.
        QPainter hud(&frame.images[frame.hudImage]);
        hud.fillRect(0, 0, 350, 20, Qt::black);
        hud.fillRect(0, 0, 350, 20, QColor(0, 255, 0));
        hud.setFont(font);
        hud.setPen(Qt::black);
        hud.drawText(310, 15, QStringLiteral("0"));
    }
    target.fill(0xFF000000u);
    QPainter p(&target);
    p.setFont(font);
    for (const PlainDraw& d : frame.draws) {
        switch (d.kind) {
            case PlainDraw::Opaque:
            case PlainDraw::Keyed:
                p.drawImage(QPoint(d.x, d.y), frame.images[d.image]);
                break;
            case PlainDraw::Alpha:
                p.setOpacity(d.opacity / 255.0);
                p.drawImage(QPoint(d.x, d.y), frame.images[d.image]);
                p.setOpacity(1.0);
                break;
            case PlainDraw::Rotated: {
                const QImage& image = frame.images[d.image];
                p.setOpacity(d.opacity / 255.0);
                QTransform t;
                t.translate(d.x + image.width() / 2.0, d.y + image.height() / 2.0);
                t.rotate(d.degrees);
                t.translate(-image.width() / 2.0, -image.height() / 2.0);
                p.setTransform(t);
                p.drawImage(QPoint(0, 0), image);
                p.resetTransform();
                p.setOpacity(1.0);
                break;
            }
            case PlainDraw::Text:
                p.setBackgroundMode(Qt::OpaqueMode);
                p.setBackground(Qt::black);
                p.setPen(Qt::white);
                p.drawText(d.x, d.y + 12, QString::fromLatin1(d.text.c_str()));
                break;
        }
    }
    p.end();
    QPainter show(&shown);
    show.drawImage(QPoint(0, 0), target);
}

}  // namespace bench
