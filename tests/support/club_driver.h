// The club in a test process: block files written and read through the
// club, and turns and taps as the main loop and the window procedure give them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "club/club.h"
#include "platform/files.h"
#include "tests/support/club_block.h"
#include "tests/support/files.h"
#include "tests/support/match_driver.h"

namespace qv::test {

inline std::filesystem::path BlockPath() { return PrepareInstallation() / "club-block.bin"; }

inline WString HandheldBlockPath() { return HandheldPath(BlockPath()); }

// The block gClub writes.
inline std::vector<uint8_t> WrittenBlock() {
    platform::FileHandle file =
        platform::CreateFile(HandheldBlockPath(), platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    const bool ok = gClub.WriteState(file);
    platform::CloseHandle(file);
    return ok ? ReadBytes(BlockPath()) : std::vector<uint8_t>{};
}

// gClub reads the bytes as its block.
inline bool ReadBlock(const std::vector<uint8_t>& bytes) {
    WriteBytes(BlockPath(), bytes);
    platform::FileHandle file =
        platform::CreateFile(HandheldBlockPath(), platform::GENERIC_READ, platform::OPEN_EXISTING);
    const bool ok = gClub.ReadState(file);
    platform::CloseHandle(file);
    return ok;
}

// How many lines of this process's trace contain the text; with kind, only
// lines of that kind ("gamebox": message boxes shown).
inline int TraceCount(const std::string& text, const std::string& kind = "") {
    int count = 0;
    for (const std::string& line : ReadLines(PrepareInstallation() / "trace.txt")) {
        count += line.find(text) != std::string::npos && (kind.empty() || line.find(" " + kind + " ") != std::string::npos);
    }
    return count;
}

// Message boxes shown with that text so far.
inline int NoteCount(const std::string& text) { return TraceCount(text, "gamebox"); }

// Main-loop turns of the club.
inline void Turns(int n) {
    for (int i = 0; i < n; ++i) gClub.Update();
}

// Turns until no transition or walk runs (at most limit); false when it never settles.
inline bool SettleClub(int limit = 400) {
    for (int i = 0; i < limit; ++i) {
        if (!gClub.InTransition() && gClub.Direction() == 0) return true;
        gClub.Update();
    }
    return false;
}

// A tap as the window procedure hands it over.
inline void ClubTap(int x, int y) {
    gClub.StylusDown(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    gClub.StylusUp(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
}

}  // namespace qv::test
