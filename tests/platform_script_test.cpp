// The headless backend end to end: the script's parser and player, the
// system message box, sounds, the audio pacing, other applications and
// the time limit.
#include <chrono>
#include <thread>

#include <xxhash.h>

#include <algorithm>

#include "platform/clock.h"
#include "platform/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/script.h"
#include "platform/keys.h"
#include "platform/messages.h"
#include "platform/pixels.h"
#include "platform/sound.h"
#include "platform/text.h"
#include "platform/trace.h"
#include "tests/support/headless.h"

namespace qv {
namespace {

using namespace platform;
using headless::ScriptStep;
using Kind = ScriptStep::Kind;

TEST(ScriptParser, CommandsExpandIntoTimedSteps) {
    std::vector<std::string> errors;
    std::vector<ScriptStep> steps = headless::ParseScript(
        "# a comment\n"
        "\n"
        "wait 100\n"
        "tap 10 400\n"
        "at 5000 key a press\n"
        "on gamebox Do you really\n"
        "drag 0 0 100 50 2\n"
        "quit 7\n"
        "post 0x400 1 -1\r\n",
        &errors);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(steps.size(), 11u);
    EXPECT_EQ(steps[0].kind, Kind::kDown);
    EXPECT_EQ(steps[0].delay, 100u);
    EXPECT_EQ(steps[0].y, 319) << "clamped to the screen";
    EXPECT_EQ(steps[1].kind, Kind::kUp);
    EXPECT_EQ(steps[1].delay, 50u);
    EXPECT_EQ(steps[2].kind, Kind::kKeyDown);
    EXPECT_EQ(steps[2].at, 5000);
    EXPECT_EQ(steps[2].key, kVkA);
    EXPECT_EQ(steps[3].kind, Kind::kKeyUp);
    EXPECT_EQ(steps[4].kind, Kind::kWaitTrace);
    EXPECT_EQ(steps[4].traceKind, "gamebox");
    EXPECT_EQ(steps[4].text, "Do you really");
    EXPECT_EQ(steps[5].kind, Kind::kDown);
    EXPECT_EQ(steps[6].kind, Kind::kMove);
    EXPECT_EQ(steps[6].x, 50);
    EXPECT_EQ(steps[6].y, 25);
    EXPECT_EQ(steps[7].x, 100);
    EXPECT_EQ(steps[8].kind, Kind::kUp);
    EXPECT_EQ(steps[9].kind, Kind::kQuit);
    EXPECT_EQ(steps[9].code, 7);
    EXPECT_EQ(steps[10].kind, Kind::kPost);
    EXPECT_EQ(steps[10].message, 0x400u);
    EXPECT_EQ(steps[10].lParam, -1);
}

TEST(ScriptParser, BadLinesAreReportedAndSkipped) {
    std::vector<std::string> errors;
    std::vector<ScriptStep> steps = headless::ParseScript(
        "tap 10\n"
        "key q down\n"
        "jump 1 2\n"
        "at soon tap 1 1\n"
        "drag 1 2 3 4 0\n"
        "close\n",
        &errors);
    ASSERT_EQ(steps.size(), 1u);
    EXPECT_EQ(steps[0].kind, Kind::kClose);
    EXPECT_EQ(steps[0].line, 6);
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_EQ(errors[2].rfind("3: ", 0), 0u);
}

TEST(ScriptParser, RepeatBlocksStayInPlaceAndTheirUntilsLeaveThem) {
    std::vector<std::string> errors;
    std::vector<ScriptStep> steps = headless::ParseScript(
        "wait 5\n"
        "repeat 3\n"
        "  until room done\n"
        "  tap 1 1\n"
        "  repeat 2\n"
        "    until room inner\n"
        "    key a press\n"
        "  end\n"
        "  wait 40\n"
        "end\n"
        "repeat 0\n"
        "  close\n"
        "end\n"
        "quit 1\n",
        &errors);
    EXPECT_TRUE(errors.empty());
    // pause, repeat, until, down, up, repeat, until, key down, key up, end, pause, end, quit.
    ASSERT_EQ(steps.size(), 13u);
    EXPECT_EQ(steps[0].kind, Kind::kPause);
    EXPECT_EQ(steps[0].delay, 5u);
    EXPECT_EQ(steps[1].kind, Kind::kRepeat);
    EXPECT_EQ(steps[1].count, 3);
    EXPECT_EQ(steps[1].jumpTo, 12u);
    EXPECT_EQ(steps[2].jumpTo, 12u) << "the outer until leaves the outer block";
    EXPECT_EQ(steps[5].kind, Kind::kRepeat);
    EXPECT_EQ(steps[6].jumpTo, 10u) << "the inner until leaves its own block";
    EXPECT_EQ(steps[9].kind, Kind::kEnd);
    EXPECT_EQ(steps[9].jumpTo, 6u);
    EXPECT_EQ(steps[10].kind, Kind::kPause);
    EXPECT_EQ(steps[10].delay, 40u) << "a closing wait belongs to every round";
    EXPECT_EQ(steps[11].kind, Kind::kEnd);
    EXPECT_EQ(steps[11].jumpTo, 2u);
    EXPECT_EQ(steps[12].kind, Kind::kQuit) << "a block of no rounds is left out";

    // Rounds take no room: a scripted match of a hundred thousand turns of
    // a hundred thousand moves is a handful of steps.
    errors.clear();
    steps = headless::ParseScript("repeat 100000\n  repeat 100000\n    tap 1 1\n  end\nend\n", &errors);
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(steps.size(), 6u);
}

TEST(ScriptParser, MisplacedBlockLinesAreReported) {
    std::vector<std::string> errors;
    std::vector<ScriptStep> steps = headless::ParseScript("end\n"
                                                          "until room x\n"
                                                          "repeat -1\n"
                                                          "repeat 100001\n"
                                                          "tap 1 1\n"
                                                          "repeat 2\n"
                                                          "close\n",
                                                          &errors);
    ASSERT_EQ(errors.size(), 5u);
    EXPECT_EQ(errors[0].rfind("1: ", 0), 0u);
    EXPECT_EQ(errors[1].rfind("2: ", 0), 0u);
    EXPECT_EQ(errors[2].rfind("3: ", 0), 0u);
    EXPECT_EQ(errors[3].rfind("4: ", 0), 0u);
    EXPECT_NE(errors[4].find("6: repeat without end"), std::string::npos) << errors[4];
    // down, up, then the open block closed with the script.
    ASSERT_EQ(steps.size(), 5u);
    EXPECT_EQ(steps[2].kind, Kind::kRepeat);
    EXPECT_EQ(steps[3].kind, Kind::kClose);
    EXPECT_EQ(steps[4].kind, Kind::kEnd);
}

class Headless : public test::PlatformTest {
protected:
    void RunScript(const std::string& script) {
        test::WriteText(dir_.Path("script.txt"), script);
        Restart("QUORVANE_SCRIPT", dir_.Path("script.txt"));
    }

