// Tests of the main loop's hardware-button prompts, answered by scripted taps.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/display.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/wstring.h"
#include "platform/display.h"
#include "platform/system.h"
#include "shell/game.h"
#include "tests/support/temp_dir.h"

namespace qv {
namespace {

// The directory of the script, the trace and the registry.
const std::filesystem::path& Dir() { return test::ProcessTempDir("prompt"); }

// Cancels the contacts question, then the quit question, each shortly after it shows.
class ScriptedPlatform : public ::testing::Environment {
public:
    void SetUp() override {
        std::ofstream(Dir() / "script.txt")
            << "on gamebox Exit the game and go to your contact ?\nwait 50\ntap 50 185\n"
               "on gamebox Do you really want to quit the game now ?\nwait 50\n"
               "down 195 185\nwait 30\nmove 100 100\nwait 30\nup 100 100\n"  // off the label: no answer
               "wait 50\ntap 50 185\n";
        setenv("QUORVANE_BACKEND", "headless", 1);
        setenv("QUORVANE_SCRIPT", (Dir() / "script.txt").c_str(), 1);
        setenv("QUORVANE_TRACE", (Dir() / "trace.txt").c_str(), 1);
        setenv("QUORVANE_REGISTRY", (Dir() / "registry.txt").c_str(), 1);
        setenv("QUORVANE_TIME_LIMIT", "60000", 1);
        ASSERT_TRUE(platform::Startup());
    }
};
[[maybe_unused]] const auto* const kPlatform =
    ::testing::AddGlobalTestEnvironment(new ScriptedPlatform);

std::vector<std::string> TraceLines(const std::string& kind) {
    std::vector<std::string> lines;
    std::ifstream in(Dir() / "trace.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.find(" " + kind + " ") != std::string::npos) {
            lines.push_back(line.substr(line.find(kind)));
        }
    }
    return lines;
}

TEST(ButtonPrompt, OnePromptATurnInOrderAndBufferOneKept) {
    gPixelFormat = platform::kfDirect565;
    AllocScreenBuffers(kScreenWidth, kScreenHeight);
    gFont.Load(Widen(QV_INSTALL_DIR "/GFX/GENERAL/NEW FONT.QVB"), true, true);
    ASSERT_TRUE(gFont.IsLoaded()) << "the box needs the built font";
    std::fill_n(gScreenBuffers[0], gScreenPixelCount, uint16_t{0x0841});
    for (uint32_t i = 0; i < gScreenPixelCount; ++i) {
        gScreenBuffers[1][i] = static_cast<uint16_t>(i * 37);
    }
    const std::vector<uint16_t> screen(gScreenBuffers[0], gScreenBuffers[0] + gScreenPixelCount);
    const std::vector<uint16_t> kept(gScreenBuffers[1], gScreenBuffers[1] + gScreenPixelCount);

    ClearKeyStates();
    gKeyState[5] = 1;  // A
    gKeyState[6] = 1;  // B
    gKeyState[2] = 1;  // left: not a prompt
    HandleButtonPrompt();
    EXPECT_EQ(gKeyState[6], 0);
    EXPECT_EQ(gKeyState[5], 1) << "A waits for a later turn";
    EXPECT_EQ(TraceLines("gamebox"),
              std::vector<std::string>{
                  "gamebox Exit the game and go to your contact ? | Cancel | Ok"});

    HandleButtonPrompt();
    EXPECT_EQ(gKeyState[5], 0);
    EXPECT_EQ(gKeyState[2], 1);
    std::vector<std::string> boxes = TraceLines("gamebox");
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1], "gamebox Do you really want to quit the game now ? | Cancel | Ok");
    EXPECT_EQ(TraceLines("gamebox-answer"),
              (std::vector<std::string>{"gamebox-answer left", "gamebox-answer left"}));

    // Cancelled: the screen without the box, and buffer 1 as it was.
    EXPECT_TRUE(std::equal(screen.begin(), screen.end(), gScreenBuffers[0]));
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), gScreenBuffers[1]));

    // No flag set: nothing is asked.
    HandleButtonPrompt();
    EXPECT_EQ(TraceLines("gamebox").size(), 2u);
}

}  // namespace
}  // namespace qv
