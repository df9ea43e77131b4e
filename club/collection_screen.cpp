// The collection manager's pictures and drawing: the page of 24 cards with
// their counts and markers, the strip of the deck or the trade box, and the
// selection tints.
#include "club/collection_screen.h"

#include "cards/card_database.h"
#include "cards/save_io.h"
#include "club/room_kit.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "platform/system.h"

namespace qv {

namespace {

const char16_t kFolder[] = u"GFX\\MENU\\UI SHOP\\";

struct ButtonPlace {
    const char16_t* pressed;
    int16_t x, y;
};
// In the order of every press and release test.
const ButtonPlace kButtons[CollectionScreen::kButtonCount] = {
    {u"CollectionFlecheGaucheON.QVJ", 0, 99},  {u"CollectionZoom.QVJ", 0, 232},
    {u"CollectionFlecheDroiteON.QVJ", 221, 99}, {u"CollectionSell.QVJ", 0, 303},
    {u"CollectionBack.QVJ", 202, 304},          {u"CollectionAdd.QVJ", 150, 0},
    {u"CollectionLeft.QVJ", 60, 305},           {u"CollectionRight.QVJ", 159, 305},
};

constexpr int kCreditsRight = 190;
constexpr int kCreditsY = 235;
constexpr int kCreditsColour = 3;
// Tints: a card of the last boosters, and a selected card.
constexpr int8_t kNewTint[3] = {48, -24, -24};
constexpr int8_t kSelectionTint[3] = {40, 40, -40};

Picture LoadCollectionPicture(const WString& name) { return LoadRoomPicture(kFolder + name); }

// The last id a page shows: the database's cards, within the collection's table.
int16_t LastPageId() { return GetCardCount() < kCardSetSize ? GetCardCount() : kCardSetSize; }

}  // namespace

CollectionScreen::CollectionScreen(uint8_t highlightNew, uint8_t mode, TradeScreen* trade)
    : highlightNew_(highlightNew), mode_(mode == kModeTradeBox ? kModeTradeBox : kModeDeck),
      trade_(trade) {
    for (int16_t& id : newCards_) id = kEmptyCardId;
    if (highlightNew_) {
        const int16_t* fresh = gProfile.GetNewCards();
        for (int i = 0; i < kNewCardsSize; ++i) newCards_[i] = fresh[i];
    }
    background_ = LoadCollectionPicture(u"CollectionEmpty.QVG");
    marker_ = LoadCollectionPicture(u"CollectionBorder.QVG");
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonPlace& place = kButtons[i];
        SetUpCutButton(buttons_[i], place.x, place.y, kFolder + WString(place.pressed), background_);
    }
    GrabRect(dragImage_, 0, 0, kCardWidth, kCardHeight, 0);
    GrabRect(dragSaveUnder_, 0, 0, kCardWidth, kCardHeight, 0);
    GrabRect(tintSaveUnder_, 0, 0, kCardWidth, kCardHeight, 0);
    for (Card& card : stripCards_) card.SetId(kEmptyCardId);
}

CollectionScreen::~CollectionScreen() {
    FreeStripCards();
    FreePicture(dragImage_);
    FreePicture(dragSaveUnder_);
    FreePicture(tintSaveUnder_);
    FreePicture(background_);
    FreePicture(marker_);
}

void CollectionScreen::Enter() {
    BlitFullScreen(background_, 2);
    Draw(0);
    platform::Trace("collection", mode_ == kModeTradeBox ? "shown tradebox" : "shown deck");
}

void CollectionScreen::Draw(int8_t buffer) {
    BlitFullScreen(background_, buffer);
    DrawCredits(buffer);
    DrawPage(buffer);
    tintOn_ = 0;
    if (selectedPage_ >= 0) SetSelectionTint(selectedPage_, true);
    DrawStrip(buffer);
}

void CollectionScreen::DrawCredits(int8_t buffer) {
    const WString text = FormatUInt(static_cast<uint32_t>(gProfile.GetCredits())) + u" Credits";
    const int width = gFont.TextWidth(text);
    RestoreRect(kCreditsRight - width, kCreditsY, width, gFont.GetHeight(), background_, buffer);
    DrawColouredText(text, kCreditsRight - width, kCreditsY, gFont, kCreditsColour, buffer);
}

void CollectionScreen::DrawPage(int8_t buffer) {
    const int16_t last = LastPageId();
    for (int p = 0; p < kPageSize; ++p) {
        const auto id = static_cast<int16_t>(pageStart_ + p + 1);
        if (id > last) break;
        const int column = p % 6, row = p / 6;
        const int x = PageX(p), y = PageY(p);
        const int count = gProfile.GetCardCount(id);
        if (count == 0) {
            DrawText(FormatInt(id), 34 * column + 19, 52 * row + 25, gFont, buffer);
            continue;
        }
        Card card = LoadCard(id);
        card.LoadPicture(kCardSmall);
        card.Draw(x, y, kCardSmall, buffer, 2);
        card.FreePicture(kCardSmall);
        if (InStrip(id)) BlitPictureKeyed(x - 2, y - 2, marker_, buffer);
        if (count > 1) {
            const WString text = FormatInt(count);
            DrawText(text, 34 * column + 35 - gFont.TextWidth(text) / 2, 52 * row + 42, gFont,
                     buffer);
        }
        if (highlightNew_ && IsNewCard(id)) {
            TintRect(x, y, kCardWidth, kCardHeight, kNewTint[0], kNewTint[1], kNewTint[2], buffer);
        }
    }
}

