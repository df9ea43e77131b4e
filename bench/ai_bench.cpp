// Times the level-2 computer opponent's placement: on the stored slow
// positions, on random endgames, and on positions a hill climb makes slower.
//
//   quorvane_bench ai DIR [--random N] [--climb SECONDS] [--seed N] [--reference] [--write FILE]
//
// DIR holds the stored positions (tests/data/ai-positions). --reference also
// times the plain recursion the search replaced; --write keeps the slowest
// position the climb found, in the stored format.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "match/computer_opponent.h"
#include "tests/ai_positions.h"
#include "tests/ai_reference.h"

namespace qv::bench {
namespace {

using test::AiPosition;

using Chooser = int (*)(const Board&, const CardHand&, Side, uint8_t&, int8_t&, int8_t&, bool);

// One placement decision in milliseconds; the pile is not considered.
double TimeMove(Chooser choose, const AiPosition& p) {
    uint8_t slot = 0;
    int8_t column = 0, row = 0;
    SeedRandom(1);
    auto start = std::chrono::steady_clock::now();
    choose(p.board, p.hand, BLUE, slot, column, row, false);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The median of several runs: the machine may be shared.
double MedianMove(Chooser choose, const AiPosition& p, int runs) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(TimeMove(choose, p));
    return Median(times);
}

void Stored(const std::string& dir, bool reference) {
    std::printf("level-2 move on the stored positions (median of 9 runs):\n");
    for (const std::string& name : test::StoredAiPositionNames()) {
        AiPosition p;
        if (!test::ReadAiPosition(dir + "/" + name + ".txt", &p)) {
            std::printf("  %-18s cannot be read\n", name.c_str());
            continue;
        }
        std::printf("  %-18s %8.2f ms", name.c_str(), MedianMove(ChooseAiPlacement, p, 9));
        if (reference) std::printf("   (plain recursion %8.1f ms)", MedianMove(test::reference::ChooseAiPlacement, p, 3));
        std::printf("\n");
    }
}

void Random(int count) {
    std::mt19937 rng(12345);
    std::vector<double> times;
    for (int i = 0; i < count; ++i) times.push_back(TimeMove(ChooseAiPlacement, test::RandomAiEndgame(rng, 1 + i % 6)));
    std::printf("level-2 move on %d random endgames (1 to 6 free cells): median %.3f ms, slowest %.2f ms\n", count,
                Median(times), times.empty() ? 0 : *std::max_element(times.begin(), times.end()));
}

// Small changes that may make a position slower: a card's power, an
// owner, or a whole card.
void Mutate(AiPosition& p, std::mt19937& rng) {
    int cell = static_cast<int>(rng() % kBoardCells);
    int x = cell / kBoardRows, y = cell % kBoardRows;
    switch (rng() % 4) {
    case 0:
    case 1: {
        const BoardCell& c = p.board.CellAt(x, y);
        if (c.free || c.owner == kNoSide) break;
        Card card = c.card;
        card.SetPower(static_cast<int>(rng() % 6), static_cast<int>(rng() % kDirectionCount));
        Side owner = c.owner;
        p.board.PlaceCard(card, x, y, owner);
        break;
    }
    case 2:
        if (!p.board.CellAt(x, y).free && p.board.CellAt(x, y).owner != kNoSide) p.board.FlipOwner(x, y);
        break;
    default: {
        int slot = static_cast<int>(rng() % kHandSize);
        if (!p.hand.IsSlotFilled(slot)) break;
        Card card = p.hand.CardAt(slot);
        card.SetPower(static_cast<int>(rng() % 6), static_cast<int>(rng() % kDirectionCount));
        p.hand.RemoveCardAt(slot);
        p.hand.AddCard(card);
        break;
    }
    }
}

std::string Format(const AiPosition& p) {
    std::string text;
    auto powers = [](const Card& card) {
        std::string digits;
        for (int d = 0; d < kDirectionCount; ++d) digits.push_back(static_cast<char>('0' + card.GetPower(d)));
        return digits;
    };
    for (int i = 0; i < kBoardCells; ++i) {
        const BoardCell& c = p.board.CellAt(i / kBoardRows, i % kBoardRows);
        text += std::to_string(c.free) + " " + std::to_string(c.owner) + " " + std::to_string(c.placedBy) + " " +
                std::to_string(c.card.GetId()) + " " + powers(c.card) + "\n";
    }
    for (int s = 0; s < kHandSize; ++s) {
        Card card = p.hand.IsSlotFilled(s) ? p.hand.CardAt(s) : Card();
        text += "1 1 1 " + std::to_string(card.GetId() < 0 ? 0 : card.GetId()) + " " + powers(card) + "\n";
    }
    return text;
}

void Climb(double seconds, uint32_t seed, const std::string& keep) {
    std::mt19937 rng(seed);
    auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(); };
    AiPosition worst;
    double worstMs = -1;
    int tries = 0;
    while (elapsed() < seconds) {
        // Restarts from fresh endgames now and then, else climbs from the worst.
        AiPosition p = tries % 200 == 0 || worstMs < 0 ? test::RandomAiEndgame(rng, 1 + rng() % 4) : worst;
        for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k) Mutate(p, rng);
        ++tries;
        if (p.board.CountFree() == 0 || p.hand.CountCards() == 0) continue;
        double ms = TimeMove(ChooseAiPlacement, p);
        if (ms > worstMs) {
            ms = MedianMove(ChooseAiPlacement, p, 3);  // confirm: not a hiccup of the machine
            if (ms > worstMs) {
                worstMs = ms;
                worst = p;
            }
        }
    }
    std::printf("level-2 move on the slowest of %d positions a %.0f s hill climb found: %.2f ms\n", tries, seconds,
                MedianMove(ChooseAiPlacement, worst, 9));
    if (!keep.empty()) {
        std::ofstream(keep) << Format(worst);
        std::printf("  kept in %s\n", keep.c_str());
    }
}

}  // namespace
}  // namespace qv::bench

int main(int argc, char** argv) {
    if (argc < 3 || std::strcmp(argv[1], "ai") != 0) {
        std::fprintf(stderr,
                     "usage: %s ai DIR [--random N] [--climb SECONDS] [--seed N] [--reference] [--write FILE]\n",
                     argv[0]);
        return 2;
    }
    std::string dir = argv[2];
    int random = 2000;
    double climb = 0;
    uint32_t seed = 777;
    bool reference = false;
    std::string keep;
    for (int i = 3; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--random" && i + 1 < argc) {
            random = std::atoi(argv[++i]);
        } else if (arg == "--climb" && i + 1 < argc) {
            climb = std::atof(argv[++i]);
        } else if (arg == "--seed" && i + 1 < argc) {
            seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
        } else if (arg == "--reference") {
            reference = true;
        } else if (arg == "--write" && i + 1 < argc) {
            keep = argv[++i];
        } else {
            std::fprintf(stderr, "unknown argument %s\n", arg.c_str());
            return 2;
        }
    }
    qv::SetAiLevel(2);
    qv::bench::Stored(dir, reference);
    if (random > 0) qv::bench::Random(random);
    if (climb > 0) qv::bench::Climb(climb, seed, keep);
    return 0;
}
