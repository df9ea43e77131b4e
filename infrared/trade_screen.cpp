// The trade screen's pictures, drawing, buttons, box cells and zoom.
#include "infrared/trade_screen.h"

#include <string>

#include "cards/card_database.h"
#include "club/club.h"
#include "club/collection_screen.h"
#include "club/room_kit.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/message_box.h"
#include "engine/utilities.h"
#include "infrared/multiplayer_screen.h"
#include "platform/clock.h"

namespace qv {

namespace {

const char16_t kFolder[] = u"GFX\\MENU\\UI MULTI\\";

struct ButtonPlace {
    int16_t x;
    int16_t y;
    const char16_t* picture;
};
constexpr ButtonPlace kButtons[TradeScreen::kButtonCount] = {
    {21, 278, u"TradeUIADD.QVJ"},    {79, 280, u"TradeUIDEL.QVJ"},     {202, 301, u"MultiplayerBack.QVJ"},
    {130, 281, u"TradeUIREADY.QVJ"}, {185, 278, u"TradeUICANCEL.QVJ"}, {201, 0, u"TradeUIZOOM.QVJ"},
    {19, 256, u"TradeUIMoins.QVJ"},  {102, 256, u"TradeUIPlus.QVJ"},
};

constexpr int kCellWidth = 32;
constexpr int kCellHeight = 50;
constexpr int kOwnLightX = 20;
constexpr int kOwnLightY = 241;
constexpr int kOtherLightX = 129;
constexpr int kOtherLightY = 240;
constexpr int kOwnOfferX = 38;
constexpr int kOtherOfferX = 147;
constexpr int kOfferWidth = 62;
constexpr int kOfferY = 258;
constexpr int kCreditsLeft = 40;
constexpr int kCreditsY = 26;
constexpr int kCreditsColour = 3;
// A held button doubles its step every five steps, up to this.
constexpr int32_t kLargestStep = 1 << 24;
constexpr int8_t kSelectionTint[3] = {40, 40, static_cast<int8_t>(216)};

}  // namespace

TradeScreen::TradeScreen(MultiplayerScreen* room) : room_(room) {
    const WString folder = kFolder;
    background_ = LoadRoomPicture(folder + u"TradeUI.QVG");
    ownLight_ = LoadRoomPicture(folder + u"TradeUILightLeftGreen.QVJ");
    otherLight_ = LoadRoomPicture(folder + u"TradeUILightRightGreen.QVJ");
    for (int i = 0; i < kButtonCount; ++i) {
        SetUpCutButton(buttons_[i], kButtons[i].x, kButtons[i].y, folder + kButtons[i].picture, background_);
    }
    gProfile.ClearTradeBox();
    gOtherProfile.ClearTradeBox();
}

TradeScreen::~TradeScreen() {
    FreePicture(background_);
    FreePicture(ownLight_);
    FreePicture(otherLight_);
}

void TradeScreen::Enter() {
    Draw(0);
    TraceRoom("trade shown");
}

bool TradeScreen::WriteState(platform::FileHandle) { return true; }
bool TradeScreen::ReadState(platform::FileHandle) { return true; }

// --- Drawing ---

void TradeScreen::Draw(int8_t buffer) {
    BlitFullScreen(background_, buffer);
    for (const Button& button : buttons_) button.Draw(buffer);
    DrawLights(buffer);
    DrawCredits(buffer);
    DrawNames(buffer);
    for (int i = 0; i < kTradeBoxSize; ++i) {
        DrawOwnCard(i, buffer);
        DrawOtherCard(i, buffer);
    }
}

void TradeScreen::DrawNames(int8_t buffer) {
    DrawText(gProfile.GetName(), 25, 69, gFont, buffer);
    DrawText(gOtherProfile.GetName(), 135, 69, gFont, buffer);
}

void TradeScreen::DrawCredits(int8_t buffer) {
    const int height = gFont.GetHeight();
    RestoreRect(kOwnOfferX, kOfferY, kOfferWidth, height, background_, buffer);
    RestoreRect(kOtherOfferX, kOfferY, kOfferWidth, height, background_, buffer);
    RestoreRect(kCreditsLeft, kCreditsY, kScreenWidth - kCreditsLeft, height, background_, buffer);
    const WString own = FormatInt(ownOffer_);
    const WString other = FormatInt(otherOffer_ < 0 ? 0 : otherOffer_);
    DrawText(own, kOwnOfferX + (kOfferWidth - gFont.TextWidth(own)) / 2, kOfferY, gFont, buffer);
    DrawText(other, kOtherOfferX + (kOfferWidth - gFont.TextWidth(other)) / 2, kOfferY, gFont, buffer);
    const WString credits = FormatInt(gProfile.GetCredits() - ownOffer_) + u" Credits";
    DrawColouredText(credits, kScreenWidth - gFont.TextWidth(credits), kCreditsY, gFont, kCreditsColour, buffer);
}

void TradeScreen::DrawLights(int8_t buffer) {
    if (ownReady_) {
        BlitPicture(kOwnLightX, kOwnLightY, ownLight_, buffer);
    } else {
        RestoreRect(kOwnLightX, kOwnLightY, ownLight_.width, ownLight_.height, background_, buffer);
    }
    if (otherReady_) {
        BlitPicture(kOtherLightX, kOtherLightY, otherLight_, buffer);
    } else {
        RestoreRect(kOtherLightX, kOtherLightY, otherLight_.width, otherLight_.height, background_, buffer);
    }
}

void TradeScreen::DrawCell(int x, int y, int16_t id, bool selected, int8_t buffer) {
    if (id == kEmptyCardId) {
        RestoreRect(x, y, kCellWidth, kCellHeight, background_, buffer);
        return;
    }
    Card card = LoadCard(id);
    card.LoadPicture(kCardSmall);
    card.Draw(x, y, kCardSmall, buffer, 2);
    card.FreePicture(kCardSmall);
    if (selected) {
        TintRect(x, y, kCellWidth, kCellHeight, kSelectionTint[0], kSelectionTint[1], kSelectionTint[2], buffer);
    }
}

void TradeScreen::DrawBoxCard(const PlayerProfile& profile, int index, int x, int selected, int8_t buffer) {
    if (index < 0 || index >= kTradeBoxSize) return;
    const int16_t id = index < profile.TradeBoxCount() ? profile.GetTradeBoxCard(index) : kEmptyCardId;
    DrawCell(x, CellY(index), id, index == selected, buffer);
}

void TradeScreen::DrawOwnCard(int index, int8_t buffer) {
    DrawBoxCard(gProfile, index, OwnCellX(index), ownSelected_, buffer);
}

void TradeScreen::DrawOtherCard(int index, int8_t buffer) {
    DrawBoxCard(gOtherProfile, index, OtherCellX(index), otherSelected_, buffer);
}

void TradeScreen::Select(int own, int other) {
    const int oldOwn = ownSelected_;
    const int oldOther = otherSelected_;
    ownSelected_ = static_cast<int8_t>(own);
    otherSelected_ = static_cast<int8_t>(other);
    DrawOwnCard(oldOwn, 0);
    DrawOtherCard(oldOther, 0);
    DrawOwnCard(own, 0);
    DrawOtherCard(other, 0);
}

void TradeScreen::KeepOtherSelectionInBox() {
    if (otherSelected_ >= gOtherProfile.TradeBoxCount()) otherSelected_ = -1;
}

void TradeScreen::ZoomCard(int16_t id) {
    if (!IsDatabaseId(id)) return;
    GreyBuffer(0);
    zoom_ = 1;
    visible_ = 0;
    CopyBuffer(0, 1);
    ShowMessageBox(BuildCardInfoText(id), WString(), WString(), 0, 5, 180, 230, 115, 20, 3, 3);
    Card card = LoadCard(id);
    card.LoadPicture(kCardBig);
    card.Draw(72, 20, kCardBig, 0, 2);
    card.FreePicture(kCardBig);
    TraceRoom("trade zoom " + std::to_string(id));
}

// --- Stylus ---

void TradeScreen::StylusDown(uint16_t x, uint16_t y) {
    if (zoom_) {
        Draw(0);
        zoom_ = 0;
        visible_ = 1;
        return;
    }
    for (int i = 0; i < kButtonCount; ++i) {
        if (!buttons_[i].Press(x, y)) continue;
        if (i == kMinus || i == kPlus) {
            // The first step comes at the next frame, then one every 200 ms.
            repeatTime_ = 0;
            repeatCount_ = 0;
            repeatStep_ = i == kMinus ? -1 : 1;
        }
        return;
    }
    // The cells' edges count to the next cell: left < x < left + 34.
    auto inside = [&](int left, int top) { return left < x && x < left + 34 && top < y && y < top + 52; };
    for (int i = 0; i < gProfile.TradeBoxCount(); ++i) {
        if (!inside(OwnCellX(i), CellY(i))) continue;
        if (ownSelected_ == i) {
            ZoomCard(gProfile.GetTradeBoxCard(i));
        } else {
            Select(i, -1);
        }
        return;
    }
    for (int i = 0; i < gOtherProfile.TradeBoxCount(); ++i) {
        if (!inside(OtherCellX(i), CellY(i))) continue;
        if (otherSelected_ == i) {
            ZoomCard(gOtherProfile.GetTradeBoxCard(i));
        } else {
            Select(-1, i);
        }
        return;
    }
}

bool TradeScreen::StylusUp(uint16_t x, uint16_t y) {
    if (zoom_ || closed_) return false;
    if (repeatStep_ != 0) {
        repeatStep_ = 0;
        if (platform::GetTickCount() - lastSend_ >= kOfferHoldMs) {
            HandleWaitingMessages();
            if (closed_) return false;
            SendOffer();
            if (closed_) return false;
        } else {
            pending_ = 1;
        }
    }
    int released = -1;
    for (int i = 0; i < kButtonCount; ++i) {
        if (buttons_[i].Release(x, y) && released < 0) released = i;
    }
    if (released == kBack) {
        // The other side must learn that we left, or it would wait on us in
        // the room; an exchange that only crossed one of its own goes again.
        for (int attempt = 0; attempt < 5 && !closed_; ++attempt) {
            HandleWaitingMessages();
            if (closed_ || (room_ != nullptr && room_->SendTradeLeaveMessage())) break;
            CheckLink();
        }
        TraceRoom("trade left");
        return !closed_;
    }
    if (released >= 0) ActOnButton(released);
    return false;
}

void TradeScreen::ActOnButton(int button) {
    switch (button) {
        case kAdd:
            // Ready with a box about to change would let the other side
            // complete the old trade: not ready first.
            if (ownReady_) SetReady(0);
            if (closed_ || ownReady_) return;
            visible_ = 0;
            gClub.OpenCollectionScreen(kScreenTrade, 0, CollectionScreen::kModeTradeBox);
            return;
        case kDel: RemoveSelectedCard(); return;
        case kReady:
            // An offer or a box the other side has not seen yet goes out
            // first; the player then confirms the trade as it now stands.
            if (pending_ || !OwnBoxAsSent()) {
                if (!OwnBoxAsSent() && !SendBox()) return;
                if (closed_) return;
                if (pending_) {
                    pending_ = 0;
                    SendOffer();
                }
                return;
            }
            SetReady(1);
            if (!closed_ && ownReady_ && otherReady_) CompleteTrade();
            return;
        case kCancel: SetReady(0); return;
        case kZoom:
            if (ownSelected_ >= 0 && ownSelected_ < gProfile.TradeBoxCount()) {
                ZoomCard(gProfile.GetTradeBoxCard(ownSelected_));
            } else if (otherSelected_ >= 0 && otherSelected_ < gOtherProfile.TradeBoxCount()) {
                ZoomCard(gOtherProfile.GetTradeBoxCard(otherSelected_));
            }
            return;
        default: return;
    }
}

void TradeScreen::RemoveSelectedCard() {
    const int s = ownSelected_;
    if (s < 0 || s >= gProfile.TradeBoxCount()) return;
    // The other side's copy is told by index only while it matches ours.
    const bool asSent = OwnBoxAsSent();
    gProfile.RemoveTradeBoxAt(s);
    ownSelected_ = -1;
    for (int i = s; i <= gProfile.TradeBoxCount() && i < kTradeBoxSize; ++i) DrawOwnCard(i, 0);
    HandleWaitingMessages();
    if (closed_ || !asSent || room_ == nullptr) return;
    if (room_->SendTradeRemoveMessage(s)) {
        for (int i = s; i + 1 < sentCount_; ++i) sentBox_[i] = sentBox_[i + 1];
        --sentCount_;
    } else {
        CheckLink();
    }
}

void TradeScreen::StepOffer() {
    const uint32_t now = platform::GetTickCount();
    if (repeatStep_ == 0 || now - repeatTime_ <= kRepeatMs) return;
    repeatTime_ = now;
    ownOffer_ += repeatStep_;
    const int32_t credits = gProfile.GetCredits() < 0 ? 0 : gProfile.GetCredits();
    if (ownOffer_ < 0 || ownOffer_ > credits) {
        ownOffer_ = ownOffer_ < 0 ? 0 : credits;
        repeatStep_ = 0;
        pending_ = 1;
    }
    if (visible_) DrawCredits(0);
    ++repeatCount_;
    if (repeatCount_ % 5 == 0 && repeatStep_ > -kLargestStep && repeatStep_ < kLargestStep) repeatStep_ *= 2;
}

}  // namespace qv
