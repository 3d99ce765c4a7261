// Readable names for parameterised test cases.
#pragma once

#include <cctype>
#include <string>

// A description made into a test name: its words run together, each begun
// with a capital, every character but letters and digits dropped.
inline std::string CaseName(const std::string& description) {
    std::string name;
    bool wordStart = true;
    for (char c : description) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0) {
            wordStart = true;
            continue;
        }
        name += wordStart ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c;
        wordStart = false;
    }
    return name;
}