    // Peeks like a modal wait until a message of the range comes (or 10 s of virtual time).
    Msg WaitFor(uint32_t first, uint32_t last) {
        Msg msg;
        for (int i = 0; i < 10000; ++i) {
            if (PeekMessage(&msg, first, last, true)) return msg;
        }
        ADD_FAILURE() << "nothing came";
        return Msg{};
    }
};

TEST_F(Headless, ScriptStepsArriveAtTheirTimesAndAfterTheirEvents) {
    RunScript("at 200 tap 5 6\n"
              "on gamebox Quit now\n"
              "wait 30\n"
              "key start down\n"
              "move 1 1\n"
              "move 2 2\n");
    Msg down = WaitFor(WM_MOUSEMOVE, WM_MOUSELAST);
    EXPECT_EQ(down.message, static_cast<uint32_t>(WM_LBUTTONDOWN));
    EXPECT_GE(down.time, 200u);
    EXPECT_LT(down.time, 210u);
    Msg up = WaitFor(WM_MOUSEMOVE, WM_MOUSELAST);
    EXPECT_EQ(up.message, static_cast<uint32_t>(WM_LBUTTONUP));
    EXPECT_EQ(LowWord(up.lParam), 5);
    EXPECT_EQ(HighWord(up.lParam), 6);

    // Nothing more until the awaited event, however long we wait.
    Msg msg;
    for (int i = 0; i < 2000; ++i) ASSERT_FALSE(PeekMessage(&msg, 0, 0, true));
    platform::Trace("gamebox", "Do you want to Quit now ? | Cancel | Ok");
    const uint64_t traced = headless::VirtualNow();
    Msg key = WaitFor(0, 0);
    EXPECT_EQ(key.message, static_cast<uint32_t>(WM_KEYDOWN));
    EXPECT_EQ(key.wParam, static_cast<WParam>(kVkStart));
    EXPECT_GE(key.time, traced + 30);
    // The two moves ran together and were coalesced.
    Msg move = WaitFor(0, 0);
    EXPECT_EQ(move.message, static_cast<uint32_t>(WM_MOUSEMOVE));
    EXPECT_EQ(move.lParam, MakeLParam(2, 2));
    EXPECT_FALSE(PeekMessage(&msg, 0, 0, true));
}

// Without a trace file, presents are hashed only for a script step that
// reads the hash; a wait for any present needs no hash at all.
TEST_F(Headless, PresentWaitsWorkWithoutATrace) {
    std::vector<uint16_t> first(240 * 320, 0x1234);
    std::vector<uint16_t> second(240 * 320, 0x4321);
    char hash[24];
    snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(HashFrame(second.data(), 240 * 320)));
    setenv("QUORVANE_TRACE", "", 1);
    RunScript("on present\n"
              "tap 1 1\n"
              "on present " + std::string(hash) + "\n"
              "tap 2 2\n");
    ASSERT_FALSE(TraceEnabled());
    ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
    auto show = [](const std::vector<uint16_t>& frame) {
        auto* memory = static_cast<uint16_t*>(GXBeginDraw());
        std::copy(frame.begin(), frame.end(), memory);
        GXEndDraw();
    };
    show(first);
    EXPECT_EQ(LowWord(WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN).lParam), 1);
    show(first);
    Msg msg;
    for (int i = 0; i < 500; ++i) ASSERT_FALSE(PeekMessage(&msg, WM_LBUTTONDOWN, WM_LBUTTONDOWN, true));
    show(second);
    EXPECT_EQ(LowWord(WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN).lParam), 2);
    GXCloseDisplay();
}

