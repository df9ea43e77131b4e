// What the generated pictures must show: buttons where the game cuts them,
// a continuous panorama, the wheel's colours, distinct cards and faces, and
// quiet areas where the game writes text.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "tests/support/assets.h"

namespace qv {
namespace {

using test::Decode;
using test::Decoded;
using test::Luma;

struct ButtonPlace {
    const char* background;
    const char* pressed;
    int x, y;
};

// Every button whose normal picture the game cuts from its screen's background.
const ButtonPlace kCutButtons[] = {
    {"GFX/GENERAL/BoardUI.QVG", "GFX/GENERAL/BoardUIZoomON.QVG", 2, 231},
    {"GFX/MENU/UI CHARACTER/CreateCharacterEmpty.QVG", "GFX/MENU/UI CHARACTER/CreateCharacterOK.QVJ", 0, 234},
    {"GFX/MENU/UI CHARACTER/CreateCharacterEmpty.QVG", "GFX/MENU/UI CHARACTER/CreateCharacterQUICKGAME.QVJ", 63, 234},
    {"GFX/MENU/UI CHARACTER/CreateCharacterEmpty.QVG", "GFX/MENU/UI CHARACTER/CreateCharacterDELETE.QVJ", 197, 234},
    {"GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/CollectionFlecheGaucheON.QVJ", 0, 99},
    {"GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/CollectionFlecheDroiteON.QVJ", 221, 99},
    {"GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/CollectionZoom.QVJ", 0, 232},
    {"GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/CollectionSell.QVJ", 0, 303},
    {"GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/CollectionBack.QVJ", 202, 304},
    {"GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/CollectionAdd.QVJ", 150, 0},
    {"GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/CollectionLeft.QVJ", 60, 305},
    {"GFX/MENU/UI SHOP/CollectionEmpty.QVG", "GFX/MENU/UI SHOP/CollectionRight.QVJ", 159, 305},
    {"GFX/MENU/UI INSTANT/InstantPlayEmpty.QVG", "GFX/MENU/UI INSTANT/InstantPlayLeft.QVJ", 21, 221},
    {"GFX/MENU/UI INSTANT/InstantPlayEmpty.QVG", "GFX/MENU/UI INSTANT/InstantPlayRight.QVJ", 189, 221},
    {"GFX/MENU/UI INSTANT/InstantPlayEmpty.QVG", "GFX/MENU/UI INSTANT/InstantPlayBack.QVJ", 202, 302},
    {"GFX/MENU/UI INSTANT/InstantPlay2Empty.QVG", "GFX/MENU/UI INSTANT/InstantPlay2Ok.QVJ", 0, 301},
    {"GFX/MENU/UI INSTANT/InstantPlay2Empty.QVG", "GFX/MENU/UI INSTANT/InstantPlayBack.QVJ", 202, 302},
    {"GFX/MENU/UI INSTANT/InstantPlay2Empty.QVG", "GFX/MENU/AllPartyDeck.QVJ", 207, 0},
    {"GFX/MENU/UI OPTIONS/GameOptionsEmpty.QVJ", "GFX/MENU/UI OPTIONS/GameOptionsBACK.QVJ", 201, 303},
    {"GFX/MENU/UI OPTIONS/GameOptionsEmpty.QVJ", "GFX/MENU/UI OPTIONS/GameOptionsStatsON.QVJ", 1, 305},
    {"GFX/MENU/UI OPTIONS/GameOptionsEmpty.QVJ", "GFX/MENU/UI OPTIONS/GameOptionsON.QVJ", 83, 172},
    {"GFX/MENU/UI OPTIONS/GameOptionsEmpty.QVJ", "GFX/MENU/UI OPTIONS/GameOptionsOFF.QVJ", 154, 172},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/Shop1Booster.QVJ", 61, 74},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/Shop2Booster.QVJ", 61, 89},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/Shop3Booster.QVJ", 61, 104},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/Shop5Booster.QVJ", 61, 120},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/Shop10Booster.QVJ", 62, 135},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/ShopEnterManager.QVJ", 31, 189},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/ShopClearDeck.QVJ", 31, 211},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/ShopSellCards.QVJ", 31, 234},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/ShopQuickDeck.QVJ", 29, 256},
    {"GFX/MENU/UI SHOP/ShopEmpty.QVG", "GFX/MENU/UI SHOP/ShopBack.QVJ", 204, 302},
    {"GFX/MENU/UI TOURNAMENT/TournamentGuestEmpty.QVG", "GFX/MENU/AllPartyDeck.QVJ", 207, 0},
    {"GFX/MENU/UI TOURNAMENT/TournamentMemberEmpty.QVG", "GFX/MENU/AllPartyDeck.QVJ", 207, 0},
    {"GFX/MENU/UI TOURNAMENT/TournamentEliteEmpty.QVG", "GFX/MENU/AllPartyDeck.QVJ", 207, 0},
    {"GFX/MENU/UI MULTI/MultiplayerEmpty.QVG", "GFX/MENU/UI MULTI/MultiplayerBack.QVJ", 202, 301},
    {"GFX/MENU/UI MULTI/MultiplayerEmpty.QVG", "GFX/MENU/AllPartyDeck.QVJ", 207, 0},
    {"GFX/MENU/UI MULTI/TradeUI.QVG", "GFX/MENU/UI MULTI/MultiplayerBack.QVJ", 202, 301},
    {"GFX/MENU/UI MULTI/TradeUI.QVG", "GFX/MENU/UI MULTI/TradeUIADD.QVJ", 21, 278},
    {"GFX/MENU/UI MULTI/TradeUI.QVG", "GFX/MENU/UI MULTI/TradeUIDEL.QVJ", 79, 280},
    {"GFX/MENU/UI MULTI/TradeUI.QVG", "GFX/MENU/UI MULTI/TradeUIREADY.QVJ", 130, 281},
    {"GFX/MENU/UI MULTI/TradeUI.QVG", "GFX/MENU/UI MULTI/TradeUICANCEL.QVJ", 185, 278},
    {"GFX/MENU/UI MULTI/TradeUI.QVG", "GFX/MENU/UI MULTI/TradeUIZOOM.QVJ", 201, 0},
    {"GFX/MENU/UI MULTI/TradeUI.QVG", "GFX/MENU/UI MULTI/TradeUIMoins.QVJ", 19, 256},
    {"GFX/MENU/UI MULTI/TradeUI.QVG", "GFX/MENU/UI MULTI/TradeUIPlus.QVJ", 102, 256},
};

