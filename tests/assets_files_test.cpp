// Every file the game names exists in the built installation with the size
// its screen needs; pictures decode and respect the black key; tunes load,
// play and end; the builder gives the same bytes on every run.
#include <gtest/gtest.h>
#include <mikmod.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <unistd.h>
#include <string>
#include <vector>

#include "cards/card_database.h"
#include "engine/install_dir.h"
#include "engine/wstring.h"
#include "tests/support/assets.h"
#include "tests/support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::Decode;
using test::Decoded;
using test::kBuiltInstall;
using test::ReadBytes;

// How a picture's size is bound: exactly, at most, or its width exactly and
// its height a multiple of four at most h (the wiped banners).
enum class Fit { kExact, kAtMost, kBanner };

struct PictureRule {
    std::string path;  // below the installation, '/' separators
    Fit fit;
    int w, h;
    bool keyed;        // drawn with black as transparent
};

std::vector<PictureRule> PictureRules() {
    std::vector<PictureRule> rules;
    const auto add = [&](const std::string& path, Fit fit, int w, int h, bool keyed = false) {
        rules.push_back({path, fit, w, h, keyed});
    };
    const std::string general = "GFX/GENERAL/", menu = "GFX/MENU/", text = "GFX/TEXT/";
    for (const char* full : {"GFX/GENERAL/OMBRELTEAM.QVG", "GFX/GENERAL/BoardUI.QVG",
                             "GFX/MENU/HELL/Starman1.QVJ", "GFX/MENU/HELL/Starman2.QVJ",
                             "GFX/CREDITS/end credits.QVG",
                             "GFX/MENU/UI CHARACTER/CreateCharacterEmpty.QVG",
                             "GFX/MENU/UI CHARACTER/CreateCharacterPIX.QVG",
                             "GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/ShopEmpty.QVG",
                             "GFX/MENU/UI SHOP/ShopPIX.QVG", "GFX/MENU/UI INSTANT/InstantPlayEmpty.QVG",
                             "GFX/MENU/UI INSTANT/InstantPlayPIX.QVG",
                             "GFX/MENU/UI INSTANT/InstantPlay2Empty.QVG",
                             "GFX/MENU/UI OPTIONS/GameOptionsEmpty.QVJ",
                             "GFX/MENU/UI OPTIONS/GameOptionsPIX.QVJ",
                             "GFX/MENU/UI MULTI/MultiplayerEmpty.QVG",
                             "GFX/MENU/UI MULTI/MultiplayerPIX.QVG", "GFX/MENU/UI MULTI/TradeUI.QVG"}) {
        add(full, Fit::kExact, 240, 320);
    }
    for (const char* level : {"Guest", "Member", "Elite"}) {
        add(menu + "UI TOURNAMENT/Tournament" + level + "Empty.QVG", Fit::kExact, 240, 320);
        add(menu + "UI TOURNAMENT/Tournament" + level + "PIX.QVG", Fit::kExact, 240, 320);
    }
    add("GFX/LOADING/EnterGAME.QVJ", Fit::kAtMost, 800, 320);
    add(general + "NEW FONT.QVB", Fit::kAtMost, 800, 600);
    add(general + "BoardUIZoomON.QVG", Fit::kExact, 32, 16);
    add(general + "BlockCard.QVG", Fit::kExact, 32, 50);
    add(general + "BackgroundMenu.QVJ", Fit::kExact, 240, 80);
    for (int n = 1; n <= 24; ++n) add(general + std::to_string(n) + ".QVG", Fit::kAtMost, 180, 151, true);
    for (int n = 1; n <= 50; ++n) {
        add(menu + "MENU/MENU00" + (n < 10 ? "0" : "") + std::to_string(n) + ".QVG", Fit::kExact, 240, 210);
    }
    for (const char* t : {"MultiplayerTitle", "InstantPlayTitle", "HellGateTitle", "CardShopTitle",
                          "GuestTournament", "MemberTournament", "EliteTournament", "OptionsTitle",
                          "CharacterCreationTitle", "Quit"}) {
        add(menu + "TITLES/" + t + ".QVG", Fit::kAtMost, 156, 30, true);
    }
    for (const char* a : {"LEFTOFF", "LEFTON", "RIGHTOFF", "RIGHTON"}) {
        add(menu + "MENU/" + a + ".QVG", Fit::kAtMost, 23, 111, true);
    }
    add(menu + "QuickMenu.QVG", Fit::kAtMost, 90, 134);
    add(menu + "QuickMenuON.QVG", Fit::kAtMost, 90, 134);
    add(menu + "AllPartyDeck.QVJ", Fit::kAtMost, 33, 21);
    for (const char* b : {"start", "youwin", "youloose", "draw", "Perfect"}) {
        add(text + b + ".QVG", Fit::kBanner, 240, 320, true);
    }
    add(text + "multihit.QVG", Fit::kAtMost, 240, 235, true);
    add(text + "cardtaken.QVG", Fit::kAtMost, 240, 235, true);
    add(text + "Versus.QVG", Fit::kAtMost, 80, 78, true);
    const std::string cards = "GFX/CARDS/SET 1/CARDS SMALL/";
    add(cards + "BackCard.QVG", Fit::kExact, 32, 50);
    for (int p = 1; p <= 5; ++p) add(cards + "PowerIcon" + std::to_string(p) + ".QVG", Fit::kAtMost, 9, 9);
    for (int n = 1; n <= 45; ++n) add("GFX/PLAYERS/PLAYERS" + std::to_string(n) + ".QVG", Fit::kAtMost, 70, 68);
    for (const char* s : {"code", "graphics", "AI", "ui", "translation"}) {
        add(std::string("GFX/CREDITS/") + s + ".QVB", Fit::kAtMost, 230, 20, true);
    }
    for (const char* s : {"pemba", "sivrane", "Tovan", "quelt", "mirel"}) {
        add(std::string("GFX/CREDITS/") + s + ".QVB", Fit::kAtMost, 240, 20, true);
    }
    // Buttons and overlays, with the room each one has on its screen.
    const std::string character = menu + "UI CHARACTER/", shop = menu + "UI SHOP/",
                      instant = menu + "UI INSTANT/", options = menu + "UI OPTIONS/",
                      tournament = menu + "UI TOURNAMENT/", multi = menu + "UI MULTI/";
    add(character + "CreateCharacterOK.QVJ", Fit::kExact, 23, 19);
    add(character + "CreateCharacterQUICKGAME.QVJ", Fit::kAtMost, 197 - 63, 257 - 234);
    add(character + "CreateCharacterDELETE.QVJ", Fit::kExact, 43, 20);
    add(shop + "CollectionBorder.QVG", Fit::kExact, 36, 54, true);
    add(shop + "CollectionFlecheGaucheON.QVJ", Fit::kAtMost, 18, 120);
    add(shop + "CollectionFlecheDroiteON.QVJ", Fit::kAtMost, 19, 120);
    add(shop + "CollectionZoom.QVJ", Fit::kAtMost, 60, 14);
    add(shop + "CollectionSell.QVJ", Fit::kAtMost, 59, 16);
    add(shop + "CollectionBack.QVJ", Fit::kAtMost, 38, 15);
    add(shop + "CollectionAdd.QVJ", Fit::kAtMost, 90, 24);
    add(shop + "CollectionLeft.QVJ", Fit::kAtMost, 99, 14);
    add(shop + "CollectionRight.QVJ", Fit::kAtMost, 42, 14);
    for (const char* b : {"Shop1Booster", "Shop2Booster", "Shop3Booster", "Shop5Booster", "Shop10Booster"}) {
        add(shop + b + ".QVJ", Fit::kAtMost, 178, 14);
    }
    for (const char* b : {"ShopEnterManager", "ShopClearDeck", "ShopSellCards", "ShopQuickDeck"}) {
        add(shop + b + ".QVJ", Fit::kAtMost, 210, 21);
    }
    add(shop + "ShopBack.QVJ", Fit::kAtMost, 36, 18);
    for (int n = 0; n <= 10; ++n) add(shop + "Booster" + std::to_string(n) + ".QVG", Fit::kAtMost, 120, 113, true);
    // The level titles at (8, 29) and (5, 25) end a few pixels before the
    // stake line at (79, 27).
    add(instant + "InstantPlayMember.QVJ", Fit::kAtMost, 79 - 8 - 4, 14);
    add(instant + "InstantPlayElite.QVJ", Fit::kAtMost, 79 - 5 - 4, 18);
    add(instant + "InstantPlayLeft.QVJ", Fit::kAtMost, 60, 30);
    add(instant + "InstantPlayRight.QVJ", Fit::kAtMost, 51, 30);
    add(instant + "InstantPlayBack.QVJ", Fit::kAtMost, 38, 18);
    add(instant + "InstantPlay2Ok.QVJ", Fit::kAtMost, 60, 19);
    add(options + "GameOptionsPICOT.QVJ", Fit::kAtMost, 4, 15);
    add(options + "GameOptionsON.QVJ", Fit::kExact, 38, 25);
    add(options + "GameOptionsOFF.QVJ", Fit::kExact, 41, 24);
    add(options + "GameOptionsBACK.QVJ", Fit::kAtMost, 39, 17);
    add(options + "GameOptionsStatsON.QVJ", Fit::kAtMost, 80, 15);
    add(tournament + "VStournoi.QVG", Fit::kAtMost, 23, 12, true);
    for (const char* b : {"TournamentStartON", "TournamentStartOFF", "TournamentNEXTon", "TournamentNEXToff"}) {
        add(tournament + b + ".QVG", Fit::kAtMost, 174, 16);
    }
    for (const char* b : {"TournamentSurrenderON", "TournamentSurrenderOFF", "TournamentBackON",
                          "TournamentBackOFF"}) {
        add(tournament + b + ".QVG", Fit::kAtMost, 66, 16);
    }
    for (const auto& [name, room] : std::map<std::string, int>{{"Create", 52}, {"Join", 52}, {"Game", 53}, {"Trade", 58}}) {
        add(multi + "Multiplayer" + name + ".QVJ", Fit::kAtMost, room, 59);
        add(multi + "Multiplayer" + name + "ON.QVJ", Fit::kAtMost, room, 59);
    }
    add(multi + "MultiplayerBack.QVJ", Fit::kAtMost, 38, 19);
    add(multi + "TradeUILightLeftGreen.QVJ", Fit::kAtMost, 108, 15);
    add(multi + "TradeUILightRightGreen.QVJ", Fit::kAtMost, 111, 15);
    add(multi + "TradeUIADD.QVJ", Fit::kAtMost, 57, 22);
    add(multi + "TradeUIDEL.QVJ", Fit::kAtMost, 50, 21);
    add(multi + "TradeUIREADY.QVJ", Fit::kAtMost, 54, 20);
    add(multi + "TradeUICANCEL.QVJ", Fit::kAtMost, 54, 22);
    add(multi + "TradeUIZOOM.QVJ", Fit::kAtMost, 38, 26);
    add(multi + "TradeUIMoins.QVJ", Fit::kAtMost, 18, 21);
    add(multi + "TradeUIPlus.QVJ", Fit::kAtMost, 26, 21);
    return rules;
}

