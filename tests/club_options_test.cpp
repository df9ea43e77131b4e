// The options screen in this process: slider steps and their drift, the
// volume heard at once, what Back stores, and the statistics page's text.
#include <gtest/gtest.h>

#include "cards/statistics.h"
#include "club/options_screen.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/music.h"
#include "engine/registry_settings.h"
#include "shell/settings.h"
#include "tests/support/match_driver.h"

namespace qv::test {
namespace {

class OptionsScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        StartMatchEnvironment();
        CreateRegistryKeys();
        gVolume = 50;
        gGammaSetting = 0;
        gGamma = 0;
        gEffectsOn = 1;
        gMusicOff = 0;
    }
    static bool Back(OptionsScreen& screen) { return Tap(screen, 215, 310); }
};

TEST(OptionsSteps, ConversionsDriftDownExceptOnQuarters) {
    for (int setting : {0, 25, 50, 75, 100}) EXPECT_EQ(StepToSetting(SettingToStep(setting)), setting);
    EXPECT_EQ(StepToSetting(SettingToStep(30)), 29);
    EXPECT_EQ(StepToSetting(SettingToStep(29)), 25);
    // Damaged registry values keep the knob on its track.
    EXPECT_EQ(SettingToStep(255), 24);
    EXPECT_EQ(SettingToStep(-100), 0);
    EXPECT_EQ(StepAtX(93), 0);
    EXPECT_EQ(StepAtX(189), 24);
    EXPECT_EQ(StepAtX(140), 12);
}

TEST_F(OptionsScreenTest, VolumeIsHeardAtOnceAndStoredOnlyByBack) {
    OptionsScreen screen;
    screen.StylusDown(93, 60);
    EXPECT_EQ(screen.VolumeStep(), 0);
    EXPECT_EQ(gMusicOff, 1) << "volume 0 stops the music at once";
    EXPECT_EQ(gVolume, 50) << "not stored before Back";
    screen.StylusUp(189, 62);  // the release moves the knob too
    EXPECT_EQ(screen.VolumeStep(), 24);
    EXPECT_EQ(gMusicOff, 0);
    screen.StylusDown(92, 60);  // left of the track: no change
    screen.StylusUp(190, 60);
    EXPECT_EQ(screen.VolumeStep(), 24);

    screen.StylusDown(110, 60);  // step 4: volume 16
    screen.StylusUp(110, 60);
    Tap(screen, 100, 180);  // effects ON area, already on
    Tap(screen, 170, 180);  // effects OFF
    EXPECT_FALSE(screen.EffectsOn());
    EXPECT_EQ(gEffectsOn, 1);
    EXPECT_TRUE(Back(screen));
    EXPECT_EQ(gVolume, 16);
    EXPECT_EQ(gEffectsOn, 0);
    EXPECT_EQ(LoadVolumeSetting(), 16);
    EXPECT_FALSE(LoadEffectsSetting());
}

TEST_F(OptionsScreenTest, GammaIsPreviewedAndTakesEffectOnlyAtTheNextStart) {
    gGammaSetting = 30;
    OptionsScreen screen;
    EXPECT_EQ(screen.GammaStep(), 7);
    // Buffer 2 holds something else: the preview still starts from the panel.
    FillBuffer(0xFFFF, 2);
    screen.StylusDown(189, 120);
    screen.StylusUp(189, 120);
    EXPECT_EQ(screen.GammaStep(), 24);
    EXPECT_EQ(gGamma, 0) << "pictures keep loading with the gamma of the start";
    EXPECT_EQ(gGammaSetting, 100);
    // A dark pixel of the panel comes out brighter, not white from buffer 2.
    const uint16_t corner = gScreenBuffers[0][320 * 240 - 1];
    EXPECT_NE(corner, 0xFFFF);
    EXPECT_TRUE(Back(screen));
    EXPECT_EQ(LoadGammaSetting(), 100);
}

TEST_F(OptionsScreenTest, LeavingWithBackKeepsQuarterValuesAndDriftsOthers) {
    for (auto [before, after] : {std::pair{50, 50}, std::pair{30, 29}, std::pair{100, 100}}) {
        gVolume = static_cast<uint8_t>(before);
        OptionsScreen screen;
        EXPECT_TRUE(Back(screen));
        EXPECT_EQ(gVolume, after);
        EXPECT_EQ(LoadVolumeSetting(), after);
    }
}

TEST_F(OptionsScreenTest, StatisticsPageSumsEachLevelInSixteenBits) {
    ClearStatistics();
    MakeLocalPlayer(DeckFrom(1), "ALICE");
    gProfile.AddCard(1);
    EXPECT_EQ(StatisticsText(),
              u"Statistics for ALICE\n\nCards Total       :17\nCards Collection  :16 on 344\n"
              u"Perfects realised  :0\nPerfects received  :0\n\n"
              u"Guest\n          Victories : 0\n          Ties       : 0\n          Defeats  : 0\n"
              u"          Tourneys Played : 0\n          Tourneys Won     : 0\n\n"
              u"Member\n          Victories : 0\n          Ties       : 0\n          Defeats  : 0\n"
              u"          Tourneys Played : 0\n          Tourneys Won     : 0\n\n"
              u"Elite\n          Victories : 0\n          Ties       : 0\n          Defeats  : 0\n"
              u"          Tourneys Played : 0\n          Tourneys Won     : 0\n\n");
    // Member victories: opponents 0 and 14 of level 1; the sum wraps in 16 bits.
    gGamesWon[0 * 3 + 1] = 30000;
    gGamesWon[14 * 3 + 1] = 30000;
    gGamesLost[2 * 3 + 2] = 7;
    gGamesTied[5 * 3 + 0] = -2;
    gTourneysPlayed[2] = 3;
    gPerfectsRealised = 4;
    const std::u16string text = StatisticsText();
    EXPECT_NE(text.find(u"Perfects realised  :4\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"Member\n          Victories : -5536\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"Guest\n          Victories : 0\n          Ties       : -2\n"), std::u16string::npos);
    EXPECT_NE(text.find(u"Elite\n          Victories : 0\n          Ties       : 0\n          Defeats  : 7\n"
                        u"          Tourneys Played : 3\n"),
              std::u16string::npos);
    ClearStatistics();
}

}  // namespace
}  // namespace qv::test
