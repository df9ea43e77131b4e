// The generated data read back with the game's own readers: cards, info texts, opponents, font.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "cards/card_database.h"
#include "cards/opponents.h"
#include "club/shop_screen.h"
#include "engine/display.h"
#include "engine/font.h"
#include "engine/install_dir.h"
#include "engine/utilities.h"
#include "engine/wstring.h"
#include "match/board.h"
#include "tests/support/characters.h"
#include "tests/support/economy.h"
#include "tests/support/headless.h"
#include "tests/support/screen.h"

namespace qv {
namespace {

// Points gInstallDir at the built installation directory.
class GeneratedData : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const std::filesystem::path scratch = test::ProcessTempDir("assets-data");
        test::StartHeadless(scratch);
        test::OpenScreen();
        gInstallDir = test::HandheldPath(QV_INSTALL_DIR) + u"\\";
        ASSERT_TRUE(OpenCardDatabase());
        LoadOpponents();
        gFont.Load(gInstallDir + u"GFX\\GENERAL\\NEW FONT.QVB", true, true);
    }
    static void TearDownTestSuite() { CloseCardDatabase(); }
};

int CountLines(const WString& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), u'\n'));
}

TEST_F(GeneratedData, CardsFollowTheQuartersAndGrowWithTheLevel) {
    ASSERT_EQ(GetCardCount(), 344);
    std::set<WString> names;
    double powerByLevel[5] = {}, valueByLevel[5] = {};
    int maxPowerByLevel[5] = {};
    for (int16_t id = 1; id <= 344; ++id) {
        const Card card = LoadCard(id);
        SCOPED_TRACE(testing::Message() << "card " << id << " " << Narrow(card.GetName()));
        ASSERT_EQ(card.GetId(), id);
        const int level = (id - 1) / 86 + 1;
        ASSERT_EQ(card.GetLevel(), level);
        const std::string name = Narrow(card.GetName());
        ASSERT_FALSE(name.empty());
        for (char c : name) ASSERT_TRUE((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ' ');
        EXPECT_NE(name, "BACKCARD");
        EXPECT_EQ(name.rfind("POWERICON", 0), std::string::npos);
        EXPECT_TRUE(names.insert(card.GetName()).second) << "duplicate name";
        // Card names are also drawn on the big card's band, 84 px wide.
        EXPECT_LE(gFont.TextWidth(card.GetName()), 84);
        int arrows = 0;
        for (int d = 0; d < 8; ++d) {
            ASSERT_LE(card.GetPower(d), 5);
            arrows += card.GetPower(d) != 0;
            maxPowerByLevel[level] = std::max(maxPowerByLevel[level], card.GetPower(d));
        }
        EXPECT_GE(arrows, 1);
        EXPECT_GT(card.GetValue(), 0);
        powerByLevel[level] += test::PowerSum(card) / 86.0;
        valueByLevel[level] += card.GetValue() / 86.0;
    }
    for (int level = 2; level <= 4; ++level) {
        EXPECT_GT(powerByLevel[level], powerByLevel[level - 1] + 2) << "level " << level;
        EXPECT_GT(valueByLevel[level], valueByLevel[level - 1] * 1.5) << "level " << level;
    }
    // Level 1 is weak: few arrows and no top power outside the tutorial's needs.
    EXPECT_LE(powerByLevel[1], 6.0);
    EXPECT_LE(maxPowerByLevel[1], 3);
    EXPECT_EQ(maxPowerByLevel[4], 5);
}

// Buying boosters to sell the cards again never pays: a booster's eight
// cards sell back on average for 40 to 70% of a single booster's price.
TEST_F(GeneratedData, ABoosterSellsBackForLessThanItsPrice) {
    const double price = ShopScreen::kBoosterPrices[0];
    const double resale = test::AverageBoosterResale();
    EXPECT_GE(resale, 0.4 * price);
    EXPECT_LE(resale, 0.7 * price);
}

// Every card is worth more than any card of a lower level, and within a
// level a card whose powers add up to more is never worth less: the
// opponents' decks keep the most valuable of several draws, so more draws
// must mean stronger cards.
TEST_F(GeneratedData, WorthRisesWithTheLevelAndWithThePowers) {
    int previousLevelTop = 0;
    for (int level = 1; level <= 4; ++level) {
        std::vector<std::pair<int, int>> byPower;  // (power sum, value)
        for (int16_t id = static_cast<int16_t>(86 * (level - 1) + 1); id <= 86 * level; ++id) {
            const Card card = LoadCard(id);
            byPower.emplace_back(test::PowerSum(card), card.GetValue());
        }
        std::sort(byPower.begin(), byPower.end());
        EXPECT_GT(byPower.front().second, 0) << "level " << level;
        int top = 0;
        for (size_t i = 0; i < byPower.size(); ++i) {
            EXPECT_GT(byPower[i].second, previousLevelTop) << "level " << level;
            if (i > 0 && byPower[i].first > byPower[i - 1].first) {
                EXPECT_GE(byPower[i].second, top)
                    << "level " << level << ": power sum " << byPower[i].first << " worth less than a weaker card";
            }
            top = std::max(top, byPower[i].second);
        }
        previousLevelTop = top;
    }
}

// With the shipped cards, stronger opponents field stronger decks: within a
// level each tier's decks are stronger and dearer than the tier's below, and
// each level's decks stronger than the level's below.
TEST_F(GeneratedData, StrongerOpponentsDrawStrongerDecks) {
    SeedRandom(1234);
    constexpr int kRounds = 40;
    double previousLevel = -1;
    for (int level = 0; level < 3; ++level) {
        double previousPower = -1, previousValue = -1, levelPower = 0;
        for (int tier = 0; tier < 4; ++tier) {
            double value = 0, power = 0;
            for (int round = 0; round < kRounds; ++round) {
                CardDeck deck;
                GenerateOpponentDeck(deck, level, tier);
                ASSERT_EQ(deck.GetCount(), 16);
                std::set<int16_t> ids;
                for (int i = 0; i < 16; ++i) {
                    const Card& card = deck.CardAt(i);
                    ids.insert(card.GetId());
                    value += card.GetValue();
                    power += test::PowerSum(card);
                }
                EXPECT_EQ(ids.size(), 16u);
            }
            SCOPED_TRACE(testing::Message() << "level " << level << " tier " << tier);
            EXPECT_GT(power, previousPower);
            EXPECT_GT(value, previousValue);
            EXPECT_GT(power / (16 * kRounds), level == 0 ? 4.0 : 8.0);
            previousPower = power;
            previousValue = value;
            levelPower += power;
        }
        EXPECT_GT(levelPower, previousLevel) << "level " << level;
        previousLevel = levelPower;
    }
}

TEST_F(GeneratedData, InfoTextsHaveOneLinePerLevel) {
    // Heading, "Level", "No", a blank line, then one line per level.
    const WString first = BuildCardInfoText(86);
    EXPECT_NE(first.find(u"\nLevel 1\nNo 86\n"), WString::npos);
    EXPECT_EQ(CountLines(first), 4);
    const WString second = BuildCardInfoText(87);
    EXPECT_NE(second.find(u"\nLevel 2\nNo 87\n"), WString::npos);
    EXPECT_EQ(CountLines(second), 5);
    const WString last = BuildCardInfoText(344);
    EXPECT_NE(last.find(u"\nLevel 4\nNo 344\n"), WString::npos);
    EXPECT_EQ(CountLines(last), 7);
    // Ids 86 and 344 share entry 85, 87 and 1 share entry 0: same heading.
    EXPECT_EQ(first.substr(0, first.find(u'\n')), last.substr(0, last.find(u'\n')));
    EXPECT_EQ(second.substr(0, second.find(u'\n')),
              BuildCardInfoText(1).substr(0, BuildCardInfoText(1).find(u'\n')));
    // Every line of every level 4 text fits the zoom box's 215 px and uses glyphs only.
    for (int16_t id = 259; id <= 344; ++id) {
        const WString text = BuildCardInfoText(id);
        size_t start = 0;
        while (start <= text.size()) {
            const size_t end = std::min(text.find(u'\n', start), text.size());
            const WString line = text.substr(start, end - start);
            EXPECT_LE(gFont.TextWidth(line), 215) << Narrow(line);
            for (char16_t c : line) EXPECT_GT(gFont.GetGlyph(c).width, 0) << Narrow(line);
            start = end + 1;
        }
    }
}

// The cells a card at (x, y) of side can attack: a power towards an enemy neighbour.
std::vector<std::pair<int, int>> Targets(const Board& board, int x, int y, Side side) {
    std::vector<std::pair<int, int>> targets;
    const Card& card = board.CellAt(x, y).card;
    for (int d = 0; d < 8; ++d) {
        const int tx = x + kDirectionDx[d], ty = y + kDirectionDy[d];
        if (card.GetPower(d) == 0 || !Board::IsInside(tx, ty)) continue;
        const BoardCell& cell = board.CellAt(tx, ty);
        if (cell.free == 0 && cell.owner == OtherSide(side) && cell.card.GetId() > 0) {
            targets.push_back({tx, ty});
        }
    }
    return targets;
}

// Plays each demonstration on the game's own board: BLUE lays the demo card
// and the battles must go the way the page describes.
TEST_F(GeneratedData, TutorialDemonstrationsShowWhatTheirPagesDescribe) {
    {  // One card without an arrow back is simply taken.
        Board board;
        board.SetUpTutorialBoard1();
        board.PlaceCard(LoadCard(16), 3, 2, BLUE);
        ASSERT_EQ(Targets(board, 3, 2, BLUE).size(), 1u);
        EXPECT_EQ(board.ResolveAttack(3, 2, 3, 3), BLUE);
        EXPECT_TRUE(Targets(board, 3, 3, BLUE).empty());
    }
    {  // The stronger arrow of the defender wins (or equal arrows draw).
        Board board;
        board.SetUpTutorialBoard2();
        board.PlaceCard(LoadCard(2), 2, 2, BLUE);
        ASSERT_EQ(Targets(board, 2, 2, BLUE).size(), 1u);
        EXPECT_NE(board.ResolveAttack(2, 2, 3, 2), BLUE);
        EXPECT_TRUE(Targets(board, 2, 2, RED).empty());
    }
    {  // Three targets to choose from; whichever is taken starts no chain.
        for (const auto& [tx, ty] : {std::pair{2, 2}, std::pair{3, 2}, std::pair{4, 2}}) {
            Board board;
            board.SetUpTutorialBoard3();
            board.PlaceCard(LoadCard(158), 3, 3, BLUE);
            ASSERT_EQ(Targets(board, 3, 3, BLUE).size(), 3u);
            EXPECT_EQ(board.ResolveAttack(3, 3, tx, ty), BLUE) << tx << "," << ty;
            EXPECT_TRUE(Targets(board, tx, ty, BLUE).empty()) << tx << "," << ty;
        }
    }
    {  // A chain of five captures with one target at each step.
        Board board;
        board.SetUpTutorialBoard4();
        board.PlaceCard(LoadCard(2), 0, 0, BLUE);
        int x = 0, y = 0, captures = 0;
        for (std::vector<std::pair<int, int>> targets = Targets(board, x, y, BLUE); !targets.empty();
             targets = Targets(board, x, y, BLUE)) {
            ASSERT_EQ(targets.size(), 1u) << "step " << captures;
            ASSERT_EQ(board.ResolveAttack(x, y, targets[0].first, targets[0].second), BLUE);
            x = targets[0].first;
            y = targets[0].second;
            ++captures;
        }
        EXPECT_EQ(captures, 5);
        EXPECT_EQ(board.GetOwner(4, 0), RED);  // the bystander is never attacked
        EXPECT_EQ(board.CellAt(x, y).card.GetId(), 247);
    }
}

TEST_F(GeneratedData, OpponentsAreUniqueAndFitTheirScreens) {
    std::set<WString> names;
    for (int level = 0; level < 3; ++level) {
        for (int index = 0; index < 15; ++index) {
            const PlayerProfile& o = gOpponents[StatisticsIndex(index, level)];
            const CharacterSummary& s = o.GetCharacter();
            SCOPED_TRACE(testing::Message() << "level " << level << " index " << index << " "
                                            << Narrow(s.name));
            EXPECT_EQ(s.kind, kComputerPlayer);
            EXPECT_EQ(s.strength, level * 10 + index / 4);
            EXPECT_EQ(s.number, level * 15 + index + 1);
            ASSERT_FALSE(s.name.empty());
            EXPECT_NE(s.name, u"SAINT ARMAN");
            EXPECT_TRUE(names.insert(s.name).second) << "duplicate name";
            // The tournament bracket leaves about 88 px for a name.
            EXPECT_LE(gFont.TextWidth(s.name), 88);
            EXPECT_FALSE(s.textA.empty());
            EXPECT_FALSE(s.textB.empty());
            EXPECT_LE(gFont.TextWidth(s.textA), 160);
            EXPECT_LE(gFont.TextWidth(s.textB), 160);
            // The description, wrapped at 214 px, must stay within five lines.
            const WString description = ReadOpponentText(index, level);
            ASSERT_FALSE(description.empty());
            EXPECT_EQ(description.find(u'\n'), WString::npos);
            EXPECT_LE(gFont.TextWidth(description), 214 * 4);
            for (char16_t c : description) EXPECT_GT(gFont.GetGlyph(c).width, 0);
        }
    }
}

// A glyph's ink inside its ink box, row by row (1 ink, 0 clear), and where
// that box stands in the line.
struct GlyphInk {
    std::vector<std::vector<uint8_t>> rows;
    int top = 0, width = 0, height = 0;
};

GlyphInk InkOf(int code) {
    const Picture glyph = gFont.GetGlyph(code);
    int left = glyph.width, top = glyph.height, right = -1, bottom = -1;
    for (int y = 0; y < glyph.height; ++y) {
        for (int x = 0; x < glyph.width; ++x) {
            if (glyph.pixels[y * glyph.width + x] == gTransparentKey) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    GlyphInk ink;
    if (right < 0) return ink;
    ink.top = top;
    ink.width = right - left + 1;
    ink.height = bottom - top + 1;
    for (int y = top; y <= bottom; ++y) {
        std::vector<uint8_t> row;
        for (int x = left; x <= right; ++x) row.push_back(glyph.pixels[y * glyph.width + x] != gTransparentKey);
        ink.rows.push_back(row);
    }
    return ink;
}

// How far one glyph is from a stretched copy of the other. Each row is
// stretched to one width, and the rows are matched in order, a row of one
// glyph standing for several rows of the other wherever that fits best
// (dynamic time warping). The result is the mean share of differing cells
// along the best match: 0 when one glyph is the other drawn taller, shorter,
// wider or narrower, however unevenly.
double StretchDistance(const GlyphInk& a, const GlyphInk& b) {
    constexpr int kCells = 12;
    // The cell's centre, taken from the row's own width.
    auto stretched = [](const std::vector<uint8_t>& row, int cell) {
        return row[(2 * cell + 1) * row.size() / (2 * kCells)];
    };
    auto rowDistance = [&](const std::vector<uint8_t>& ra, const std::vector<uint8_t>& rb) {
        int differ = 0;
        for (int cell = 0; cell < kCells; ++cell) differ += stretched(ra, cell) != stretched(rb, cell);
        return static_cast<double>(differ) / kCells;
    };
    const size_t n = a.rows.size(), m = b.rows.size();
    struct Step {
        double cost = 1e9;
        int length = 0;
    };
    std::vector<std::vector<Step>> best(n + 1, std::vector<Step>(m + 1));
    best[0][0] = {0, 0};
    for (size_t i = 1; i <= n; ++i) {
        for (size_t j = 1; j <= m; ++j) {
            Step from = best[i - 1][j - 1];
            for (const Step& other : {best[i - 1][j], best[i][j - 1]}) {
                if (other.cost < from.cost) from = other;
            }
            best[i][j] = {from.cost + rowDistance(a.rows[i - 1], b.rows[j - 1]), from.length + 1};
        }
    }
    return best[n][m].cost / best[n][m].length;
}

TEST_F(GeneratedData, FontHasEveryGlyphAndFitsTheTightestLayouts) {
    ASSERT_TRUE(gFont.IsLoaded());
    EXPECT_LE(gFont.GetHeight(), 9);
    int present = 0, totalWidth = 0, letters = 0;
    for (int n = 0; n < Font::kCutCount; ++n) {
        const Picture glyph = gFont.GetGlyph(Font::kCutOrder[n]);
        EXPECT_GT(glyph.width, 0) << "glyph " << n;
        EXPECT_LE(glyph.width, 10) << "glyph " << n;
        present += glyph.width > 0;
        if (n < 52) {
            totalWidth += glyph.width;
            ++letters;
        }
    }
    EXPECT_EQ(present, Font::kCutCount);
    const double average = static_cast<double>(totalWidth) / letters;
    EXPECT_GE(average, 3.5);
    EXPECT_LE(average, 5.0);
    EXPECT_LE(gFont.GetGlyph(' ').width, 3);
    EXPECT_EQ(gFont.GetGlyph('%').width, 0);
    // Budgets of the loading screen, the statistics page and the link room.
    EXPECT_LE(gFont.TextWidth(u"Loading please wait............"), 150);
    EXPECT_LE(gFont.TextWidth(u"Quorvane v1.15"), 80);
    EXPECT_LE(gFont.TextWidth(u"HINT :"), 34);
    EXPECT_LE(gFont.TextWidth(u"          Tourneys Played : 12"), 165);
    EXPECT_LE(gFont.TextWidth(u"Server is waiting to start Trade."), 200);
    EXPECT_LE(gFont.TextWidth(u"Connection OK"), 87);
}

// Every small letter reads as itself beside its capital. It may stand apart by
// its place in the line (a body at the x-height with nothing above it, or a
// descender), by its proportions (at most half as wide for its height, as i
// and l), or else by its shape: one that merely stretches the capital's rows
// (as an f drawn like an F) does not count.
TEST_F(GeneratedData, EverySmallLetterIsToldApartFromItsCapital) {
    int comparedByShape = 0;
    for (char small = 'a'; small <= 'z'; ++small) {
        const char capital = static_cast<char>(small - 'a' + 'A');
        SCOPED_TRACE(testing::Message() << small << " and " << capital);
        const GlyphInk a = InkOf(small), b = InkOf(capital);
        ASSERT_FALSE(a.rows.empty());
        ASSERT_FALSE(b.rows.empty());
        const bool lower = a.top >= b.top + 2;
        const bool descends = a.top + a.height >= b.top + b.height + 2;
        const double proportion = (static_cast<double>(a.width) / a.height) / (static_cast<double>(b.width) / b.height);
        if (lower || descends || proportion <= 0.5) continue;
        ++comparedByShape;
        EXPECT_GE(StretchDistance(a, b), 0.18);
    }
    // b, d, f, h, k and t share their capital's place and proportions.
    EXPECT_GE(comparedByShape, 6);
}

}  // namespace
}  // namespace qv
