#include "sim/StateFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace kx::sim {
namespace {

std::string escape(const std::string& text, bool key) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        const bool special = c < 0x20 || c == 0x7F || c == '%' || (key && (c == '=' || c == '#'));
        if (special) {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

bool unescape(const std::string& text, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return true;
}

}  // namespace

bool loadStateFile(const std::string& path, FlatState& state, bool& exists, std::string& error) {
    state.clear();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        exists = access(path.c_str(), F_OK) == 0;
        if (exists)
            error = "cannot read the state file " + path + ": " + std::strerror(errno);
        return !exists;
    }
    exists = true;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        const auto equals = line.find('=');
        std::string key, value;
        if (equals == std::string::npos || equals == 0 || !unescape(line.substr(0, equals), key) ||
            !unescape(line.substr(equals + 1), value)) {
            error = "state file " + path + " line " + std::to_string(number) +
                    ": expected area.key=value";
            state.clear();
            return false;
        }
        state[key] = value;
    }
    return true;
}

bool saveStateFile(const std::string& path, const FlatState& state, std::string& error) {
    std::ostringstream text;
    text << "# kestrelx-sim flash copy: area.key=value\n";
    for (const auto& [key, value] : state)
        text << escape(key, true) << '=' << escape(value, false) << '\n';
    const std::string bytes = text.str();

    const std::string temporary = path + ".tmp" + std::to_string(getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = "cannot write " + temporary + ": " + std::strerror(errno);
        return false;
    }
    std::size_t done = 0;
    int failure = 0;  // the errno of the first failed step
    while (done < bytes.size() && failure == 0) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            failure = n < 0 ? errno : EIO;
        } else {
            done += static_cast<std::size_t>(n);
        }
    }
    if (failure == 0 && ::fsync(fd) != 0)
        failure = errno;
    if (::close(fd) != 0 && failure == 0)
        failure = errno;
    if (failure == 0 && ::rename(temporary.c_str(), path.c_str()) != 0)
        failure = errno;
    if (failure != 0) {
        error = "cannot write the state file " + path + ": " + std::strerror(failure);
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace kx::sim
