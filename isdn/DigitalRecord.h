#pragma once

// The digital settings record: the DATA, USB and HomePNA ports and the digital common settings,
// throughput BOD and BACP/BAP. The digital area reads and writes it; the router area reads and
// writes its HomePNA block `pna`, with the port items below except the talky, so the record,
// its copies and the port items live here, where both areas find them.
//
// Its two copies are process-wide, for the whole run: digitalSettings.snapshot is what the
// adapter is taken to hold, digitalSettings.working what the dialogs show and edit (the rule of
// the two copies: area/Copies.h).

#include <span>
#include <string>

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

// A port's items in writing order (their commands carry "data", "usb" or "pna" in place of
// "{}").
std::span<const area::Item<DigitalPortSettings>> digitalPortItems();

}  // namespace kx
