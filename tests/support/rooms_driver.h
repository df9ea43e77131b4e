// Test support for the match rooms: a character prepared in a run's
// installation (its deck, credits, collection and statistics) with a quick
// save on the club view, and reading its file back after the run.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "engine/wstring.h"
#include "tests/support/files.h"
#include "tests/support/installation.h"

namespace qv::test {

// The sum of a database card's eight powers.
inline int PowerSum(int16_t id) {
    const Card card = LoadCard(id);
    int sum = 0;
    for (int d = 0; d < kDirectionCount; ++d) sum += card.GetPower(d);
    return sum;
}

// 16 distinct database ids: the strongest by power sum, or the weakest that
// still have a power (the database must be open).
inline std::vector<int16_t> PickDeck(bool strong) {
    std::vector<int16_t> ids;
    for (int16_t id = 1; id <= GetCardCount(); ++id) {
        if (PowerSum(id) > 0) ids.push_back(id);
    }
    std::stable_sort(ids.begin(), ids.end(), [strong](int16_t a, int16_t b) {
        return strong ? PowerSum(a) > PowerSum(b) : PowerSum(a) < PowerSum(b);
    });
    ids.resize(kDeckSize);
    return ids;
}

struct CharacterSpec {
    std::string name = "TESTER";
    int32_t credits = 1000;
    bool strongDeck = true;
    int deckCards = kDeckSize;  // how many of the 16 go into the deck
    int copies = 2;             // of each deck card, so no loss empties a position
    bool wholeCollection = false;
    int levelsBeaten = 0;  // every opponent of the first N levels beaten once
    int tourneysWon = 0;   // the tournaments of the first N levels won once
};

// Replaces the run's linked "DATA" folder by a copy whose card database
// gives every card of level L the power powers[L - 1] in all eight
// directions; names, worth and levels stay. So a test can make one side
// unbeatable: a card is captured only by a higher power.
inline bool UseCardPowers(const std::string& installDir, const int powers[4]) {
    namespace fs = std::filesystem;
    const fs::path data = fs::path(installDir) / "DATA";
    const fs::path source = fs::read_symlink(data);
    fs::remove(data);
    fs::copy(source, data, fs::copy_options::recursive);
    const fs::path cards = data / "CARDS" / "SET 1";
    std::ifstream indexIn(cards / "CARDS.IND", std::ios::binary);
    std::ifstream dataIn(cards / "CARDS.DAT", std::ios::binary);
    const std::vector<uint8_t> index((std::istreambuf_iterator<char>(indexIn)), {});
    std::vector<uint8_t> records((std::istreambuf_iterator<char>(dataIn)), {});
    auto int32At = [&index](size_t at) {
        return static_cast<int32_t>(index[at] | index[at + 1] << 8 | index[at + 2] << 16 |
                                    static_cast<uint32_t>(index[at + 3]) << 24);
    };
    if (index.size() < 4) return false;
    const int32_t count = int32At(0);
    std::vector<uint8_t> outIndex(index.begin(), index.begin() + 4);
    std::vector<uint8_t> outData;
    for (int32_t i = 0; i < count; ++i) {
        const size_t from = static_cast<size_t>(int32At(4 + 4 * i));
        const size_t to = static_cast<size_t>(int32At(8 + 4 * i));
        std::string record;
        for (size_t b = from; b < to && b < records.size(); ++b) record.push_back(static_cast<char>(records[b] ^ 0x3D));
        // Fields: #name# CR LF #powers#worth#level#
        std::vector<size_t> hashes;
        for (size_t c = 0; c < record.size(); ++c) {
            if (record[c] == '#') hashes.push_back(c);
        }
        if (hashes.size() < 8) return false;
        const int level = std::stoi(record.substr(hashes[6] + 1, hashes[7] - hashes[6] - 1));
        const std::string digits(8, static_cast<char>('0' + powers[(level - 1) & 3]));
        record = record.substr(0, hashes[2] + 1) + digits + record.substr(hashes[3]);
        for (int shift = 0; shift < 32; shift += 8) outIndex.push_back(static_cast<uint8_t>(outData.size() >> shift));
        for (char c : record) outData.push_back(static_cast<uint8_t>(c ^ 0x3D));
    }
    for (int shift = 0; shift < 32; shift += 8) outIndex.push_back(static_cast<uint8_t>(outData.size() >> shift));
    std::ofstream(cards / "CARDS.IND", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(outIndex.data()), static_cast<std::streamsize>(outIndex.size()));
    std::ofstream(cards / "CARDS.DAT", std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(outData.data()), static_cast<std::streamsize>(outData.size()));
    return true;
}

// The handheld form of a host directory, ending with '\'.
inline WString HandheldDir(const std::string& hostDir) { return HandheldPath(hostDir) + u"\\"; }

// Points this process at the run's installation and registry and opens
// its card database.
inline bool UseRunInstallation(const std::string& installDir, const std::string& registryPath) {
    setenv("QUORVANE_BACKEND", "headless", 1);
    setenv("QUORVANE_REGISTRY", registryPath.c_str(), 1);
    gInstallDir = HandheldDir(installDir);
    return gCardCount > 0 || OpenCardDatabase();
}

// Character 1 as the spec says, saved by the game's own saver, and a quick
// save that starts the run on the club view (room 1) with that character.
inline void PrepareCharacter(const CharacterSpec& spec) {
    gProfile = PlayerProfile();
    gProfile.SetKind(kLocalPlayer);
    gProfile.SetName(Widen(spec.name));
    gProfile.SetSlot(1);
    gProfile.AddCredits(spec.credits - gProfile.GetCredits());
    gProfile.ClearDeck();
    if (spec.wholeCollection) {
        for (int16_t id = 1; id <= GetCardCount(); ++id) gProfile.AddCard(id);
    }
    const std::vector<int16_t> deck = PickDeck(spec.strongDeck);
    for (size_t i = 0; i < deck.size(); ++i) {
        for (int c = 0; c < spec.copies; ++c) gProfile.AddCard(deck[i]);
        if (static_cast<int>(i) < spec.deckCards) gProfile.AddToDeck(deck[i], false);
    }
    ClearStatistics();
    for (int i = 0; i < kOpponentCount; ++i) gGamesWon[i] = i % kLevelCount < spec.levelsBeaten ? 1 : 0;
    for (int level = 0; level < kLevelCount; ++level) {
        gTourneysWon[level] = level < spec.tourneysWon ? 1 : 0;
        gTourneysPlayed[level] = gTourneysWon[level];
    }
    SavePlayer();
    gClub.Reset();
    gClubActive = 1;
    WriteQuickSave();
}

// What the run left in character 1's file.
struct SavedCharacter {
    bool loaded = false;
    int32_t credits = 0;
    int16_t won[kOpponentCount] = {};
    int16_t lost[kOpponentCount] = {};
    int16_t tied[kOpponentCount] = {};
    int16_t tourneysWon[kLevelCount] = {};
    int16_t tourneysPlayed[kLevelCount] = {};
    int distinctCards = 0;

    int Total(const int16_t* counters) const {
        int sum = 0;
        for (int i = 0; i < kOpponentCount; ++i) sum += counters[i];
        return sum;
    }
};

inline SavedCharacter ReadCharacter() {
    SavedCharacter saved;
    gProfile = PlayerProfile();
    ClearStatistics();
    saved.loaded = LoadPlayerSave(1);
    saved.credits = gProfile.GetCredits();
    for (int i = 0; i < kOpponentCount; ++i) {
        saved.won[i] = gGamesWon[i];
        saved.lost[i] = gGamesLost[i];
        saved.tied[i] = gGamesTied[i];
    }
    for (int level = 0; level < kLevelCount; ++level) {
        saved.tourneysWon[level] = gTourneysWon[level];
        saved.tourneysPlayed[level] = gTourneysPlayed[level];
    }
    saved.distinctCards = gProfile.CountDistinct();
    return saved;
}

}  // namespace qv::test
