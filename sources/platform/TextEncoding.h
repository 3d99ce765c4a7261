// Conversion of text from the locale's character set to UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace Platform {

// The character set of the user's locale (from the environment, LC_ALL, LC_CTYPE
// or LANG), e.g. "UTF-8" or "ISO-8859-1"; the process's own locale is not changed.
std::string GetLocaleCharset();

// The text converted from `charset` to UTF-8. Unchanged when the character set
// already is UTF-8 or the conversion fails.
std::string ConvertToUtf8From(std::string_view text, const std::string& charset);

// ConvertToUtf8From the locale's character set.
std::string ConvertToUtf8(std::string_view text);

}  // namespace Platform