bool IsNearBlack(const uint8_t* p) { return p[0] < 16 && p[1] < 16 && p[2] < 16; }
bool IsBlack(const uint8_t* p) { return p[0] == 0 && p[1] == 0 && p[2] == 0; }

TEST(GeneratedFiles, EveryNamedPictureHasTheSizeItsScreenNeeds) {
    for (const PictureRule& rule : PictureRules()) {
        SCOPED_TRACE(rule.path);
        const Decoded d = Decode(kBuiltInstall / rule.path);
        ASSERT_TRUE(d.ok) << "missing or undecodable";
        const int w = d.bitmap.width, h = d.bitmap.height;
        switch (rule.fit) {
        case Fit::kExact:
            EXPECT_EQ(w, rule.w);
            EXPECT_EQ(h, rule.h);
            break;
        case Fit::kAtMost:
            EXPECT_LE(w, rule.w);
            EXPECT_LE(h, rule.h);
            break;
        case Fit::kBanner:
            EXPECT_EQ(w, rule.w);
            EXPECT_LE(h, rule.h);
            EXPECT_EQ(h % 4, 0);
            break;
        }
        if (rule.path.find("NEW FONT") != std::string::npos) continue;
        // Opaque art keeps away from black; keyed art is either exact black or clearly not.
        int bad = 0;
        for (size_t i = 0; i < d.bitmap.rgb.size(); i += 3) {
            const uint8_t* p = &d.bitmap.rgb[i];
            if (rule.keyed ? (IsNearBlack(p) && !IsBlack(p)) : IsNearBlack(p)) ++bad;
        }
        EXPECT_EQ(bad, 0) << "pixels the black key would mistake";
    }
}

