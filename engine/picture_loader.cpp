// The picture loader: decoding picture files and converting them to the display's format.
#include "engine/picture_loader.h"

#include <algorithm>
#include <cstddef>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/colour.h"
#include "engine/display.h"
#include "engine/draw_internal.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "platform/display.h"
#include "platform/files.h"

namespace qv {

Picture gCardIcons[6];
Picture gBlockedCellPicture;

namespace {

uint8_t WithGamma(int channel) {
    int value = channel + gGamma;
    return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value));
}

void AddCapped(uint8_t& channel, int amount) {
    int value = channel + amount;
    channel = static_cast<uint8_t>(value > 255 ? 255 : value);
}

using Packer = uint16_t (*)(uint8_t, uint8_t, uint8_t);

Packer PackerFor(int format) {
    switch (format) {
        case platform::kfDirect565: return PackRgb565;
        case platform::kfDirect555: return PackRgb555;
        case platform::kfDirect444: return PackRgb444;
        default: return nullptr;
    }
}

// The 24-bit source: memory row m (the bottom picture row comes first)
// starts at first + m * step, and each 3-byte pixel holds red and blue at
// these offsets, green between them.
struct SourceRows {
    uint8_t* first;
    ptrdiff_t step;
    int red;
    int blue;
    uint8_t* Row(int m) const { return first + m * step; }
};

// A device-independent bitmap: rows bottom-up, stride bytes apart, blue first.
SourceRows BitmapRows(int stride, uint8_t* bits) { return {bits, stride, 2, 0}; }

// Each 8-bit channel value's field in the packed pixel, Gamma and clamp
// included: a pixel is the OR of its three channels' entries, as packing
// puts every channel into a field of its own. Made again only when the
// format or the Gamma changes.
struct PackTables {
    uint16_t red[256];
    uint16_t green[256];
    uint16_t blue[256];
};

const PackTables& TablesFor(Packer pack) {
    static PackTables tables;
    static Packer madeFor = nullptr;
    static int gammaOf = 0;
    if (madeFor != pack || gammaOf != gGamma) {
        for (int v = 0; v < 256; ++v) {
            const uint8_t c = WithGamma(v);
            tables.red[v] = pack(c, 0, 0);
            tables.green[v] = pack(0, c, 0);
            tables.blue[v] = pack(0, 0, c);
        }
        madeFor = pack;
        gammaOf = gGamma;
    }
    return tables;
}

// Memory row m fills picture row height - 1 - m.
void ConvertPlain(const SourceRows& source, uint16_t* pixels, int height, int width, Packer pack) {
    const PackTables& t = TablesFor(pack);
    for (int m = 0; m < height; ++m) {
        const uint8_t* p = source.Row(m);
        uint16_t* target = pixels + static_cast<size_t>(height - 1 - m) * width;
        for (int i = 0; i < width; ++i, p += 3) {
            target[i] = static_cast<uint16_t>(t.red[p[source.red]] | t.green[p[1]] | t.blue[p[source.blue]]);
        }
    }
}

bool IsBlack(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }

// Error diffusion of the four bits that 4-4-4 drops: half to the next pixel of
// the memory row, a quarter each to the same and the next pixel of the next
// memory row. A pixel that was pure black in the file still passes its error
// on but always becomes exactly the transparent key, which the error it
// received could otherwise lift by one step at a Gamma that is not a
// multiple of 16.
void ConvertDithered444(const SourceRows& source, uint16_t* pixels, int height, int width) {
    const uint16_t key = ConvertRgbPixel(0, 0, 0);
    // Whether each pixel of a row was black before error reached the row.
    std::vector<uint8_t> blackNow(static_cast<size_t>(width));
    std::vector<uint8_t> blackNext(static_cast<size_t>(width));
    for (int i = 0; i < width; ++i) blackNow[i] = IsBlack(source.Row(0) + 3 * i);
    for (int m = 0; m < height; ++m) {
        uint8_t* row = source.Row(m);
        uint8_t* below = m + 1 < height ? source.Row(m + 1) : nullptr;
        if (below != nullptr) {
            for (int i = 0; i < width; ++i) blackNext[i] = IsBlack(below + 3 * i);
        }
        uint16_t* target = pixels + static_cast<size_t>(height - 1 - m) * width;
        for (int i = 0; i < width; ++i) {
            uint8_t* p = row + 3 * i;
            uint8_t v[3] = {WithGamma(p[0]), WithGamma(p[1]), WithGamma(p[2])};
            target[i] = blackNow[i] ? key : PackRgb444(v[source.red], v[1], v[source.blue]);
            for (int c = 0; c < 3; ++c) {
                int error = v[c] & 15;
                if (i + 1 < width) AddCapped(p[3 + c], error >> 1);
                if (below != nullptr) {
                    AddCapped(below[3 * i + c], error >> 2);
                    if (i + 1 < width) AddCapped(below[3 * (i + 1) + c], error >> 2);
                }
            }
        }
        blackNow.swap(blackNext);
    }
}

