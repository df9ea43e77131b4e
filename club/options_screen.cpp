// The options screen: the volume and gamma sliders, the effects switch, the
// settings stored when the player leaves with Back, and the statistics page.
#include "club/options_screen.h"

#include "cards/card_database.h"
#include "cards/profile.h"
#include "cards/statistics.h"
#include "club/room_kit.h"
#include "engine/blit.h"
#include "engine/colour.h"
#include "engine/display.h"
#include "engine/effects.h"
#include "engine/message_box.h"
#include "engine/music.h"
#include "engine/picture_loader.h"
#include "engine/registry_settings.h"
#include "engine/utilities.h"
#include "platform/clock.h"
#include "platform/system.h"

namespace qv {

namespace {

const char16_t kFolder[] = u"GFX\\MENU\\UI OPTIONS\\";

constexpr int kTrackX = 90, kVolumeTrackY = 54, kGammaTrackY = 115, kTrackWidth = 102, kTrackHeight = 16;
constexpr int kSliderLeft = 93, kSliderRight = 189;
constexpr int kVolumeTop = 54, kVolumeBottom = 70, kGammaTop = 115, kGammaBottom = 131;
constexpr int kOnX = 83, kOnY = 172, kOnWidth = 38, kOnHeight = 25;
constexpr int kOffX = 154, kOffY = 172, kOffWidth = 41, kOffHeight = 24;
constexpr int kBackX = 201, kBackY = 303, kStatsX = 1, kStatsY = 305;

Picture LoadOptionsPicture(const char16_t* file) { return LoadRoomPicture(kFolder + WString(file)); }

// Frees what the picture held and takes the new one.
void Replace(Picture& picture, Picture fresh) {
    FreePicture(picture);
    picture = fresh;
}

int KnobX(int step) { return (step + 23) * 4; }

void TraceOptions(const std::string& text) { platform::Trace("options", text); }

}  // namespace

int8_t SettingToStep(int setting) {
    const int step = setting * kSliderSteps / 100;
    return static_cast<int8_t>(step < 0 ? 0 : (step > kSliderSteps ? kSliderSteps : step));
}

int StepToSetting(int step) { return step * 100 / kSliderSteps; }

int8_t StepAtX(int x) { return static_cast<int8_t>((x - 91) / 4); }

OptionsScreen::OptionsScreen() {
    volumeStep_ = SettingToStep(gVolume);
    gammaStep_ = SettingToStep(gGammaSetting);
    effects_ = gEffectsOn;
    entryPicture_ = LoadOptionsPicture(u"GameOptionsPIX.QVJ");
    BlitFullScreen(entryPicture_, 0);
    background_ = LoadOptionsPicture(u"GameOptionsEmpty.QVJ");
    BlitFullScreen(background_, 1);
    SetUpCutButton(back_, kBackX, kBackY, kFolder + WString(u"GameOptionsBACK.QVJ"), background_);
    SetUpCutButton(stats_, kStatsX, kStatsY, kFolder + WString(u"GameOptionsStatsON.QVJ"), background_);
    onLit_ = LoadOptionsPicture(u"GameOptionsON.QVJ");
    offLit_ = LoadOptionsPicture(u"GameOptionsOFF.QVJ");
    CutPicture(onUnlit_, background_, kOnX, kOnY, kOnWidth, kOnHeight);
    CutPicture(offUnlit_, background_, kOffX, kOffY, kOffWidth, kOffHeight);
    GrabRect(volumeTrack_, kTrackX, kVolumeTrackY, kTrackWidth, kTrackHeight, 1);
    GrabRect(gammaTrack_, kTrackX, kGammaTrackY, kTrackWidth, kTrackHeight, 1);
    knob_ = LoadOptionsPicture(u"GameOptionsPICOT.QVJ");
    BlitFullScreen(entryPicture_, 1);
}

OptionsScreen::~OptionsScreen() {
    for (Picture* picture : {&background_, &entryPicture_, &knob_, &volumeTrack_, &gammaTrack_, &onLit_,
                             &onUnlit_, &offLit_, &offUnlit_}) {
        FreePicture(*picture);
    }
}

void OptionsScreen::Enter() {
    TraceOptions("enter volume " + std::to_string(StepToSetting(volumeStep_)) + " gamma " +
                 std::to_string(StepToSetting(gammaStep_)) + " effects " + std::to_string(effects_));
    platform::Sleep(500);
    BlitFullScreen(background_, 1);
    CopyBuffer(1, 2);
    DrawEffectsSwitch(1);
    DrawGammaSlider(1);
    DrawVolumeSlider(1);
    CrossDissolve(0, 0, kScreenWidth, kScreenHeight, 0, 1);
    PreviewGamma();
    DrawGammaSlider(0);
}

void OptionsScreen::Draw() {
    BlitFullScreen(background_, 0);
    DrawEffectsSwitch(0);
    DrawGammaSlider(0);
    DrawVolumeSlider(0);
}

void OptionsScreen::DrawVolumeSlider(int8_t buffer) const {
    BlitPicture(kTrackX, kVolumeTrackY, volumeTrack_, buffer);
    BlitPicture(KnobX(volumeStep_), kVolumeTrackY + 1, knob_, buffer);
}

void OptionsScreen::DrawGammaSlider(int8_t buffer) const {
    BlitPicture(kTrackX, kGammaTrackY, gammaTrack_, buffer);
    BlitPicture(KnobX(gammaStep_), kGammaTrackY + 1, knob_, buffer);
}

void OptionsScreen::DrawEffectsSwitch(int8_t buffer) const {
    BlitPicture(kOnX, kOnY, effects_ ? onLit_ : onUnlit_, buffer);
    BlitPicture(kOffX, kOffY, effects_ ? offUnlit_ : offLit_, buffer);
}

// The panel as it will look with the slider's gamma, without changing the
// gamma of the rest of the game until the next start.
void OptionsScreen::PreviewGamma() {
    const int gamma = StepToSetting(gammaStep_);
    gGammaSetting = static_cast<int8_t>(gamma);
    // Buffer 2 is the plain background in the gamma in force. It is drawn
    // afresh each time: a screen restored from a quick save was never
    // entered, and other screens may have used the buffer meanwhile.
    BlitFullScreen(background_, 2);
    BrightenBuffer(2, 0, gamma - gGamma);

    const int8_t savedGamma = gGamma;
    gGamma = static_cast<int8_t>(gamma);
    Picture pressedBack = LoadOptionsPicture(u"GameOptionsBACK.QVJ");
    Picture normalBack;
    GrabRect(normalBack, kBackX, kBackY, pressedBack.width, pressedBack.height, 0);
    back_.SetUp(kBackX, kBackY, pressedBack, normalBack, false);
    Replace(onLit_, LoadOptionsPicture(u"GameOptionsON.QVJ"));
    Replace(offLit_, LoadOptionsPicture(u"GameOptionsOFF.QVJ"));
    GrabRectInto(kOnX, kOnY, 0, onUnlit_);
    GrabRectInto(kOffX, kOffY, 0, offUnlit_);
    GrabRectInto(kTrackX, kVolumeTrackY, 0, volumeTrack_);
    GrabRectInto(kTrackX, kGammaTrackY, 0, gammaTrack_);
    Replace(knob_, LoadOptionsPicture(u"GameOptionsPICOT.QVJ"));
    gGamma = savedGamma;

    DrawEffectsSwitch(0);
    DrawVolumeSlider(0);
}

void OptionsScreen::MoveSliders(uint16_t x, uint16_t y) {
    if (x < kSliderLeft || x > kSliderRight) return;
    if (y >= kVolumeTop && y <= kVolumeBottom) {
        volumeStep_ = StepAtX(x);
        DrawVolumeSlider(0);
        // Heard at once; stored only with Back.
        SetMusicVolume(StepToSetting(volumeStep_));
    } else if (y >= kGammaTop && y <= kGammaBottom) {
        gammaStep_ = StepAtX(x);
        PreviewGamma();
        DrawGammaSlider(0);
        if (!messageShown_) {
            messageShown_ = 1;
            ShowNote(u"The new settings will be applied next time you will launch the game.");
        }
    }
}

bool OptionsScreen::StylusDown(uint16_t x, uint16_t y) {
    back_.Press(x, y);
    stats_.Press(x, y);
    MoveSliders(x, y);
    if (x >= kOnX && x <= kOnX + kOnWidth && y >= kOnY && y <= kOnY + kOnHeight) {
        effects_ = 1;
        DrawEffectsSwitch(0);
    } else if (x >= kOffX && x <= kOffX + kOffWidth && y >= kOffY && y <= kOffY + kOffHeight) {
        effects_ = 0;
        DrawEffectsSwitch(0);
    }
    return false;
}

bool OptionsScreen::StylusUp(uint16_t x, uint16_t y) {
    if (back_.Release(x, y)) {
        gEffectsOn = effects_;
        gVolume = static_cast<uint8_t>(StepToSetting(volumeStep_));
        SaveEffectsSetting();
        gGammaSetting = static_cast<int8_t>(StepToSetting(gammaStep_));
        SaveGammaSetting(gGammaSetting);
        SaveVolumeSetting();
        TraceOptions("stored volume " + std::to_string(gVolume) + " gamma " + std::to_string(gGammaSetting) +
                     " effects " + std::to_string(gEffectsOn));
        return true;
    }
    if (stats_.Release(x, y)) ShowStatistics();
    MoveSliders(x, y);
    return false;
}

bool OptionsScreen::WriteState(platform::FileHandle) { return true; }
bool OptionsScreen::ReadState(platform::FileHandle) { return true; }

// --- The statistics page ---
namespace {

// The level's counter summed over its 15 opponents in 16 bits, as stored.
int16_t LevelSum(const int16_t* counters, int level) {
    uint16_t sum = 0;
    for (int index = 0; index < kOpponentsPerLevel; ++index) {
        sum = static_cast<uint16_t>(sum + static_cast<uint16_t>(counters[StatisticsIndex(index, level)]));
    }
    return static_cast<int16_t>(sum);
}

}  // namespace

WString StatisticsText() {
    static const char16_t* const kTitles[kLevelCount] = {u"Guest", u"Member", u"Elite"};
    WString text = u"Statistics";
    text += u" for ";
    text += gProfile.GetName() + u"\n" + u"\n";
    text += u"Cards Total       :" + FormatShort(gProfile.GetTotalCards()) + u"\n";
    text += u"Cards Collection  :" + FormatShort(static_cast<int16_t>(gProfile.CountDistinct())) + u" on " +
            FormatShort(GetCardCount());
    text += u"\nPerfects realised  :" + FormatShort(gPerfectsRealised) + u"\n";
    text += u"Perfects received  :" + FormatShort(gPerfectsReceived) + u"\n" + u"\n";
    for (int level = 0; level < kLevelCount; ++level) {
        text += WString(kTitles[level]) + u"\n";
        text += u"          Victories : " + FormatShort(LevelSum(gGamesWon, level)) + u"\n";
        text += u"          Ties       : " + FormatShort(LevelSum(gGamesTied, level)) + u"\n";
        text += u"          Defeats  : " + FormatShort(LevelSum(gGamesLost, level)) + u"\n";
        text += u"          Tourneys Played : " + FormatShort(gTourneysPlayed[level]) + u"\n";
        text += u"          Tourneys Won     : " + FormatShort(gTourneysWon[level]) + u"\n" + u"\n";
    }
    return text;
}

void ShowStatistics() { ShowMessageBox(StatisticsText(), u"", u"Ok", 1, 30, 10, 180, 300, 20, 3, 3); }

}  // namespace qv
