// The boss's lair: who may enter, the talk, the boss match, and the defeat.
#include "club/boss_screen.h"

#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/install_dir.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "match/match.h"

namespace qv {

namespace {

const char16_t kFirstPicture[] = u"GFX\\MENU\\HELL\\Starman1.QVJ";
const char16_t kSecondPicture[] = u"GFX\\MENU\\HELL\\Starman2.QVJ";

constexpr int kSpeechColour = 5;
constexpr int kNarrationColour = 3;
constexpr int kLastWordsColour = 11;

void EntryNote(const WString& text, bool large) {
    if (large) {
        ShowMessageBox(text, u"", u"Ok", 1, 30, 95, 180, 100, 20, 3, 3);
    } else {
        ShowNote(text);
    }
}

bool AllNonZero(const int16_t* counters, int count) {
    for (int i = 0; i < count; ++i) {
        if (counters[i] == 0) return false;
    }
    return true;
}

}  // namespace

bool TryEnterBossLair() {
    if (gProfile.CountDistinct() != GetCardCount()) {
        EntryNote(u"You don't have enough card to pretend to play against Starman, He's only "
                  u"accepting to play against people who own the whole collection...\nHahaha come "
                  u"back later kid...",
                  true);
        return false;
    }
    if (gProfile.GetDeck().GetCount() <= 15) {
        EntryNote(u"I don't have enough cards in my deck to join this game.", false);
        return false;
    }
    if (!AllNonZero(gGamesWon, kOpponentCount)) {
        EntryNote(u"You need to beat all the opponents before hoping to enter here !", false);
        return false;
    }
    if (!AllNonZero(gTourneysWon, kLevelCount)) {
        EntryNote(u"You need to have won all the tournaments to enter here ! \nCome back later ...",
                  false);
        return false;
    }
    if (gProfile.GetCredits() < kBossLairPrice) {
        EntryNote(u"You don't have enough money to enter here, you need 50000 Credits!", true);
        return false;
    }
    const bool cancelled = ShowNote(u"You will spend 50000 Credits! to enter here.", u"Cancel");
    if (cancelled) return false;
    gProfile.SubtractCredits(kBossLairPrice);
    TraceRoom("boss paid");
    return true;
}

BossScreen::BossScreen() {
    picture_ = LoadRoomPicture(kFirstPicture);
    if (!gMusicOff) {
        FreeMusic();
        LoadMusic(gInstallDir + u"SOUNDS\\Boss.QVX");
        PlayMusic(0);
    }
    state_ = kStateTalk;
}

BossScreen::~BossScreen() { FreePicture(picture_); }

void BossScreen::Draw(int8_t buffer) { BlitPicture(0, 0, picture_, buffer); }

void BossScreen::StylusDown(uint16_t, uint16_t) {
    if (state_ != kStateTalk) return;
    RunTalk();
}

bool BossScreen::StylusUp(uint16_t, uint16_t) { return false; }

void BossScreen::RunTalk() {
    TraceRoom("boss talk");
    TypeSpeech(u"Thick brimstone smoke raises from the bottom of the card master's lair, making it "
               u"almost impossible to breath. My skin gets dry with the heat, but I must continue, "
               u"and put an end to this.",
               40, 10, 160, kNarrationColour);
    WaitForTapOrTimeout(2000);
    TypeSpeech(u"At least you came to me " + gProfile.GetName() +
                   u", very few people can tell they reached this place. it requires perseverance, "
                   u"smartness, and patience. I'm surprised you made it this far.",
               20, 260, 200, kSpeechColour);
    WaitForTapOrTimeout(10000);
    FreePicture(picture_);
    picture_ = LoadRoomPicture(kSecondPicture);
    Draw(0);
    PresentScreen();
    WaitForTapOrTimeout(2000);
    TypeSpeech(u"But soon you'll understand why they call me the card master. I'm not only a "
               u"player, I'm also the essence of the card universe. I'll teach you the taste of "
               u"defeat.",
               20, 260, 200, kSpeechColour);
    WaitForTapOrTimeout(10000);
    TraceRoom("boss match");
    StartBossMatch();
    state_ = kStateMatch;
}

void BossScreen::Update() {
    if (state_ != kStateMatch) return;
    state_ = kStateDone;
    // The player is the boss's opponent, the second participant.
    if (TakeMatchResult() == 1) {
        PlayVictory();
    } else {
        PlayDefeat();
    }
    // The lair is gone (the club frees it once this call has returned).
}

void BossScreen::PlayDefeat() {
    TraceRoom("boss result defeat");
    Draw(0);
    PresentScreen();
    TypeSpeech(u"You're nothing but an insect to me. you just don't worth my attention.", 50, 240, 150,
               kLastWordsColour);
    WaitForTapOrTimeout(10000);
    gClub.LeaveBossScreen(false);
}

bool BossScreen::WriteState(platform::FileHandle) { return true; }
bool BossScreen::ReadState(platform::FileHandle) { return true; }

}  // namespace qv
