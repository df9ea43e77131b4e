// The card set: families of four cards, their powers, worth, texts and the database files.
#include "tools/card_set.h"

#include <cctype>
#include <map>

#include "tools/data_format.h"
#include "tools/rng.h"

namespace qv::tools {
namespace {

// One creature per information entry; its four cards are one of each level.
const char* const kFamilies[kQuarter] = {
    "MOTH", "FOX", "CROW", "TOAD", "WISP", "IMP", "OWL", "BAT", "NEWT", "HARE",
    "LYNX", "MOLE", "WREN", "EEL", "RAT", "ASP", "ELK", "YAK", "BOAR", "MINK",
    "PUMA", "IBIS", "KOI", "GNAT", "WASP", "CRAB", "SEAL", "SWAN", "LARK", "DOVE",
    "HAWK", "KITE", "RAVEN", "VIPER", "TIGER", "OTTER", "BISON", "HERON", "GECKO", "COBRA",
    "DINGO", "HYENA", "LEMUR", "LLAMA", "MACAW", "ORCA", "PANDA", "QUAIL", "SKUNK", "SLOTH",
    "STOAT", "TAPIR", "WOLF", "BEAR", "DEER", "GOAT", "MULE", "PONY", "LION", "JACKAL",
    "BADGER", "BEAVER", "FALCON", "FERRET", "GOBLIN", "GOLEM", "TROLL", "OGRE", "GNOME", "PIXIE",
    "SPRITE", "DJINN", "WYRM", "DRAKE", "SPHINX", "KRAKEN", "HYDRA", "GRIFON", "YETI", "NYMPH",
    "SATYR", "GHOUL", "SHADE", "WIGHT", "LICH", "MUMMY"};

// Level 2 and 3 cards carry a prefix, level 4 cards a title.
const char* const kPrefix2[] = {"DUSK", "NEON", "JAZZ", "SILK", "SMOKY", "GILT",
                                "RUBY", "JADE", "INKY", "MOON", "STAR", "DISCO"};
const char* const kPrefix3[] = {"STORM", "EMBER", "FROST", "IRON", "GRIM", "THORN",
                                "BLAZE", "ONYX", "AZURE", "GLOOM", "CRYPT", "VOID"};
const char* const kTitle4[] = {"KING", "QUEEN", "LORD", "TITAN", "SAGE", "BARON",
                               "DUKE", "ELDER", "MAGUS", "REGENT", "PRIME", "EMPRESS"};
constexpr int kWordCount = 12;

const char* const kHaunts[] = {
    "the back alleys", "the dance floor", "the cloakroom", "the rooftops", "the cellar bar",
    "the neon signs", "the velvet booths", "the jukebox", "the fire escape", "the coat racks",
    "the lounge", "the stage lights", "the card tables", "the balcony", "the side door"};
const char* const kHabits[] = {
    "Plays only after midnight.", "Never folds a good hand.", "Hums along to the band.",
    "Bluffs with a straight face.", "Counts every single card.", "Tips the barman twice.",
    "Waits for the last round.", "Trusts no dealer at all.", "Wins when the lights dim.",
    "Collects lost chips.", "Dances between the turns.", "Keeps one card hidden."};
const char* const kRanks[] = {
    "Guards the club at night.", "Knows every secret door.", "Feared by the bouncers.",
    "Strikes from the shadows.", "Its stare breaks a bluff.", "Turns a draw into a win.",
    "Shakes the whole floor.", "Owns a booth of its own.", "Calls the tune of the band.",
    "Never loses a duel."};
const char* const kLegends[] = {
    "Rules the club until dawn.", "A legend of the night.", "Few have seen it play.",
    "Its name opens every door.", "The last hand is its own.", "Even the boss bows to it.",
    "Old as the club itself.", "Its deck is the envy of all."};

// Powers that make each page of the match tutorial show what it describes
// (up, up-right, right, down-right, down, down-left, left, up-left).
const std::map<int, std::array<int, 8>> kTutorialPowers = {
    {2, {1, 0, 2, 0, 1, 0, 0, 0}},    // attacker of demos 2 and 4: right 2
    {13, {1, 0, 0, 2, 1, 0, 1, 0}},   // demo 3: weaker towards 158, no right
    {16, {1, 0, 0, 0, 2, 0, 1, 0}},   // demo 1 attacker: down
    {17, {1, 0, 0, 0, 1, 0, 3, 0}},   // demo 2 defender: left 3 beats 2
    {18, {2, 0, 0, 1, 2, 0, 0, 1}},   // demo 3: down below 158's up, no sides
    {33, {1, 0, 1, 0, 1, 2, 0, 0}},   // demo 3: down-left below 158, no left
    {38, {0, 0, 2, 0, 1, 0, 2, 0}},   // demo 1 target: nothing upwards
    {73, {1, 0, 1, 0, 1, 0, 1, 0}},   // demo 4 bystander
    {149, {0, 0, 3, 1, 2, 0, 1, 0}},  // demo 4 link 1
    {158, {3, 3, 0, 0, 0, 0, 1, 3}},  // demo 3 attacker: three targets above
    {177, {0, 0, 4, 0, 3, 2, 2, 0}},  // demo 4 link 2
    {242, {4, 0, 2, 3, 2, 1, 2, 3}},  // demo 4 link 4
    {247, {2, 0, 3, 0, 3, 0, 2, 1}},  // demo 4 link 5, the end of the chain
    {254, {0, 0, 0, 2, 5, 1, 3, 0}},  // demo 4 link 3
};

std::string Capitalised(const std::string& word) {
    std::string out = word;
    for (size_t i = 1; i < out.size(); ++i) {
        out[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(out[i])));
    }
    return out;
}

std::string CardName(int family, int level) {
    const std::string noun = kFamilies[family];
    switch (level) {
    case 1: return noun;
    case 2: return std::string(kPrefix2[family % kWordCount]) + " " + noun;
    case 3: return std::string(kPrefix3[(family * 5 + 3) % kWordCount]) + " " + noun;
    default: return noun + " " + kTitle4[(family * 7 + 1) % kWordCount];
    }
}

// Level 1: two or three weak arrows; level 4: five to seven strong ones.
std::array<int, 8> RandomPowers(Rng& rng, int level) {
    static const int kMinArrows[5] = {0, 2, 3, 4, 5};
    static const int kMaxArrows[5] = {0, 3, 4, 5, 7};
    static const int kMinPower[5] = {0, 1, 1, 2, 3};
    static const int kMaxPower[5] = {0, 3, 4, 5, 5};
    std::array<int, 8> powers{};
    const int arrows = rng.Range(kMinArrows[level], kMaxArrows[level]);
    int placed = 0;
    while (placed < arrows) {
        const int d = rng.Below(8);
        if (powers[d] != 0) continue;
        // Favour the middle of the level's range so extremes stay rare.
        const int a = rng.Range(kMinPower[level], kMaxPower[level]);
        const int b = rng.Range(kMinPower[level], kMaxPower[level]);
        powers[d] = (a + b + 1) / 2;
        ++placed;
    }
    return powers;
}

// The raw worth stored for a wanted sell price (the reader halves it and takes 74%).
int WorthForValue(int value) { return ((value * 100 + 73) / 74) * 2; }

// A card sells for its level's base, plus a step for every point its powers
// add up to above the least the level deals out. The bases keep each level's
// dearest card of the set below the next level's cheapest, and within a
// level the value rises with the powers, so the opponents' decks, which keep
// the most valuable of several draws, are the stronger the more draws they
// get. A booster's eight cards sell back for about two thirds of its price:
// buying to sell again loses credits.
struct ValueScale {
    int base;
    int step;
    int leastTotal;
};
const ValueScale kValueScales[5] = {{0, 0, 0}, {1, 1, 2}, {6, 1, 3}, {20, 2, 8}, {70, 8, 15}};

// draw (0..7) orders cards of the same power total without reaching the
// next step.
int CardValue(int level, const std::array<int, 8>& powers, int draw) {
    const ValueScale& scale = kValueScales[level];
    int total = 0;
    for (int p : powers) total += p;
    return scale.base + scale.step * (total - scale.leastTotal) + draw * scale.step / 8;
}

std::vector<CardSpec> BuildSet() {
    std::vector<CardSpec> cards;
    Rng rng(344);
    for (int id = 1; id <= kCardTotal; ++id) {
        CardSpec card;
        card.id = id;
        card.level = (id - 1) / kQuarter + 1;
        card.family = (id - 1) % kQuarter;
        card.name = CardName(card.family, card.level);
        card.powers = RandomPowers(rng, card.level);
        const auto fixed = kTutorialPowers.find(id);
        if (fixed != kTutorialPowers.end()) card.powers = fixed->second;
        card.worth = WorthForValue(CardValue(card.level, card.powers, rng.Below(8)));
        cards.push_back(card);
    }
    return cards;
}

std::vector<InfoEntry> BuildInfo() {
    std::vector<InfoEntry> entries;
    for (int p = 0; p < kQuarter; ++p) {
        const std::string noun = Capitalised(kFamilies[p]);
        InfoEntry entry;
        entry.heading = "The " + noun + " family";
        entry.lines[0] = "Haunts " + std::string(kHaunts[p % 15]) + ".";
        entry.lines[1] = kHabits[(p * 7 + 2) % 12];
        entry.lines[2] = kRanks[(p * 3 + 1) % 10];
        entry.lines[3] = kLegends[(p * 5 + 4) % 8];
        entries.push_back(entry);
    }
    return entries;
}

}  // namespace

