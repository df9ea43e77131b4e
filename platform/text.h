// UTF-16 <-> UTF-8 conversion and the trace's escaping, for the platform's own use.
#pragma once

#include <string>

#include "platform/types.h"

namespace qv::platform {

// Unpaired surrogates become U+FFFD.
std::string ToUtf8(const WString& text);
// Invalid sequences become U+FFFD.
WString FromUtf8(const std::string& text);
// Newline, carriage return and tab as \n, \r and \t, other control
// characters as \xHH, so that a text stays on one trace line.
std::string EscapeLine(const std::string& text);

}  // namespace qv::platform
