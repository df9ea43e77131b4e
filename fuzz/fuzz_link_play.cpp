// Fuzz target: the other machine's messages acted on by the multiplayer room
// (its game and trade handshakes and its link watch), by the match over the
// link and by the trade screen. The input is the other machine's script
// (fuzz/link_play.h); the room connects over a real loopback link to the
// peer below, the player presses Game or Trade, the game's frames run as the
// main loop runs them, and the local player plays its turns.
//
// The peer lives in this process and no thread: it follows the game's trace.
// Each request the game sends ("link send ...") is answered the moment it is
// sent, and when the game is about to wait for the other machine ("link
// waiting for data") the peer sends its next message, or ends the link when
// the script is done. So an input plays the same way every time, with no
// sleep; only the link's clock catch-up counts the real time a call took.
#include <fcntl.h>
#include <netinet/tcp.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "cards/card_database.h"
#include "cards/opponents.h"
#include "club/club.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/link_play.h"
#include "infrared/link_message.h"
#include "infrared/multiplayer_screen.h"
#include "infrared/trade_screen.h"
#include "match/match.h"
#include "platform/config.h"
#include "platform/files.h"
#include "platform/trace.h"
#include "tests/support/club_driver.h"
#include "tests/support/match_driver.h"

namespace qv::fuzz {

namespace {

// Frames the script may take, and frames after it for the game to come back
// to the room once the link has ended.
constexpr int kMostFrames = 1000;
constexpr int kSettleFrames = 120;
// A message kept for the game's next wait goes before a frame after these.
constexpr int kHeldFrames = 40;
// Where the room's buttons are tapped.
constexpr int kGameX = 146, kTradeX = 87, kButtonsY = 253;

// One step of the script, decoded.
struct Step {
    LinkPlayStep kind = kStepFrames;
    uint8_t argument = 0;
    Bytes bytes;  // a message's wire bytes, or the raw bytes
    uint8_t x = 0, y = 0;
};

// The steps of the input after byte 0; a step cut short ends the list.
std::vector<Step> ReadSteps(const uint8_t* data, size_t size) {
    std::vector<Step> steps;
    size_t at = 0;
    while (at < size) {
        Step step;
        step.kind = static_cast<LinkPlayStep>(data[at] & 7);
        step.argument = static_cast<uint8_t>(data[at] >> 3);
        ++at;
        if (step.kind == kStepMessageWhenWaiting || step.kind == kStepMessageNow) {
            if (size - at < 8) break;
            LinkMessage message;
            message.kind = static_cast<LinkMessageKind>(data[at]);
            message.p1 = data[at + 1];
            message.p2 = data[at + 2];
            message.p3 = data[at + 3];
            message.p4 = data[at + 4];
            message.value = static_cast<int16_t>(data[at + 5] | (data[at + 6] << 8));
            const size_t length = data[at + 7];
            at += 8;
            if (size - at < length) break;
            for (size_t i = 0; i < length; ++i) message.text.push_back(static_cast<char16_t>(data[at + i]));
            at += length;
            // The wire form cuts the text at a zero: always a whole message.
            uint8_t packed[kLinkMessageMaxBytes];
            step.bytes.assign(packed, packed + PackLinkMessage(message, packed));
        } else if (step.kind == kStepRawBytes) {
            if (size - at < 1) break;
            const size_t length = data[at++];
            if (size - at < length) break;
            step.bytes.assign(data + at, data + at + length);
            at += length;
        } else if (step.kind == kStepTap) {
            if (size - at < 2) break;
            step.x = data[at];
            step.y = data[at + 1];
            at += 2;
        }
        steps.push_back(step);
    }
    return steps;
}

// "09 0A FF": the bytes of a "link send" trace line.
Bytes FromHex(const std::string& text) {
    Bytes bytes;
    for (size_t i = 0; i + 1 < text.size(); i += 3) {
        bytes.push_back(static_cast<uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

int NonBlockingSocket(int type) { return ::socket(AF_INET, type | SOCK_NONBLOCK | SOCK_CLOEXEC, 0); }

// A loopback socket of the type bound to the port (0: any), or -1.
int BoundSocket(int type, uint16_t port, uint32_t address = INADDR_LOOPBACK) {
    const int fd = NonBlockingSocket(type);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(port);
    where.sin_addr.s_addr = htonl(address);
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) == 0) return fd;
    if (fd >= 0) ::close(fd);
    return -1;
}

uint16_t PortOf(int fd) {
    sockaddr_in where{};
    socklen_t size = sizeof where;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&where), &size);
    return ntohs(where.sin_port);
}

void NoDelay(int fd) {
    int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// The other machine. Between runs it holds the link's datagram port, so
// that a Create of the game fails at once instead of waiting for a client;
// a Join of the game finds it through that port, and is sent to its
// listener or, when it takes no new link, to a port that refuses.
class Peer {
public:
    void Open() {
        port_ = platform::GetConfig().irPort;
        listener_ = BoundSocket(SOCK_STREAM, 0);
        refuser_ = BoundSocket(SOCK_STREAM, 0);
        if (listener_ < 0 || refuser_ < 0 || ::listen(listener_, 4) != 0) {
            std::perror("link_play: peer sockets");
            ::abort();
        }
        Hold();
    }

    // A new run with these steps; no link yet.
    void Begin(std::vector<Step> steps, bool joins) {
        End();
        steps_ = std::move(steps);
        next_ = 0;
        joins_ = joins;
        newLinks_ = 0;
        frameWait_ = 0;
        heldFrames_ = 0;
        ForgetExchange();
    }

    // The game creates or joins the link as the player's Create or Join.
    bool Connect(MultiplayerScreen& room) {
        ++newLinks_;
        if (joins_) {
            Hold();
        } else {
            Release();
        }
        const bool connected = joins_ ? room.JoinIrConnection() : room.HostIrConnection();
        Hold();
        return connected && fd_ >= 0;
    }

    // Before each frame: the steps due now; false once the script is done.
    bool BeforeFrame(std::vector<Step>& taps) {
        Hold();
        Drain();
        if (frameWait_ > 0) {
            --frameWait_;
            return true;
        }
        while (next_ < steps_.size()) {
            const Step& step = steps_[next_];
            switch (step.kind) {
                case kStepMessageWhenWaiting:
                    if (heldFrames_ < kHeldFrames) {
                        ++heldFrames_;
                        return true;
                    }
                    heldFrames_ = 0;
                    SendMessage(step.bytes);
                    break;
                case kStepMessageNow: SendMessage(step.bytes); break;
                case kStepRawBytes: Write(step.bytes); break;
                case kStepFrames:
                    frameWait_ = step.argument;
                    ++next_;
                    return true;
                case kStepTap: taps.push_back(step); break;
                default: TakeSetting(step); break;
            }
            ++next_;
        }
        return false;
    }

    // Ends the link (with a reset, which leaves no connection waiting in
    // the system); the game finds it gone at its next look.
    void End() {
        if (fd_ >= 0) {
            linger reset{1, 0};
            ::setsockopt(fd_, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            ::close(fd_);
            fd_ = -1;
        }
    }

    static void OnTrace(const std::string& kind, const std::string& text);

private:
    // Binding fails while the game answers discovery itself; then the next
    // call tries again.
    void Hold() {
        if (hold_ < 0) hold_ = BoundSocket(SOCK_DGRAM, port_, INADDR_ANY);
    }
    void Release() {
        if (hold_ >= 0) ::close(hold_);
        hold_ = -1;
    }
    void ForgetExchange() {
        sent_.clear();
        answered_ = false;
        answer_ = kAnswerEcho;
        rejectEcho_ = false;
    }
    void Write(const Bytes& bytes) {
        if (fd_ >= 0 && !bytes.empty()) ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    // A request of ours: its echo is awaited.
    void SendMessage(const Bytes& bytes) {
        sent_.push_back(bytes);
        Write(bytes);
    }
    // What the game sent us is read through its trace: the socket is only emptied.
    void Drain() {
        uint8_t buffer[4096];
        while (fd_ >= 0 && ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT) > 0) {
        }
    }
    void TakeSetting(const Step& step) {
        if (step.kind == kStepAnswer) answer_ = static_cast<LinkPlayAnswer>(step.argument & 3);
        if (step.kind == kStepRejectEcho) rejectEcho_ = true;
        if (step.kind == kStepClose) {
            End();
            if (step.argument & 1) ++newLinks_;
        }
    }

    void OnGameSends(const Bytes& bytes);
    void OnGameWaits();
    void OnGameHosts(uint16_t port);
    void OnGameSearches();
    void OnGameJoined();

    uint16_t port_ = 0;
    int hold_ = -1;      // the link's datagram port, while the game may not create a link
    int listener_ = -1;  // where a joining game connects
    int refuser_ = -1;   // bound, not listening: a connection there is refused
    int fd_ = -1;        // the link
    bool joins_ = false;
    int newLinks_ = 0;  // links the peer still takes

    std::vector<Step> steps_;
    size_t next_ = 0;
    int frameWait_ = 0;
    int heldFrames_ = 0;

    std::deque<Bytes> sent_;               // our requests whose echoes are awaited, oldest first
    bool answered_ = false;                // we answered a request of the game: its verdict comes next
    LinkPlayAnswer answer_ = kAnswerEcho;  // for the game's next request
    bool rejectEcho_ = false;
};

Peer gPeer;

void Peer::OnTrace(const std::string& kind, const std::string& text) {
    if (kind == "room" &&
        (text == "multiplayer status Connected." || text == "multiplayer status Failed to connect.")) {
        // A Create of the game has ended: the port is held again.
        gPeer.Hold();
    }
    if (kind == "room") {
        // "trade other card 17" -> "room trade other card".
        std::string what = text.substr(0, text.find_first_of("0123456789"));
        while (!what.empty() && what.back() == ' ') what.pop_back();
        Mark("room " + what);
        return;
    }
    if (kind == "match") {
        Mark("match " + text);
        return;
    }
    if (kind == "screen" && text.rfind("enter ", 0) == 0) {
        // The player taps as a screen comes up: it is drawn at once
        // instead of dissolving in over many frames.
        platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(120, 160));
        return;
    }
    if (kind == "gamebox") {
        // Retry on a link found dead creates the link again: the port is let
        // go for it when the peer takes a new link.
        if (text.rfind("Error of Synchronization", 0) == 0 && !gPeer.joins_ && gPeer.newLinks_ > 0) gPeer.Release();
        return;
    }
    if (kind != "link") return;
    if (text.rfind("send ", 0) == 0) {
        gPeer.OnGameSends(FromHex(text.substr(5)));
    } else if (text == "waiting for data") {
        gPeer.OnGameWaits();
    } else if (text.rfind("waiting on port ", 0) == 0) {
        gPeer.OnGameHosts(static_cast<uint16_t>(std::stoi(text.substr(16))));
    } else if (text == "searching") {
        gPeer.OnGameSearches();
    } else if (text.rfind("connected to ", 0) == 0) {
        gPeer.OnGameJoined();
    }
}

void Peer::OnGameSends(const Bytes& bytes) {
    if (fd_ < 0 || bytes.size() < 2) return;
    const uint8_t kind = bytes[1];
    if (kind == static_cast<uint8_t>(LinkMessageKind::kEcho)) {
        // The echo of our oldest request: acknowledged when it is that request.
        Bytes expected = sent_.empty() ? Bytes() : sent_.front();
        if (expected.size() > 1) expected[1] = kind;
        const bool right = !sent_.empty() && bytes == expected && !rejectEcho_;
        rejectEcho_ = false;
        if (!sent_.empty()) sent_.pop_front();
        Write(right ? test::Message(10) : test::Message(255));
        return;
    }
    if (answered_ && (kind == static_cast<uint8_t>(LinkMessageKind::kAcknowledge) ||
                      kind == static_cast<uint8_t>(LinkMessageKind::kReject))) {
        answered_ = false;  // the game's verdict on our echo
        return;
    }
    // A request of the game.
    answered_ = true;
    const LinkPlayAnswer answer = answer_;
    answer_ = kAnswerEcho;
    Bytes echo = test::EchoOf(bytes);
    switch (answer) {
        case kAnswerEcho: Write(echo); break;
        case kAnswerWrongEcho:
            if (echo.size() > 2) echo[2] ^= 1;
            Write(echo);
            break;
        case kAnswerReject: Write(test::Message(255)); break;
        case kAnswerSilence: break;
    }
}

// The game waits for a message and none has come: the next one of the
// script, whatever its kind of step; the settings met on the way count.
void Peer::OnGameWaits() {
    if (fd_ < 0) return;
    heldFrames_ = 0;
    frameWait_ = 0;
    while (next_ < steps_.size()) {
        const Step& step = steps_[next_++];
        if (step.kind == kStepMessageWhenWaiting || step.kind == kStepMessageNow) {
            SendMessage(step.bytes);
            return;
        }
        if (step.kind == kStepRawBytes && !step.bytes.empty()) {
            Write(step.bytes);
            return;
        }
        TakeSetting(step);
        if (fd_ < 0) return;
    }
    // Nothing more to say: the link ends, and the wait with it.
    End();
}

void Peer::OnGameHosts(uint16_t port) {
    if (newLinks_ <= 0) return;
    --newLinks_;
    End();
    const int fd = NonBlockingSocket(SOCK_STREAM);
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(port);
    where.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    NoDelay(fd);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 && errno != EINPROGRESS) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    ForgetExchange();
}

void Peer::OnGameSearches() {
    uint8_t probe[64];
    sockaddr_in from{};
    socklen_t size = sizeof from;
    while (hold_ >= 0 && ::recvfrom(hold_, probe, sizeof probe, 0, reinterpret_cast<sockaddr*>(&from), &size) == 14) {
        // "QVIR", 2, "IRServer", 0, then the TCP port, low byte first.
        const uint16_t port = PortOf(newLinks_ > 0 ? listener_ : refuser_);
        uint8_t answer[16] = {'Q', 'V', 'I', 'R', 2, 'I', 'R', 'S', 'e', 'r', 'v', 'e', 'r', 0};
        answer[14] = static_cast<uint8_t>(port & 0xFF);
        answer[15] = static_cast<uint8_t>(port >> 8);
        ::sendto(hold_, answer, sizeof answer, MSG_NOSIGNAL, reinterpret_cast<sockaddr*>(&from), size);
        size = sizeof from;
    }
}

void Peer::OnGameJoined() {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
    if (fd < 0 || newLinks_ <= 0) {
        if (fd >= 0) ::close(fd);
        return;
    }
    --newLinks_;
    End();
    NoDelay(fd);
    fd_ = fd;
    ForgetExchange();
}

// The club's block with the multiplayer room current, as a quick save
// written there holds it.
Bytes gRoomBlock;

void SetUpWorld() {
    StartHeadless();
    LinkInstallation();
    if (!OpenCardDatabase()) {
        std::fprintf(stderr, "fuzz_link_play: no card database below %s\n", GeneratedInstallation().c_str());
        ::abort();
    }
    LoadBoardPictures();
    LoadOpponents();
    gMatch.LoadBoardUi();
    gClub.LoadButtons();
    test::ClubBlock block;
    block.header.current = kScreenMultiplayer;
    block.Add(test::kRecordMultiplayer);
    gRoomBlock = block.Bytes();
    gPeer.Open();
    platform::SetTraceListener(Peer::OnTrace);
}

// The room current and not connected, made afresh unless the last run left it so.
MultiplayerScreen* Room() {
    MultiplayerScreen* room = gClub.GetMultiplayerScreen();
    if (gClubActive && room != nullptr && gClub.CurrentType() == kScreenMultiplayer &&
        gClub.GetTradeScreen() == nullptr && gClub.GetCollectionScreen() == nullptr &&
        gClub.GetShopScreen() == nullptr) {
        return room;
    }
    gClubActive = 1;
    const WString file = HandheldPath(TempDir() / "room.bin");
    WriteBytes(TempDir() / "room.bin", gRoomBlock);
    platform::FileHandle in = platform::CreateFile(file, platform::GENERIC_READ, platform::OPEN_EXISTING);
    const bool read = gClub.ReadState(in);
    platform::CloseHandle(in);
    if (!read) ::abort();
    gClub.ResumeFromQuickSave();
    DrainMessages();
    return gClub.GetMultiplayerScreen();
}

// A tap of the player on the room, the trade screen (and its collection
// manager) or the match. Elsewhere (the club view once the room is left,
// the card shop of the Deck button) no tap is given: the club view's quick
// menu would wait for a further tap for ever, and its last row ends the
// program.
void Tap(int x, int y) {
    const uint8_t type = gClub.CurrentType();
    if (gClubActive && type != kScreenMultiplayer && type != kScreenTrade && type != kScreenCollection) return;
    if (gClubActive) {
        gClub.StylusDown(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
        gClub.StylusUp(static_cast<uint16_t>(x), static_cast<uint16_t>(y));
    } else {
        test::TapDown(x, y);
        test::TapUp(x, y);
    }
}

// One main-loop turn, the local player playing its turns of a match.
void Frame() {
    if (gClubActive) {
        gClub.Update();
    } else {
        Mark("match state " + std::to_string(gMatch.GetState()));
        if (gMatch.GetState() == kStateWheel) {
            platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(120, 160));
        }
        gMatch.Update();
        if (!gClubActive) test::PlayLocalTurn();
    }
    PresentScreen();
    DrainMessages();
}

// Back in the room with no link, or on the club view.
bool Settled() {
    if (!gClubActive || gClub.InTransition()) return false;
    if (gClub.CurrentType() == kScreenClubView) return true;
    const MultiplayerScreen* room = gClub.GetMultiplayerScreen();
    return gClub.CurrentType() == kScreenMultiplayer && room != nullptr && !room->IsConnected();
}

}  // namespace

