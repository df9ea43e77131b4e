// The multiplayer room: its screen, Create and Join, the game and trade
// handshakes, and the room's link checks.
#include "infrared/multiplayer_screen.h"

#include <string>

#include "cards/launchers.h"
#include "cards/profile.h"
#include "club/club.h"
#include "club/room_kit.h"
#include "engine/blit.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "engine/wstring.h"

namespace qv {

namespace {

const char16_t kMenuFolder[] = u"GFX\\MENU\\";
const char16_t kFolder[] = u"GFX\\MENU\\UI MULTI\\";

constexpr int kStatusX = 10;
constexpr int kStatusY = 75;
constexpr int kStatusWidth = 220;
constexpr int kStatusHeight = 160;
constexpr int16_t kTextX = 30;
constexpr int16_t kWaitingY = 90;
constexpr int16_t kResultY = 115;
constexpr int kStateTextX = 153;
constexpr int kStateTextY = 63;
constexpr int kGreen = 1;
constexpr int kLightRed = 6;

// Where each button stands and its pictures; an empty normal picture is cut
// from the background. The pictures lie in kFolder unless folder says otherwise.
struct ButtonPlace {
    int16_t x;
    int16_t y;
    const char16_t* pressed;
    const char16_t* normal;
    const char16_t* folder = kFolder;
};
constexpr ButtonPlace kButtons[MultiplayerScreen::kButtonCount] = {
    {188, 241, u"MultiplayerCreateON.QVJ", u"MultiplayerCreate.QVJ"},
    {22, 241, u"MultiplayerJoinON.QVJ", u"MultiplayerJoin.QVJ"},
    {202, 301, u"MultiplayerBack.QVJ", nullptr},
    {207, 0, u"AllPartyDeck.QVJ", nullptr, kMenuFolder},
    {134, 241, u"MultiplayerGameON.QVJ", u"MultiplayerGame.QVJ"},
    {75, 241, u"MultiplayerTradeON.QVJ", u"MultiplayerTrade.QVJ"},
};

// The texts of a handshake: server waiting, server failed, client not
// ready, client waiting, server not ready, client failed.
enum { kServerWaiting, kServerFailed, kClientNotReady, kClientWaiting, kServerNotReady, kClientFailed };
const char16_t* const kGameTexts[6] = {
    u"Server is waiting to start Game.",
    u"Server failed to start Game.",
    u"Client not ready.",
    u"Client is waiting to start Game.",
    u"Server not ready.",
    u"Client failed to start Game.",
};
const char16_t* const kTradeTexts[6] = {
    u"Server is waiting to start Trade.",
    u"Server failed to start Trade.",
    u"Client not ready.",
    u"Client is waiting to start Trade.",
    u"Server not ready.",
    u"Client failed to start Trade.",
};

void TraceMultiplayer(const std::string& text) { TraceRoom("multiplayer " + text); }

}  // namespace

MultiplayerScreen::MultiplayerScreen() {
    const WString folder = kFolder;
    background_ = LoadRoomPicture(folder + u"MultiplayerEmpty.QVG");
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonPlace& place = kButtons[i];
        const WString placeFolder = place.folder;
        if (place.normal != nullptr) {
            SetUpFileButton(buttons_[i], place.x, place.y, placeFolder + place.pressed, placeFolder + place.normal);
        } else {
            SetUpCutButton(buttons_[i], place.x, place.y, placeFolder + place.pressed, background_);
        }
    }
    entryPicture_ = LoadRoomPicture(folder + u"MultiplayerPIX.QVG");
    BlitFullScreen(entryPicture_, 1);
    CutPicture(statusArea_, background_, kStatusX, kStatusY, kStatusWidth, kStatusHeight);
    connected_ = 0;
    savedMusicOff_ = gMusicOff;
    gMusicOff = 1;
}

MultiplayerScreen::~MultiplayerScreen() {
    gMusicOff = savedMusicOff_;
    FreePicture(background_);
    FreePicture(statusArea_);
    FreePicture(entryPicture_);
}

void MultiplayerScreen::Enter() {
    EnterWithTapOrDissolve(*this);
    TraceRoom(connected_ ? "multiplayer shown connected" : "multiplayer shown not connected");
}

int MultiplayerScreen::ActiveButtons(ButtonId* ids) const {
    if (connected_) {
        ids[0] = kBack;
        ids[1] = kDeck;
        ids[2] = kGame;
        ids[3] = kTrade;
    } else {
        ids[0] = kCreate;
        ids[1] = kJoin;
        ids[2] = kBack;
        ids[3] = kDeck;
    }
    return 4;
}

void MultiplayerScreen::Draw(int8_t buffer) {
    BlitFullScreen(background_, buffer);
    ButtonId ids[kButtonCount];
    const int count = ActiveButtons(ids);
    for (int i = 0; i < count; ++i) buttons_[ids[i]].Draw(buffer);
    if (connected_) {
        DrawColouredText(u"Connection OK", kStateTextX, kStateTextY, gFont, kGreen, buffer);
    } else {
        DrawColouredText(u"Not Connected", kStateTextX, kStateTextY, gFont, kLightRed, buffer);
    }
}

void MultiplayerScreen::Update() {
    if (connected_) PollIrConnection();
}

void MultiplayerScreen::StylusDown(uint16_t x, uint16_t y) {
    ButtonId ids[kButtonCount];
    const int count = ActiveButtons(ids);
    for (int i = 0; i < count; ++i) buttons_[ids[i]].Press(x, y);
}

