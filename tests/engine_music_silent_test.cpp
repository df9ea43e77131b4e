// The music layer with QUORVANE_AUDIO=none: no sound box, and the tunes run
// as on a device, at the clock's pace, on an output that plays nothing.
#include <gtest/gtest.h>

#include "engine/music.h"
#include "platform/headless/headless.h"
#include "tests/support/headless.h"
#include "tests/support/music.h"

namespace qv {
namespace {

TEST(MusicOnNoOutput, StartsWithoutABoxAndTunesRunAndLoopUnheard) {
    const auto dir = test::ProcessTempDir("music-silent");
    test::StartHeadless(dir, {{"QUORVANE_AUDIO", "none"}});
    test::WriteBytes(dir / "Tune.QVX", test::MakeModule(8));  // 960 ms

    EXPECT_TRUE(InitSound());
    SetMusicVolume(50);
    SetMusicEnabled(1);
    ASSERT_TRUE(LoadMusic(test::HandheldPath(dir / "Tune.QVX")));
    PlayMusic(0);
    EXPECT_TRUE(IsMusicPlaying());
    const uint32_t played = test::PlayUntilStopped(5000);
    EXPECT_FALSE(IsMusicPlaying());
    EXPECT_GE(played, 700u);
    EXPECT_LE(played, 1500u);
    EXPECT_TRUE(test::PumpUntilPlaying(400)) << "the timer starts it again";
    FreeMusic();

    EXPECT_EQ(platform::headless::AudioBytesQueued(), 0u) << "nothing reaches the backend's output";
    const std::string trace = test::ReadText(dir / "trace.txt");
    EXPECT_EQ(trace.find("msgbox"), std::string::npos) << trace;
    EXPECT_NE(trace.find("tune "), std::string::npos);
}

}  // namespace
}  // namespace qv