int FuzzLinkPlay(const uint8_t* data, size_t size) {
    static bool ready = false;
    if (!ready) {
        SetUpWorld();
        ready = true;
    }
    if (size == 0) return 0;
    RunMarks().clear();
    const bool joins = (data[0] & kLinkPlayJoins) != 0;
    const int press = (data[0] >> 1) & 3;

    // The same player, the same other side and the same numbers every run.
    MakeSeedCharacter(1);
    gProfile.AddCredits(1500);
    gOtherProfile.Reset();
    ClearStatistics();
    gMatchResult = kNoMatchResult;
    SeedRandom(1);
    DrainMessages();
    MultiplayerScreen* room = Room();
    if (room == nullptr) ::abort();

    gPeer.Begin(ReadSteps(data + 1, size - 1), joins);
    if (!gPeer.Connect(*room)) {
        // Nothing of the input is played: the replay's marks show it.
        std::fprintf(stderr, "fuzz_link_play: the room could not connect to the peer\n");
        return 0;
    }
    Mark(joins ? "link joined" : "link created");

    int frame = 0;
    for (bool going = true; going && frame < kMostFrames; ++frame) {
        std::vector<Step> taps;
        going = gPeer.BeforeFrame(taps);
        // The press comes after the first steps, so that how the game's
        // first request is answered is set before it is sent.
        if (frame == 0 && (press == kPressGame || press == kPressTrade)) {
            Tap(press == kPressGame ? kGameX : kTradeX, kButtonsY);
        }
        for (const Step& tap : taps) Tap(tap.x * 240 / 256, tap.y * 320 / 256);
        Frame();
    }
    // The script is done: the link ends and the game finds its way back.
    gPeer.End();
    for (int settle = 0; settle < kSettleFrames && !Settled(); ++settle) Frame();
    if (!Settled()) {
        // A screen still waits for the player: it is given up.
        gClub.Reset();
        gClubActive = 1;
    }
    if (gClubActive && gClub.CurrentType() == kScreenMultiplayer) Mark("back in the room");
    return 0;
}

}  // namespace qv::fuzz
