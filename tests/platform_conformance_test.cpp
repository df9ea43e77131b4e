// The same calls against both backends (SDL on its dummy drivers): what the
// game relies on must hold whichever backend runs.
#include <SDL.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <string>

#include "platform/backend.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/image.h"
#include "platform/keys.h"
#include "platform/link.h"
#include "platform/messages.h"
#include "platform/pixels.h"
#include "platform/sound.h"
#include "tests/support/headless.h"

namespace qv {
namespace {

using namespace platform;

int gTimerCalls = 0;
void CountTimer(WindowHandle, uint32_t, uintptr_t, uint32_t) { ++gTimerCalls; }
double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}
LResult IgnoreProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    return DefWindowProc(window, message, wParam, lParam);
}
LResult QuitOnDestroyProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    if (message == WM_DESTROY) PostQuitMessage(5);
    return DefWindowProc(window, message, wParam, lParam);
}
// The game's way out after a close in a wait, here: noted, and the other
// machine then speaks so that the receive ends.
int gQuitCode = -1;
int gPeerSocket = -1;
void NoteQuitAndSpeak(int code) {
    gQuitCode = code;
    const uint8_t byte = 42;
    EXPECT_EQ(::send(gPeerSocket, &byte, 1, MSG_NOSIGNAL), 1);
}

class Conformance : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        // Never a real window or sound device, whatever the machine has.
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        unsetenv("DISPLAY");
        unsetenv("WAYLAND_DISPLAY");
        unsetenv("QUORVANE_AUDIO");
        unsetenv("QUORVANE_PIXEL_FORMAT");
        setenv("QUORVANE_REGISTRY", dir_.Path("registry.txt").c_str(), 1);
        setenv("QUORVANE_TRACE", dir_.Path("trace.txt").c_str(), 1);
        setenv("QUORVANE_BACKEND", GetParam(), 1);
        if (!Startup()) {
            setenv("QUORVANE_BACKEND", "headless", 1);
            Startup();
            GTEST_SKIP() << "SDL does not start here";
        }
    }
    void TearDown() override {
        GXCloseDisplay();
        setenv("QUORVANE_BACKEND", "headless", 1);
        Startup();
    }
    test::TempDir dir_;
};

TEST_P(Conformance, DisplayOpensPresentsAndClosesTwice) {
    RegisterWindowClass(u"Quorvane", IgnoreProc);
    WindowHandle window = CreateWindow(u"Quorvane", u"Quorvane");
    ASSERT_NE(window, nullptr);
    ShowWindow(window, 1);
    UpdateWindow(window);
    ASSERT_EQ(GXOpenDisplay(window, GX_FULLSCREEN), 1);
    GXDisplayProperties p = GXGetDisplayProperties();
    EXPECT_EQ(p.cxWidth, 240u);
    EXPECT_EQ(p.cbyPitch, 480);
    EXPECT_EQ(p.ffFormat, 0x80u);
    EXPECT_EQ(GetSystemMetrics(kSmCxScreen), 240);
    EXPECT_EQ(GetSystemMetrics(kSmCyScreen), 320);
    for (int frame = 0; frame < 3; ++frame) {
        auto* memory = static_cast<uint16_t*>(GXBeginDraw());
        ASSERT_NE(memory, nullptr);
        memory[frame] = 0xFFFF;
        EXPECT_EQ(GXEndDraw(), 1);
    }
    GXSuspend();
    GXResume();
    EXPECT_EQ(GXCloseDisplay(), 1);
    EXPECT_EQ(GXCloseDisplay(), 1);
    EXPECT_EQ(GXBeginDraw(), nullptr);
}

