// The message queue: filtered peeks, priorities of timers and paint, mouse
// coalescing, the close road and the single-instance check across processes.
#include <poll.h>
#include <sys/wait.h>

#include <vector>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/internal.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "tests/support/headless.h"

namespace qv {
namespace {

using namespace platform;

std::vector<uint32_t> gReceived;

LResult RecordingProc(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
    gReceived.push_back(message);
    if (message == WM_DESTROY) {
        PostQuitMessage(5);
    }
    if (message == WM_CLOSE) {
        return DefWindowProc(window, message, wParam, lParam);
    }
    return 0;
}

std::vector<int> gQuitCodes;
void RecordQuit(int code) { gQuitCodes.push_back(code); }

struct TimerCall {
    uintptr_t id;
    uint32_t message;
};
std::vector<TimerCall> gTimerCalls;

void RecordingTimer(WindowHandle, uint32_t message, uintptr_t id, uint32_t) { gTimerCalls.push_back({id, message}); }

class Messages : public test::PlatformTest {
protected:
    void SetUp() override {
        PlatformTest::SetUp();
        gReceived.clear();
        gTimerCalls.clear();
        gQuitCodes.clear();
    }

    WindowHandle MakeWindow() {
        EXPECT_NE(RegisterWindowClass(u"Quorvane", RecordingProc), 0);
        WindowHandle window = CreateWindow(u"Quorvane", u"Quorvane");
        EXPECT_NE(window, nullptr);
        return window;
    }

    // Every message of the range, removed, in the order taken.
    std::vector<uint32_t> Drain(uint32_t first, uint32_t last) {
        std::vector<uint32_t> taken;
        Msg msg;
        while (PeekMessage(&msg, first, last, true)) {
            taken.push_back(msg.message);
        }
        return taken;
    }
};

TEST_F(Messages, FilteredPeekTakesOnlyItsRangeAndKeepsTheRestInOrder) {
    PostMessage(nullptr, WM_KEYDOWN, kVkUp, 0);
    PostMessage(nullptr, WM_LBUTTONDOWN, 0, MakeLParam(1, 2));
    PostMessage(nullptr, WM_USER, 1, 1);
    PostMessage(nullptr, WM_KEYUP, kVkUp, 0);
    PostMessage(nullptr, WM_LBUTTONUP, 0, MakeLParam(3, 4));

    Msg msg;
    ASSERT_TRUE(PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, false));
    EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_LBUTTONDOWN));
    EXPECT_EQ(LowWord(msg.lParam), 1);
    EXPECT_EQ(HighWord(msg.lParam), 2);
    // Without removal it is still first.
    EXPECT_EQ(Drain(WM_MOUSEMOVE, WM_MOUSELAST), (std::vector<uint32_t>{WM_LBUTTONDOWN, WM_LBUTTONUP}));
    EXPECT_EQ(Drain(WM_KEYDOWN, WM_KEYLAST), (std::vector<uint32_t>{WM_KEYDOWN, WM_KEYUP}));
    EXPECT_EQ(Drain(0, 0), (std::vector<uint32_t>{WM_USER}));
}

TEST_F(Messages, TimerIsLowPriorityAtMostOnePendingAndDispatchedToItsProc) {
    MakeWindow();
    Drain(0, 0);  // creation's paint
    SetTimer(nullptr, 102, 100, RecordingTimer);
    headless::AdvanceTime(350);  // three periods: still one message

    PostMessage(nullptr, WM_USER, 0, 0);
    Msg msg;
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, true));
    EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_USER)) << "a waiting message comes before the timer";
    // Waits that read only stylus messages never see it.
    EXPECT_FALSE(PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, true));

    ASSERT_TRUE(PeekMessage(&msg, 0, 0, true));
    EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_TIMER));
    EXPECT_EQ(msg.wParam, 102u);
    gReceived.clear();
    DispatchMessage(msg);
    ASSERT_EQ(gTimerCalls.size(), 1u);
    EXPECT_EQ(gTimerCalls[0].id, 102u);
    EXPECT_EQ(gTimerCalls[0].message, static_cast<uint32_t>(WM_TIMER));
    EXPECT_TRUE(gReceived.empty()) << "a timer with a procedure does not reach the window";
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, true)) << "the elapsed periods were not queued up";

    headless::AdvanceTime(100);
    EXPECT_EQ(Drain(0, 0), (std::vector<uint32_t>{WM_TIMER}));
    KillTimer(nullptr, 102);
    headless::AdvanceTime(500);
    EXPECT_TRUE(Drain(0, 0).empty());
}

