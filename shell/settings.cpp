// Settings and the installation directory, kept in the registry.
#include "shell/settings.h"

#include "cards/card_database.h"
#include "platform/display.h"
#include "platform/keys.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace qv {

int8_t gGamma = 0;
int8_t gGammaSetting = 0;
uint8_t gVolume = 50;
uint8_t gEffectsOn = 1;
WString gInstallDir = u"program files\\Ombrel Cards\\";

namespace {

const WString kSettingsKey = u"SOFTWARE\\Quorvane";
const WString kInstallDirValue = u"Install_Dir";
// The directory's buffer: 100 characters with the terminating zero.
constexpr uint32_t kInstallDirBytes = 200;
constexpr size_t kInstallDirMaxLength = 99;

// The low byte of a 4-byte value, or false when it cannot be read (the key
// missing counts the same).
bool ReadSettingByte(const WString& name, uint8_t& value) {
    platform::HKey key = nullptr;
    if (platform::RegOpenKey(platform::HKEY_LOCAL_MACHINE, kSettingsKey, &key) !=
        platform::ERROR_SUCCESS) {
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
    if (platform::RegOpenKey(platform::HKEY_LOCAL_MACHINE, kSettingsKey, &key) !=
        platform::ERROR_SUCCESS) {
        return;
    }
    const uint8_t data[4] = {value, 0, 0, 0};
    platform::RegSetValue(key, name, platform::REG_DWORD, data, sizeof data);
    platform::RegCloseKey(key);
}

// The directory text, or false when it is missing, not a text, not
// terminated within its buffer or longer than 99 characters.
bool ReadInstallDir(WString& directory) {
    platform::HKey key = nullptr;
    if (platform::RegOpenKey(platform::HKEY_LOCAL_MACHINE, kSettingsKey, &key) !=
        platform::ERROR_SUCCESS) {
        return false;
    }
    char16_t data[kInstallDirBytes / 2] = {};
    uint32_t size = kInstallDirBytes;
    uint32_t type = platform::REG_NONE;
    int32_t result = platform::RegQueryValue(key, kInstallDirValue, &type, data, &size);
    platform::RegCloseKey(key);
    if (result != platform::ERROR_SUCCESS || type != platform::REG_SZ || size > kInstallDirBytes) {
        return false;
    }
    size_t characters = size / 2;
    size_t length = 0;
    while (length < characters && data[length] != u'\0') {
        ++length;
    }
    if (length == characters || length > kInstallDirMaxLength) {
        return false;
    }
    directory.assign(data, length);
    return true;
}

}  // namespace

void CreateRegistryKeys() {
    for (const char16_t* name : {u"Gamma", u"Volume", u"Effects", u"Character"}) {
        platform::HKey key = nullptr;
        if (platform::RegCreateKey(platform::HKEY_LOCAL_MACHINE, kSettingsKey + u"\\" + name,
                                   &key) == platform::ERROR_SUCCESS) {
            platform::RegCloseKey(key);
        }
    }
}

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

void LoadInstallDir() {
    WString directory;
    if (ReadInstallDir(directory)) {
        gInstallDir = directory + u"\\";
        return;
    }
    platform::MessageBox(nullptr, u"Can't find Quorvane Directory", u"Quorvane",
                         platform::MB_ICONHAND);
    platform::GXCloseInput();
    platform::GXCloseDisplay();
    CloseCardDatabase();
    platform::ExitProcess(1);
}

}  // namespace qv
