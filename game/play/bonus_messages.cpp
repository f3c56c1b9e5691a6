// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/play/bonus_messages.h"

#include "game/core/game_state.h"
#include "game/play/bonus_kinds.h"
#include "runtime/core/rt_core.h"
#include "runtime/draw/rt_draw.h"
#include "runtime/screen/rt_screen.h"

namespace {

// A bonus message along the bottom row of the screen, white on black.
void DrawBonusMessage(int32_t x, const char* text) {
    rt_draw_start(rt_screen_output());
    rt_draw_text_colours(x, game.ScreenHeight - 40, text, 0xFFFFFF, 0x000000);
    rt_draw_stop();
}

// Draws the message while the timed bonus runs; 1 once it has run out. The
// unsigned difference stays right across the wrap of the millisecond clock.
int32_t ShowTimedMessage(int32_t x, const char* text, uint32_t startTime, int32_t duration) {
    if (startTime == 0) return 0;
    DrawBonusMessage(x, text);
    if (duration < 0) return 1;
    return rt_ms_elapsed() - startTime > static_cast<uint32_t>(duration) ? 1 : 0;
}

}  // namespace

int32_t ShowGunpowerMessage(uint32_t startTime, int32_t duration) {
    return ShowTimedMessage(game.ScreenWidth - 255, BonusNames[BonusGunpower], startTime, duration);
}

int32_t ShowRocketCoverMessage(uint32_t startTime, int32_t duration) {
    return ShowTimedMessage(game.ScreenWidth - 130, BonusNames[BonusRocketCover], startTime,
                            duration);
}

int32_t ShowShieldMessage() {
    game.ShieldMessageCounter += 1;
    if (game.ShieldMessageCounter == 200) {
        game.ShieldMessageCounter = 0;
        return 0;
    }
    DrawBonusMessage(game.ScreenWidth - 350, BonusNames[BonusShield]);
    return 1;
}
