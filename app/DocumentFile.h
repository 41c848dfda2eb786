#pragma once

// Reading and writing a settings document file, and the pre-change history: shared by kxctl
// and the program, so a backup, a saved document and a history document are written the same
// way, and a document is read the same way for a restore.

#include <string>
#include <string_view>
#include <vector>

namespace kx {

// A settings document is a few kilobytes; anything far larger is not one.
inline constexpr std::size_t kLargestDocument = 1 << 20;

// Reads `path` into `text`, at most kLargestDocument + 1 bytes (so that the caller can tell a
// file too large to be a document). Returns 0, or the errno of what failed (EISDIR for a
// folder).
int readDocumentFile(const std::string& path, std::string& text);

// Writes `text` to `path`. A regular file (also one a symbolic link points to, which stays a
// link) is written beside itself, readable by its owner only, and renamed over, so a failed
// write never leaves half a document; anything else (a device, a pipe, /dev/stdout) is written
// to as it is, never replaced. Returns 0, or the errno of what failed (EISDIR for a folder).
int writeDocumentFile(const std::string& path, std::string_view text);

// The history folder: $XDG_STATE_HOME/kestrelx/history, ~/.local/state/kestrelx/history when
// XDG_STATE_HOME is unset or not an absolute path.
std::string historyFolder();

// How many history documents are kept; the oldest beyond them are removed.
inline constexpr std::size_t kHistoryKept = 50;

// One document of the history.
struct HistoryEntry {
    std::string path;
    std::string date;    // its "# date: " header, else the date of its name
    std::string device;  // its "# device: " header
    int items = 0;       // its "name = value" lines
};

// Saves `text` as a new history document, named with the local date, time and `device`
// ("20261208-034500-KESTRELX.txt"). Makes the folder (0700) when it is missing, writes the
// document (0600), then removes the oldest beyond kHistoryKept. Returns the document's path,
// or empty with `error` naming what failed.
std::string saveHistory(std::string_view text, std::string_view device, std::string& error);

// Replaces the history document at `path` (one saveHistory made) with `text`. Returns whether
// it could; else `error` says why.
bool replaceHistory(const std::string& path, std::string_view text, std::string& error);

// The history documents, newest first. A missing folder is an empty history.
std::vector<HistoryEntry> listHistory();

}  // namespace kx
