// The rules tutorial: six pages, and four demonstration moves played by the match itself.
#include "cards/card_database.h"
#include "engine/message_box.h"
#include "match/match.h"
#include "match/match_layout.h"

namespace qv {

namespace {

// The rule pages of steps 13 to 18, as the player reads them.
const char16_t* const kTutorialPages[6] = {
    u"This is the board of the game. You'll have to place your cards in the empty slots in "
    u"order to obtain more slots than the opponent at the end of the match.\n\n You can see "
    u"five cards of your deck in the lower part of the screen, the other cards are in the "
    u"pile. At your turn of play, you can either place a card on the board or take a card "
    u"from the pile.\nClose this box, to see the board, and then click on the screen to "
    u"continue the tutorial.\n\nHINT: Blocks are randomly places on the Board to add a "
    u"little more strategy in each match.",
    u"To attack an opponent's card, make sure it has a PowerIcon placed towards the card "
    u"you want to take.\n The power icons are constantly displayed on the interface so that "
    u"you always know what kind of card you are playing (YELLOW -weakest- to BLUE "
    u"-strongest).\nWhen a card attack another one : \n     - If the defending card "
    u"doesen't have any Powericon in the direction of the attack, the card will turn to the "
    u"color of the attacking player.\n See the example, and then click on the screen to "
    u"continue.\n\n HINT: Those Dots-Powericons are the most important thing to understand "
    u"in the game.",
    u"\n     - The defender has a PowerIcon in the direction of the attacking card, the "
    u"card having the best PowerIcon will win the fight, if their PowerIcon are the same, "
    u"there is a draw and no card changes color.\n  See the example, and then click on the "
    u"screen to continue.\n\n HINT: Be careful not no attack with less power than the other "
    u"card or you will lose your card.",
    u"\n     - When your card can attack multiple cards, you have to choose which one will "
    u"be attacked.\n See the example, and then click on the screen to continue.\n\n HINT: "
    u"Always check carefully the diagonals dots.",
    u"MULTI-HITS : \n\n When you win a card battle, the card you just obtain will attack "
    u"automatically with every dots it has, meaning that if other cards in attackable "
    u"position around the newly obtained cards there will be another fight. This is called "
    u"a Multihit\n\n  See the example, and then click on the screen to continue. \n\nHINT: "
    u"If you win a multihit fight, try to think to protect the string of card obtained, "
    u"otherwise you could suffer a counter attack.",
    u"The match ends when there is no more free place on the board, the winner is the one "
    u"having the more cards on the board. When you win a game, you'll win randomly a card "
    u"from the opponent, same if you lose, you'll lose one of your card. If there is a "
    u"perfect (all the cards are the same color at the end of the match) all the cards are "
    u"lost or won.\n\n Now that you have completed the tutorial, you can start the game "
    u"yourself by applying what you just learned in this tutorial.\n\n\n         Good Luck "
    u"!!!\n\nHINT: All the cards in the tutorial have been removed from your deck.",
};

struct Demonstration {
    uint8_t nextStep;
    int16_t cardId;
    int8_t attackerColumn, attackerRow, targetColumn, targetRow;
};

const Demonstration kDemonstrations[4] = {
    {21, 16, 3, 2, 3, 3},
    {22, 2, 2, 2, 3, 2},
    {23, 158, 3, 3, 3, 2},
    {24, 2, 0, 0, 1, 0},
};

}  // namespace

void Match::ShowTutorialPage() {
    if (tutorialStep_ < 13 || tutorialStep_ > 18) return;
    Redraw(0);
    ShowMessageBox(kTutorialPages[tutorialStep_ - 13], WString(), u"Ok", 0, 20, 20, 200, 260, 20, 3,
                   3);
    switch (tutorialStep_) {
        case 13: tutorialStep_ = 20; break;
        case 14: PlayTutorialDemo(1); break;
        case 15: PlayTutorialDemo(2); break;
        case 16: PlayTutorialDemo(3); break;
        case 17: PlayTutorialDemo(4); break;
        default:
            tutorial_ = 0;
            Leave();
            break;
    }
}

void Match::HandleTutorialTap(int16_t x, uint16_t y) {
    switch (tutorialStep_) {
        case 20: tutorialStep_ = 14; break;
        case 21: tutorialStep_ = 15; break;
        case 22: tutorialStep_ = 16; break;
        case 23: tutorialStep_ = 17; break;
        case 24: tutorialStep_ = 18; break;
        case 26:
            // The open choice may be a placement's or a chain's.
            if (state_ == kStateLocalChoosesChainTarget) {
                PickMultiHitTarget(x, y);
            } else {
                PickAttackTarget(x, y);
            }
            break;
        default: break;
    }
}

void Match::PlayTutorialDemo(int demo) {
    const Demonstration& d = kDemonstrations[demo - 1];
    tutorialStep_ = 25;
    nextTutorialStep_ = d.nextStep;
    switch (demo) {
        case 1: board_.SetUpTutorialBoard1(); break;
        case 2: board_.SetUpTutorialBoard2(); break;
        case 3: board_.SetUpTutorialBoard3(); break;
        default: board_.SetUpTutorialBoard4(); break;
    }
    Redraw(0);
    Card card = LoadCard(d.cardId);
    sideToMove_ = BLUE;
    attackerColumn_ = d.attackerColumn;
    attackerRow_ = d.attackerRow;
    targetColumn_ = d.targetColumn;
    targetRow_ = d.targetRow;
    hands_[BLUE].RemoveCardAt(0);
    hands_[BLUE].PutCardInSlot(card, 0);
    selectedSlot_ = 0;
    StartCardFlight(card, BLUE, attackerColumn_, attackerRow_, kComputerFlightX, kComputerFlightY,
                    kBigCardWidth, kBigCardHeight, kStateComputerCardLands);
}

}  // namespace qv
