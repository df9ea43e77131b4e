// The card shop: booster bundles and their opening animation, the four deck
// services, and the shop's part of the club's tutorial.
#include "club/shop_screen.h"

#include <string>

#include "cards/card_database.h"
#include "cards/profile.h"
#include "cards/save_io.h"
#include "cards/saves.h"
#include "club/club.h"
#include "club/collection_screen.h"
#include "club/room_kit.h"
#include "club/room_notes.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/font.h"
#include "engine/message_box.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "platform/clock.h"
#include "platform/system.h"

namespace qv {

const uint32_t ShopScreen::kBoosterCounts[kBundleCount] = {1, 2, 3, 5, 10};
const uint32_t ShopScreen::kBoosterPrices[kBundleCount] = {200, 400, 600, 900, 1700};

namespace {

const char16_t kFolder[] = u"GFX\\MENU\\UI SHOP\\";

struct ButtonPlace {
    const char16_t* pressed;
    int16_t x, y;
};
// In the order of every press and release test.
const ButtonPlace kButtons[ShopScreen::kButtonCount] = {
    {u"Shop1Booster.QVJ", 61, 74},      {u"Shop2Booster.QVJ", 61, 89},
    {u"Shop3Booster.QVJ", 61, 104},     {u"Shop5Booster.QVJ", 61, 120},
    {u"Shop10Booster.QVJ", 62, 135},    {u"ShopBack.QVJ", 204, 302},
    {u"ShopEnterManager.QVJ", 31, 189}, {u"ShopClearDeck.QVJ", 31, 211},
    {u"ShopSellCards.QVJ", 31, 234},    {u"ShopQuickDeck.QVJ", 29, 256},
};
enum : int { kBack = 5, kEnterManager = 6, kClearDeck = 7, kSellCards = 8, kQuickDeck = 9 };

// The booster is drawn over the shop here, and the area under it kept.
constexpr int kBoosterX = 0;
constexpr int kBoosterY = 90;
constexpr int kBoosterWidth = 120;
constexpr int kBoosterHeight = 113;
constexpr int kLastAnimationStep = 11;
constexpr uint32_t kWaitAfterAnimationMs = 1000;
constexpr int kCreditsRight = 238;
constexpr int kCreditsY = 4;
constexpr int kCreditsColour = 3;

const char16_t kTutorialBuyHint[] =
    u"You have to buy a booster to continue the turorial !\n\nHINT: A rare card is a card "
    u"level 3 or more.";
const char16_t kTutorialManagerHint[] =
    u"You have go to the Card Manager !\n\n HINT: The card manager is not shared by all your "
    u"characters. ";
const char16_t kTutorialGiftHint[] =
    u"Click on the Enter Manager button to see your new cards, and you'll be able to prepare "
    u"your first deck. In a real game, you can speed up the deck cration by using the Quick "
    u"deck fonction.\n\n HINT: The cards you just aquired will be highlighed in red in the "
    u"card manager.";

Picture LoadShopPicture(const WString& name) { return LoadRoomPicture(kFolder + name); }

void Trace(const std::string& text) { platform::Trace("shop", text); }

}  // namespace

ShopScreen::ShopScreen() {
    entry_ = LoadShopPicture(u"ShopPIX.QVG");
    background_ = LoadShopPicture(u"ShopEmpty.QVG");
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonPlace& place = kButtons[i];
        SetUpCutButton(buttons_[i], place.x, place.y, kFolder + WString(place.pressed), background_);
    }
    // The club's transition in dissolves toward this.
    BlitFullScreen(entry_, 1);
}

ShopScreen::~ShopScreen() {
    FreeAnimation();
    FreePicture(background_);
    FreePicture(entry_);
}

void ShopScreen::Enter() {
    EnterWithTapOrDissolve(*this);
    Trace("shown");
}

void ShopScreen::Draw(int8_t buffer) {
    BlitFullScreen(background_, buffer);
    DrawCredits(buffer);
}

