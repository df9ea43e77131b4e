// Hand-made data files for the cards tests: a temporary installation
// directory with a card database of the test's making and its registry.
#pragma once

#include <stdlib.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "cards/card_database.h"
#include "engine/install_dir.h"
#include "tests/support/files.h"
#include "tests/support/installation.h"
#include "tests/support/temp_dir.h"

namespace qv::test {

inline void AppendInt32(Bytes& out, int32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * i)));
}

inline void AppendField(Bytes& out, const std::string& text) {
    out.push_back('#');
    out.insert(out.end(), text.begin(), text.end());
    out.push_back('#');
}

// Data-file bytes as stored: each XORed with kDataFileKey.
inline Bytes Scrambled(Bytes bytes) {
    for (uint8_t& b : bytes) b ^= kDataFileKey;
    return bytes;
}

// One plain record of the test set: name, eight power digits, raw worth, level.
struct TestCard {
    std::string name;
    std::string powers;
    int worth = 0;
    int level = 1;
};

// The test set's card k: powers grow with the level, worth with k.
inline TestCard DefaultTestCard(int id) {
    const int level = (id - 1) / 86 + 1;
    TestCard card;
    card.name = "card " + std::to_string(id);
    for (int d = 0; d < 8; ++d) card.powers.push_back(static_cast<char>('0' + (id + d * level) % 6));
    card.worth = id * 4 + 1;
    card.level = level;
    return card;
}

// A temporary install directory that becomes gInstallDir for the test's life.
class TempInstall {
public:
    TempInstall() {
        std::filesystem::create_directories(Root() / "SAVE");
        ::setenv("QUORVANE_REGISTRY", (Root() / "registry.txt").c_str(), 1);
        previousDir_ = gInstallDir;
        UseInstallDir(Root());
    }
    ~TempInstall() {
        CloseCardDatabase();
        gInstallDir = previousDir_;
    }
    TempInstall(const TempInstall&) = delete;
    TempInstall& operator=(const TempInstall&) = delete;

    const std::filesystem::path& Root() const { return dir_.Root(); }
    std::filesystem::path CardsDir() const { return Root() / "DATA" / "CARDS" / "SET 1"; }

    // Writes CARDS.IND / CARDS.DAT (count cards, from the maker) and CARDS.INF.
    void WriteCardDatabase(int count, const std::function<TestCard(int)>& maker = DefaultTestCard,
                           int32_t declaredCount = -1) {
        Bytes index;
        Bytes data;
        AppendInt32(index, declaredCount < 0 ? count : declaredCount);
        for (int id = 1; id <= count; ++id) {
            AppendInt32(index, static_cast<int32_t>(data.size()));
            const TestCard card = maker(id);
            Bytes record;
            AppendField(record, card.name);
            record.push_back('\r');
            record.push_back('\n');
            AppendField(record, card.powers);
            AppendField(record, std::to_string(card.worth));
            AppendField(record, std::to_string(card.level));
            for (uint8_t byte : record) data.push_back(static_cast<uint8_t>(byte ^ kDataFileKey));
        }
        AppendInt32(index, static_cast<int32_t>(data.size()));
        WriteBytes(CardsDir() / "CARDS.IND", index);
        WriteBytes(CardsDir() / "CARDS.DAT", data);

        Bytes info;
        for (int p = 0; p < count / 4; ++p) {
            AppendField(info, "Family " + std::to_string(p));
            for (int line = 1; line <= 4; ++line) AppendField(info, "line " + std::to_string(line));
            info.push_back('\n');
        }
        WriteBytes(CardsDir() / "CARDS.INF", Scrambled(info));
    }

    // The shipped-size test set, opened.
    bool OpenTestDatabase() {
        WriteCardDatabase(kCardSetSize);
        return OpenCardDatabase();
    }

private:
    TempDir dir_{"cards"};
    WString previousDir_;
};

}  // namespace qv::test