// The conversion of gPixelFormat; an unknown format leaves every pixel 0.
void Convert(const SourceRows& source, uint16_t* pixels, int height, int width, bool dither) {
    const Packer pack = PackerFor(gPixelFormat);
    if (pack == nullptr) {
        std::fill(pixels, pixels + static_cast<size_t>(width) * height, uint16_t{0});
    } else if (dither && gPixelFormat == platform::kfDirect444) {
        ConvertDithered444(source, pixels, height, width);
    } else {
        ConvertPlain(source, pixels, height, width, pack);
    }
}

// Converted pictures, kept while their file's bytes, the dither flag, the
// pixel format and the Gamma stay the same: a picture drawn again and again
// (a card face at every redraw) is decoded once. The file is still read
// every time, so a changed file is decoded afresh. Only pictures of up to
// 64 kB are kept (the large ones are loaded once and held by their screen)
// and 1 MB in all: the least recently used go first.
constexpr size_t kCacheBudgetBytes = 1024u * 1024u;
constexpr size_t kLargestCachedBytes = 64u * 1024u;

struct CachedPicture {
    std::vector<uint8_t> file;
    bool dither = false;
    int32_t format = 0;
    int gamma = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    std::vector<uint16_t> pixels;
    uint64_t lastUse = 0;

    size_t Bytes() const { return file.size() + pixels.size() * sizeof(uint16_t); }
};

struct PictureCache {
    std::unordered_map<WString, CachedPicture> entries;
    size_t bytes = 0;
    uint64_t uses = 0;

    const CachedPicture* Find(const WString& path, const std::vector<uint8_t>& file, bool dither) {
        auto found = entries.find(path);
        if (found == entries.end()) return nullptr;
        CachedPicture& entry = found->second;
        if (entry.file != file || entry.dither != dither || entry.format != gPixelFormat || entry.gamma != gGamma) {
            return nullptr;
        }
        entry.lastUse = ++uses;
        return &entry;
    }

    void Forget(const WString& path) {
        auto found = entries.find(path);
        if (found == entries.end()) return;
        bytes -= found->second.Bytes();
        entries.erase(found);
    }

    void Keep(const WString& path, CachedPicture entry) {
        Forget(path);
        if (entry.Bytes() > kLargestCachedBytes) return;
        while (bytes + entry.Bytes() > kCacheBudgetBytes && !entries.empty()) {
            auto oldest = entries.begin();
            for (auto it = entries.begin(); it != entries.end(); ++it) {
                if (it->second.lastUse < oldest->second.lastUse) oldest = it;
            }
            bytes -= oldest->second.Bytes();
            entries.erase(oldest);
        }
        entry.lastUse = ++uses;
        bytes += entry.Bytes();
        entries.emplace(path, std::move(entry));
    }
};

PictureCache gPictureCache;

// Opens the file read-only (pictures may lie in an installation the player
// cannot write) and reads it whole; false when either fails.
bool ReadPictureFile(const WString& path, std::vector<uint8_t>* bytes) {
    platform::FileHandle file = platform::CreateFile(path, platform::GENERIC_READ, platform::OPEN_EXISTING);
    if (file == platform::INVALID_HANDLE_VALUE) return false;
    platform::SetFilePointer(file, 0, platform::FILE_BEGIN);
    const bool read = platform::ReadImageFile(ReadImageData, file, bytes);
    platform::CloseHandle(file);
    return read;
}

bool DecodeUsable(const std::vector<uint8_t>& file, platform::Bitmap24* out) {
    return platform::DecodeImage(file, out) && out->width > 0 && out->height > 0 && out->width <= 0xFFFF &&
           out->height <= 0xFFFF && out->rgb.size() >= static_cast<size_t>(out->width) * out->height * 3;
}

void FailedPicture(Picture& picture) {
    picture.height = 0;
    picture.width = 0;
    picture.pixels = new uint16_t[1];
    picture.pixels[0] = 0;
}

}  // namespace

void ImageDecodeProgress() { UpdateMusic(); }

