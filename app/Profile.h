#pragma once

// The settings file: a Windows-style private profile ("[SECTION]" lines, "KEY=value" lines)
// read and written the way the Windows profile functions do it, so a file carried over from the
// Windows program keeps working.
//
// - Section and key names compare without regard to case (ASCII letters). The first section of
//   a name that holds the key wins; lines starting with ";" or "#" are comments.
// - Names and values are trimmed of blanks and tabs around them and around the "=". A value
//   in a matching pair of quotes ("..." or '...') is read without them; the writer adds a pair
//   of double quotes when a value would otherwise lose blanks or quotes at its ends, so every
//   value reads back exactly as written. Values are bytes (the file may hold CP932).
// - Both LF and CRLF files are read. A rewrite keeps every line byte for byte except the one
//   changed, and ends added lines the way the file's first line ends (LF for a new file).
// - Every read opens the file afresh (no cache). A file that cannot be read (missing,
//   unreadable, a directory, binary, over 1 MiB) gives the defaults.
// - Writes replace the whole file atomically (temporary file in the same folder, fsync,
//   rename): after a failure the old file is intact. A new file is created with mode 0600, as
//   it holds passwords; an existing file keeps its mode. A file that exists but cannot be read
//   is never overwritten (that would lose its contents): the write fails instead.
//
// Not thread-safe against concurrent writers of the same file; the program writes from the
// user-interface thread only.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

namespace kx {

// Outcome of a write. On failure `error` holds the errno of the step that failed and `message`
// a sentence for the user naming the file and the reason.
struct ProfileResult {
    int error = 0;
    std::string message;

    bool ok() const { return error == 0; }
};

class Profile {
public:
    explicit Profile(std::string path) : path_(std::move(path)) {}

    const std::string& path() const { return path_; }

    // Like GetPrivateProfileInt: the decimal number at the start of the value (optional sign,
    // leading digits, 0 when there are none, clamped to int); defaultValue when the key is
    // missing or its value empty.
    int readInt(std::string_view section, std::string_view key, int defaultValue) const;

    // Like GetPrivateProfileString into a buffer of bufferSize bytes: the value, or defaultValue
    // when the key is missing, cut to bufferSize - 1 bytes ("" when bufferSize is 0). A key
    // that is present with an empty value gives "".
    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue, std::size_t bufferSize) const;

    // Like WritePrivateProfileString: sets the value, creating the file, the section or the key
    // when missing. A value holding CR, LF or NUL, or a name that could not be read back
    // (empty, blanks at its ends, "]" in a section, "=" in a key, line breaks), is refused with
    // EINVAL and the file is left alone.
    ProfileResult writeText(std::string_view section, std::string_view key,
                            std::string_view value) const;

    // Writes the number as decimal text ("%d").
    ProfileResult writeInt(std::string_view section, std::string_view key, int value) const;

private:
    std::string path_;
};

// The folder the process was started in. Captured by the first call, which main makes before
// anything could change the working folder. "." when the working folder cannot be named.
const std::string& StartupDirectory();

// dir joined with "setutily.ini" / "kestrelx.hlp" (one "/" between them).
std::string SettingsFilePath(const std::string& dir);
std::string HelpFilePath(const std::string& dir);

}  // namespace kx
