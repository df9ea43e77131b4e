// What the match rooms share: pictures under the installation directory,
// buttons cut from their background, right-aligned texts, the way a room
// comes up, and taking a finished match's result once.
#pragma once

#include <cstdint>
#include <string>

#include "engine/button.h"
#include "engine/picture.h"
#include "platform/types.h"

namespace qv {

// Loads gInstallDir + relative path, dithered; a missing picture is 0 x 0
// (the loader has said so).
Picture LoadRoomPicture(const WString& relativePath);
// The button at (x, y): pressed picture from the file, normal picture cut
// from the background at that place, width x height or, for a width of 0,
// the pressed picture's size; opaque.
void SetUpCutButton(Button& button, int16_t x, int16_t y, const WString& pressedPath, const Picture& background,
                    int16_t width = 0, int16_t height = 0);
// Both pictures from files; opaque.
void SetUpFileButton(Button& button, int16_t x, int16_t y, const WString& pressedPath,
                     const WString& normalPath);

// The text drawn so that it ends at x rightEdge; colour -1 is plain text.
void DrawTextRight(const WString& text, int rightEdge, int y, int colour, int8_t buffer);
// The player's credits, " " and "Credits" in colour 3, ending at rightEdge.
void DrawCreditsRight(int rightEdge, int y, int8_t buffer);

// A room's entry after its transition: up to 500 ms for a tap; a tap draws
// the room straight into buffer 0, otherwise it is drawn into buffer 1 and
// the whole screen dissolves toward it.
template <class Room>
void EnterWithTapOrDissolve(Room& room);
void DissolveToBuffer1();
bool WaitForEntryTap();

template <class Room>
void EnterWithTapOrDissolve(Room& room) {
    if (WaitForEntryTap()) {
        room.Draw(0);
    } else {
        room.Draw(1);
        DissolveToBuffer1();
    }
}

// The result of the match a room started, once the board has filled
// (0 the first participant won, 1 the second, 2 a tie), and
// kNoMatchResult otherwise. Taking it leaves kNoMatchResult behind, so the
// same match is never counted twice.
uint8_t TakeMatchResult();
bool MatchResultPending();
// The program ends without a quick save: a match that a room started and
// whose board has filled is counted (and paid) now, before the character
// is saved for the last time.
void SettlePendingMatchResults();

// One trace line of the rooms' kind ("room") for scripted tests.
void TraceRoom(const std::string& text);

}  // namespace qv
