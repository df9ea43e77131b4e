// The music layer through our output driver on the headless backend: loading,
// pacing, the end of a tune and the timer's restart, the sound switch.
#include <gtest/gtest.h>
#include <mikmod.h>

#include "engine/music.h"
#include "tests/support/headless.h"
#include "tests/support/music.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

constexpr int kRows = 8;  // 960 ms

class MusicTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = test::ProcessTempDir("music");
        test::StartHeadless(dir_);
        test::WriteBytes(dir_ / "SOUNDS" / "Tune.QVX", test::MakeModule(kRows));
        ready_ = InitSound();
    }

    void SetUp() override {
        ASSERT_TRUE(ready_) << "the headless output should always initialise";
        FreeMusic();
        SetMusicVolume(50);
        SetMusicEnabled(1);
    }

    // The path in the handheld's form, in a case the file does not have, so
    // that only a mapped path finds it.
    static WString TunePath() { return test::HandheldPath(dir_) + u"\\sounds\\TUNE.qvx"; }

    static inline std::filesystem::path dir_;
    static inline bool ready_ = false;
};

TEST_F(MusicTest, TunePlaysAtTheOutputsPaceEndsAndTheTimerRestartsIt) {
    ASSERT_TRUE(LoadMusic(TunePath()));
    ASSERT_NE(gMusicModule, nullptr);
    PlayMusic(0);
    EXPECT_EQ(gMusicPlaying, 1);
    EXPECT_TRUE(IsMusicPlaying());

    // Mixed only as the output asks: the tune neither ends at once nor runs
    // much longer than its 960 ms.
    const uint32_t played = test::PlayUntilStopped(5000);
    EXPECT_FALSE(IsMusicPlaying());
    EXPECT_GE(played, 700u);
    EXPECT_LE(played, 1500u);

    // The 100 ms timer starts it again from the top.
    EXPECT_TRUE(test::PumpUntilPlaying(400));
    EXPECT_EQ(Player_GetModule(), gMusicModule);
    const uint32_t again = test::PlayUntilStopped(5000);
    EXPECT_GE(again, 700u);

    const std::string trace = test::ReadText(dir_ / "trace.txt");
    EXPECT_NE(trace.find("tune "), std::string::npos);
    EXPECT_NE(trace.find("TUNE.qvx"), std::string::npos);
}

TEST_F(MusicTest, EndedTuneStaysSilentWhileMusicIsDisabledOrFreed) {
    ASSERT_TRUE(LoadMusic(TunePath()));
    PlayMusic(0);
    SetMusicEnabled(0);
    test::PlayUntilStopped(5000);
    ASSERT_FALSE(IsMusicPlaying());
    EXPECT_FALSE(test::PumpUntilPlaying(500));

    SetMusicEnabled(1);
    FreeMusic();
    EXPECT_EQ(gMusicModule, nullptr);
    EXPECT_EQ(gMusicPlaying, 0);
    EXPECT_FALSE(test::PumpUntilPlaying(500));
}

TEST_F(MusicTest, SoundSwitchStopsUpdatesSoTheTunePausesAndThenGoesOn) {
    ASSERT_TRUE(LoadMusic(TunePath()));
    PlayMusic(0);
    SetMusicVolume(0);
    EXPECT_EQ(gMusicOff, 1);
    EXPECT_EQ(md_volume, 0);
    // Three seconds without updates: the tune has not moved on.
    test::PlayUntilStopped(3000);
    EXPECT_TRUE(IsMusicPlaying());

    SetMusicVolume(50);
    EXPECT_EQ(gMusicOff, 0);
    EXPECT_EQ(md_volume, 50);
    const uint32_t rest = test::PlayUntilStopped(5000);
    EXPECT_FALSE(IsMusicPlaying());
    EXPECT_GE(rest, 700u);
}

// Screens change back and forth between a few tunes: a tune loaded again
// from the same bytes is the one already in memory, started from its top
// (not from where it was freed); a file whose bytes changed is loaded anew.
TEST_F(MusicTest, TuneLoadedAgainIsTheKeptOneFromItsTopUnlessItsFileChanged) {
    ASSERT_TRUE(LoadMusic(TunePath()));
    MODULE* const first = gMusicModule;
    PlayMusic(0);
    test::PlayUntilStopped(600);  // freed in the middle of the tune
    ASSERT_TRUE(IsMusicPlaying());
    FreeMusic();
    EXPECT_FALSE(IsMusicPlaying());
    EXPECT_EQ(gMusicModule, nullptr);

    ASSERT_TRUE(LoadMusic(TunePath()));
    EXPECT_EQ(gMusicModule, first);
    EXPECT_FALSE(IsMusicPlaying()) << "loading does not start it";
    PlayMusic(0);
    EXPECT_EQ(Player_GetModule(), first);
    EXPECT_GE(test::PlayUntilStopped(5000), 700u) << "the whole 960 ms again";
    FreeMusic();

    const std::filesystem::path file = dir_ / "SOUNDS" / "Tune.QVX";
    test::WriteBytes(file, test::MakeModule(2 * kRows));
    ASSERT_TRUE(LoadMusic(TunePath()));
    EXPECT_NE(gMusicModule, first);
    PlayMusic(0);
    EXPECT_GE(test::PlayUntilStopped(5000), 1500u) << "the new file's 1920 ms";
    FreeMusic();
    test::WriteBytes(file, test::MakeModule(kRows));
    ASSERT_TRUE(LoadMusic(TunePath()));
    EXPECT_EQ(gMusicModule, first) << "the first bytes again: the first module";
}

TEST_F(MusicTest, MissingModuleShowsItsPathAndTheGameGoesOnSilently) {
    const WString missing = test::HandheldPath(dir_) + u"\\SOUNDS\\Nothing.QVX";
    EXPECT_FALSE(LoadMusic(missing));
    EXPECT_EQ(gMusicModule, nullptr);
    PlayMusic(0);
    EXPECT_EQ(gMusicPlaying, 0);
    EXPECT_FALSE(IsMusicPlaying());
    UpdateMusic();

    const std::string trace = test::ReadText(dir_ / "trace.txt");
    const size_t box = trace.find("Load sound error");
    ASSERT_NE(box, std::string::npos);
    EXPECT_NE(trace.rfind("Nothing.QVX", box + 200), std::string::npos);
}

TEST_F(MusicTest, SoundEffectsAreSilentWhileTheSwitchIsOn) {
    test::WriteBytes(dir_ / "SOUNDS" / "carte.QVW", {'R', 'I', 'F', 'F'});
    const WString effect = test::HandheldPath(dir_) + u"\\SOUNDS\\carte.QVW";
    SetMusicVolume(0);
    PlaySoundEffect(effect);
    const size_t before = test::ReadText(dir_ / "trace.txt").find("carte.QVW");
    SetMusicVolume(50);
    PlaySoundEffect(effect);
    const std::string trace = test::ReadText(dir_ / "trace.txt");
    EXPECT_EQ(before, std::string::npos);
    EXPECT_NE(trace.find("carte.QVW"), std::string::npos);
}

}  // namespace
}  // namespace qv
