#pragma once

// The digital area: the DATA, USB and HomePNA ports, the digital common settings, throughput
// BOD and the BACP/BAP answer rules; their items as data, the reader ("show digital data|usb|
// common") and the writer.
//
// The records live here, process-wide, for the whole run: digitalSettings.snapshot is what the
// adapter is taken to hold, digitalSettings.working what the dialogs show and edit (the rule of
// the two copies: area/Copies.h). The HomePNA block `pna` is read and written by the router
// area (with the port items below, except that the router does not read or write its talky).

#include <span>
#include <string>
#include <vector>

#include "app/AreaContext.h"
#include "area/Copies.h"
#include "area/Items.h"

namespace kx {

struct DigitalPortSettings {
    std::string selfAddress;
    int arriveTransfer = 0;  // 0 disable, 1 enable
    std::string transferAddress;
    int talky = 0;  // 0..3; read, compared and written, edited by no dialog
    int globalArrive = 0;
    int subaddressLessArrive = 0;
    int noticeNumber = 0;  // 0 disable, 1 contract, 2 address, 3 net
    int iNumber = 0;       // 0 both, 1 contract, 2 add1, 3 add2

    bool operator==(const DigitalPortSettings&) const = default;
};

struct DigitalSettings {
    int initChannel = 0;     // 0 two channels, 1 one channel
    int resourceBod = 0;     // 0 disable, 1 depart, 2 arrive, 3 both
    int arrivePriority = 0;  // 0 DATA port, 1 USB port
    int throughputBod = 0;
    int bacpBap = 0;
    int discTime = 0;      // minutes, 0..255
    int piafs = 0;         // 0 32k, 1 64k version 2.0, 2 64k version 2.1
    int addDirection = 0;  // 0 both, 1 send, 2 recv, 3 no addition
    int addRate = 0;       // percent, 0..100
    int addEvalTime = 0;   // seconds, 1..255
    int addMinTime = 0;    // units of 5 seconds, 1..255
    int delDirection = 0;
    int delRate = 0;
    int delEvalTime = 0;
    int delMinTime = 0;
    // BACP/BAP answers, bit 0 channel addition, bit 1 callback request, bit 2 channel removal
    // (set: "auto", clear: "reject"); bits 3 to 7 are carried as they are
    int departMask = 0;
    int arriveMask = 0;
    DigitalPortSettings usb;
    DigitalPortSettings data;
    DigitalPortSettings pna;

    bool operator==(const DigitalSettings&) const = default;
};

inline area::Copies<DigitalSettings> digitalSettings;

// Writer areas.
inline constexpr int kDigitalDataArea = 0;
inline constexpr int kDigitalUsbArea = 1;
inline constexpr int kDigitalCommonArea = 2;
inline constexpr int kDigitalBodArea = 3;
inline constexpr int kDigitalBacpBapArea = 4;

// The items in writing order: a port's (its commands carry "data", "usb" or "pna" in place of
// "{}"), the common area's, throughput BOD's, and the two BACP/BAP masks (read by label, written
// by the named rule of the writer).
std::span<const area::Item<DigitalPortSettings>> digitalPortItems();
std::span<const area::Item<DigitalSettings>> digitalCommonItems();
std::span<const area::Item<DigitalSettings>> throughputBodItems();
std::span<const area::Item<DigitalSettings>> bacpBapItems();

// Sends "show digital data\r", "show digital usb\r" and "show digital common\r" and parses
// each reply into digitalSettings.snapshot; once all three were read the working copy is set to
// the snapshot. A failed exchange stops the read at once and returns 0.
int ReadDigitalSettings(const AreaContext& context);
// The same replies parsed into `snapshot` (the module's reader on a record of its caller).
int readDigitalSettings(const AreaContext& context, DigitalSettings& snapshot);

// The commands that bring `area` (0-4) of the adapter from `snapshot` to `working`, in the
// area's order; none for any other area. A changed BACP/BAP mask sends all three answers of
// its side.
std::vector<std::string> digitalCommands(const DigitalSettings& working,
                                         const DigitalSettings& snapshot, int area);

// Sends digitalCommands(working copy, snapshot, area), stopping at the first failure.
int WriteDigitalSettings(const AreaContext& context, int area);

}  // namespace kx
