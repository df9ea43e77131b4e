// The tournament screen's flow: joining, the rounds, the player's matches
// and their results, the prizes, and the screen's quick-save block.
#include "club/tournament_screen.h"

#include <string>

#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/save_io.h"
#include "cards/statistics.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "club/room_notes.h"
#include "engine/blit.h"
#include "engine/font.h"
#include "engine/message_box.h"
#include "engine/utilities.h"
#include "match/match.h"

namespace qv {

namespace {

const char16_t kFolder[] = u"GFX\\MENU\\UI TOURNAMENT\\";
const char16_t* const kLevelNames[3] = {u"Guest", u"Member", u"Elite"};

constexpr int kFees[3] = {300, 1000, 2500};
constexpr int kFirstPrizes[3] = {2000, 8000, 15000};
constexpr int kSecondPrizes[3] = {1000, 4000, 7000};

const char16_t kDeckShort[] = u"Not enough cards in my selected deck.";

bool Ask(const WString& question, const char16_t* refuse) {
    // True for the accepting label, which stands on the right.
    return !ShowNote(question, refuse);
}

}  // namespace

int TournamentScreen::FeeOf(int level) { return kFees[level]; }
int TournamentScreen::FirstPrizeOf(int level) { return kFirstPrizes[level]; }
int TournamentScreen::SecondPrizeOf(int level) { return kSecondPrizes[level]; }

TournamentScreen::TournamentScreen(int level) {
    level_ = static_cast<int8_t>(level >= 0 && level < kLevelCount ? level : 0);
    const WString folder = kFolder;
    versus_ = LoadRoomPicture(folder + u"VStournoi.QVG");
    LoadLevelPictures();
    SetUpFileButton(buttons_[kStart], 0, 304, folder + u"TournamentStartON.QVG",
                    folder + u"TournamentStartOFF.QVG");
    SetUpFileButton(buttons_[kSurrender], 174, 304, folder + u"TournamentSurrenderON.QVG",
                    folder + u"TournamentSurrenderOFF.QVG");
    SetUpFileButton(buttons_[kNext], 0, 304, folder + u"TournamentNEXTon.QVG",
                    folder + u"TournamentNEXToff.QVG");
    SetUpFileButton(buttons_[kBack], 174, 304, folder + u"TournamentBackON.QVG",
                    folder + u"TournamentBackOFF.QVG");
    SeedBracket();
    state_ = kStateIdle;
    place_ = 0;
    joined_ = 0;
    SetButtonsForState();
    BlitFullScreen(entryPicture_, 1);
}

TournamentScreen::~TournamentScreen() {
    FreePicture(entryPicture_);
    FreePicture(background_);
    FreePicture(versus_);
}

// The level's entry picture and background, and the deck button cut from it.
void TournamentScreen::LoadLevelPictures() {
    FreePicture(entryPicture_);
    FreePicture(background_);
    const WString name = WString(kFolder) + u"Tournament" + kLevelNames[level_];
    entryPicture_ = LoadRoomPicture(name + u"PIX.QVG");
    background_ = LoadRoomPicture(name + u"Empty.QVG");
    SetUpCutButton(buttons_[kDeck], 207, 0, u"GFX\\MENU\\AllPartyDeck.QVJ", background_);
}

// Start and Back before joining; Next and Surrender in every other state.
void TournamentScreen::SetButtonsForState() {
    const bool idle = state_ == kStateIdle;
    buttons_[kStart].SetDisabled(!idle);
    buttons_[kBack].SetDisabled(!idle);
    buttons_[kNext].SetDisabled(idle);
    buttons_[kSurrender].SetDisabled(idle);
}

void TournamentScreen::SetState(uint8_t state) {
    state_ = state;
    TraceRoom("tournament state " + std::to_string(state) + " round " + std::to_string(round_));
}

void TournamentScreen::Enter() {
    EnterWithTapOrDissolve(*this);
    TraceRoom("tournament shown " + std::to_string(level_));
}

void TournamentScreen::Draw(int8_t buffer) {
    BlitFullScreen(background_, buffer);
    DrawCreditsRight(238, 25, buffer);
    for (const Button& button : buttons_) button.Draw(buffer);
    DrawTextRight(FormatInt(FeeOf(level_)), 108, 275, -1, buffer);
    DrawTextRight(FormatInt(FirstPrizeOf(level_)), 225, 275, -1, buffer);
    if (state_ == kStateBracketShown) DrawBracket(buffer);
    if (state_ == kStateResultsShown) DrawRoundResults(buffer);
}

bool TournamentScreen::StylusDown(uint16_t x, uint16_t y) {
    if (state_ == kStatePlayerMatch) return false;
    for (Button& button : buttons_) button.Press(x, y);
    return false;
}

bool TournamentScreen::StylusUp(uint16_t x, uint16_t y) {
    if (state_ == kStatePlayerMatch) return false;
    int released = -1;
    for (int i = 0; i < 5; ++i) {
        if (buttons_[i].Release(x, y) && released < 0) released = i;
    }
    switch (released) {
        case kStart:
            if (state_ == kStateIdle && !TryJoin()) SetButtonsForState();
            return false;
        case kSurrender:
            return Ask(u"Do you really want to leave this tournament ?", u"No");
        case kNext:
            if (state_ == kStateBracketShown) {
                // A deck emptied in the shop since joining plays no match.
                if (!DeckIsFull()) {
                    ShowNote(kDeckShort);
                } else {
                    PlayRound();
                }
            } else if (state_ == kStateResultsShown) {
                SetState(kStateDrawBracket);
                AdvanceRound();
            } else if (state_ == kStateWinnerShown) {
                state_ = kStateIdle;
                SetButtonsForState();
                Finish();
            }
            return false;
        case kBack:
            return true;
        case kDeck:
            gClub.OpenShopScreen(static_cast<uint8_t>(kScreenGuestTournament + level_));
            return false;
        default:
            return false;
    }
}

// True when the player did not join.
bool TournamentScreen::TryJoin() {
    firstPrize_ = static_cast<uint16_t>(FirstPrizeOf(level_));
    secondPrize_ = static_cast<uint16_t>(SecondPrizeOf(level_));
    const int fee = FeeOf(level_);
    bool taken = false;
    if (!IsLevelOpen(level_)) {
        ShowNote(LevelClosedNote(level_));
    } else if (gProfile.GetCredits() < fee) {
        ShowNote(u"I can't join this tournament. I need " + FormatInt(fee) + u"Credits");
    } else if (gProfile.GetDeck().GetCount() < kDeckSize) {
        ShowNote(kDeckShort);
    } else if (gProfile.GetCredits() > 3 * fee) {
        taken = true;
    } else {
        taken = Ask(u"It will cost me " + FormatInt(fee) + u" Credits to play this game.", u"Cancel");
    }
    joined_ = taken ? 1 : 0;
    if (taken) {
        gProfile.SubtractCredits(fee);
        ++gTourneysPlayed[level_];
        TraceRoom("tournament joined " + std::to_string(level_));
        SetState(kStateDrawBracket);
    }
    return !taken;
}

void TournamentScreen::Update() {
    switch (state_) {
        case kStateDrawBracket:
            Draw(0);
            DrawBracket(0);
            SetState(round_ == 4 ? kStateWinnerShown : kStateBracketShown);
            break;
        case kStateDrawResults:
            Draw(0);
            DrawRoundResults(0);
            SetState(kStateResultsShown);
            break;
        case kStatePlayerMatch:
            RecordPlayerResult();
            break;
        default:
            break;
    }
}

bool TournamentScreen::DeckIsFull() const { return gProfile.GetDeck().GetCount() >= kDeckSize; }

void TournamentScreen::StartPlayerMatch() {
    TraceRoom("tournament match " + std::to_string(opponent_));
    StartOpponentMatch(opponent_, level_);
}

// Counts a result of the player's match; true for a tie, which is played again.
bool TournamentScreen::CountPlayerResult(uint8_t result) {
    const int entry = StatisticsIndex(opponent_, level_);
    const int mine = slots_[pairIndex_].participant == kPlayer ? pairIndex_ : pairIndex_ + 1;
    const int theirs = mine == pairIndex_ ? pairIndex_ + 1 : pairIndex_;
    switch (result) {
        case 0:
            ++gGamesWon[entry];
            place_ = static_cast<uint8_t>(round_ + 1);
            slots_[theirs].out = 1;
            TraceRoom("tournament result won " + std::to_string(round_));
            SetState(kStateDrawResults);
            return false;
        case 1:
            ++gGamesLost[entry];
            slots_[mine].out = 1;
            TraceRoom("tournament result lost " + std::to_string(round_));
            SetState(kStateDrawResults);
            return false;
        case 2:
            ++gGamesTied[entry];
            TraceRoom("tournament tied " + std::to_string(round_));
            return true;
        default:
            return false;
    }
}

// The first frame after the player's match.
void TournamentScreen::RecordPlayerResult() {
    StartMenuMusic();
    if (!MatchResultPending()) {
        // No match came back with a restored game: it is played again.
        ReplayMatch();
        return;
    }
    if (CountPlayerResult(TakeMatchResult())) StartPlayerMatch();
}

bool TournamentScreen::SettleMatch() {
    if (state_ != kStatePlayerMatch || !MatchResultPending()) return false;
    CountPlayerResult(TakeMatchResult());
    return true;
}

void TournamentScreen::ReplayMatch() {
    if (state_ != kStatePlayerMatch) return;
    if (!DeckIsFull()) {
        // The deck lost cards meanwhile: back to the bracket, whose Next
        // plays the match once the deck is full again.
        ShowNote(kDeckShort);
        SetState(kStateBracketShown);
        Draw(0);
        return;
    }
    StartPlayerMatch();
}

void TournamentScreen::Finish() {
    if (joined_) {
        WString note;
        switch (place_) {
            case 0: note = u"Well, it seems that I REALLY need some training."; break;
            case 1: note = u"Looks like I need some more practice."; break;
            case 2: note = u"Not that bad, maybe next time I'll reach the final. "; break;
            case 3:
                gProfile.AddCredits(secondPrize_);
                note = u"Yeahhh! I finished 2nd, little bit work and I'll be the champion. I won " +
                       FormatInt(secondPrize_) + u" Credits!";
                break;
            default:
                gProfile.AddCredits(firstPrize_);
                ++gTourneysWon[level_];
                note = u"Woohooo! I won the tournament, and " + FormatInt(firstPrize_) + u" Credits!";
                break;
        }
        TraceRoom("tournament finished " + std::to_string(place_));
        ShowNote(note);
    }
    Draw(0);
    place_ = 0;
    round_ = 0;
    SetState(kStateIdle);
    SeedBracket();
}

bool TournamentScreen::WriteState(platform::FileHandle file) {
    // With the club back (gClubActive 1) the player's match has ended;
    // otherwise it is saved with the game and counted when it ends.
    if (gClubActive == 1) SettleMatch();
    bool ok = WriteU8(file, static_cast<uint8_t>(level_));
    ok = WriteU8(file, static_cast<uint8_t>(round_)) && ok;
    for (const Slot& slot : slots_) {
        ok = WriteU8(file, slot.participant) && ok;
        ok = WriteU8(file, slot.out) && ok;
    }
    ok = WriteU8(file, state_) && ok;
    ok = WriteU8(file, pairIndex_) && ok;
    ok = WriteU8(file, static_cast<uint8_t>(opponent_)) && ok;
    ok = WriteU8(file, joined_) && ok;
    ok = WriteU8(file, joined_) && ok;
    ok = WriteU8(file, place_) && ok;
    ok = WriteI16(file, static_cast<int16_t>(firstPrize_)) && ok;
    return WriteI16(file, static_cast<int16_t>(secondPrize_)) && ok;
}

bool TournamentScreen::ReadState(platform::FileHandle file) {
    uint8_t b[kStateSize] = {};
    bool whole = true;
    for (uint8_t& byte : b) whole = whole && ReadU8(file, byte);

    StoredFields f;
    f.level = static_cast<int8_t>(b[0]);
    f.round = static_cast<int8_t>(b[1]);
    for (int i = 0; i < kSlotCount; ++i) f.slots[i] = {b[2 + 2 * i], b[3 + 2 * i]};
    f.state = b[34];
    f.pairIndex = b[35];
    f.opponent = static_cast<int8_t>(b[36]);
    f.joined = b[37];
    f.place = b[39];
    f.firstPrize = static_cast<uint16_t>(b[40] | b[41] << 8);
    f.secondPrize = static_cast<uint16_t>(b[42] | b[43] << 8);
    // The joined flag is stored twice; a file of this program has both alike.
    const bool sound = whole && b[37] == b[38] && IsSound(f);
    if (sound) {
        level_ = f.level;
        round_ = f.round;
        for (int i = 0; i < kSlotCount; ++i) slots_[i] = f.slots[i];
        state_ = f.state;
        pairIndex_ = f.pairIndex;
        opponent_ = f.opponent;
        joined_ = f.joined;
        place_ = f.place;
        firstPrize_ = f.firstPrize;
        secondPrize_ = f.secondPrize;
    } else {
        // A tournament that cannot go on: a fresh draw of the level read
        // (the guests when that is damaged too), nothing joined.
        level_ = static_cast<int8_t>(whole && b[0] < kLevelCount ? b[0] : 0);
        SeedBracket();
        state_ = kStateIdle;
        pairIndex_ = kNoPair;
        joined_ = 0;
        place_ = 0;
    }
    LoadLevelPictures();
    SetButtonsForState();
    TraceRoom("tournament restored " + std::to_string(state_) + (sound ? "" : " refused"));
    return sound;
}

}  // namespace qv
