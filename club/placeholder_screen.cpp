// Placeholder until every club screen is built: the screens not built yet
// draw a dark screen naming their room and keep their quick-save bytes.
#include "club/placeholder_screen.h"

#include "cards/save_io.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/font.h"

namespace qv {

namespace {

void DrawCentred(const WString& text, int y, int colour, int8_t buffer) {
    DrawColouredText(text, (kScreenWidth - gFont.TextWidth(text)) / 2, y, gFont, colour, buffer);
}

}  // namespace

void DrawPlaceholderScreen(const char16_t* name, int8_t buffer) {
    FillBuffer(0, buffer);
    DrawCentred(name, 140, 3, buffer);
    DrawCentred(u"Closed for now. Tap to go back.", 160, 11, buffer);
}

bool WritePlaceholderState(platform::FileHandle file, const uint8_t* bytes, int count) {
    bool ok = true;
    for (int i = 0; i < count; ++i) ok = WriteU8(file, bytes[i]) && ok;
    return ok;
}

bool ReadPlaceholderState(platform::FileHandle file, uint8_t* bytes, int count) {
    for (int i = 0; i < count; ++i) {
        if (!ReadU8(file, bytes[i])) return false;
    }
    return true;
}

}  // namespace qv
