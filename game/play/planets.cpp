// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/planets.h"

#include <vector>

#include "game/core/game_math.h"
#include "game/core/game_state.h"
#include "game/core/list_walk.h"
#include "runtime/core/rt_core.h"
#include "runtime/screen/rt_screen.h"

namespace {

constexpr int32_t kExitMargin = 200;
constexpr int32_t kHighestY = -501;

void DrawPlanet(const Planet* planet) {
    rt_sprite3d_draw_alpha(planet->Rotor, planet->X, planet->Y, 255);
}

}  // namespace

void StepPlanet(Planet* planet) {
    if (planet->StepX == 0) {
        planet->X = -rt_random(400) - rt_sprite_width(planet->Sprite);
        planet->Y = rt_random(game.ScreenHeight) - 500;
        planet->StepX = WrapSigned8(rt_random(3) + 1);
        planet->StepY = WrapSigned8(rt_random(2));
        if (planet->StepY == 0) planet->Y = rt_random(game.ScreenHeight - 50);
    }
    // The counter runs 1, 2, 1, 2, ...: the planet moves on every second frame.
    planet->Tick = planet->Tick * planet->Tick + 1;
    if (planet->Tick == 2) {
        planet->Tick = 0;
        planet->X += planet->StepX;
        planet->Y += planet->StepY;
        rt_sprite3d_rotate(planet->Rotor, planet->Spin, 1);
    }
    if (planet->X > game.ScreenWidth + kExitMargin || planet->Y > game.ScreenHeight + kExitMargin ||
        planet->Y < kHighestY) {
        planet->StepX = 0;
    }
}

void StepMoon(Moon* moon) {
    moon->Tick = WrapSigned8(moon->Tick + 1);
    if (moon->Tick != moon->Period) return;
    moon->Tick = 0;
    moon->OffsetX += moon->StepX;
    moon->OffsetY += moon->StepY;
    if (moon->OffsetX > moon->MaxX) {
        moon->OffsetX = moon->MaxX;
        moon->StepX = WrapSigned8(-moon->StepX);
        moon->Behind = 1;
    } else if (moon->OffsetX < moon->MinX) {
        moon->OffsetX = moon->MinX;
        moon->StepX = WrapSigned8(-moon->StepX);
        moon->Behind = 0;
    }
    if (moon->OffsetY > moon->MaxY) {
        moon->OffsetY = moon->MaxY;
        moon->StepY = WrapSigned8(-moon->StepY);
    } else if (moon->OffsetY < moon->MinY) {
        moon->OffsetY = moon->MinY;
        moon->StepY = WrapSigned8(-moon->StepY);
    }
}

void MoveMoon(Moon* moon, const Planet* planet) {
    StepMoon(moon);
    const int32_t centring =
        moon->StepY == 0 ? (rt_sprite_width(moon->PlanetSprite) + rt_sprite_width(moon->Sprite)) / 2
                         : 0;
    rt_sprite_draw_keyed(moon->Sprite, planet->X + moon->OffsetX,
                         planet->Y + moon->OffsetY + centring);
}

void MovePlanets() {
    bool begun = false;
    rt_list_reset(game.Planets);
    while (Planet* planet = ListNext<Planet>(game.Planets)) {
        StepPlanet(planet);
        rt_sprite3d_begin();
        begun = true;
        // Which side a moon is drawn on is decided before any moon of this
        // planet moves, so a moon that turns round is still moved only once.
        std::vector<Moon*> behind;
        std::vector<Moon*> front;
        rt_list_reset(game.Moons);
        while (Moon* moon = ListNext<Moon>(game.Moons)) {
            if (moon->PlanetIndex != planet->Index) continue;
            (moon->Behind != 0 ? behind : front).push_back(moon);
        }
        // A moon behind is covered by a drawing of the planet after it; a
        // moon in front covers the planet drawn before it.
        for (Moon* moon : behind) {
            MoveMoon(moon, planet);
            DrawPlanet(planet);
        }
        for (Moon* moon : front) {
            DrawPlanet(planet);
            MoveMoon(moon, planet);
        }
        const bool hasMoon = !behind.empty() || !front.empty();
        if (!hasMoon) DrawPlanet(planet);
    }
    if (begun) rt_sprite3d_end();
}
