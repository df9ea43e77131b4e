// Shared set-up of the fuzz targets: a private temporary directory, the headless platform,
// an installation linked to the generated one, and the characters the seed quick saves name.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "cards/profile.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "engine/display.h"
#include "engine/install_dir.h"
#include "engine/music.h"
#include "engine/wstring.h"
#include "platform/display.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "tests/support/raw_peer.h"

namespace qv::fuzz {

using Bytes = std::vector<uint8_t>;

// The generated installation directory: QUORVANE_FUZZ_INSTALL, else the
// normal build's.
inline std::filesystem::path GeneratedInstallation() {
    const char* env = ::getenv("QUORVANE_FUZZ_INSTALL");
    return env != nullptr && *env != '\0' ? std::filesystem::path(env) : std::filesystem::path(QV_FUZZ_INSTALL_DIR);
}

// This process's own directory below $TMPDIR; everything a target writes goes
// there, and it is removed when the process ends normally.
inline const std::filesystem::path& TempDir() {
    static std::filesystem::path dir;
    if (dir.empty()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            ::abort();
        }
        dir = pattern;
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(dir, ignored);
        });
    }
    return dir;
}

inline void WriteBytes(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

inline Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A host path in the handheld's form.
inline WString Handheld(const std::filesystem::path& path) {
    WString out;
    for (char c : path.string()) out.push_back(c == '/' ? u'\\' : static_cast<char16_t>(static_cast<uint8_t>(c)));
    return out;
}

// The headless platform with no trace, no sound, no music and no virtual-time
// limit, and the screen buffers in 5-6-5; the registry lives in TempDir().
// The link uses a port of its own, looks for the other machine on this one
// only and waits a thousandth of its times: a Create that nobody answers
// costs 20 ms.
inline void StartHeadless() {
    static bool started = false;
    if (started) return;
    started = true;
    ::setenv("QUORVANE_BACKEND", "headless", 1);
    ::setenv("QUORVANE_REGISTRY", (TempDir() / "registry.txt").c_str(), 1);
    ::setenv("QUORVANE_AUDIO", "none", 1);
    ::setenv("QUORVANE_TIME_LIMIT", "4000000000000000", 1);
    ::setenv("QUORVANE_IR_PORT", std::to_string(test::FreeLinkPort()).c_str(), 1);
    ::setenv("QUORVANE_IR_PEER", "127.0.0.1", 1);
    ::setenv("QUORVANE_IR_TIME_SCALE", "0.001", 1);
    ::unsetenv("QUORVANE_TRACE");
    ::unsetenv("QUORVANE_SCRIPT");
    ::unsetenv("QUORVANE_CAPTURE");
    platform::Startup();
    platform::GXOpenDisplay(nullptr, platform::GX_FULLSCREEN);
    const platform::GXDisplayProperties p = platform::GXGetDisplayProperties();
    gPixelFormat = 128;
    SetDisplayPitch(p.cbxPitch, p.cbyPitch);
    AllocScreenBuffers(240, 320);
    gMusicOff = 1;
}

// TempDir()/install: every entry of the generated installation linked in
// but "SAVE", which is the target's own; gInstallDir points there.
inline std::filesystem::path LinkInstallation() {
    const std::filesystem::path dir = TempDir() / "install";
    std::filesystem::create_directories(dir / "SAVE");
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(GeneratedInstallation(), ignored)) {
        if (entry.path().filename() != "SAVE") {
            std::filesystem::create_symlink(entry.path(), dir / entry.path().filename(), ignored);
        }
    }
    gInstallDir = Handheld(dir) + u"\\";
    return dir;
}

// What the current run reached ("screen enter 3", "match state 13", ...):
// the targets note marks and the replay (fuzz/replay.cpp) counts them.
inline std::set<std::string>& RunMarks() {
    static std::set<std::string> marks;
    return marks;
}
inline void Mark(const std::string& mark) { RunMarks().insert(mark); }

// Drops every queued message.
inline void DrainMessages() {
    platform::Msg msg;
    while (platform::PeekMessage(&msg, 0, 0, true)) {
    }
}

// The characters of slots 1 to 3 that the seed quick saves were written
// with: each owns and plays 16 cards from its own first id.
inline void MakeSeedCharacter(int slot) {
    gProfile.Reset();
    gProfile.SetName(slot == 1 ? u"SEEDER" : slot == 2 ? u"SECOND" : u"THIRD");
    gProfile.SetKind(kLocalPlayer);
    gProfile.SetSlot(static_cast<uint8_t>(slot));
    gProfile.ClearDeck();
    for (int16_t i = 0; i < 16; ++i) {
        const int16_t id = static_cast<int16_t>(1 + 40 * (slot - 1) + i);
        gProfile.AddCard(id);
        gProfile.AddToDeck(id, false);
    }
    ClearStatistics();
}

}  // namespace qv::fuzz

// Each fuzz program is built from a file that holds several targets; its
// build names the one it runs (QV_FUZZ_ENTRY, see fuzz/CMakeLists.txt).
#ifdef QV_FUZZ_ENTRY
namespace qv::fuzz {
int QV_FUZZ_ENTRY(const uint8_t* data, size_t size);
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return qv::fuzz::QV_FUZZ_ENTRY(data, size);
}
#endif