TEST_F(Messages, ConsecutiveMouseMovesAreCoalesced) {
    PostInput(WM_MOUSEMOVE, 1, MakeLParam(1, 1));
    PostInput(WM_MOUSEMOVE, 1, MakeLParam(2, 2));
    PostInput(WM_LBUTTONUP, 0, MakeLParam(3, 3));
    PostInput(WM_MOUSEMOVE, 1, MakeLParam(4, 4));
    PostInput(WM_MOUSEMOVE, 1, MakeLParam(5, 6));

    std::vector<LParam> moves;
    Msg msg;
    std::vector<uint32_t> order;
    while (PeekMessage(&msg, 0, 0, true)) {
        order.push_back(msg.message);
        if (msg.message == WM_MOUSEMOVE) moves.push_back(msg.lParam);
    }
    EXPECT_EQ(order, (std::vector<uint32_t>{WM_MOUSEMOVE, WM_LBUTTONUP, WM_MOUSEMOVE}));
    EXPECT_EQ(moves, (std::vector<LParam>{MakeLParam(2, 2), MakeLParam(5, 6)}));
}

TEST_F(Messages, PaintComesLastAndBeginPaintValidates) {
    WindowHandle window = MakeWindow();
    PostMessage(nullptr, WM_KEYDOWN, kVkA, 0);
    EXPECT_EQ(Drain(0, 0), (std::vector<uint32_t>{WM_KEYDOWN, WM_PAINT}));
    InvalidateWindow();
    BeginPaint(window);
    EXPECT_TRUE(Drain(0, 0).empty());
}

TEST_F(Messages, CloseDestroysTheWindowAndQuitCarriesItsCode) {
    WindowHandle window = MakeWindow();
    EXPECT_EQ(FindWindow(u"Quorvane", u"Quorvane"), window);
    EXPECT_EQ(GetForegroundWindow(), window);
    // The game brings a window forward with the handle's lowest bit set.
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<WindowHandle>(reinterpret_cast<uintptr_t>(window) | 1)));
    Drain(0, 0);
    gReceived.clear();

    PostInput(WM_CLOSE, 0, 0);
    Msg msg;
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, true));
    DispatchMessage(msg);
    EXPECT_EQ(gReceived, (std::vector<uint32_t>{WM_CLOSE, WM_DESTROY}));
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, true));
    EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_EQ(LastQuitCode(), 5);
    gReceived.clear();
    DispatchMessage(msg);
    EXPECT_TRUE(gReceived.empty()) << "WM_QUIT is never dispatched";
    EXPECT_EQ(FindWindow(u"Quorvane", u"Quorvane"), nullptr);
}

TEST_F(Messages, EmptyPeeksAndTickQueriesLetVirtualTimePass) {
    const uint32_t start = GetTickCount();
    int turns = 0;
    Msg msg;
    while (GetTickCount() - start < 500 && turns < 100000) {
        PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, true);
        ++turns;
    }
    EXPECT_LT(turns, 1000) << "a busy wait must end quickly";
    // A sleep passes exactly its time.
    const uint64_t before = headless::VirtualNow();
    Sleep(250);
    EXPECT_EQ(headless::VirtualNow() - before, 250u);
}

