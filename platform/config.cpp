// Reads the QUORVANE_* environment variables into the platform's settings.
#include "platform/config.h"

#include <cstdlib>

namespace qv::platform {
namespace {

Config gConfig;
bool gConfigLoaded = false;

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

// Parses a non-negative decimal number; false for anything else.
bool ParseNumber(const std::string& text, int64_t* out) {
    if (text.empty() || text.size() > 18) {
        return false;
    }
    int64_t value = 0;
    size_t i = 0;
    bool negative = false;
    if (text[0] == '-') {
        negative = true;
        i = 1;
        if (text.size() == 1) {
            return false;
        }
    }
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
        value = value * 10 + (text[i] - '0');
    }
    *out = negative ? -value : value;
    return true;
}

// Parses a decimal fraction such as "0.05"; false for anything else.
bool ParseFraction(const std::string& text, double* out) {
    if (text.empty() || text.size() > 32) {
        return false;
    }
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size()) {
        return false;
    }
    *out = value;
    return true;
}

}  // namespace

uint32_t PixelFormatFlags(const std::string& value) {
    if (value.empty() || value == "565") {
        return 0x80;
    }
    if (value == "555") {
        return 0x40;
    }
    if (value == "444") {
        return 0x200;
    }
    if (value == "555+565" || value == "565+555") {
        return 0xC0;
    }
    return 0x100;
}

std::string RegistryFilePath() {
    std::string path = Env("QUORVANE_REGISTRY");
    if (!path.empty()) {
        return path;
    }
    std::string base = Env("XDG_CONFIG_HOME");
    if (base.empty()) {
        base = Env("HOME");
        base = base.empty() ? std::string(".config") : base + "/.config";
    }
    return base + "/quorvane/registry.txt";
}

void LoadConfig() {
    Config config;
    std::string backend = Env("QUORVANE_BACKEND");
    if (!backend.empty()) {
        config.backend = backend;
    }
    int64_t number = 0;
    if (ParseNumber(Env("QUORVANE_SCALE"), &number) && number >= 1 && number <= 16) {
        config.scale = static_cast<int>(number);
    }
    config.script = Env("QUORVANE_SCRIPT");
    config.trace = Env("QUORVANE_TRACE");
    config.capture = Env("QUORVANE_CAPTURE");
    std::string captureDir = Env("QUORVANE_CAPTURE_DIR");
    if (!captureDir.empty()) {
        config.captureDir = captureDir;
    }
    config.pixelFormat = PixelFormatFlags(Env("QUORVANE_PIXEL_FORMAT"));
    const char* oem = std::getenv("QUORVANE_OEM");
    if (oem != nullptr) {
        config.oem = oem;
    }
    if (ParseNumber(Env("QUORVANE_TIME"), &number)) {
        config.timeSet = true;
        config.time = number;
    }
    if (ParseNumber(Env("QUORVANE_TIME_LIMIT"), &number) && number > 0) {
        config.timeLimit = static_cast<uint64_t>(number);
    }
    config.audioNone = Env("QUORVANE_AUDIO") == "none";
    config.contactsCommand = Env("QUORVANE_CONTACTS_COMMAND");
    config.calendarCommand = Env("QUORVANE_CALENDAR_COMMAND");
    if (ParseNumber(Env("QUORVANE_IR_PORT"), &number) && number >= 1 && number <= 65535) {
        config.irPort = static_cast<uint16_t>(number);
    }
    config.irPeers = Env("QUORVANE_IR_PEER");
    double fraction = 0;
    if (ParseFraction(Env("QUORVANE_IR_TIME_SCALE"), &fraction) && fraction >= 0.001 &&
        fraction <= 10) {
        config.irTimeScale = fraction;
    }
    gConfig = config;
    gConfigLoaded = true;
}

const Config& GetConfig() {
    if (!gConfigLoaded) {
        LoadConfig();
    }
    return gConfig;
}

}  // namespace qv::platform
