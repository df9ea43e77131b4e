// Timed screen effects: cross-dissolve, zoom of a picture, slide of a picture.
#include "engine/effects.h"

#include <algorithm>
#include <cstdlib>

#include "engine/blit.h"
#include "engine/display.h"
#include "engine/music.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/messages.h"

namespace qv {

uint8_t gEffectsOn = 1;

namespace {

constexpr int kDissolveSteps = 32;
constexpr uint32_t kDissolvePace = 20;  // ms after each present
constexpr uint32_t kZoomPace = 45;      // ms from the start of each frame

// One channel field of the current pixel format and how far a dissolve step
// moves it. Every channel reaches its target well within the 32 steps:
// 31 / 3 and 63 / 6 in 5-6-5, 31 / 3 in 5-5-5, 15 / 2 in 4-4-4.
struct Field {
    int shift;
    int mask;
    int step;
};

struct FieldSet {
    Field fields[3];
    bool valid;
};

FieldSet DissolveFields() {
    switch (gPixelFormat) {
        case platform::kfDirect565: return {{{11, 31, 3}, {5, 63, 6}, {0, 31, 3}}, true};
        case platform::kfDirect555: return {{{10, 31, 3}, {5, 31, 3}, {0, 31, 3}}, true};
        case platform::kfDirect444: return {{{8, 15, 2}, {4, 15, 2}, {0, 15, 2}}, true};
        default: return {{}, false};
    }
}

uint16_t MoveToward(uint16_t shown, uint16_t target, const FieldSet& set) {
    int result = 0;
    for (const Field& f : set.fields) {
        int s = (shown >> f.shift) & f.mask;
        const int t = (target >> f.shift) & f.mask;
        if (s < t) {
            s = std::min(s + f.step, t);
        } else if (s > t) {
            s = std::max(s - f.step, t);
        }
        result |= s << f.shift;
    }
    return static_cast<uint16_t>(result);
}

uint16_t* BufferAt(int8_t index) {
    if (index < 0 || index > 2) return nullptr;
    return gScreenBuffers[index];
}

// Moves the size one step toward the target; never passes it.
int StepToward(int current, int target, int step) {
    if (current < target) return std::min(current + step, target);
    if (current > target) return std::max(current - step, target);
    return current;
}

}  // namespace

// Polls the tick until ms have passed since start, keeping the music going;
// the processor is given away for up to 1 ms a turn.
void WaitSince(uint32_t start, uint32_t ms) {
    while (platform::GetTickCount() - start < ms) {
        UpdateMusic();
        platform::WaitForMessages(1);
    }
}

void CrossDissolve(int16_t x0, int16_t y0, int16_t x1, int16_t y1, int8_t shownBuffer,
                   int8_t targetBuffer) {
    if (gEffectsOn == 0) {
        CopyBuffer(targetBuffer, shownBuffer);
        return;
    }
    uint16_t* shown = BufferAt(shownBuffer);
    const uint16_t* target = BufferAt(targetBuffer);
    const FieldSet set = DissolveFields();
    if (shown == nullptr || target == nullptr || !set.valid) {
        CopyBuffer(targetBuffer, shownBuffer);
        return;
    }
    const int left = std::max<int>(0, x0);
    const int top = std::max<int>(0, y0);
    const int right = std::min<int>(kScreenWidth, x1);
    const int bottom = std::min<int>(kScreenHeight, y1);
    for (int step = 0; step < kDissolveSteps; ++step) {
        platform::Msg msg;
        if (platform::PeekMessage(&msg, platform::WM_MOUSEMOVE, platform::WM_MOUSELAST, true) &&
            msg.message == platform::WM_LBUTTONUP) {
            CopyBuffer(targetBuffer, shownBuffer);
            return;
        }
        for (int y = top; y < bottom; ++y) {
            uint16_t* row = shown + y * kScreenWidth;
            const uint16_t* goal = target + y * kScreenWidth;
            for (int x = left; x < right; ++x) row[x] = MoveToward(row[x], goal[x], set);
        }
        PresentScreen();
        WaitSince(platform::GetTickCount(), kDissolvePace);
    }
}

void ZoomPicture(int16_t x, int16_t y, int8_t firstScale, int8_t secondScale, int8_t step,
                 const Picture& picture) {
    UpdateMusic();
    CopyBuffer(0, 2);
    const int width = picture.width;
    const int height = picture.height;
    int currentW = firstScale * width;
    int currentH = firstScale * height;
    const int targetW = secondScale * width;
    const int targetH = secondScale * height;
    // A step of 0 or less would never arrive: it goes to the target at once.
    const int stride = step > 0 ? step : std::max(std::abs(targetW - currentW),
                                                   std::abs(targetH - currentH));
    while (currentW != targetW || currentH != targetH) {
        const uint32_t frameStart = platform::GetTickCount();
        CopyBuffer(2, 0);
        if (width > height) {
            currentW = StepToward(currentW, targetW, stride);
            currentH = currentW * height / width;
        } else if (height > width) {
            currentH = StepToward(currentH, targetH, stride);
            currentW = currentH * width / height;
        } else {
            currentW = StepToward(currentW, targetW, stride);
            currentH = StepToward(currentH, targetH, stride);
        }
        BlitScaled(0, 0, width, height, picture, x + (width - currentW) / 2,
                   y + (height - currentH) / 2, currentW, currentH, true);
        UpdateMusic();
        PresentScreen();
        WaitSince(frameStart, kZoomPace);
    }
}

void SlidePictureIn(int16_t x, int16_t y, int8_t speed, const Picture& picture) {
    CopyBuffer(0, 1);
    UpdateMusic();
    const int width = picture.width;
    const int height = picture.height;
    int position;
    int velocity;
    int period;
    if (speed > 0) {
        position = -width;
        velocity = 1;
        period = ((x + width) / speed) / 2;
    } else {
        position = kScreenWidth;
        velocity = -1;
        period = speed == 0 ? 1 : -(((kScreenWidth - x) / speed) / 2);
    }
    // A period of 0 would divide by zero; the slide then speeds up every pixel.
    if (period <= 0) period = 1;
    int previous = position;
    while (position != x) {
        UpdateMusic();
        position += velocity;
        if ((velocity > 0 && position > x) || (velocity < 0 && position < x)) position = x;
        if (position % period == 0) velocity += velocity > 0 ? 1 : -1;
        // Only the columns on the screen are restored and drawn.
        const int oldFirst = std::max(0, previous);
        const int oldLast = std::min(kScreenWidth, previous + width);
        if (oldLast > oldFirst) CopyRect240(oldFirst, y, oldLast - oldFirst, height, 0, 1);
        const int first = std::max(0, -position);
        const int last = std::min(width, kScreenWidth - position);
        if (last > first) BlitSubRectKeyed240(position + first, y, first, last - first, 0, picture);
        PresentScreen();
        previous = position;
    }
}

}  // namespace qv
