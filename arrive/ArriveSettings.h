#pragma once

// The incoming-call control area: how each port is offered a call (ranking), with which ring
// an analog phone rings, the service selection, and 20 caller numbers with their own rankings;
// the items as data, the reader ("show arrive basic|num1|num2") and the writer.
//
// Rankings of TEL1-3 are the adapter's codes: 0 precede, 1 normal, 2 delay, 3 reject. DATA, USB
// and HomePNA can only be normal or rejected, so their rankings are a two-way index: 0 normal,
// 1 reject (the reader turns the code 1 into 0 and every other code into 1). Rings: 0 ring1,
// 1 ring2, 2 ring3.
//
// The records live here, process-wide: arriveSettings.snapshot is what the adapter is taken to
// hold, arriveSettings.working what the dialogs show and edit (area/Copies.h).

#include <array>
#include <span>
#include <string>
#include <vector>

#include "app/services/AreaContext.h"
#include "area/Copies.h"
#include "area/Items.h"

namespace kx {

inline constexpr int kArriveEntryCount = 20;

// One registered caller number (entries 1-20).
struct ArriveEntry {
    std::string number;  // "" = not registered
    int tel1Rank = 0;
    int tel2Rank = 0;
    int tel3Rank = 0;
    int dataRank = 0;  // two-way index
    int usbRank = 0;
    int pnaRank = 0;  // read and compared; no dialog edits it
    int ring = 0;

    bool operator==(const ArriveEntry&) const = default;
};

struct ArriveSettings {
    int nttRing = 0;          // the ring used with the telephone company's distinctive-ring service
    int tel1DefaultRank = 0;  // "default": callers with a number not in the table
    int tel1NoidRank = 0;     // "noid": calls without a caller number
    int tel2DefaultRank = 0;
    int tel2NoidRank = 0;
    int tel3DefaultRank = 0;
    int tel3NoidRank = 0;
    int dataDefaultRank = 0;
    int dataNoidRank = 0;
    int usbDefaultRank = 0;
    int usbNoidRank = 0;
    int pnaDefaultRank = 0;
    int pnaNoidRank = 0;
    int defaultRing = 0;
    int noidRing = 0;
    int ringSelectService = 0;  // 0 the telephone company's ("ntt"), otherwise the adapter's
    int troubleTelService = 0;  // the same for the nuisance-call service
    std::array<ArriveEntry, kArriveEntryCount> entries;  // entry k at index k - 1

    bool operator==(const ArriveSettings&) const = default;
};

inline area::Copies<ArriveSettings> arriveSettings;

// Writer areas: 0 the standard settings, 1 entries 1-10, 2 entries 11-20.
inline constexpr int kArriveStandardArea = 0;

// The items in writing order; an entry's commands carry its number in place of "{}".
std::span<const area::Item<ArriveSettings>> arriveStandardItems();
std::span<const area::Item<ArriveEntry>> arriveEntryItems();

// Sends "show arrive basic\r", "show arrive num1\r" and "show arrive num2\r" and parses them
// into arriveSettings.snapshot; once all three were read the working copy is set to the
// snapshot. An entry a page does not list reads as an empty number (its rankings stay). A
// failed exchange stops the read at once and returns 0.
int ReadArriveSettings(const AreaContext& context);

// The commands that bring `area` (0-2) from `snapshot` to `working`; none for another area.
// Over the network link the standard settings send nothing.
std::vector<std::string> arriveCommands(const ArriveSettings& working,
                                        const ArriveSettings& snapshot, int area,
                                        bool overNetwork = false);

// Sends arriveCommands(working copy, snapshot, area, over the network link or not), stopping
// at the first failure.
int WriteArriveSettings(const AreaContext& context, int area);

}  // namespace kx
