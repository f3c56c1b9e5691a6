// SPDX-License-Identifier: GPL-3.0-or-later
// The messages of the bonuses along the bottom row of the screen.
#pragma once
#include <cstdint>

// Bonus messages, drawn on the back buffer once per frame while the bonus
// runs. The two timed ones draw nothing and answer 0 when startTime is 0, else
// answer 1 once `duration` ms have passed since startTime (rt_ms_elapsed).
int32_t ShowGunpowerMessage(uint32_t startTime, int32_t duration);
int32_t ShowRocketCoverMessage(uint32_t startTime, int32_t duration);
// 1 on 199 consecutive calls, then 0 once (nothing drawn), and so on.
int32_t ShowShieldMessage();
