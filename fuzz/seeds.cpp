// The fuzz targets' seed corpora: files of the generated installation in each target's input
// form, and character files and quick saves the game itself writes while it plays.
#include <algorithm>
#include <map>
#include <set>

#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/opponents.h"
#include "club/club.h"
#include "engine/picture_loader.h"
#include "engine/utilities.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/link_play.h"
#include "infrared/link_message.h"
#include "match/match.h"
#include "platform/files.h"

namespace {

using namespace qv;
namespace fs = std::filesystem;

fs::path gCorpus;
int gSeedLevel = 0;

void Put(const char* target, const std::string& name, const fuzz::Bytes& bytes) {
    const fs::path dir = gCorpus / target;
    fs::create_directories(dir);
    fuzz::WriteBytes(dir / name, bytes);
}

fuzz::Bytes Unscrambled(fuzz::Bytes bytes) {
    for (uint8_t& b : bytes) b ^= kDataFileKey;
    return bytes;
}

void AppendSized(fuzz::Bytes& out, const fuzz::Bytes& part) {
    const uint32_t n = static_cast<uint32_t>(part.size());
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(n >> (8 * i)));
    out.insert(out.end(), part.begin(), part.end());
}

// The data files, the font and a sample of the pictures, in each target's form.
void InstallationSeeds(const fs::path& install) {
    const fs::path cards = install / "DATA" / "CARDS" / "SET 1";
    const fuzz::Bytes index = fuzz::ReadBytes(cards / "CARDS.IND");
    const fuzz::Bytes records = fuzz::ReadBytes(cards / "CARDS.DAT");
    const fuzz::Bytes info = fuzz::ReadBytes(cards / "CARDS.INF");
    const fuzz::Bytes opponents = fuzz::ReadBytes(install / "DATA" / "OPPONENTS.DAT");
    fuzz::Bytes database;
    AppendSized(database, index);
    AppendSized(database, records);
    database.insert(database.end(), info.begin(), info.end());
    Put("card_database", "generated", database);
    Put("opponents", "OPPONENTS.DAT", opponents);
    Put("text_fields", "CARDS.DAT", Unscrambled(records));
    Put("text_fields", "CARDS.INF", Unscrambled(info));
    Put("text_fields", "OPPONENTS.DAT", Unscrambled(opponents));

    const fuzz::Bytes font = fuzz::ReadBytes(install / "GFX" / "GENERAL" / "NEW FONT.QVB");
    for (uint8_t options : {uint8_t{3}, uint8_t{0}, uint8_t{7}, uint8_t{9}}) {
        fuzz::Bytes seed{options};
        seed.insert(seed.end(), font.begin(), font.end());
        Put("font", "font-" + std::to_string(options), seed);
    }

    // The smallest few pictures of each folder keep the runs quick.
    std::map<fs::path, std::vector<fs::path>> byFolder;
    for (const auto& entry : fs::recursive_directory_iterator(install / "GFX")) {
        if (entry.is_regular_file() && entry.file_size() < 48 * 1024) {
            byFolder[entry.path().parent_path()].push_back(entry.path());
        }
    }
    int n = 0;
    for (auto& [folder, files] : byFolder) {
        std::sort(files.begin(), files.end(),
                  [](const fs::path& a, const fs::path& b) { return fs::file_size(a) < fs::file_size(b); });
        for (size_t i = 0; i < files.size() && i < 3; ++i, ++n) {
            const fuzz::Bytes picture = fuzz::ReadBytes(files[i]);
            fuzz::Bytes seed{static_cast<uint8_t>(n % 8), static_cast<uint8_t>(n % 3 == 0 ? 0 : 40 * n)};
            seed.insert(seed.end(), picture.begin(), picture.end());
            Put("picture", "picture-" + std::to_string(n), seed);
        }
    }
}

fuzz::Bytes Text(const std::string& text) { return fuzz::Bytes(text.begin(), text.end()); }

