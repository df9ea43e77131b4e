// Quick saves with damaged values: the files that once broke the game, and every
// restored coordinate, state and count held to something the match can run from.
#include <gtest/gtest.h>

#include <vector>

#include "cards/launchers.h"
#include "club/club.h"
#include "tests/support/club_driver.h"

namespace qv::test {
namespace {

std::filesystem::path Repro(const char* name) {
    return std::filesystem::path(QV_SOURCE_DIR) / "tests" / "data" / "repro" / name;
}

bool InsideBoard(int column, int row) { return Board::IsInside(column, row); }

// Where the match's block starts in a quick save: behind the slot byte, the
// club's block and gClubActive.
size_t gBlock = 0;
size_t At(size_t matchOffset) { return gBlock + matchOffset; }

// The reproducers were written while the club's block was empty: the slot
// byte, gClubActive, then the match's block. Framed now as the game frames it.
Bytes Framed(const Bytes& written) {
    Bytes framed{written[0]};
    const Bytes club = WrittenBlock();
    EXPECT_FALSE(club.empty());
    framed.insert(framed.end(), club.begin(), club.end());
    framed.insert(framed.end(), written.begin() + 1, written.end());
    return framed;
}

class DamagedQuickSave : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        SeedRandom(5);
        // The character the reproducers were written with: slot 1, named as
        // RED in them; BLUE is the first guest of the generated set.
        MakeLocalPlayer(DeckFrom(1), "SEEDER");
        SavePlayer();
        gClubActive = 1;
        const Bytes club = WrittenBlock();
        EXPECT_FALSE(club.empty());
        gBlock = 1 + club.size() + 1;
    }

public:
    // Restores the quick save as start-up does and plays frames as the main
    // loop does. Returns whether the quick save was taken.
    bool RestoreAndPlay(const Bytes& quickSave, int frames = 40) {
        WriteBytes(SavePath("QuickSave.QCP"), quickSave);
        gClubActive = 1;
        bool loaded = LoadQuickSave();
        EXPECT_FALSE(std::filesystem::exists(SavePath("QuickSave.QCP")));
        if (gClubActive == 0) ExpectRunnable();
        int frame = 0;
        RunMatch([&frame, frames] { return ++frame > frames; });
        if (gClubActive == 0) ExpectRunnable();
        return loaded;
    }

    // Whatever was restored, the match holds only values it can act on.
    static void ExpectRunnable() {
        EXPECT_TRUE(InsideBoard(gMatch.GetAttackerColumn(), gMatch.GetAttackerRow()))
            << int{gMatch.GetAttackerColumn()} << "," << int{gMatch.GetAttackerRow()};
        Side side = gMatch.GetSideToMove();
        EXPECT_TRUE(side == RED || side == BLUE);
        EXPECT_NE(gMatch.GetParticipant(RED), nullptr);
        EXPECT_NE(gMatch.GetParticipant(BLUE), nullptr);
        for (int x = 0; x < kBoardColumns; ++x) {
            for (int y = 0; y < kBoardRows; ++y) {
                EXPECT_LE(gMatch.GetBoard().CellAt(x, y).owner, kNoSide);
            }
        }
    }
};

TEST_F(DamagedQuickSave, AttackerOutsideTheBoardResumesWithoutTheBattle) {
    for (const char* name : {"quicksave-attacker-col50.QCP", "quicksave-attacker-colm40.QCP"}) {
        SCOPED_TRACE(name);
        Bytes bytes = Framed(ReadBytes(Repro(name)));
        ASSERT_GT(bytes.size(), 300u);
        EXPECT_TRUE(RestoreAndPlay(bytes));
        // The same save with its column put right resumes the battle itself.
        bytes[At(202)] = 1;
        EXPECT_TRUE(RestoreAndPlay(bytes, 0));
        EXPECT_EQ(gClubActive, 0);
        EXPECT_EQ(gMatch.GetState(), kStatePlacementBattle);
        EXPECT_EQ(gMatch.GetAttackerColumn(), 1);
    }
}

TEST_F(DamagedQuickSave, FilesFoundByFuzzingRestoreSafelyOrNotAtAll) {
    for (const char* name :
         {"quicksave-fuzz-ContinueMultiHit-GetOwner.QCP", "quicksave-fuzz-RecordBattle-GetOwner.QCP",
          "quicksave-fuzz-ResolveAttack-100.QCP", "quicksave-fuzz-ResolveAttack-101.QCP"}) {
        SCOPED_TRACE(name);
        RestoreAndPlay(Framed(ReadBytes(Repro(name))));
    }
}

