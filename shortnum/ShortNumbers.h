#pragma once

// The short-number (speed-dial) table: 20 numbers, entries 1 to 20, read with "show shortnum
// num1\r" (1-10) and "show shortnum num2\r" (11-20), written one changed entry at a time with
// "shortnum add <k> <number>\r".
//
// The tables live here, process-wide: shortNumbers.snapshot is what the adapter reported at the
// last read, shortNumbers.working what the dialog shows and edits. Unlike the other areas the
// dialog takes no snapshot copy; the next read refreshes both. Numbers hold the adapter's bytes.

#include <array>
#include <span>
#include <string>
#include <vector>

#include "app/services/AreaContext.h"
#include "area/Copies.h"
#include "area/Items.h"

namespace kx {

inline constexpr int kShortNumberCount = 20;

struct ShortNumberEntry {
    std::string number;  // "" = an empty entry

    bool operator==(const ShortNumberEntry&) const = default;
};

// Entry k (1..20) is at index k - 1.
using ShortNumberTable = std::array<ShortNumberEntry, kShortNumberCount>;

inline area::Copies<ShortNumberTable> shortNumbers;

// The one item of an entry; its command takes the entry number in place of "{}".
std::span<const area::Item<ShortNumberEntry>> shortNumberItems();

// Reads both pages into the snapshot and, once both were read, copies it into the working
// table. An entry a page does not list reads as empty. 1 on success, 0 at the first failed
// exchange.
int ReadShortNumbers(const AreaContext& context);

// "shortnum add <k> <number>\r" for every entry whose working number differs from the
// snapshot, in entry order. Over the network link nothing is written (and the dialog shows
// the numbers disabled).
std::vector<std::string> shortNumberCommands(const ShortNumberTable& working,
                                             const ShortNumberTable& snapshot,
                                             bool overNetwork = false);

// Sends shortNumberCommands(working, snapshot), stopping at the first failure. 1 when every
// command was acknowledged, 0 at the first failure.
int WriteShortNumbers(const AreaContext& context);

}  // namespace kx
