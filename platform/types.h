// Basic types shared by the platform layer and the game.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// Every text of the program is UTF-16.
using WString = std::u16string;

namespace platform {

// Opaque window handle. The program has one window; FindWindow may also
// return a handle that stands for the window of another running instance.
struct Window;
using WindowHandle = Window*;

struct Point {
    int32_t x = 0;
    int32_t y = 0;
};

}  // namespace platform
}  // namespace qv