TEST_P(Conformance, QueueTimersAndClockAgree) {
    PostMessage(nullptr, WM_KEYDOWN, kVkA, 0);
    PostMessage(nullptr, WM_LBUTTONDOWN, 0, MakeLParam(3, 4));
    Msg msg;
    ASSERT_TRUE(PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, true));
    EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_LBUTTONDOWN));
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, true));
    EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_KEYDOWN));

    gTimerCalls = 0;
    SetTimer(nullptr, 9, 20, CountTimer);
    const uint32_t start = GetTickCount();
    while (gTimerCalls == 0 && GetTickCount() - start < 2000) {
        if (PeekMessage(&msg, 0, 0, true)) DispatchMessage(msg);
    }
    KillTimer(nullptr, 9);
    EXPECT_EQ(gTimerCalls, 1);
    EXPECT_GE(GetTickCount() - start, 20u);

    const uint32_t beforeSleep = GetTickCount();
    Sleep(30);
    EXPECT_GE(GetTickCount() - beforeSleep, 30u);
}

int32_t ReadFromFile(void* context, uint8_t* buffer, uint32_t size) {
    return static_cast<int32_t>(fread(buffer, 1, size, static_cast<FILE*>(context)));
}

// Presents that repeat a frame or change a few rows leave the backend
// showing (and capturing) exactly the last frame, in every pixel format.
TEST_P(Conformance, LastFrameSurvivesRepeatedAndPartialPresentsInEveryFormat) {
    for (const char* format : {"555", "444", "565"}) {
        SCOPED_TRACE(format);
        GXCloseDisplay();
        setenv("QUORVANE_PIXEL_FORMAT", format, 1);
        ASSERT_TRUE(Startup());
        ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
        auto* memory = static_cast<uint16_t*>(GXBeginDraw());
        ASSERT_NE(memory, nullptr);
        for (int i = 0; i < 240 * 320; ++i) memory[i] = static_cast<uint16_t>(i * 37);
        GXEndDraw();
        GXBeginDraw();
        GXEndDraw();
        GXBeginDraw();
        memory[10 * 240 + 3] ^= 0x0F0F;
        memory[200 * 240 + 239] = 0;
        GXEndDraw();
        std::vector<uint16_t> expected(memory, memory + 240 * 320);

        const std::string png = dir_.Path(std::string("last-") + format + ".png");
        ASSERT_TRUE(CurrentBackend().CaptureLastFrame(png));
        FILE* file = fopen(png.c_str(), "rb");
        ASSERT_NE(file, nullptr);
        Bitmap24 shown;
        const bool decoded = DecompressImage(ReadFromFile, file, &shown);
        fclose(file);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(shown.rgb, FrameToRgb(expected.data(), 240 * 320, GXGetDisplayProperties().ffFormat));
    }
    unsetenv("QUORVANE_PIXEL_FORMAT");
}

TEST_P(Conformance, EmptyPeeksLetTimePassWithoutSpinning) {
    const bool window = std::string(GetParam()) == "sdl";
    // A key waiting outside the range must not make a stylus peek return at once.
    PostMessage(nullptr, WM_KEYDOWN, kVkA, 0);
    Msg msg;
    uint32_t start = GetTickCount();
    double cpuStart = ThreadCpuMs();
    for (int i = 0; i < 40; ++i) {
        EXPECT_FALSE(PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, true));
    }
    uint32_t elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 40u) << "each empty peek lets about a millisecond pass";
    if (window) {
        EXPECT_LT(ThreadCpuMs() - cpuStart, elapsed / 2.0) << "the peeks waited, they did not spin";
    }
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, true));
    EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_KEYDOWN));

    // The wait of the tick-polling loops: a real wait in the window, nothing
    // on the virtual clock, whose time moves only on tick queries.
    uint64_t virtualStart = headless::VirtualNow();
    start = GetTickCount();
    cpuStart = ThreadCpuMs();
    for (int i = 0; i < 20; ++i) WaitForMessages(1);
    if (window) {
        elapsed = GetTickCount() - start;
        EXPECT_GE(elapsed, 20u);
        EXPECT_LT(ThreadCpuMs() - cpuStart, elapsed / 2.0);
    } else {
        EXPECT_EQ(headless::VirtualNow(), virtualStart + 1) << "one tick query, no waiting";
    }
}

