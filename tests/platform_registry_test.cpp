// The registry file: round trips of DWORD and text values, the form the
// set-up script writes, escapes, size rules and damaged lines.
#include "platform/registry.h"
#include "tests/support/headless.h"

namespace qv {
namespace {

using namespace platform;

class Registry : public test::PlatformTest {
protected:
    std::string File() const { return test::ReadText(dir_.Path("registry.txt")); }

    HKey Open(const WString& path) {
        HKey key = nullptr;
        EXPECT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, path, &key), ERROR_SUCCESS);
        return key;
    }

    WString QueryText(HKey key, const WString& name) {
        char16_t buffer[128] = {};
        uint32_t size = sizeof buffer;
        uint32_t type = REG_NONE;
        EXPECT_EQ(RegQueryValue(key, name, &type, buffer, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, static_cast<uint32_t>(REG_SZ));
        EXPECT_GE(size, 2u);
        EXPECT_EQ(buffer[size / 2 - 1], 0) << "terminated";
        return WString(buffer);
    }
};

TEST_F(Registry, ReadsTheFormTheSetUpScriptWrites) {
    test::WriteText(dir_.Path("registry.txt"),
                    "[SOFTWARE\\Quorvane]\n"
                    "Install_Dir = sz:\\work\\main\\build\\install\n"
                    "Gamma = dword:0x000000C8\n"
                    "this line is damaged\n"
                    "Volume = dword:zz\n"
                    "[SOFTWARE\\Quorvane\\Gamma]\n");
    HKey key = Open(u"software\\QUORVANE");
    EXPECT_EQ(QueryText(key, u"install_dir"), u"\\work\\main\\build\\install");
    uint32_t value = 0;
    uint32_t size = 4;
    EXPECT_EQ(RegQueryValue(key, u"Gamma", nullptr, &value, &size), ERROR_SUCCESS);
    EXPECT_EQ(value, 200u);
    EXPECT_EQ(RegQueryValue(key, u"Volume", nullptr, &value, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(key);
    HKey subKey = Open(u"SOFTWARE\\Quorvane\\Gamma");
    RegCloseKey(subKey);
    HKey missing = nullptr;
    EXPECT_EQ(RegOpenKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Other", &missing), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, ValuesAreWrittenThroughAndReadBackAfterARestart) {
    HKey key = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Quorvane", &key), ERROR_SUCCESS);
    HKey sub = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Quorvane\\Volume", &sub), ERROR_SUCCESS);
    const uint8_t volume[4] = {80, 0, 0, 0};
    ASSERT_EQ(RegSetValue(key, u"Volume", REG_DWORD, volume, 4), ERROR_SUCCESS);
    const WString text = u" 100% sure\n\u00e9t\u00e9 ";
    ASSERT_EQ(RegSetValue(key, u"Note", REG_SZ, text.c_str(), static_cast<uint32_t>((text.size() + 1) * 2)),
              ERROR_SUCCESS);
    RegCloseKey(key);
    RegCloseKey(sub);

    EXPECT_EQ(File(), "[SOFTWARE\\Quorvane]\n"
                      "Volume = dword:0x00000050\n"
                      "Note = sz:%20100%25 sure%0A\xc3\xa9t\xc3\xa9%20\n"
                      "[SOFTWARE\\Quorvane\\Volume]\n");

    std::filesystem::copy_file(dir_.Path("registry.txt"), dir_.Path("copy.txt"));
    Restart("QUORVANE_REGISTRY", dir_.Path("copy.txt"));
    key = Open(u"SOFTWARE\\Quorvane");
    EXPECT_EQ(QueryText(key, u"Note"), text);
    uint32_t value = 0;
    uint32_t size = 4;
    uint32_t type = REG_NONE;
    EXPECT_EQ(RegQueryValue(key, u"VOLUME", &type, &value, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<uint32_t>(REG_DWORD));
    EXPECT_EQ(value, 80u);
    RegCloseKey(key);
}

TEST_F(Registry, TooSmallBufferGivesMoreDataAndTheSizeNeeded) {
    HKey key = nullptr;
    ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, u"SOFTWARE\\Quorvane", &key), ERROR_SUCCESS);
    const WString text(100, u'x');
    ASSERT_EQ(RegSetValue(key, u"Install_Dir", REG_SZ, text.c_str(), static_cast<uint32_t>((text.size() + 1) * 2)),
              ERROR_SUCCESS);
    char16_t buffer[100];
    uint32_t size = 200;
    EXPECT_EQ(RegQueryValue(key, u"Install_Dir", nullptr, buffer, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 202u);
    size = 0;
    EXPECT_EQ(RegQueryValue(key, u"Install_Dir", nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 202u);

    uint32_t small = 0;
    size = 2;
    const uint8_t gamma[4] = {1, 2, 3, 4};
    ASSERT_EQ(RegSetValue(key, u"Gamma", REG_DWORD, gamma, 4), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValue(key, u"Gamma", nullptr, &small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(RegSetValue(key, u"Gamma", REG_DWORD, gamma, 3), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(Registry, EscapesAndOddTextsSurviveTheFile) {
    test::WriteText(dir_.Path("registry.txt"),
                    "  [SOFTWARE\\Quorvane]  \r\n"
                    "Name = sz:50%25 %zz and %4\r\n"
                    "Empty = sz:\n"
                    "Hex = dword:12\n");
    HKey key = Open(u"SOFTWARE\\Quorvane");
    EXPECT_EQ(QueryText(key, u"Name"), u"50% %zz and %4") << "a bad escape stays as written";
    EXPECT_EQ(QueryText(key, u"Empty"), u"");
    uint32_t value = 0;
    uint32_t size = 4;
    EXPECT_EQ(RegQueryValue(key, u"Hex", nullptr, &value, &size), ERROR_SUCCESS);
    EXPECT_EQ(value, 12u) << "without 0x the number is decimal";
    RegCloseKey(key);
}

// Every name, key and text the registry takes comes back the same after the
// file is rewritten and read again, however much it looks like the file's
// own syntax.
TEST_F(Registry, EveryAcceptedNameKeyAndTextSurvivesRewritesAndRestarts) {
    const std::vector<WString> awkward = {
        u"#x", u";x", u"[x]", u"[x", u"x]", u"=", u"a=b", u"a = b", u" lead", u"trail ", u" ",
        u"", u"%", u"%23", u"%zz", u"tab\there", u"new\nline", u"\r", u"\x7f", u"\x01",
        u"\u00e9t\u00e9", u"\U0001F600 pair", u"#", u"a # b", u"sz:x", u"dword:0x1"};
    const std::vector<WString> keys = {u"SOFTWARE\\#key", u"SOFTWARE\\%41", u"SOFTWARE\\a]b",
                                       u"SOFTWARE\\ sp ", u"SOFTWARE\\new\nline", u"SOFTWARE\\;c"};
    auto setAll = [&](HKey key) {
        for (size_t i = 0; i < awkward.size(); ++i) {
            // Each name holds another awkward text, so names and texts mix.
            const WString& text = awkward[(i + 3) % awkward.size()];
            ASSERT_EQ(RegSetValue(key, awkward[i], REG_SZ, text.c_str(),
                                  static_cast<uint32_t>((text.size() + 1) * 2)),
                      ERROR_SUCCESS)
                << i;
        }
    };
    auto expectAll = [&](HKey key) {
        for (size_t i = 0; i < awkward.size(); ++i) {
            EXPECT_EQ(QueryText(key, awkward[i]), awkward[(i + 3) % awkward.size()]) << "name " << i;
        }
    };
    for (const WString& path : keys) {
        HKey key = nullptr;
        ASSERT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, path, &key), ERROR_SUCCESS);
        setAll(key);
        RegCloseKey(key);
    }
    for (int restart = 1; restart <= 2; ++restart) {
        const std::string copy = dir_.Path("copy" + std::to_string(restart) + ".txt");
        std::filesystem::copy_file(dir_.Path(restart == 1 ? "registry.txt" : "copy1.txt"), copy);
        Restart("QUORVANE_REGISTRY", copy);
        for (const WString& path : keys) {
            SCOPED_TRACE("restart " + std::to_string(restart));
            HKey key = Open(path);
            expectAll(key);
            // A change rewrites the whole file from what was read.
            const uint8_t one[4] = {1, 0, 0, 0};
            ASSERT_EQ(RegSetValue(key, u"Gamma", REG_DWORD, one, 4), ERROR_SUCCESS);
            RegCloseKey(key);
        }
    }

    // What UTF-8 cannot carry is refused rather than changed.
    HKey key = Open(u"SOFTWARE\\#key");
    const WString lone = u"x\xD800y";
    const uint8_t one[4] = {1, 0, 0, 0};
    EXPECT_EQ(RegSetValue(key, lone, REG_DWORD, one, 4), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValue(key, u"Lone", REG_SZ, lone.c_str(), static_cast<uint32_t>((lone.size() + 1) * 2)),
              ERROR_INVALID_PARAMETER);
    HKey refused = nullptr;
    EXPECT_EQ(RegCreateKey(HKEY_LOCAL_MACHINE, lone, &refused), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

// A value named "#x" was once written back as a comment line and lost.
TEST_F(Registry, ValueNamedLikeACommentIsNotLostOnRewrite) {
    std::filesystem::copy_file(std::filesystem::path(QV_SOURCE_DIR) / "tests/data/repro/registry-name-hash-lost.txt",
                               dir_.Path("repro.txt"));
    Restart("QUORVANE_REGISTRY", dir_.Path("repro.txt"));
    HKey key = Open(u"SOFTWARE\\Quorvane");
    EXPECT_EQ(QueryText(key, u"#x"), u"1");
    const uint8_t one[4] = {1, 0, 0, 0};
    ASSERT_EQ(RegSetValue(key, u"Gamma", REG_DWORD, one, 4), ERROR_SUCCESS);
    RegCloseKey(key);
    std::filesystem::copy_file(dir_.Path("repro.txt"), dir_.Path("again.txt"));
    Restart("QUORVANE_REGISTRY", dir_.Path("again.txt"));
    key = Open(u"SOFTWARE\\Quorvane");
    EXPECT_EQ(QueryText(key, u"#x"), u"1");
    RegCloseKey(key);
}

}  // namespace
}  // namespace qv