void TextSeeds() {
    Put("registry", "set-up",
        Text("[SOFTWARE\\Quorvane]\nInstall_Dir = sz:\\work\\main\\build\\install\nGamma = dword:0x00000000\n"
             "Volume = dword:0x00000050\nEffects = dword:0x00000001\nCharacter = dword:0x00000002\n"
             "[SOFTWARE\\Quorvane\\Gamma]\n"));
    Put("registry", "escapes",
        Text("; comment\n[SOFTWARE\\Quorvane]\n%23x = sz:1\n%5Bname = sz:%20a%25b%0A \nbin = hex:00ff10\n"
             "[SOFTWARE\\%41 b]\n= sz:\n"));
    Put("script", "start-up",
        Text("# answer the start-up error box, then leave\non present\nwait 500\ntap 120 160\n"
             "on gamebox Ok\ntap 170 180\nat 60000 close\n"));
    Put("script", "every-command",
        Text("on loading waiting\ntap 120 160\non state main loop\ndown 10 20\nmove 30 40\nup 30 40\n"
             "drag 67 270 49 68 4\nwait 120\nkey a press\nkey start down\nkey start up\nfocus lost\n"
             "focus gained\npost 0x0400 1 1\ncapture frame.png\nquit 9\nclose\n"));
}

// A few exchanges as the link carries them; the first byte is the size of
// the pieces the link target feeds them in.
void LinkSeeds() {
    auto message = [](LinkMessageKind kind, uint8_t p1, uint8_t p2, int16_t value, const char16_t* text) {
        LinkMessage m;
        m.kind = kind;
        m.p1 = p1;
        m.p2 = p2;
        m.value = value;
        m.text = text;
        return m;
    };
    const LinkMessage exchanges[][3] = {
        {message(LinkMessageKind::kName, 255, 255, -1, u"SEEDER"),
         message(LinkMessageKind::kEcho, 255, 255, -1, u"SEEDER"),
         message(LinkMessageKind::kAcknowledge, 255, 255, -1, u"")},
        {message(LinkMessageKind::kCardPlayed, 3, 2, 17, u""), message(LinkMessageKind::kAttack, 3, 2, -1, u""),
         message(LinkMessageKind::kBlockedCell, 255, 255, -1, u"")},
        {message(LinkMessageKind::kCard, 255, 255, 344, u""), message(LinkMessageKind::kReady, 1, 255, -1, u""),
         message(LinkMessageKind::kReject, 255, 255, -1, u"")},
    };
    int n = 0;
    for (const auto& exchange : exchanges) {
        for (uint8_t piece : {uint8_t{0}, uint8_t{6}, uint8_t{119}}) {
            fuzz::Bytes seed{piece};
            for (const LinkMessage& m : exchange) {
                uint8_t packed[kLinkMessageMaxBytes];
                const int length = PackLinkMessage(m, packed);
                seed.insert(seed.end(), packed, packed + length);
            }
            Put("link_messages", "exchange-" + std::to_string(n++), seed);
        }
    }
}

