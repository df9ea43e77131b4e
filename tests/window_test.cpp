// The game in a real window (the SDL backend on an X server of the test's
// own), driven as a user and a window manager drive it: it reaches the
// character screen without a sound box, the click that brings the window to
// the front acts, the close button saves and ends with 0, and at scale 1 the
// window shows the headless backend's pixels.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/image.h"
#include "tests/support/characters.h"
#include "tests/support/club_driver.h"
#include "tests/support/game_runner.h"
#include "tests/support/x_server.h"

namespace qv {
namespace {

// Generous: the sanitizer build on a busy machine starts slowly.
constexpr int kWaitSeconds = 90;

// The loading screen's tap, and the character screen's quick game button.
constexpr int kLoadingTapX = 120;
constexpr int kLoadingTapY = 160;
constexpr int kQuickGameX = 100;
constexpr int kQuickGameY = 243;

// The game's title on its window.
const char* const kTitle = "Quorvane";

// A PNG frame the headless backend captured, reduced to 5-6-5 as the
// window's picture is; empty when it does not decode.
std::vector<uint16_t> Frame565(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return {};
    platform::Bitmap24 bitmap;
    auto read = [](void* context, uint8_t* buffer, uint32_t size) -> int32_t {
        return static_cast<int32_t>(std::fread(buffer, 1, size, static_cast<FILE*>(context)));
    };
    const bool ok = platform::DecompressImage(read, file, &bitmap);
    std::fclose(file);
    std::vector<uint16_t> frame;
    if (!ok) return frame;
    for (size_t i = 0; i + 2 < bitmap.rgb.size(); i += 3) {
        frame.push_back(test::XServer::To565(bitmap.rgb[i], bitmap.rgb[i + 1], bitmap.rgb[i + 2]));
    }
    return frame;
}

int CountDifferences(const std::vector<uint16_t>& a, const std::vector<uint16_t>& b) {
    if (a.size() != b.size()) return static_cast<int>(std::max(a.size(), b.size()));
    int count = 0;
    for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i] ? 1 : 0;
    return count;
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x_.Start()) << x_.Error();
        install_ = window_.LinkInstallation();
        window_.WriteRegistry(install_);
        window_.Setenv("QUORVANE_BACKEND", "sdl");
        window_.Setenv("DISPLAY", x_.Name());
        window_.Setenv("SDL_VIDEODRIVER", "x11");
        window_.Setenv("WAYLAND_DISPLAY", "");
        window_.Setenv("SDL_AUDIODRIVER", "");
        window_.Setenv("QUORVANE_AUDIO", "none");
        window_.Setenv("QUORVANE_SCALE", "1");
        window_.Setenv("QUORVANE_TIME", "1000000000");
        // In the sanitizer build: the desktop's libraries (D-Bus, the OpenGL
        // driver) keep allocations at exit that the leak check would report
        // as the game's; the headless runs check the game's own.
        const char* asan = std::getenv("ASAN_OPTIONS");
        window_.Setenv("ASAN_OPTIONS", std::string(asan != nullptr ? asan : "") + ":detect_leaks=0");
        window_.CaptureStderr();
        window_.OwnProcessGroup();
    }

    // The game ends with everything it started (SDL shows a box from a
    // child process of its own).
    void TearDown() override {
        if (game_ > 0) {
            ::kill(-game_, SIGKILL);
            ::waitpid(game_, nullptr, 0);
        }
    }

    // Starts the game in its window and waits for the window.
    void StartGame() {
        game_ = window_.Start();
        ASSERT_GT(game_, 0);
        gameWindow_ = x_.FindWindow(kTitle, kWaitSeconds);
        ASSERT_NE(gameWindow_, 0u) << "no game window\n" << Trace();
        int width = 0, height = 0;
        ASSERT_TRUE(x_.Size(gameWindow_, width, height));
        scale_ = width / 240;
        ASSERT_GE(scale_, 1);
        ASSERT_EQ(height, 320 * scale_);
    }

    // Waits for a line of the game's trace that holds the text.
    ::testing::AssertionResult Traced(const std::string& text) const {
        if (window_.WaitForTrace(text, kWaitSeconds)) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "no trace line with \"" << text << "\"\n" << Trace();
    }

    std::string Trace() const {
        return "trace:\n" + window_.ReadFile("trace.txt") + "standard error:\n" + window_.ReadFile("stderr.txt");
    }

    // A tap at a point of the 240x320 screen.
    void Tap(int x, int y, bool focusFirst = false) {
        x_.Click(gameWindow_, x * scale_ + scale_ / 2, y * scale_ + scale_ / 2, focusFirst);
    }

    // Waits until the window shows the frame (at scale 1); how many pixels
    // still differ at the end.
    int WaitForPicture(const std::vector<uint16_t>& frame) const {
        int differences = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(kWaitSeconds);
        do {
            differences = CountDifferences(x_.Picture565(gameWindow_, 240, 320), frame);
            if (differences == 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        } while (std::chrono::steady_clock::now() < deadline);
        return differences;
    }

    // The same start headless: the loading screen's tap wait and, after the
    // tap, the settled character screen, as 5-6-5 frames.
    void HeadlessFrames(std::vector<uint16_t>& loading, std::vector<uint16_t>& character) const {
        test::GameRunner headless;
        headless.WriteRegistry(headless.LinkInstallation());
        headless.Setenv("QUORVANE_AUDIO", "none");
        headless.Setenv("QUORVANE_TIME", "1000000000");
        headless.WriteScript("on loading waiting for a tap\ncapture loading.png\ntap 120 160\n"
                             "on character shown\ncapture character.png\nquit 0\n");
        const test::GameRun run = headless.Run();
        ASSERT_EQ(run.exitCode, 0) << run.TraceText();
        loading = Frame565(headless.Path("loading.png"));
        character = Frame565(headless.Path("character.png"));
        ASSERT_EQ(loading.size(), 240u * 320u);
        ASSERT_EQ(character.size(), 240u * 320u);
    }

    test::XServer x_;
    test::GameRunner window_;
    std::string install_;
    pid_t game_ = -1;
    Window gameWindow_ = 0;
    int scale_ = 1;
};

