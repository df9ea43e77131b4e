// The collection manager: every card of the set by page, the deck of 16 (or,
// for a trade, the trade box) on a strip below, built by drag and drop.
#pragma once

#include <cstdint>

#include "cards/card.h"
#include "cards/containers.h"
#include "cards/profile.h"
#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"

namespace qv {

class TradeScreen;

class CollectionScreen {
public:
    // Tutorial flag, one unused byte.
    static constexpr int kStateSize = 2;
    enum : uint8_t { kModeDeck = 0, kModeTradeBox = 1 };
    static constexpr int kPageSize = 24;
    static constexpr int kStripSize = 7;
    static constexpr int kCardWidth = 32;
    static constexpr int kCardHeight = 50;
    static constexpr int kButtonCount = 8;

    // highlightNew: the cards of the last boosters stand out. In trade-box
    // mode the trade screen's per-frame update runs inside this screen's.
    CollectionScreen(uint8_t highlightNew, uint8_t mode, TradeScreen* trade);
    ~CollectionScreen();
    CollectionScreen(const CollectionScreen&) = delete;
    CollectionScreen& operator=(const CollectionScreen&) = delete;

    // Keeps the background in back buffer 2 and draws into buffer 0.
    void Enter();
    // The left and right keys turn pages; in trade-box mode the trade goes on.
    void Update();
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    void StylusMove(uint16_t x, uint16_t y);
    bool StylusUp(uint16_t x, uint16_t y);  // true closes the screen
    void Draw(int8_t buffer);
    void SetTutorial(uint8_t flag) { tutorial_ = flag; }
    bool TutorialStylusDown(uint16_t x, uint16_t y) { return StylusDown(x, y); }
    bool TutorialStylusUp(uint16_t x, uint16_t y) { return StylusUp(x, y); }
    // The tutorial flag and an unused 0. The reader takes a flag of 0 or 1
    // and reports false otherwise (the screen stays out of the tutorial).
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

    // The cards of deck positions a and b change places (a card and an
    // empty position: the card moves); the deck's count stays.
    void SwapStripCards(int a, int b);
    void PreviousPage();
    void NextPage();

    // For tests and trace lines.
    int16_t PageStart() const { return pageStart_; }
    int8_t SelectedPagePosition() const { return selectedPage_; }
    int8_t SelectedStripIndex() const { return selectedStrip_; }
    int8_t StripScroll() const { return stripScroll_; }
    bool Dragging() const { return dragging_ != 0; }
    bool ZoomOpen() const { return zoomOpen_ != 0; }
    uint8_t Mode() const { return mode_; }
    uint8_t TutorialFlag() const { return tutorial_; }
    // Deck positions whose small picture the screen holds.
    int HeldStripPictures() const;
    // Top left of page position p (0..23) and of strip position i (0..6).
    static int PageX(int p) { return 18 + 34 * (p % 6); }
    static int PageY(int p) { return 25 + 52 * (p / 6); }
    static int StripX(int i) { return 4 + 33 * i; }
    static constexpr int kStripY = 247;

private:
    enum class DragSource : uint8_t { kPage, kStrip };
    // The last strip scroll that keeps the strip full, for the deck and for the trade box.
    static constexpr int kLastStripScrollDeck = kDeckSize - kStripSize;
    static constexpr int kLastStripScrollTrade = kTradeBoxSize - kStripSize;

    // Drawing (collection_screen.cpp).
    void DrawCredits(int8_t buffer);
    void DrawPage(int8_t buffer);
    void DrawStrip(int8_t buffer);
    void DrawDeckStrip(int8_t buffer);
    void DrawTradeStrip(int8_t buffer);
    void DrawEmptyStripPosition(int i, int8_t buffer);
    void TintStripSlot(int i, int8_t buffer);
    void SetSelectionTint(int position, bool on);
    bool IsNewCard(int16_t id) const;
    bool InStrip(int16_t id) const;
    // The screen's own copies of the deck cards with their small pictures,
    // brought in line with the deck before the strip is drawn.
    void SyncStripCards();
    void FreeStripCards();

    // Stylus (collection_input.cpp).
    void PressPage(uint16_t x, uint16_t y);
    void PressStrip(uint16_t x, uint16_t y);
    void MoveDraggedCard(uint16_t x, uint16_t y);
    // The strip position (0..6) whose area holds the point, or -1.
    static int StripPositionAt(int x, int y);
    // The id at strip index k, or -1 when it holds no card.
    int16_t StripCardId(int k) const;
    bool DropCard();
    bool ActOnButton(int button);

    // Editing (collection_edit.cpp).
    int16_t SelectedCardId() const;
    void ToggleDeckCard();
    void ToggleTradeBoxCard();
    // Puts the card into the deck's first empty position, or says the deck is full.
    void AddToDeck(int16_t id);
    void DropStripCardOff(int k);
    void ResetDeckStripScroll();
    void ResetTradeStripScroll();
    void SellSelectedCard();
    void ZoomCard(int16_t id);
    void ClearSelections();
    void TraceStrip();

    uint8_t zoomOpen_ = 0;
    int16_t tintX_ = 0;
    int16_t tintY_ = 0;
    uint8_t tintOn_ = 0;
    uint8_t highlightNew_ = 0;
    int8_t selectedPage_ = -1;
    int8_t stripScroll_ = 0;
    int8_t selectedStrip_ = -1;
    uint8_t dragging_ = 0;
    Picture dragImage_;
    Picture dragSaveUnder_;
    int16_t dragOffsetX_ = 0;
    int16_t dragOffsetY_ = 0;
    int16_t dragX_ = 0;
    int16_t dragY_ = 0;
    Button buttons_[kButtonCount];
    Picture background_;
    Picture tintSaveUnder_;
    Picture marker_;
    int16_t newCards_[kNewCardsSize];
    int16_t pageStart_ = 0;
    uint8_t mode_ = kModeDeck;
    TradeScreen* trade_ = nullptr;
    uint8_t tutorial_ = 0;

    // What was picked up, kept from the stylus down to its release: a page
    // turn or a trade meanwhile cannot change which card is dropped.
    DragSource dragSource_ = DragSource::kPage;
    int16_t draggedId_ = kEmptyCardId;
    int8_t draggedStripIndex_ = -1;
    Card stripCards_[kDeckSize];
};

}  // namespace qv