// The background shows the unpressed button exactly over the pressed
// picture's rectangle: its bright frame runs along all four edges of that
// rectangle and nowhere just outside it, and pressing visibly changes it.
TEST(GeneratedPictures, BackgroundsShowEachButtonWhereItsPressedPictureGoes) {
    constexpr double kFrame = 120;
    for (const ButtonPlace& b : kCutButtons) {
        SCOPED_TRACE(std::string(b.background) + " / " + b.pressed);
        const Decoded background = Decode(b.background), pressed = Decode(b.pressed);
        ASSERT_TRUE(background.ok && pressed.ok);
        const int w = pressed.bitmap.width, h = pressed.bitmap.height;
        ASSERT_LE(b.x + w, background.bitmap.width);
        ASSERT_LE(b.y + h, background.bitmap.height);
        const int mx = b.x + w / 2, my = b.y + h / 2;
        EXPECT_GT(Luma(background.At(mx, b.y)), kFrame) << "top edge";
        EXPECT_GT(Luma(background.At(mx, b.y + h - 1)), kFrame) << "bottom edge";
        EXPECT_GT(Luma(background.At(b.x, my)), kFrame) << "left edge";
        EXPECT_GT(Luma(background.At(b.x + w - 1, my)), kFrame) << "right edge";
        if (b.y > 0) {
            EXPECT_LT(Luma(background.At(mx, b.y - 1)), kFrame) << "above";
        }
        if (b.y + h < 320) {
            EXPECT_LT(Luma(background.At(mx, b.y + h)), kFrame) << "below";
        }
        if (b.x > 0) {
            EXPECT_LT(Luma(background.At(b.x - 1, my)), kFrame) << "left of it";
        }
        if (b.x + w < 240) {
            EXPECT_LT(Luma(background.At(b.x + w, my)), kFrame) << "right of it";
        }
        double difference = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                for (int c = 0; c < 3; ++c) {
                    difference += std::abs(pressed.At(x, y)[c] - background.At(b.x + x, b.y + y)[c]);
                }
            }
        }
        EXPECT_GT(difference / (w * h * 3), 20) << "pressing shows no change";
    }
}