// An until that looks for a present sees presents without a trace file too.
TEST_F(Headless, UntilPresentWorksWithoutATrace) {
    std::vector<uint16_t> first(240 * 320, 0x1234);
    std::vector<uint16_t> second(240 * 320, 0x4321);
    char hash[24];
    snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(HashFrame(second.data(), 240 * 320)));
    setenv("QUORVANE_TRACE", "", 1);
    const std::string until = "  until present " + std::string(hash) + "\n";
    RunScript("repeat 1000\n" + until +
              "  tap 1 1\n"
              "  wait 100\n"
              "end\n"
              "tap 9 9\n");
    ASSERT_FALSE(TraceEnabled());
    ASSERT_EQ(GXOpenDisplay(nullptr, GX_FULLSCREEN), 1);
    auto show = [](const std::vector<uint16_t>& frame) {
        auto* memory = static_cast<uint16_t*>(GXBeginDraw());
        std::copy(frame.begin(), frame.end(), memory);
        GXEndDraw();
    };
    EXPECT_EQ(LowWord(WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN).lParam), 1);
    show(first);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(LowWord(WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN).lParam), 1);
    show(second);
    // At most the round under way still taps; then the block is left.
    Msg tap = WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN);
    if (LowWord(tap.lParam) == 1) tap = WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN);
    EXPECT_EQ(LowWord(tap.lParam), 9);
    GXCloseDisplay();
}

