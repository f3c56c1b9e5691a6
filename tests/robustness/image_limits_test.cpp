// Pictures whose headers declare sizes no buffer can hold are refused at
// recognition, before anyone allocates for them; sizes near the limits of
// 32-bit arithmetic must not overflow on the way (found by fuzz_image: the
// check of width * height * 4 overflowed 64 bits for two 31-bit sizes).
#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "hostile_files.h"
#include "runtime/image/rt_image.h"

namespace {

class ImageLimits : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        rt_image_decoder_init();
        rt_bmp_decoder_register();
        rt_png_decoder_register();
    }
    static int32_t Recognise(const std::string& bytes) {
        return rt_image_recognise(bytes.data(), static_cast<int32_t>(bytes.size()));
    }
};

TEST_F(ImageLimits, SizesBeyondTwoGigabytesOfPixelsAreRefused) {
    EXPECT_EQ(Recognise(HugeBmp(INT32_MAX, INT32_MAX)), 0);
    EXPECT_EQ(Recognise(HugeBmp(INT32_MAX, -INT32_MAX)), 0);
    EXPECT_EQ(Recognise(HugeBmp(100000, 100000)), 0);
    EXPECT_EQ(Recognise(HugeBmp(65536, 8192)), 0);  // exactly 2^31 bytes of pixels
    // Nothing recognised: decoding answers 0 and touches no buffer.
    EXPECT_EQ(rt_image_decode(nullptr, 0, 0), 0);
}

}  // namespace
