// The end of a match: the result, the cards that change hands, the Perfect and the collection messages.
#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/profile.h"
#include "cards/saves.h"
#include "cards/statistics.h"
#include "engine/banners.h"
#include "engine/colour.h"
#include "engine/message_box.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "match/match_layout.h"

namespace qv {

namespace {

// A card that can change hands: a database id, and with avoidFull one the
// local collection does not already hold kMaxCopies of.
bool IsExchangeable(int16_t id, bool avoidFull) {
    return IsDatabaseId(id) && !(avoidFull && gProfile.GetCardCount(id) >= kMaxCopies);
}

void ShowCollectionBox(const WString& text) {
    ShowMessageBox(text, WString(), u"Ok", 0, 10, 0, 220, 80, 20, 3, 3);
}

void ShowCardInfoBox(int16_t id) {
    ShowMessageBox(BuildCardInfoText(id), WString(), WString(), 0, 5, 180, 230, 115, 20, 3, 3);
}

}  // namespace

bool Match::IsLocalWin() const {
    return (!boss_ && gMatchResult == 0) || (boss_ && gMatchResult == 1);
}

int Match::ExchangeCountFor(int red, int blue) const {
    if (red > blue) {
        if (boss_ || IsInfraRed()) return 1;
        int n = (red + 3) / (blue + 1);
        return n > 4 ? 4 : n;
    }
    return red == blue ? 0 : 1;
}

void Match::ComputeMatchResult(int red, int blue) {
    state_ = kStateResult;
    int n = ExchangeCountFor(red, blue);
    if (red > blue) {
        gMatchResult = 0;
        PickCardsToExchange(n, BLUE);
    } else if (red == blue) {
        gMatchResult = 2;
        exchangeCount_ = 0;
    } else {
        gMatchResult = 1;
        PickCardsToExchange(n, RED);
    }
    SetMessageLine(0, u"RED : " + FormatSChar(static_cast<int8_t>(red)) + u"  BLUE : " +
                          FormatSChar(static_cast<int8_t>(blue)),
                   WString(), WString(), 0, 1, 0);
}

int Match::CountExchangeable(Side loser, bool avoidFull) const {
    int16_t distinct[kBoardCells];
    int count = 0;
    for (int x = 0; x < kBoardColumns; ++x) {
        for (int y = 0; y < kBoardRows; ++y) {
            const BoardCell& cell = board_.CellAt(x, y);
            const int16_t id = cell.card.GetId();
            if (cell.placedBy != loser || !IsExchangeable(id, avoidFull)) continue;
            bool seen = false;
            for (int i = 0; i < count; ++i) seen = seen || distinct[i] == id;
            if (!seen) distinct[count++] = id;
        }
    }
    return count;
}

void Match::PickCardsToExchange(int n, Side loser) {
    // Over the link the server's pick is the card that changes hands. A
    // winning server passes over a card its collection cannot take (it holds
    // kMaxCopies) while the loser laid another: the loser would lose that
    // card and nobody would gain it.
    bool avoidFull = KindOf(BLUE) == kRemoteServer && loser == BLUE;
    // Only as many cards as the loser laid distinct eligible ids can be
    // picked; asking for more would never end.
    int distinctCount = CountExchangeable(loser, avoidFull);
    if (distinctCount == 0) {
        avoidFull = false;  // nothing else was laid: as before
        distinctCount = CountExchangeable(loser, avoidFull);
    }
    if (n > distinctCount) n = distinctCount;
    if (n > 4) n = 4;
    exchangeCount_ = static_cast<int8_t>(n < 0 ? 0 : n);
    if (n < 1) return;
    int remaining = n;
    while (remaining > 0) {
        int x = RandomBelow(6);
        int y = RandomBelow(4);
        const BoardCell& cell = board_.CellAt(x, y);
        if (cell.placedBy != loser) continue;
        int16_t candidate = cell.card.GetId();
        exchangeIds_[remaining - 1] = candidate;
        if (!IsExchangeable(candidate, avoidFull)) continue;
        bool taken = false;
        for (int i = remaining; i < n; ++i) taken = taken || exchangeIds_[i] == candidate;
        if (taken) continue;
        --remaining;
    }
}

void Match::ShowResult() {
    bool perfect = board_.HasSideWithoutCards();
    // Against the boss a Perfect hands over one card. Over infra-red both
    // handhelds go to the Perfect, so neither waits for a card gift.
    bool wholeDeck = perfect && !boss_;
    if (gMatchResult == 2) {
        PlayMatchSound("SOUNDS\\gagne.QVW");
        ShowDrawBanner();
        GreyBuffer(0);
        returnState_ = kStateMatchEnds;
        state_ = kStateWaitForTap;
    } else if (IsLocalWin()) {
        PlayMatchSound("SOUNDS\\gagne.QVW");
        if (perfect) ShowPerfectBanner();
        ShowYouWinBanner();
        state_ = wholeDeck ? kStatePerfect : kStateCardWon;
    } else {
        PlayMatchSound("SOUNDS\\perdu.QVW");
        if (perfect) ShowPerfectBanner();
        ShowYouLoseBanner();
        state_ = wholeDeck ? kStatePerfect : kStateCardLost;
    }
    if ((state_ == kStateCardWon || state_ == kStateCardLost) && exchangeCount_ < 1) {
        state_ = kStateMatchEnds;  // the loser laid no card that can change hands
    }
    if (quickGame_) {
        bool again = ShowNote(u"Do you want to play another quickgame ?", u"Ok", u"No");
        if (again) {
            StartQuickGame();
        } else {
            state_ = kStateMatchEnds;
            Leave();
        }
    }
}

void Match::ExchangeWonCard() {
    PlayerKind kind = KindOf(NonLocalSide());
    // The client waits in this state until the server's card has come, so
    // that both collections change by the same card.
    if (kind == kRemoteClient && !ReceiveCardGift()) return;
    if (kind == kRemoteServer) SendCardGift(exchangeIds_[0]);
    if (Cancelled()) return;
    state_ = kStateShowExchangedCard;
}

void Match::ExchangeLostCard() { ExchangeWonCard(); }

void Match::ShowExchangedCard() {
    if (exchangeCount_ < 1) {
        state_ = kStateMatchEnds;
        return;
    }
    Card card = LoadCard(exchangeIds_[exchangeCount_ - 1]);
    ShowCardAnnounce(card, 2);
    state_ = kStateCardToCollection;
}

bool Match::HandOverNextCard(int16_t& id) {
    if (exchangeCount_ < 1 || !IsDatabaseId(exchangeIds_[exchangeCount_ - 1])) {
        exchangeCount_ = 0;
        return false;
    }
    id = exchangeIds_[exchangeCount_ - 1];
    if (IsLocalWin()) {
        gProfile.AddCard(id);
        --exchangeCount_;
    } else {
        gProfile.RemoveCard(id);
        exchangeCount_ = 0;  // a loss hands over one card
    }
    return true;
}

void Match::ApplyCardToCollection() {
    const bool win = IsLocalWin();
    int16_t id = 0;
    // Handed over and saved before the notes: a game left while they are up
    // owes this card no more.
    const bool handedOver = HandOverNextCard(id);
    state_ = win && exchangeCount_ >= 1 ? kStateCardWon : kStateMatchEnds;
    if (!handedOver) return;
    const int k = gProfile.GetCardCount(id);
    SavePlayer();
    ShowCardInfoBox(id);
    if (win) {
        ShowCollectionBox(u"This card is added to your Collection.\nYou have now " + FormatInt(k));
        return;
    }
    WString text = u"This card is Removed to your Collection.\nYou have now " + FormatInt(k);
    if (k > 0) {
        ShowCollectionBox(text);
    } else {
        bool cancel = ShowMessageBox(
            text + u"\n" + u"Do you want to add a card automatically to the deck ?", u"Cancel",
            u"Ok", 0, 10, 0, 220, 80, 20, 3, 3);
        if (!cancel && !gProfile.AddBestCardToDeck()) {
            ShowNote(u"Failed. No more cards could be added.");
        }
    }
}

WString Match::HandOverPerfect() {
    // The loser's 16 cards are exactly what it laid, holds and still has in
    // its pile; its profile's deck may not hold them (a restored opponent).
    // The other handheld's hand and pile are never dealt here: only the
    // cards it laid are known.
    Side loser = IsLocalWin() ? NonLocalSide() : LocalSide();
    // Over the link both machines count only the cards on the board, which
    // both see alike: the loser gives exactly what the winner gains.
    bool known = !IsInfraRed();
    int16_t ids[kDeckSize + kBoardCells];
    int count = 0;
    for (int x = 0; x < kBoardColumns; ++x) {
        for (int y = 0; y < kBoardRows; ++y) {
            const BoardCell& cell = board_.CellAt(x, y);
            if (cell.placedBy == loser) ids[count++] = cell.card.GetId();
        }
    }
    for (int s = 0; s < kHandSize && known; ++s) {
        if (hands_[loser].IsSlotFilled(s)) ids[count++] = hands_[loser].CardAt(s).GetId();
    }
    for (int i = 0; known && i < piles_[loser].GetCount() && count < kDeckSize + kBoardCells; ++i) {
        ids[count++] = piles_[loser].CardAt(i).GetId();
    }
    if (IsLocalWin()) {
        ++gPerfectsRealised;
        for (int i = 0; i < count; ++i) {
            if (IsDatabaseId(ids[i])) gProfile.AddCard(ids[i]);
        }
        return u"You won all the cards in your opponents deck !";
    }
    ++gPerfectsReceived;
    for (int i = 0; i < count; ++i) {
        if (IsDatabaseId(ids[i])) gProfile.RemoveCard(ids[i]);
    }
    return u"You lost all the cards in your  deck !";
}

void Match::ApplyPerfect() {
    SavePlayer();
    const WString text = HandOverPerfect();
    // Over the link each machine saves its side at once, as it does for
    // the one card that changes hands.
    if (IsInfraRed()) SavePlayer();
    state_ = kStateMatchEnds;
    ShowCollectionBox(text);
}

void Match::SettleExchange(bool withBlock) {
    if (quickGame_) return;  // a quick game hands nothing over
    const bool overLink = IsInfraRed();
    bool perfect = false;
    bool cards = false;
    switch (state_) {
        case kStateResult:
            // The block brings the result back, and with it the exchange.
            if (withBlock || gMatchResult > 1) return;
            perfect = board_.HasSideWithoutCards() && !boss_;
            // Over the link the card is not agreed before the server's pick travels.
            cards = !perfect && !overLink;
            break;
        case kStatePerfect:
            if (withBlock) return;
            perfect = true;
            break;
        case kStateCardWon:
        case kStateCardLost: cards = !overLink; break;
        case kStateShowExchangedCard:
        case kStateCardToCollection: cards = true; break;
        default: return;
    }
    if (!perfect && !cards) return;
    if (perfect) HandOverPerfect();
    int16_t id = 0;
    while (cards && HandOverNextCard(id)) {
    }
    exchangeCount_ = 0;
    state_ = kStateMatchEnds;
    SavePlayer();
}

}  // namespace qv