// The other machine's scripts for the link-play target, each named for a
// mark it must reach (see fuzz/replay.cpp): the handshakes of both roles,
// matches over the link with the other machine's moves, trades and a link
// that breaks and comes back.
void LinkPlaySeeds() {
    using Script = fuzz::LinkPlayScript;
    using K = LinkMessageKind;
    auto m = [](K kind, uint8_t p1 = 255, uint8_t p2 = 255, int16_t value = -1, const char16_t* text = u"") {
        return Script::Message(kind, p1, p2, value, text);
    };
    auto offer = [](int32_t credits) {
        LinkMessage message = Script::Message(K::kCreditsOffer);
        SetLinkCredits(message, credits);
        return message;
    };
    // The other machine's moves: its cards on every cell in turn, the
    // attacks around each and a card from the pile, for the match to check.
    auto moves = [&m](Script& script, int16_t firstCard) {
        for (int cell = 0; cell < kBoardCells; ++cell) {
            const uint8_t c = static_cast<uint8_t>(cell / 4), r = static_cast<uint8_t>(cell % 4);
            script.WhenWaiting(m(K::kCardPlayed, c, r, static_cast<int16_t>(firstCard + cell % 16)));
            LinkMessage attack = m(K::kAttack, c, r);
            attack.p3 = static_cast<uint8_t>(c > 0 ? c - 1 : c + 1);
            attack.p4 = r;
            script.WhenWaiting(attack);
        }
        script.WhenWaiting(m(K::kCardTaken));
    };
    auto put = [](const std::string& name, const Script& script) { Put("link_play", name, script.Bytes()); };

    Script serverGame(false, fuzz::kPressGame);
    serverGame.WhenWaiting(m(K::kStartGame)).WhenWaiting(m(K::kName, 255, 255, -1, u"PEER"));
    moves(serverGame, 41);
    put("reach-room_multiplayer_game_starts-server-game", serverGame);

    Script clientGame(true, fuzz::kPressGame);
    clientGame.WhenWaiting(m(K::kStartGame))
        .WhenWaiting(m(K::kName, 255, 255, -1, u"HOST"))
        .WhenWaiting(m(K::kFirstSide, 1))
        .WhenWaiting(m(K::kBlockedCell, 2, 1))
        .WhenWaiting(m(K::kBlockedCell, 4, 3))
        .WhenWaiting(m(K::kBlockedCell, 255, 255))
        .WhenWaiting(m(K::kStartSignal));
    moves(clientGame, 81);
    put("reach-match_state_13-client-game", clientGame);

    // A whole match, the other machine serving: it blocks the middle, so that
    // its cards (from the far corner back) and the player's (from the first
    // column on) meet only at the end, and then hands over the card won.
    Script whole(true, fuzz::kPressGame);
    whole.WhenWaiting(m(K::kStartGame))
        .WhenWaiting(m(K::kName, 255, 255, -1, u"HOST"))
        .WhenWaiting(m(K::kFirstSide, 1));
    for (uint8_t cell : {8, 9, 10, 11, 12, 13}) whole.WhenWaiting(m(K::kBlockedCell, cell / 4, cell % 4));
    whole.WhenWaiting(m(K::kBlockedCell, 255, 255)).WhenWaiting(m(K::kStartSignal));
    for (int cell = kBoardCells - 1, card = 81; cell >= 14; --cell, ++card) {
        whole.WhenWaiting(m(K::kCardPlayed, static_cast<uint8_t>(cell / 4), static_cast<uint8_t>(cell % 4),
                            static_cast<int16_t>(card)));
    }
    for (int16_t card : {81, 82, 83, 1, 2, 3, 4, 5}) whole.WhenWaiting(m(K::kCard, 255, 255, card));
    put("reach-match_state_72-client-whole-match", whole);

    // The other machine's card on a free cell lands: the match acts on a
    // received move.
    Script clientMoves(true, fuzz::kPressGame);
    clientMoves.WhenWaiting(m(K::kStartGame))
        .WhenWaiting(m(K::kName, 255, 255, -1, u"HOST"))
        .WhenWaiting(m(K::kFirstSide, 0))
        .WhenWaiting(m(K::kBlockedCell, 255, 255))
        .WhenWaiting(m(K::kStartSignal))
        .WhenWaiting(m(K::kCardPlayed, 5, 3, 81));
    put("reach-match_state_13-client-moves-first", clientMoves);

    // The other machine presses Trade when this one pressed Game.
    Script refused(true, fuzz::kPressGame);
    refused.WhenWaiting(m(K::kStartTrade)).Frames(4);
    put("reach-room_multiplayer_status_Server_not_ready.-client-refused", refused);

    // An honest machine sends its next request only once the last exchange
    // is done: one a frame while the trade screen handles what comes.
    auto oneAFrame = [](Script& script, std::initializer_list<LinkMessage> messages) -> Script& {
        for (const LinkMessage& message : messages) script.Now(message).Frames(1);
        return script;
    };

    // Trades: cards and credits offered, both sides ready, the trade done.
    const int readyX = 138, readyY = 289;
    for (bool joins : {false, true}) {
        Script trade(joins, fuzz::kPressTrade);
        trade.WhenWaiting(m(K::kStartTrade)).WhenWaiting(m(K::kName, 255, 255, -1, joins ? u"SERVER" : u"FAR"));
        trade.Frames(2);
        oneAFrame(trade, {m(K::kTradeClear), m(K::kCard, 255, 255, 101), m(K::kCard, 255, 255, 102), offer(250),
                          m(K::kReady, 1)})
            .Tap(readyX, readyY)
            .Frames(8);
        put(std::string("reach-room_trade_finished_credits-") + (joins ? "client" : "server") + "-trade", trade);
    }

    // The other machine trims and empties its box, then leaves the trade.
    Script leaves(false, fuzz::kPressTrade);
    leaves.WhenWaiting(m(K::kStartTrade)).WhenWaiting(m(K::kName, 255, 255, -1, u"FAR")).Frames(2);
    oneAFrame(leaves, {m(K::kCard, 255, 255, 7), m(K::kCard, 255, 255, 9), m(K::kTradeRemove, 0), m(K::kTradeClear),
                       m(K::kTradeLeave)})
        .Frames(4);
    put("reach-room_trade_other_left-server-leaves", leaves);

    // The link breaks during a trade and the other machine comes back: the
    // trade resynchronises in both roles.
    for (bool joins : {false, true}) {
        Script back(joins, fuzz::kPressTrade);
        back.WhenWaiting(m(K::kStartTrade)).WhenWaiting(m(K::kName, 255, 255, -1, u"FAR"));
        back.Frames(2).Now(m(K::kCard, 255, 255, 5)).Frames(2).Close(true).Frames(2);
        if (joins) back.WhenWaiting(m(K::kTradeClear)).WhenWaiting(offer(10));
        back.Frames(4).Now(offer(20)).Frames(4);
        put(std::string("reach-room_trade_resync-") + (joins ? "client" : "server") + "-comes-back", back);
    }

    // The other machine breaks the match off.
    Script vanishes(false, fuzz::kPressGame);
    vanishes.WhenWaiting(m(K::kStartGame)).WhenWaiting(m(K::kName, 255, 255, -1, u"PEER")).Frames(20).Close(false);
    put("reach-match_cancelled-server-vanishes", vanishes);

    // Messages to a room that is waiting for no message, and bytes that are
    // no message, until the link ends.
    Script idle(false, fuzz::kPressNothing);
    idle.Now(m(K::kCard, 255, 255, 3)).Raw({0x05, 0x01, 0x02}).Frames(3).Close(false).Frames(3);
    put("reach-room_multiplayer_link_lost-idle", idle);

    // Answers that go wrong: a wrong echo, a reject and silence.
    Script wrong(false, fuzz::kPressGame);
    wrong.AnswerNext(fuzz::kAnswerWrongEcho)
        .WhenWaiting(m(K::kStartGame))
        .AnswerNext(fuzz::kAnswerReject)
        .RejectNextEcho()
        .WhenWaiting(m(K::kStartGame))
        .AnswerNext(fuzz::kAnswerSilence)
        .WhenWaiting(m(K::kStartGame));
    put("reach-room_multiplayer_status_Server_failed_to_start_Game.-server-wrong-answers", wrong);
}

