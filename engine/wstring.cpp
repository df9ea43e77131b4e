// Helpers on the program's UTF-16 texts.
#include "engine/wstring.h"

#include <algorithm>

namespace qv {

WString Widen(const char* text) {
    if (text == nullptr) {
        return WString();
    }
    return Widen(std::string_view(text));
}

WString Widen(std::string_view text) {
    WString result;
    result.reserve(text.size());
    for (char c : text) {
        result.push_back(static_cast<char16_t>(static_cast<uint8_t>(c)));
    }
    return result;
}

std::string Narrow(const WString& text) {
    std::string result;
    result.reserve(text.size());
    for (char16_t c : text) {
        result.push_back(static_cast<char>(c & 0xFF));
    }
    return result;
}

WString LeftChars(const WString& text, int n) {
    if (n <= 0) {
        return WString();
    }
    return text.substr(0, std::min<size_t>(static_cast<size_t>(n), text.size()));
}

WString RightChars(const WString& text, int n) {
    if (n <= 0) {
        return WString();
    }
    size_t count = std::min<size_t>(static_cast<size_t>(n), text.size());
    return text.substr(text.size() - count);
}

WString SubString(const WString& text, int index, int count) {
    if (index < 0) {
        count += index;
        index = 0;
    }
    if (count <= 0 || static_cast<size_t>(index) >= text.size()) {
        return WString();
    }
    return text.substr(static_cast<size_t>(index), static_cast<size_t>(count));
}

void UpperCaseInPlace(WString& text) {
    for (char16_t& c : text) {
        // a-z, and the Latin-1 small letters except the division sign and
        // the y with diaeresis, whose capital lies outside Latin-1.
        if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7)) {
            c = static_cast<char16_t>(c - 0x20);
        }
    }
}

WString RepeatChar(char16_t c, int n) {
    if (n <= 0) {
        return WString();
    }
    return WString(static_cast<size_t>(n), c);
}

}  // namespace qv
