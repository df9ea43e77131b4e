// Picture decoding: files pulled through the callback in blocks, decoded
// from their content, and garbage or oversized pictures refused.
#include <gtest/gtest.h>
#include <turbojpeg.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/image.h"
#include "platform/pixels.h"
#include "tests/support/files.h"

namespace qv {
namespace {

using namespace platform;

struct Source {
    std::vector<uint8_t> bytes;
    size_t position = 0;
    int calls = 0;
    uint32_t largestRequest = 0;
    int failAtCall = -1;  // gives -1 at this call
};

int32_t ReadSource(void* context, uint8_t* buffer, uint32_t size) {
    auto* source = static_cast<Source*>(context);
    ++source->calls;
    source->largestRequest = std::max(source->largestRequest, size);
    if (source->calls == source->failAtCall) {
        return -1;
    }
    size_t count = std::min<size_t>(size, source->bytes.size() - source->position);
    if (count > 0) std::memcpy(buffer, source->bytes.data() + source->position, count);
    source->position += count;
    return static_cast<int32_t>(count);
}

std::vector<uint8_t> Gradient(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            p[0] = static_cast<uint8_t>(x);
            p[1] = static_cast<uint8_t>(y);
            p[2] = static_cast<uint8_t>(x ^ y);
        }
    }
    return rgb;
}

// A 24-bit BMP, bottom-up rows padded to 4 bytes, written by hand.
std::vector<uint8_t> Bmp(int width, int height, const std::vector<uint8_t>& rgb) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const uint32_t dataSize = static_cast<uint32_t>(stride * height);
    std::vector<uint8_t> out;
    auto put16 = [&](uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); };
    auto put32 = [&](uint32_t v) { put16(v & 0xFFFF); put16(v >> 16); };
    out.push_back('B');
    out.push_back('M');
    put32(54 + dataSize);
    put32(0);
    put32(54);
    put32(40);
    put32(static_cast<uint32_t>(width));
    put32(static_cast<uint32_t>(height));
    put16(1);
    put16(24);
    put32(0);
    put32(dataSize);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const uint8_t* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            out.push_back(p[2]);
            out.push_back(p[1]);
            out.push_back(p[0]);
        }
        for (int pad = width * 3; pad < stride; ++pad) out.push_back(0);
    }
    return out;
}

TEST(Image, PngIsReadInBlocksAndDecodedExactly) {
    const std::vector<uint8_t> rgb = Gradient(200, 90);
    Source source{EncodePng(200, 90, rgb.data())};
    ASSERT_FALSE(source.bytes.empty());
    // Make it span several blocks whatever the compression did.
    while (source.bytes.size() <= 2 * kImageBlockSize) {
        source.bytes.insert(source.bytes.end(), 4096, 0);  // trailing bytes after IEND are ignored
    }
    Bitmap24 bitmap;
    ASSERT_TRUE(DecompressImage(ReadSource, &source, &bitmap));
    EXPECT_EQ(bitmap.width, 200);
    EXPECT_EQ(bitmap.height, 90);
    EXPECT_EQ(bitmap.rgb, rgb);
    EXPECT_EQ(source.position, source.bytes.size()) << "the whole file was read";
    EXPECT_EQ(source.largestRequest, kImageBlockSize);
    EXPECT_GE(source.calls, 3);
}

// A JPEG of the picture, every channel at full resolution.
std::vector<uint8_t> Jpeg(int width, int height, const std::vector<uint8_t>& rgb, int quality = 100) {
    tjhandle encoder = tjInitCompress();
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> out;
    if (tjCompress2(encoder, rgb.data(), width, width * 3, height, TJPF_RGB, &bytes, &size, TJSAMP_444, quality,
                    TJFLAG_ACCURATEDCT) == 0) {
        out.assign(bytes, bytes + size);
    }
    tjFree(bytes);
    tjDestroy(encoder);
    return out;
}