void ShopScreen::DrawCredits(int8_t buffer) {
    const WString text = FormatInt(gProfile.GetCredits()) + u" Credits";
    DrawColouredText(text, kCreditsRight - gFont.TextWidth(text), kCreditsY, gFont,
                     kCreditsColour, buffer);
}

// --- Stylus ---

void ShopScreen::PressButtons(uint16_t x, uint16_t y) {
    for (Button& button : buttons_) button.Press(x, y);
}

int ShopScreen::ReleaseButtons(uint16_t x, uint16_t y) {
    int hit = -1;
    for (int i = 0; i < kButtonCount; ++i) {
        if (buttons_[i].Release(x, y) && hit < 0) hit = i;
    }
    return hit;
}

// A tap while the shop waits after the animation skips the rest of the wait.
bool ShopScreen::StylusDown(uint16_t x, uint16_t y) {
    if (waiting_) {
        waiting_ = 0;
        gClub.OpenCollectionScreen(kScreenShop, 1, CollectionScreen::kModeDeck);
        return false;
    }
    if (!animating_) PressButtons(x, y);
    return false;
}

bool ShopScreen::StylusUp(uint16_t x, uint16_t y) {
    if (animating_ || waiting_) return false;
    const int hit = ReleaseButtons(x, y);
    switch (hit) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 4: BuyBoosters(hit); break;
        case kBack: return true;
        case kEnterManager: OpenManager(); break;
        case kClearDeck:
            // Only the profile in memory: the file follows with the next save.
            gProfile.ClearDeck();
            Trace("deck cleared");
            ShowRoomNote(u"Deck Cleared.");
            break;
        case kSellCards: SellDuplicates(); break;
        case kQuickDeck: {
            const bool full = gProfile.BuildBestDeck();
            SavePlayer();
            Trace("quick deck " + std::to_string(gProfile.GetDeck().GetCount()));
            ShowRoomNote(full ? u"Your deck is done !"
                              : u"Error ! \n\nCards are mising to make a full deck !");
            break;
        }
        default: break;
    }
    return false;
}

// --- Boosters ---

// The cards, the price and the file change with nothing in between that
// could wait for the player, so the character file holds all of the
// purchase or none of it.
void ShopScreen::BuyBoosters(int bundle) {
    if (bundle < 0 || bundle >= kBundleCount) return;
    const auto price = static_cast<int32_t>(kBoosterPrices[bundle]);
    const auto count = static_cast<int>(kBoosterCounts[bundle]);
    if (gProfile.GetCredits() < price) {
        ShowRoomNote(u"You need " + FormatInt(price) +
                     u" Credits to buy this Booster, please come back later.");
        return;
    }
    StartAnimation();
    gProfile.OpenBoosters(count);
    gProfile.SubtractCredits(price);
    Trace("bought " + std::to_string(count));
    SavePlayer();
    BlitFullScreen(background_, 0);
    DrawCredits(0);
    GreyBuffer(0);
}

void ShopScreen::StartAnimation() {
    FreeAnimation();
    animating_ = 1;
    animationStep_ = 0;
}

void ShopScreen::FreeAnimation() {
    for (Picture& frame : frames_) FreePicture(frame);
    FreePicture(savedArea_);
}

void ShopScreen::Update() {
    if (animating_) {
        StepAnimation();
        return;
    }
    if (!waiting_ || platform::GetTickCount() - animationEndTick_ <= kWaitAfterAnimationMs) return;
    if (tutorial_) {
        EndTutorialWait();
    } else {
        waiting_ = 0;
        gClub.OpenCollectionScreen(kScreenShop, 1, CollectionScreen::kModeDeck);
    }
}

