// The screen's pixel format, pitches and the three back buffers.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace qv {

inline constexpr int kScreenWidth = 240;
inline constexpr int kScreenHeight = 320;

extern platform::WindowHandle gMainWindow;  // the program's only window
extern int8_t gGamma;                       // brightness offset the picture loader adds
extern int8_t gGammaSetting;                // the setting as the options screen shows it
extern uint8_t gFixedFrameBuffer;
extern int32_t gPixelFormat;  // platform::kfDirect555, kfDirect565 or kfDirect444
extern uint16_t gScreenWidth;
extern uint16_t gScreenHeight;
extern uint32_t gScreenPixelCount;
extern int32_t gScreenXPitch;  // in pixels
extern int32_t gScreenYPitch;  // in pixels
extern uint16_t* gScreenBuffers[3];
extern uint16_t gTransparentKey;

void DetectDeviceModel();
bool SetPixelFormat(uint32_t ffFormat);
int32_t GetPixelFormat();
void SetDisplayPitch(int32_t cbxPitch, int32_t cbyPitch);
void AllocScreenBuffers(int32_t width, int32_t height);
void FillBuffer(uint16_t colour, int8_t buffer);
void ClearAllBuffers(uint16_t colour);
void PresentScreen();
void PresentRect(int16_t x, int16_t y, int16_t width, int16_t height, int8_t buffer);

}  // namespace qv