// PNG and JPEG, whatever the file's name says; every other format is
// refused like a damaged file.
TEST(Image, PngAndJpegAreDecodedAndOtherFormatsRefused) {
    // Smooth, so that the JPEG keeps it within a step or two.
    std::vector<uint8_t> rgb(static_cast<size_t>(24) * 16 * 3);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 24; ++x) {
            uint8_t* p = &rgb[(static_cast<size_t>(y) * 24 + x) * 3];
            p[0] = static_cast<uint8_t>(200 - 4 * x);
            p[1] = static_cast<uint8_t>(40 + 3 * y);
            p[2] = static_cast<uint8_t>(90 + x + y);
        }
    }
    Source jpeg{Jpeg(24, 16, rgb)};
    ASSERT_FALSE(jpeg.bytes.empty());
    Bitmap24 bitmap;
    ASSERT_TRUE(DecompressImage(ReadSource, &jpeg, &bitmap));
    EXPECT_EQ(bitmap.width, 24);
    EXPECT_EQ(bitmap.height, 16);
    ASSERT_EQ(bitmap.rgb.size(), rgb.size());
    int worst = 0;
    for (size_t i = 0; i < rgb.size(); ++i) worst = std::max(worst, std::abs(bitmap.rgb[i] - rgb[i]));
    EXPECT_LE(worst, 3) << "rows top to bottom, red first";

    // A JPEG cut short is refused rather than shown half grey.
    Source cut{std::vector<uint8_t>(jpeg.bytes.begin(), jpeg.bytes.end() - 40)};
    EXPECT_FALSE(DecompressImage(ReadSource, &cut, &bitmap));
    EXPECT_TRUE(bitmap.rgb.empty());

    const std::vector<uint8_t> gradient = Gradient(7, 5);
    Source bmp{Bmp(7, 5, gradient)};
    EXPECT_FALSE(DecompressImage(ReadSource, &bmp, &bitmap)) << "a BMP is no picture format of the game";
    EXPECT_EQ(bitmap.width, 0);
    Source gif{
        {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 'D', 1, 0, ';'}};
    EXPECT_FALSE(DecompressImage(ReadSource, &gif, &bitmap));
}

TEST(Image, GarbageTruncatedFailingAndOversizedFilesAreRefused) {
    Bitmap24 bitmap;
    Source empty;
    EXPECT_FALSE(DecompressImage(ReadSource, &empty, &bitmap));

    Source garbage;
    for (int i = 0; i < 10000; ++i) garbage.bytes.push_back(static_cast<uint8_t>(i * 7919 >> 3));
    EXPECT_FALSE(DecompressImage(ReadSource, &garbage, &bitmap));

    const std::vector<uint8_t> rgb = Gradient(64, 64);
    std::vector<uint8_t> png = EncodePng(64, 64, rgb.data());
    for (size_t cut : {size_t{8}, size_t{33}, png.size() / 2, png.size() - 13}) {
        Source truncated{std::vector<uint8_t>(png.begin(), png.begin() + static_cast<long>(cut))};
        EXPECT_FALSE(DecompressImage(ReadSource, &truncated, &bitmap)) << "cut at " << cut;
        EXPECT_EQ(bitmap.width, 0);
        EXPECT_TRUE(bitmap.rgb.empty());
    }

    Source failing{png};
    failing.failAtCall = 1;
    EXPECT_FALSE(DecompressImage(ReadSource, &failing, &bitmap)) << "a read error is a failure";

    const std::vector<uint8_t> wide = Gradient(801, 2);
    Source tooWide{EncodePng(801, 2, wide.data())};
    EXPECT_FALSE(DecompressImage(ReadSource, &tooWide, &bitmap));
    const std::vector<uint8_t> tall = Gradient(2, 601);
    Source tooTall{Jpeg(2, 601, tall)};
    ASSERT_FALSE(tooTall.bytes.empty());
    EXPECT_FALSE(DecompressImage(ReadSource, &tooTall, &bitmap));
    const std::vector<uint8_t> largest = Gradient(800, 600);
    Source fits{EncodePng(800, 600, largest.data())};
    EXPECT_TRUE(DecompressImage(ReadSource, &fits, &bitmap));
}

