// The collection manager in this process, driven through the club as the
// window procedure drives it: drags onto and off the strip, page turns by
// key during a drag, sales, the trade box, the zoom and the tutorial's rules.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "cards/launchers.h"
#include "club/collection_screen.h"
#include "engine/input.h"
#include "match/match.h"
#include "tests/support/club_driver.h"

namespace qv {
namespace {

using Screen = CollectionScreen;

class CollectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::StartMatchEnvironment();
        gClubActive = 1;
        ClearKeyStates();
        gClub.Reset();
        // Cards 1..30 once each, card 2 three times; an empty deck.
        test::MakeLocalPlayer({});
        for (int16_t id = 1; id <= 30; ++id) gProfile.AddCard(id);
        gProfile.AddCard(2);
        gProfile.AddCard(2);
        gProfile.ClearTradeBox();
    }
    void TearDown() override {
        ClearKeyStates();
        gClub.Reset();
    }

    static Screen& Open(uint8_t mode = Screen::kModeDeck) {
        gClub.OpenCollectionScreen(kScreenShop, 0, mode);
        return *gClub.GetCollectionScreen();
    }
    // Centre of page position p and of strip position i.
    static int PageCX(int p) { return Screen::PageX(p) + 16; }
    static int PageCY(int p) { return Screen::PageY(p) + 25; }
    static int StripCX(int i) { return Screen::StripX(i) + 16; }
    static constexpr int kStripCY = Screen::kStripY + 25;

    static void Drag(int x0, int y0, int x1, int y1) {
        gClub.StylusDown(static_cast<uint16_t>(x0), static_cast<uint16_t>(y0));
        gClub.StylusMove(static_cast<uint16_t>((x0 + x1) / 2), static_cast<uint16_t>((y0 + y1) / 2));
        gClub.StylusMove(static_cast<uint16_t>(x1), static_cast<uint16_t>(y1));
        gClub.StylusUp(static_cast<uint16_t>(x1), static_cast<uint16_t>(y1));
    }
    static int16_t DeckId(int position) { return gProfile.GetDeck().CardAt(position).GetId(); }
    // Buttons: add (150, 0), sell (0, 303), back (202, 304), zoom (0, 232),
    // strip arrows (60, 305) and (159, 305).
    static void TapAdd() { test::ClubTap(170, 10); }
    static void TapSell() { test::ClubTap(10, 310); }
    static void TapBack() { test::ClubTap(220, 311); }
    static void TapZoom() { test::ClubTap(20, 238); }
    static void TapStripRight() { test::ClubTap(170, 311); }
};

TEST_F(CollectionTest, PageCardsDragIntoTheDeckOncePerId) {
    Open();
    // Onto an empty strip position: exactly there.
    Drag(PageCX(0), PageCY(0), StripCX(2), kStripCY);
    EXPECT_EQ(DeckId(2), 1);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 1);
    // The same card again: refused with the note, nothing changes.
    const int notes = test::NoteCount("This card is already is your deck !");
    Drag(PageCX(0), PageCY(0), StripCX(5), kStripCY);
    EXPECT_EQ(test::NoteCount("This card is already is your deck !"), notes + 1);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 1);
    // Onto the occupied position: into the first empty one.
    Drag(PageCX(4), PageCY(4), StripCX(2), kStripCY);
    EXPECT_EQ(DeckId(0), 5);
    EXPECT_EQ(DeckId(2), 1);
    // Dropped back on the page: a selection, no change.
    Drag(PageCX(7), PageCY(7), PageCX(8), PageCY(8));
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 2);
    EXPECT_EQ(gClub.GetCollectionScreen()->SelectedPagePosition(), 7);
    // Let go outside the window, below the strip: dropped nowhere.
    gClub.StylusDown(static_cast<uint16_t>(PageCX(11)), static_cast<uint16_t>(PageCY(11)));
    gClub.StylusMove(static_cast<uint16_t>(StripCX(6)), 319);
    gClub.StylusUp(1000, 1000);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 2);
    EXPECT_FALSE(gClub.GetCollectionScreen()->Dragging());
    // A card not owned cannot be picked up.
    gProfile.RemoveCard(10);
    gClub.StylusDown(static_cast<uint16_t>(PageCX(9)), static_cast<uint16_t>(PageCY(9)));
    EXPECT_FALSE(gClub.GetCollectionScreen()->Dragging());
    gClub.StylusUp(static_cast<uint16_t>(PageCX(9)), static_cast<uint16_t>(PageCY(9)));
}