TEST_F(WindowTest, NewPlayerReachesTheCharacterScreenWithoutASoundBox) {
    // The scale the desktop allows, as a player gets it.
    window_.Setenv("QUORVANE_SCALE", "");
    StartGame();
    EXPECT_GT(scale_, 1) << "a 1024x768 desktop holds the screen twice";
    ASSERT_TRUE(Traced("loading waiting for a tap"));
    Tap(kLoadingTapX, kLoadingTapY);
    ASSERT_TRUE(Traced("screen enter 8"));
    EXPECT_FALSE(window_.TraceHas("msgbox")) << Trace();
    EXPECT_TRUE(window_.TraceHas("tune ")) << "the music runs, on no device\n" << Trace();
}

TEST_F(WindowTest, SoundDeviceThatFailsShowsItsBoxOnceAndTheGameGoesOn) {
    window_.Setenv("QUORVANE_AUDIO", "");
    window_.Setenv("SDL_AUDIODRIVER", "no-such-driver");
    game_ = window_.Start();
    const Window box = x_.FindWindow("Error initsound", kWaitSeconds);
    ASSERT_NE(box, 0u) << "no sound box\n" << Trace();
    EXPECT_FALSE(window_.TraceHas("loading waiting")) << "the box holds the loading screen";
    x_.RequestClose(box);
    ASSERT_TRUE(Traced("msgbox \"Impossible d'initialiser le son\" \"Error initsound\""));
    gameWindow_ = x_.FindWindow(kTitle, kWaitSeconds);
    ASSERT_NE(gameWindow_, 0u);
    ASSERT_TRUE(Traced("loading waiting for a tap"));
    Tap(kLoadingTapX, kLoadingTapY);
    ASSERT_TRUE(Traced("screen enter 8"));
    EXPECT_EQ(window_.TraceCount("msgbox"), 1) << Trace();
}

TEST_F(WindowTest, ClickThatBringsTheWindowToTheFrontActs) {
    StartGame();
    ASSERT_TRUE(Traced("loading waiting for a tap"));

    // Another window has the focus; one click into the game's window: the
    // loading screen's wait for a tap ends.
    x_.OpenFocusedWindow(780, 20, 200, 200);
    Tap(kLoadingTapX, kLoadingTapY, true);
    ASSERT_TRUE(Traced("screen enter 8"));

    // Once more on a button, which acts on the release after its press.
    ASSERT_TRUE(Traced("character shown"));
    x_.OpenFocusedWindow(780, 400, 200, 200);
    Tap(kQuickGameX, kQuickGameY, true);
    ASSERT_TRUE(Traced("character quick game"));
}

TEST_F(WindowTest, CloseButtonSavesTheCharacterAndEndsWithZero) {
    ASSERT_TRUE(test::UseRunInstallation(install_, window_.Path("registry.txt")));
    test::CharacterPlan plan;
    plan.credits = 4321;
    ASSERT_TRUE(test::SaveCharacter(plan));
    ASSERT_TRUE(test::WriteBytes(std::filesystem::path(install_) / "SAVE" / "QuickSave.QCP",
                                 test::ClubQuickSave(test::ClubBlock().Bytes())));
    StartGame();
    ASSERT_TRUE(Traced("loading waiting for a tap"));
    Tap(kLoadingTapX, kLoadingTapY);
    ASSERT_TRUE(Traced("screen enter 13"));

    const size_t before = window_.ReadFile("trace.txt").size();
    x_.RequestClose(gameWindow_);
    const test::GameRun run = window_.Wait(game_, kWaitSeconds);
    game_ = -1;
    EXPECT_EQ(run.exitCode, 0) << run.TraceText() << run.errors;
    const std::string afterClose = window_.ReadFile("trace.txt").substr(before);
    EXPECT_NE(afterClose.find("Player1.QCP"), std::string::npos) << "no save after the close:\n" << afterClose;
    ASSERT_GE(run.trace.size(), 2u);
    EXPECT_NE(run.trace.back().find(" exit 0"), std::string::npos) << run.TraceText();
    // The line's time goes on from the one before it, also after the window
    // system has been shut down.
    const uint64_t last = std::stoull(run.trace.back());
    const uint64_t previous = std::stoull(run.trace[run.trace.size() - 2]);
    EXPECT_GE(last, previous);
    EXPECT_LT(last, previous + 60000) << run.TraceText();
    EXPECT_FALSE(window_.Exists("install/SAVE/QuickSave.QCP")) << "a close writes no quick save";
    EXPECT_EQ(test::CheckCharacter(1, {"name=TESTER", "credits=4321"}), std::vector<std::string>{});
}

TEST_F(WindowTest, AtScaleOneTheWindowShowsTheHeadlessPixels) {
    std::vector<uint16_t> loading, character;
    HeadlessFrames(loading, character);
    StartGame();
    ASSERT_EQ(scale_, 1);
    ASSERT_TRUE(Traced("loading waiting for a tap"));
    EXPECT_EQ(WaitForPicture(loading), 0) << "pixels that differ at the loading screen's tap wait";
    Tap(kLoadingTapX, kLoadingTapY);
    ASSERT_TRUE(Traced("character shown"));
    EXPECT_EQ(WaitForPicture(character), 0) << "pixels that differ at the character screen";
}

}  // namespace
}  // namespace qv
