// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/level/text_screens.h"

#include <algorithm>
#include <vector>

#include "game/core/game_state.h"
#include "game/core/runtime_text.h"
#include "game/play/star_field.h"
#include "game/window/main_window.h"
#include "runtime/runtime.h"

namespace {

struct TextLine {
    int32_t X, Y;
    std::string Text;
    uint32_t Colour;
};

// Draws one block of lines in Georgia of the given size into the sprite. The
// font lives only for the block. Text cells are opaque black, which is the
// sprite's transparent colour, so only the letters show when drawn keyed.
void DrawTextBlock(int32_t sprite, int32_t points, std::initializer_list<TextLine> lines) {
    rt_draw_start(rt_sprite_output(sprite));
    rt_draw_mode(0);
    const int32_t font = rt_font_load(-1, "Georgia", points, RT_FONT_QUALITY);
    rt_draw_font(rt_font_handle(font));
    for (const TextLine& line : lines) rt_draw_text(line.X, line.Y, line.Text.c_str(), line.Colour);
    rt_draw_stop();
    rt_font_free(font);
}

// ---- End panels: as wide as their longest line ----

struct TextBlock {
    int32_t Points;  // size of the block's Georgia
    std::vector<TextLine> Lines;
};

// Draws the blocks into a new sprite of at least width x height, widened to
// the longest line so that no line is cut, whatever its numbers. Each font is
// loaded once, for measuring (in a pass on the screen, before the sprite
// exists) and for drawing alike, so a panel takes as many handles as it always
// did and the handles of everything made after it stay the same.
int32_t MakeEndPanel(int32_t width, int32_t height, const std::vector<TextBlock>& blocks) {
    std::vector<int32_t> fonts;
    for (const TextBlock& block : blocks) {
        fonts.push_back(rt_font_load(-1, "Georgia", block.Points, RT_FONT_QUALITY));
    }
    rt_draw_start(rt_screen_output());
    for (size_t i = 0; i < blocks.size(); ++i) {
        rt_draw_font(rt_font_handle(fonts[i]));
        for (const TextLine& line : blocks[i].Lines) {
            width = std::max(width, line.X + rt_draw_text_width(line.Text.c_str()));
        }
    }
    rt_draw_stop();
    const int32_t panel = rt_sprite_create(-1, width, height);
    rt_draw_start(rt_sprite_output(panel));
    rt_draw_mode(0);
    for (size_t i = 0; i < blocks.size(); ++i) {
        rt_draw_font(rt_font_handle(fonts[i]));
        for (const TextLine& line : blocks[i].Lines) {
            rt_draw_text(line.X, line.Y, line.Text.c_str(), line.Colour);
        }
    }
    rt_draw_stop();
    for (int32_t font : fonts) rt_font_free(font);
    return panel;
}

// The statistics block shared by the won and lost panels, with the best
// score as the panel's last line, in the same font (a font of its own would
// take an object handle more, and the recorded state holds the handles).
TextBlock Statistics(int32_t points, int32_t gunShots, int32_t gunHits, int32_t rocketShots,
                     int32_t rocketHits, int32_t enemiesDestroyed, const std::string& bestScore) {
    return {12,
            {{0, 120, PointsLine(points), StatsColour},
             {0, 140, GunShotsLine(gunShots, gunHits), StatsColour},
             {0, 160, RocketShotsLine(rocketShots, rocketHits), StatsColour},
             {0, 180, EnemiesDestroyedLine(enemiesDestroyed), StatsColour},
             {0, 270, bestScore, StatsColour}}};
}

// ---- End of the end panels' helpers ----

}  // namespace

std::string HitRateText(int32_t gunShots, int32_t gunHits) {
    const float rate =
        gunShots == 0 ? 0.0f : static_cast<float>(gunHits) * 100.0f / static_cast<float>(gunShots);
    return TakeRuntimeText([&](int32_t at) { rt_str_from_float(rate, 2, at); });
}

std::string PointsLine(int32_t points) {
    return "Points: " + NumberText(points);
}

std::string GunShotsLine(int32_t gunShots, int32_t gunHits) {
    return "Gun shots: " + NumberText(gunShots) + "   Hits: " + NumberText(gunHits) +
           "   Hit rate: " + HitRateText(gunShots, gunHits) + "%";
}

std::string RocketShotsLine(int32_t rocketShots, int32_t rocketHits) {
    return "Rocket shots: " + NumberText(rocketShots) + "   Hits: " + NumberText(rocketHits);
}

std::string EnemiesDestroyedLine(int32_t enemiesDestroyed) {
    return "Enemys destroyed: " + NumberText(enemiesDestroyed);
}

int32_t MakeSkipLabel(int32_t width, int32_t height) {
    const int32_t label = rt_sprite_create(-1, width, height);
    DrawTextBlock(label, 15, {{50, 50, "Skip", HeadlineColour}});
    return label;
}

int32_t MakeStoryPage() {
    const int32_t page = rt_sprite_create_flags(-1, 700, 600, RT_SPRITE_TEXTURE);
    DrawTextBlock(page, 20,
                  {{50, 0, "There is a lovely princess with golden hair ...", HeadlineColour},
                   {50, 50, "And you also can identify her front with ease ...", HeadlineColour},
                   {50, 100, "She is in danger - may be you can save her ...", HeadlineColour},
                   {50, 250, "But this is an other story.", StoryColour},
                   {50, 300, "Your are an outpost far away somewhere in the space.", StoryColour},
                   {50, 350, "Ugly little enemys are attacking.", StoryColour},
                   {50, 400, "Just kill them!", StoryColour}});
    DrawTextBlock(page, 14,
                  {{50, 480, "Move: Mouse   Gun: space   Rotate: a/d   Pause: p ", StoryColour}});
    return page;
}