// The local player's moves while the seeds are made: the first filled slot
// on the first free cell, the first target offered, the pile when the hand is empty.
void PlayLocalTurn() {
    const Side side = gMatch.GetSideToMove();
    const CardHand& hand = gMatch.GetHand(side);
    const Board& board = gMatch.GetBoard();
    auto tap = [](int x, int y) {
        gMatch.StylusDown(static_cast<int16_t>(x), static_cast<uint16_t>(y));
        gMatch.StylusUp(static_cast<int16_t>(x), static_cast<uint16_t>(y));
    };
    switch (gMatch.GetState()) {
        case kStateLocalActs: {
            int slot = 0;
            while (slot < kHandSize && !hand.IsSlotFilled(slot)) ++slot;
            if (slot == kHandSize) return tap(20, 280);
            for (int cell = 0; cell < kBoardCells; ++cell) {
                const int c = cell / 4, r = cell % 4;
                if (!board.CellAt(c, r).free) continue;
                gMatch.StylusDown(static_cast<int16_t>(67 + 35 * slot), 270);
                gMatch.StylusMove(static_cast<int16_t>(40 * c + 9), static_cast<uint16_t>(58 * r + 10));
                gMatch.StylusUp(static_cast<int16_t>(40 * c + 9), static_cast<uint16_t>(58 * r + 10));
                return;
            }
            return;
        }
        case kStateLocalChoosesTarget:
        case kStateLocalChoosesChainTarget: {
            const int ac = gMatch.GetAttackerColumn(), ar = gMatch.GetAttackerRow();
            for (int c = ac - 1; c <= ac + 1; ++c) {
                for (int r = ar - 1; r <= ar + 1; ++r) {
                    if (board.CanAttack(ac, ar, c, r)) return tap(40 * c + 20, 58 * r + 25);
                }
            }
            return;
        }
        case kStateWaitForTap:
            return tap(120, 160);
        default:
            return;
    }
}

