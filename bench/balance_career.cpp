// A simulated career: the rooms' own screens take the stakes, fees and
// prizes, the shop sells boosters and buys duplicates back, and every match
// is played by the computer on both sides.
#include "bench/balance_career.h"

#include <algorithm>
#include <cmath>

#include "bench/balance_play.h"
#include "cards/card_database.h"
#include "cards/launchers.h"
#include "cards/opponents.h"
#include "cards/profile.h"
#include "cards/statistics.h"
#include "club/bet_screen.h"
#include "club/boss_screen.h"
#include "club/shop_screen.h"
#include "club/tournament_screen.h"
#include "engine/utilities.h"
#include "match/match.h"
#include "tests/support/match_driver.h"

namespace qv::bench {
namespace {

// Where the rooms' buttons are tapped: the bet screen's Ok, the
// tournament's Start and Next (one place).
constexpr int kBetOkX = 20, kBetOkY = 310;
constexpr int kTournamentNextX = 50, kTournamentNextY = 312;
// Tournament rounds a winner plays.
constexpr int kRounds = 4;
// Every so many choices of a room for credits, the highest tournament.
constexpr int kRetryEvery = 20;

class Career {
public:
    explicit Career(int maxMatches) : maxMatches_(maxMatches) {}

    CareerResult Run() {
        ClearStatistics();
        MakeStarterCharacter();
        result_.boosters = 3;
        while (!result_.reached && result_.matches < maxMatches_) {
            Shop();
            Note();
            if (!Act()) break;  // nothing it can pay for: the career is stuck
        }
        return result_;
    }

private:
    bool Act() {
        if (ReadyForBoss()) {
            if (gProfile.GetCredits() >= kBossLairPrice) return Boss();
        } else {
            // Progress where it wins at least half its matches or can lose
            // twenty stakes, as long as a loss leaves the guests' fee in hand.
            const int keep = TournamentScreen::FeeOf(0);
            const int credits = gProfile.GetCredits();
            for (int level = 0; level < kLevelCount && IsLevelOpen(level); ++level) {
                const int stake = BetScreen::StakeOf(level);
                if (credits - stake < keep || (WinRate(level) < 0.5 && credits < keep + 20 * stake)) continue;
                const int index = AnyUnbeaten(level);
                if (index >= 0 && Bet(index, level)) return true;
            }
            const int top = TopLevel();
            const int fee = TournamentScreen::FeeOf(top);
            if (gTourneysWon[top] == 0 && credits - fee >= keep && (WinRate(top) >= 0.5 || credits >= keep + 5 * fee) &&
                Tournament(top)) {
                return true;
            }
        }
        return PlayForCredits();
    }

    // The open level whose tournament promises the most credits a match.
    int BestTournament() const {
        int best = 0;
        for (int level = 1; level <= TopLevel(); ++level) {
            if (TournamentGain(level) > TournamentGain(best)) best = level;
        }
        return best;
    }

    // The room with the most credits expected a match, among those it can
    // pay for; a tournament only while a first-round loss leaves ten guest
    // stakes in hand.
    bool PlayForCredits() {
        double best = -1e9;
        int bestLevel = -1;
        bool bestIsTournament = false;
        const int keep = 10 * BetScreen::StakeOf(0);
        // Now and then the highest tournament once more, whatever the past
        // said: the deck may have outgrown it.
        const int top = TopLevel();
        if (++creditDecisions_ % kRetryEvery == 0 && gProfile.GetCredits() - TournamentScreen::FeeOf(top) >= keep) {
            return Tournament(top);
        }
        for (int level = 0; level <= TopLevel(); ++level) {
            if (gProfile.GetCredits() >= BetScreen::StakeOf(level) && BetGain(level) > best) {
                best = BetGain(level);
                bestLevel = level;
                bestIsTournament = false;
            }
            if (gProfile.GetCredits() - TournamentScreen::FeeOf(level) >= keep && TournamentGain(level) > best) {
                best = TournamentGain(level);
                bestLevel = level;
                bestIsTournament = true;
            }
        }
        if (bestLevel < 0) return false;
        if (bestIsTournament) return Tournament(bestLevel);
        // Money bets go to the level's weakest opponents, the first tier.
        return Bet(RandomBelow(4), bestLevel);
    }