const std::vector<CardSpec>& CardSet() {
    static const std::vector<CardSpec> kSet = BuildSet();
    return kSet;
}

const std::vector<InfoEntry>& CardInfo() {
    static const std::vector<InfoEntry> kInfo = BuildInfo();
    return kInfo;
}

int ValueFromWorth(int worth) {
    const int16_t low = static_cast<int16_t>(worth & 0xFFFF);
    return static_cast<int>(static_cast<double>(low >> 1) * 0.74);
}

std::string PowerDigits(const CardSpec& card) {
    std::string digits;
    for (int p : card.powers) digits.push_back(static_cast<char>('0' + p));
    return digits;
}

bool WriteCardDatabase(const std::string& root) {
    std::vector<Bytes> records;
    for (const CardSpec& card : CardSet()) {
        Bytes record;
        AppendHashField(record, card.name);
        AppendLineBreak(record);
        AppendHashField(record, PowerDigits(card));
        AppendLineBreak(record);
        AppendHashField(record, std::to_string(card.worth));
        AppendLineBreak(record);
        AppendHashField(record, std::to_string(card.level));
        AppendLineBreak(record);
        records.push_back(record);
    }
    Bytes info;
    for (const InfoEntry& entry : CardInfo()) {
        AppendHashField(info, entry.heading);
        for (const std::string& line : entry.lines) AppendHashField(info, line);
        AppendLineBreak(info);
    }
    const CardFiles files = EncodeCardFiles(records, info);
    const std::string dir = root + "/DATA/CARDS/SET 1/";
    return WriteFileBytes(dir + "CARDS.IND", files.index) &&
           WriteFileBytes(dir + "CARDS.DAT", files.data) &&
           WriteFileBytes(dir + "CARDS.INF", files.info);
}

}  // namespace qv::tools
