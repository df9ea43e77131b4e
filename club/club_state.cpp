// The club's block of the quick save: its 35 header bytes and the ten screen
// records, written and read field by field, and how a restored club resumes.
#include <algorithm>
#include <string>

#include "cards/launchers.h"
#include "cards/save_io.h"
#include "club/bet_screen.h"
#include "club/boss_screen.h"
#include "club/character_screen.h"
#include "club/club.h"
#include "club/collection_screen.h"
#include "club/instant_play_screen.h"
#include "club/options_screen.h"
#include "club/shop_screen.h"
#include "club/tournament_screen.h"
#include "engine/display.h"
#include "engine/music.h"
#include "infrared/multiplayer_screen.h"
#include "infrared/trade_screen.h"
#include "platform/system.h"

namespace qv {

namespace {

constexpr int kLastTutorialStep = 11;

// One screen record: a presence byte, then the screen's own state.
template <class T>
bool WriteRecord(platform::FileHandle file, T* screen) {
    if (screen == nullptr) return WriteU8(file, 0);
    const bool ok = WriteU8(file, 1);
    return screen->WriteState(file) && ok;
}

// The presence byte of a record: false for a short read or a value that is
// neither 0 nor 1 (nothing after it can be trusted).
bool ReadPresence(platform::FileHandle file, bool& present) {
    uint8_t byte = 0;
    if (!ReadU8(file, byte) || byte > 1) return false;
    present = byte == 1;
    return true;
}

// Creates the screen with the given construction and reads its state.
template <class T, class Make>
bool ReadRecord(platform::FileHandle file, T*& screen, Make make) {
    bool present = false;
    if (!ReadPresence(file, present)) return false;
    if (!present) return true;
    screen = make();
    return screen->ReadState(file);
}

uint8_t FlagOr(uint8_t value, uint8_t fallback) { return value <= 1 ? value : fallback; }

// A screen to return to must be a screen kind; the club view stands in.
uint8_t ReturnType(uint8_t value) {
    return IsScreenType(value) ? value : static_cast<uint8_t>(kScreenClubView);
}

}  // namespace

bool Club::WriteState(platform::FileHandle file) {
    bool ok = true;
    auto u8 = [&](uint8_t value) { ok = WriteU8(file, value) && ok; };
    auto i16 = [&](int16_t value) { ok = WriteI16(file, value) && ok; };
    u8(input_);
    u8(transitionOut_);
    u8(transitionIn_);
    u8(static_cast<uint8_t>(stepCounter_));
    u8(openRoom_);
    u8(descriptionActive_);
    i16(descriptionIndex_);
    i16(typingX_);
    i16(typingY_);
    u8(typingBuffer_);
    u8(static_cast<uint8_t>(typingTick_));
    u8(pendingType_);
    u8(currentType_);
    i16(room_);
    i16(frame_);
    u8(static_cast<uint8_t>(direction_));
    i16(titlePosition_);
    u8(static_cast<uint8_t>(titleSpeed_));
    u8(roomShown_);
    u8(descriptionTyped_);
    u8(titleInPlace_);
    u8(static_cast<uint8_t>(titleTick_));
    u8(betReturn_);
    u8(0);  // the reserved byte after the bet room's return: carries nothing
    u8(collectionReturn_);
    u8(shopReturn_);
    u8(tradeReturn_);
    u8(tutorialStep_);
    u8(tutorialFlag_);

    ok = WriteRecord(file, characterScreen_) && ok;
    ok = WriteRecord(file, multiplayerScreen_) && ok;
    ok = WriteRecord(file, shopScreen_) && ok;
    ok = WriteRecord(file, collectionScreen_) && ok;
    ok = WriteRecord(file, instantPlayScreen_) && ok;
    ok = WriteRecord(file, betScreen_) && ok;
    ok = WriteRecord(file, tournamentScreen_) && ok;
    ok = WriteRecord(file, optionsScreen_) && ok;
    ok = WriteRecord(file, tradeScreen_) && ok;
    ok = WriteRecord(file, bossScreen_) && ok;
    return ok;
}

bool Club::ReadState(platform::FileHandle file) {
    Reset();
    if (!ReadHeader(file) || !ReadScreenRecords(file)) {
        Reset();
        return false;
    }
    CheckRestoredState();
    return true;
}

bool Club::ReadHeader(platform::FileHandle file) {
    bool ok = true;
    auto u8 = [&](uint8_t& value) { ok = ok && ReadU8(file, value); };
    auto i8 = [&](int8_t& value) { ok = ok && ReadI8(file, value); };
    auto i16 = [&](int16_t& value) { ok = ok && ReadI16(file, value); };
    u8(input_);
    u8(transitionOut_);
    u8(transitionIn_);
    i8(stepCounter_);
    u8(openRoom_);
    u8(descriptionActive_);
    i16(descriptionIndex_);
    i16(typingX_);
    i16(typingY_);
    u8(typingBuffer_);
    i8(typingTick_);
    u8(pendingType_);
    u8(currentType_);
    i16(room_);
    i16(frame_);
    i8(direction_);
    i16(titlePosition_);
    i8(titleSpeed_);
    u8(roomShown_);
    u8(descriptionTyped_);
    u8(titleInPlace_);
    i8(titleTick_);
    u8(betReturn_);
    uint8_t reserved = 0;  // carries nothing
    u8(reserved);
    u8(collectionReturn_);
    u8(shopReturn_);
    u8(tradeReturn_);
    u8(tutorialStep_);
    u8(tutorialFlag_);
    return ok;
}

// The screens are made with their plain arguments; their state read
// overwrites them. The trade screen gets the room restored before it, since
// the room owns the link it works through.
bool Club::ReadScreenRecords(platform::FileHandle file) {
    if (!ReadRecord(file, characterScreen_, [] { return new CharacterScreen(); })) return false;
    if (!ReadRecord(file, multiplayerScreen_, [] { return new MultiplayerScreen(); })) return false;
    if (!ReadRecord(file, shopScreen_, [] { return new ShopScreen(); })) return false;
    if (!ReadRecord(file, collectionScreen_, [] { return new CollectionScreen(0, 0, nullptr); })) {
        return false;
    }
    if (!ReadRecord(file, instantPlayScreen_, [] { return new InstantPlayScreen(); })) return false;
    if (!ReadRecord(file, betScreen_, [] { return new BetScreen(1); })) return false;
    if (!ReadRecord(file, tournamentScreen_, [] { return new TournamentScreen(0); })) return false;
    if (!ReadRecord(file, optionsScreen_, [] { return new OptionsScreen(); })) return false;

    bool present = false;
    if (!ReadPresence(file, present)) return false;
    if (present && multiplayerScreen_ != nullptr) {
        tradeScreen_ = new TradeScreen(multiplayerScreen_);
        if (!tradeScreen_->ReadState(file)) return false;
    } else if (present) {
        // A trade without its room has no link to work through: its bytes
        // are skipped and the club view takes its place.
        uint8_t skipped = 0;
        for (int i = 0; i < TradeScreen::kStateSize; ++i) {
            if (!ReadU8(file, skipped)) return false;
        }
    }
    return ReadRecord(file, bossScreen_, [] { return new BossScreen(); });
}

// Every restored value that chooses a screen, indexes a table, a picture or
// a buffer, or keeps the club waiting is brought back into range.
void Club::CheckRestoredState() {
    transitionOut_ = FlagOr(transitionOut_, 0);
    transitionIn_ = FlagOr(transitionIn_, 0);
    if (transitionOut_) transitionIn_ = 0;
    openRoom_ = FlagOr(openRoom_, 0);
    stepCounter_ = std::clamp<int8_t>(stepCounter_, -1, 8);
    if (!HasScreen(currentType_)) currentType_ = kScreenClubView;
    if (!HasScreen(pendingType_)) pendingType_ = kScreenClubView;
    // Only the club view's tick runs transitions and walks.
    const bool viewTicks = currentType_ == kScreenClubView;
    if (!viewTicks) transitionOut_ = transitionIn_ = 0;

    const bool roomValid = room_ >= 0 && room_ < kRoomCount;
    const bool frameValid = frame_ >= 1 && frame_ <= kPanoramaFrameCount;
    if (direction_ < -1 || direction_ > 1 || !viewTicks || transitionOut_ || transitionIn_) {
        direction_ = 0;
    }
    if (!roomValid || !frameValid || (direction_ == 0 && frame_ != RoomFrame(room_))) {
        room_ = 1;
        frame_ = static_cast<int16_t>(RoomFrame(1));
        direction_ = 0;
    }
    // Input is off exactly while a transition or a walk runs.
    input_ = transitionOut_ || transitionIn_ || direction_ != 0 ? 0 : 1;

    descriptionActive_ = FlagOr(descriptionActive_, 1);
    descriptionTyped_ = FlagOr(descriptionTyped_, 0);
    titleInPlace_ = FlagOr(titleInPlace_, 0);
    roomShown_ = FlagOr(roomShown_, 1);
    descriptionIndex_ = std::clamp<int16_t>(descriptionIndex_, 0, static_cast<int16_t>(RoomDescriptionLength(room_)));
    typingX_ = std::clamp<int16_t>(typingX_, 0, 239);
    typingY_ = std::clamp<int16_t>(typingY_, 0, 320);
    if (typingBuffer_ > 2) typingBuffer_ = 0;
    typingTick_ = std::clamp<int8_t>(typingTick_, 0, 3);
    titlePosition_ = std::clamp<int16_t>(titlePosition_, 0, 240);
    titleSpeed_ = std::clamp<int8_t>(titleSpeed_, 2, 10);
    titleTick_ = std::clamp<int8_t>(titleTick_, 0, 2);

    betReturn_ = ReturnType(betReturn_);
    collectionReturn_ = ReturnType(collectionReturn_);
    shopReturn_ = ReturnType(shopReturn_);
    tradeReturn_ = ReturnType(tradeReturn_);

    tutorialFlag_ = FlagOr(tutorialFlag_, 0);
    if (tutorialStep_ > kLastTutorialStep) tutorialStep_ = kLastTutorialStep;
    CheckRestoredTutorial();
}

// The restored tournament takes up its drawing states at once. A player's
// match that was saved with it is counted when it ends; one whose result
// never reached the save is played again.
void Club::ResumeFromQuickSave() {
    DispatchScope scope(*this);
    if (tournamentScreen_ != nullptr) {
        const uint8_t state = tournamentScreen_->GetState();
        if (state == TournamentScreen::kStateDrawBracket ||
            state == TournamentScreen::kStateDrawResults) {
            tournamentScreen_->Update();
        } else if (state == TournamentScreen::kStatePlayerMatch && gClubActive == 1) {
            tournamentScreen_->ReplayMatch();
        }
    }
    if (gClubActive == 0) {
        // A restored match has drawn itself; the club waits for its end.
        matchRunning_ = 1;
        return;
    }
    if (transitionIn_) {
        // The dissolve goes on from black toward the screen it was leading
        // to, which is entered when it ends.
        if (pendingType_ == kScreenClubView) {
            Redraw(1);
        } else if (pendingType_ != kScreenOptions) {
            DrawScreen(pendingType_, 1);
        }
        FillBuffer(0, 0);
        return;
    }
    const uint8_t type = currentType_;
    TraceScreen("enter", type);
    EnterRoomScreen(type);
    // Entering may have closed the screen or started a match.
    if (gClubActive == 1) DrawScreen(currentType_, 0);
}

void Club::Reset() {
    for (uint8_t type : {kScreenCharacter, kScreenMultiplayer, kScreenShop, kScreenCollection,
                         kScreenInstantPlay, kScreenBet, kScreenGuestTournament, kScreenOptions,
                         kScreenTrade, kScreenBoss}) {
        DeleteScreenOfType(type);
    }
    input_ = 1;
    transitionOut_ = 0;
    transitionIn_ = 0;
    stepCounter_ = 0;
    openRoom_ = 0;
    descriptionActive_ = 0;
    descriptionIndex_ = 0;
    typingX_ = 0;
    typingY_ = 0;
    typingBuffer_ = 0;
    typingTick_ = 0;
    pendingType_ = kScreenClubView;
    currentType_ = kScreenClubView;
    room_ = 1;
    frame_ = static_cast<int16_t>(RoomFrame(1));
    direction_ = 0;
    titlePosition_ = 0;
    titleSpeed_ = 0;
    roomShown_ = 0;
    descriptionTyped_ = 0;
    titleInPlace_ = 0;
    titleTick_ = 0;
    betReturn_ = 0;
    collectionReturn_ = 0;
    shopReturn_ = 0;
    tradeReturn_ = 0;
    tutorialStep_ = 0;
    tutorialFlag_ = 0;
    stylusDown_ = 0;
    matchRunning_ = 0;
}

}  // namespace qv