int32_t ReadImageData(void* context, uint8_t* buffer, uint32_t size) {
    auto file = static_cast<platform::FileHandle>(context);
    if (file == platform::INVALID_HANDLE_VALUE) return 0;
    uint32_t read = 0;
    if (!platform::ReadFile(file, buffer, size, &read)) return -1;
    ImageDecodeProgress();
    return static_cast<int32_t>(read);
}

bool DecodeImageFile(const WString& path, platform::Bitmap24* out) {
    std::vector<uint8_t> file;
    *out = platform::Bitmap24{};
    return ReadPictureFile(path, &file) && DecodeUsable(file, out);
}

uint16_t ConvertRgbPixel(uint8_t red, uint8_t green, uint8_t blue) {
    const Packer pack = PackerFor(gPixelFormat);
    return pack == nullptr ? 0 : pack(WithGamma(red), WithGamma(green), WithGamma(blue));
}

void ConvertRgb24To565(int stride, uint8_t* bits, uint16_t* pixels, int height, int width) {
    ConvertPlain(BitmapRows(stride, bits), pixels, height, width, PackRgb565);
}

void ConvertRgb24To555(int stride, uint8_t* bits, uint16_t* pixels, int height, int width) {
    ConvertPlain(BitmapRows(stride, bits), pixels, height, width, PackRgb555);
}

void ConvertRgb24To444(int stride, uint8_t* bits, uint16_t* pixels, int height, int width,
                       bool dither) {
    if (dither)
        ConvertDithered444(BitmapRows(stride, bits), pixels, height, width);
    else
        ConvertPlain(BitmapRows(stride, bits), pixels, height, width, PackRgb444);
}

bool LoadPicture(const WString& path, Picture& picture, bool dither) {
    std::vector<uint8_t> file;
    platform::Bitmap24 bitmap;
    const bool read = ReadPictureFile(path, &file);
    if (const CachedPicture* cached = read ? gPictureCache.Find(path, file, dither) : nullptr) {
        picture.height = cached->height;
        picture.width = cached->width;
        picture.pixels = new uint16_t[cached->pixels.size()];
        std::copy(cached->pixels.begin(), cached->pixels.end(), picture.pixels);
        return true;
    }
    if (!read || !DecodeUsable(file, &bitmap)) {
        gPictureCache.Forget(path);
        // An undecodable file is reported like a missing one.
        ShowNote(u"Quorvane/n/nError : " + path + u" Not found.");
        FailedPicture(picture);
        return false;
    }
    const int width = bitmap.width;
    const int height = bitmap.height;
    const size_t count = static_cast<size_t>(width) * height;
    // The decoder gives top-down rows, red first: the conversion walks them
    // from the bottom row up, as it walks the rows of a device-independent
    // bitmap, straight into the picture.
    const SourceRows rows{bitmap.rgb.data() + static_cast<size_t>(height - 1) * width * 3,
                          -static_cast<ptrdiff_t>(width) * 3, 0, 2};
    picture.height = static_cast<uint16_t>(height);
    picture.width = static_cast<uint16_t>(width);
    picture.pixels = new uint16_t[count];
    Convert(rows, picture.pixels, height, width, dither);
    CachedPicture entry;
    entry.file = std::move(file);
    entry.dither = dither;
    entry.format = gPixelFormat;
    entry.gamma = gGamma;
    entry.width = picture.width;
    entry.height = picture.height;
    entry.pixels.assign(picture.pixels, picture.pixels + count);
    gPictureCache.Keep(path, std::move(entry));
    return true;
}

void FreePicture(Picture& picture) {
    delete[] picture.pixels;
    picture.pixels = nullptr;
    picture.height = 0;
    picture.width = 0;
}

void LoadBoardPictures() {
    static const char16_t* const kIcons[5] = {
        u"GFX\\CARDS\\SET 1\\CARDS SMALL\\PowerIcon1.QVG",
        u"GFX\\CARDS\\SET 1\\CARDS SMALL\\PowerIcon2.QVG",
        u"GFX\\CARDS\\SET 1\\CARDS SMALL\\PowerIcon3.QVG",
        u"GFX\\CARDS\\SET 1\\CARDS SMALL\\PowerIcon4.QVG",
        u"GFX\\CARDS\\SET 1\\CARDS SMALL\\PowerIcon5.QVG",
    };
    for (int i = 0; i < 5; ++i) LoadPicture(gInstallDir + kIcons[i], gCardIcons[i + 1], true);
    LoadPicture(gInstallDir + u"GFX\\CARDS\\SET 1\\CARDS SMALL\\BackCard.QVG", gCardIcons[0],
                true);
    LoadPicture(gInstallDir + u"GFX\\GENERAL\\BlockCard.QVG", gBlockedCellPicture, true);
}

}  // namespace qv
