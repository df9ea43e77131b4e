// The music layer through our output driver on the headless backend: loading,
// pacing, the end of a tune and the timer's restart, the sound switch.
#include <gtest/gtest.h>
#include <mikmod.h>

#include "engine/music.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

// A 4-channel ProTracker module: one pattern of `rows` rows (a pattern
// break on the last), one looped square-wave sample; it plays rows x 120 ms.
std::vector<uint8_t> MakeModule(int rows) {
    std::vector<uint8_t> mod(1084, 0);
    const char title[] = "quorvane test";
    std::copy(title, title + sizeof(title) - 1, mod.begin());
    for (int s = 0; s < 31; ++s) {
        uint8_t* header = mod.data() + 20 + 30 * s;
        if (s == 0) {
            header[22] = 0;   // length 16 words, big-endian
            header[23] = 16;
            header[25] = 64;  // volume
            header[29] = 16;  // loop length 16 words
        } else {
            header[29] = 1;   // no loop
        }
    }
    mod[950] = 1;     // one order
    mod[951] = 0x7F;
    mod[1080] = 'M';
    mod[1081] = '.';
    mod[1082] = 'K';
    mod[1083] = '.';
    std::vector<uint8_t> pattern(64 * 4 * 4, 0);
    const int period = 428;
    pattern[0] = static_cast<uint8_t>((1 & 0xF0) | ((period >> 8) & 0x0F));
    pattern[1] = static_cast<uint8_t>(period & 0xFF);
    pattern[2] = static_cast<uint8_t>((1 & 0x0F) << 4);
    uint8_t* last = pattern.data() + (rows - 1) * 16;
    last[2] = 0x0D;  // pattern break
    mod.insert(mod.end(), pattern.begin(), pattern.end());
    for (int i = 0; i < 32; ++i) mod.push_back(i < 16 ? 100 : static_cast<uint8_t>(-100));
    return mod;
}

constexpr int kRows = 8;  // 960 ms

class MusicTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        dir_ = test::ProcessTempDir("music");
        test::StartHeadless(dir_);
        test::WriteBytes(dir_ / "SOUNDS" / "Tune.QVX", MakeModule(kRows));
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

    // Keeps the music going on the virtual clock until the tune stops or
    // the time runs out; gives the virtual milliseconds that passed.
    static uint32_t PlayUntilStopped(uint32_t limitMs) {
        const uint32_t start = platform::GetTickCount();
        while (IsMusicPlaying() && platform::GetTickCount() - start < limitMs) {
            UpdateMusic();
            platform::Sleep(5);
        }
        return platform::GetTickCount() - start;
    }

    // Runs the main loop's dispatching (timers included) for a while, or
    // until the tune plays again.
    static bool PumpUntilPlaying(uint32_t limitMs) {
        const uint32_t start = platform::GetTickCount();
        while (platform::GetTickCount() - start < limitMs) {
            platform::Msg msg;
            while (platform::PeekMessage(&msg, 0, 0, true)) platform::DispatchMessage(msg);
            if (IsMusicPlaying()) return true;
            platform::Sleep(5);
        }
        return false;
    }

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
    const uint32_t played = PlayUntilStopped(5000);
    EXPECT_FALSE(IsMusicPlaying());
    EXPECT_GE(played, 700u);
    EXPECT_LE(played, 1500u);

    // The 100 ms timer starts it again from the top.
    EXPECT_TRUE(PumpUntilPlaying(400));
    EXPECT_EQ(Player_GetModule(), gMusicModule);
    const uint32_t again = PlayUntilStopped(5000);
    EXPECT_GE(again, 700u);

    const std::string trace = test::ReadText(dir_ / "trace.txt");
    EXPECT_NE(trace.find("tune "), std::string::npos);
    EXPECT_NE(trace.find("TUNE.qvx"), std::string::npos);
}

TEST_F(MusicTest, EndedTuneStaysSilentWhileMusicIsDisabledOrFreed) {
    ASSERT_TRUE(LoadMusic(TunePath()));
    PlayMusic(0);
    SetMusicEnabled(0);
    PlayUntilStopped(5000);
    ASSERT_FALSE(IsMusicPlaying());
    EXPECT_FALSE(PumpUntilPlaying(500));

    SetMusicEnabled(1);
    FreeMusic();
    EXPECT_EQ(gMusicModule, nullptr);
    EXPECT_EQ(gMusicPlaying, 0);
    EXPECT_FALSE(PumpUntilPlaying(500));
}

TEST_F(MusicTest, SoundSwitchStopsUpdatesSoTheTunePausesAndThenGoesOn) {
    ASSERT_TRUE(LoadMusic(TunePath()));
    PlayMusic(0);
    SetMusicVolume(0);
    EXPECT_EQ(gMusicOff, 1);
    EXPECT_EQ(md_volume, 0);
    // Three seconds without updates: the tune has not moved on.
    PlayUntilStopped(3000);
    EXPECT_TRUE(IsMusicPlaying());

    SetMusicVolume(50);
    EXPECT_EQ(gMusicOff, 0);
    EXPECT_EQ(md_volume, 50);
    const uint32_t rest = PlayUntilStopped(5000);
    EXPECT_FALSE(IsMusicPlaying());
    EXPECT_GE(rest, 700u);
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
