// SPDX-License-Identifier: GPL-3.0-or-later
// Internal (C++ only): the drawing image table behind the image operations of
// a drawing pass (grab, draw, draw sized, draw with opacity).
#pragma once
#include <QImage>
#include <cstdint>

namespace rt::images {

// The image of a handle or slot number, or null for one that names no image.
const QImage* find(int32_t id);

// Keeps the image under the id (-1: a new handle); whatever lived under a
// numbered id is freed first. Answers the handle or number, 0 when the id is
// refused or the table has no room.
int32_t store(int32_t id, QImage image);

}  // namespace rt::images