TEST(GeneratedFiles, PicturesThatShareAPlaceShareASize) {
    const auto size = [](const std::string& path) {
        const Decoded d = Decode(kBuiltInstall / path);
        return std::pair{d.bitmap.width, d.bitmap.height};
    };
    const std::string m = "GFX/MENU/", t = m + "UI TOURNAMENT/", u = m + "UI MULTI/";
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {m + "MENU/LEFTOFF.QVG", m + "MENU/LEFTON.QVG"},
        {m + "MENU/RIGHTOFF.QVG", m + "MENU/RIGHTON.QVG"},
        {m + "QuickMenu.QVG", m + "QuickMenuON.QVG"},
        {t + "TournamentStartON.QVG", t + "TournamentStartOFF.QVG"},
        {t + "TournamentStartON.QVG", t + "TournamentNEXTon.QVG"},
        {t + "TournamentNEXTon.QVG", t + "TournamentNEXToff.QVG"},
        {t + "TournamentSurrenderON.QVG", t + "TournamentSurrenderOFF.QVG"},
        {t + "TournamentSurrenderON.QVG", t + "TournamentBackON.QVG"},
        {t + "TournamentBackON.QVG", t + "TournamentBackOFF.QVG"},
        {u + "MultiplayerCreate.QVJ", u + "MultiplayerCreateON.QVJ"},
        {u + "MultiplayerJoin.QVJ", u + "MultiplayerJoinON.QVJ"},
        {u + "MultiplayerGame.QVJ", u + "MultiplayerGameON.QVJ"},
        {u + "MultiplayerTrade.QVJ", u + "MultiplayerTradeON.QVJ"},
    };
    for (const auto& [a, b] : pairs) EXPECT_EQ(size(a), size(b)) << a << " / " << b;
    for (int n = 2; n <= 24; ++n) {
        EXPECT_EQ(size("GFX/GENERAL/" + std::to_string(n) + ".QVG"), size("GFX/GENERAL/1.QVG")) << n;
    }
    // The QuickMenu: nine 12-row bands from row 2, then a tab of 21 to 30 rows.
    const auto [qw, qh] = size(m + "QuickMenuON.QVG");
    EXPECT_GE(qh - 110, 21);
    EXPECT_LE(qh - 110, 30);
    EXPECT_GE(qw, 60);
    // The loading picture scrolls: wider than the screen.
    EXPECT_GT(size("GFX/LOADING/EnterGAME.QVJ").first, 240);
    EXPECT_EQ(size("GFX/LOADING/EnterGAME.QVJ").second, 320);
}

