// SPDX-License-Identifier: GPL-3.0-or-later
// A heavy scene of the game, built through the game's own code on the asset
// pack, and the same frame's drawing done with plain QPainter calls.
#pragma once
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// Copies the asset pack into a scratch directory (with moons added so that
// three planets carry two moons each), makes it the working directory and
// starts the program as the game does, seeded. Runs once per process.
void StartGameOnAssetPack();

// Starts level 1 afresh, from the same seeds whatever ran before, and adds
// to it until it holds 20 enemies with shields, 40 shots, 20 rockets, 3
// planets with 2 moons each, 15 explosions, an active bonus with its message
// and the shield bar.
void BuildHeavyScene();

// Tops the scene up after a frame (shots and rockets that left, explosions
// that faded, objects that drifted away), so every frame costs the same.
void KeepSceneHeavy();

// Frees the level again (the scene's star field included).
void TearDownScene();

// One frame of the frame loop on the scene.
void RunGameFrame();

// Sprites and texts drawn on the screen since the program started (the
// benchmark wraps the runtime's draw calls to count them).
int64_t ScreenDraws();

// A frame's drawing as a list of plain QPainter operations on copies of the
// same images at the same places.
struct PlainDraw {
    enum Kind { Opaque, Keyed, Alpha, Rotated, Text } kind;
    int image;  // index into PlainFrame::images; -1 for text
    int x, y;
    int opacity;     // 0..255
    double degrees;  // Rotated only
    std::string text;
};

struct PlainFrame {
    std::vector<QImage> images;
    std::vector<PlainDraw> draws;
    int hudImage = -1;
};

// The draws of the next frame of the game's own loop, recorded as the
// runtime receives them; on a freshly built scene, the same frame every time.
PlainFrame CapturePlainFrame();

// Draws the captured frame into `target` with plain QPainter calls, then
// shows it as a flip would (one copy into `shown`). `frame` counts the calls,
// so the shield bar is redrawn every 20th frame as the game does.
void DrawPlainFrame(PlainFrame& frame, QImage& target, QImage& shown, int64_t frameNumber);

}  // namespace bench
