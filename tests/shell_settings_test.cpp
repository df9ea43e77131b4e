// Tests of the registry settings and the installation directory over a temporary registry file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/effects.h"
#include "engine/install_dir.h"
#include "engine/music.h"
#include "engine/registry_settings.h"
#include "platform/registry.h"
#include "shell/settings.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

namespace qv {
namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QUORVANE_BACKEND", "headless", 1);
        unsetenv("QUORVANE_TRACE");
        static int count = 0;
        path_ = (test::ProcessTempDir("settings") / ("registry-" + std::to_string(++count) + ".txt")).string();
        // A new path makes the registry read its file again.
        setenv("QUORVANE_REGISTRY", path_.c_str(), 1);
    }
    void WriteRegistry(const std::string& text) const { test::WriteText(path_, text); }
    std::string RegistryText() const { return test::ReadText(path_); }
    // The raw bytes and type of a value of the settings key; false when unreadable.
    static bool RawValue(const WString& name, uint8_t (&bytes)[8], uint32_t& size, uint32_t& type) {
        platform::HKey key = nullptr;
        if (platform::RegOpenKey(platform::HKEY_LOCAL_MACHINE, u"SOFTWARE\\Quorvane", &key) !=
            platform::ERROR_SUCCESS) {
            return false;
        }
        size = sizeof bytes;
        int32_t result = platform::RegQueryValue(key, name, &type, bytes, &size);
        platform::RegCloseKey(key);
        return result == platform::ERROR_SUCCESS;
    }

    std::string path_;
};

TEST_F(SettingsTest, FirstStartUsesDefaultsAndCreatesTheSubkeys) {
    WriteRegistry("[SOFTWARE\\Quorvane]\nInstall_Dir = sz:\\opt\\Quorvane Cards\n");
    CreateRegistryKeys();
    EXPECT_EQ(LoadGammaSetting(), 0);
    EXPECT_EQ(LoadVolumeSetting(), 50);
    EXPECT_TRUE(LoadEffectsSetting());
    EXPECT_EQ(LoadCurrentSlot(), 1);
    LoadInstallDir();
    EXPECT_EQ(gInstallDir, u"\\opt\\Quorvane Cards\\");
    std::string text = RegistryText();
    for (const char* name : {"Gamma", "Volume", "Effects", "Character"}) {
        EXPECT_NE(text.find(std::string("[SOFTWARE\\Quorvane\\") + name + "]"), std::string::npos)
            << text;
        platform::HKey key = nullptr;
        EXPECT_EQ(platform::RegOpenKey(platform::HKEY_LOCAL_MACHINE,
                                       u"SOFTWARE\\Quorvane\\" + WString(name, name + std::strlen(name)),
                                       &key),
                  platform::ERROR_SUCCESS)
            << name;
        platform::RegCloseKey(key);
    }
    // The subkeys stay empty and the settings are not written by creating them.
    EXPECT_EQ(text.find("dword:"), std::string::npos) << text;
}

TEST_F(SettingsTest, ReadersTakeTheLowByteWithItsSign) {
    WriteRegistry(
        "[SOFTWARE\\Quorvane]\n"
        "Gamma = dword:0x000000C8\n"
        "Volume = dword:0x12345600\n"
        "Effects = dword:0x00000100\n"
        "Character = dword:0xFFFFFF03\n");
    EXPECT_EQ(LoadGammaSetting(), -56);
    EXPECT_EQ(LoadVolumeSetting(), 0);
    EXPECT_FALSE(LoadEffectsSetting());
    EXPECT_EQ(LoadCurrentSlot(), 3);
}

TEST_F(SettingsTest, WithoutTheKeyReadersGiveDefaultsAndWritersWriteNothing) {
    WriteRegistry("");
    EXPECT_EQ(LoadGammaSetting(), 0);
    EXPECT_EQ(LoadVolumeSetting(), 50);
    EXPECT_TRUE(LoadEffectsSetting());
    EXPECT_EQ(LoadCurrentSlot(), 1);
    gVolume = 30;
    SaveVolumeSetting();
    SaveCurrentSlot(2);
    EXPECT_EQ(RegistryText().find("Volume"), std::string::npos) << RegistryText();
}

TEST_F(SettingsTest, WritersStoreFourByteValuesWithZeroUpperBytes) {
    WriteRegistry("[SOFTWARE\\Quorvane]\nInstall_Dir = sz:\\opt\n");
    gVolume = 30;
    gEffectsOn = 0;
    SaveGammaSetting(-56);
    SaveVolumeSetting();
    SaveEffectsSetting();
    SaveCurrentSlot(3);
    struct Expected {
        const char16_t* name;
        uint8_t low;
    };
    for (Expected e : {Expected{u"Gamma", 0xC8}, Expected{u"Volume", 30}, Expected{u"Effects", 0},
                       Expected{u"Character", 3}}) {
        uint8_t bytes[8] = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
        uint32_t size = 0;
        uint32_t type = 0;
        ASSERT_TRUE(RawValue(e.name, bytes, size, type));
        EXPECT_EQ(type, platform::REG_DWORD);
        ASSERT_EQ(size, 4u);
        EXPECT_EQ(bytes[0], e.low);
        EXPECT_EQ(bytes[1], 0);
        EXPECT_EQ(bytes[2], 0);
        EXPECT_EQ(bytes[3], 0);
    }
    EXPECT_NE(RegistryText().find("Gamma = dword:0x000000C8"), std::string::npos)
        << RegistryText();
    // And they read back as they were meant.
    EXPECT_EQ(LoadGammaSetting(), -56);
    EXPECT_EQ(LoadVolumeSetting(), 30);
    EXPECT_FALSE(LoadEffectsSetting());
    EXPECT_EQ(LoadCurrentSlot(), 3);
}

TEST_F(SettingsTest, InstallDirOfNinetyNineCharactersIsAccepted) {
    std::string directory = "\\" + std::string(98, 'd');
    WriteRegistry("[SOFTWARE\\Quorvane]\nInstall_Dir = sz:" + directory + "\n");
    LoadInstallDir();
    EXPECT_EQ(gInstallDir.size(), 100u);
    EXPECT_EQ(gInstallDir.back(), u'\\');
}

using SettingsDeathTest = SettingsTest;

TEST_F(SettingsDeathTest, UnreadableInstallDirEndsTheProgramWithOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::string cases[] = {
        "",                                                              // no key
        "[SOFTWARE\\Quorvane]\nGamma = dword:0x00000001\n",              // no value
        "[SOFTWARE\\Quorvane]\nInstall_Dir = dword:0x00000001\n",        // not a text
        "[SOFTWARE\\Quorvane]\nInstall_Dir = hex:41004200\n",            // not terminated
        "[SOFTWARE\\Quorvane]\nInstall_Dir = sz:\\" + std::string(99, 'd') + "\n",  // 100 characters
    };
    for (const std::string& registry : cases) {
        WriteRegistry(registry);
        EXPECT_EXIT(LoadInstallDir(), ::testing::ExitedWithCode(1), "") << registry;
    }
}

}  // namespace
}  // namespace qv
