// The settings file reader and writer (kx::Profile) fed any bytes as the file. The input is
// written to a file of its own in a private folder (in memory where /dev/shm exists), then the
// keys the program reads and keys named in the file are read and one of them is written.
// Besides crashes and sanitizer reports it checks what the program relies on:
// - a value holds no LF or NUL; the written key's value is also cut to the caller's buffer,
//   the same whatever the case of the section and key names, and readInt agrees with it;
// - a write of an allowed value reads back exactly, leaves every other key as it read before,
//   and a second write of the same value leaves the file byte for byte as it is;
// - a value or name that could not be read back, or a file that cannot be read (NUL bytes),
//   is refused and the file is left as it was.

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "app/Profile.h"
#include "fuzz/FuzzCheck.h"
#include "link/TextFunctions.h"

namespace {

namespace fs = std::filesystem;

struct Key {
    std::string section;
    std::string key;
};

// The keys the program and kxctl read.
const Key kProgramKeys[] = {
    {"DEVICES", "COM1"}, {"DEVICES", "COM9"}, {"MODE", "DEBUG"},   {"MODE", "KIKI"},
    {"MODE", "VER"},     {"MODE", "ROUTER"},  {"PORTSEL", "PORT"}, {"PORTSEL", "COM"},
    {"IPADDR", "FIELD"}, {"OPTION", "DATA1"}, {"OPTION", "DATA2"},
};

// Values a user could save: blanks and quotes at the ends, "=", ";" and CP932 inside.
const std::string_view kValues[] = {
    "",           "1",
    " padded ",   "\"quoted\"",
    "'single'",   "a=b;c#d",
    "\x83p\x83X",  // "パス" in CP932
    "\"",         "[NOTSECTION]",
};

std::string folder;

void removeFolder() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

// Section and key names found in the text, roughly: "[name]" lines and the names before "=".
std::vector<Key> keysIn(std::string_view text, std::size_t most) {
    std::vector<Key> keys;
    std::string section;
    while (!text.empty() && keys.size() < most) {
        const std::size_t end = text.find('\n');
        std::string_view line = kx::trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.starts_with('[') && line.find(']') != std::string_view::npos) {
            section = kx::trimmed(line.substr(1, line.find(']') - 1));
        } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
            keys.push_back({section, std::string(kx::trimmed(line.substr(0, eq)))});
        }
    }
    return keys;
}

std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    kx::fuzz::check(fd >= 0, "cannot create the harness's file");
    kx::fuzz::check(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()),
                    "cannot write the harness's file");
    ::close(fd);
}

// The key's whole value, read as the program reads it: never a LF or NUL in it.
std::string readValue(const kx::Profile& profile, const Key& key) {
    const std::string full = profile.readText(key.section, key.key, "\x01missing", 1 << 21);
    kx::fuzz::check(full.find('\n') == std::string::npos, "a value holding a LF");
    kx::fuzz::check(full.find('\0') == std::string::npos, "a value holding a NUL");
    return full;
}

// The other reading rules, for one key an input (each read opens the file): cut to the buffer,
// names without regard to case, readInt as the text. Returns the whole value.
std::string readChecked(const kx::Profile& profile, const Key& key, std::size_t buffer) {
    const std::string full = readValue(profile, key);
    const std::string cut = profile.readText(key.section, key.key, "\x01missing", buffer);
    kx::fuzz::check(cut.size() < buffer && full.compare(0, cut.size(), cut) == 0 &&
                        (cut.size() == full.size() || cut.size() == buffer - 1),
                    "a value not cut to the buffer");
    kx::fuzz::check(
        profile.readText(upper(key.section), upper(key.key), "\x01missing", 1 << 21) == full,
        "names compared with regard to case");
    const int number = profile.readInt(key.section, key.key, -7);
    const std::string asText = profile.readText(key.section, key.key, "", 64);
    kx::fuzz::check(number == (asText.empty() ? -7 : kx::ReadDecimal(asText)),
                    "readInt disagrees with the text");
    return full;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    std::string pattern = (base / "kx-profile-fuzz.XXXXXX").string();
    kx::fuzz::check(::mkdtemp(pattern.data()) != nullptr, "cannot make the harness's folder");
    folder = pattern;
    std::atexit(removeFolder);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = folder + "/setutily.ini";
    writeFile(path, bytes);
    const kx::Profile profile(path);

    // a few of the program's keys and of the file's own, chosen by the input
    unsigned sum = 0;
    for (unsigned char c : bytes) sum = sum * 31 + c;
    std::vector<Key> keys = keysIn(bytes, 3);
    for (std::size_t i = 0; i < 2; ++i)
        keys.push_back(kProgramKeys[(sum + i * 5) % std::size(kProgramKeys)]);
    const std::size_t buffer = 1 + sum % 40;

    const std::size_t targetIndex = (sum >> 8) % keys.size();
    const Key& target = keys[targetIndex];
    std::vector<std::string> before;
    for (std::size_t i = 0; i < keys.size(); ++i)
        before.push_back(i == targetIndex ? readChecked(profile, keys[i], buffer)
                                          : readValue(profile, keys[i]));

    const std::string_view value = kValues[(sum >> 16) % std::size(kValues)];
    const bool readable = bytes.find('\0') == std::string_view::npos;
    const bool validNames =
        !target.section.empty() && !target.key.empty() &&
        target.section.find_first_of("]\r\n") == std::string::npos &&
        target.key.find_first_of("=\r\n") == std::string::npos &&
        std::string_view("[;#").find(target.key.front()) == std::string_view::npos &&
        kx::trimmed(target.section).size() == target.section.size() &&
        kx::trimmed(target.key).size() == target.key.size();

    const kx::ProfileResult written = profile.writeText(target.section, target.key, value);
    if (!readable || !validNames) {
        kx::fuzz::check(!written.ok(), "a write accepted for a file or name it cannot keep");
        kx::fuzz::check(fileBytes(path) == bytes, "a refused write changed the file");
        return 0;
    }
    kx::fuzz::check(written.ok(), "a write of an allowed value failed");
    kx::fuzz::check(readValue(profile, target) == value, "a written value reads back otherwise");
    for (std::size_t i = 0; i < keys.size(); ++i) {
        if (kx::CompareNoCase(keys[i].section, target.section) == 0 &&
            kx::CompareNoCase(keys[i].key, target.key) == 0)
            continue;
        kx::fuzz::check(readValue(profile, keys[i]) == before[i], "a write changed another key");
    }
    const std::string after = fileBytes(path);
    kx::fuzz::check(profile.writeText(target.section, target.key, value).ok(),
                    "a second write failed");
    kx::fuzz::check(fileBytes(path) == after, "writing the same value again changed the file");

    // a value that would end its line early is refused, the file untouched
    kx::fuzz::check(!profile.writeText(target.section, target.key, "a\rb").ok() &&
                        !profile.writeText(target.section, target.key, "a\nb").ok(),
                    "a value with a line break was accepted");
    kx::fuzz::check(fileBytes(path) == after, "a refused value changed the file");
    return 0;
}
