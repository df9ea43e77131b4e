// The card shop in the real program: purchases, refusals and the deck
// services, each checked in the character file afterwards.
#include "tests/club_rooms_support.h"

namespace qv {
namespace {

using test::GameRun;

class ShopScenario : public test::RoomsScenario {};

TEST_F(ShopScenario, BoosterBoughtAndOpened) {
    GiveCharacter({});
    StartIn(InShop());
    const GameRun run = RunScript("shop-buys-a-booster-and-opens-it.script");
    ASSERT_EQ(run.exitCode, 0) << run.TraceText();
    ASSERT_TRUE(ReadCharacter());
    EXPECT_EQ(gProfile.GetCredits(), 500);
    EXPECT_EQ(gProfile.GetTotalCards(), 8);
}

}  // namespace
}  // namespace qv
