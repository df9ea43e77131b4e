// Shared set-up of the platform tests: a temporary directory and a fresh
// headless platform pointed at it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/system.h"

namespace qv::test {

class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "qvplat-XXXXXX").string();
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        if (mkdtemp(name.data()) != nullptr) {
            path_ = name.data();
        }
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    std::string Path(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream out;
    out << in.rdbuf();
    return out.str();
}

inline std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// A headless platform with its registry and trace in a temporary directory;
// extra environment variables are set before it starts.
class PlatformTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QUORVANE_BACKEND", "headless", 1);
        setenv("QUORVANE_REGISTRY", dir_.Path("registry.txt").c_str(), 1);
        setenv("QUORVANE_TRACE", dir_.Path("trace.txt").c_str(), 1);
        for (const char* name : {"QUORVANE_SCRIPT", "QUORVANE_PIXEL_FORMAT", "QUORVANE_OEM", "QUORVANE_CAPTURE",
                                 "QUORVANE_TIME", "QUORVANE_TIME_LIMIT", "QUORVANE_AUDIO"}) {
            unsetenv(name);
        }
        ASSERT_TRUE(platform::Startup());
    }

    // Starts the platform again with the variable set.
    void Restart(const char* name, const std::string& value) {
        setenv(name, value.c_str(), 1);
        ASSERT_TRUE(platform::Startup());
    }

    std::vector<std::string> Trace() const { return ReadLines(dir_.Path("trace.txt")); }

    // The text of every trace line of this kind ("<ms> <kind> <text>").
    std::vector<std::string> TraceOf(const std::string& kind) const {
        std::vector<std::string> texts;
        for (const std::string& line : Trace()) {
            size_t space = line.find(' ');
            if (space == std::string::npos) continue;
            std::string rest = line.substr(space + 1);
            if (rest == kind) {
                texts.push_back("");
            } else if (rest.rfind(kind + " ", 0) == 0) {
                texts.push_back(rest.substr(kind.size() + 1));
            }
        }
        return texts;
    }

    TempDir dir_;
};

}  // namespace qv::test
