// The club in a test process: its quick-save block built byte by byte from
// its layout, block files written and read through the club, and turns and
// taps as the main loop and the window procedure give them.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "club/club.h"
#include "engine/loading_screen.h"
#include "platform/files.h"
#include "tests/support/files.h"
#include "tests/support/match_driver.h"

namespace qv::test {

// The 35-byte header of the club's block, field by field at its offset.
struct ClubHeader {
    uint8_t input = 1;             // 0
    uint8_t transitionOut = 0;     // 1
    uint8_t transitionIn = 0;      // 2
    int8_t stepCounter = -1;       // 3
    uint8_t openRoom = 0;          // 4
    uint8_t descriptionActive = 0; // 5
    int16_t descriptionIndex = 0;  // 6
    int16_t typingX = 10;          // 8
    int16_t typingY = 250;         // 10
    uint8_t typingBuffer = 0;      // 12
    int8_t typingTick = 0;         // 13
    uint8_t pending = 13;          // 14
    uint8_t current = 13;          // 15
    int16_t room = 1;              // 16
    int16_t frame = 7;             // 18
    int8_t direction = 0;          // 20
    int16_t titlePosition = 0;     // 21
    int8_t titleSpeed = 2;         // 23
    uint8_t roomShown = 1;         // 24
    uint8_t descriptionTyped = 1;  // 25
    uint8_t titleInPlace = 1;      // 26
    int8_t titleTick = 0;          // 27
    uint8_t betReturn = 1;         // 28
    uint8_t reserved = 0;          // 29
    uint8_t collectionReturn = 3;  // 30
    uint8_t shopReturn = 13;       // 31
    uint8_t tradeReturn = 0;       // 32
    uint8_t tutorialStep = 0;      // 33
    uint8_t tutorialFlag = 0;      // 34

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> b;
        auto u8 = [&](int v) { b.push_back(static_cast<uint8_t>(v)); };
        auto i16 = [&](int v) {
            b.push_back(static_cast<uint8_t>(v & 0xFF));
            b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
        };
        u8(input); u8(transitionOut); u8(transitionIn); u8(stepCounter); u8(openRoom);
        u8(descriptionActive); i16(descriptionIndex); i16(typingX); i16(typingY); u8(typingBuffer);
        u8(typingTick); u8(pending); u8(current); i16(room); i16(frame); u8(direction);
        i16(titlePosition); u8(titleSpeed); u8(roomShown); u8(descriptionTyped); u8(titleInPlace);
        u8(titleTick); u8(betReturn); u8(reserved); u8(collectionReturn); u8(shopReturn);
        u8(tradeReturn); u8(tutorialStep); u8(tutorialFlag);
        return b;
    }
};

// The ten records in their order, each a presence byte and the bytes that
// follow it when present.
enum ClubRecord {
    kRecordCharacter, kRecordMultiplayer, kRecordShop, kRecordCollection, kRecordInstantPlay,
    kRecordBet, kRecordTournament, kRecordOptions, kRecordTrade, kRecordBoss, kRecordCount
};

struct ClubBlock {
    ClubHeader header;
    bool present[kRecordCount] = {};
    std::vector<uint8_t> state[kRecordCount];

    void Add(ClubRecord record, std::vector<uint8_t> bytes = {}) {
        present[record] = true;
        state[record] = std::move(bytes);
    }
    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> b = header.Bytes();
        for (int r = 0; r < kRecordCount; ++r) {
            b.push_back(present[r] ? 1 : 0);
            if (present[r]) b.insert(b.end(), state[r].begin(), state[r].end());
        }
        return b;
    }
};

