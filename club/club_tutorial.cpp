// The club's tutorial: a new character is walked to the card shop, buys a
// booster, builds a deck, walks to Instant Play, picks an opponent and starts
// the match that shows the rules. Only the next expected action is taken;
// anything else is answered with a hint.
#include <string>

#include "cards/profile.h"
#include "club/bet_screen.h"
#include "club/club.h"
#include "club/collection_screen.h"
#include "club/instant_play_screen.h"
#include "club/room_notes.h"
#include "club/shop_screen.h"
#include "engine/display.h"
#include "engine/input.h"
#include "engine/music.h"
#include "match/match.h"
#include "platform/system.h"

namespace qv {

namespace {

// The steps; each names what the tutorial waits for.
enum : uint8_t {
    kStepEnterClub = 0,      // the dissolve into the club view
    kStepWalkToShop = 1,     // a walk that arrives at the card shop
    kStepEnterShop = 2,      // entering the card shop
    kStepShopTransition = 3, // the transition into the shop
    kStepBuyBooster = 4,     // the shop's booster, then the way to the manager
    kStepBuildDeck = 5,      // a deck of 16 in the collection manager
    kStepWalkToPlay = 6,     // a walk that arrives at Instant Play
    kStepEnterPlay = 7,      // entering Instant Play
    kStepPlayTransition = 8, // the transition into Instant Play
    kStepPickOpponent = 9,   // an opponent chosen in Instant Play
    kStepStartMatch = 10,    // Ok on the bet screen
    kStepEnded = 11,
};

constexpr int kShopRoom = 3;
constexpr int kInstantPlayRoom = 1;
constexpr int kPanoramaTop = 30;
constexpr int kTabBottom = 20;  // a tap at or above this row may hit the QuickMenu's tab
constexpr int kLeftKey = 2, kRightKey = 3, kStartKey = 4, kActionKey = 5;
// The match's first rules page.
constexpr uint8_t kMatchTutorialFirstPage = 13;

const char16_t kHintA[] =
    u"You can't enter here, stop by to the Cardshop to buy cards before. Use the left and right "
    u"keys to move yourself in the nightclub.\n\nHINT: The cardshop is the place to go when you "
    u"have some cash, you can buy cards to complete your collection there.";
const char16_t kHintB[] =
    u"Click on the picture to enter into the shop, or press the Action button.\n\nHINT: All "
    u"places in the club can be accessed by clicking the picture or the Action button.";
const char16_t kHintC[] =
    u"No you can't enter here,you have to go to the Instant Play to find an opponent to play a "
    u"game, use the left and right keys to move yourself in this nightclub.\n\n HINT: There are "
    u"three level of opponents in the Instant play room, the stronger they are , the more cash "
    u"you'll earn.";
const char16_t kHintD[] =
    u"Click on the picture to enter this room, or press the Action button.\n\nHINT: There are 40 "
    u"differents opponents in the game.";
const char16_t kWelcome[] =
    u"To start with, you'll need a brand new deck of cards. They can be bought and managed in "
    u"the Cardshop. Use the left and right keys (or On-screen arrows) to move yourself in the "
    u"nightclub.\n\nHINT: You can move faster in the club using the Quick Menu.";
const char16_t kAtShop[] =
    u"This is the Cardshop, Where you will spend most of your money. You can buy boosters, "
    u"manage and prepare your decks of cards and so on.\n Click on the picture to enter, or "
    u"press the Action button.\n\nHINT: A deck is a the pack of cards you will use to play "
    u"against your opponents.";
const char16_t kInShop[] =
    u"Click on the button to buy 1 Booster, a set of 8 cards. Later you'll have enough money to "
    u"buy multiple boosters at the same time.\n\nHINT: In a booster there are a lot of common "
    u"card and a few rare only.";
const char16_t kInManager[] =
    u"\nIn the Card manager you can see all the cards gathered so far.\nThis is the place to "
    u"create decks, sells double cards, and watch your collection growing.You have to Add card "
    u"from the collection to your deck Using the ADD-REMOVE button or using drag and drop.\n "
    u"Create a full deck of 16 cards to complete this part. Use the two arrows around the zoom "
    u"button to scroll your card slots left and right.\n\nHINT: Choose carefully your cards, "
    u"looks at the colored dots those are power information";
const char16_t kAtInstantPlay[] =
    u"Click on the picture to enter this room, or press the Action button.\n\nHINT: You have to "
    u"defeat all opponents of the current class to battle the stronger ones.";
const char16_t kInInstantPlay[] =
    u"You start the game in the Guest level, you can battle only the easiest opponents of the "
    u"game until you defeat them all to access the next levels (Member and Elite)\nNow choose "
    u"an opponent to play with, (The easiest opponents are the firsts on the list.)\n\nHINT: "
    u"Check the number of Win-defeat-draw of each opponents)";

bool WalkStep(uint8_t step) { return step == kStepWalkToShop || step == kStepWalkToPlay; }
bool EnterStep(uint8_t step) { return step == kStepEnterShop || step == kStepEnterPlay; }

}  // namespace

void Club::SetTutorialStep(uint8_t step) {
    tutorialStep_ = step;
    platform::Trace("tutorial", "step " + std::to_string(step));
}

void Club::StartTutorial() {
    tutorialFlag_ = 1;
    savedMusicOff_ = gMusicOff;
    gMusicOff = 1;
    SetTutorialStep(kStepEnterClub);
}

void Club::EndTutorial() {
    const uint8_t slot = gProfile.GetSlot();
    gProfile.Reset();
    gProfile.SetSlot(slot);
    tutorialFlag_ = 0;
    gMusicOff = savedMusicOff_;
    platform::Trace("tutorial", "end");
}

// --- Per frame ---

void Club::TutorialUpdate() {
    switch (tutorialStep_) {
        case kStepEnterClub:
        case kStepShopTransition:
        case kStepPlayTransition: Tick(); break;
        case kStepWalkToShop:
        case kStepEnterShop:
        case kStepWalkToPlay:
        case kStepEnterPlay:
            Tick();
            TutorialKeys();
            break;
        case kStepBuyBooster:
            if (shopScreen_ != nullptr) shopScreen_->TutorialUpdate();
            break;
        case kStepStartMatch:
            if (betScreen_ != nullptr) betScreen_->TutorialUpdate();
            break;
        default: break;  // the manager and Instant Play wait for taps
    }
}

// One key a turn, as in the club view, and only while the view stands: a
// key pressed during a walk waits for its end.
void Club::TutorialKeys() {
    if (input_ != 1 || direction_ != 0 || currentType_ != kScreenClubView) return;
    const uint8_t step = tutorialStep_;
    if (gKeyState[kRightKey] || gKeyState[kLeftKey]) {
        const bool right = gKeyState[kRightKey] != 0;
        gKeyState[right ? kRightKey : kLeftKey] = 0;
        if (EnterStep(step)) {
            ShowTutorialHint(step == kStepEnterShop ? kHintB : kHintD);
        } else if (right) {
            RotateRight();
        } else {
            RotateLeft();
        }
    } else if (gKeyState[kActionKey] || gKeyState[kStartKey]) {
        gKeyState[kActionKey] = 0;
        gKeyState[kStartKey] = 0;
        if (EnterStep(step)) {
            TutorialEnterRoom();
        } else {
            ShowTutorialHint(step == kStepWalkToShop ? kHintA : kHintC);
        }
    }
}

void Club::TutorialEnterRoom() {
    BeginTransition(1);
    SetTutorialStep(tutorialStep_ == kStepEnterShop ? kStepShopTransition : kStepPlayTransition);
}

// --- Stylus ---

void Club::TutorialStylusDown(uint16_t x, uint16_t y) {
    const uint8_t step = tutorialStep_;
    if (WalkStep(step) || EnterStep(step)) {
        if (currentType_ != kScreenClubView) return;
        if (leftArrow_.Press(x, y) || rightArrow_.Press(x, y)) return;
        if (step == kStepWalkToShop && y <= kTabBottom &&
            x > kScreenWidth - quickMenuOn_.width) {
            // It opens, and refuses every row in the tutorial.
            SlideQuickMenuOpen();
            RunQuickMenu();
        } else if (WalkStep(step)) {
            ShowTutorialHint(step == kStepWalkToShop ? kHintA : kHintC);
        } else if (y >= kPanoramaTop && y < kPanoramaTop + panorama_[0].height &&
                   room_ == (step == kStepEnterShop ? kShopRoom : kInstantPlayRoom)) {
            TutorialEnterRoom();
        }
        return;
    }
    switch (step) {
        case kStepBuyBooster:
            if (shopScreen_ != nullptr) shopScreen_->TutorialStylusDown(x, y);
            break;
        case kStepBuildDeck:
            if (collectionScreen_ != nullptr) collectionScreen_->TutorialStylusDown(x, y);
            break;
        case kStepPickOpponent:
            if (instantPlayScreen_ != nullptr) instantPlayScreen_->TutorialStylusDown(x, y);
            break;
        case kStepStartMatch:
            if (betScreen_ != nullptr) betScreen_->TutorialStylusDown(x, y);
            break;
        default: break;
    }
}

void Club::TutorialStylusUp(uint16_t x, uint16_t y) {
    const uint8_t step = tutorialStep_;
    if (WalkStep(step) || EnterStep(step)) {
        if (currentType_ != kScreenClubView) return;
        const bool left = leftArrow_.Release(x, y);
        const bool right = rightArrow_.Release(x, y);
        if (!left && !right) return;
        if (EnterStep(step)) {
            ShowTutorialHint(step == kStepEnterShop ? kHintB : kHintD);
        } else if (left) {
            RotateLeft();
        } else {
            RotateRight();
        }
        return;
    }
    switch (step) {
        case kStepBuyBooster:
            if (shopScreen_ != nullptr && shopScreen_->TutorialStylusUp(x, y)) ShopStepDone();
            break;
        case kStepBuildDeck:
            if (collectionScreen_ != nullptr && collectionScreen_->TutorialStylusUp(x, y)) {
                DeckStepDone();
            }
            break;
        case kStepPickOpponent:
            if (instantPlayScreen_ != nullptr && instantPlayScreen_->TutorialStylusUp(x, y)) {
                SetTutorialStep(kStepStartMatch);
                TraceScreen("close", kScreenInstantPlay);
                Retire(instantPlayScreen_);
            }
            break;
        case kStepStartMatch:
            if (betScreen_ != nullptr && betScreen_->TutorialStylusUp(x, y)) MatchStepDone();
            break;
        default: break;
    }
}

// The shop has opened the collection manager, which is current now.
void Club::ShopStepDone() {
    SetTutorialStep(kStepBuildDeck);
    TraceScreen("close", kScreenShop);
    Retire(shopScreen_);
    if (collectionScreen_ != nullptr) collectionScreen_->SetTutorial(1);
    ShowTutorialHint(kInManager, false);
}

// Back to the club view standing at the card shop, at once.
void Club::DeckStepDone() {
    SetTutorialStep(kStepWalkToPlay);
    TraceScreen("close", kScreenCollection);
    Retire(collectionScreen_);
    currentType_ = kScreenClubView;
    Redraw(0);
    TraceScreen("enter", kScreenClubView);
}

// The bet screen has started the match: the match shows its rules pages,
// and the character is made new again, as it was before the tutorial.
void Club::MatchStepDone() {
    SetTutorialStep(kStepEnded);
    TraceScreen("close", kScreenBet);
    Retire(betScreen_);
    gMatch.SetTutorialMode(1);
    gMatch.SetTutorialStep(kMatchTutorialFirstPage);
    room_ = kInstantPlayRoom;
    currentType_ = kScreenClubView;
    frame_ = static_cast<int16_t>(RoomFrame(kInstantPlayRoom));
    EndTutorial();
}

// --- Hooks of the club view ---

void Club::TutorialAfterEntering(uint8_t type) {
    if (!tutorialFlag_) return;
    if (type == kScreenClubView) {
        Redraw(0);
        FinishDescription(0);
        if (tutorialStep_ == kStepEnterClub) {
            SetTutorialStep(kStepWalkToShop);
            ShowTutorialHint(kWelcome);
        }
    } else if (type == kScreenShop && tutorialStep_ == kStepShopTransition &&
               shopScreen_ != nullptr) {
        SetTutorialStep(kStepBuyBooster);
        shopScreen_->SetTutorial(1);
        shopScreen_->SetTutorialStep(kStepBuyBooster);
        ShowTutorialHint(kInShop);
    } else if (type == kScreenInstantPlay && tutorialStep_ == kStepPlayTransition &&
               instantPlayScreen_ != nullptr) {
        SetTutorialStep(kStepPickOpponent);
        instantPlayScreen_->SetTutorial(1);
        instantPlayScreen_->SetTutorialStep(kStepPickOpponent);
        ShowTutorialHint(kInInstantPlay, false);
    }
}

void Club::TutorialAfterArrival() {
    if (!tutorialFlag_) return;
    if (tutorialStep_ == kStepWalkToShop && room_ == kShopRoom) {
        FinishDescription(0);
        ShowTutorialHint(kAtShop);
        SetTutorialStep(kStepEnterShop);
    } else if (tutorialStep_ == kStepWalkToPlay && room_ == kInstantPlayRoom) {
        FinishDescription(0);
        ShowTutorialHint(kAtInstantPlay);
        SetTutorialStep(kStepEnterPlay);
    }
}

// A restored tutorial goes on only where its step and the restored screens
// agree; otherwise the club goes on without it (nothing could answer it).
bool Club::TutorialMatchesScreens() const {
    const bool view = currentType_ == kScreenClubView;
    const bool standing = view && !transitionOut_ && !transitionIn_ && direction_ == 0;
    auto opening = [&](int room, uint8_t type) {
        return view && ((transitionOut_ && openRoom_ == 1 && room_ == room) ||
                        (transitionIn_ && pendingType_ == type));
    };
    switch (tutorialStep_) {
        case kStepEnterClub:
            return view && ((transitionOut_ && openRoom_ == 0) ||
                            (transitionIn_ && pendingType_ == kScreenClubView));
        case kStepWalkToShop:
        case kStepWalkToPlay: return view && !transitionOut_ && !transitionIn_;
        case kStepEnterShop: return standing && room_ == kShopRoom;
        case kStepEnterPlay: return standing && room_ == kInstantPlayRoom;
        case kStepShopTransition: return opening(kShopRoom, kScreenShop);
        case kStepPlayTransition: return opening(kInstantPlayRoom, kScreenInstantPlay);
        case kStepBuyBooster:
            return currentType_ == kScreenShop && shopScreen_ != nullptr &&
                   shopScreen_->TutorialFlag() &&
                   (shopScreen_->TutorialStep() == ShopScreen::kTutorialBuyStep ||
                    shopScreen_->TutorialStep() == ShopScreen::kTutorialManagerStep);
        case kStepBuildDeck: return currentType_ == kScreenCollection;
        case kStepPickOpponent: return currentType_ == kScreenInstantPlay;
        case kStepStartMatch: return currentType_ == kScreenBet;
        default: return false;
    }
}

void Club::CheckRestoredTutorial() {
    if (tutorialFlag_ && !TutorialMatchesScreens()) tutorialFlag_ = 0;
    if (tutorialFlag_) {
        // The tutorial runs silent and gives back the sound that start-up set.
        savedMusicOff_ = gMusicOff;
        gMusicOff = 1;
        return;
    }
    // Outside the tutorial no screen answers as in it.
    if (shopScreen_ != nullptr) shopScreen_->SetTutorial(0);
    if (collectionScreen_ != nullptr) collectionScreen_->SetTutorial(0);
}

// The program ends without a quick save: the tutorial cannot be taken up
// again, so what it lent the character goes back before the last save.
void Club::DropTutorialOnLeaving() {
    if (tutorialFlag_) EndTutorial();
}

}  // namespace qv