// Empty IDAT chunks once made the decoder copy to a null pointer, which stops
// the sanitizer build: they are harmless now, and decode as they should.
TEST(Image, EmptyDataChunksAreHarmless) {
    // The file found by fuzzing: two option bytes of its fuzzer, then a PNG
    // header and an empty IDAT at the very end.
    const std::vector<uint8_t> found =
        test::ReadBytes(std::string(QV_SOURCE_DIR) + "/tests/data/repro/picture-stb-nonnull-idat.min");
    ASSERT_EQ(found.size(), 43u);
    Source cut{std::vector<uint8_t>(found.begin() + 2, found.end())};
    Bitmap24 bitmap;
    EXPECT_FALSE(DecompressImage(ReadSource, &cut, &bitmap));

    // A whole picture with two empty IDAT chunks ahead of its data.
    const std::vector<uint8_t> rgb = Gradient(40, 30);
    std::vector<uint8_t> png = EncodePng(40, 30, rgb.data());
    const uint8_t emptyIdat[12] = {0, 0, 0, 0, 'I', 'D', 'A', 'T', 0x35, 0xAF, 0x06, 0x1E};
    size_t idat = 8;
    while (std::memcmp(&png[idat + 4], "IDAT", 4) != 0) {
        idat += 12 + (png[idat] << 24 | png[idat + 1] << 16 | png[idat + 2] << 8 | png[idat + 3]);
    }
    png.insert(png.begin() + static_cast<long>(idat), emptyIdat, emptyIdat + 12);
    png.insert(png.begin() + static_cast<long>(idat), emptyIdat, emptyIdat + 12);
    Source padded{png};
    ASSERT_TRUE(DecompressImage(ReadSource, &padded, &bitmap));
    EXPECT_EQ(bitmap.rgb, rgb);
}

// The peak of this process's address space, in kB (0 when unknown).
long PeakVirtualKb() {
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word) {
        if (word == "VmPeak:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    }
    return 0;
}

// A PNG of a thousand bytes whose second IDAT claims two gigabytes once made the
// decoder reserve them before it found the data missing.
TEST(Image, ChunkClaimingMoreThanTheFileHoldsIsRefusedUpFront) {
    const std::vector<uint8_t> found =
        test::ReadBytes(std::string(QV_SOURCE_DIR) + "/tests/data/repro/picture-idat-length-past-end.min");
    ASSERT_GT(found.size(), 1000u);
    Source source{std::vector<uint8_t>(found.begin() + 2, found.end())};
    Bitmap24 bitmap;
    const long before = PeakVirtualKb();
    EXPECT_FALSE(DecompressImage(ReadSource, &source, &bitmap));
    EXPECT_LT(PeakVirtualKb() - before, 512L * 1024) << "the decoder reserved the claimed size";

    // The same cut anywhere inside its chunks is refused as well; a picture
    // whose last CRC is cut off still decodes.
    const std::vector<uint8_t> rgb = Gradient(16, 16);
    std::vector<uint8_t> png = EncodePng(16, 16, rgb.data());
    Source noCrc{std::vector<uint8_t>(png.begin(), png.end() - 4)};
    EXPECT_TRUE(DecompressImage(ReadSource, &noCrc, &bitmap));
    for (size_t cut = 9; cut + 12 < png.size(); cut += 7) {
        Source cutShort{std::vector<uint8_t>(png.begin(), png.begin() + static_cast<long>(cut))};
        EXPECT_FALSE(DecompressImage(ReadSource, &cutShort, &bitmap)) << cut;
    }
}

// An 18-byte file whose Huffman table counts more than 256 codes: the JPEG
// reader before this one wrote past the end of its code-length table while
// it only looked for the picture's size. As the game meets it (in place of a
// picture, its first marker behind two fill bytes) and as the picture fuzz
// target stores it (two option bytes ahead of the file), it is refused, and
// so is the same table in a well-formed start of a JPEG.
TEST(Image, JpegHuffmanTableCountingTooManyCodesIsRefused) {
    const std::vector<uint8_t> found =
        test::ReadBytes(std::string(QV_SOURCE_DIR) + "/tests/data/repro/picture-stb-jpeg-dht-over-256.QVJ");
    ASSERT_EQ(found.size(), 18u);
    Bitmap24 bitmap;
    Source whole{found};
    EXPECT_FALSE(DecompressImage(ReadSource, &whole, &bitmap));
    Source cut{std::vector<uint8_t>(found.begin() + 2, found.end())};
    EXPECT_FALSE(DecompressImage(ReadSource, &cut, &bitmap));
    EXPECT_TRUE(bitmap.rgb.empty());

    // SOI, then a DHT whose sixteen counts add up to 16 x 255.
    std::vector<uint8_t> table = {0xFF, 0xD8, 0xFF, 0xC4, 0x10, 0x03, 0x00};
    table.insert(table.end(), 16, 0xFF);
    table.insert(table.end(), 4080, 0x01);
    table.insert(table.end(), {0xFF, 0xD9});
    Source full{table};
    EXPECT_FALSE(DecompressImage(ReadSource, &full, &bitmap));
}

}  // namespace
}  // namespace qv
