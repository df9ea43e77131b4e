// The program's message box, drawn into the back buffers and answered with the stylus.
#include "engine/message_box.h"

#include <algorithm>

#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/music.h"
#include "engine/wstring.h"
#include "platform/messages.h"
#include "platform/system.h"

namespace qv {
namespace {

enum class Label { kNone, kLeft, kRight };

struct BoxGeometry {
    int x, y, width, height, border;
    int leftWidth, rightWidth;

    bool InBand(int py) const { return y + height - border - 25 < py && py < y + height - border; }
    bool OverLeft(int px, int py) const {
        return x + border < px && px < x + border + leftWidth + 5 && InBand(py);
    }
    bool OverRight(int px, int py) const {
        return x + width - rightWidth - border - 5 < px && px < x + width - border && InBand(py);
    }
};

void DrawLabels(const BoxGeometry& g, const WString& left, const WString& right, Label pressed,
                int pressedColour) {
    int labelY = g.y + g.height - g.border - 13;
    int leftX = g.x + g.border + 5;
    int rightX = g.x + g.width - g.border - g.rightWidth - 5;
    if (pressed == Label::kLeft) DrawColouredText(left, leftX, labelY, gFont, pressedColour, 0);
    else DrawText(left, leftX, labelY, gFont, 0);
    if (pressed == Label::kRight) DrawColouredText(right, rightX, labelY, gFont, pressedColour, 0);
    else DrawText(right, rightX, labelY, gFont, 0);
}

void TraceAnswer(bool left) { platform::Trace("gamebox-answer", left ? "left" : "right"); }

// Without the font the box could be neither read nor answered: the system
// box asks instead. Its OK stands for the right (accepting) label.
bool AskSystemBox(const WString& message, const WString& left, const WString& right) {
    platform::Trace("gamebox", Narrow(message) + " | " + Narrow(left) + " | " + Narrow(right));
    uint32_t flags = platform::MB_OK;
    if (!left.empty() && !right.empty()) flags = platform::MB_OKCANCEL;
    int answer = platform::MessageBox(nullptr, message, u"Quorvane", flags);
    bool chooseLeft = right.empty() || (!left.empty() && answer == platform::IDCANCEL);
    TraceAnswer(chooseLeft);
    return chooseLeft;
}

}  // namespace

bool ShowMessageBox(const WString& message, const WString& leftLabel, const WString& rightLabel,
                    uint8_t grey, int16_t x, int16_t y, int16_t width, int16_t height,
                    int8_t frameShade, int8_t pressedColour, int8_t border) {
    bool hasLabel = !leftLabel.empty() || !rightLabel.empty();
    if (hasLabel && !gFont.IsLoaded()) return AskSystemBox(message, leftLabel, rightLabel);

    if (hasLabel) CopyBuffer(0, 1);
    if (grey) GreyBuffer(0);
    DrawGlowFrame(x, y, width, height, frameShade, border, 0);
    BoxGeometry g{x, y, width, height, border, gFont.TextWidth(leftLabel),
                  gFont.TextWidth(rightLabel)};
    DrawLabels(g, leftLabel, rightLabel, Label::kNone, pressedColour);
    DrawWrappedText(message, static_cast<int16_t>(x + border + 5),
                    static_cast<int16_t>(y + border + 5), static_cast<int16_t>(x + width - 7), 0);
    const std::string traced =
        Narrow(message) + " | " + Narrow(leftLabel) + " | " + Narrow(rightLabel);
    if (!hasLabel) {
        platform::Trace("gamebox", traced);
        return false;
    }

    PresentScreen();
    UpdateMusic();
    FlushInputQueue();
    // Traced once earlier taps are gone, so that a script may answer at once.
    platform::Trace("gamebox", traced);

    Label pressed = Label::kNone;
    bool released = false;
    for (;;) {
        platform::Msg msg;
        if (platform::PeekMessage(&msg, platform::WM_MOUSEMOVE, platform::WM_MOUSELAST, true)) {
            int px = static_cast<uint16_t>(platform::LowWord(msg.lParam));
            int py = static_cast<uint16_t>(platform::HighWord(msg.lParam));
            if (msg.message == platform::WM_LBUTTONDOWN) {
                if (!leftLabel.empty() && g.OverLeft(px, py)) {
                    pressed = Label::kLeft;
                    DrawLabels(g, leftLabel, rightLabel, pressed, pressedColour);
                } else if (!rightLabel.empty() && g.OverRight(px, py)) {
                    pressed = Label::kRight;
                    DrawLabels(g, leftLabel, rightLabel, pressed, pressedColour);
                }
            } else if (msg.message == platform::WM_LBUTTONUP) {
                if (pressed == Label::kLeft && g.OverLeft(px, py)) {
                    released = true;
                } else if (pressed == Label::kRight && g.OverRight(px, py)) {
                    released = true;
                } else {
                    pressed = Label::kNone;
                    released = false;
                }
                DrawLabels(g, leftLabel, rightLabel, Label::kNone, pressedColour);
            }
        }
        UpdateMusic();
        PresentScreen();
        if (pressed != Label::kNone && released) {
            UpdateMusic();
            CopyBuffer(1, 0);
            TraceAnswer(pressed == Label::kLeft);
            return pressed == Label::kLeft;
        }
    }
}

bool ShowNote(const WString& message, const WString& leftLabel, const WString& rightLabel) {
    return ShowMessageBox(message, leftLabel, rightLabel, 1, 40, 120, 160, 80, 20, 3, 3);
}

BackBufferKeeper::BackBufferKeeper() {
    if (gScreenBuffers[1] != nullptr) kept_.assign(gScreenBuffers[1], gScreenBuffers[1] + gScreenPixelCount);
}

BackBufferKeeper::~BackBufferKeeper() { std::copy(kept_.begin(), kept_.end(), gScreenBuffers[1]); }

}  // namespace qv
