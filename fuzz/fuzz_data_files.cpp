// Fuzz targets for the data files: the card database's three files, the opponents file, and
// the '#' fields and scrambled texts that both kinds of file are made of.
#include <algorithm>

#include "cards/card_database.h"
#include "cards/opponents.h"
#include "cards/save_io.h"
#include "engine/utilities.h"
#include "fuzz/fuzz_support.h"
#include "platform/files.h"

namespace qv::fuzz {

namespace {

// The card database's input: a 4-byte little-endian size and CARDS.IND, a
// 4-byte size and CARDS.DAT, then CARDS.INF to the end (sizes past the end
// are cut short).
struct Parts {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    std::pair<const uint8_t*, size_t> Next(bool sized) {
        size_t length = size - at;
        if (sized) {
            uint32_t n = 0;
            for (int i = 0; i < 4 && at < size; ++i, ++at) n |= static_cast<uint32_t>(data[at]) << (8 * i);
            length = std::min<size_t>(n, size - at);
        }
        const uint8_t* start = data + at;
        at += length;
        return {start, length};
    }
};

}  // namespace

// Opened as the game opens it, then every card by id, random cards of each
// level, the info texts and the opponents' decks.
int FuzzCardDatabase(const uint8_t* data, size_t size) {
    static std::filesystem::path cards;
    if (cards.empty()) {
        StartHeadless();
        const std::filesystem::path root = TempDir() / "install";
        cards = root / "DATA" / "CARDS" / "SET 1";
        std::filesystem::create_directories(cards);
        test::UseInstallDir(root);
    }
    Parts parts{data, size};
    auto [index, indexSize] = parts.Next(true);
    auto [records, recordsSize] = parts.Next(true);
    auto [info, infoSize] = parts.Next(false);
    WriteBytes(cards / "CARDS.IND", Bytes(index, index + indexSize));
    WriteBytes(cards / "CARDS.DAT", Bytes(records, records + recordsSize));
    WriteBytes(cards / "CARDS.INF", Bytes(info, info + infoSize));

    SeedRandom(1);
    const bool open = OpenCardDatabase();
    // Every id the game may ask for, and a few it never should; the info
    // file is read whole on each call, so only for every fifth id.
    for (int id = -2; id <= kCardSetSize + 12; ++id) {
        Card card = LoadCard(static_cast<int16_t>(id));
        (void)card.GetName().size();
        if (id % 5 == 0 || id > kCardSetSize - 2) (void)BuildCardInfoText(static_cast<int16_t>(id)).size();
    }
    for (int16_t id : {int16_t{-32768}, int16_t{32767}}) {
        (void)LoadCard(id).GetId();
        (void)BuildCardInfoText(id).size();
    }
    if (open) {
        for (int level = 1; level <= 4; ++level) (void)RandomCardOfLevel(level).GetId();
        CardDeck deck;
        for (int level = 0; level < 3; ++level) {
            for (int tier = 0; tier < 4; ++tier) GenerateOpponentDeck(deck, level, tier);
        }
    }
    CloseCardDatabase();
    return 0;
}

// Loaded as at start-up next to the generated card database, then the
// descriptions and every opponent's generated deck.
int FuzzOpponents(const uint8_t* data, size_t size) {
    static std::filesystem::path file;
    if (file.empty()) {
        StartHeadless();
        const std::filesystem::path root = TempDir() / "install";
        std::filesystem::create_directories(root / "DATA");
        std::filesystem::create_symlink(GeneratedInstallation() / "DATA" / "CARDS", root / "DATA" / "CARDS");
        test::UseInstallDir(root);
        if (!OpenCardDatabase()) ::abort();
        file = root / "DATA" / "OPPONENTS.DAT";
    }
    WriteBytes(file, Bytes(data, data + size));
    for (PlayerProfile& opponent : gOpponents) opponent = PlayerProfile();
    SeedRandom(1);
    LoadOpponents();
    // The file is read whole on each call: the corners, and a few inside.
    for (int level : {-1, 0, 2, 3}) {
        for (int index : {-1, 0, 7, 14, 15}) (void)ReadOpponentText(index, level).size();
    }
    for (PlayerProfile& opponent : gOpponents) {
        opponent.GenerateDeck();
        (void)opponent.GetName().size();
    }
    return 0;
}

// Field after field to the end of the input: '#' fields as texts and as
// numbers, then scrambled texts as the character file and the quick save
// read them.
int FuzzTextFields(const uint8_t* data, size_t size) {
    static WString path;
    if (path.empty()) {
        StartHeadless();
        path = HandheldPath(TempDir() / "texts.bin");
    }
    const std::span<const uint8_t> buffer(data, size);
    for (int pass = 0; pass < 2; ++pass) {
        size_t cursor = 0;
        while (cursor < size) {
            const size_t before = cursor;
            if (pass == 0) {
                (void)ReadHashField(buffer, cursor).size();
            } else {
                (void)ReadHashNumber(buffer, cursor);
            }
            if (cursor > size) ::abort();
            if (cursor == before) break;
        }
    }

    WriteBytes(TempDir() / "texts.bin", Bytes(data, data + size));
    for (int reader = 0; reader < 2; ++reader) {
        platform::FileHandle file = platform::CreateFile(path, platform::GENERIC_READ, platform::OPEN_EXISTING);
        if (file == platform::INVALID_HANDLE_VALUE) ::abort();
        for (size_t n = 0; n <= size; ++n) {
            const uint32_t before = platform::SetFilePointer(file, 0, platform::FILE_CURRENT);
            if (reader == 0) {
                (void)ReadScrambledText(file).size();
            } else {
                WString text;
                if (!ReadSaveText(file, text)) break;
            }
            if (platform::SetFilePointer(file, 0, platform::FILE_CURRENT) == before) break;
        }
        platform::CloseHandle(file);
    }
    return 0;
}

}  // namespace qv::fuzz
