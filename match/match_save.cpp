// The match's block of the quick save: writing it field by field, and reading it whole into a
// record that is checked before the match takes any of it.
#include "cards/card_database.h"
#include "cards/save_io.h"
#include "match/match.h"
#include "match/match_block.h"

namespace qv {

namespace {

// Sequential writes that remember whether every byte reached the file; after
// the first failure nothing more is tried.
class BlockWriter {
public:
    explicit BlockWriter(platform::FileHandle file) : file_(file) {}
    void U8(uint8_t value) { Part(ok_ && WriteU8(file_, value)); }
    void S8(int8_t value) { U8(static_cast<uint8_t>(value)); }
    void I16(int16_t value) { Part(ok_ && WriteI16(file_, value)); }
    void I32(int32_t value) { Part(ok_ && WriteI32(file_, value)); }
    void U32(uint32_t value) { I32(static_cast<int32_t>(value)); }
    void Text(const WString& text) { Part(ok_ && WriteSaveText(file_, text)); }
    void Part(bool written) { ok_ = ok_ && written; }
    bool Ok() const { return ok_; }

private:
    platform::FileHandle file_;
    bool ok_ = true;
};

// Sequential reads that stop at the first short field or bad text.
class BlockReader {
public:
    explicit BlockReader(platform::FileHandle file) : file_(file) {}
    void U8(uint8_t& value) { Part(ok_ && ReadU8(file_, value)); }
    void S8(int8_t& value) { Part(ok_ && ReadI8(file_, value)); }
    void I16(int16_t& value) { Part(ok_ && ReadI16(file_, value)); }
    void I32(int32_t& value) { Part(ok_ && ReadI32(file_, value)); }
    void U32(uint32_t& value) {
        int32_t v = 0;
        I32(v);
        value = static_cast<uint32_t>(v);
    }
    void Text(WString& text) { Part(ok_ && ReadSaveText(file_, text)); }
    // A stored card: the one its id names in the database.
    void CardById(Card& card) {
        int16_t id = 0;
        I16(id);
        if (ok_) card = LoadCard(id);
    }
    void Part(bool whole) { ok_ = ok_ && whole; }
    bool Ok() const { return ok_; }

private:
    platform::FileHandle file_;
    bool ok_ = true;
};

}  // namespace

bool Match::WriteState(platform::FileHandle file) {
    selectedSlot_ = kNoSlot;
    BlockWriter w(file);
    w.S8(sideToMove_);
    w.S8(multiHitSide_);
    w.U8(multiHitRunning_);
    w.Part(w.Ok() && board_.Write(file));
    for (const CardHand& hand : hands_) w.Part(w.Ok() && hand.Write(file));
    for (const DrawPile& pile : piles_) w.Part(w.Ok() && pile.Write(file));
    w.U8(cardTaken_);
    w.U8(0);
    w.U8(selectedSlot_);
    w.S8(attackerColumn_);
    w.S8(attackerRow_);
    w.S8(targetColumn_);
    w.S8(targetRow_);
    w.S8(grabX_);
    w.S8(grabY_);
    w.I16(dragX_);
    w.I16(dragY_);
    w.S8(state_);
    w.S8(returnState_);
    w.S8(firstTurnState_);
    const MessageLine& m = message_;
    w.Text(m.textA);
    w.Text(m.textB);
    w.Text(m.textC);
    w.U8(m.showingA);
    w.I32(2);
    w.I32(m.mode);
    w.I16(m.scrollCount);
    w.S8(m.scrollDirection);
    w.U8(m.bounce);
    w.I16(0);
    w.U8(0);
    w.U32(m.scrollLastCall);
    w.U32(m.scrollLastStep);
    w.I32(m.alignment);
    w.U8(m.blink);
    w.U32(m.blinkLastCall);
    w.U32(m.blinkLastToggle);
    w.U8(m.visible);
    w.S8(m.blinkLimit);
    w.U8(m.toggleCount);
    const AnimationState& a = animation_;
    for (int16_t v : {a.startX, a.startY, a.endX, a.endY, a.previousX, a.previousY, a.currentX,
                      a.currentY}) {
        w.I16(v);
    }
    w.I32(a.attackPhase);
    w.S8(a.column);
    w.S8(a.row);
    w.I32(a.flipPhase);
    w.I16(a.baseX);
    w.I16(a.baseY);
    w.S8(a.narrowing);
    w.S8(a.newSide);
    w.S8(a.oldSide);
    w.I16(a.targetX);
    w.I16(a.targetY);
    w.U8(a.speed);
    w.U8(a.slot);
    w.I16(a.width);
    w.I16(a.height);
    w.U8(a.flipSpeed);
    w.U8(a.shrink);
    w.U32(pauseDeadline_);
    w.U8(boss_);
    w.U8(quickGame_);
    w.U8(tutorial_);
    w.U8(tutorialStep_);
    w.U8(nextTutorialStep_);
    w.I16(a.card.GetId());
    for (int16_t id : exchangeIds_) w.I16(id);
    w.I16(draggedCard_.GetId());
    w.Text(ParticipantName(RED));
    w.Text(ParticipantName(BLUE));
    return w.Ok();
}

bool ReadMatchBlock(platform::FileHandle file, SavedMatchBlock& b) {
    BlockReader r(file);
    r.S8(b.sideToMove);
    r.S8(b.multiHitSide);
    r.U8(b.multiHitRunning);
    r.Part(r.Ok() && b.board.Read(file));
    for (CardHand& hand : b.hands) r.Part(r.Ok() && hand.Read(file));
    for (DrawPile& pile : b.piles) r.Part(r.Ok() && pile.Read(file));
    r.U8(b.cardTaken);
    uint8_t reserved8 = 0;
    r.U8(reserved8);
    r.U8(b.selectedSlot);
    r.S8(b.attackerColumn);
    r.S8(b.attackerRow);
    r.S8(b.targetColumn);
    r.S8(b.targetRow);
    r.S8(b.grabX);
    r.S8(b.grabY);
    r.I16(b.dragX);
    r.I16(b.dragY);
    r.S8(b.state);
    r.S8(b.returnState);
    r.S8(b.firstTurnState);
    MessageLine& m = b.message;
    r.Text(m.textA);
    r.Text(m.textB);
    r.Text(m.textC);
    r.U8(m.showingA);
    int32_t reserved32 = 0;
    r.I32(reserved32);
    r.I32(m.mode);
    r.I16(m.scrollCount);
    r.S8(m.scrollDirection);
    r.U8(m.bounce);
    int16_t reserved16 = 0;
    r.I16(reserved16);
    r.U8(reserved8);
    r.U32(m.scrollLastCall);
    r.U32(m.scrollLastStep);
    r.I32(m.alignment);
    r.U8(m.blink);
    r.U32(m.blinkLastCall);
    r.U32(m.blinkLastToggle);
    r.U8(m.visible);
    r.S8(m.blinkLimit);
    r.U8(m.toggleCount);
    AnimationState& a = b.animation;
    for (int16_t* v : {&a.startX, &a.startY, &a.endX, &a.endY, &a.previousX, &a.previousY,
                       &a.currentX, &a.currentY}) {
        r.I16(*v);
    }
    r.I32(a.attackPhase);
    r.S8(a.column);
    r.S8(a.row);
    r.I32(a.flipPhase);
    r.I16(a.baseX);
    r.I16(a.baseY);
    r.S8(a.narrowing);
    r.S8(a.newSide);
    r.S8(a.oldSide);
    r.I16(a.targetX);
    r.I16(a.targetY);
    r.U8(a.speed);
    r.U8(a.slot);
    r.I16(a.width);
    r.I16(a.height);
    r.U8(a.flipSpeed);
    r.U8(a.shrink);
    r.U32(b.pauseDeadline);
    r.U8(b.boss);
    r.U8(b.quickGame);
    r.U8(b.tutorial);
    r.U8(b.tutorialStep);
    r.U8(b.nextTutorialStep);
    r.CardById(a.card);
    for (int16_t& id : b.exchangeIds) r.I16(id);
    r.CardById(b.draggedCard);
    r.Text(b.names[0]);
    r.Text(b.names[1]);
    return r.Ok();
}

bool Match::ReadState(platform::FileHandle file) {
    SavedMatchBlock block;
    if (!ReadMatchBlock(file, block)) return false;
    PlayerProfile* participants[2] = {nullptr, nullptr};
    if (!BindParticipants(block, participants)) return false;
    ApplyRestoredBlock(block, participants);
    return true;
}

}  // namespace qv
