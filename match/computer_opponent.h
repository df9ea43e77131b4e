// The computer opponent: placement, attack and chain choices scored on board copies at three levels.
#pragma once

#include <cstdint>

#include "cards/containers.h"
#include "match/board.h"

namespace qv {

// 0..2: the deciding participant's strength code div 10 (the boss plays 0).
extern uint8_t gAiLevel;
// Noise amplitude per level.
extern const int16_t kAiNoise[3];

void SetAiLevel(uint8_t level);

// Whether the computer takes its pile card instead of laying one. Draws
// RandomBelow(h) only when the hand is neither full nor empty and half the
// free cells are at least its count.
bool ShouldDrawCard(const Board& board, const CardHand& hand);
bool ShouldAiDrawCard(const Board& board, const CardHand& hand);

// The placement: slot 255 and score -1 mean "take the pile card". Otherwise
// the filled slot and free cell of the best score (the first of equals, slot,
// then column, then row). When no candidate scores above the floor the first
// legal candidate is given, never an occupied cell or an empty slot. With
// mayDraw false the pile is not considered (it is empty).
int ChooseAiPlacement(const Board& board, const CardHand& hand, Side side, uint8_t& slot,
                      int8_t& column, int8_t& row, bool mayDraw = true);
// The target of the card at (x, y) for side, which has at least one target;
// falls back to the first attackable neighbour. Returns the best score.
int ChooseAiAttack(const Board& board, Side side, int x, int y, int8_t& targetColumn,
                   int8_t& targetRow);
// The next target of a chain from (x, y) for side, following won captures.
int ScoreAiAttackChain(const Board& board, Side side, int x, int y, int8_t& targetColumn,
                       int8_t& targetRow);

// Static evaluation for side at gAiLevel, noise included (one RandomBelow draw).
int EvaluateBoard(const Board& board, Side side);
// The value of the directions of the card at (x, y).
int CellStrength(const Board& board, int x, int y);
// Safe maps, indexed x * 4 + y.
void ComputeSafeMap1(const Board& board, uint8_t safe[kBoardCells]);
void ComputeSafeMap2(const Board& board, const uint8_t safe1[kBoardCells],
                     uint8_t safe[kBoardCells]);
// How far captures would run if the card at (x, y) were captured; -1 none.
int8_t CaptureChainDepth(const Board& board, int x, int y);
int CountThreats(const Board& board, int x, int y);
int ThreatScore(const Board& board, int x, int y);

}  // namespace qv
