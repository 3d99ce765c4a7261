// POSIX implementation of the text conversion, through iconv.
#include "platform/TextEncoding.h"

#include <cerrno>
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

namespace Platform {
namespace {

bool IsUtf8Name(const std::string& charset) {
    std::string letters;
    for (char c : charset) {
        if (c != '-' && c != '_') letters += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    }
    return letters == "UTF8";
}

// Converts the whole text or fails; a text that iconv cannot take completely is a failure.
bool Convert(iconv_t converter, std::string_view text, std::string& result) {
    std::string input(text);
    char* in = input.data();
    size_t inLeft = input.size();
    result.assign(input.size() + 16, '\0');
    char* out = result.data();
    size_t outLeft = result.size();
    while (inLeft > 0) {
        if (::iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<size_t>(-1)) continue;
        if (errno != E2BIG) return false;
        size_t used = result.size() - outLeft;
        result.resize(result.size() * 2);
        out = result.data() + used;
        outLeft = result.size() - used;
    }
    if (::iconv(converter, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1)) return false;
    result.resize(result.size() - outLeft);
    return true;
}

}  // namespace

std::string GetLocaleCharset() {
    locale_t locale = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) return "ANSI_X3.4-1968";  // the "C" locale's ASCII
    std::string charset = ::nl_langinfo_l(CODESET, locale);
    ::freelocale(locale);
    return charset;
}

std::string ConvertToUtf8From(std::string_view text, const std::string& charset) {
    if (text.empty() || IsUtf8Name(charset)) return std::string(text);
    iconv_t converter = ::iconv_open("UTF-8", charset.c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::string(text);
    std::string result;
    bool converted = Convert(converter, text, result);
    ::iconv_close(converter);
    return converted ? result : std::string(text);
}

std::string ConvertToUtf8(std::string_view text) { return ConvertToUtf8From(text, GetLocaleCharset()); }

}  // namespace Platform