// Frame n + 1 is frame n moved by one step of the walk, and frame 50 leads back to frame 1.
TEST(GeneratedPictures, PanoramaIsOneContinuousTurnOfTheClub) {
    std::vector<Decoded> frames;
    for (int n = 1; n <= 50; ++n) {
        frames.push_back(Decode(std::string("GFX/MENU/MENU/MENU00") + (n < 10 ? "0" : "") +
                                std::to_string(n) + ".QVG"));
        ASSERT_TRUE(frames.back().ok) << n;
    }
    // Find the step from the first pair, then hold every pair (and the wrap) to it.
    int step = -1;
    for (int s = 1; s < 240 && step < 0; ++s) {
        bool same = true;
        for (int y = 2; y < 210 && same; y += 7) {
            for (int x = 0; x + s < 240 && same; x += 3) {
                same = std::equal(frames[0].At(x + s, y), frames[0].At(x + s, y) + 3, frames[1].At(x, y));
            }
        }
        if (same) step = s;
    }
    ASSERT_GT(step, 0) << "frame 2 does not continue frame 1";
    for (int n = 0; n < 50; ++n) {
        const Decoded& a = frames[n];
        const Decoded& b = frames[(n + 1) % 50];
        int mismatches = 0;
        for (int y = 2; y < 210; ++y) {
            for (int x = 0; x + step < 240; ++x) {
                mismatches += !std::equal(a.At(x + step, y), a.At(x + step, y) + 3, b.At(x, y));
            }
        }
        EXPECT_EQ(mismatches, 0) << "frame " << n + 1 << " to " << (n + 1) % 50 + 1;
    }
    // Rooms look different from one another: the room frames are not copies.
    std::set<std::vector<uint8_t>> rooms;
    for (int room : {1, 7, 10, 14, 23, 27, 31, 38, 44, 47}) rooms.insert(frames[room - 1].bitmap.rgb);
    EXPECT_EQ(rooms.size(), 10u);
}

TEST(GeneratedPictures, WheelShowsRedFirstAndBlueHalfwayRound) {
    // Just under the fixed pointer at the top of the wheel.
    const auto under = [](int frame) {
        const Decoded d = Decode("GFX/GENERAL/" + std::to_string(frame) + ".QVG");
        const uint8_t* p = d.At(d.bitmap.width / 2, 22);
        return std::vector<int>{p[0], p[1], p[2]};
    };
    const std::vector<int> red = under(1), blue = under(13);
    EXPECT_GT(red[0], red[2] + 60);
    EXPECT_GT(blue[2], blue[0] + 60);
    EXPECT_NE(under(1), under(2));  // it turns
}

TEST(GeneratedPictures, PowerIconsRunFromYellowToBlue) {
    std::vector<std::vector<int>> centres;
    for (int p = 1; p <= 5; ++p) {
        const Decoded d = Decode("GFX/CARDS/SET 1/CARDS SMALL/PowerIcon" + std::to_string(p) + ".QVG");
        ASSERT_TRUE(d.ok);
        // The ring just off the centre carries the icon's colour.
        const uint8_t* c = d.At(d.bitmap.width / 2, 1);
        centres.push_back({c[0], c[1], c[2]});
    }
    EXPECT_GT(centres[0][0], 180);  // yellow: red and green high, blue low
    EXPECT_GT(centres[0][1], 180);
    EXPECT_LT(centres[0][2], 120);
    EXPECT_GT(centres[4][2], 180);  // blue
    EXPECT_LT(centres[4][0], 120);
    for (int a = 0; a < 5; ++a) {
        for (int b = a + 1; b < 5; ++b) {
            int distance = 0;
            for (int c = 0; c < 3; ++c) distance += std::abs(centres[a][c] - centres[b][c]);
            EXPECT_GT(distance, 60) << "icons " << a + 1 << " and " << b + 1;
        }
    }
}