TEST_F(Headless, EachWaitMatchesAFreshEvent) {
    RunScript("on gamebox Ok\n"
              "tap 1 1\n"
              "on gamebox Ok\n"
              "tap 2 2\n");
    platform::Trace("gamebox", "First | | Ok");
    EXPECT_EQ(LowWord(WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN).lParam), 1);
    Msg msg;
    for (int i = 0; i < 500; ++i) ASSERT_FALSE(PeekMessage(&msg, WM_LBUTTONDOWN, WM_LBUTTONDOWN, true));
    platform::Trace("gamebox", "Second | | Ok");
    EXPECT_EQ(LowWord(WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN).lParam), 2);
}

TEST_F(Headless, UntilEndsARepeatOnceItsEventCame) {
    RunScript("repeat 1000\n"
              "  until room over\n"
              "  tap 1 1\n"
              "  wait 100\n"
              "end\n"
              "tap 9 9\n");
    for (int i = 0; i < 3; ++i) EXPECT_EQ(LowWord(WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN).lParam), 1);
    platform::Trace("room", "not yet");
    EXPECT_EQ(LowWord(WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN).lParam), 1);
    platform::Trace("room", "game over");
    // At most the round under way still taps; then the block is left.
    Msg tap = WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN);
    if (LowWord(tap.lParam) == 1) tap = WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN);
    EXPECT_EQ(LowWord(tap.lParam), 9);
}

// Each round of a block runs its steps at their pace: the delays count from
// the step that ran last, also across the block's beginning and end.
TEST_F(Headless, NestedBlocksRunEveryRoundInOrder) {
    RunScript("wait 5\n"
              "repeat 2\n"
              "  tap 1 1\n"
              "  repeat 2\n"
              "    wait 10\n"
              "    key a press\n"
              "  end\n"
              "  wait 40\n"
              "end\n"
              "tap 9 9\n");
    uint32_t last = 0;
    for (int round = 0; round < 2; ++round) {
        Msg down = WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN);
        EXPECT_EQ(LowWord(down.lParam), 1);
        EXPECT_GE(down.time, round == 0 ? 5u : last + 40) << "round " << round;
        last = WaitFor(WM_LBUTTONUP, WM_LBUTTONUP).time;
        for (int press = 0; press < 2; ++press) {
            Msg key = WaitFor(WM_KEYDOWN, WM_KEYDOWN);
            EXPECT_GE(key.time, last + 10);
            last = WaitFor(WM_KEYUP, WM_KEYUP).time;
        }
    }
    Msg end = WaitFor(WM_LBUTTONDOWN, WM_LBUTTONDOWN);
    EXPECT_EQ(LowWord(end.lParam), 9);
    EXPECT_GE(end.time, last + 40);
}

TEST_F(Headless, MessageBoxIsTracedAndAnsweredWithTheFirstButton) {
    EXPECT_EQ(MessageBox(nullptr, u"Can't find\nQuorvane Directory", u"Quorvane", MB_ICONHAND), IDOK);
    EXPECT_EQ(MessageBox(nullptr, u"Sure?", u"Ask", MB_OKCANCEL), IDOK);
    EXPECT_EQ(TraceOf("msgbox"), (std::vector<std::string>{"\"Can't find\\nQuorvane Directory\" \"Quorvane\" 0x10 1",
                                                           "\"Sure?\" \"Ask\" 0x1 1"}));
}

TEST_F(Headless, SoundsAreCheckedAndTraced) {
    test::WriteText(dir_.Path("carte.QVW"), "RIFF");
    WString root = FromUtf8(dir_.Path() + "\\");
    for (char16_t& c : root) {
        if (c == u'/') c = u'\\';
    }
    EXPECT_TRUE(PlaySoundAsync(root + u"CARTE.qvw"));
    EXPECT_FALSE(PlaySoundAsync(root + u"gagne.QVW"));
    EXPECT_EQ(TraceOf("sound"), (std::vector<std::string>{dir_.Path("carte.QVW")}));
    EXPECT_EQ(TraceOf("soundfail").size(), 1u);
}