bool CollectionScreen::IsNewCard(int16_t id) const {
    for (int16_t fresh : newCards_) {
        if (fresh == id) return true;
    }
    return false;
}

bool CollectionScreen::InStrip(int16_t id) const {
    return mode_ == kModeTradeBox ? gProfile.TradeBoxContains(id) : gProfile.DeckContains(id);
}

void CollectionScreen::DrawStrip(int8_t buffer) {
    if (mode_ == kModeTradeBox) {
        DrawTradeStrip(buffer);
    } else {
        DrawDeckStrip(buffer);
    }
    const int visible = selectedStrip_ - stripScroll_;
    if (selectedStrip_ >= 0 && visible >= 0 && visible < kStripSize) TintStripSlot(visible, buffer);
}

void CollectionScreen::DrawDeckStrip(int8_t buffer) {
    SyncStripCards();
    for (int i = 0; i < kStripSize; ++i) {
        const int k = stripScroll_ + i;
        if (k < kDeckSize && stripCards_[k].GetId() != kEmptyCardId) {
            stripCards_[k].Draw(StripX(i), kStripY, kCardSmall, buffer, 2);
        } else {
            DrawEmptyStripPosition(i, buffer);
        }
    }
}

void CollectionScreen::DrawTradeStrip(int8_t buffer) {
    const int boxed = gProfile.TradeBoxCount();
    for (int i = 0; i < kStripSize; ++i) {
        const int k = stripScroll_ + i;
        if (k >= boxed) {
            DrawEmptyStripPosition(i, buffer);
            continue;
        }
        Card card = LoadCard(gProfile.GetTradeBoxCard(k));
        card.LoadPicture(kCardSmall);
        card.Draw(StripX(i), kStripY, kCardSmall, buffer, 2);
        card.FreePicture(kCardSmall);
    }
}

// The background with the position's number in the middle.
void CollectionScreen::DrawEmptyStripPosition(int i, int8_t buffer) {
    RestoreRect(StripX(i), kStripY, kCardWidth, kCardHeight, background_, buffer);
    const int k = stripScroll_ + i;
    DrawText(FormatInt(k + 1), 20 + 33 * i, kStripY + (kCardHeight - gFont.GetHeight()) / 2, gFont,
             buffer);
}

void CollectionScreen::TintStripSlot(int i, int8_t buffer) {
    TintRect(StripX(i), kStripY, kCardWidth, kCardHeight, kSelectionTint[0], kSelectionTint[1],
             kSelectionTint[2], buffer);
}

// On: the card as it is drawn is kept and tinted; off: the kept one goes
// back. Either way the card's rectangle is shown at once.
void CollectionScreen::SetSelectionTint(int position, bool on) {
    if (on) {
        tintX_ = static_cast<int16_t>(PageX(position));
        tintY_ = static_cast<int16_t>(PageY(position));
        tintOn_ = 1;
        GrabRectInto(tintX_, tintY_, 0, tintSaveUnder_);
        TintRect(tintX_, tintY_, kCardWidth, kCardHeight, kSelectionTint[0], kSelectionTint[1],
                 kSelectionTint[2], 0);
    } else {
        tintOn_ = 0;
        BlitPicture(tintX_, tintY_, tintSaveUnder_, 0);
    }
    PresentRect(tintX_, tintY_, kCardWidth, kCardHeight, 0);
}

// Whoever takes a card out of the deck (a sale, a trade, this screen) only
// changes the profile; the pictures follow here, so none is lost or kept.
void CollectionScreen::SyncStripCards() {
    const CardDeck& deck = gProfile.GetDeck();
    for (int k = 0; k < kDeckSize; ++k) {
        const int16_t id = deck.CardAt(k).GetId();
        if (stripCards_[k].GetId() == id) continue;
        stripCards_[k].FreePicture(kCardSmall);
        if (id == kEmptyCardId) {
            stripCards_[k] = Card();
            stripCards_[k].SetId(kEmptyCardId);
        } else {
            stripCards_[k] = LoadCard(id);
            stripCards_[k].LoadPicture(kCardSmall);
        }
    }
}

void CollectionScreen::FreeStripCards() {
    for (Card& card : stripCards_) {
        card.FreePicture(kCardSmall);
        card.SetId(kEmptyCardId);
    }
}

int CollectionScreen::HeldStripPictures() const {
    int held = 0;
    for (const Card& card : stripCards_) held += card.GetPicture(kCardSmall).pixels != nullptr;
    return held;
}

// --- Quick save ---

bool CollectionScreen::WriteState(platform::FileHandle file) {
    const bool flag = WriteU8(file, tutorial_);
    return WriteU8(file, 0) && flag;
}

bool CollectionScreen::ReadState(platform::FileHandle file) {
    uint8_t flag = 0;
    uint8_t unused = 0;
    if (!ReadU8(file, flag) || !ReadU8(file, unused) || flag > 1) {
        tutorial_ = 0;
        return false;
    }
    tutorial_ = flag;
    return true;
}

}  // namespace qv
