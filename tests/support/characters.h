// Characters for runs of the real program: saved into a run's installation
// by the game's own saver before it starts, read back by the game's loader
// afterwards, and a card database whose powers a test chooses.
#pragma once

#include <stdlib.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cards/card_database.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "engine/wstring.h"
#include "tests/support/files.h"
#include "tests/support/installation.h"

namespace qv::test {

// What a character owns before a run. The defaults make one ready to play:
// 1000 credits and a deck of the 16 strongest cards, two copies of each.
struct CharacterPlan {
    int slot = 1;
    std::string name = "TESTER";
    int32_t credits = 1000;
    std::vector<int16_t> cards;    // one copy each
    bool wholeCollection = false;  // one copy of every card of the set
    bool pickDeck = true;          // the deck: the 16 strongest or weakest cards by power sum,
    bool strongDeck = true;
    std::vector<int16_t> deck;  // or else these ids, in order
    int deckCards = kDeckSize;  // how many of them go into the deck
    int copies = 2;             // owned of each deck card
    int levelsBeaten = 0;       // every opponent of the first N levels beaten once
    int tourneysWon = 0;        // the tournaments of the first N levels won (and played) once
};

// A character as the character screen makes it: 700 credits, nothing owned.
inline CharacterPlan NewCharacter() {
    CharacterPlan plan;
    plan.credits = kStartingCredits;
    plan.pickDeck = false;
    plan.copies = 1;
    return plan;
}

// The whole text as a number in that base; false when it is none.
inline bool ParseInt(const std::string& text, int& value, int base = 10) {
    try {
        size_t used = 0;
        value = std::stoi(text, &used, base);
        return used == text.size();
    } catch (...) {
        return false;
    }
}

// "7", "1-20" or "1-4,9": the ids listed; false when a part is no id.
inline bool ParseIds(const std::string& text, std::vector<int16_t>& ids) {
    size_t at = 0;
    while (at <= text.size()) {
        size_t end = text.find(',', at);
        end = end == std::string::npos ? text.size() : end;
        const std::string part = text.substr(at, end - at);
        const size_t dash = part.find('-', 1);
        try {
            size_t used = 0;
            const int first = std::stoi(part, &used);
            const int last = dash == std::string::npos ? first : std::stoi(part.substr(dash + 1));
            if ((dash == std::string::npos ? used != part.size() : used != dash) || first < 1 || last < first ||
                last > kCardSetSize) {
                return false;
            }
            for (int id = first; id <= last; ++id) ids.push_back(static_cast<int16_t>(id));
        } catch (...) {
            return false;
        }
        at = end + 1;
    }
    return !ids.empty();
}

// Reads "key=value" words into the plan (scenario headers start from
// NewCharacter); the first word it cannot use, or "".
inline std::string ParseCharacterPlan(const std::vector<std::string>& words, CharacterPlan& plan) {
    for (const std::string& word : words) {
        const size_t eq = word.find('=');
        const std::string key = word.substr(0, eq);
        const std::string value = eq == std::string::npos ? "" : word.substr(eq + 1);
        auto number = [&value](int& out, int least) { return ParseInt(value, out) && out >= least; };
        auto levels = [&](int& out) {
            out = kLevelCount;
            return value == "all" || (number(out, 0) && out <= kLevelCount);
        };
        int credits = 0;
        bool ok = eq != std::string::npos;
        if (!ok) {
        } else if (key == "name") {
            plan.name = value;
            ok = !value.empty();
        } else if (key == "credits") {
            ok = number(credits, 0);
            plan.credits = credits;
        } else if (key == "cards") {
            plan.wholeCollection = value == "whole";
            ok = plan.wholeCollection || ParseIds(value, plan.cards);
        } else if (key == "deck") {
            plan.pickDeck = value == "strong" || value == "weak";
            plan.strongDeck = value == "strong";
            ok = plan.pickDeck || ParseIds(value, plan.deck);
        } else if (key == "deck-cards") {
            ok = number(plan.deckCards, 0) && plan.deckCards <= kDeckSize;
        } else if (key == "copies") {
            ok = number(plan.copies, 1);
        } else if (key == "beaten") {
            ok = levels(plan.levelsBeaten);
        } else if (key == "tourneys") {
            ok = levels(plan.tourneysWon);
        } else {
            ok = false;
        }
        if (!ok) return word;
    }
    return "";
}

// The sum of a card's eight powers.
inline int PowerSum(const Card& card) {
    int sum = 0;
    for (int d = 0; d < kDirectionCount; ++d) sum += card.GetPower(d);
    return sum;
}

// The sum of a database card's eight powers.
inline int PowerSum(int16_t id) { return PowerSum(LoadCard(id)); }

// 16 distinct database ids: the strongest by power sum, or the weakest that
// still have a power (the database must be open). Each card is read once.
inline std::vector<int16_t> PickDeck(bool strong) {
    std::vector<std::pair<int, int16_t>> sums;  // (power sum, id), by id
    for (int16_t id = 1; id <= GetCardCount(); ++id) {
        const int sum = PowerSum(id);
        if (sum > 0) sums.emplace_back(sum, id);
    }
    std::stable_sort(sums.begin(), sums.end(),
                     [strong](const auto& a, const auto& b) { return strong ? a.first > b.first : a.first < b.first; });
    std::vector<int16_t> ids;
    for (const auto& entry : sums) ids.push_back(entry.second);
    ids.resize(kDeckSize);
    return ids;
}

// Points this process's saver and loader at a run's installation and
// registry, and opens its card database.
inline bool UseRunInstallation(const std::filesystem::path& install, const std::filesystem::path& registry) {
    ::setenv("QUORVANE_BACKEND", "headless", 1);
    ::setenv("QUORVANE_REGISTRY", registry.c_str(), 1);
    UseInstallDir(install);
    return gCardCount > 0 || OpenCardDatabase();
}

// gProfile and the statistics as the plan says, saved by the game's own
// saver into its slot's file (the installation in use).
inline bool SaveCharacter(const CharacterPlan& plan) {
    gProfile = PlayerProfile();
    gProfile.SetKind(kLocalPlayer);
    gProfile.SetName(Widen(plan.name));
    gProfile.SetSlot(static_cast<uint8_t>(plan.slot));
    gProfile.AddCredits(plan.credits - gProfile.GetCredits());
    gProfile.ClearDeck();
    if (plan.wholeCollection) {
        for (int16_t id = 1; id <= GetCardCount(); ++id) gProfile.AddCard(id);
    }
    for (int16_t id : plan.cards) gProfile.AddCard(id);
    const std::vector<int16_t> deck = plan.pickDeck ? PickDeck(plan.strongDeck) : plan.deck;
    for (size_t i = 0; i < deck.size(); ++i) {
        for (int c = 0; c < plan.copies; ++c) gProfile.AddCard(deck[i]);
        if (static_cast<int>(i) < plan.deckCards) gProfile.AddToDeck(deck[i], false);
    }
    ClearStatistics();
    for (int i = 0; i < kOpponentCount; ++i) gGamesWon[i] = i % kLevelCount < plan.levelsBeaten ? 1 : 0;
    for (int level = 0; level < kLevelCount; ++level) {
        gTourneysWon[level] = level < plan.tourneysWon ? 1 : 0;
        gTourneysPlayed[level] = gTourneysWon[level];
    }
    return SavePlayer();
}

// A value of the character loaded into gProfile and the statistics, by the
// name scenario scripts use: name, credits, cards (copies), distinct, deck
// (cards in it), deck-ids (by position), won / lost / tied (all opponents) or
// won:<level>:<index> and the like, tourneys-won:<level>, tourneys-played:<level>.
// False for a name that is none of these.
inline bool CharacterValue(const std::string& key, std::string& value) {
    std::vector<std::string> parts;
    for (size_t at = 0; at <= key.size();) {
        const size_t colon = std::min(key.find(':', at), key.size());
        parts.push_back(key.substr(at, colon - at));
        at = colon + 1;
    }
    // A level or an index below the limit, written as a plain number.
    auto below = [](const std::string& text, int limit, int& out) {
        out = text.size() == 1 || (text.size() == 2 && text[0] != '0') ? std::atoi(text.c_str()) : -1;
        return text.find_first_not_of("0123456789") == std::string::npos && out >= 0 && out < limit;
    };
    const std::string& name = parts[0];
    const int16_t* opponents = name == "won"    ? gGamesWon
                               : name == "lost" ? gGamesLost
                               : name == "tied" ? gGamesTied
                                                : nullptr;
    const int16_t* tourneys = name == "tourneys-won"      ? gTourneysWon
                              : name == "tourneys-played" ? gTourneysPlayed
                                                          : nullptr;
    int level = 0, index = 0;
    if (opponents != nullptr && parts.size() == 1) {
        int sum = 0;
        for (int i = 0; i < kOpponentCount; ++i) sum += opponents[i];
        value = std::to_string(sum);
    } else if (opponents != nullptr && parts.size() == 3 && below(parts[1], kLevelCount, level) &&
               below(parts[2], kOpponentCount / kLevelCount, index)) {
        value = std::to_string(opponents[StatisticsIndex(index, level)]);
    } else if (tourneys != nullptr && parts.size() == 2 && below(parts[1], kLevelCount, level)) {
        value = std::to_string(tourneys[level]);
    } else if (key == "name") {
        value = Narrow(gProfile.GetName());
    } else if (key == "credits") {
        value = std::to_string(gProfile.GetCredits());
    } else if (key == "cards") {
        value = std::to_string(gProfile.GetTotalCards());
    } else if (key == "distinct") {
        value = std::to_string(gProfile.CountDistinct());
    } else if (key == "deck") {
        value = std::to_string(gProfile.GetDeck().GetCount());
    } else if (key == "deck-ids") {
        // Position by position up to the last filled one; -1 for an empty one.
        int last = kDeckSize - 1;
        while (last >= 0 && gProfile.GetDeck().CardAt(last).GetId() == -1) --last;
        value.clear();
        for (int i = 0; i <= last; ++i) {
            value += (i == 0 ? "" : ",") + std::to_string(gProfile.GetDeck().CardAt(i).GetId());
        }
    } else {
        return false;
    }
    return true;
}

// Loads the slot's file with the game's loader (the installation in use)
// and compares the wanted "key=value" pairs; one message per difference.
// deck-ids may be written as ranges ("1-16").
inline std::vector<std::string> CheckCharacter(int slot, const std::vector<std::string>& wanted) {
    gProfile = PlayerProfile();
    ClearStatistics();
    if (!LoadPlayerSave(slot)) return {"the character file of slot " + std::to_string(slot) + " does not load"};
    std::vector<std::string> failures;
    if (gProfile.GetSlot() != slot) failures.push_back("the file holds slot " + std::to_string(gProfile.GetSlot()));
    for (const std::string& pair : wanted) {
        const size_t eq = pair.find('=');
        std::string want = eq == std::string::npos ? "" : pair.substr(eq + 1);
        std::string have;
        if (eq == std::string::npos || !CharacterValue(pair.substr(0, eq), have)) {
            failures.push_back("no such value: " + pair);
            continue;
        }
        std::vector<int16_t> ids;
        if (pair.rfind("deck-ids=", 0) == 0 && ParseIds(want, ids)) {
            want.clear();
            for (size_t i = 0; i < ids.size(); ++i) want += (i == 0 ? "" : ",") + std::to_string(ids[i]);
        }
        if (have != want) failures.push_back(pair + " (" + have + " in the file)");
    }
    return failures;
}

// Every value of the slot's file by the names CharacterValue knows, one
// counter each ("won:0:3"), and "card:<id>" for the copies of each card;
// empty when the file does not load (the installation in use).
inline std::map<std::string, std::string> CharacterContents(int slot) {
    gProfile = PlayerProfile();
    ClearStatistics();
    std::map<std::string, std::string> contents;
    if (!LoadPlayerSave(slot)) return contents;
    std::vector<std::string> keys = {"name", "credits", "deck-ids"};
    for (int level = 0; level < kLevelCount; ++level) {
        const std::string l = std::to_string(level);
        keys.push_back("tourneys-won:" + l);
        keys.push_back("tourneys-played:" + l);
        for (int index = 0; index < kOpponentCount / kLevelCount; ++index) {
            for (const char* counter : {"won:", "lost:", "tied:"})
                keys.push_back(counter + l + ":" + std::to_string(index));
        }
    }
    for (const std::string& key : keys) CharacterValue(key, contents[key]);
    contents["perfects-realised"] = std::to_string(gPerfectsRealised);
    contents["perfects-received"] = std::to_string(gPerfectsReceived);
    for (int16_t id = 1; id <= GetCardCount(); ++id) {
        contents["card:" + std::to_string(id)] = std::to_string(gProfile.GetCardCount(id));
    }
    return contents;
}

// Replaces the installation's linked "DATA" folder by a copy whose card
// database gives every card of level L the power powers[L - 1] in all eight
// directions; names, worth and levels stay. So a test can make one side
// unbeatable: a card is captured only by a higher power.
inline bool UseCardPowers(const std::filesystem::path& install, const int powers[4]) {
    namespace fs = std::filesystem;
    const fs::path data = install / "DATA";
    std::error_code error;
    const fs::path source = fs::read_symlink(data, error);
    if (error || !fs::remove(data, error)) return false;
    fs::copy(source, data, fs::copy_options::recursive, error);
    const fs::path cards = data / "CARDS" / "SET 1";
    const Bytes index = ReadBytes(cards / "CARDS.IND");
    const Bytes records = ReadBytes(cards / "CARDS.DAT");
    auto int32At = [&index](size_t at) {
        return static_cast<int32_t>(index[at] | index[at + 1] << 8 | index[at + 2] << 16 |
                                    static_cast<uint32_t>(index[at + 3]) << 24);
    };
    if (error || index.size() < 4) return false;
    const int32_t count = int32At(0);
    if (count < 0 || index.size() < 8 + 4 * static_cast<size_t>(count)) return false;
    Bytes outIndex(index.begin(), index.begin() + 4);
    Bytes outData;
    auto appendOffset = [&] {
        for (int shift = 0; shift < 32; shift += 8) outIndex.push_back(static_cast<uint8_t>(outData.size() >> shift));
    };
    for (int32_t i = 0; i < count; ++i) {
        const size_t from = static_cast<size_t>(int32At(4 + 4 * i));
        const size_t to = static_cast<size_t>(int32At(8 + 4 * i));
        std::string record;
        for (size_t b = from; b < to && b < records.size(); ++b)
            record.push_back(static_cast<char>(records[b] ^ kDataFileKey));
        // Fields: #name# CR LF #powers#worth#level#
        std::vector<size_t> hashes;
        for (size_t c = 0; c < record.size(); ++c) {
            if (record[c] == '#') hashes.push_back(c);
        }
        if (hashes.size() < 8) return false;
        const int level = std::atoi(record.substr(hashes[6] + 1, hashes[7] - hashes[6] - 1).c_str());
        const std::string digits(8, static_cast<char>('0' + powers[(level - 1) & 3]));
        record = record.substr(0, hashes[2] + 1) + digits + record.substr(hashes[3]);
        appendOffset();
        for (char c : record) outData.push_back(static_cast<uint8_t>(c ^ kDataFileKey));
    }
    appendOffset();
    WriteBytes(cards / "CARDS.IND", outIndex);
    WriteBytes(cards / "CARDS.DAT", outData);
    return true;
}

}  // namespace qv::test
