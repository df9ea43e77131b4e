// The registry stand-in: keys and values kept in a small text file that is
// rewritten whole (temporary file and rename) on every change.
#include "platform/registry.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/config.h"
#include "platform/internal.h"
#include "platform/system.h"
#include "platform/text.h"

namespace qv::platform {

struct RegistryKey {
    std::string path;  // below the root, components joined by '\'
};

namespace {

struct Value {
    std::string name;
    uint32_t type = REG_NONE;
    uint32_t dword = 0;
    std::vector<uint8_t> bytes;  // REG_BINARY
    WString text;                // REG_SZ
};

struct KeyData {
    std::string path;
    std::vector<Value> values;
};

RegistryKey gRoot;
std::vector<KeyData> gKeys;
std::string gLoadedPath;
bool gLoaded = false;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (Lower(a[i]) != Lower(b[i])) {
            return false;
        }
    }
    return true;
}

std::string Trim(const std::string& text) {
    size_t begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos) {
        return std::string();
    }
    size_t end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

// Components joined by single backslashes, without leading or trailing ones.
std::string NormalKeyPath(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == '\\' || c == '/') {
            if (!out.empty() && out.back() != '\\') {
                out.push_back('\\');
            }
        } else {
            out.push_back(c);
        }
    }
    if (!out.empty() && out.back() == '\\') {
        out.pop_back();
    }
    return out;
}

// '%', control characters and the spaces at either end become %XX, so the
// line can be trimmed and split safely. In a name also '=', and a first
// character that would make the line a key ('[') or a comment ('#', ';').
std::string Escape(const std::string& text, bool isName) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        bool atEdge = i == 0 || i + 1 == text.size();
        bool opensLine = i == 0 && (c == '[' || c == '#' || c == ';');
        bool escape = c < 0x20 || c == 0x7F || c == '%' || (c == ' ' && atEdge) ||
                      (isName && (c == '=' || opensLine));
        if (escape) {
            out.push_back('%');
            out.push_back(kHex[c >> 4]);
            out.push_back(kHex[c & 15]);
        } else {
            out.push_back(static_cast<char>(c));
        }
    }
    return out;
}

// Whether the text survives UTF-8 unchanged: no unpaired surrogate.
bool IsWellFormed(const WString& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF) {
            if (i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) {
                return false;
            }
            ++i;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            return false;
        }
    }
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A '%' not followed by two hex digits stays as it is.
std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigit(text[i + 1]) >= 0 && HexDigit(text[i + 2]) >= 0) {
            out.push_back(static_cast<char>(HexDigit(text[i + 1]) * 16 + HexDigit(text[i + 2])));
            i += 2;
        } else {
            out.push_back(text[i]);
        }
    }
    return out;
}

bool ParseDword(const std::string& text, uint32_t* out) {
    uint64_t value = 0;
    size_t i = 0;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        i = 2;
    }
    if (i >= text.size()) {
        return false;
    }
    for (; i < text.size(); ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0 || digit >= base) {
            return false;
        }
        value = value * base + static_cast<uint64_t>(digit);
        if (value > 0xFFFFFFFFull) {
            return false;
        }
    }
    *out = static_cast<uint32_t>(value);
    return true;
}

bool ParseValue(const std::string& line, Value* value) {
    size_t equals = line.find('=');
    if (equals == std::string::npos) {
        return false;
    }
    value->name = Unescape(Trim(line.substr(0, equals)));
    std::string data = Trim(line.substr(equals + 1));
    if (data.rfind("sz:", 0) == 0) {
        value->type = REG_SZ;
        value->text = FromUtf8(Unescape(data.substr(3)));
        return true;
    }
    if (data.rfind("dword:", 0) == 0) {
        value->type = REG_DWORD;
        return ParseDword(data.substr(6), &value->dword);
    }
    if (data.rfind("hex:", 0) == 0) {
        std::string digits = data.substr(4);
        if (digits.size() % 2 != 0) {
            return false;
        }
        value->type = REG_BINARY;
        for (size_t i = 0; i < digits.size(); i += 2) {
            int high = HexDigit(digits[i]);
            int low = HexDigit(digits[i + 1]);
            if (high < 0 || low < 0) {
                return false;
            }
            value->bytes.push_back(static_cast<uint8_t>(high * 16 + low));
        }
        return true;
    }
    return false;
}

