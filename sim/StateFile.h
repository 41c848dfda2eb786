#pragma once

#include <map>
#include <string>

namespace kx::sim {

// The file that keeps the adapter's flash copy across runs: one "area.key=value" a line, with
// '%', '=', '#' in keys, and control bytes, '%' and DEL anywhere, written as %XX; all other bytes
// (the CP932 of names) as they are. Lines starting with '#' are comments.
using FlatState = std::map<std::string, std::string>;

// Reads `path` into `state`. A missing file is not an error: `exists` is false and `state`
// stays empty. A malformed line fails with `error` naming the line.
bool loadStateFile(const std::string& path, FlatState& state, bool& exists, std::string& error);

// Writes atomically (a temporary file beside it, synced, then renamed over it).
bool saveStateFile(const std::string& path, const FlatState& state, std::string& error);

}  // namespace kx::sim
