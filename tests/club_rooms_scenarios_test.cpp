// The card rooms in the real program, one script of tests/scenarios/cards/
// each: purchases and refusals in the shop, a deck built by drag and drop,
// and the tutorial; the character file is read back after every run.
#include "tests/support/card_rooms_driver.h"

namespace qv {
namespace {

using test::GameRun;

class RoomsScenarioTest : public test::RoomsScenario {};

// The purchase reaches the file at once: before the booster has opened.
TEST_F(RoomsScenarioTest, ShopBuysABoosterAndOpensIt) {
    GiveCharacter({});
    StartIn(InShop());
    const GameRun run = RunScript("shop-buys-a-booster-and-opens-it.script");
    ASSERT_EQ(run.exitCode, 0) << run.TraceText();
    const int bought = TraceIndex(run, "shop bought 1");
    const int saved = TraceIndex(run, "SAVE/Player1.QCP", bought);
    ASSERT_GE(bought, 0);
    EXPECT_GT(saved, bought);
    EXPECT_LT(saved, TraceIndex(run, "shop opened", bought)) << "saved before the animation";
    EXPECT_GE(TraceIndex(run, "collection shown deck"), 0) << "the manager came by itself";
    ASSERT_TRUE(ReadCharacter());
    EXPECT_EQ(gProfile.GetCredits(), 500);
    EXPECT_EQ(gProfile.GetTotalCards(), 8);
}

TEST_F(RoomsScenarioTest, ShopRefusesABundleItCannotPay) {
    GiveCharacter({899, {}, {}});
    StartIn(InShop());
    const GameRun run = RunScript("shop-refuses-a-bundle-it-cannot-pay.script");
    ASSERT_EQ(run.exitCode, 0) << run.TraceText();
    EXPECT_LT(TraceIndex(run, "shop bought"), 0);
    ASSERT_TRUE(ReadCharacter());
    EXPECT_EQ(gProfile.GetCredits(), 899);
    EXPECT_EQ(gProfile.GetTotalCards(), 0);
}

TEST_F(RoomsScenarioTest, CollectionBuildsADeckByDragAndDrop) {
    test::CharacterSetUp setUp;
    for (int16_t id = 1; id <= 20; ++id) setUp.cards.push_back(id);
    GiveCharacter(setUp);
    StartIn(InShop());
    const GameRun run = RunScript("collection-builds-a-deck-by-drag-and-drop.script");
    ASSERT_EQ(run.exitCode, 0) << run.TraceText();
    ASSERT_TRUE(ReadCharacter());
    ASSERT_EQ(gProfile.GetDeck().GetCount(), kDeckSize);
    for (int position = 0; position < kDeckSize; ++position) {
        EXPECT_EQ(gProfile.GetDeck().CardAt(position).GetId(), position + 1) << position;
    }
    EXPECT_EQ(gProfile.GetTotalCards(), 20);
}

// The tutorial runs from the dissolve into the club view to Instant Play;
// the window closed there leaves the character as new, without the cards
// the tutorial lent it.
TEST_F(RoomsScenarioTest, TutorialLeadsANewCharacterToInstantPlay) {
    GiveCharacter({});
    test::ClubBlock block;
    block.header.input = 0;
    block.header.transitionIn = 1;
    block.header.stepCounter = 8;
    block.header.tutorialFlag = 1;
    block.header.tutorialStep = 0;
    StartIn(block);
    const GameRun run = RunScript("tutorial-leads-a-new-character-to-instant-play.script");
    ASSERT_EQ(run.exitCode, 0) << run.TraceText();
    for (int step = 1; step <= 9; ++step) {
        EXPECT_GE(TraceIndex(run, "tutorial step " + std::to_string(step)), 0) << step;
    }
    EXPECT_GE(TraceIndex(run, "collection deck 16"), 0);
    EXPECT_LT(TraceIndex(run, "shop bought"), 0) << "the tutorial's booster is not bought";
    ASSERT_TRUE(ReadCharacter());
    EXPECT_EQ(gProfile.GetCredits(), kStartingCredits);
    EXPECT_EQ(gProfile.GetTotalCards(), 0);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 0);
}

// From the character screen's question to the match's last rule page.
TEST_F(RoomsScenarioTest, TutorialFromANewCharacterToTheRules) {
    const GameRun run = RunScript("tutorial-from-a-new-character-to-the-rules.script");
    ASSERT_EQ(run.exitCode, 0) << run.TraceText();
    int at = TraceIndex(run, "character created ALICE in slot 1");
    ASSERT_GE(at, 0);
    for (const char* step : {"tutorial step 0", "tutorial step 4", "tutorial step 5",
                             "collection deck 16", "tutorial step 9", "room bet shown",
                             "tutorial step 10", "tutorial step 11", "tutorial end", "gamebox The match ends when",
                             "match end"}) {
        at = TraceIndex(run, step, at);
        EXPECT_GE(at, 0) << step << " in its order";
        if (at < 0) break;
    }
    EXPECT_LT(TraceIndex(run, "room bet stake"), 0) << "no stake in the tutorial";
    ASSERT_TRUE(ReadCharacter());
    EXPECT_EQ(gProfile.GetName(), u"ALICE");
    EXPECT_EQ(gProfile.GetSlot(), 1);
    EXPECT_EQ(gProfile.GetCredits(), kStartingCredits);
    EXPECT_EQ(gProfile.GetTotalCards(), 0);
    EXPECT_EQ(gProfile.GetDeck().GetCount(), 0);
}

TEST_F(RoomsScenarioTest, TutorialDeclinedByANewCharacter) {
    const GameRun run = RunScript("tutorial-declined-by-a-new-character.script");
    ASSERT_EQ(run.exitCode, 0) << run.TraceText();
    EXPECT_LT(TraceIndex(run, "tutorial step"), 0);
    EXPECT_GE(TraceIndex(run, "shop bought 1"), 0) << "the shop sells as to anyone";
    ASSERT_TRUE(ReadCharacter());
    EXPECT_EQ(gProfile.GetCredits(), kStartingCredits - 200);
    EXPECT_EQ(gProfile.GetTotalCards(), 8);
}

}  // namespace
}  // namespace qv