std::string FormatValue(const Value& value) {
    char buffer[32];
    switch (value.type) {
    case REG_DWORD:
        std::snprintf(buffer, sizeof buffer, "dword:0x%08X", value.dword);
        return buffer;
    case REG_SZ:
        return "sz:" + Escape(ToUtf8(value.text), false);
    default: {
        std::string out = "hex:";
        for (uint8_t byte : value.bytes) {
            std::snprintf(buffer, sizeof buffer, "%02x", byte);
            out += buffer;
        }
        return out;
    }
    }
}

KeyData* FindKey(const std::string& path) {
    for (KeyData& key : gKeys) {
        if (SameName(key.path, path)) {
            return &key;
        }
    }
    return nullptr;
}

bool KeyExists(const std::string& path) {
    if (path.empty()) {
        return true;
    }
    for (const KeyData& key : gKeys) {
        if (SameName(key.path, path) ||
            (key.path.size() > path.size() && key.path[path.size()] == '\\' &&
             SameName(key.path.substr(0, path.size()), path))) {
            return true;
        }
    }
    return false;
}

void Load(const std::string& hostPath) {
    gKeys.clear();
    gLoadedPath = hostPath;
    gLoaded = true;
    int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    std::string content;
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        content.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    KeyData* current = nullptr;
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) {
            end = content.size();
        }
        std::string line = Trim(content.substr(start, end - start));
        start = end + 1;
        if (line.empty() || line[0] == '#' || line[0] == ';') {
            continue;
        }
        if (line.front() == '[' && line.back() == ']') {
            std::string path = NormalKeyPath(Unescape(line.substr(1, line.size() - 2)));
            current = nullptr;
            if (!path.empty()) {
                current = FindKey(path);
                if (current == nullptr) {
                    gKeys.push_back(KeyData{path, {}});
                    current = &gKeys.back();
                }
            }
            continue;
        }
        Value value;
        if (current == nullptr || !ParseValue(line, &value)) {
            continue;  // a malformed line is skipped
        }
        bool replaced = false;
        for (Value& existing : current->values) {
            if (SameName(existing.name, value.name)) {
                existing = value;
                replaced = true;
            }
        }
        if (!replaced) {
            current->values.push_back(value);
        }
    }
}

void EnsureLoaded() {
    std::string path = RegistryFilePath();
    if (!gLoaded || path != gLoadedPath) {
        Load(path);
    }
}

bool Save() {
    std::string content;
    for (const KeyData& key : gKeys) {
        content += "[" + Escape(key.path, false) + "]\n";
        for (const Value& value : key.values) {
            content += Escape(value.name, true) + " = " + FormatValue(value) + "\n";
        }
    }
    MakeParentDirectories(gLoadedPath);
    std::string temporary = gLoadedPath + ".tmp" + std::to_string(::getpid());
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n <= 0) {
            break;
        }
        done += static_cast<size_t>(n);
    }
    // On the storage device before it replaces the old file, and the new
    // name right after: a power cut leaves the old settings or the new.
    bool ok = done == content.size() && SyncDescriptor(fd);
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temporary.c_str(), gLoadedPath.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncDirectory(gLoadedPath);
    return true;
}

std::string ChildPath(HKey parent, const WString& subKey) {
    std::string sub = NormalKeyPath(ToUtf8(subKey));
    if (parent->path.empty()) {
        return sub;
    }
    return sub.empty() ? parent->path : parent->path + "\\" + sub;
}

}  // namespace

HKey const HKEY_LOCAL_MACHINE = &gRoot;

std::string RegistryFile() { return RegistryFilePath(); }

