// Shared set-up for the engine's tests: a temporary directory, the headless
// platform with its trace, back buffers, and small file writers.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/display.h"
#include "platform/display.h"
#include "platform/system.h"
#include "platform/types.h"

namespace qv::test {

// A fresh directory below the system's temporary directory.
inline std::filesystem::path MakeTempDir(const std::string& name) {
    std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                ("quorvane-" + name + "-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Starts the headless platform once for the process, its registry and
// trace in the directory.
inline void StartHeadless(const std::filesystem::path& dir) {
    static bool started = false;
    if (started) return;
    started = true;
    ::setenv("QUORVANE_BACKEND", "headless", 1);
    ::setenv("QUORVANE_REGISTRY", (dir / "registry.txt").c_str(), 1);
    ::setenv("QUORVANE_TRACE", (dir / "trace.txt").c_str(), 1);
    platform::Startup();
}

inline std::string ReadFileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// The handheld form of a host path: '\' separators from the root.
inline WString HandheldPath(const std::filesystem::path& path) {
    WString out;
    for (char c : path.string()) out.push_back(c == '/' ? u'\\' : static_cast<char16_t>(c));
    return out;
}

// Opens the headless display and allocates the back buffers (once).
inline void OpenScreen() {
    static bool opened = false;
    if (opened) return;
    opened = true;
    platform::GXOpenDisplay(nullptr, platform::GX_FULLSCREEN);
    const platform::GXDisplayProperties p = platform::GXGetDisplayProperties();
    gPixelFormat = platform::kfDirect565;
    SetDisplayPitch(p.cbxPitch, p.cbyPitch);
    AllocScreenBuffers(240, 320);
}

// What the display shows now, row by row, 240 x 320.
inline std::vector<uint16_t> Displayed() {
    const platform::GXDisplayProperties p = platform::GXGetDisplayProperties();
    auto* memory = static_cast<const uint16_t*>(platform::GXBeginDraw());
    std::vector<uint16_t> out(240 * 320, 0);
    if (memory != nullptr) {
        for (int y = 0; y < 320; ++y) {
            for (int x = 0; x < 240; ++x) {
                out[y * 240 + x] = memory[x * (p.cbxPitch / 2) + y * (p.cbyPitch / 2)];
            }
        }
    }
    platform::GXEndDraw();
    return out;
}

inline std::vector<uint16_t> BufferCopy(int index) {
    return {gScreenBuffers[index], gScreenBuffers[index] + 240 * 320};
}

// A background that differs from pixel to pixel and is never the key 0.
inline void FillPattern(int index, uint32_t seed) {
    uint32_t state = seed * 2654435761u + 1;
    for (int i = 0; i < 240 * 320; ++i) {
        state = state * 1664525u + 1013904223u;
        uint16_t pixel = static_cast<uint16_t>(state >> 16);
        if (gPixelFormat == platform::kfDirect555) pixel &= 0x7FFF;
        if (gPixelFormat == platform::kfDirect444) pixel &= 0x0FFF;
        gScreenBuffers[index][i] = pixel == 0 ? 1 : pixel;
    }
}

// How many frames have been presented so far, counted in the trace.
inline int CountPresents(const std::filesystem::path& trace) {
    const std::string text = ReadFileText(trace);
    int count = 0;
    for (size_t at = text.find(" present "); at != std::string::npos;
         at = text.find(" present ", at + 1)) {
        ++count;
    }
    return count;
}

}  // namespace qv::test