TEST(GeneratedFiles, PanoramaFramesCarryTheirNumber) {
    for (int n = 1; n <= 50; ++n) {
        const std::string name = std::string("MENU00") + (n < 10 ? "0" : "") + std::to_string(n) + ".QVG";
        const Decoded d = Decode(kBuiltInstall / "GFX/MENU/MENU" / name);
        ASSERT_TRUE(d.ok) << name;
        int code = 0;
        for (int bit = 0; bit < 6; ++bit) {
            const uint8_t* p = &d.bitmap.rgb[static_cast<size_t>(bit * 2) * 3];
            code = code * 2 + (p[0] > 192 ? 1 : 0);
        }
        EXPECT_EQ(code, n) << name;
    }
}

TEST(GeneratedFiles, EveryCardHasBothPictures) {
    gInstallDir.clear();
    for (char c : kBuiltInstall.string()) gInstallDir.push_back(c == '/' ? u'\\' : static_cast<char16_t>(c));
    gInstallDir += u"\\";
    ASSERT_TRUE(OpenCardDatabase());
    for (int16_t id = 1; id <= GetCardCount(); ++id) {
        const std::string name = Narrow(LoadCard(id).GetName());
        const Decoded small = Decode(kBuiltInstall / "GFX/CARDS/SET 1/CARDS SMALL" / (name + ".QVG"));
        const Decoded big = Decode(kBuiltInstall / "GFX/CARDS/SET 1/CARDS BIG" / ("BIG_" + name + ".QVG"));
        ASSERT_TRUE(small.ok && big.ok) << name;
        EXPECT_EQ(small.bitmap.width * 1000 + small.bitmap.height, 32050) << name;
        EXPECT_EQ(big.bitmap.width * 1000 + big.bitmap.height, 96150) << name;
        // The big picture is zoomed keyed: no pixel may read as the key.
        for (size_t i = 0; i < big.bitmap.rgb.size(); i += 3) {
            ASSERT_FALSE(IsNearBlack(&big.bitmap.rgb[i])) << name;
        }
    }
    CloseCardDatabase();
    EXPECT_EQ(fs::file_size(kBuiltInstall / "DATA/CARDS/SET 1/CARDS.IND"), 4u * 346);
    EXPECT_TRUE(fs::exists(kBuiltInstall / "DATA/CARDS/SET 1/CARDS.INF"));
    EXPECT_TRUE(fs::exists(kBuiltInstall / "DATA/OPPONENTS.DAT"));
    EXPECT_TRUE(fs::is_directory(kBuiltInstall / "SAVE"));
}