    // Sells the duplicates, buys boosters with what the next fee leaves
    // over while cards are missing, and takes the Quick Deck.
    void Shop() {
        const bool missing = gProfile.CountDistinct() < GetCardCount();
        const bool duplicates = gProfile.GetTotalCards() > gProfile.CountDistinct();
        // Once only cards are missing, the lair's price is put by first: a
        // collection completed early would lose cards in the matches that
        // earn the price.
        int reserve = 0;
        if (gProfile.CountDistinct() >= kDeckSize) {
            // The fee of the tournament it means to win next, or of the one it plays for credits.
            const int top = TopLevel();
            const int next = gTourneysWon[top] == 0 ? top : BestTournament();
            reserve = TournamentScreen::FeeOf(next) + TournamentScreen::FeeOf(0);
            if (EveryOpponentAndTournamentBeaten()) reserve += kBossLairPrice;
        }
        if (duplicates || (missing && gProfile.GetCredits() - reserve >= Price(0))) {
            ShopScreen shop;
            if (duplicates) shop.SellDuplicates();
            while (gProfile.CountDistinct() < GetCardCount()) {
                int bundle = ShopScreen::kBundleCount - 1;
                while (bundle >= 0 && gProfile.GetCredits() - reserve < Price(bundle)) --bundle;
                if (bundle < 0) break;
                shop.BuyBoosters(bundle);
                result_.boosters += static_cast<int>(ShopScreen::kBoosterCounts[bundle]);
                shop.SellDuplicates();
            }
        }
        gProfile.BuildBestDeck();  // the Quick Deck
    }

    static int Price(int bundle) { return static_cast<int>(ShopScreen::kBoosterPrices[bundle]); }

    bool Bet(int index, int level) {
        if (!CanPlay() || gProfile.GetCredits() < BetScreen::StakeOf(level)) return false;
        BetScreen screen(level * kOpponentsPerLevel + index + 1);
        test::Tap(screen, kBetOkX, kBetOkY);
        if (!screen.MatchStarted()) return false;
        Play(level);
        ++result_.betMatches;
        screen.Update();  // pays and counts
        return true;
    }

    bool Tournament(int level) {
        if (!CanPlay() || gProfile.GetCredits() < TournamentScreen::FeeOf(level)) return false;
        TournamentScreen screen(level);
        test::Tap(screen, kTournamentNextX, kTournamentNextY);  // Start
        if (!screen.Joined()) return false;
        ++result_.tournaments;
        // Every step of a tournament either plays a match or moves it on.
        for (int step = 0; step < 1000; ++step) {
            if (gClubActive == 0) {
                Play(level);
                ++result_.tournamentMatches;
            }
            screen.Update();
            const uint8_t state = screen.GetState();
            if (state == TournamentScreen::kStateIdle) break;
            if (state == TournamentScreen::kStateBracketShown || state == TournamentScreen::kStateResultsShown ||
                state == TournamentScreen::kStateWinnerShown) {
                test::Tap(screen, kTournamentNextX, kTournamentNextY);
            }
            if (state == TournamentScreen::kStateWinnerShown) break;  // Next paid the prize
        }
        return true;
    }

    bool Boss() {
        if (!TryEnterBossLair()) return false;
        StartBossMatch();
        Count(PlayStartedMatch());
        ++result_.bossMatches;
        result_.reached = gMatchResult == 1;  // the player is the second participant
        return true;
    }

