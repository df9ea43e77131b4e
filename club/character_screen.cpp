// The character screen: slots, drawing, the buttons, and creating, loading and
// deleting characters.
#include "club/character_screen.h"

#include "cards/launchers.h"
#include "cards/save_io.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/font.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "engine/registry_settings.h"
#include "engine/utilities.h"
#include "engine/wstring.h"
#include "platform/system.h"

namespace qv {

namespace {

const char16_t kFolder[] = u"GFX\\MENU\\UI CHARACTER\\";

constexpr int kOkX = 0, kOkY = 234, kOkWidth = 23, kOkHeight = 19;
constexpr int kQuickGameX = 63, kQuickGameY = 234;
constexpr int kDeleteX = 197, kDeleteY = 234, kDeleteWidth = 43, kDeleteHeight = 20;

constexpr int kSlotLeft = 28, kSlotRight = 218, kSlotTop = 185, kSlotStep = 15, kSlotHeight = 10;
constexpr int kSlotCursorWidth = 190;
constexpr int kFieldRight = 232;
constexpr int kFieldTop[4] = {34, 68, 100, 134};
constexpr int kFieldBottom[4] = {60, 94, 126, 160};
constexpr int kFieldTextX = 68;
constexpr int kFieldTextY[4] = {46, 79, 112, 146};
constexpr int kFieldCursorY[4] = {45, 78, 111, 145};
constexpr int kFieldCursorWidth = 158;
constexpr int kKeyboardLeft = 13, kKeyboardRight = 229, kKeyboardTop = 257, kKeyboardBottom = 309;

void Tint(int x, int y, int width, int8_t buffer) { TintRect(x, y, width, kSlotHeight, 32, 32, -64, buffer); }

void TraceCharacter(const std::string& text) { platform::Trace("character", text); }

}  // namespace

CharacterSummary EmptySlotSummary(int slotIndex) {
    CharacterSummary summary;
    summary.number = -1;
    summary.credits = kStartingCredits;
    summary.kind = kLocalPlayer;
    summary.slot = static_cast<uint8_t>(slotIndex + 1);
    return summary;
}

CharacterScreen::CharacterScreen() {
    LoadPicture(gInstallDir + kFolder + u"CreateCharacterEmpty.QVG", background_, true);
    LoadPicture(gInstallDir + kFolder + u"CreateCharacterPIX.QVG", transitionPicture_, true);
    // The registry holds the slot of the last saved character, 1..3.
    const int8_t current = LoadCurrentSlot();
    selectedSlot_ = static_cast<int8_t>(current >= 1 && current <= kCharacterSlotCount ? current - 1 : 0);
    selectedField_ = kFieldName;
    // Saved before the slots are read, so that the heads show the current
    // character as it stands (a load takes the head's credits).
    SavePlayer();
    newSlot_ = SlotFileExists(selectedSlot_) ? 0 : 1;
    for (int i = 0; i < kCharacterSlotCount; ++i) slots_[i] = ReadSlotHeader(i);

    BlitFullScreen(background_, 1);
    const WString folder = kFolder;
    SetUpCutButton(ok_, kOkX, kOkY, folder + u"CreateCharacterOK.QVJ", background_, kOkWidth, kOkHeight);
    SetUpCutButton(delete_, kDeleteX, kDeleteY, folder + u"CreateCharacterDELETE.QVJ", background_, kDeleteWidth,
                   kDeleteHeight);
    SetUpCutButton(quickGame_, kQuickGameX, kQuickGameY, folder + u"CreateCharacterQUICKGAME.QVJ", background_);
    BlitFullScreen(transitionPicture_, 1);
    TraceCharacter("open slot " + std::to_string(selectedSlot_ + 1));
}

CharacterScreen::~CharacterScreen() {
    FreePicture(background_);
    FreePicture(transitionPicture_);
}

void CharacterScreen::Enter() {
    TraceCharacter("enter slot " + std::to_string(selectedSlot_ + 1));
    if (!gMusicOff) {
        FreeMusic();
        LoadMusic(gInstallDir + u"SOUNDS\\Partie5.QVM");
        PlayMusic(0);
    }
    EnterWithTapOrDissolve(*this);
    TraceCharacter("shown slot " + std::to_string(selectedSlot_ + 1));
}

CharacterSummary CharacterScreen::ReadSlotHeader(int slotIndex) {
    CharacterSummary summary = EmptySlotSummary(slotIndex);
    platform::FileHandle file =
        platform::CreateFile(CharacterFilePath(slotIndex + 1), platform::GENERIC_READ, platform::OPEN_EXISTING);
    if (file == platform::INVALID_HANDLE_VALUE) return summary;
    // The head only; the checksum is tested when the character is loaded.
    // A short or damaged head keeps what was read up to the damage.
    platform::SetFilePointer(file, 2, platform::FILE_BEGIN);
    int32_t credits = 0;
    uint8_t kind = 0;
    if (ReadSaveText(file, summary.name) && ReadI16(file, summary.number) && ReadSaveText(file, summary.textA) &&
        ReadSaveText(file, summary.textB) && ReadI32(file, credits)) {
        summary.credits = static_cast<int32_t>(static_cast<uint32_t>(credits) ^ kSaveMask);
        if (ReadU8(file, kind)) summary.kind = static_cast<PlayerKind>(kind);
    }
    platform::CloseHandle(file);
    return summary;
}

bool CharacterScreen::SlotFileExists(int slotIndex) {
    platform::FileHandle file =
        platform::CreateFile(CharacterFilePath(slotIndex + 1), platform::GENERIC_READ, platform::OPEN_EXISTING);
    if (file == platform::INVALID_HANDLE_VALUE) return false;
    platform::CloseHandle(file);
    return true;
}

void CharacterScreen::Draw(int8_t buffer) {
    BlitFullScreen(background_, buffer);
    DrawFields(buffer);
    DrawSlotCursor(buffer);
    DrawFieldCursor(buffer);
    ok_.Draw(buffer);
    delete_.Draw(buffer);
    quickGame_.Draw(buffer);
}

void CharacterScreen::DrawFields(int8_t buffer) const {
    const CharacterSummary& slot = slots_[selectedSlot_];
    DrawText(slot.name, kFieldTextX, kFieldTextY[0], gFont, buffer);
    if (slot.number != -1) DrawText(FormatShort(slot.number), kFieldTextX, kFieldTextY[1], gFont, buffer);
    DrawText(slot.textA, kFieldTextX, kFieldTextY[2], gFont, buffer);
    DrawText(slot.textB, kFieldTextX, kFieldTextY[3], gFont, buffer);
    for (int i = 0; i < kCharacterSlotCount; ++i) {
        const int y = kSlotTop + 1 + kSlotStep * i;
        DrawText(slots_[i].name, kSlotLeft, y, gFont, buffer);
        if (slots_[i].name.empty()) continue;
        const WString credits = FormatUInt(static_cast<uint32_t>(slots_[i].credits));
        DrawText(credits, kSlotRight - gFont.TextWidth(credits), y, gFont, buffer);
    }
}

void CharacterScreen::DrawSlotCursor(int8_t buffer) const {
    Tint(kSlotLeft, kSlotTop + kSlotStep * selectedSlot_, kSlotCursorWidth, buffer);
}

void CharacterScreen::DrawFieldCursor(int8_t buffer) const {
    if (selectedField_ < kFieldName || selectedField_ > kFieldTextB) return;
    Tint(kFieldTextX, kFieldCursorY[selectedField_ - 1], kFieldCursorWidth, buffer);
}

void CharacterScreen::SelectSlot(int slotIndex) {
    selectedSlot_ = static_cast<int8_t>(slotIndex);
    newSlot_ = SlotFileExists(slotIndex) ? 0 : 1;
    TraceCharacter("slot " + std::to_string(slotIndex + 1) + (newSlot_ ? " empty" : " " + Narrow(slots_[slotIndex].name)));
    Draw(0);
}

bool CharacterScreen::StylusDown(uint16_t x, uint16_t y) {
    if (x >= kSlotLeft && x <= kSlotRight) {
        for (int i = 0; i < kCharacterSlotCount; ++i) {
            const int top = kSlotTop + kSlotStep * i;
            if (i != selectedSlot_ && y >= top && y <= top + kSlotHeight) {
                SelectSlot(i);
                return false;
            }
        }
    }
    if (x <= kFieldRight) {
        for (int field = 0; field < 4; ++field) {
            if (y >= kFieldTop[field] && y <= kFieldBottom[field]) {
                selectedField_ = static_cast<int8_t>(field + 1);
                Draw(0);
                return false;
            }
        }
    }
    if (x >= kKeyboardLeft && x <= kKeyboardRight && y >= kKeyboardTop && y <= kKeyboardBottom) {
        PressKey(x, y);
        return false;
    }
    PressButtons(x, y);
    return false;
}

void CharacterScreen::PressButtons(uint16_t x, uint16_t y) {
    ok_.Press(x, y);
    delete_.Press(x, y);
    quickGame_.Press(x, y);
}

bool CharacterScreen::StylusUp(uint16_t x, uint16_t y) {
    if (ok_.Release(x, y) && PressOk()) return true;
    if (delete_.Release(x, y)) {
        PressDelete();
        return false;
    }
    if (quickGame_.Release(x, y)) PressQuickGame();
    return false;
}

bool CharacterScreen::PressOk() {
    CharacterSummary& slot = slots_[selectedSlot_];
    slot.slot = static_cast<uint8_t>(selectedSlot_ + 1);
    if (!newSlot_) return LoadCharacter();
    if (slot.name.empty()) {
        ShowNote(u"The selected character is not valid. Please enter a name.");
        return false;
    }
    CreateCharacter();
    if (ShowNote(u"Since it's the first time you use this character, you should try the tutorial.", u"Ok", u"No")) {
        gClub.StartTutorial();
    }
    return true;
}

void CharacterScreen::PressDelete() {
    const CharacterSummary& slot = slots_[selectedSlot_];
    if (slot.name.empty()) return;
    const WString question = u"Are you sure that you want to delete the character " + slot.name + u" with " +
                             FormatUInt(static_cast<uint32_t>(slot.credits)) + u" Credits?";
    if (ShowNote(question, u"Cancel")) return;
    TraceCharacter("delete slot " + std::to_string(selectedSlot_ + 1));
    ForgetSlot(selectedSlot_, true);
    Draw(0);
}

void CharacterScreen::PressQuickGame() {
    TraceCharacter("quick game");
    gProfile.SetSlot(kNoCharacterSlot);
    StartQuickGame();
}

// Deletes the slot's file and shows the slot empty. A deleted current
// character goes from memory too: otherwise the next save (leaving the game,
// for one) would write the file back.
void CharacterScreen::ForgetSlot(int slotIndex, bool forgetCurrent) {
    platform::DeleteFile(CharacterFilePath(slotIndex + 1));
    slots_[slotIndex] = ReadSlotHeader(slotIndex);
    newSlot_ = 1;
    if (forgetCurrent && gProfile.GetSlot() == slotIndex + 1) {
        gProfile.Reset();
        CharacterSummary nobody = EmptySlotSummary(slotIndex);
        nobody.slot = kNoCharacterSlot;
        gProfile.SetCharacter(nobody);
        ClearStatistics();
    }
}

void CharacterScreen::CreateCharacter() {
    CharacterSummary& slot = slots_[selectedSlot_];
    gProfile.Reset();
    slot.kind = kLocalPlayer;
    slot.credits = kStartingCredits;
    gProfile.SetCharacter(slot);
    gProfile.SetSlot(static_cast<uint8_t>(selectedSlot_ + 1));
    ClearStatistics();
    SavePlayer();
    TraceCharacter("created " + Narrow(slot.name) + " in slot " + std::to_string(selectedSlot_ + 1));
}

bool CharacterScreen::LoadCharacter() {
    CharacterSummary& slot = slots_[selectedSlot_];
    if (LoadPlayerSave(selectedSlot_ + 1)) {
        slot.kind = kLocalPlayer;
        gProfile.SetCharacter(slot);
        gProfile.SetSlot(static_cast<uint8_t>(selectedSlot_ + 1));
        TraceCharacter("loaded " + Narrow(slot.name) + " from slot " + std::to_string(selectedSlot_ + 1));
        return true;
    }
    // A refused file changed nothing in memory, and the character in memory
    // stays as it is; the file goes, and its slot shows empty.
    TraceCharacter("refused slot " + std::to_string(selectedSlot_ + 1));
    ForgetSlot(selectedSlot_, false);
    ShowNote(u"Error !! \nSave file is not valid !!\n\nFile Deleted.");
    Draw(0);
    return false;
}

bool CharacterScreen::WriteState(platform::FileHandle) { return true; }
bool CharacterScreen::ReadState(platform::FileHandle) { return true; }

}  // namespace qv