// A page turn by key while a card is carried used to drop whatever the page
// selection then named: another card, or id 0.
TEST_F(CollectionTest, PageKeysWaitWhileACardIsCarried) {
    for (uint8_t mode : {Screen::kModeDeck, Screen::kModeTradeBox}) {
        SCOPED_TRACE(mode);
        gClub.Reset();
        gProfile.ClearDeck();
        gProfile.ClearTradeBox();
        Screen& screen = Open(mode);
        gClub.StylusDown(static_cast<uint16_t>(PageCX(2)), static_cast<uint16_t>(PageCY(2)));
        ASSERT_TRUE(screen.Dragging());
        gKeyState[3] = 1;  // right
        gClub.Update();
        EXPECT_EQ(screen.PageStart(), 0) << "no page turn under a carried card";
        // Whatever turns the page meanwhile, the card picked up is dropped.
        screen.NextPage();
        screen.PreviousPage();
        screen.PreviousPage();
        gClub.StylusMove(static_cast<uint16_t>(StripCX(1)), static_cast<uint16_t>(kStripCY));
        gClub.StylusUp(static_cast<uint16_t>(StripCX(1)), static_cast<uint16_t>(kStripCY));
        if (mode == Screen::kModeDeck) {
            EXPECT_EQ(DeckId(1), 3);
            EXPECT_EQ(gProfile.GetDeck().GetCount(), 1);
        } else {
            ASSERT_EQ(gProfile.TradeBoxCount(), 1);
            EXPECT_EQ(gProfile.GetTradeBoxCard(0), 3);
        }
        // Once the card is down the kept key turns the page.
        gClub.Update();
        EXPECT_EQ(screen.PageStart(), 0);
        EXPECT_EQ(gKeyState[3], 0);
    }
}

TEST_F(CollectionTest, StripCardsSwapMoveAndLeaveTheDeck) {
    for (int16_t id : {1, 3, 4}) gProfile.AddToDeck(id, false);
    Screen& screen = Open();
    // Onto an empty position: the card moves and the count stays.
    Drag(StripCX(0), kStripCY, StripCX(5), kStripCY);
    EXPECT_EQ(DeckId(0), kEmptyCardId);
    EXPECT_EQ(DeckId(5), 1);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 3);
    EXPECT_EQ(screen.SelectedStripIndex(), 5) << "the selection follows the card";
    // Onto another card: the two change places.
    Drag(StripCX(1), kStripCY, StripCX(5), kStripCY);
    EXPECT_EQ(DeckId(1), 1);
    EXPECT_EQ(DeckId(5), 3);
    // Above the strip: out of the deck, still owned.
    Drag(StripCX(2), kStripCY, StripCX(2), 100);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 2);
    EXPECT_FALSE(gProfile.DeckContains(4));
    EXPECT_EQ(gProfile.GetCardCount(4), 1);
    EXPECT_EQ(screen.SelectedStripIndex(), -1);
    // An empty position cannot be picked up.
    gClub.StylusDown(static_cast<uint16_t>(StripCX(0)), static_cast<uint16_t>(kStripCY));
    EXPECT_FALSE(screen.Dragging());
    gClub.StylusUp(static_cast<uint16_t>(StripCX(0)), static_cast<uint16_t>(kStripCY));
    EXPECT_EQ(screen.HeldStripPictures(), gProfile.GetDeck().GetCount());
}

// The deck built on the strip is the one the next match deals.
TEST_F(CollectionTest, DeckBuiltByDragIsTheDeckAMatchDeals) {
    Open();
    for (int p = 0; p < kDeckSize; ++p) Drag(PageCX(p + 4), PageCY(p + 4), StripCX(0), kStripCY);
    ASSERT_EQ(gProfile.GetDeck().GetCount(), kDeckSize);
    TapBack();
    StartOpponentMatch(0, 0);
    EXPECT_EQ(gClubActive, 0);
    std::vector<int16_t> dealt;
    const CardHand& hand = gMatch.GetHand(RED);
    for (int slot = 0; slot < kHandSize; ++slot) {
        if (hand.IsSlotFilled(slot)) dealt.push_back(hand.CardAt(slot).GetId());
    }
    const DrawPile& pile = gMatch.GetPile(RED);
    for (int i = 0; i < pile.GetCount(); ++i) dealt.push_back(pile.CardAt(i).GetId());
    std::sort(dealt.begin(), dealt.end());
    std::vector<int16_t> built;
    for (int16_t id = 5; id <= 20; ++id) built.push_back(id);
    EXPECT_EQ(dealt, built);
    gClubActive = 1;
}

