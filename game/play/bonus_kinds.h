// SPDX-License-Identifier: GPL-3.0-or-later
// The three kinds of bonus item and what each gives, as its message says it.
#pragma once
#include <cstdint>
#include <iterator>

inline constexpr int32_t BonusShield = 0;
inline constexpr int32_t BonusGunpower = 1;
inline constexpr int32_t BonusRocketCover = 2;
inline constexpr int32_t BonusKinds = 3;

inline constexpr const char* BonusNames[] = {"Shield 100%", "Extra gunpower", "Extra rocket cover"};
static_assert(std::size(BonusNames) == BonusKinds);
