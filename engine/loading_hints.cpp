// The hints shown on the loading screen, one picked at random each start.
#include "engine/loading_screen.h"

namespace qv {

const char* const gLoadingHints[kLoadingHintCount] = {
    "You can move faster in the club using the Quick menu.",
    "The cardshop is the place to go when you have some cash.",
    "A deck is a the pack of cards you will use to play against your opponents.",
    "All place of the club can be entered by clicking the picture or Action button.",
    "In a booster there are a lot of common card and a few rare only.",
    "A rare card is a card level 3 or 4, A common card is a card level 1 or 2.",
    "When you buy a booster, you can see the new cards highlighted in red in the card manager.",
    "You can create up to three characters.",
    "You can save anytime by exiting the game with the Start button.",
    "Choose carefully your cards, looks at the colored dots, those are power information.",
    "The blue color is the strongest.",
    "Having a lot of Dots is not necessary a good thing.",
    "Selling double cards is another way to earn cash in Quorvane.",
    "The instant play and tounaments are the places to go to earn cash and reputation.",
    "You can cut the music off in the option menu",
    "There are three level of opponents in the Instant play room.",
    "There are 45 differents opponents in the game.",
    "You'll need all card and A lot of cash to challenge Starman.",
    "You have to defeat all the opponent of the current class to battle the stronger ones.",
    "You can see the Number of Win/defeat/draw of each opponents.",
    "All the statistics are recorded into the Options room.",
    "You can battle an opponent as often as you want.",
    "There are random blocks among the Board to add a little more strategy in each match.",
    "Those Dots/Powericons are the most important thing to understand in the game.",
    "Be carefull to not attack with Less power than the other card or you would loose it.",
    "Always check carefully the diagonals dots.",
    "If you win a multihit fight , try to think to protect the string of card obtained.",
    "Trading with multiplayer is a good way to obtain rare cards.",
    "You can see the tutorial again by creating a new character.",
    "Touneys are hard, but the reward is worth it...",
    "Practice a lot against weak opponents.",
    "If you score a Perfect, you'll win the sixteen opponent cards.",
    "Don't forget to sell your Doubles!",
    "You can trade cards and money in multiplayer.",
    "Don't forget you can Drag and Drop card in the Card manager.",
    "The saves are automatic, so don't try to exit a game if you are loosing.",
    "Some of the characters are OMBREL related...",
    "You can see your statistics in the option menu.",
};

}  // namespace qv