TEST_F(Messages, SecondProcessFindsTheRunningWindowAndAsksItForward) {
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const std::string childTrace = dir_.Path("child-trace.txt");
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(release[1]);
        setenv("QUORVANE_TRACE", childTrace.c_str(), 1);
        Startup();
        RegisterWindowClass(u"Quorvane", RecordingProc);
        CreateWindow(u"Quorvane", u"Quorvane");
        char byte = 1;
        if (write(ready[1], &byte, 1) != 1) _exit(3);
        // Run the message loop until the raise request arrives.
        for (int i = 0; i < 20000; ++i) {
            Msg msg;
            PeekMessage(&msg, 0, 0, true);
            for (const std::string& line : test::ReadLines(childTrace)) {
                if (line.find("foreground request") != std::string::npos) {
                    // Wait for the parent's checks: the lock must stay held till then.
                    // (at most 10 s, so a failed parent leaves nothing behind).
                    pollfd released{release[0], POLLIN, 0};
                    _exit(poll(&released, 1, 10000) == 1 ? 0 : 4);
                }
            }
            usleep(100);
        }
        _exit(1);
    }
    close(release[0]);
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    WindowHandle other = FindWindow(u"Quorvane", u"Quorvane");
    EXPECT_NE(other, nullptr);
    EXPECT_TRUE(SetForegroundWindow(reinterpret_cast<WindowHandle>(reinterpret_cast<uintptr_t>(other) | 1)));
    EXPECT_EQ(TraceOf("foreground"), (std::vector<std::string>{"sent"}));
    close(release[1]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the running instance saw the request";
    EXPECT_EQ(FindWindow(u"Quorvane", u"Quorvane"), nullptr) << "the lock goes with the process";
}

// A close behind a modal wait: the wait's own peeks and every present take it
// the window procedure's road, and the quit's code reaches the handler; the
// main loop's unfiltered peek still gets both in order.
TEST_F(Messages, CloseWaitingBehindAStylusWaitIsTakenByTheQuitHandler) {
    MakeWindow();
    Drain(0, 0);
    gReceived.clear();
    Msg msg;

    // Without a handler a stylus wait leaves the close queued.
    PostInput(WM_CLOSE, 0, 0);
    EXPECT_FALSE(PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, true));
    EXPECT_TRUE(gReceived.empty());

    // With one, the next stylus peek that finds nothing dispatches it.
    SetQuitHandler(RecordQuit);
    PostInput(WM_LBUTTONDOWN, 1, MakeLParam(3, 4));
    ASSERT_TRUE(PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, true));
    EXPECT_TRUE(gReceived.empty()) << "a waiting tap comes first";
    EXPECT_FALSE(PeekMessage(&msg, WM_MOUSEMOVE, WM_MOUSELAST, true));
    EXPECT_EQ(gReceived, (std::vector<uint32_t>{WM_CLOSE, WM_DESTROY}));
    EXPECT_EQ(gQuitCodes, (std::vector<int>{5}));
    EXPECT_EQ(LastQuitCode(), 5);
    EXPECT_TRUE(Drain(0, 0).empty()) << "close and quit were both taken";

    // A quit alone (posted by the game) reaches the handler with its code,
    // also from a peek of another range, and the rest of the queue stays.
    PostMessage(nullptr, WM_KEYDOWN, kVkA, 0);
    PostQuitMessage(8);
    EXPECT_FALSE(PeekMessage(&msg, WM_KEYUP, WM_KEYUP, true));
    EXPECT_EQ(gQuitCodes, (std::vector<int>{5, 8}));
    EXPECT_EQ(Drain(0, 0), (std::vector<uint32_t>{WM_KEYDOWN}));

    // A wait that only presents notices it too.
    ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
    PostQuitMessage(3);
    ASSERT_NE(GXBeginDraw(), nullptr);
    GXEndDraw();
    EXPECT_EQ(gQuitCodes, (std::vector<int>{5, 8, 3}));
    GXCloseDisplay();

    // The main loop's own peek takes them as messages, in order.
    PostQuitMessage(4);
    ASSERT_TRUE(PeekMessage(&msg, 0, 0, true));
    EXPECT_EQ(msg.message, static_cast<uint32_t>(WM_QUIT));
    EXPECT_EQ(gQuitCodes.size(), 3u);
}

}  // namespace
}  // namespace qv
