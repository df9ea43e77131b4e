// Small file helpers for tests: whole files as text, lines or bytes, and
// host paths in the handheld's form.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/types.h"

namespace qv::test {

using Bytes = std::vector<uint8_t>;

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::vector<std::string> ReadLines(const std::filesystem::path& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

inline Bytes ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Both writers make the parent folders and replace the file.
inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// WriteBytes tells whether the bytes were written.
inline bool WriteBytes(const std::filesystem::path& path, const Bytes& bytes) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// The handheld form of a host path: '\' separators from the root.
inline WString HandheldPath(const std::filesystem::path& path) {
    WString out;
    for (char c : path.string()) out.push_back(c == '/' ? u'\\' : static_cast<char16_t>(c));
    return out;
}

}  // namespace qv::test