int32_t MakeLevelIntro(int32_t level, int32_t goalPoints, int32_t width, int32_t height) {
    const int32_t intro = rt_sprite_create(-1, width, height);
    DrawTextBlock(intro, 50, {{0, 50, "Level " + NumberText(level), HeadlineColour}});
    DrawTextBlock(intro, 20,
                  {{0, 150, "Goal: " + NumberText(goalPoints) + " points", PromptColour}});
    return intro;
}

int32_t MakeWonScreen(int32_t width, int32_t height, int32_t nextLevel, int32_t points,
                      int32_t gunShots, int32_t gunHits, int32_t rocketShots, int32_t rocketHits,
                      int32_t enemiesDestroyed, const std::string& bestScore) {
    return MakeEndPanel(
        width, height,
        {{50, {{0, 40, "You got it!", HeadlineColour}}},
         Statistics(points, gunShots, gunHits, rocketShots, rocketHits, enemiesDestroyed,
                    bestScore),
         {15,
          {{0, 210, "For level no. " + NumberText(nextLevel) + " press 'n'", PromptColour},
           {0, 241, "To quit press 'q'", QuitColour}}}});
}

int32_t MakeLostScreen(int32_t width, int32_t height, int32_t points, int32_t gunShots,
                       int32_t gunHits, int32_t rocketShots, int32_t rocketHits,
                       int32_t enemiesDestroyed, const std::string& bestScore) {
    return MakeEndPanel(width, height,
                        {{50, {{0, 40, "You lost!", HeadlineColour}}},
                         Statistics(points, gunShots, gunHits, rocketShots, rocketHits,
                                    enemiesDestroyed, bestScore),
                         {15,
                          {{0, 210, "To retry this level press 'r'", PromptColour},
                           {0, 240, "To quit press 'q'", QuitColour}}}});
}

int32_t MakeNoMoreLevelsBanner() {
    const int32_t banner = rt_sprite_create(-1, 600, 200);
    DrawTextBlock(banner, 50, {{0, 50, "No more level left", HeadlineColour}});
    return banner;
}

// The pointer resting on "Skip", Esc, Space or Enter down, or a click in the
// window (`event`, the window event of the frame) ends the story.
static bool StorySkipped(int32_t event) {
    // A pointer off the screen reads as -1 and never skips; screen
    // coordinates keep the corner under the label on a stretched screen.
    const bool onLabel =
        rt_screen_mouse_x() > game.ScreenWidth - 80 && rt_screen_mouse_y() > game.ScreenHeight - 80;
    const bool click = event == RT_EVENT_LBUTTONDOWN || event == RT_EVENT_LBUTTONUP ||
                       event == RT_EVENT_RBUTTONDOWN || event == RT_EVENT_RBUTTONUP;
    return onLabel || click || rt_key_down(RT_KEY_ESCAPE) || rt_key_down(RT_KEY_SPACE) ||
           rt_key_down(RT_KEY_ENTER);
}

int32_t ShowStory(int32_t storyPage, int32_t skipLabel, int32_t starField, int32_t window,
                  int32_t menu) {
    constexpr int32_t kEnd = -500;  // the page's top this far above the screen
    const int32_t x = (game.ScreenWidth - rt_sprite_width(storyPage)) / 2;
    int32_t y = game.ScreenHeight;
    const int32_t direction = rt_random(1);
    do {
        const int32_t event = PumpEvents(window, menu);
        rt_delay(10);
        y -= 1;
        rt_screen_clear(0);
        ScrollStarField(starField, direction);
        rt_sprite_draw_keyed(storyPage, x, y);
        rt_sprite_draw_keyed(skipLabel, game.ScreenWidth - 100, game.ScreenHeight - 100);
        rt_screen_flip();
        if (StorySkipped(event)) y = kEnd;
    } while (y != kEnd);
    rt_sprite_free(storyPage);
    rt_sprite_free(skipLabel);
    return 0;
}

int32_t ShowFinalBanner(int32_t banner) {
    constexpr uint32_t kShowTime = 1500;
    const uint32_t start = rt_ms_elapsed();
    uint32_t now = start;
    do {
        rt_delay(10);
        rt_screen_clear(0);
        rt_sprite_draw(banner, 250, 250);
        now = rt_ms_elapsed();
        rt_screen_flip();
    } while (now - start < kShowTime);
    return 0;
}

// ---- The pause label ----

// Runtime texts are Windows-1252, where 0x96 is the en dash.
static constexpr char kPauseLabel[] = "Paused \x96 press P";

void DrawPauseLabel() {
    constexpr int32_t kMargin = 6;
    rt_draw_start(rt_screen_output());
    rt_draw_font(-1);
    const int32_t width = rt_draw_text_width(kPauseLabel) + 2 * kMargin;
    const int32_t height = rt_draw_text_height(kPauseLabel) + 2 * kMargin;
    const int32_t x = (game.ScreenWidth - width) / 2;
    const int32_t y = (game.ScreenHeight - height) / 2;
    rt_draw_box(x, y, width, height, PauseLabelColour);
    rt_draw_text_colours(x + kMargin, y + kMargin, kPauseLabel, 0xFFFFFF, PauseLabelColour);
    rt_draw_stop();
}
