// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a picture file that was loaded before shares its decoded pixels.
// What a load gives must not show it: the flags still decide the alpha, a
// sprite's changes stay its own, a changed file is decoded afresh and the
// decoder reports the file just loaded.
#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "tests/screen/screen_fixture.h"

using namespace screen_test;

namespace {

class DecodedCacheTest : public ScreenTest {
  protected:
    QTemporaryDir dir;

    std::string save(const QString& name, const QImage& image) {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path.toStdString();
    }
    // The first row of a sprite as drawn keyed over blue.
    std::vector<uint32_t> drawn(int32_t sprite) {
        rt_screen_clear(kBlue);
        rt_sprite_draw_keyed(sprite, 0, 0);
        std::vector<uint32_t> row;
        for (int32_t x = 0; x < rt_sprite_width(sprite); ++x) row.push_back(pixel(x, 0));
        return row;
    }
};

QImage soft_picture(QRgb last) {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 0, 255));
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(255, 255, 255, 128));
    image.setPixel(2, 0, last);
    return image;
}

TEST_F(DecodedCacheTest, FlagsDecideTheAlphaAndChangesStayWithTheirSprite) {
    const std::string path = save("Enemy.png", soft_picture(qRgba(0, 0, 0, 255)));
    const int32_t keyed = rt_sprite_load(-1, path.c_str());
    const int32_t soft = rt_sprite_load_flags(-1, path.c_str(), 12);
    const int32_t keyed_again = rt_sprite_load(-1, path.c_str());
    const int32_t soft_again = rt_sprite_load_flags(-1, path.c_str(), 12);
    ASSERT_TRUE(keyed && soft && keyed_again && soft_again);
    const std::vector<uint32_t> keyed_row{kRed, kWhite, kBlue};
    EXPECT_EQ(drawn(keyed), keyed_row);
    EXPECT_EQ(drawn(keyed_again), keyed_row);
    const std::vector<uint32_t> soft_row = drawn(soft);
    EXPECT_EQ(drawn(soft_again), soft_row);
    EXPECT_NEAR(blue(soft_row[1]), 255, 1);  // half white over blue
    EXPECT_NEAR(red(soft_row[1]), 128, 1);
    EXPECT_EQ(std::pair(soft_row[2], rt_sprite_flags(soft_again)),
              std::pair(0u, 12));  // opaque black

    // Painting one loaded sprite leaves the others and later loads alone.
    ASSERT_EQ(rt_draw_start(rt_sprite_output(keyed)), 1);
    rt_draw_box(0, 0, 3, 2, kGreen);
    rt_draw_stop();
    EXPECT_EQ(drawn(keyed), (std::vector<uint32_t>{kGreen, kGreen, kGreen}));
    EXPECT_EQ(drawn(keyed_again), keyed_row);
    const int32_t third = rt_sprite_load(-1, path.c_str());
    EXPECT_EQ(drawn(third), keyed_row);
    for (int32_t s : {keyed, soft, keyed_again, soft_again, third}) rt_sprite_free(s);
}

TEST_F(DecodedCacheTest, AChangedOrReplacedFileIsDecodedAfresh) {
    const std::string path = save("planet.png", soft_picture(qRgba(0, 0, 0, 255)));
    const int32_t first = rt_sprite_load(-1, path.c_str());
    ASSERT_NE(first, 0);
    EXPECT_EQ(drawn(first)[2], kBlue);

    // Rewritten in place with its old modification time put back: the
    // change time still tells the versions apart.
    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    ASSERT_TRUE(soft_picture(qRgba(0, 255, 0, 255)).save(QString::fromStdString(path), "PNG"));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    const int32_t second = rt_sprite_load(-1, path.c_str());
    EXPECT_EQ(drawn(second)[2], kGreen);

    // Replaced by another file of another size.
    QImage wide(5, 1, QImage::Format_RGB888);
    wide.fill(qRgb(0, 0, 255));
    const std::string other = save("other.png", wide);
    ASSERT_EQ(std::rename(other.c_str(), path.c_str()), 0);
    const int32_t third = rt_sprite_load(-1, path.c_str());
    EXPECT_EQ(rt_sprite_width(third), 5);
    EXPECT_EQ(drawn(third)[4], 0xFF0000u);

    // Gone: nothing is loaded from what was kept.
    ASSERT_TRUE(QFile::remove(QString::fromStdString(path)));
    EXPECT_EQ(rt_sprite_load(-1, path.c_str()), 0);
    for (int32_t s : {first, second, third}) rt_sprite_free(s);
}

TEST_F(DecodedCacheTest, TheDecoderReportsTheFileJustLoaded) {
    const std::string path = save("Feind.png", soft_picture(qRgba(0, 0, 0, 255)));
    const int32_t first = rt_sprite_load(-1, path.c_str());
    QImage rgb(7, 5, QImage::Format_RGB888);
    rgb.fill(qRgb(1, 2, 3));
    const int32_t other = load_png(rgb, 0);
    EXPECT_EQ(std::pair(rt_image_width(), rt_image_depth()), std::pair(7, 24));
    const int32_t again = rt_sprite_load(-1, path.c_str());
    ASSERT_NE(again, 0);
    EXPECT_EQ(std::tuple(rt_image_width(), rt_image_height(), rt_image_depth()),
              std::tuple(3, 2, 32));
    // The state is released as after a decode: nothing is left to decode.
    uint8_t buffer[64];
    EXPECT_EQ(rt_image_decode(buffer, 16, 0), 0);
    for (int32_t s : {first, other, again}) rt_sprite_free(s);
}

}  // namespace