    void Play(int level) {
        const int before = gProfile.CountDistinct();
        Count(PlayStartedMatch());
        result_.lastCopiesLost += before - std::min(before, gProfile.CountDistinct());
        Recent& r = recent_[level];
        r.won = r.won * kMemory + (gMatchResult == 0 ? 1 : 0);
        r.lost = r.lost * kMemory + (gMatchResult == 1 ? 1 : 0);
        r.tied = r.tied * kMemory + (gMatchResult == 2 ? 1 : 0);
    }

    void Count(bool ended) {
        ++result_.matches;
        if (!ended) ++result_.stuckMatches;
    }

    // The landmarks of the career, at the first time they hold.
    void Note() {
        if (result_.membersAt < 0 && IsLevelOpen(1)) result_.membersAt = result_.matches;
        if (result_.eliteAt < 0 && IsLevelOpen(2)) result_.eliteAt = result_.matches;
        if (result_.collectionAt < 0 && gProfile.CountDistinct() == GetCardCount()) {
            result_.collectionAt = result_.matches;
        }
    }

    static bool CanPlay() { return gProfile.HasSixteenCards() && gProfile.GetDeck().GetCount() == kDeckSize; }

    static int TopLevel() {
        int top = 0;
        while (top + 1 < kLevelCount && IsLevelOpen(top + 1)) ++top;
        return top;
    }

    // An opponent of the level never beaten, drawn at random; -1 when none.
    static int AnyUnbeaten(int level) {
        int unbeaten[kOpponentsPerLevel];
        int count = 0;
        for (int i = 0; i < kOpponentsPerLevel; ++i) {
            if (gGamesWon[StatisticsIndex(i, level)] == 0) unbeaten[count++] = i;
        }
        return count == 0 ? -1 : unbeaten[RandomBelow(count)];
    }

    static bool EveryOpponentAndTournamentBeaten() {
        for (int i = 0; i < kOpponentCount; ++i) {
            if (gGamesWon[i] == 0) return false;
        }
        for (int level = 0; level < kLevelCount; ++level) {
            if (gTourneysWon[level] == 0) return false;
        }
        return true;
    }

    static bool ReadyForBoss() {
        return EveryOpponentAndTournamentBeaten() && gProfile.CountDistinct() == GetCardCount();
    }

    // Credits a bet match is expected to bring, from the level's results so
    // far (a tie gives the stake back).
    double BetGain(int level) const {
        const Recent& t = recent_[level];
        const double n = t.won + t.tied + t.lost + 2.0;
        const double won = (t.won + 1) / n, lost = (t.lost + 1) / n;
        const int stake = BetScreen::StakeOf(level);
        return won * (BetScreen::WinPaymentOf(level) - stake) - lost * stake;
    }

    // The share of matches won at the level lately, ties left out (a
    // tournament plays them again); one won and one lost to begin with.
    double WinRate(int level) const {
        const Recent& t = recent_[level];
        return (t.won + 1.0) / (t.won + t.lost + 2.0);
    }

    // Credits a tournament match is expected to bring.
    double TournamentGain(int level) const {
        const Recent& t = recent_[level];
        const double p = WinRate(level);
        const double prizes = std::pow(p, kRounds) * TournamentScreen::FirstPrizeOf(level) +
                              std::pow(p, kRounds - 1) * (1 - p) * TournamentScreen::SecondPrizeOf(level);
        double matches = 0;
        for (int round = 0; round < kRounds; ++round) matches += std::pow(p, round);
        const double ties = t.tied / (t.won + t.tied + t.lost + 1.0);
        return (prizes - TournamentScreen::FeeOf(level)) / (matches / (1 - ties));
    }

    int maxMatches_;
    CareerResult result_;
    // Results at each level, the older ones counting less and less: the
    // deck grows stronger with the collection.
    struct Recent {
        double won = 0, tied = 0, lost = 0;
    };
    static constexpr double kMemory = 0.96;
    Recent recent_[kLevelCount];
    int creditDecisions_ = 0;
};

}  // namespace

CareerResult RunCareer(int maxMatches) { return Career(maxMatches).Run(); }

}  // namespace qv::bench
