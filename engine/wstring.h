// Helpers on the program's UTF-16 texts.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace qv {

// 8-bit text to UTF-16, one character a byte (the program's texts are ASCII;
// bytes above 127 are taken as Latin-1). A null text gives the empty string.
WString Widen(const char* text);
WString Widen(std::string_view text);
// UTF-16 to 8-bit, the low byte of each character (for library calls that
// take 8-bit paths and for traces).
std::string Narrow(const WString& text);
// First / last n characters, counts clamped to the string.
WString LeftChars(const WString& text, int n);
WString RightChars(const WString& text, int n);
// Substring from index for count, clamped.
WString SubString(const WString& text, int index, int count);
// Upper-cases a-z and the Latin-1 letters in place.
void UpperCaseInPlace(WString& text);
WString RepeatChar(char16_t c, int n);

}  // namespace qv
