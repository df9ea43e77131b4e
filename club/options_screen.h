// The options room: volume, gamma and screen effects, and the statistics page.
#pragma once

#include <cstdint>

#include "engine/button.h"
#include "engine/picture.h"
#include "platform/files.h"
#include "platform/types.h"

namespace qv {

inline constexpr int kSliderSteps = 24;

// A setting (0..100) as a slider step, clamped to 0..24 so that a damaged
// registry value still puts the knob on its track.
int8_t SettingToStep(int setting);
// A slider step (0..24) as the setting stored: step * 100 / 24.
int StepToSetting(int step);
// The step under the stylus for x 93..189: (x - 91) / 4.
int8_t StepAtX(int x);
// The statistics page of the current character.
WString StatisticsText();
// The statistics page in its 180 x 300 box, answered with "Ok".
void ShowStatistics();

class OptionsScreen {
public:
    static constexpr int kStateSize = 0;

    // Takes the steps from the settings in force, shows the entry picture
    // in buffer 0 and leaves it in buffer 1 for the club's dissolve.
    OptionsScreen();
    virtual ~OptionsScreen();
    OptionsScreen(const OptionsScreen&) = delete;
    OptionsScreen& operator=(const OptionsScreen&) = delete;

    // After the club's transition in: the panel dissolves in, previewed
    // with the gamma of the slider.
    void Enter();
    void Update() {}
    bool StylusDown(uint16_t x, uint16_t y);  // always false
    // True closes the screen: Back, which stores the three settings.
    bool StylusUp(uint16_t x, uint16_t y);
    // Always into back buffer 0.
    void Draw();
    // Nothing of the screen is stored: true, and nothing is written or read.
    bool WriteState(platform::FileHandle file);
    bool ReadState(platform::FileHandle file);

    int VolumeStep() const { return volumeStep_; }
    int GammaStep() const { return gammaStep_; }
    bool EffectsOn() const { return effects_ != 0; }

private:
    void DrawVolumeSlider(int8_t buffer) const;
    void DrawGammaSlider(int8_t buffer) const;
    void DrawEffectsSwitch(int8_t buffer) const;
    void PreviewGamma();
    // The slider areas, on stylus down and again on stylus up.
    void MoveSliders(uint16_t x, uint16_t y);

    Picture background_;
    Picture entryPicture_;
    Picture knob_;
    Picture volumeTrack_;
    Picture gammaTrack_;
    Picture onLit_;
    Picture onUnlit_;
    Picture offLit_;
    Picture offUnlit_;
    int8_t volumeStep_ = 0;
    int8_t gammaStep_ = 0;
    uint8_t effects_ = 1;
    Button back_;
    Button stats_;
    uint8_t messageShown_ = 0;
};

}  // namespace qv
