#pragma once

// Whole files read and written in one go, as the tests compare documents, transcripts and what
// a program wrote.

#include <fstream>
#include <sstream>
#include <string>

namespace kx::test {

// The file's bytes; empty when it cannot be read.
inline std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

}  // namespace kx::test
