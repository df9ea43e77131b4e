// Push buttons: drawing and the press-and-release rule.
#include "engine/button.h"

#include "engine/blit.h"

namespace qv {

Button::~Button() {
    FreePicture(normal_);
    FreePicture(pressed_);
}

void Button::SetUp(int16_t x, int16_t y, Picture pressed, Picture normal, bool transparent) {
    if (normal_.pixels != normal.pixels && normal_.pixels != pressed.pixels) FreePicture(normal_);
    if (pressed_.pixels != pressed.pixels && pressed_.pixels != normal.pixels) {
        FreePicture(pressed_);
    }
    pressed_ = pressed;
    normal_ = normal;
    x_ = x;
    y_ = y;
    state_ = 0;
    transparent_ = transparent ? 1 : 0;
    disabled_ = 0;
}

bool Button::HitTest(uint16_t x, uint16_t y) const {
    if (disabled_) return false;
    uint32_t left = static_cast<uint16_t>(x_);
    uint32_t top = static_cast<uint16_t>(y_);
    return x >= left && x <= left + normal_.width && y >= top && y <= top + normal_.height;
}

bool Button::Press(uint16_t x, uint16_t y) {
    if (disabled_ || !HitTest(x, y)) return false;
    state_ = 1;
    Draw(0);
    return true;
}

bool Button::Release(uint16_t x, uint16_t y) {
    if (disabled_ || state_ != 1) return false;
    state_ = 0;
    Draw(0);
    return HitTest(x, y);
}

void Button::Draw(int8_t buffer) const { DrawFrame(state_, buffer); }

void Button::DrawFrame(int state, int8_t buffer) const {
    if (disabled_) return;
    const Picture& picture = state == 1 ? pressed_ : normal_;
    if (transparent_) BlitPictureKeyed(x_, y_, picture, buffer);
    else BlitPicture(x_, y_, picture, buffer);
}

}  // namespace qv