TEST_F(CollectionTest, AddButtonFillsTheDeckUpToSixteen) {
    Screen& screen = Open();
    for (int p = 0; p < 17; ++p) {
        test::ClubTap(PageCX(p), PageCY(p));
        TapAdd();
    }
    EXPECT_EQ(gProfile.GetDeck().GetCount(), kDeckSize);
    EXPECT_FALSE(gProfile.DeckContains(17)) << "the seventeenth is refused";
    EXPECT_EQ(test::NoteCount("Your deck is already full of card"), 1);
    EXPECT_EQ(screen.StripScroll(), 9) << "the strip shows the deck's end";
    // The add button takes a selected deck card out again.
    test::ClubTap(StripCX(6), kStripCY);
    TapAdd();
    EXPECT_EQ(gProfile.GetDeck().GetCount(), kDeckSize - 1);
    EXPECT_EQ(screen.HeldStripPictures(), kDeckSize - 1);
    // The strip scrolls within 0..9.
    for (int i = 0; i < 12; ++i) TapStripRight();
    EXPECT_EQ(screen.StripScroll(), 9);
}

// Selling the last copy of a deck card takes it out of the deck: the
// picture the manager held for it goes too, and the file has the sale.
TEST_F(CollectionTest, SaleOfADeckCardsLastCopy) {
    for (int16_t id : {1, 2, 3}) gProfile.AddToDeck(id, false);
    gProfile.AddToTradeBox(3);
    const int32_t credits = gProfile.GetCredits();
    const int16_t value = LoadCard(3).GetValue();
    Screen& screen = Open();
    EXPECT_EQ(screen.HeldStripPictures(), 3);
    test::ClubTap(StripCX(2), kStripCY);
    TapSell();  // the question is answered "Ok"
    EXPECT_EQ(gProfile.GetCardCount(3), 0);
    EXPECT_FALSE(gProfile.DeckContains(3));
    EXPECT_FALSE(gProfile.TradeBoxContains(3));
    EXPECT_EQ(gProfile.GetCredits(), credits + value);
    EXPECT_EQ(screen.SelectedStripIndex(), -1);
    EXPECT_EQ(screen.HeldStripPictures(), 2);

    const PlayerProfile inMemory = gProfile;
    ASSERT_TRUE(LoadPlayerSave(1)) << "the sale is in the file";
    EXPECT_EQ(gProfile.GetCredits(), inMemory.GetCredits());
    EXPECT_EQ(gProfile.GetCardCount(3), 0);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 2);

    // A card owned three times: one copy goes, the selection stays.
    test::ClubTap(PageCX(1), PageCY(1));
    TapSell();
    EXPECT_EQ(gProfile.GetCardCount(2), 2);
    EXPECT_EQ(screen.SelectedPagePosition(), 1);
    // Without a selection the sell button does nothing.
    screen.NextPage();
    const int32_t before = gProfile.GetCredits();
    TapSell();
    EXPECT_EQ(gProfile.GetCredits(), before);
}

TEST_F(CollectionTest, TradeBoxTakesNineDistinctCards) {
    {
        Open(Screen::kModeTradeBox);
        // Anywhere below the strip's top takes the card.
        for (int p = 0; p < 10; ++p) Drag(PageCX(p), PageCY(p), 120, 260);
        EXPECT_EQ(gProfile.TradeBoxCount(), kTradeBoxSize) << "the tenth is refused";
        EXPECT_FALSE(gProfile.TradeBoxContains(10));
        Drag(PageCX(0), PageCY(0), 120, 280);
        EXPECT_EQ(test::NoteCount("This card is already is your TradeBox !"), 1);
        // The strip shows the box's last seven; the first of them, dragged
        // up, leaves the box and later ones move up.
        EXPECT_EQ(gClub.GetCollectionScreen()->StripScroll(), 2);
        Drag(StripCX(0), kStripCY, StripCX(0), 120);
        EXPECT_EQ(gProfile.TradeBoxCount(), kTradeBoxSize - 1);
        EXPECT_FALSE(gProfile.TradeBoxContains(3));
        EXPECT_EQ(gProfile.GetTradeBoxCard(2), 4);
        EXPECT_EQ(gProfile.GetDeck().GetCount(), 0) << "the deck is not touched";
        TapBack();
        EXPECT_EQ(gClub.GetCollectionScreen(), nullptr);
        ASSERT_TRUE(test::SettleClub());
    }
    // Opened again for the same trade, the box is as it was left.
    Screen& again = Open(Screen::kModeTradeBox);
    EXPECT_EQ(gProfile.TradeBoxCount(), kTradeBoxSize - 1);
    test::ClubTap(StripCX(0), kStripCY);
    EXPECT_EQ(again.SelectedStripIndex(), 0) << "a boxed card is on the strip";
    TapAdd();
    EXPECT_EQ(gProfile.TradeBoxCount(), kTradeBoxSize - 2);
    EXPECT_EQ(again.StripScroll(), 2);
    // A selected card that leaves the collection meanwhile (a trade goes
    // through) is not boxed.
    test::ClubTap(PageCX(20), PageCY(20));
    gProfile.RemoveCard(21);
    TapAdd();
    EXPECT_FALSE(gProfile.TradeBoxContains(21));
    EXPECT_EQ(gProfile.TradeBoxCount(), kTradeBoxSize - 2);
}

