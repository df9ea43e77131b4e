// The 45 computer opponents of the club and the file that holds them.
#include "tools/opponents.h"

#include "tools/data_format.h"

namespace qv::tools {
namespace {

struct Row {
    const char* name;
    const char* textA;
    const char* textB;
    const char* description;
    // The portrait: what the texts say of the person, and how to show it.
    PortraitLook look;
};

using enum Sex;
using enum Age;
using enum Hair;
using enum HairShade;
using enum Headwear;
using enum Mood;
using enum Clothes;

const Row kRows[kOpponentLevels * kOpponentsPerLevel] = {
    // Guests: newcomers and regulars of the ground floor.
    {"LILA",
     "Student",
     "Plays for fun",
     "Lila came for the music and stayed for the cards. She still counts arrows on her fingers.",
     {kWoman, kYoung, 1, kPonytail, kChestnut, kHeadphones, kSmile, kHoodie, 0x3A9A94, kFreckles}},
    {"BENNY ROSS",
     "Taxi driver",
     "Quick hands",
     "Benny drops in between two fares and plays fast, hoping the meter is still running.",
     {kMan, kAdult, 2, kShort, kBlack, kFlatCap, kSmirk, kJacket, 0x8A5A34, kStubble}},
    {"MARGOT",
     "Florist",
     "Loves the weak",
     "Margot keeps the little cards nobody wants and gives each of them a name.",
     {kWoman, kAdult, 0, kWavy, kAuburn, kNone, kSmile, kDress, 0x4E9A52, kFlower}},
    {"TOMMY VEE",
     "Drummer",
     "Plays on the beat",
     "Tommy taps the table in time with the band. His rhythm is better than his deck.",
     {kMan, kYoung, 3, kSpiky, kBlack, kHeadband, kGrin, kLeather, 0xB23A3A, 0}},
    {"CLARA DUNE",
     "Librarian",
     "Reads the rules",
     "Clara has read the rule book twice. She quotes it while she loses.",
     {kWoman, kAdult, 1, kBun, kBrown, kNone, kCalm, kSweater, 0xB89A6A, kGlasses}},
    {"OSCAR PIKE",
     "Waiter",
     "Never sits down",
     "Oscar plays standing, a tray in one hand and a card in the other.",
     {kMan, kAdult, 2, kSlick, kBlack, kNone, kCalm, kWaistcoat, 0x2A2A34, kBowTie}},
    {"NINA BLOOM",
     "Painter",
     "Likes the colours",
     "Nina chooses her cards for their pictures. Sometimes that even works.",
     {kWoman, kYoung, 4, kCurly, kBlack, kBeret, kSmile, kSmock, 0xE0D6C0, kEarrings}},
    {"FELIX GRAY",
     "Night guard",
     "Wide awake",
     "Felix guards the car park and plays during his breaks. He never yawns.",
     {kMan, kAdult, 0, kShort, kGrey, kPeakedCap, kCalm, kUniform, 0x2E3E6E, kMoustache}},
    {"ROSA MARCH",
     "Singer",
     "Sings when she wins",
     "Rosa opens the show on Fridays. Beat her and the whole room hears about it.",
     {kWoman, kAdult, 2, kWavy, kBlack, kNone, kSinging, kDress, 0xC8283C, kEarrings | kFlower}},
    {"LEO STRAND",
     "Sailor",
     "Waits for the tide",
     "Leo plays slowly and patiently, like a man who has seen many storms.",
     {kMan, kOld, 1, kShort, kWhite, kBeanie, kCalm, kSweater, 0x2C3C64, kBeard}},
    {"IDA FROST",
     "Nurse",
     "Calm and cold",
     "Ida never smiles at the table. Her cards do the talking for her.",
     {kWoman, kAdult, 0, kBob, kPlatinum, kNurseCap, kCalm, kTunic, 0xEEF0F4, 0}},
    {"MAX COLLIER",
     "Miner",
     "Digs for luck",
     "Max saved his wages for weeks to buy one good booster. He guards it well.",
     {kMan, kAdult, 3, kShort, kBrown, kMinerHelmet, kCalm, kOveralls, 0x4A5A6A, kStubble}},
    {"ZOE LANGLEY",
     "Dancer",
     "Light on her feet",
     "Zoe slips between the tables and her cards slip into the corners.",
     {kWoman, kYoung, 3, kBun, kBlack, kNone, kSmile, kLeotard, 0xE070A8, kEarrings}},
    {"HUGO BELL",
     "Postman",
     "Always on time",
     "Hugo delivers letters by day and defeats guests by night. He wants to be a member.",
     {kMan, kYoung, 1, kShort, kAuburn, kPeakedCap, kSmile, kUniform, 0x3050A0, kFreckles}},
    {"VERA SOLE",
     "Cook",
     "Spicy openings",
     "Vera plays hot and fast. The best guest of the club, and she knows it.",
     {kWoman, kAdult, 2, kPonytail, kBrown, kChefHat, kSmirk, kTunic, 0xF2F0EA, kEarrings}},
    // Members: the club's own players.
    {"DOC HALLORAN",
     "Surgeon",
     "Precise cuts",
     "The doctor takes cards apart like a patient on the table. Never careless.",
     {kMan, kOld, 0, kShort, kGrey, kSurgeonCap, kCalm, kTunic, 0x5A9A8A, kGlasses}},
    {"MADAME ZITA",
     "Fortune teller",
     "Sees your hand",
     "Zita claims to read the cards before they are played. Most nights she does.",
     {kWoman, kAdult, 2, kLong, kBlack, kHeadscarf, kSmirk, kDress, 0x6A2A7A, kEarrings | kNecklace}},
    {"SLICK NOLAN",
     "Car dealer",
     "Sells a bluff",
     "Nolan smiles, shakes your hand and takes your best card while you blink.",
     {kMan, kAdult, 1, kSlick, kBlack, kNone, kGrin, kSuit, 0x8A7A5A, kMoustache | kTie}},
    {"JUDGE MORROW",
     "Retired judge",
     "Strict but fair",
     "Morrow plays by the book and punishes every mistake without mercy.",
     {kMan, kOld, 0, kBaldSides, kWhite, kNone, kFrown, kRobe, 0x1E1E26, kGlasses}},
    {"BARONESS ILA",
     "Heiress",
     "Buys the best",
     "The baroness owns more boosters than anyone. Money is not her problem.",
     {kWoman, kAdult, 0, kWavy, kBlond, kTiara, kSmirk, kGown, 0x3A6ABA, kEarrings | kNecklace}},
    {"CAPTAIN REX",
     "Pilot",
     "Flies high",
     "Rex plays as he flies: fast and straight at the target.",
     {kMan, kAdult, 2, kShort, kBrown, kAviator, kGrin, kLeather, 0x6A4A2A, 0}},
    {"MISS PEARL",
     "Jeweller",
     "Rare cards only",
     "Pearl polishes her cards before each match. Each one is a gem.",
     {kWoman, kAdult, 1, kBob, kBlack, kNone, kCalm, kDress, 0x2A4A6A, kEarrings | kNecklace}},
    {"OLD SAMSON",
     "Blacksmith",
     "Heavy hitter",
     "Samson hits the board as hard as his anvil. His cards hit harder.",
     {kMan, kOld, 3, kBald, kGrey, kNone, kFrown, kOveralls, 0x5A3A2A, kBeard}},
    {"LUCKY JANE",
     "Gambler",
     "Feels lucky",
     "Jane bets on every match in the club and wins more than she should.",
     {kWoman, kAdult, 1, kWavy, kAuburn, kVisor, kGrin, kWaistcoat, 0x2A5A3A, kEarrings}},
    {"PROFESSOR OT",
     "Professor",
     "Thinks ahead",
     "The professor plans six moves ahead and writes them on a napkin.",
     {kMan, kOld, 2, kWild, kWhite, kNone, kCalm, kSuit, 0x7A6A4A, kGlasses | kMoustache | kBowTie}},
    {"VIOLET KANE",
     "Actress",
     "Plays a part",
     "Violet cries when she loses a card. Do not believe a single tear.",
     {kWoman, kAdult, 0, kLong, kViolet, kNone, kSmirk, kGown, 0x7A3A9A, kTear | kBeautySpot}},
    {"BRUNO FALCO",
     "Boxer",
     "Never backs down",
     "Bruno once fought for a title. Now he fights for every slot of the board.",
     {kMan, kAdult, 3, kCropped, kBlack, kNone, kFrown, kHoodie, 0xB02A2A, kScar}},
    {"SISTER MAUD",
     "Organist",
     "Patient soul",
     "Maud plays hymns by day and merciless combos by night.",
     {kWoman, kOld, 0, kBun, kGrey, kVeil, kSmile, kRobe, 0x1E1E26, kGlasses}},
    {"COUNT DRAVO",
     "Collector",
     "Night owl",
     "The count only comes after midnight and leaves before the sun rises.",
     {kMan, kAdult, 0, kSlick, kBlack, kNone, kSmirk, kCape, 0x1A1A22, 0}},
    {"IRIS VALE",
     "Detective",
     "Finds the clue",
     "Iris reads every move you make. Hiding a trap from her is hard.",
     {kWoman, kAdult, 2, kBob, kChestnut, kFedora, kCalm, kTrenchCoat, 0xA08A5A, kEarrings}},
    // Elite: the masters of the top floor.
    {"THE VIOLIN",
     "Virtuoso",
     "Every note counts",
     "A masked musician who plays cards as well as strings. Nobody knows his face.",
     {kMan, kAdult, 1, kSlick, kBlack, kNone, kCalm, kSuit, 0x1E1E26, kMask | kBowTie}},
    {"GRAND MOIRA",
     "Club founder",
     "Saw it all",
     "Moira opened the club forty years ago. She has beaten everyone since.",
     {kWoman, kOld, 1, kBun, kWhite, kNone, kSmile, kDress, 0x5A2A4A, kEarrings | kNecklace}},
    {"SILAS CROWE",
     "Banker",
     "Cold numbers",
     "Silas counts the value of every card in his head. He never overpays.",
     {kMan, kAdult, 0, kSlick, kGrey, kNone, kCalm, kSuit, 0x3A3A44, kMonocle | kTie}},
    {"QUEEN ODETTE",
     "Champion",
     "Rules the floor",
     "Odette won the elite cup three years in a row. She wants a fourth.",
     {kWoman, kAdult, 4, kLong, kBlack, kCrown, kSmirk, kGown, 0xB08A2A, kEarrings | kNecklace}},
    {"DEMON JAX",
     "Street legend",
     "No mercy",
     "Jax learned the game in back alleys. His chains of captures are famous.",
     {kMan, kYoung, 2, kMohawk, kAuburn, kNone, kGrin, kLeather, 0x2A2A2A, kScar | kEarrings}},
    {"LADY NOCTURN",
     "Poet",
     "Writes in the dark",
     "She writes a poem for every card she takes. Her books are thick.",
     {kWoman, kAdult, 0, kLong, kBlack, kNone, kCalm, kCape, 0x2A1A3A, kNecklace}},
    {"KAISER VOLK",
     "General",
     "Wins the war",
     "Volk moves his cards like troops and never leaves a flank open.",
     {kMan, kOld, 0, kShort, kGrey, kPeakedCap, kFrown, kUniform, 0x4A5A3A, kMoustache}},
    {"MAESTRO ELIO",
     "Conductor",
     "Leads the band",
     "Elio conducts the house band between rounds without missing a move.",
     {kMan, kOld, 2, kWild, kWhite, kNone, kSmile, kSuit, 0x1E1E26, kBowTie}},
    {"ONYX TWINS",
     "Acrobats",
     "Two minds as one",
     "The twins play one deck together and never need to speak.",
     {kUnsaid, kYoung, 3, kShort, kBlack, kNone, kSmirk, kLeotard, 0x2A2A3A, kTwins}},
    {"MADAME NOIR",
     "Club manager",
     "Runs the house",
     "Noir runs the floor for the boss. When she plays, the music stops to watch.",
     {kWoman, kAdult, 1, kBob, kBlack, kNone, kSmirk, kGown, 0x1A1A22, kEarrings | kNecklace | kBeautySpot}},
    {"SHADOW KIT",
     "Thief",
     "Quick fingers",
     "Nobody saw Kit arrive. Nobody sees Kit take your card either.",
     {kUnsaid, kYoung, 2, kShort, kBlack, kHood, kSmirk, kHoodie, 0x2A2A36, kMask}},
    {"BARON SKULL",
     "Undertaker",
     "Buries decks",
     "The baron keeps the cards of his victims in a small black box.",
     {kMan, kOld, 0, kBald, kGrey, kTopHat, kSmirk, kSuit, 0x1A1A1E, kTie}},
    {"ARCHON VEX",
     "Mystic",
     "Sees the pattern",
     "Vex claims the board speaks to him. It seems to tell him where to play.",
     {kMan, kAdult, 3, kShort, kBlack, kTurban, kCalm, kRobe, 0x3A2A6A, kBeard}},
    {"DAME SERAPH",
     "Opera star",
     "High notes only",
     "Seraph plays only the strongest cards, like the highest notes of an aria.",
     {kWoman, kAdult, 2, kBun, kBlond, kTiara, kSinging, kGown, 0xC0C0D8, kEarrings | kNecklace}},
    {"THE WARDEN",
     "Gatekeeper",
     "Guards the gate",
     "The last master before the lair. Beat the warden and the gate may open.",
     {kMan, kAdult, 4, kCropped, kGrey, kPeakedCap, kFrown, kUniform, 0x2A2A2A, kMoustache}},
};

std::vector<OpponentSpec> BuildOpponents() {
    std::vector<OpponentSpec> out;
    for (int r = 0; r < kOpponentLevels * kOpponentsPerLevel; ++r) {
        OpponentSpec o;
        o.level = r / kOpponentsPerLevel;
        o.index = r % kOpponentsPerLevel;
        o.name = kRows[r].name;
        o.portrait = r + 1;
        o.textA = kRows[r].textA;
        o.textB = kRows[r].textB;
        o.description = kRows[r].description;
        o.look = kRows[r].look;
        out.push_back(o);
    }
    return out;
}

}  // namespace

const std::vector<OpponentSpec>& Opponents() {
    static const std::vector<OpponentSpec> kOpponents = BuildOpponents();
    return kOpponents;
}

bool WriteOpponentFile(const std::string& root) {
    Bytes bytes;
    for (const OpponentSpec& o : Opponents()) {
        AppendHashField(bytes, o.name);
        AppendHashField(bytes, std::to_string(o.portrait));
        AppendHashField(bytes, o.textA);
        AppendHashField(bytes, o.description);
        AppendHashField(bytes, o.textB);
        AppendLineBreak(bytes);
    }
    Scramble(bytes);
    return WriteFileBytes(root + "/DATA/OPPONENTS.DAT", bytes);
}

}  // namespace qv::tools
