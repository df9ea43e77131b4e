// The settings kept as 4-byte values of the registry key "SOFTWARE\Quorvane".
#include "engine/registry_settings.h"

#include "engine/effects.h"
#include "engine/music.h"
#include "platform/registry.h"

namespace qv {

namespace {

// The low byte of a 4-byte value, or false when it cannot be read (the key
// missing counts the same).
bool ReadSettingByte(const WString& name, uint8_t& value) {
    platform::HKey key = nullptr;
    if (platform::RegOpenKey(platform::HKEY_LOCAL_MACHINE, kSettingsKey, &key) != platform::ERROR_SUCCESS) {
        return false;
    }
    uint8_t data[4] = {0, 0, 0, 0};
    uint32_t size = sizeof data;
    int32_t result = platform::RegQueryValue(key, name, nullptr, data, &size);
    platform::RegCloseKey(key);
    if (result != platform::ERROR_SUCCESS) {
        return false;
    }
    value = data[0];
    return true;
}

// Stores the setting as a 4-byte value whose upper bytes are 0; nothing when
// the key cannot be opened.
void WriteSettingByte(const WString& name, uint8_t value) {
    platform::HKey key = nullptr;
    if (platform::RegOpenKey(platform::HKEY_LOCAL_MACHINE, kSettingsKey, &key) != platform::ERROR_SUCCESS) {
        return;
    }
    const uint8_t data[4] = {value, 0, 0, 0};
    platform::RegSetValue(key, name, platform::REG_DWORD, data, sizeof data);
    platform::RegCloseKey(key);
}

}  // namespace

int8_t LoadGammaSetting() {
    uint8_t value = 0;
    return ReadSettingByte(u"Gamma", value) ? static_cast<int8_t>(value) : 0;
}

void SaveGammaSetting(int8_t value) { WriteSettingByte(u"Gamma", static_cast<uint8_t>(value)); }

uint8_t LoadVolumeSetting() {
    uint8_t value = 0;
    return ReadSettingByte(u"Volume", value) ? value : 50;
}

void SaveVolumeSetting() { WriteSettingByte(u"Volume", gVolume); }

bool LoadEffectsSetting() {
    uint8_t value = 0;
    return !ReadSettingByte(u"Effects", value) || value != 0;
}

void SaveEffectsSetting() { WriteSettingByte(u"Effects", gEffectsOn); }

int8_t LoadCurrentSlot() {
    uint8_t value = 0;
    return ReadSettingByte(u"Character", value) ? static_cast<int8_t>(value) : 1;
}

void SaveCurrentSlot(int8_t slot) { WriteSettingByte(u"Character", static_cast<uint8_t>(slot)); }

}  // namespace qv
