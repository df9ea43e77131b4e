// Shared set-up of the fuzz targets: a private temporary directory, the headless platform,
// an installation linked to the generated one, and the characters the seed quick saves name.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "cards/profile.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "engine/install_dir.h"
#include "engine/music.h"
#include "engine/wstring.h"
#include "platform/messages.h"
#include "platform/system.h"
#include "tests/support/files.h"
#include "tests/support/installation.h"
#include "tests/support/raw_peer.h"
#include "tests/support/screen.h"
#include "tests/support/temp_dir.h"

namespace qv::fuzz {

using test::Bytes;
using test::HandheldPath;
using test::ReadBytes;
using test::WriteBytes;

// The generated installation directory: QUORVANE_FUZZ_INSTALL, else the
// normal build's.
inline std::filesystem::path GeneratedInstallation() {
    const char* env = ::getenv("QUORVANE_FUZZ_INSTALL");
    return env != nullptr && *env != '\0' ? std::filesystem::path(env) : std::filesystem::path(QV_FUZZ_INSTALL_DIR);
}

// This process's own directory below $TMPDIR; everything a target writes goes
// there, and it is removed when the process ends normally.
inline const std::filesystem::path& TempDir() { return test::ProcessTempDir("fuzz"); }

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
    test::OpenScreen();
    gMusicOff = 1;
}

// TempDir()/install: every entry of the generated installation linked in
// but "SAVE", which is the target's own; gInstallDir points there.
inline std::filesystem::path LinkInstallation() {
    const std::filesystem::path dir = test::LinkInstallation(TempDir(), GeneratedInstallation());
    test::UseInstallDir(dir);
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
