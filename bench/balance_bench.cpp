// The balance of the generated card set as a player lives it: what a
// booster sells back for, how the starter deck and the opponents' levels
// fare in whole matches, and how many matches a career takes to the end
// credits. Every match is the game's own, started by its launchers and
// played by its computer opponent on both sides (headless, virtual clock).
//
//   quorvane_balance [--matches N] [--careers N] [--max-matches N]
//                    [--player-level L] [--workers N]
//
// --matches: matches of the starter deck against each opponent, and of each
// level's opponents against each opponent of a level (default 20);
// --careers: careers simulated (20, at most 1000), each stopped after --max-matches
// (3000); --player-level: the computer level that plays the player's side
// (2); --workers: processes that share the matches (the cores).
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/balance_career.h"
#include "bench/balance_play.h"
#include "cards/opponents.h"
#include "club/shop_screen.h"
#include "engine/utilities.h"
#include "match/board.h"
#include "match/match.h"
#include "tests/support/characters.h"
#include "tests/support/economy.h"
#include "tests/support/match_driver.h"

namespace qv::bench {
namespace {

const char* const kLevelNames[kLevelCount] = {"guests", "members", "elite"};

struct Options {
    int matches = 20;
    int careers = 20;
    int maxMatches = 3000;
    int playerLevel = 2;
    int workers = 0;
};

// No trace (it would hash every frame) and a virtual-time limit no career reaches.
void StartEnvironment() {
    test::StartMatchEnvironment({{"QUORVANE_TRACE", ""}, {"QUORVANE_TIME_LIMIT", "4000000000"}});
}

// One piece of work, run in whichever worker takes it; its numbers depend
// only on its own seed.
struct Job {
    uint32_t seed;
    std::function<std::vector<double>()> run;
};

std::vector<double> Numbers(const Tally& t) { return {double(t.won), double(t.tied), double(t.lost), double(t.stuck)}; }
Tally TallyOf(const std::vector<double>& v) {
    return v.size() < 4 ? Tally{} : Tally{int(v[0]), int(v[1]), int(v[2]), int(v[3])};
}

// A career's figures in the order CareerOf reads them.
std::vector<double> Numbers(const CareerResult& r) {
    return {double(r.reached),     double(r.matches),      double(r.betMatches),     double(r.tournamentMatches),
            double(r.bossMatches), double(r.tournaments),  double(r.boosters),       double(r.membersAt),
            double(r.eliteAt),     double(r.collectionAt), double(r.lastCopiesLost), double(r.stuckMatches)};
}
CareerResult CareerOf(const std::vector<double>& v) {
    CareerResult r;
    if (v.size() < 12) return r;
    int* fields[] = {&r.matches,   &r.betMatches, &r.tournamentMatches, &r.bossMatches,    &r.tournaments, &r.boosters,
                     &r.membersAt, &r.eliteAt,    &r.collectionAt,      &r.lastCopiesLost, &r.stuckMatches};
    r.reached = v[0] != 0;
    for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = int(v[i + 1]);
    return r;
}

// Runs the jobs in `workers` processes (each with its own headless platform
// and open database) that take the next job from a shared pipe; the
// numbers of every job, by job.
std::vector<std::vector<double>> RunJobs(const std::vector<Job>& jobs, int workers) {
    // Every job's number is in the pipe before a worker starts, so it must
    // hold them all (main keeps the count far below its 64 KiB).
    int todo[2];
    if (pipe(todo) != 0) std::abort();
    for (uint32_t j = 0; j < jobs.size(); ++j) {
        if (write(todo[1], &j, sizeof j) != sizeof j) std::abort();
    }
    std::fflush(stdout);
    std::vector<int> results;
    std::vector<pid_t> children;
    for (int w = 0; w < workers; ++w) {
        int out[2];
        if (pipe(out) != 0) std::abort();
        const pid_t pid = fork();
        if (pid < 0) std::abort();
        if (pid == 0) {
            close(todo[1]);
            close(out[0]);
            StartEnvironment();
            uint32_t j = 0;
            while (read(todo[0], &j, sizeof j) == sizeof j) {
                // The board keeps the cards of the worker's last match, which
                // the computer reads: every job starts from a board as fresh
                // as after start-up, whichever worker takes it.
                gMatch.SetBoardForTest(Board());
                SeedRandom(jobs[j].seed);
                std::string line = std::to_string(j);
                for (double v : jobs[j].run()) line += " " + std::to_string(v);
                line += "\n";
                if (write(out[1], line.data(), line.size()) != static_cast<ssize_t>(line.size())) std::abort();
            }
            close(out[1]);
            std::exit(0);
        }
        close(out[1]);
        results.push_back(out[0]);
        children.push_back(pid);
    }
    close(todo[0]);
    close(todo[1]);
    std::vector<std::vector<double>> numbers(jobs.size());
    for (int fd : results) {
        std::string text;
        char buffer[4096];
        for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
        close(fd);
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            std::istringstream words(line);
            size_t j = 0;
            words >> j;
            for (double v; words >> v;) numbers.at(j).push_back(v);
        }
    }
    for (pid_t pid : children) waitpid(pid, nullptr, 0);
    return numbers;
}

void Percentages(const Tally& t) {
    const double n = std::max(1, t.Matches());
    std::printf("  %5.1f%% %5.1f%% %5.1f%%", 100 * t.won / n, 100 * t.tied / n, 100 * t.lost / n);
}

void PrintResale() {
    std::printf("== Booster resale (the cards' values in the installation)\n");
    std::printf("mean card value: level 1 %.1f, level 2 %.1f, level 3 %.1f, level 4 %.1f credits\n",
                test::MeanCardValue(1), test::MeanCardValue(2), test::MeanCardValue(3), test::MeanCardValue(4));
    const double resale = test::AverageBoosterResale();
    const double single = ShopScreen::kBoosterPrices[0];
    const double inTen = ShopScreen::kBoosterPrices[4] / 10.0;
    std::printf(
        "average resale of a booster: %.1f credits, %.0f%% of its price of %.0f (%.0f%% of %.0f in a pack of ten)\n\n",
        resale, 100 * resale / single, single, 100 * resale / inTen, inTen);
}

// The mean power sum of the opponents' generated decks, by level and tier.
void PrintDeckStrength() {
    std::printf("== Opponents' decks: mean power sum of a generated deck of 16 (500 decks each)\n");
    std::printf("          tier 0  tier 1  tier 2  tier 3\n");
    SeedRandom(1);
    for (int level = 0; level < kLevelCount; ++level) {
        std::printf("%-8s", kLevelNames[level]);
        for (int tier = 0; tier < 4; ++tier) {
            double sum = 0;
            for (int round = 0; round < 500; ++round) {
                CardDeck deck;
                GenerateOpponentDeck(deck, level, tier);
                for (int p = 0; p < kDeckSize; ++p) sum += test::PowerSum(deck.CardAt(p));
            }
            std::printf("  %6.1f", sum / 500);
        }
        std::printf("\n");
    }
    std::printf("\n");
}

int Median(std::vector<int> values) {
    if (values.empty()) return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void PrintCareers(const std::vector<CareerResult>& careers, int maxMatches) {
    std::printf("\n== Careers from a new character to the end credits, selling only duplicates (%zu careers)\n",
                careers.size());
    std::vector<int> lengths, bets, tournamentMatches, boss, tournaments, boosters, members, elite, collection, lost;
    int reached = 0;
    for (const CareerResult& r : careers) {
        reached += r.reached ? 1 : 0;
        // A career that did not get there counts as longer than any that did.
        lengths.push_back(r.reached ? r.matches : maxMatches + 1);
        bets.push_back(r.betMatches);
        tournamentMatches.push_back(r.tournamentMatches);
        boss.push_back(r.bossMatches);
        tournaments.push_back(r.tournaments);
        boosters.push_back(r.boosters);
        members.push_back(r.membersAt);
        elite.push_back(r.eliteAt);
        collection.push_back(r.collectionAt);
        lost.push_back(r.lastCopiesLost);
    }
    std::sort(lengths.begin(), lengths.end());
    const int median = Median(lengths);
    if (median > maxMatches) {
        std::printf("matches to the end credits: median not reached within %d matches\n", maxMatches);
    } else {
        std::printf("matches to the end credits: median %d (shortest %d, longest %s)\n", median, lengths.front(),
                    lengths.back() > maxMatches ? "not reached" : std::to_string(lengths.back()).c_str());
    }
    std::printf("reached the end credits: %d of %zu (each stopped after %d matches)\n", reached, careers.size(),
                maxMatches);
    std::printf("medians: %d bet matches, %d tournament matches in %d tournaments, %d boss matches,\n"
                "  %d boosters bought, %d last copies lost in lost matches;\n"
                "  members open after %d matches, elite after %d, the whole collection held after %d (-1: never)\n",
                Median(bets), Median(tournamentMatches), Median(tournaments), Median(boss), Median(boosters),
                Median(lost), Median(members), Median(elite), Median(collection));
}

// The starter deck against each level's opponents; the matches that never ended.
int PrintStarter(const std::vector<std::vector<double>>& numbers, int first, int playerLevel) {
    std::printf("== Starter deck (three boosters and the Quick Deck, played by the level-%d computer)\n", playerLevel);
    std::printf("against    won    tied   lost   (won by tier 0..3)\n");
    int stuck = 0;
    for (int level = 0; level < kLevelCount; ++level) {
        Tally all, tiers[4];
        for (int index = 0; index < kOpponentsPerLevel; ++index) {
            const Tally t = TallyOf(numbers[first + level * kOpponentsPerLevel + index]);
            all.Add(t);
            tiers[index / 4].Add(t);
        }
        std::printf("%-8s", kLevelNames[level]);
        Percentages(all);
        std::printf("   (");
        for (const Tally& t : tiers) std::printf(" %3.0f%%", 100.0 * t.won / std::max(1, t.Matches()));
        std::printf(" )  %d matches\n", all.Matches());
        stuck += all.stuck;
    }
    return stuck;
}

// Each level's opponents against each level's; the matches that never ended.
int PrintLevels(const std::vector<std::vector<double>>& numbers, int first) {
    std::printf("\n== Opponents against each other: the row's opponents (each match a random one, in the player's\n"
                "   seat at its own computer level) against each of the column's; won / tied / lost for the row\n");
    std::printf("row \\ column");
    for (const char* name : kLevelNames) std::printf("  %-21s", name);
    std::printf("\n");
    int stuck = 0;
    for (int red = 0; red < kLevelCount; ++red) {
        std::printf("%-11s", kLevelNames[red]);
        for (int blue = 0; blue < kLevelCount; ++blue) {
            Tally all;
            for (int index = 0; index < kOpponentsPerLevel; ++index) {
                all.Add(TallyOf(numbers[first + (red * kLevelCount + blue) * kOpponentsPerLevel + index]));
            }
            Percentages(all);
            stuck += all.stuck;
        }
        std::printf("\n");
    }
    return stuck;
}

int Run(const Options& options) {
    const auto start = std::chrono::steady_clock::now();
    SetPlayerLevel(static_cast<uint8_t>(options.playerLevel));
    // Careers first: the longest jobs, so that no worker is left with one at the end.
    std::vector<Job> jobs;
    const int limit = options.maxMatches;
    for (int c = 0; c < options.careers; ++c) {
        jobs.push_back({10000u + static_cast<uint32_t>(c), [limit] { return Numbers(RunCareer(limit)); }});
    }
    const int starterJobs = static_cast<int>(jobs.size());
    const int matches = options.matches;
    for (int level = 0; level < kLevelCount; ++level) {
        for (int index = 0; index < kOpponentsPerLevel; ++index) {
            jobs.push_back({static_cast<uint32_t>(1 + level * 100 + index),
                            [=] { return Numbers(StarterAgainst(index, level, matches)); }});
        }
    }
    const int levelJobs = static_cast<int>(jobs.size());
    for (int red = 0; red < kLevelCount; ++red) {
        for (int blue = 0; blue < kLevelCount; ++blue) {
            for (int index = 0; index < kOpponentsPerLevel; ++index) {
                jobs.push_back({static_cast<uint32_t>(5000 + red * 1000 + blue * 100 + index),
                                [=] { return Numbers(OpponentsAgainst(red, index, blue, matches)); }});
            }
        }
    }
    const std::vector<std::vector<double>> numbers = RunJobs(jobs, options.workers);

    StartEnvironment();
    PrintResale();
    PrintDeckStrength();
    int stuck = PrintStarter(numbers, starterJobs, options.playerLevel);
    stuck += PrintLevels(numbers, levelJobs);
    std::vector<CareerResult> careers;
    for (int c = 0; c < options.careers; ++c) {
        careers.push_back(CareerOf(numbers[c]));
        stuck += careers.back().stuckMatches;
    }
    if (!careers.empty()) PrintCareers(careers, options.maxMatches);

    int lostJobs = 0;
    for (const std::vector<double>& r : numbers) lostJobs += r.empty() ? 1 : 0;
    if (lostJobs > 0) std::printf("\n%d jobs gave no result (a worker died)\n", lostJobs);
    if (stuck > 0) std::printf("\n%d matches never ended and were left out\n", stuck);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("\n%zu jobs in %d worker processes: %.0f s\n", jobs.size(), options.workers, seconds);
    return lostJobs > 0 || stuck > 0 ? 1 : 0;
}

}  // namespace
}  // namespace qv::bench

int main(int argc, char** argv) {
    qv::bench::Options options;
    options.workers = static_cast<int>(sysconf(_SC_NPROCESSORS_ONLN));
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        int* target = arg == "--matches"        ? &options.matches
                      : arg == "--careers"      ? &options.careers
                      : arg == "--max-matches"  ? &options.maxMatches
                      : arg == "--player-level" ? &options.playerLevel
                      : arg == "--workers"      ? &options.workers
                                                : nullptr;
        if (target == nullptr || i + 1 >= argc) {
            std::fprintf(stderr,
                         "usage: %s [--matches N] [--careers N] [--max-matches N] [--player-level 0..2] "
                         "[--workers N]\n",
                         argv[0]);
            return 2;
        }
        *target = std::atoi(argv[++i]);
    }
    options.workers = std::max(1, options.workers);
    options.careers = std::clamp(options.careers, 0, 1000);
    options.playerLevel = std::clamp(options.playerLevel, 0, 2);
    return qv::bench::Run(options);
}
