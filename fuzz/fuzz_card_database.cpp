// Fuzz target: the card database's three files opened and read as the game reads them:
// every card by id, random cards of each level, the info texts and the opponents' decks.
#include "cards/card_database.h"
#include "cards/opponents.h"
#include "engine/utilities.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace qv;

// The input: a 4-byte little-endian size and CARDS.IND, a 4-byte size and
// CARDS.DAT, then CARDS.INF to the end (sizes past the end are cut short).
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

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::filesystem::path cards;
    if (cards.empty()) {
        fuzz::StartHeadless();
        const std::filesystem::path root = fuzz::TempDir() / "install";
        cards = root / "DATA" / "CARDS" / "SET 1";
        std::filesystem::create_directories(cards);
        gInstallDir = fuzz::Handheld(root) + u"\\";
    }
    Parts parts{data, size};
    auto [index, indexSize] = parts.Next(true);
    auto [records, recordsSize] = parts.Next(true);
    auto [info, infoSize] = parts.Next(false);
    fuzz::WriteBytes(cards / "CARDS.IND", index, indexSize);
    fuzz::WriteBytes(cards / "CARDS.DAT", records, recordsSize);
    fuzz::WriteBytes(cards / "CARDS.INF", info, infoSize);

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