int32_t RegCreateKey(HKey parent, const WString& subKey, HKey* result) {
    if (parent == nullptr || result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (!IsWellFormed(subKey)) {
        return ERROR_INVALID_PARAMETER;
    }
    EnsureLoaded();
    std::string path = ChildPath(parent, subKey);
    if (!path.empty() && FindKey(path) == nullptr) {
        gKeys.push_back(KeyData{path, {}});
        if (!Save()) {
            gKeys.pop_back();
            *result = nullptr;
            return ERROR_ACCESS_DENIED;
        }
    }
    *result = path.empty() ? HKEY_LOCAL_MACHINE : new RegistryKey{path};
    return ERROR_SUCCESS;
}

int32_t RegOpenKey(HKey parent, const WString& subKey, HKey* result) {
    if (parent == nullptr || result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    EnsureLoaded();
    std::string path = ChildPath(parent, subKey);
    if (!KeyExists(path)) {
        *result = nullptr;
        return ERROR_FILE_NOT_FOUND;
    }
    *result = path.empty() ? HKEY_LOCAL_MACHINE : new RegistryKey{path};
    return ERROR_SUCCESS;
}

int32_t RegCloseKey(HKey key) {
    if (key == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    if (key != HKEY_LOCAL_MACHINE) {
        delete key;
    }
    return ERROR_SUCCESS;
}

int32_t RegQueryValue(HKey key, const WString& name, uint32_t* type, void* data, uint32_t* size) {
    if (key == nullptr || (data != nullptr && size == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    EnsureLoaded();
    KeyData* keyData = FindKey(key->path);
    std::string valueName = ToUtf8(name);
    const Value* found = nullptr;
    if (keyData != nullptr) {
        for (const Value& value : keyData->values) {
            if (SameName(value.name, valueName)) {
                found = &value;
            }
        }
    }
    if (found == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    std::vector<uint8_t> bytes;
    if (found->type == REG_DWORD) {
        for (int i = 0; i < 4; ++i) {
            bytes.push_back(static_cast<uint8_t>(found->dword >> (8 * i)));
        }
    } else if (found->type == REG_SZ) {
        for (char16_t c : found->text) {
            bytes.push_back(static_cast<uint8_t>(c & 0xFF));
            bytes.push_back(static_cast<uint8_t>(c >> 8));
        }
        bytes.push_back(0);
        bytes.push_back(0);
    } else {
        bytes = found->bytes;
    }
    if (type != nullptr) {
        *type = found->type;
    }
    if (size == nullptr) {
        return ERROR_SUCCESS;
    }
    uint32_t needed = static_cast<uint32_t>(bytes.size());
    if (data == nullptr) {
        *size = needed;
        return ERROR_SUCCESS;
    }
    if (*size < needed) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    if (needed > 0) {
        std::memcpy(data, bytes.data(), needed);
    }
    *size = needed;
    return ERROR_SUCCESS;
}

int32_t RegSetValue(HKey key, const WString& name, uint32_t type, const void* data, uint32_t size) {
    if (key == nullptr || (data == nullptr && size > 0) || !IsWellFormed(name)) {
        return ERROR_INVALID_PARAMETER;
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    Value value;
    value.name = ToUtf8(name);
    value.type = type;
    if (type == REG_DWORD) {
        if (size < 4) {
            return ERROR_INVALID_PARAMETER;
        }
        value.dword = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
                      (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    } else if (type == REG_SZ) {
        for (uint32_t i = 0; i + 1 < size; i += 2) {
            char16_t c = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
            if (c == 0) {
                break;
            }
            value.text.push_back(c);
        }
        if (!IsWellFormed(value.text)) {
            return ERROR_INVALID_PARAMETER;
        }
    } else if (type == REG_BINARY) {
        value.bytes.assign(bytes, bytes + size);
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    EnsureLoaded();
    KeyData* keyData = FindKey(key->path);
    if (keyData == nullptr) {
        if (key->path.empty()) {
            return ERROR_INVALID_PARAMETER;  // no values on the root itself
        }
        gKeys.push_back(KeyData{key->path, {}});
        keyData = &gKeys.back();
    }
    bool replaced = false;
    for (Value& existing : keyData->values) {
        if (SameName(existing.name, value.name)) {
            existing = value;
            replaced = true;
        }
    }
    if (!replaced) {
        keyData->values.push_back(value);
    }
    Trace("regset", key->path + "\\" + value.name + " " + FormatValue(value));
    return Save() ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

}  // namespace qv::platform
