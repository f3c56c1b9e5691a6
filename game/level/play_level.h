// SPDX-License-Identifier: GPL-3.0-or-later
// One level from its intro to its end screen: the level start, the frame
// loop, the pause, the won and lost screens and the level end.
#pragma once
#include <cstdint>
#include <functional>

// Plays `level` (1-based) and answers the level to play next: `level` again
// after a loss (R), `level` + 1 after a win (N), or -1 when that is above
// `levelCount`. Q on an end screen, "Close" and the close box end the program
// inside. `starField` belongs to the level from the call on and is freed at
// its end. The three flags are read every frame and set by the "Disable"
// items during play.
int32_t PlayLevel(int32_t window, int32_t menu, int32_t starField, int32_t level,
                  int32_t levelReached, int32_t& shipEnabled, int32_t& enemiesEnabled,
                  int32_t& rocketsEnabled, int32_t levelCount);

// Level start up to the intro: parameters, sounds and images, the enemies,
// bonuses, planets and moons, the star-field direction and the shield bar.
void StartLevel(int32_t level, const std::function<void()>& serveWindow = {});

// One pass of the frame loop, from clearing the back buffer to the flip: the
// loop runs it until the level is lost or won.
void RunOneFrame(int32_t window, int32_t menu, int32_t starField, int32_t& shipEnabled,
                 int32_t& enemiesEnabled, int32_t& rocketsEnabled);

// Frees what the level loaded and empties its lists. Shot and rocket
// explosions are kept: they go on fading in the next level.
void FreeLevel(int32_t starField);

// rt_random(max), negated when a second draw rt_random(1) gives 0.
int32_t RandomSigned(int32_t max);

// The overlays' jitter of one frame: RandomSigned(amplitude), 0 for a negative
// amplitude (the same draws are taken).
int32_t ShakeOffset(int32_t amplitude);

// Shows `intro` over the scrolling star field for `time` ms, then frees it.
// Window events are served as in play: the "Disable" items update the flags.
void ShowLevelIntro(int32_t intro, int32_t time, int32_t starField, int32_t& shipEnabled,
                    int32_t& enemiesEnabled, int32_t& rocketsEnabled);

// How a frame leaves the level: lost when the shield gave out (tested first,
// so a frame that also passes the goal is lost), won when the points are
// above the goal, else still running.
enum class LevelResult { Running, Lost, Won };
LevelResult CheckLevelEnd(int32_t lost, int32_t points, int32_t goalPoints);

// Where an end panel of this size is drawn on the screen.
int32_t PanelX(int32_t panelWidth);
int32_t PanelY(int32_t panelHeight);

// Testing facility: a function called once per pass of the frame loop, the
// pause loop and the end-screen loops, before the pass reads its input, so
// that a test can script the player. Not used by the game itself.
enum class LevelPhase { Playing, Paused, Lost, Won };
using LevelFrameHook = std::function<void(LevelPhase phase, int64_t frame)>;
void SetLevelFrameHook(LevelFrameHook hook);