bool MultiplayerScreen::StylusUp(uint16_t x, uint16_t y) {
    // Every button of the set is let go first (each draws itself unpressed);
    // then the one released over itself acts.
    ButtonId ids[kButtonCount];
    const int count = ActiveButtons(ids);
    int acting = -1;
    for (int i = 0; i < count; ++i) {
        if (buttons_[ids[i]].Release(x, y) && acting < 0) acting = ids[i];
    }
    switch (acting) {
        case kCreate:
            if (HostIrConnection()) Draw(0);
            return false;
        case kJoin:
            if (JoinIrConnection()) Draw(0);
            return false;
        case kDeck: gClub.OpenShopScreen(kScreenMultiplayer); return false;
        case kGame: StartIrGame(); return false;
        case kTrade: StartIrTrade(); return false;
        case kBack:
            connected_ = 0;
            CloseLink();
            PlayMusic(0);
            TraceMultiplayer("left");
            return true;
        default: return false;
    }
}

bool MultiplayerScreen::WriteState(platform::FileHandle) { return true; }
bool MultiplayerScreen::ReadState(platform::FileHandle) { return true; }

void MultiplayerScreen::ShowStatus(int16_t x, int16_t y, const WString& text, bool clear) {
    if (clear) BlitPicture(kStatusX, kStatusY, statusArea_, 0);
    DrawText(text, x, y, gFont, 0);
    PresentScreen();
    TraceMultiplayer("status " + Narrow(text));
}

bool MultiplayerScreen::HostIrConnection() { return ConnectIr(true); }

bool MultiplayerScreen::JoinIrConnection() { return ConnectIr(false); }

bool MultiplayerScreen::ConnectIr(bool host) {
    Draw(0);
    ShowStatus(kTextX, kWaitingY, host ? u"WAITING for client." : u"WAITING for server.", true);
    connected_ = (host ? HostLink(kHostSeconds) : JoinLink()) ? 1 : 0;
    Draw(0);
    ShowStatus(kTextX, kResultY, connected_ ? u"Connected." : u"Failed to connect.", false);
    return connected_ != 0;
}

bool MultiplayerScreen::StartHandshake(LinkMessageKind kind, const char16_t* const texts[6]) {
    auto exchangeStart = [&] {
        return kind == LinkMessageKind::kStartGame ? SendStartGameMessage() : SendStartTradeMessage();
    };
    LinkMessage request;
    if (GetLinkRole() == 1) {
        ShowStatus(kTextX, kWaitingY, texts[kServerWaiting], true);
        if (!exchangeStart()) {
            ShowStatus(kTextX, kWaitingY, texts[kServerFailed], true);
            return false;
        }
        if (ReceiveLinkRequest(request) && request.kind == kind) return true;
        ShowStatus(kTextX, kWaitingY, texts[kClientNotReady], true);
        return false;
    }
    ShowStatus(kTextX, kWaitingY, texts[kClientWaiting], true);
    if (!ReceiveLinkRequest(request)) {
        ShowStatus(kTextX, kWaitingY, texts[kServerNotReady], true);
        return false;
    }
    if (request.kind != kind) {
        // The other side pressed the other button: it learns so from the reject.
        ShowStatus(kTextX, kWaitingY, texts[kServerNotReady], true);
        SendRejectMessage();
        return false;
    }
    if (!exchangeStart()) {
        ShowStatus(kTextX, kWaitingY, texts[kClientFailed], true);
        return false;
    }
    return true;
}

bool MultiplayerScreen::StartIrGame() {
    if (gProfile.GetDeck().GetCount() < kDeckSize) {
        ShowNote(u"I don't have enough cards in my deck to join this game.");
        gClub.OpenShopScreen(kScreenMultiplayer);
        return false;
    }
    if (!StartHandshake(LinkMessageKind::kStartGame, kGameTexts)) return false;
    TraceMultiplayer("game starts");
    StartRemoteMatch(GetLinkRole(), this);
    return true;
}

bool MultiplayerScreen::ExchangeTradeNames() {
    LinkMessage name;
    if (GetLinkRole() == 1) {
        if (!SendNameMessage(gProfile.GetName())) return false;
        if (!ReceiveLinkRequest(name) || name.kind != LinkMessageKind::kName) return false;
    } else {
        if (!ReceiveLinkRequest(name) || name.kind != LinkMessageKind::kName) return false;
        if (!SendNameMessage(gProfile.GetName())) return false;
    }
    gOtherProfile.SetName(name.text);
    return true;
}

bool MultiplayerScreen::StartIrTrade() {
    if (!StartHandshake(LinkMessageKind::kStartTrade, kTradeTexts)) return false;
    if (!ExchangeTradeNames()) return false;
    TraceMultiplayer("trade starts");
    gClub.OpenTradeScreen(kScreenMultiplayer);
    return true;
}

void MultiplayerScreen::MarkLinkLost() {
    connected_ = 0;
    Draw(0);
    TraceMultiplayer("link lost");
}

void MultiplayerScreen::PollIrConnection() {
    if (!IsLinkAlive()) MarkLinkLost();
}

bool MultiplayerScreen::CheckLinkSync() {
    if (IsLinkAlive()) return true;
    MarkLinkLost();
    const bool cancel = ShowNote(u"Error of Synchronization:\n", u"Cancel", u"Retry");
    if (cancel) return false;
    return GetLinkRole() == 1 ? HostIrConnection() : JoinIrConnection();
}

}  // namespace qv
