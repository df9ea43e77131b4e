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
};

const Row kRows[kOpponentLevels * kOpponentsPerLevel] = {
    // Guests: newcomers and regulars of the ground floor.
    {"LILA", "Student", "Plays for fun", "Lila came for the music and stayed for the cards. She still counts arrows on her fingers."},
    {"BENNY ROSS", "Taxi driver", "Quick hands", "Benny drops in between two fares and plays fast, hoping the meter is still running."},
    {"MARGOT", "Florist", "Loves the weak", "Margot keeps the little cards nobody wants and gives each of them a name."},
    {"TOMMY VEE", "Drummer", "Plays on the beat", "Tommy taps the table in time with the band. His rhythm is better than his deck."},
    {"CLARA DUNE", "Librarian", "Reads the rules", "Clara has read the rule book twice. She quotes it while she loses."},
    {"OSCAR PIKE", "Waiter", "Never sits down", "Oscar plays standing, a tray in one hand and a card in the other."},
    {"NINA BLOOM", "Painter", "Likes the colours", "Nina chooses her cards for their pictures. Sometimes that even works."},
    {"FELIX GRAY", "Night guard", "Wide awake", "Felix guards the car park and plays during his breaks. He never yawns."},
    {"ROSA MARCH", "Singer", "Sings when she wins", "Rosa opens the show on Fridays. Beat her and the whole room hears about it."},
    {"LEO STRAND", "Sailor", "Waits for the tide", "Leo plays slowly and patiently, like a man who has seen many storms."},
    {"IDA FROST", "Nurse", "Calm and cold", "Ida never smiles at the table. Her cards do the talking for her."},
    {"MAX COLLIER", "Miner", "Digs for luck", "Max saved his wages for weeks to buy one good booster. He guards it well."},
    {"ZOE LANGLEY", "Dancer", "Light on her feet", "Zoe slips between the tables and her cards slip into the corners."},
    {"HUGO BELL", "Postman", "Always on time", "Hugo delivers letters by day and defeats guests by night. He wants to be a member."},
    {"VERA SOLE", "Cook", "Spicy openings", "Vera plays hot and fast. The best guest of the club, and she knows it."},
    // Members: the club's own players.
    {"DOC HALLORAN", "Surgeon", "Precise cuts", "The doctor takes cards apart like a patient on the table. Never careless."},
    {"MADAME ZITA", "Fortune teller", "Sees your hand", "Zita claims to read the cards before they are played. Most nights she does."},
    {"SLICK NOLAN", "Car dealer", "Sells a bluff", "Nolan smiles, shakes your hand and takes your best card while you blink."},
    {"JUDGE MORROW", "Retired judge", "Strict but fair", "Morrow plays by the book and punishes every mistake without mercy."},
    {"BARONESS ILA", "Heiress", "Buys the best", "The baroness owns more boosters than anyone. Money is not her problem."},
    {"CAPTAIN REX", "Pilot", "Flies high", "Rex plays as he flies: fast and straight at the target."},
    {"MISS PEARL", "Jeweller", "Rare cards only", "Pearl polishes her cards before each match. Each one is a gem."},
    {"OLD SAMSON", "Blacksmith", "Heavy hitter", "Samson hits the board as hard as his anvil. His cards hit harder."},
    {"LUCKY JANE", "Gambler", "Feels lucky", "Jane bets on every match in the club and wins more than she should."},
    {"PROFESSOR OT", "Professor", "Thinks ahead", "The professor plans six moves ahead and writes them on a napkin."},
    {"VIOLET KANE", "Actress", "Plays a part", "Violet cries when she loses a card. Do not believe a single tear."},
    {"BRUNO FALCO", "Boxer", "Never backs down", "Bruno once fought for a title. Now he fights for every slot of the board."},
    {"SISTER MAUD", "Organist", "Patient soul", "Maud plays hymns by day and merciless combos by night."},
    {"COUNT DRAVO", "Collector", "Night owl", "The count only comes after midnight and leaves before the sun rises."},
    {"IRIS VALE", "Detective", "Finds the clue", "Iris reads every move you make. Hiding a trap from her is hard."},
    // Elite: the masters of the top floor.
    {"THE VIOLIN", "Virtuoso", "Every note counts", "A masked musician who plays cards as well as strings. Nobody knows his face."},
    {"GRAND MOIRA", "Club founder", "Saw it all", "Moira opened the club forty years ago. She has beaten everyone since."},
    {"SILAS CROWE", "Banker", "Cold numbers", "Silas counts the value of every card in his head. He never overpays."},
    {"QUEEN ODETTE", "Champion", "Rules the floor", "Odette won the elite cup three years in a row. She wants a fourth."},
    {"DEMON JAX", "Street legend", "No mercy", "Jax learned the game in back alleys. His chains of captures are famous."},
    {"LADY NOCTURN", "Poet", "Writes in the dark", "She writes a poem for every card she takes. Her books are thick."},
    {"KAISER VOLK", "General", "Wins the war", "Volk moves his cards like troops and never leaves a flank open."},
    {"MAESTRO ELIO", "Conductor", "Leads the band", "Elio conducts the house band between rounds without missing a move."},
    {"ONYX TWINS", "Acrobats", "Two minds as one", "The twins play one deck together and never need to speak."},
    {"MADAME NOIR", "Club owner", "Owns the house", "The owner plays rarely. When she does, the music stops to watch."},
    {"SHADOW KIT", "Thief", "Quick fingers", "Nobody saw Kit arrive. Nobody sees Kit take your card either."},
    {"BARON SKULL", "Undertaker", "Buries decks", "The baron keeps the cards of his victims in a small black box."},
    {"ARCHON VEX", "Mystic", "Sees the pattern", "Vex claims the board speaks to him. It seems to tell him where to play."},
    {"DAME SERAPH", "Opera star", "High notes only", "Seraph plays only the strongest cards, like the highest notes of an aria."},
    {"THE WARDEN", "Gatekeeper", "Guards the gate", "The last master before the lair. Beat the warden and the gate may open."},
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
