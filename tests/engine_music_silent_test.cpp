// The music layer on a machine without any audio output: the set-up's
// message, then silence, and nothing that reaches the library crashes.
#include <gtest/gtest.h>

#include "engine/music.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

TEST(MusicWithoutDevice, InitialisationFailsWithItsMessageAndTheGameGoesOnSilently) {
    const auto dir = test::ProcessTempDir("music-silent");
    ::setenv("QUORVANE_AUDIO", "none", 1);
    test::StartHeadless(dir);
    // The file exists: only the missing device keeps it from loading.
    test::WriteBytes(dir / "Tune.QVX", std::vector<uint8_t>(2000, 0));

    EXPECT_FALSE(InitSound());
    SetMusicVolume(50);
    SetMusicEnabled(1);
    EXPECT_FALSE(LoadMusic(test::HandheldPath(dir / "Tune.QVX")));
    EXPECT_EQ(gMusicModule, nullptr);
    PlayMusic(0);
    EXPECT_EQ(gMusicPlaying, 0);
    for (int i = 0; i < 50; ++i) {
        UpdateMusic();
        platform::Msg msg;
        while (platform::PeekMessage(&msg, 0, 0, true)) platform::DispatchMessage(msg);
        platform::Sleep(10);
    }
    EXPECT_FALSE(IsMusicPlaying());
    FreeMusic();

    const std::string trace = test::ReadText(dir / "trace.txt");
    EXPECT_NE(trace.find("Impossible d'initialiser le son"), std::string::npos);
    EXPECT_NE(trace.find("Error initsound"), std::string::npos);
    EXPECT_EQ(trace.find("Load sound error"), std::string::npos) << "one message, not one a tune";
}

}  // namespace
}  // namespace qv