// The header's fields by the names scenario scripts use, at their offsets.
struct ClubField {
    const char* name;
    int offset;
    int size;
};
inline constexpr ClubField kClubFields[] = {
    {"input", 0, 1},
    {"transition-out", 1, 1},
    {"transition-in", 2, 1},
    {"step-counter", 3, 1},
    {"open-room", 4, 1},
    {"description-active", 5, 1},
    {"description-index", 6, 2},
    {"typing-x", 8, 2},
    {"typing-y", 10, 2},
    {"typing-buffer", 12, 1},
    {"typing-tick", 13, 1},
    {"pending", 14, 1},
    {"current", 15, 1},
    {"room", 16, 2},
    {"frame", 18, 2},
    {"direction", 20, 1},
    {"title-position", 21, 2},
    {"title-speed", 23, 1},
    {"room-shown", 24, 1},
    {"description-typed", 25, 1},
    {"title-in-place", 26, 1},
    {"title-tick", 27, 1},
    {"bet-return", 28, 1},
    {"reserved", 29, 1},
    {"collection-return", 30, 1},
    {"shop-return", 31, 1},
    {"trade-return", 32, 1},
    {"tutorial-step", 33, 1},
    {"tutorial-flag", 34, 1},
};

// The records by the names scenario scripts use, in ClubRecord order.
inline constexpr const char* kClubRecordNames[kRecordCount] = {
    "character", "multiplayer", "shop", "collection", "instant-play", "bet", "tournament", "options", "trade", "boss",
};

// Writes a named header field of a block's bytes, little-endian; false for
// a name that is no field.
inline bool SetClubField(std::vector<uint8_t>& block, const std::string& name, int value) {
    for (const ClubField& field : kClubFields) {
        if (name != field.name) continue;
        for (int i = 0; i < field.size; ++i) {
            block[static_cast<size_t>(field.offset + i)] = static_cast<uint8_t>(value >> (8 * i));
        }
        return true;
    }
    return false;
}

// A quick save that starts the program in the club: the slot byte, the
// club's block, then gClubActive.
inline std::vector<uint8_t> ClubQuickSave(const std::vector<uint8_t>& block, uint8_t slot = 1) {
    std::vector<uint8_t> bytes = {slot};
    bytes.insert(bytes.end(), block.begin(), block.end());
    bytes.push_back(1);
    return bytes;
}

inline std::filesystem::path BlockPath() { return PrepareInstallation() / "club-block.bin"; }

inline WString HandheldBlockPath() { return HandheldPath(BlockPath()); }

// The block the owner writes (gClub, or the screen of a room); empty when
// it does not write one.
template <class Owner = Club>
std::vector<uint8_t> WrittenBlock(Owner& owner = gClub) {
    platform::FileHandle file =
        platform::CreateFile(HandheldBlockPath(), platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    const bool ok = owner.WriteState(file);
    platform::CloseHandle(file);
    return ok ? ReadBytes(BlockPath()) : std::vector<uint8_t>{};
}

// The owner (gClub, or the screen of a room) reads the bytes as its block.
template <class Owner = Club>
bool ReadBlock(const std::vector<uint8_t>& bytes, Owner& owner = gClub) {
    WriteBytes(BlockPath(), bytes);
    platform::FileHandle file =
        platform::CreateFile(HandheldBlockPath(), platform::GENERIC_READ, platform::OPEN_EXISTING);
    const bool ok = owner.ReadState(file);
    platform::CloseHandle(file);
    return ok;
}

// The club view standing at the room, as a restore would leave it; false
// when the club refuses the block.
inline bool StandAtRoom(int room) {
    ClubBlock block;
    block.header.room = static_cast<int16_t>(room);
    block.header.frame = static_cast<int16_t>(Club::RoomFrame(room));
    return ReadBlock(block.Bytes());
}

// The panorama, whose first frame is the band taps enter by, and the
// arrows, once; the loading screen counts far enough never to finish.
inline void LoadClubViewPictures() {
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    gLoadingScreen.Begin(1000);
    gClub.LoadPanorama();
    gClub.LoadButtons();
    gLoadingScreen.FreePictures();
}

// How many lines of this process's trace contain the text; with kind, only
// lines of that kind ("gamebox": message boxes shown).
inline int TraceCount(const std::string& text, const std::string& kind = "") {
    int count = 0;
    for (const std::string& line : ReadLines(PrepareInstallation() / "trace.txt")) {
        count +=
            line.find(text) != std::string::npos && (kind.empty() || line.find(" " + kind + " ") != std::string::npos);
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