// A quick save the game writes in the middle of a placement's battle.
Bytes QuickSaveInABattle() {
    MakeLocalPlayer(DeckFrom(1), "SEEDER");
    SavePlayer();
    SeedRandom(77);
    StartOpponentMatch(0, 0);
    EXPECT_TRUE(RunMatch([] { return gMatch.GetState() == kStatePlacementBattle; }));
    EXPECT_EQ(gClubActive, 0);
    EXPECT_TRUE(WriteQuickSave());
    return ReadBytes(SavePath("QuickSave.QCP"));
}

// Offsets of the match block's fields.
constexpr size_t kAttackerColumn = 202;
constexpr size_t kTargetColumn = 204;
constexpr size_t kState = 212;
constexpr size_t kReturnState = 213;

// Each byte of [from, to) of a good quick save set to values just outside and
// far outside the usual ranges, restored and played on.
void DamageEveryByte(DamagedQuickSave& fixture, const Bytes& good, size_t from, size_t to) {
    for (size_t at = from; at < to && at < good.size(); ++at) {
        for (uint8_t value : {uint8_t{0x07}, uint8_t{0x80}, uint8_t{0xFF}}) {
            Bytes bad = good;
            bad[at] = value;
            SCOPED_TRACE("offset " + std::to_string(at) + " value " + std::to_string(value));
            fixture.RestoreAndPlay(bad);
            if (::testing::Test::HasFailure()) return;
        }
    }
}

TEST_F(DamagedQuickSave, EveryDamagedByteOfTheFixedFieldsLeavesARunnableMatch) {
    DamageEveryByte(*this, QuickSaveInABattle(), 0, At(215));
}

TEST_F(DamagedQuickSave, EveryDamagedByteOfTheTextsAndAnimationsLeavesARunnableMatch) {
    DamageEveryByte(*this, QuickSaveInABattle(), At(215), SIZE_MAX);
}

TEST_F(DamagedQuickSave, ShortBlockIsNotResumedAndCountsNothing) {
    const Bytes good = QuickSaveInABattle();
    for (size_t size = At(0); size < good.size(); ++size) {
        SCOPED_TRACE("size " + std::to_string(size));
        gMatch.SetTurnForTest(RED, kStateVersusIntro);
        gMatchResult = 0;
        WriteBytes(SavePath("QuickSave.QCP"), Bytes(good.begin(), good.begin() + static_cast<long>(size)));
        ASSERT_TRUE(LoadQuickSave());
        EXPECT_EQ(gClubActive, 1);
        EXPECT_EQ(gMatchResult, kNoMatchResult);
        EXPECT_EQ(gMatch.GetState(), kStateVersusIntro) << "a refused block touched the match";
    }
}

TEST_F(DamagedQuickSave, StatesThatCannotGoOnResumeFromTheNearestOneThatCan) {
    const Bytes good = QuickSaveInABattle();
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
        MatchState resumed;
    };
    const Case cases[] = {
        {"the battle as written", [](Bytes&) {}, kStatePlacementBattle},
        {"target on the attacker's own cell",
         [](Bytes& b) {
             b[At(kTargetColumn)] = b[At(kAttackerColumn)];
             b[At(kTargetColumn + 1)] = b[At(kAttackerColumn + 1)];
         },
         kStateEndOfTurn},
        {"target row below the board", [](Bytes& b) { b[At(kTargetColumn + 1)] = 5; }, kStateEndOfTurn},
        {"an animation that hands over to nothing known",
         [](Bytes& b) { b[At(kState)] = kStateCaptureFlip; b[At(kReturnState)] = 99; }, kStateEndOfTurn},
        {"an animation that hands over to another animation",
         [](Bytes& b) { b[At(kState)] = kStateAttackAnimation; b[At(kReturnState)] = kStateCaptureFlip; },
         kStateEndOfTurn},
        {"an animation that hands over to the battle",
         [](Bytes& b) { b[At(kState)] = kStateAttackAnimation; b[At(kReturnState)] = kStatePlacementBattle; },
         kStatePlacementBattle},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes bytes = good;
        c.damage(bytes);
        EXPECT_TRUE(RestoreAndPlay(bytes, 0));
        ASSERT_EQ(gClubActive, 0);
        EXPECT_EQ(gMatch.GetState(), c.resumed);
    }
    // No link survives a restart: a wait for the other handheld becomes the
    // mover's own turn. RED is the local player here.
    for (Side mover : {RED, BLUE}) {
        Bytes bytes = good;
        bytes[At(0)] = static_cast<uint8_t>(mover);
        bytes[At(kState)] = kStateWaitRemoteMove;
        EXPECT_TRUE(RestoreAndPlay(bytes, 0));
        EXPECT_EQ(gMatch.GetState(), mover == RED ? kStateLocalActs : kStateComputerTurn);
    }
}

}  // namespace
}  // namespace qv::test