TEST(GeneratedFiles, TunesLoadPlayAndEnd) {
    MikMod_RegisterDriver(&drv_nos);
    MikMod_RegisterAllLoaders();
    md_mode = DMODE_SOFT_MUSIC;
    ASSERT_EQ(MikMod_Init(""), 0) << MikMod_strerror(MikMod_errno);
    const std::map<std::string, double> kMinimumSeconds = {
        {"Avant une partie.QVX", 60}, {"menu.QVX", 20},    {"Partie1.QVX", 20},
        {"Partie2.QVX", 20},          {"Partie3.QVX", 20}, {"Partie4.QVX", 20},
        {"Partie5.QVM", 15},          {"Boss.QVX", 20},    {"End credits.QVX", 30}};
    for (const auto& [file, minimum] : kMinimumSeconds) {
        SCOPED_TRACE(file);
        const std::string path = (kBuiltInstall / "SOUNDS" / file).string();
        MODULE* module = Player_Load(path.c_str(), 20, 0);
        ASSERT_NE(module, nullptr) << MikMod_strerror(MikMod_errno);
        EXPECT_EQ(module->numchn, 4);
        EXPECT_GE(module->numpos, 3);
        Player_Start(module);
        int updates = 0;
        while (Player_Active() && updates < 100000) {
            MikMod_Update();
            ++updates;
        }
        // A tune that ends lets the game's timer restart it; one that loops never would.
        EXPECT_FALSE(Player_Active());
        const double seconds = module->sngtime / 1024.0;
        EXPECT_GE(seconds, minimum);
        EXPECT_LE(seconds, 180);
        Player_Stop();
        Player_Free(module);
    }
    MikMod_Exit();
}

TEST(GeneratedFiles, SoundEffectsAreShortWaves) {
    for (const char* file : {"carte.QVW", "gagne.QVW", "perdu.QVW"}) {
        SCOPED_TRACE(file);
        const std::vector<uint8_t> bytes = ReadBytes(kBuiltInstall / "SOUNDS" / file);
        ASSERT_GE(bytes.size(), 44u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
        EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 12), "WAVE");
        const auto le = [&](size_t at, int n) {
            uint32_t v = 0;
            for (int i = n - 1; i >= 0; --i) v = v * 256 + bytes[at + i];
            return v;
        };
        EXPECT_EQ(le(20, 2), 1u);  // PCM
        const uint32_t rate = le(24, 4), dataBytes = le(40, 4);
        EXPECT_EQ(le(22, 2), 1u);  // mono
        ASSERT_GT(rate, 0u);
        EXPECT_LE(44 + dataBytes, bytes.size());
        EXPECT_LT(static_cast<double>(dataBytes) / rate, 2.0);
        EXPECT_GT(dataBytes, 1000u);
    }
}

std::map<std::string, std::vector<uint8_t>> Snapshot(const fs::path& root) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) files[fs::relative(entry.path(), root).string()] = ReadBytes(entry.path());
    }
    return files;
}

TEST(GeneratedFiles, TheBuilderGivesTheSameBytesOnEveryRun) {
    const fs::path exe = kBuiltInstall.parent_path() / "tools" / "qv_assetgen";
    ASSERT_TRUE(fs::exists(exe));
    const test::TempDir scratch("assets");
    const fs::path a = scratch / "a", b = scratch / "b";
    for (const fs::path& out : {a, b}) {
        const std::string command = "\"" + exe.string() + "\" \"" + out.string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
    const auto first = Snapshot(a), second = Snapshot(b);
    EXPECT_GT(first.size(), 900u);
    EXPECT_EQ(first.size(), second.size());
    for (const auto& [name, bytes] : first) {
        const auto other = second.find(name);
        ASSERT_NE(other, second.end()) << name;
        EXPECT_TRUE(bytes == other->second) << name;
    }
}

}  // namespace
}  // namespace qv
