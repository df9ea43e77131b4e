// A push button with a normal and a pressed picture, answered press-and-release.
#pragma once

#include <cstdint>

#include "engine/picture.h"

namespace qv {

class Button {
public:
    Button() = default;
    virtual ~Button();
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;

    // Takes ownership of both pictures (pictures of an earlier SetUp are
    // freed); state 0, enabled.
    void SetUp(int16_t x, int16_t y, Picture pressed, Picture normal, bool transparent);
    // Stylus down: false when disabled or not hit; else pressed and drawn into buffer 0.
    bool Press(uint16_t x, uint16_t y);
    // Stylus up: false when disabled or not pressed; else back to normal,
    // drawn into buffer 0, and true only when the point hits the button.
    bool Release(uint16_t x, uint16_t y);
    // Draws the current state's picture; nothing when disabled.
    void Draw(int8_t buffer) const;
    // Draws state 0's or 1's picture whatever the state; nothing when disabled.
    void DrawFrame(int state, int8_t buffer) const;
    // x <= px <= x + width and y <= py <= y + height (the normal picture's
    // size), unsigned 16-bit; false when disabled.
    bool HitTest(uint16_t x, uint16_t y) const;
    void SetDisabled(bool disabled) { disabled_ = disabled ? 1 : 0; }

    bool IsDisabled() const { return disabled_ != 0; }
    uint8_t State() const { return state_; }
    int16_t X() const { return x_; }
    int16_t Y() const { return y_; }
    const Picture& NormalPicture() const { return normal_; }
    const Picture& PressedPicture() const { return pressed_; }

private:
    Picture normal_;
    Picture pressed_;
    int16_t x_ = 0;
    int16_t y_ = 0;
    uint8_t state_ = 0;
    uint8_t transparent_ = 0;
    uint8_t disabled_ = 0;
};

}  // namespace qv