TEST_F(CollectionTest, PagesWrapAndTheZoomTakesTheNextTap) {
    Screen& screen = Open();
    screen.PreviousPage();
    EXPECT_EQ(screen.PageStart(), 336) << "the last page, ids 337 to 344";
    screen.NextPage();
    EXPECT_EQ(screen.PageStart(), 0);

    test::ClubTap(PageCX(3), PageCY(3));
    TapZoom();
    ASSERT_TRUE(screen.ZoomOpen());
    gKeyState[3] = 1;
    gClub.Update();
    EXPECT_EQ(screen.PageStart(), 0) << "keys wait while the card is zoomed";
    test::ClubTap(PageCX(5), PageCY(5));
    EXPECT_FALSE(screen.ZoomOpen());
    EXPECT_EQ(screen.SelectedPagePosition(), 3) << "the closing tap selects nothing";
    gClub.Update();
    EXPECT_EQ(screen.PageStart(), Screen::kPageSize);
    EXPECT_EQ(screen.SelectedPagePosition(), -1);
}

TEST_F(CollectionTest, TutorialKeepsTheManagerUntilTheDeckIsFull) {
    Screen& screen = Open();
    screen.SetTutorial(1);
    TapBack();
    EXPECT_EQ(test::NoteCount("You have to create your Deck before leaving the collection"), 1);
    EXPECT_NE(gClub.GetCollectionScreen(), nullptr);
    test::ClubTap(PageCX(0), PageCY(0));
    TapSell();
    EXPECT_EQ(test::NoteCount("You can't sell card in the tutorial"), 1);
    EXPECT_EQ(gProfile.GetCardCount(1), 1);
    for (int p = 0; p < 16; ++p) {
        test::ClubTap(PageCX(p), PageCY(p));
        TapAdd();
    }
    EXPECT_EQ(gProfile.GetDeck().GetCount(), kDeckSize);
    EXPECT_NE(gClub.GetCollectionScreen(), nullptr) << "a full deck by the add button needs one more tap";
    // Kept as the tutorial has it: back still says the deck is not built.
    TapBack();
    EXPECT_EQ(test::NoteCount("You have to create your Deck before leaving the collection"), 2);
    EXPECT_NE(gClub.GetCollectionScreen(), nullptr);
    // The next page-card release says the deck is done and closes.
    const auto x = static_cast<uint16_t>(PageCX(20));
    const auto y = static_cast<uint16_t>(PageCY(20));
    EXPECT_FALSE(screen.TutorialStylusDown(x, y));
    EXPECT_TRUE(screen.TutorialStylusUp(x, y));
    EXPECT_EQ(test::NoteCount("Now that you have finished your first deck"), 1);
}

TEST_F(CollectionTest, QuickSaveBytesAreCheckedOnReading) {
    Screen& screen = Open();
    screen.SetTutorial(1);
    test::ClubBlock block;
    block.header.current = kScreenCollection;
    block.Add(test::kRecordCollection, {1, 0});
    ASSERT_TRUE(test::ReadBlock(block.Bytes()));
    ASSERT_NE(gClub.GetCollectionScreen(), nullptr);
    EXPECT_EQ(gClub.GetCollectionScreen()->TutorialFlag(), 0)
        << "outside the club's tutorial the manager is not in it";
    block.Add(test::kRecordCollection, {2, 0});
    EXPECT_FALSE(test::ReadBlock(block.Bytes()));
    EXPECT_EQ(gClub.GetCollectionScreen(), nullptr);
}

}  // namespace
}  // namespace qv