TEST(GeneratedPictures, EveryCardAndEveryOpponentLooksDifferent) {
    std::set<std::vector<uint8_t>> small, big, faces;
    int cards = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::kBuiltInstall / "GFX/CARDS/SET 1/CARDS BIG")) {
        big.insert(Decode(entry.path()).bitmap.rgb);
        ++cards;
    }
    for (const auto& entry : std::filesystem::directory_iterator(test::kBuiltInstall / "GFX/CARDS/SET 1/CARDS SMALL")) {
        small.insert(Decode(entry.path()).bitmap.rgb);
    }
    EXPECT_EQ(cards, 344);
    EXPECT_EQ(big.size(), 344u);
    EXPECT_EQ(small.size(), 344u + 6u);  // plus the back and the five icons
    for (int n = 1; n <= 45; ++n) faces.insert(Decode("GFX/PLAYERS/PLAYERS" + std::to_string(n) + ".QVG").bitmap.rgb);
    EXPECT_EQ(faces.size(), 45u);
}

// Mean brightness of a rectangle.
double MeanLuma(const Decoded& d, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) sum += Luma(d.At(x, y));
    }
    return sum / ((x1 - x0) * (y1 - y0));
}

TEST(GeneratedPictures, AreasWhereTheGameWritesStayDarkAndQuiet) {
    const Decoded loading = Decode("GFX/LOADING/EnterGAME.QVJ");
    ASSERT_TRUE(loading.ok);
    const int w = loading.bitmap.width;
    // The hint at the top and the status line at the bottom, in both scroll positions.
    for (int left : {0, w - 240}) {
        EXPECT_LT(MeanLuma(loading, left + 5, 3, left + 220, 40), 40) << left;
        EXPECT_LT(MeanLuma(loading, left, 307, left + 240, 320), 40) << left;
    }
    const Decoded before = Decode("GFX/MENU/HELL/Starman1.QVJ"), after = Decode("GFX/MENU/HELL/Starman2.QVJ");
    // The narration at the top of the first picture; the boss's words at the
    // bottom of both (the first speech is typed before the picture changes).
    EXPECT_LT(MeanLuma(before, 40, 10, 200, 80), 40);
    EXPECT_LT(MeanLuma(before, 20, 260, 220, 320), 40);
    EXPECT_LT(MeanLuma(after, 20, 240, 220, 320), 40);
    const Decoded band = Decode("GFX/GENERAL/BackgroundMenu.QVJ");
    EXPECT_LT(MeanLuma(band, 10, 10, 230, 80), 40);
    // The match's message line is one flat colour: it is wiped by refilling it.
    const Decoded board = Decode("GFX/GENERAL/BoardUI.QVG");
    std::set<std::vector<uint8_t>> colours;
    for (int y = 235; y < 248; ++y) {
        for (int x = 35; x < 233; ++x) colours.insert({board.At(x, y), board.At(x, y) + 3});
    }
    EXPECT_EQ(colours.size(), 1u);
}

// The family letters on every small face (its lightest ink, 250 246 236)
// stay clear of the eight places where the game draws an 8 x 8 power icon.
TEST(GeneratedPictures, SmallCardLettersAreClearOfThePowerIcons) {
    constexpr int kIconX[8] = {12, 23, 23, 23, 12, 2, 2, 2};
    constexpr int kIconY[8] = {2, 2, 19, 41, 41, 41, 19, 2};
    int faces = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::kBuiltInstall / "GFX/CARDS/SET 1/CARDS SMALL")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("PowerIcon", 0) == 0 || name == "BackCard.QVG") continue;
        SCOPED_TRACE(name);
        const Decoded d = Decode(entry.path());
        ASSERT_TRUE(d.ok);
        ASSERT_EQ(d.bitmap.width, 32);
        ASSERT_EQ(d.bitmap.height, 50);
        int ink = 0, hidden = 0;
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 32; ++x) {
                const uint8_t* p = d.At(x, y);
                if (p[0] != 250 || p[1] != 246 || p[2] != 236) continue;
                ++ink;
                for (int i = 0; i < 8; ++i) {
                    if (x >= kIconX[i] && x < kIconX[i] + 8 && y >= kIconY[i] && y < kIconY[i] + 8) {
                        ++hidden;
                        break;
                    }
                }
            }
        }
        EXPECT_GE(ink, 12) << "the letters are missing";
        EXPECT_EQ(hidden, 0);
        ++faces;
    }
    EXPECT_EQ(faces, 344);
}

}  // namespace
}  // namespace qv
