// The match's message line: blinking, fixed or scrolling like a ticker, paced by the tick.
#include "engine/blit.h"
#include "engine/font.h"
#include "engine/wstring.h"
#include "match/match.h"
#include "match/match_layout.h"
#include "platform/clock.h"

namespace qv {

namespace {

constexpr uint32_t kBlinkPeriod = 300;
constexpr uint32_t kScrollPeriod = 100;
// A font without a space glyph would never reach the ticker's end.
constexpr int kMaxTrailingSpaces = 240;

}  // namespace

void Match::SetMessageLine(int32_t mode, const WString& a, const WString& b, const WString& c,
                           int8_t blinkLimit, uint8_t blink, int32_t alignment) {
    message_.mode = mode;
    message_.textA = a;
    message_.textB = b;
    message_.textC = c;
    message_.blinkLimit = blinkLimit;
    message_.blink = blink;
    message_.alignment = alignment;
    ClearMessageLine(0);
    switch (mode) {
        case 0: UpdateBlinkingMessage(true); break;
        case 1: UpdateFixedMessage(true); break;
        case 2: UpdateScrollingMessage(true); break;
        default: break;
    }
}

void Match::ClearMessageLine(int8_t buffer) {
    RestoreRect(kMessageX, kMessageY, kMessageWidth, kMessageHeight, background_, buffer);
}

void Match::DrawMessageLine(int8_t buffer) {
    int width = gFont.TextWidth(message_.textA);
    DrawText(message_.textA, kMessageX + (kMessageWidth - width) / 2, kMessageY, gFont, buffer);
}

void Match::UpdateBlinkingMessage(bool start) {
    uint32_t now = platform::GetTickCount();
    if (start) {
        message_.toggleCount = 0;
        message_.blinkLastCall = now;
        message_.blinkLastToggle = now;
        message_.visible = 1;
        message_.showingA = 1;
    }
    message_.blinkLastCall = now;
    if (now - message_.blinkLastToggle > kBlinkPeriod) {
        message_.blinkLastToggle = now;
        if (message_.blink) {
            message_.visible ^= 1;
            if (message_.visible && !message_.textB.empty()) message_.showingA ^= 1;
            if (message_.blinkLimit != 0 && !message_.textC.empty()) {
                ++message_.toggleCount;
                if (message_.toggleCount > message_.blinkLimit) {
                    // The scroll's first step draws nothing: this step still
                    // shows the new text, right-aligned, until its next one.
                    WString next = message_.textC;
                    SetMessageLine(2, next, WString(), WString(), 0, 1, 2);
                }
            }
        }
    }
    if (!message_.visible) {
        ClearMessageLine(0);
        return;
    }
    const WString& shown = message_.showingA ? message_.textA : message_.textB;
    int width = gFont.TextWidth(shown);
    int x = kMessageX + (kMessageWidth - width) / 2;
    if (message_.alignment == 1) x = kMessageX;
    if (message_.alignment == 2) x = kMessageRight - width;
    DrawText(shown, x, kMessageY, gFont, 0);
}

void Match::UpdateFixedMessage(bool) {}

void Match::UpdateScrollingMessage(bool start) {
    uint32_t now = platform::GetTickCount();
    if (start) {
        message_.scrollCount = 0;
        message_.scrollLastCall = now;
        message_.scrollLastStep = now;
        message_.scrollDirection = 1;
    }
    message_.scrollLastCall = now;
    if (now - message_.scrollLastStep <= kScrollPeriod) return;
    message_.scrollLastStep = now;
    // A restored or damaged direction still moves one way or the other.
    if (message_.scrollDirection != 1 && message_.scrollDirection != -1) message_.scrollDirection = 1;
    message_.scrollCount = static_cast<int16_t>(message_.scrollCount + message_.scrollDirection);
    const WString& text = message_.textA;
    int n = message_.scrollCount;
    int length = static_cast<int>(text.size());
    WString shown;
    bool end = false;
    int x;
    if (message_.scrollDirection > 0) {
        if (n < 0) n = 0;
        if (n < length) {
            shown = LeftChars(text, n);
        } else {
            WString spaces = RepeatChar(u' ', n - length + 1);
            shown = text + spaces;
            end = gFont.TextWidth(spaces) + 5 > kMessageWidth || n - length + 1 > kMaxTrailingSpaces;
        }
        while (!shown.empty() && gFont.TextWidth(shown) > kMessageWidth) shown.erase(0, 1);
        x = kMessageRight - gFont.TextWidth(shown);
    } else {
        int m = n < 0 ? -n : 0;
        if (m < length) {
            shown = RightChars(text, m);
        } else {
            WString spaces = RepeatChar(u' ', m - length + 1);
            shown = spaces + text;
            end = gFont.TextWidth(spaces) + 5 > kMessageWidth || m - length + 1 > kMaxTrailingSpaces;
        }
        bool cut = false;
        while (!shown.empty() && gFont.TextWidth(shown) > kMessageWidth) {
            shown.pop_back();
            cut = true;
        }
        x = cut ? kMessageRight - gFont.TextWidth(shown) : kMessageX;
    }
    ClearMessageLine(0);
    DrawText(shown, x, kMessageY, gFont, 0);
    if (end) {
        message_.scrollCount = 0;
        if (message_.bounce) message_.scrollDirection = static_cast<int8_t>(-message_.scrollDirection);
    }
}

}  // namespace qv
