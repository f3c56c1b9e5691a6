// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/enemies.h"

#include <cmath>
#include <cstdlib>

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "game/play/ship.h"
#include "runtime/core/rt_core.h"
#include "runtime/screen/rt_screen.h"

namespace {

constexpr int32_t kSwayMargin = 55;

}  // namespace

std::string EnemyImageName(int32_t index) {
    return (index < 10 ? "zentara\\feind0" : "zentara\\feind") + std::to_string(index) + ".png";
}

Enemy* SpawnEnemy(int32_t index, int32_t shieldImage, int32_t shieldStart) {
    Enemy* enemy = ListAdd<Enemy>(game.Enemies);
    enemy->X = rt_random(game.ScreenWidth - 200) + 100;
    enemy->Y = -rt_random(400);
    enemy->Sprite = rt_sprite_load(-1, EnemyImageName(index).c_str());
    enemy->Mirror = static_cast<uint8_t>(rt_random(1));
    enemy->Speed = rt_random(6) + 2;
    enemy->ShieldSprite = rt_sprite_copy(shieldImage, -1);
    enemy->Shield = Wrap8(shieldStart);
    return enemy;
}

int32_t EnemySway(int32_t x, int32_t mirror, int32_t period) {
    int32_t step = rt_random(4);
    if (mirror != 0) step = -step;
    game.SwayCounter += 1;
    // A counter carried over from a level with a longer period has already
    // passed this one: it fires at once instead of never again.
    if (period > 0 && game.SwayCounter >= period) {
        game.SwayCounter = 0;
        game.SwaySign = rt_random(1);
        if (game.SwaySign == 0) game.SwaySign = -1;
    }
    const int32_t candidate = x + step * game.SwaySign;
    if (candidate < kSwayMargin || candidate > game.ScreenWidth - kSwayMargin) return x;
    return x + 2 * step * game.SwaySign;
}

void RepairEnemy(Enemy* enemy, int32_t base, int32_t chance, int32_t step) {
    if (rt_random(chance) == 0 && enemy->Shield > base) {
        enemy->Shield = Wrap8(WrapSub(enemy->Shield, step));
    }
}

int32_t AngleTo(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    const int32_t dx = x0 - x1;
    const int32_t dy = y0 - y1;
    if (dy == 0) {
        if (dx > 0) return 90;
        if (dx < 0) return 270;
        return 0;
    }
    if (dx == 0) return dy < 0 ? 0 : 180;
    const float radians = rt_math_atan(static_cast<float>(dx) / static_cast<float>(dy));
    const float t = radians * 180.0f / 3.1415927f;
    float heading;
    if (dx > 0 && dy < 0) {
        heading = std::fabs(t);
    } else if (dx < 0 && dy < 0) {
        heading = std::fabs(t - 360.0f);
    } else {
        heading = std::fabs(t - 180.0f);
    }
    return RoundHalfEven(heading);
}

void FireRocket(int32_t image, int32_t x, int32_t y, int32_t speed, int32_t angle) {
    Rocket* rocket = ListAdd<Rocket>(game.Rockets);
    rocket->Sprite = rt_sprite_copy_flags(image, -1, RT_SPRITE_TEXTURE);
    rocket->Rotor = rt_sprite3d_create(-1, image);
    rocket->X = x;
    rocket->Y = y;
    rocket->StepX = WrapSigned8(HeadingStepX(angle, speed));
    rocket->StepY = WrapSigned8(HeadingStepY(angle, speed));
    rt_sprite3d_rotate(rocket->Rotor, static_cast<float>(angle), 0);
}

void RemoveRocket(Rocket* rocket) {
    rt_sprite_free(rocket->Sprite);
    rt_sprite3d_free(rocket->Rotor);
    rt_list_delete(game.Rockets);
}

void RemoveEnemy(Enemy* enemy) {
    rt_sprite_free(enemy->Sprite);
    rt_sprite_free(enemy->ShieldSprite);
    rt_list_delete(game.Enemies);
}
