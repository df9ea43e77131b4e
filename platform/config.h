// The platform's settings, read once from the QUORVANE_* environment variables.
#pragma once

#include <cstdint>
#include <string>

namespace qv::platform {

struct Config {
    std::string backend = "sdl";       // "sdl" or "headless"
    int scale = 0;                     // window scale; 0: largest that fits
    std::string script;                // headless input script file
    std::string trace;                 // trace file
    std::string capture;               // frames to dump: "all", "last" or "1,5,10-20"
    std::string captureDir = ".";      // where dumped frames go
    uint32_t pixelFormat = 0x80;       // kf* flags of the display
    std::string oem = "Linux Quorvane";  // device model text (UTF-8)
    bool timeSet = false;              // QUORVANE_TIME given
    int64_t time = 0;
    uint64_t timeLimit = 600000;       // headless virtual-time limit in ms
    bool audioNone = false;            // QUORVANE_AUDIO=none
    std::string contactsCommand;
    std::string calendarCommand;
    uint16_t irPort = 47474;           // TCP and discovery port of the link
    std::string irPeers;               // comma list of addresses to ask; empty: loopback and broadcast
    double irTimeScale = 1.0;          // factor on the link's waits (tests shorten them)
};

// Reads the environment again; Startup calls it.
void LoadConfig();
const Config& GetConfig();

// The display's format flags for a QUORVANE_PIXEL_FORMAT value.
uint32_t PixelFormatFlags(const std::string& value);

// The registry file: QUORVANE_REGISTRY, else the XDG config location.
std::string RegistryFilePath();

}  // namespace qv::platform