// Frame 0 first, then the other ten over the area saved under the booster,
// one a frame.
void ShopScreen::StepAnimation() {
    if (animationStep_ == 0) {
        frames_[0] = LoadShopPicture(u"Booster0.QVG");
        BlitPictureKeyed(kBoosterX, kBoosterY, frames_[0], 0);
    } else if (animationStep_ == 1) {
        for (int i = 1; i < kBoosterFrameCount; ++i) {
            frames_[i] = LoadShopPicture(u"Booster" + FormatInt(i) + u".QVG");
        }
        GrabRect(savedArea_, kBoosterX, kBoosterY, kBoosterWidth, kBoosterHeight, 0);
    } else {
        BlitPicture(kBoosterX, kBoosterY, savedArea_, 0);
        BlitPictureKeyed(kBoosterX, kBoosterY, frames_[animationStep_ - 1], 0);
    }
    if (++animationStep_ > kLastAnimationStep) {
        FreeAnimation();
        animating_ = 0;
        waiting_ = 1;
        animationEndTick_ = platform::GetTickCount();
        Trace("opened");
    }
}

// --- Deck services ---

void ShopScreen::SellDuplicates() {
    int sold = 0;
    int32_t sum = 0;
    const int16_t cardCount = GetCardCount();
    for (int16_t id = 1; id <= cardCount; ++id) {
        if (gProfile.GetCardCount(id) <= 1) continue;
        const int16_t value = LoadCard(id).GetValue();
        while (gProfile.GetCardCount(id) > 1) {
            gProfile.AddCredits(value);
            gProfile.RemoveCard(id);
            ++sold;
            sum += value;
        }
    }
    // Saved before the note, which waits for the player.
    SavePlayer();
    Trace("sold " + std::to_string(sold) + " for " + std::to_string(sum));
    ShowRoomNote(u"You sold " + FormatInt(sold) + u" cards for " + FormatInt(sum) + u" Credits");
    Draw(0);
}

void ShopScreen::OpenManager() {
    gClub.OpenCollectionScreen(kScreenShop, 0, CollectionScreen::kModeDeck);
}

// --- Tutorial ---

bool ShopScreen::TutorialStylusDown(uint16_t x, uint16_t y) {
    if (waiting_) EndTutorialWait();
    if (!animating_) PressButtons(x, y);
    return false;
}

bool ShopScreen::TutorialStylusUp(uint16_t x, uint16_t y) {
    if (animating_ || waiting_) return false;
    const int hit = ReleaseButtons(x, y);
    if (hit < 0) return false;
    if (tutorialStep_ == kTutorialBuyStep) {
        // The tutorial's booster is shown, not bought.
        if (hit < kBundleCount) {
            StartAnimation();
        } else {
            ShowTutorialHint(kTutorialBuyHint);
        }
    } else if (tutorialStep_ == kTutorialManagerStep) {
        if (hit == kEnterManager) {
            OpenManager();
            return true;
        }
        ShowTutorialHint(kTutorialManagerHint);
    }
    return false;
}

// The gift stays in memory: the tutorial's end takes it back.
void ShopScreen::EndTutorialWait() {
    waiting_ = 0;
    Draw(0);
    ShowTutorialHint(kTutorialGiftHint);
    GiveTutorialCards();
    tutorialStep_ = kTutorialManagerStep;
    Trace("tutorial gift");
}

void ShopScreen::GiveTutorialCards() {
    const int count = GetCardCount();
    int number = 0;
    for (;;) {
        number += 2 + RandomBelow(3);
        if (number > count) break;
        gProfile.AddCard(static_cast<int16_t>(number));
        if (number >= count) break;
    }
}

// --- Quick save ---

bool ShopScreen::WriteState(platform::FileHandle file) {
    const bool flag = WriteU8(file, tutorial_);
    return WriteU8(file, tutorialStep_) && flag;
}

bool ShopScreen::ReadState(platform::FileHandle file) {
    uint8_t flag = 0;
    uint8_t step = 0;
    if (!ReadU8(file, flag) || !ReadU8(file, step) || flag > 1 || step > kTutorialManagerStep) {
        tutorial_ = 0;
        tutorialStep_ = 0;
        return false;
    }
    tutorial_ = flag;
    tutorialStep_ = step;
    return true;
}

}  // namespace qv
