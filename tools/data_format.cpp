// The data-file encodings: little-endian integers, '#' fields and the 0x3D scrambling.
#include "tools/data_format.h"

#include <cstdio>
#include <filesystem>

namespace qv::tools {

void AppendInt32(Bytes& out, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}

void AppendHashField(Bytes& out, const std::string& text) {
    out.push_back('#');
    for (char c : text) {
        if (c != '#') out.push_back(static_cast<uint8_t>(c));
    }
    out.push_back('#');
}

void AppendLineBreak(Bytes& out) {
    out.push_back('\r');
    out.push_back('\n');
}

void Scramble(Bytes& bytes) {
    for (uint8_t& b : bytes) b ^= kDataFileKey;
}

CardFiles EncodeCardFiles(const std::vector<Bytes>& records, const Bytes& plainInfo) {
    CardFiles files;
    AppendInt32(files.index, static_cast<int32_t>(records.size()));
    for (const Bytes& record : records) {
        AppendInt32(files.index, static_cast<int32_t>(files.data.size()));
        files.data.insert(files.data.end(), record.begin(), record.end());
    }
    // The entry after the last record closes it.
    AppendInt32(files.index, static_cast<int32_t>(files.data.size()));
    Scramble(files.data);
    files.info = plainInfo;
    Scramble(files.info);
    return files;
}

bool WriteFileBytes(const std::string& path, const Bytes& bytes) {
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    return written == bytes.size() && closed;
}

}  // namespace qv::tools
