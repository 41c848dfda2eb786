#pragma once

// The digital area: the DATA and USB ports, the digital common settings, throughput BOD and the
// BACP/BAP answer rules; their items as data, the reader ("show digital data|usb|common") and
// the writer. The record and its copies (digitalSettings), which the router area shares for the
// HomePNA port, are in isdn/DigitalRecord.h.

#include <span>
#include <string>
#include <vector>

#include "app/services/AreaContext.h"
#include "area/Items.h"
#include "isdn/DigitalRecord.h"

namespace kx {

// Writer areas.
inline constexpr int kDigitalDataArea = 0;
inline constexpr int kDigitalUsbArea = 1;
inline constexpr int kDigitalCommonArea = 2;
inline constexpr int kDigitalBodArea = 3;
inline constexpr int kDigitalBacpBapArea = 4;

// The items in writing order (a port's: isdn/DigitalRecord.h): the common area's, throughput
// BOD's, and the two BACP/BAP masks (read by label, written by the named rule of the writer).
std::span<const area::Item<DigitalSettings>> digitalCommonItems();
std::span<const area::Item<DigitalSettings>> throughputBodItems();
std::span<const area::Item<DigitalSettings>> bacpBapItems();

// Sends "show digital data\r", "show digital usb\r" and "show digital common\r" and parses
// each reply into digitalSettings.snapshot; once all three were read the working copy is set to
// the snapshot. A failed exchange stops the read at once and returns 0.
int ReadDigitalSettings(const AreaContext& context);

// The commands that bring `area` (0-4) of the adapter from `snapshot` to `working`, in the
// area's order; none for any other area. A changed BACP/BAP mask sends all three answers of
// its side.
std::vector<std::string> digitalCommands(const DigitalSettings& working,
                                         const DigitalSettings& snapshot, int area);

// Sends digitalCommands(working copy, snapshot, area), stopping at the first failure.
int WriteDigitalSettings(const AreaContext& context, int area);

}  // namespace kx
