// The collection manager's changes to the profile: cards into and out of the
// deck or the trade box, the strip's scroll, a sale, and the zoomed card.
#include <algorithm>
#include <string>
#include <utility>

#include "cards/card_database.h"
#include "cards/saves.h"
#include "club/collection_screen.h"
#include "club/room_notes.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/utilities.h"
#include "platform/system.h"

namespace qv {

namespace {

constexpr int kScrollBack = 3;  // a reset scroll shows this many cards before the first gap
const BoxRect kZoomBox{5, 180, 230, 115};
constexpr int kZoomCardX = 72;
constexpr int kZoomCardY = 20;

}  // namespace

// A selected card that is no longer owned (a trade went through meanwhile)
// counts as no selection.
int16_t CollectionScreen::SelectedCardId() const {
    if (selectedPage_ >= 0) {
        const auto id = static_cast<int16_t>(pageStart_ + selectedPage_ + 1);
        return gProfile.GetCardCount(id) > 0 ? id : kEmptyCardId;
    }
    if (selectedStrip_ >= 0) return StripCardId(selectedStrip_);
    return kEmptyCardId;
}

void CollectionScreen::ClearSelections() {
    selectedPage_ = -1;
    selectedStrip_ = -1;
    tintOn_ = 0;
}

void CollectionScreen::TraceStrip() {
    if (mode_ == kModeTradeBox) {
        platform::Trace("collection", "tradebox " + std::to_string(gProfile.TradeBoxCount()));
    } else {
        platform::Trace("collection", "deck " + std::to_string(gProfile.GetDeck().GetCount()));
    }
}

// --- Deck ---

void CollectionScreen::AddToDeck(int16_t id) {
    if (gProfile.GetDeck().GetCount() >= kDeckSize) {
        ShowRoomNote(
            u"Your deck is already full of card, you can't add more cards, if you want to add "
            u"this one remove 1 card from the deck first.");
        return;
    }
    gProfile.AddToDeck(id, false);
}

void CollectionScreen::ToggleDeckCard() {
    const int16_t id = SelectedCardId();
    if (id == kEmptyCardId) return;
    if (selectedPage_ >= 0) {
        if (gProfile.DeckContains(id)) {
            gProfile.RemoveFromDeck(id);
        } else {
            AddToDeck(id);
        }
    } else {
        DropStripCardOff(selectedStrip_);
    }
    ResetDeckStripScroll();
    TraceStrip();
    Draw(0);
}

void CollectionScreen::ToggleTradeBoxCard() {
    const int16_t id = SelectedCardId();
    if (id == kEmptyCardId) return;
    if (selectedPage_ >= 0) {
        if (!gProfile.RemoveFromTradeBox(id)) gProfile.AddToTradeBox(id);
    } else {
        DropStripCardOff(selectedStrip_);
    }
    ResetTradeStripScroll();
    TraceStrip();
    Draw(0);
}

void CollectionScreen::DropStripCardOff(int k) {
    if (mode_ == kModeTradeBox) {
        gProfile.RemoveTradeBoxAt(k);
    } else if (k >= 0 && k < kDeckSize) {
        gProfile.RemoveFromDeckAt(k);
    }
    selectedStrip_ = -1;
}

void CollectionScreen::SwapStripCards(int a, int b) {
    if (a == b || a < 0 || b < 0 || a >= kDeckSize || b >= kDeckSize) return;
    CardDeck& deck = gProfile.GetDeck();
    const Card first = deck.GetCard(a);
    const Card second = deck.GetCard(b);
    deck.RemoveCardAt(a);
    deck.RemoveCardAt(b);
    if (first.GetId() != kEmptyCardId) deck.PutCardInSlot(first, b);
    if (second.GetId() != kEmptyCardId) deck.PutCardInSlot(second, a);
    // The pictures the screen holds move with their cards.
    std::swap(stripCards_[a], stripCards_[b]);
}

// The strip shows the three positions before the deck's first gap.
void CollectionScreen::ResetDeckStripScroll() {
    int firstGap = 0;
    while (firstGap < kDeckSize && gProfile.GetDeck().CardAt(firstGap).GetId() != kEmptyCardId) {
        ++firstGap;
    }
    stripScroll_ = static_cast<int8_t>(std::clamp(firstGap - kScrollBack, 0, kLastStripScrollDeck));
}

void CollectionScreen::ResetTradeStripScroll() {
    stripScroll_ = static_cast<int8_t>(
        std::clamp(gProfile.TradeBoxCount() - kScrollBack, 0, kLastStripScrollTrade));
}

// --- Sale ---

// The credits, the copy and the character file change together, after the
// answer and with nothing in between that could wait for the player.
void CollectionScreen::SellSelectedCard() {
    const int16_t id = SelectedCardId();
    const Card card = LoadCard(id);
    const int16_t value = card.GetValue();
    const bool cancelled =
        AskRoomQuestion(u"Do you want to sell : " + card.GetName() + u" for " + FormatShort(value) +
                            u" Credits",
                        u"Cancel", u"Ok");
    if (cancelled || gProfile.GetCardCount(id) == 0) return;
    gProfile.AddCredits(value);
    gProfile.RemoveCard(id);
    SavePlayer();
    platform::Trace("collection", "sold " + std::to_string(id) + " for " + std::to_string(value));
    if (gProfile.GetCardCount(id) == 0) ClearSelections();
    if (mode_ == kModeTradeBox) {
        ResetTradeStripScroll();
    } else {
        ResetDeckStripScroll();
    }
    Draw(0);
}

// --- Zoom ---

// The screen is kept in buffer 1 and shown greyed under the card's text and
// big picture; the next stylus down brings it back.
void CollectionScreen::ZoomCard(int16_t id) {
    CopyBuffer(0, 1);
    GreyBuffer(0);
    ShowRoomBox(BuildCardInfoText(id), u"", u"", 0, kZoomBox);
    zoomOpen_ = 1;
    Card card = LoadCard(id);
    card.LoadPicture(kCardBig);
    card.Draw(kZoomCardX, kZoomCardY, kCardBig, 0, 2);
    card.FreePicture(kCardBig);
}

}  // namespace qv
