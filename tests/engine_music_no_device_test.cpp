// The music layer on a machine whose sound device fails (the window backend
// on SDL's dummy video, with an audio driver that does not exist): the
// set-up's box once, then silence, and nothing that reaches the library
// crashes.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "engine/music.h"
#include "platform/system.h"
#include "tests/support/files.h"
#include "tests/support/music.h"
#include "tests/support/temp_dir.h"

namespace qv {
namespace {

TEST(MusicWithoutDevice, InitialisationFailsWithItsBoxAndTheGameGoesOnSilently) {
    const auto dir = test::ProcessTempDir("music-no-device");
    ::setenv("QUORVANE_BACKEND", "sdl", 1);
    ::setenv("SDL_VIDEODRIVER", "dummy", 1);
    ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    // No box on a desktop: SDL's fails without one, and the answer is Ok.
    ::unsetenv("DISPLAY");
    ::unsetenv("WAYLAND_DISPLAY");
    ::unsetenv("QUORVANE_AUDIO");
    ::setenv("QUORVANE_REGISTRY", (dir / "registry.txt").c_str(), 1);
    ::setenv("QUORVANE_TRACE", (dir / "trace.txt").c_str(), 1);
    ASSERT_TRUE(platform::Startup());
    // The file is a tune: only the missing device keeps it from loading.
    test::WriteBytes(dir / "Tune.QVX", test::MakeModule(8));

    EXPECT_FALSE(InitSound());
    SetMusicVolume(50);
    SetMusicEnabled(1);
    EXPECT_FALSE(LoadMusic(test::HandheldPath(dir / "Tune.QVX")));
    EXPECT_EQ(gMusicModule, nullptr);
    PlayMusic(0);
    EXPECT_EQ(gMusicPlaying, 0);
    EXPECT_FALSE(test::PumpUntilPlaying(300));
    UpdateMusic();
    EXPECT_FALSE(IsMusicPlaying());
    FreeMusic();

    const std::string trace = test::ReadText(dir / "trace.txt");
    EXPECT_NE(trace.find("msgbox \"Impossible d'initialiser le son\" \"Error initsound\""), std::string::npos) << trace;
    EXPECT_EQ(trace.find("Load sound error"), std::string::npos) << "one message, not one a tune";
}

}  // namespace
}  // namespace qv
