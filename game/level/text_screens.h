// SPDX-License-Identifier: GPL-3.0-or-later
// The text sprites of the story, the level intro, the end panels and the
// closing banner, and the story and banner loops.
#pragma once
#include <cstdint>
#include <string>

inline constexpr uint32_t HeadlineColour = 0xCC6666;
inline constexpr uint32_t StoryColour = 0x32CD32;
inline constexpr uint32_t StatsColour = 0xFFF598;
inline constexpr uint32_t PromptColour = 0x4040FF;
inline constexpr uint32_t QuitColour = 0xB8B8B8;
inline constexpr uint32_t PauseLabelColour = 0x603030;  // behind the pause label

int32_t MakeSkipLabel(int32_t width, int32_t height);
int32_t MakeStoryPage();  // 700 x 600
int32_t MakeLevelIntro(int32_t level, int32_t goalPoints, int32_t width, int32_t height);
// The end panels are at least width x height, wider when a line needs it.
// The won and lost panels end with the line `bestScore` (the level's best
// score) below "To quit press 'q'"; EndPanelHeight is tall enough for it.
inline constexpr int32_t EndPanelHeight = 294;
int32_t MakeWonScreen(int32_t width, int32_t height, int32_t nextLevel, int32_t points,
                      int32_t gunShots, int32_t gunHits, int32_t rocketShots, int32_t rocketHits,
                      int32_t enemiesDestroyed, const std::string& bestScore);
int32_t MakeLostScreen(int32_t width, int32_t height, int32_t points, int32_t gunShots,
                       int32_t gunHits, int32_t rocketShots, int32_t rocketHits,
                       int32_t enemiesDestroyed, const std::string& bestScore);
int32_t MakeNoMoreLevelsBanner();  // 600 x 200

// Scrolls the story page up over the star field, one pixel per frame, until it
// is 500 pixels above the screen, the pointer rests on "Skip" (the bottom-
// right 80 x 80 corner), Esc, Space or Enter is down or the window is clicked.
// Frees both sprites. Returns 0.
int32_t ShowStory(int32_t storyPage, int32_t skipLabel, int32_t starField, int32_t window,
                  int32_t menu);

// Shows the banner for 1.5 seconds. Returns 0.
int32_t ShowFinalBanner(int32_t banner);

// The statistics lines of the won and lost panels.
std::string HitRateText(int32_t gunShots, int32_t gunHits);  // "41.67"
std::string PointsLine(int32_t points);
std::string GunShotsLine(int32_t gunShots, int32_t gunHits);
std::string RocketShotsLine(int32_t rocketShots, int32_t rocketHits);
std::string EnemiesDestroyedLine(int32_t enemiesDestroyed);

// "Paused – press P" on a small box in the middle of the screen, drawn over
// whatever the back buffer holds.
void DrawPauseLabel();
