// The match's quick-save block as read from the file, before any of it is checked or used.
#pragma once

#include <cstdint>

#include "cards/card.h"
#include "cards/containers.h"
#include "match/board.h"
#include "match/match.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

// Every stored field in file order. States are kept as the raw bytes; the
// cards of the board, hands and piles and the two single cards are already
// rebuilt from their ids.
struct SavedMatchBlock {
    int8_t sideToMove = 0;
    int8_t multiHitSide = 0;
    uint8_t multiHitRunning = 0;
    Board board;
    CardHand hands[2];
    DrawPile piles[2];
    uint8_t cardTaken = 0;
    uint8_t selectedSlot = kNoSlot;
    int8_t attackerColumn = 0;
    int8_t attackerRow = 0;
    int8_t targetColumn = 0;
    int8_t targetRow = 0;
    int8_t grabX = 0;
    int8_t grabY = 0;
    int16_t dragX = 0;
    int16_t dragY = 0;
    int8_t state = 0;
    int8_t returnState = 0;
    int8_t firstTurnState = 0;
    MessageLine message;
    AnimationState animation;  // its pictures stay empty
    uint32_t pauseDeadline = 0;
    uint8_t boss = 0;
    uint8_t quickGame = 0;
    uint8_t tutorial = 0;
    uint8_t tutorialStep = 0;
    uint8_t nextTutorialStep = 0;
    int16_t exchangeIds[4] = {0, 0, 0, 0};
    Card draggedCard;
    WString names[2];
};

// Reads the whole block at the file's position. False when the file ends
// early or a text's count is out of range; the block is then unusable.
bool ReadMatchBlock(platform::FileHandle file, SavedMatchBlock& block);

}  // namespace qv