TEST_P(Conformance, AudioKeepsAboutATenthOfASecondQueued) {
    if (!OpenAudioOutput(44100, 1, 8)) {
        GTEST_SKIP() << "no audio device";
    }
    const uint32_t wanted = AudioBytesWanted();
    EXPECT_GT(wanted, 0u);
    EXPECT_LE(wanted, 4410u);
    std::vector<uint8_t> samples(wanted, 0x80);
    QueueAudio(samples.data(), wanted);
    EXPECT_LT(AudioBytesWanted(), wanted);
    CloseAudioOutput();
    CloseAudioOutput();
    EXPECT_EQ(AudioBytesWanted(), 0u);
}

// A drag let go outside the window: downs and moves stay on the screen, the
// release comes off it, whichever backend runs.
TEST_P(Conformance, ReleaseOutsideTheScreenComesOffIt) {
    if (std::string(GetParam()) == "headless") {
        test::WriteText(dir_.Path("script.txt"), "down 120 160\nmove -30 100\nup outside\n");
        setenv("QUORVANE_SCRIPT", dir_.Path("script.txt").c_str(), 1);
        ASSERT_TRUE(Startup());
        unsetenv("QUORVANE_SCRIPT");
    } else {
        SDL_Event event{};
        event.type = SDL_MOUSEBUTTONDOWN;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = 120;
        event.button.y = 160;
        SDL_PushEvent(&event);
        event = SDL_Event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.x = -30;
        event.motion.y = 100;
        SDL_PushEvent(&event);
        event = SDL_Event{};
        event.type = SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.x = -30;
        event.button.y = 100;
        SDL_PushEvent(&event);
    }
    std::vector<Msg> taken;
    const uint32_t start = GetTickCount();
    while (taken.size() < 3 && GetTickCount() - start < 2000) {
        Msg msg;
        if (PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, true)) taken.push_back(msg);
    }
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, static_cast<uint32_t>(WM_LBUTTONDOWN));
    EXPECT_EQ(taken[0].lParam, MakeLParam(120, 160));
    EXPECT_EQ(taken[1].message, static_cast<uint32_t>(WM_MOUSEMOVE));
    EXPECT_EQ(taken[1].lParam, MakeLParam(0, 100));
    EXPECT_EQ(taken[2].message, static_cast<uint32_t>(WM_LBUTTONUP));
    EXPECT_EQ(taken[2].lParam, MakeLParam(kStylusOutside, kStylusOutside));
}

// The window closed while a receive waits for a silent other machine: the
// close takes the game's way out then, not once the other machine speaks.
TEST_P(Conformance, AWindowClosedWhileTheLinkWaitsLeavesAtOnce) {
    RegisterWindowClass(u"Quorvane", QuitOnDestroyProc);
    ASSERT_NE(CreateWindow(u"Quorvane", u"Quorvane"), nullptr);
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    gPeerSocket = pair[1];
    gQuitCode = -1;
    SetQuitHandler(NoteQuitAndSpeak);
    if (std::string(GetParam()) == "sdl") {
        SDL_Event event{};
        event.type = SDL_QUIT;
        SDL_PushEvent(&event);
    } else {
        // Nothing reaches the headless queue during the wait: a close that
        // came before it is taken.
        PostMessage(nullptr, WM_CLOSE, 0, 0);
    }
    uint8_t buffer[8];
    ::alarm(10);  // a receive that never ends fails the test
    EXPECT_EQ(LinkReceive(pair[0], buffer, sizeof buffer), 1);
    ::alarm(0);
    EXPECT_EQ(gQuitCode, 5);
    EXPECT_EQ(buffer[0], 42);
    SetQuitHandler(nullptr);
    ::close(pair[0]);
    ::close(pair[1]);
}

INSTANTIATE_TEST_SUITE_P(Backends, Conformance, ::testing::Values("headless", "sdl"));

}  // namespace
}  // namespace qv