TEST_F(Headless, AudioOutputIsPacedByVirtualTime) {
    ASSERT_TRUE(OpenAudioOutput(44100, 1, 8));
    EXPECT_EQ(AudioBytesWanted(), 4410u) << "100 ms at first";
    std::vector<uint8_t> samples(4410, 0x80);
    QueueAudio(samples.data(), 4410);
    EXPECT_EQ(AudioBytesWanted(), 0u);
    headless::AdvanceTime(20);
    EXPECT_EQ(AudioBytesWanted(), 882u);
    headless::AdvanceTime(10000);
    EXPECT_EQ(AudioBytesWanted(), 4410u) << "an underrun gives no credit";
    CloseAudioOutput();
    CloseAudioOutput();
    EXPECT_EQ(AudioBytesWanted(), 0u);
    ASSERT_TRUE(OpenAudioOutput(22050, 2, 16));
    EXPECT_EQ(AudioBytesWanted(), 8820u);
    EXPECT_EQ(headless::AudioBytesQueued(), 4410u);

    // No device: the same pace, and nothing reaches the backend.
    Restart("QUORVANE_AUDIO", "none");
    ASSERT_TRUE(OpenAudioOutput(44100, 1, 8));
    EXPECT_EQ(AudioBytesWanted(), 4410u);
    QueueAudio(samples.data(), 4410);
    EXPECT_EQ(AudioBytesWanted(), 0u);
    headless::AdvanceTime(20);
    EXPECT_EQ(AudioBytesWanted(), 882u);
    EXPECT_EQ(headless::AudioBytesQueued(), 0u);
    CloseAudioOutput();
    EXPECT_EQ(AudioBytesWanted(), 0u);
    EXPECT_FALSE(OpenAudioOutput(44100, 3, 8)) << "a layout no device takes";
}

TEST_F(Headless, ContactsAndCalendarRunTheirCommandsWithoutWaiting) {
    const std::string marker = dir_.Path("contacts-ran");
    setenv("QUORVANE_CONTACTS_COMMAND", ("sleep 0.2; touch '" + marker + "'").c_str(), 1);
    Restart("QUORVANE_CALENDAR_COMMAND", "");
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(ShellExecute(u"\\windows\\addrbook.exe", 12));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150)) << "not waited for";
    EXPECT_FALSE(ShellExecute(u"\\windows\\calendar.exe", 12)) << "no command configured";
    unsetenv("QUORVANE_CONTACTS_COMMAND");
    for (int i = 0; i < 100 && !std::filesystem::exists(marker); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(std::filesystem::exists(marker));
    EXPECT_EQ(TraceOf("exec"), (std::vector<std::string>{"\\windows\\addrbook.exe", "\\windows\\calendar.exe"}));
}

TEST_F(Headless, CalendarTimeIsFixedOrConfigured) {
    EXPECT_EQ(CurrentTime(), 1000000000);
    Restart("QUORVANE_TIME", "1234");
    EXPECT_EQ(CurrentTime(), 1234);
}

TEST_F(Headless, TheTimeLimitEndsARunThatWaitsForEver) {
    EXPECT_EXIT(
        {
            Restart("QUORVANE_TIME_LIMIT", "1000");
            Msg msg;
            for (;;) PeekMessage(&msg, WM_LBUTTONDOWN, WM_LBUTTONDOWN, true);
        },
        ::testing::ExitedWithCode(124), "");
    const std::vector<std::string> trace = Trace();
    ASSERT_GE(trace.size(), 2u);
    EXPECT_NE(trace[trace.size() - 2].find(" timeout"), std::string::npos);
    EXPECT_EQ(trace.back().substr(trace.back().find(' ')), " exit 124");
}

TEST_F(Headless, LeavingThroughMainReturnTracesTheQuitCode) {
    EXPECT_EXIT(
        {
            PostQuitMessage(6);
            Msg msg;
            while (PeekMessage(&msg, 0, 0, true) && msg.message != WM_QUIT) {}
            std::exit(6);  // as main returning the quit message's code
        },
        ::testing::ExitedWithCode(6), "");
    EXPECT_EQ(TraceOf("exit"), (std::vector<std::string>{"6"}));
}

}  // namespace
}  // namespace qv
