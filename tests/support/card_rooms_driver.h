// The card rooms through the real program: a character file and a quick
// save that start it in a given club screen, scripts of tests/scenarios/cards/,
// and the character file read back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cards/card_database.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "tests/support/club_driver.h"
#include "tests/support/game_runner.h"

namespace qv::test {

// What the character of slot 1 owns before the run.
struct CharacterSetUp {
    int32_t credits = kStartingCredits;
    std::vector<int16_t> cards;  // one copy each; an id twice is two copies
    std::vector<int16_t> deck;   // positions 0.. in order; each must be owned
};

class RoomsScenario : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        install_ = runner_.LinkInstallation(QV_INSTALL_DIR);
        runner_.WriteRegistry(install_);
        runner_.Setenv("QUORVANE_AUDIO", "none");
        // For a look at the screens: every frame of the runs as PNG files there.
        if (const char* frames = std::getenv("QV_ROOMS_FRAMES")) {
            runner_.Setenv("QUORVANE_CAPTURE", "all");
            runner_.Setenv("QUORVANE_CAPTURE_DIR", frames);
            runner_.Setenv("QUORVANE_TRACE", std::string(frames) + "/trace.txt");
        }
        savedInstallDir_ = gInstallDir;
    }
    void TearDown() override { gInstallDir = savedInstallDir_; }

    // gInstallDir at the run's installation while the block runs.
    template <class F>
    void InRunInstallation(F&& body) {
        UseInstallDir(install_);
        body();
        gInstallDir = savedInstallDir_;
    }

    // Writes "SAVE\Player1.QCP" through the game's own saver.
    void GiveCharacter(const CharacterSetUp& setUp) {
        InRunInstallation([&] {
            gProfile = PlayerProfile();
            gProfile.SetKind(kLocalPlayer);
            gProfile.SetName(u"DEALER");
            gProfile.SetSlot(1);
            gProfile.AddCredits(setUp.credits - gProfile.GetCredits());
            for (int16_t id : setUp.cards) gProfile.AddCard(id);
            for (int16_t id : setUp.deck) gProfile.AddToDeck(id, false);
            SavePlayer();
        });
    }

    // The quick save that starts the run: slot 1, the club's block, club active.
    void StartIn(const ClubBlock& block) {
        std::vector<uint8_t> bytes = {1};
        const std::vector<uint8_t> club = block.Bytes();
        bytes.insert(bytes.end(), club.begin(), club.end());
        bytes.push_back(1);
        std::ofstream out(install_ + "/SAVE/QuickSave.QCP", std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // The club view standing at the room.
    static ClubBlock AtRoom(int room) {
        ClubBlock block;
        block.header.room = static_cast<int16_t>(room);
        block.header.frame = static_cast<int16_t>(Club::RoomFrame(room));
        return block;
    }
    // The card shop open over the club view at its room.
    static ClubBlock InShop(std::vector<uint8_t> shopState = {0, 0}) {
        ClubBlock block = AtRoom(3);
        block.header.current = kScreenShop;
        block.header.shopReturn = kScreenClubView;
        block.Add(kRecordShop, std::move(shopState));
        return block;
    }

    GameRun RunScript(const std::string& name) {
        std::ifstream in(std::string(QV_SOURCE_DIR) + "/tests/scenarios/cards/" + name);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_FALSE(text.str().empty()) << name;
        runner_.WriteScript(text.str());
        return runner_.Run();
    }

    // Loads the character file of slot 1 into gProfile; false when it is
    // missing or damaged.
    bool ReadCharacter() {
        bool ok = false;
        InRunInstallation([&] {
            gProfile = PlayerProfile();
            gProfile.SetKind(kLocalPlayer);
            ok = LoadPlayerSave(1);
        });
        return ok;
    }

    // The position of the first trace line containing the text from `from`
    // on, or -1.
    static int TraceIndex(const GameRun& run, const std::string& text, int from = 0) {
        for (size_t i = static_cast<size_t>(from); i < run.trace.size(); ++i) {
            if (run.trace[i].find(text) != std::string::npos) return static_cast<int>(i);
        }
        return -1;
    }

    GameRunner runner_;
    std::string install_;
    WString savedInstallDir_;
};

}  // namespace qv::test