// Plays one match to its end and keeps the quick save the game writes in
// the first frame of every state it passes through.
void QuickSaveSeeds(const std::string& name, void (*start)()) {
    fuzz::MakeSeedCharacter(1);
    SavePlayer();
    gClubActive = 1;
    WriteQuickSave();
    Put("quick_save", name + "-club", fuzz::ReadBytes(fuzz::TempDir() / "install" / "SAVE" / "QuickSave.QCP"));
    start();
    std::set<int> seen;
    for (int frame = 0; frame < 20000 && !gClubActive; ++frame) {
        const MatchState state = gMatch.GetState();
        if (seen.insert(state).second && WriteQuickSave()) {
            Put("quick_save", name + "-state-" + std::to_string(state),
                fuzz::ReadBytes(fuzz::TempDir() / "install" / "SAVE" / "QuickSave.QCP"));
        }
        if (state == kStateWheel) {
            platform::PostMessage(nullptr, platform::WM_LBUTTONDOWN, 0, platform::MakeLParam(120, 160));
        }
        gMatch.Update();
        if (!gClubActive) PlayLocalTurn();
    }
    fuzz::DrainMessages();
}

// Quick saves written while each room's own screen is current, as the A
// prompt writes them: the screen opened the way its room, the quick menu or
// the screen under it opens it, and the club's turns run until it is entered.
// Each is named for the screen a restore must enter (see fuzz/replay.cpp).
void RoomSeeds() {
    struct Room {
        uint8_t type;
        const char* name;
        void (*open)();
    };
    // Opens the screen and runs the club's turns until it is current.
    static auto openAndSettle = [](void (*open)(), uint8_t type) {
        open();
        for (int turn = 0; turn < 400 && (gClub.InTransition() || gClub.CurrentType() != type); ++turn) {
            gClub.Update();
        }
    };
    const Room rooms[] = {
        {kScreenMultiplayer, "multiplayer", [] { gClub.OpenMultiplayerScreen(); }},
        {kScreenInstantPlay, "instant-play", [] { gClub.OpenInstantPlayScreen(); }},
        {kScreenBoss, "boss", [] { gClub.OpenBossScreen(); }},
        {kScreenShop, "shop", [] { gClub.OpenShopScreen(kScreenClubView); }},
        {kScreenGuestTournament, "tournament-guest", [] { gClub.OpenTournamentScreen(0); }},
        {kScreenMemberTournament, "tournament-member", [] { gClub.OpenTournamentScreen(1); }},
        {kScreenEliteTournament, "tournament-elite", [] { gClub.OpenTournamentScreen(2); }},
        {kScreenOptions, "options", [] { gClub.OpenOptionsScreen(); }},
        {kScreenCharacter, "character", [] { gClub.OpenCharacterScreen(); }},
        // The instant-play room's tables open the bet screen over it.
        {kScreenBet, "bet",
         [] {
             openAndSettle([] { gClub.OpenInstantPlayScreen(); }, kScreenInstantPlay);
             gClub.OpenBetScreen(kScreenInstantPlay, 7);
         }},
        // The card shop's collection button opens the collection manager.
        {kScreenCollection, "collection",
         [] {
             openAndSettle([] { gClub.OpenShopScreen(kScreenClubView); }, kScreenShop);
             gClub.OpenCollectionScreen(kScreenShop, 0, 0);
         }},
        // The room's trade handshake, once done, opens the trade screen.
        {kScreenTrade, "trade",
         [] {
             openAndSettle([] { gClub.OpenMultiplayerScreen(); }, kScreenMultiplayer);
             gClub.OpenTradeScreen(kScreenMultiplayer);
         }},
    };
    for (const Room& room : rooms) {
        fuzz::MakeSeedCharacter(1);
        gProfile.AddCredits(2500);
        SavePlayer();
        gClub.Reset();
        gClubActive = 1;
        openAndSettle(room.open, room.type);
        if (gClub.CurrentType() != room.type || gClub.InTransition() || !WriteQuickSave()) {
            std::fprintf(stderr, "no quick save written in screen %d (%s)\n", room.type, room.name);
            continue;
        }
        Put("quick_save", "reach-screen_enter_" + std::to_string(room.type) + "-" + room.name,
            fuzz::ReadBytes(fuzz::TempDir() / "install" / "SAVE" / "QuickSave.QCP"));
    }
    gClub.Reset();
    fuzz::DrainMessages();
}

