// The collection manager's taps, drags, buttons and keys: picking a card up
// from the page or the strip, moving it, dropping it, and the eight buttons.
#include <string>

#include "cards/card_database.h"
#include "club/club.h"
#include "club/collection_screen.h"
#include "club/room_notes.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/input.h"
#include "engine/utilities.h"
#include "infrared/trade_screen.h"
#include "platform/system.h"

namespace qv {

namespace {

enum : int {
    kPageLeft = 0, kZoom = 1, kPageRight = 2, kSell = 3, kBack = 4, kAdd = 5, kStripLeft = 6,
    kStripRight = 7
};
constexpr int kLeftKey = 2, kRightKey = 3;
// The dragged card stays whole on the screen.
constexpr int kDragMaxX = kScreenWidth - CollectionScreen::kCardWidth;
constexpr int kDragMaxY = kScreenHeight - CollectionScreen::kCardHeight;

const char16_t kDeckDoneNote[] =
    u"Now that you have finished your first deck, you have to go to the Instant Play menu, and "
    u"choose a partner to play a game, and then we'll see the rules.\n\n HINT: The instant play "
    u"and tounaments are the places to go to earn cash and reputation.";

// The page position whose card holds the point (inside its edges), or -1.
int PagePositionAt(int x, int y) {
    for (int p = 0; p < CollectionScreen::kPageSize; ++p) {
        const int px = CollectionScreen::PageX(p), py = CollectionScreen::PageY(p);
        if (px < x && x < px + CollectionScreen::kCardWidth && py < y &&
            y < py + CollectionScreen::kCardHeight) {
            return p;
        }
    }
    return -1;
}

}  // namespace

int CollectionScreen::StripPositionAt(int x, int y) {
    if (y < kStripY || y > kStripY + kCardHeight) return -1;
    for (int i = 0; i < kStripSize; ++i) {
        if (x >= StripX(i) && x <= StripX(i) + kCardWidth) return i;
    }
    return -1;
}

int16_t CollectionScreen::StripCardId(int k) const {
    if (mode_ == kModeTradeBox) {
        return k >= 0 && k < gProfile.TradeBoxCount() ? gProfile.GetTradeBoxCard(k) : kEmptyCardId;
    }
    return k >= 0 && k < kDeckSize ? gProfile.GetDeck().CardAt(k).GetId() : kEmptyCardId;
}

// --- Per frame ---

// A page turn waits while a card is carried: the card stays the one picked up.
void CollectionScreen::Update() {
    if (!zoomOpen_ && !dragging_) {
        if (gKeyState[kRightKey]) {
            gKeyState[kRightKey] = 0;
            NextPage();
        } else if (gKeyState[kLeftKey]) {
            gKeyState[kLeftKey] = 0;
            PreviousPage();
        }
    }
    // The trade may end here and close this screen: nothing follows it.
    if (mode_ == kModeTradeBox && trade_ != nullptr && gClub.GetTradeScreen() == trade_) {
        trade_->Update();
    }
}

// --- Stylus down and moves ---

bool CollectionScreen::StylusDown(uint16_t x, uint16_t y) {
    if (zoomOpen_) {
        zoomOpen_ = 0;
        CopyBuffer(1, 0);
        return false;
    }
    for (Button& button : buttons_) button.Press(x, y);
    PressPage(x, y);
    PressStrip(x, y);
    return false;
}

void CollectionScreen::PressPage(uint16_t x, uint16_t y) {
    const int p = PagePositionAt(x, y);
    if (p < 0) return;
    if (selectedStrip_ >= 0) {
        selectedStrip_ = -1;
        DrawStrip(0);
    }
    if (tintOn_) SetSelectionTint(selectedPage_, false);
    const auto id = static_cast<int16_t>(pageStart_ + p + 1);
    if (id > GetCardCount() || gProfile.GetCardCount(id) == 0) {
        selectedPage_ = -1;
        return;
    }
    if (p != selectedPage_) {
        SetSelectionTint(p, true);
        selectedPage_ = static_cast<int8_t>(p);
    }
    // A copy of the card moves; the card stays on the page.
    dragging_ = 1;
    dragSource_ = DragSource::kPage;
    draggedId_ = id;
    dragX_ = static_cast<int16_t>(PageX(p));
    dragY_ = static_cast<int16_t>(PageY(p));
    GrabRectInto(dragX_, dragY_, 0, dragImage_);
    GrabRectInto(dragX_, dragY_, 0, dragSaveUnder_);
    dragOffsetX_ = static_cast<int16_t>(x - dragX_);
    dragOffsetY_ = static_cast<int16_t>(y - dragY_);
}

void CollectionScreen::PressStrip(uint16_t x, uint16_t y) {
    const int i = StripPositionAt(x, y);
    if (i < 0) return;
    const int k = stripScroll_ + i;
    const int16_t id = StripCardId(k);
    if (id == kEmptyCardId) return;
    if (k != selectedStrip_) {
        selectedStrip_ = static_cast<int8_t>(k);
        selectedPage_ = -1;
        tintOn_ = 0;
        Draw(0);
    }
    // The position shows empty under the card that leaves it.
    dragging_ = 1;
    dragSource_ = DragSource::kStrip;
    draggedId_ = id;
    draggedStripIndex_ = static_cast<int8_t>(k);
    dragX_ = static_cast<int16_t>(StripX(i));
    dragY_ = kStripY;
    GrabRectInto(dragX_, dragY_, 0, dragImage_);
    DrawEmptyStripPosition(i, 0);
    GrabRectInto(dragX_, dragY_, 0, dragSaveUnder_);
    BlitPicture(dragX_, dragY_, dragImage_, 0);
    dragOffsetX_ = static_cast<int16_t>(x - dragX_);
    dragOffsetY_ = static_cast<int16_t>(y - dragY_);
}

void CollectionScreen::StylusMove(uint16_t x, uint16_t y) {
    if (dragging_) MoveDraggedCard(x, y);
}

void CollectionScreen::MoveDraggedCard(uint16_t x, uint16_t y) {
    BlitPicture(dragX_, dragY_, dragSaveUnder_, 0);
    int nx = x - dragOffsetX_;
    int ny = y - dragOffsetY_;
    nx = nx < 0 ? 0 : (nx > kDragMaxX ? kDragMaxX : nx);
    ny = ny < 0 ? 0 : (ny > kDragMaxY ? kDragMaxY : ny);
    dragX_ = static_cast<int16_t>(nx);
    dragY_ = static_cast<int16_t>(ny);
    GrabRectInto(dragX_, dragY_, 0, dragSaveUnder_);
    BlitPicture(dragX_, dragY_, dragImage_, 0);
}

// --- Stylus up ---

bool CollectionScreen::StylusUp(uint16_t x, uint16_t y) {
    // Let go outside the window (the stylus left the screen): the card goes
    // nowhere, whatever edge of the screen its copy was held against.
    if (dragging_ && (x >= kScreenWidth || y >= kScreenHeight)) {
        dragging_ = 0;
        Draw(0);
        return false;
    }
    if (dragging_) return DropCard();
    if (zoomOpen_) return false;
    int hit = -1;
    for (int i = 0; i < kButtonCount; ++i) {
        if (buttons_[i].Release(x, y) && hit < 0) hit = i;
    }
    return hit >= 0 && ActOnButton(hit);
}

// The drop point is the middle of the carried card. A card that is no
// longer where it was picked up (a trade went through meanwhile) is dropped
// nowhere.
bool CollectionScreen::DropCard() {
    dragging_ = 0;
    const int dropX = dragX_ + kCardWidth / 2;
    const int dropY = dragY_ + kCardHeight / 2;
    const int i = StripPositionAt(dropX, dropY);
    const bool fromPage = dragSource_ == DragSource::kPage;
    const bool stillThere = fromPage ? gProfile.GetCardCount(draggedId_) > 0
                                     : StripCardId(draggedStripIndex_) == draggedId_;
    if (!stillThere) {
        Draw(0);
        return false;
    }
    if (mode_ == kModeDeck && fromPage) {
        if (i >= 0) {
            const int position = stripScroll_ + i;
            if (gProfile.DeckContains(draggedId_)) {
                Draw(0);
                ShowRoomNote(u"This card is already is your deck !");
                return false;
            }
            if (StripCardId(position) == kEmptyCardId) {
                gProfile.GetDeck().PutCardInSlot(LoadCard(draggedId_), position);
            } else {
                AddToDeck(draggedId_);
                ResetDeckStripScroll();
            }
            TraceStrip();
        }
        if (tutorial_ && gProfile.GetDeck().GetCount() == kDeckSize) {
            Draw(0);
            ShowRoomNote(kDeckDoneNote);
            return true;
        }
    } else if (mode_ == kModeDeck) {
        if (i >= 0) {
            SwapStripCards(stripScroll_ + i, draggedStripIndex_);
            selectedStrip_ = static_cast<int8_t>(stripScroll_ + i);
        } else if (dropY < kStripY) {
            DropStripCardOff(draggedStripIndex_);
        }
        TraceStrip();
    } else if (fromPage) {
        if (dropY > kStripY) {
            if (gProfile.TradeBoxContains(draggedId_)) {
                Draw(0);
                ShowRoomNote(u"This card is already is your TradeBox !");
                return false;
            }
            gProfile.AddToTradeBox(draggedId_);
            ResetTradeStripScroll();
            TraceStrip();
        }
    } else if (dropY < kStripY) {
        DropStripCardOff(draggedStripIndex_);
        TraceStrip();
    }
    Draw(0);
    return false;
}

bool CollectionScreen::ActOnButton(int button) {
    switch (button) {
        case kPageLeft: PreviousPage(); break;
        case kPageRight: NextPage(); break;
        case kZoom: {
            const int16_t id = SelectedCardId();
            if (id != kEmptyCardId) ZoomCard(id);
            break;
        }
        case kSell:
            if (SelectedCardId() == kEmptyCardId) break;
            if (tutorial_) {
                ShowRoomNote(
                    u"You can't sell card in the tutorial !\nPlease complete your deck.\n\nHINT: "
                    u"Selling double cards is another way to earn cash in Quorvane.");
            } else {
                SellSelectedCard();
            }
            break;
        case kBack:
            if (!tutorial_) return true;
            ShowRoomNote(
                u"You have to create your Deck before leaving the collection\n\nHINT: The blue "
                u"color is the strongest.");
            break;
        case kAdd:
            if (mode_ == kModeTradeBox) {
                ToggleTradeBoxCard();
            } else {
                ToggleDeckCard();
            }
            break;
        case kStripLeft:
            if (stripScroll_ > 0) --stripScroll_;
            DrawStrip(0);
            break;
        case kStripRight:
            if (stripScroll_ < (mode_ == kModeTradeBox ? kLastStripScrollTrade : kLastStripScrollDeck)) {
                ++stripScroll_;
            }
            DrawStrip(0);
            break;
        default: break;
    }
    return false;
}

// --- Pages ---

void CollectionScreen::PreviousPage() {
    const int lastStart = (GetCardCount() - 1) / kPageSize * kPageSize;
    pageStart_ = static_cast<int16_t>(pageStart_ == 0 ? lastStart : pageStart_ - kPageSize);
    selectedPage_ = -1;
    tintOn_ = 0;
    Draw(0);
    platform::Trace("collection", "page " + std::to_string(pageStart_ / kPageSize + 1));
}

void CollectionScreen::NextPage() {
    const int lastStart = (GetCardCount() - 1) / kPageSize * kPageSize;
    pageStart_ = static_cast<int16_t>(pageStart_ >= lastStart ? 0 : pageStart_ + kPageSize);
    selectedPage_ = -1;
    tintOn_ = 0;
    Draw(0);
    platform::Trace("collection", "page " + std::to_string(pageStart_ / kPageSize + 1));
}

}  // namespace qv
