// The window procedure: hardware keys, stylus routing, focus and the window's end.
#include "cards/launchers.h"
#include "club/club.h"
#include "engine/display.h"
#include "engine/input.h"
#include "match/match.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "shell/cheats.h"
#include "shell/game.h"

namespace qv {

namespace {

// The gKeyState index of a virtual key, compared in the order up, down,
// left, right, Start, A, B, C; -1 for a key that is not one of the eight.
int KeyIndex(int16_t vk) {
    const int16_t keys[8] = {gKeyList.vkUp,    gKeyList.vkDown, gKeyList.vkLeft,
                             gKeyList.vkRight, gKeyList.vkStart, gKeyList.vkA,
                             gKeyList.vkB,     gKeyList.vkC};
    for (int i = 0; i < 8; ++i) {
        if (keys[i] == vk) {
            return i;
        }
    }
    return -1;
}

void OnKeyDown(int16_t vk) {
    int index = KeyIndex(vk);
    if (index < 0) {
        return;
    }
    // The four direction keys come first in gKeyState and are the cheat
    // directions 0..3. Every sequence is fed, and a completed one acts at
    // once, before the flag is set.
    if (index <= 3) {
        for (int sequence = 0; sequence < kCheatSequenceCount; ++sequence) {
            if (gCheatSequences[sequence].Feed(static_cast<int8_t>(index))) {
                ApplyCheat(sequence);
            }
        }
    }
    gKeyState[index] = 1;
}

void OnKeyUp(int16_t vk) {
    int index = KeyIndex(vk);
    if (index >= 0) {
        gKeyState[index] = 0;
    }
}

void OnStylus(uint32_t message, platform::LParam lParam) {
    int16_t x = platform::LowWord(lParam);
    uint16_t y = static_cast<uint16_t>(platform::HighWord(lParam));
    if (gClubActive == 1) {
        uint16_t clubX = static_cast<uint16_t>(x);
        switch (message) {
            case platform::WM_LBUTTONDOWN: gClub.StylusDown(clubX, y); break;
            case platform::WM_MOUSEMOVE: gClub.StylusMove(clubX, y); break;
            default: gClub.StylusUp(clubX, y); break;
        }
    } else {
        switch (message) {
            case platform::WM_LBUTTONDOWN: gMatch.StylusDown(x, y); break;
            case platform::WM_MOUSEMOVE: gMatch.StylusMove(x, y); break;
            default: gMatch.StylusUp(x, y); break;
        }
    }
}

}  // namespace

platform::LResult MainWindowProc(platform::WindowHandle window, uint32_t message,
                                 platform::WParam wParam, platform::LParam lParam) {
    switch (message) {
        case platform::WM_KEYDOWN:
            OnKeyDown(static_cast<int16_t>(wParam & 0xFFFF));
            return 0;
        case platform::WM_KEYUP:
            OnKeyUp(static_cast<int16_t>(wParam & 0xFFFF));
            return 0;
        case platform::WM_LBUTTONDOWN:
        case platform::WM_MOUSEMOVE:
        case platform::WM_LBUTTONUP:
            OnStylus(message, lParam);
            return 0;
        case platform::WM_ACTIVATE:
        case platform::WM_SETFOCUS:
            platform::GXResume();
            return 0;
        case platform::WM_KILLFOCUS:
            platform::GXSuspend();
            platform::SetFocus(window);
            return 0;
        case platform::WM_SUSPEND_PRIVATE:
            platform::GXSuspend();
            return 0;
        case platform::WM_USER:
            // A match that did not run over the link has ended.
            if (wParam == 1) {
                gClub.RedrawCurrentScreen(0);
            }
            return 0;
        case platform::WM_PAINT:
            // Nothing is drawn here: every frame goes through the present.
            platform::BeginPaint(window);
            if (platform::GetForegroundWindow() == window) {
                platform::EndPaint(window);
            }
            return 0;
        case platform::WM_DESTROY:
            platform::GXCloseInput();
            platform::GXCloseDisplay();
            platform::PostQuitMessage(0);
            return 0;
        case platform::WM_CREATE:
        case platform::WM_TIMER:
            return 0;
        default:
            return platform::DefWindowProc(window, message, wParam, lParam);
    }
}

}  // namespace qv
