// The real program takes a quick save in the club view and is resumed from it;
// truncated and edited club blocks resume on a working club view.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "club/club.h"
#include "engine/install_dir.h"
#include "engine/wstring.h"
#include "tests/support/game_runner.h"

namespace qv {
namespace {

using test::GameRun;
using test::GameRunner;

std::string ScriptFile(const std::string& name) {
    return test::ReadText(std::string(QV_SOURCE_DIR) + "/tests/scenarios/club-resume/" + name);
}

class ClubResumeTest : public ::testing::Test {
protected:
    void SetUp() override {
        runner_.WriteRegistry(runner_.LinkInstallation());
        runner_.Setenv("QUORVANE_AUDIO", "none");
        quickSave_ = runner_.Path("install/SAVE/QuickSave.QCP");
    }
    void TearDown() override { CloseCardDatabase(); }

    // Character 1 and a quick save on the club view at Instant Play, written
    // by the game's own savers in this process.
    void SaveCharacterAtInstantPlay() {
        setenv("QUORVANE_BACKEND", "headless", 1);
        setenv("QUORVANE_REGISTRY", runner_.Path("registry.txt").c_str(), 1);
        test::UseInstallDir(runner_.Path("install"));
        ASSERT_TRUE(OpenCardDatabase());
        gProfile = PlayerProfile();
        gProfile.SetKind(kLocalPlayer);
        gProfile.SetName(u"WALKER");
        gProfile.SetSlot(1);
        gClubActive = 1;
        gClub.Reset();
        SavePlayer();
        WriteQuickSave();
    }

    std::vector<uint8_t> QuickSaveBytes() const { return test::ReadBytes(quickSave_); }
    void WriteQuickSaveBytes(const std::vector<uint8_t>& bytes) const { test::WriteBytes(quickSave_, bytes); }
    GameRun RunScript(const std::string& name) {
        runner_.WriteScript(ScriptFile(name));
        return runner_.Run();
    }

    GameRunner runner_;
    std::string quickSave_;
};

TEST_F(ClubResumeTest, QuickSaveInTheClubViewComesBackAtTheSameRoom) {
    ASSERT_NO_FATAL_FAILURE(SaveCharacterAtInstantPlay());

    const GameRun take = RunScript("walk-to-the-cardshop-and-leave-by-the-a-prompt.script");
    ASSERT_EQ(take.exitCode, 0) << take.TraceText();
    const std::vector<uint8_t> b = QuickSaveBytes();
    // Slot byte, the club's 45 bytes, gClubActive; file offsets are block offsets + 1.
    ASSERT_EQ(b.size(), 47u);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[1 + 0], 1);               // input
    EXPECT_EQ(b[1 + 15], 13);             // the club view is current
    EXPECT_EQ(b[1 + 16] | b[1 + 17] << 8, 3);   // the cardshop's room
    EXPECT_EQ(b[1 + 18] | b[1 + 19] << 8, 14);  // and its frame
    EXPECT_EQ(b[46], 1);                  // gClubActive

    const GameRun resume = RunScript("resume-and-walk-on.script");
    ASSERT_EQ(resume.exitCode, 0) << resume.TraceText();
    EXPECT_FALSE(std::filesystem::exists(quickSave_)) << "read once only";
    EXPECT_TRUE(resume.Traced("screen enter 13"));
    EXPECT_TRUE(resume.Traced("club room 3")) << resume.TraceText();
    EXPECT_TRUE(resume.Traced("club room 4")) << "the walk goes on from the cardshop";
    EXPECT_FALSE(resume.Traced("club room 1"));
}

TEST_F(ClubResumeTest, DamagedClubBlocksResumeOnTheClubView) {
    ASSERT_NO_FATAL_FAILURE(SaveCharacterAtInstantPlay());
    const std::vector<uint8_t> whole = QuickSaveBytes();
    ASSERT_EQ(whole.size(), 47u);

    struct Damage {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Damage> damages;
    for (size_t length : {2u, 17u, 36u, 44u}) {
        damages.push_back({"cut", {whole.begin(), whole.begin() + static_cast<long>(length)}});
    }
    std::vector<uint8_t> edited = whole;
    edited[1 + 15] = 3;    // the cardshop current, with no shop record
    edited[1 + 16] = 77;   // room 77
    edited[1 + 18] = 200;  // frame 200
    edited[1 + 12] = 9;    // typing buffer 9
    damages.push_back({"edited", edited});
    std::vector<uint8_t> presence = whole;
    presence[1 + 35 + 2] = 5;  // a presence byte that is neither 0 nor 1
    damages.push_back({"presence", presence});

    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what + std::string(" ") + std::to_string(damage.bytes.size()));
        WriteQuickSaveBytes(damage.bytes);
        const GameRun run = RunScript("resume-and-walk-on.script");
        EXPECT_EQ(run.exitCode, 0) << run.TraceText();
        EXPECT_TRUE(run.Traced("screen enter 13"));
        EXPECT_TRUE(run.Traced("club room 1"));
        EXPECT_TRUE(run.Traced("club room 2")) << "the view walks";
    }
}

}  // namespace
}  // namespace qv