void CharacterSeeds() {
    for (int slot = 1; slot <= 3; ++slot) {
        fuzz::MakeSeedCharacter(slot);
        if (slot == 3) {
            // A long career: many cards, credits, statistics.
            gProfile.AddCredits(123456);
            for (int16_t id = 1; id <= kCardSetSize; id += 3) gProfile.AddCard(id);
            gGamesWon[4] = 12;
            gTourneysWon[0] = 1;
            gPerfectsRealised = 2;
        }
        SavePlayer();
        Put("character_file", "Player" + std::to_string(slot) + ".QCP",
            fuzz::ReadBytes(fuzz::TempDir() / "install" / "SAVE" / ("Player" + std::to_string(slot) + ".QCP")));
    }
}

}  // namespace

// The files that once broke the game. Their quick saves were written while
// the club's block was empty (slot byte, gClubActive, the match's block):
// they are framed with the club's block as it is written now.
void ReproSeeds(const fs::path& repro) {
    const fs::path clubFile = fuzz::TempDir() / "club.bin";
    platform::FileHandle club =
        platform::CreateFile(fuzz::HandheldPath(clubFile), platform::GENERIC_WRITE, platform::CREATE_ALWAYS);
    gClub.WriteState(club);
    platform::CloseHandle(club);
    const fuzz::Bytes clubBlock = fuzz::ReadBytes(clubFile);
    for (const auto& entry : fs::directory_iterator(repro)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory()) {
            // A pair of files the game wrote as they stand now: a quick
            // save with its club block, and its character.
            for (const auto& file : fs::directory_iterator(entry.path())) {
                const std::string fileName = file.path().filename().string();
                const fuzz::Bytes fileBytes = fuzz::ReadBytes(file.path());
                if (fileName.rfind("QuickSave", 0) == 0) Put("quick_save", name + "-" + fileName, fileBytes);
                if (fileName.rfind("Player", 0) == 0) Put("character_file", name + "-" + fileName, fileBytes);
            }
            continue;
        }
        const fuzz::Bytes bytes = fuzz::ReadBytes(entry.path());
        if (entry.path().extension() == ".QCP" && bytes.size() > 2) {
            fuzz::Bytes framed{bytes[0]};
            framed.insert(framed.end(), clubBlock.begin(), clubBlock.end());
            framed.insert(framed.end(), bytes.begin() + 1, bytes.end());
            Put("quick_save", name, framed);
        } else if (name.rfind("registry-", 0) == 0) {
            Put("registry", name, bytes);
        } else if (name.rfind("picture-", 0) == 0) {
            Put("picture", name, bytes);
        }
    }
}

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s <corpus directory> [directory of reproducers]\n", argv[0]);
        return 2;
    }
    gCorpus = argv[1];
    fuzz::StartHeadless();
    const fs::path install = fuzz::GeneratedInstallation();
    fuzz::LinkInstallation();
    if (!OpenCardDatabase()) {
        std::fprintf(stderr, "no generated installation at %s\n", install.c_str());
        return 1;
    }
    LoadBoardPictures();
    LoadOpponents();
    gMatch.LoadBoardUi();

    InstallationSeeds(install);
    TextSeeds();
    LinkSeeds();
    LinkPlaySeeds();
    CharacterSeeds();
    for (gSeedLevel = 0; gSeedLevel < 3; ++gSeedLevel) {
        SeedRandom(static_cast<uint32_t>(11 + gSeedLevel));
        QuickSaveSeeds("career-" + std::to_string(gSeedLevel),
                       [] { StartOpponentMatch(gSeedLevel * 4, gSeedLevel); });
    }
    SeedRandom(3);
    QuickSaveSeeds("boss", [] { StartBossMatch(); });
    RoomSeeds();
    if (argc == 3) ReproSeeds(argv[2]);
    for (const auto& entry : fs::directory_iterator(fuzz::TempDir() / "install" / "SAVE")) {
        Put("text_fields", entry.path().filename().string(), fuzz::ReadBytes(entry.path()));
    }
    CloseCardDatabase();
    return 0;
}
