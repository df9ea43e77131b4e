// Fuzz targets for what the platform layer reads for the game: picture files (also as the
// font), the registry file and the headless input script.
#include "engine/blit.h"
#include "engine/font.h"
#include "engine/picture_loader.h"
#include "fuzz/fuzz_support.h"
#include "platform/headless/script.h"
#include "platform/registry.h"

namespace qv::fuzz {

namespace {

const int32_t kFormats[3] = {128, 64, 512};

// Points the registry at a file of another name than the last, so the next
// call reads it afresh.
std::filesystem::path UseNewRegistryFile() {
    static uint64_t count = 0;
    const std::filesystem::path path = TempDir() / ("registry-" + std::to_string(++count % 4) + ".txt");
    ::setenv("QUORVANE_REGISTRY", path.c_str(), 1);
    return path;
}

// Reads every setting the game reads, through a small and a large buffer.
void QuerySettings() {
    using namespace platform;
    HKey key = nullptr;
    if (RegOpenKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Quorvane", &key) != ERROR_SUCCESS) return;
    for (const char16_t* name : {u"Install_Dir", u"Gamma", u"Volume", u"Effects", u"Character", u"#x", u""}) {
        uint8_t small[4];
        uint8_t large[512];
        uint32_t type = REG_NONE;
        uint32_t size = sizeof small;
        RegQueryValue(key, name, &type, small, &size);
        size = sizeof large;
        RegQueryValue(key, name, &type, large, &size);
    }
    RegCloseKey(key);
}

void SetGammaSetting() {
    using namespace platform;
    HKey key = nullptr;
    if (RegCreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Quorvane", &key) != ERROR_SUCCESS) ::abort();
    const uint8_t value[4] = {7, 0, 0, 0};
    if (RegSetValue(key, u"Gamma", REG_DWORD, value, 4) != ERROR_SUCCESS) ::abort();
    RegCloseKey(key);
}

}  // namespace

// Through the loader into the display's format, and drawn. The first byte
// picks the pixel format and the dither, the second the Gamma offset.
int FuzzPicture(const uint8_t* data, size_t size) {
    static WString path;
    if (path.empty()) {
        StartHeadless();
        path = HandheldPath(TempDir() / "picture.bin");
    }
    if (size < 2) return 0;
    gPixelFormat = kFormats[(data[0] & 3) % 3];
    const bool dither = (data[0] & 4) != 0;
    gGamma = static_cast<int8_t>(data[1]);
    WriteBytes(TempDir() / "picture.bin", Bytes(data + 2, data + size));

    Picture picture;
    if (LoadPicture(path, picture, dither)) {
        BlitPicture(-7, 300, picture, 0);
        BlitPictureKeyed(100, -20, picture, 1);
    }
    FreePicture(picture);
    gPixelFormat = 128;
    gGamma = 0;
    DrainMessages();
    return 0;
}

// Cut into glyphs, every code measured, and lines drawn. The first byte
// picks transparency, the red key and the pixel format.
int FuzzFont(const uint8_t* data, size_t size) {
    static WString path;
    if (path.empty()) {
        StartHeadless();
        path = HandheldPath(TempDir() / "font.bin");
    }
    if (size < 1) return 0;
    gPixelFormat = kFormats[((data[0] >> 2) & 3) % 3];
    WriteBytes(TempDir() / "font.bin", Bytes(data + 1, data + size));

    gFont.Load(path, (data[0] & 1) != 0, (data[0] & 2) != 0);
    WString every;
    for (int code = 0; code < 256; ++code) every.push_back(static_cast<char16_t>(code));
    every += u"\u0141\uFFFF";
    for (int code = -1; code <= 256; ++code) (void)gFont.GetGlyph(code).width;
    (void)gFont.TextWidth(every);
    (void)gFont.GetHeight();
    DrawText(every, -30, 150, gFont, 0);
    DrawColouredText(every, 200, 310, gFont, 11, 0);
    // A loaded font would answer the next picture failure with a game box
    // that waits for a tap: none stays loaded between runs.
    gFont.Free();
    gPixelFormat = 128;
    DrainMessages();
    return 0;
}

// Read as the settings read it; whatever it held, a rewrite read back and
// rewritten again must give the same file.
int FuzzRegistry(const uint8_t* data, size_t size) {
    StartHeadless();
    const std::filesystem::path path = UseNewRegistryFile();
    WriteBytes(path, Bytes(data, data + size));
    QuerySettings();
    SetGammaSetting();
    const Bytes first = ReadBytes(path);

    const std::filesystem::path again = UseNewRegistryFile();
    WriteBytes(again, first);
    QuerySettings();
    SetGammaSetting();
    if (ReadBytes(again) != first) {
        std::fprintf(stderr, "the registry file changed on a second rewrite\n");
        ::abort();
    }
    return 0;
}

// Parsed and played against a stream of trace events. Captures are left
// out: they would write wherever the script says.
int FuzzScript(const uint8_t* data, size_t size) {
    using namespace platform::headless;
    StartHeadless();
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> errors;
    std::vector<ScriptStep> steps = ParseScript(source, &errors);
    // Made pauses rather than taken out, so that the blocks' jumps still land.
    for (ScriptStep& step : steps) {
        if (step.kind == ScriptStep::Kind::kCapture) step.kind = ScriptStep::Kind::kPause;
    }

    ScriptRunner runner;
    runner.Load(std::move(steps));
    uint64_t now = 0;
    for (int turn = 0; turn < 64 && !runner.Finished(); ++turn) {
        runner.NoteTrace(turn % 2 ? "present" : "gamebox", "Ok " + std::to_string(turn));
        runner.NoteTrace("state", "main loop");
        now += static_cast<uint64_t>(1) << (turn % 40);
        runner.Run(now);
        DrainMessages();
    }
    return 0;
}

}  // namespace qv::fuzz
