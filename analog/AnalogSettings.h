#pragma once

// The analog area: TEL1, TEL2, TEL3 and the analog common settings, their items as data, the
// reader ("show analog tel1|tel2|tel3|common") and the writer (one setting command per changed
// item).
//
// The records live here, process-wide, for the whole run: analogSettings.snapshot is what the
// adapter is taken to hold, analogSettings.working what the dialogs show and edit. The reader
// fills the snapshot and, once all four replies were read, copies it into the working copy; the
// dialogs' OK copies the working copy into the snapshot before storing their values
// (area/SettingsDlg.h), and the writer sends what differs. Texts hold the adapter's bytes
// (CP932).

#include <array>
#include <span>
#include <string>
#include <vector>

#include "app/services/AreaContext.h"
#include "area/Copies.h"
#include "area/Items.h"

namespace kx {

struct TelPortSettings {
    std::string selfAddress;      // the port's own number, optional subaddress after "*"
    int arriveTransfer = 0;       // 0 disable, 1 enable
    std::string transferAddress;  // call-forwarding destination
    int talky = 0;                // 0..3: 2 = "転送トーキ", 1 = "転送元トーキ"
    int iNumber = 0;              // 0 both, 1 contract, 2 add1, 3 add2
    int numberDisplay = 0;        // 0 disable, 1 nd, 2 cd
    int globalArrive = 0;
    int subaddressLessArrive = 0;
    int noticeNumber = 0;    // 0 disable, 1 contract, 2 address, 3 net
    int callWaiting = 0;     // 0 disable, 1 ntt, 2 pseudo
    int sendDialTime = 0;    // seconds, 3..15
    int analogPortMode = 0;  // 0 voice, 1 audio
    int ringSound = 0;       // 0 ring1, 1 ring2, 2 ring3
    int discSignal = 0;

    bool operator==(const TelPortSettings&) const = default;
};

struct AnalogSettings {
    int useINumber = 0;                  // 0 disable, 1 enable
    int delayNumber = 0;                 // 0..9
    int ringSoundFrequency = 0;          // hertz, 16..30
    std::array<TelPortSettings, 3> tel;  // TEL1, TEL2, TEL3

    bool operator==(const AnalogSettings&) const = default;
};

inline area::Copies<AnalogSettings> analogSettings;

// Writer areas: 0 TEL1, 1 TEL2, 2 TEL3, 3 common.
inline constexpr int kAnalogCommonArea = 3;
// The port words of the commands and show commands.
inline constexpr std::array<std::string_view, 3> kTelPortWords{"tel1", "tel2", "tel3"};

// The items in writing order. A TEL port's commands carry the port word in place of "{}".
std::span<const area::Item<TelPortSettings>> telPortItems();
std::span<const area::Item<AnalogSettings>> analogCommonItems();

// Sends "show analog tel1\r", "tel2", "tel3" and "show analog common\r" and parses each reply
// into analogSettings.snapshot. A failed exchange stops the read at once (what was parsed stays
// in the snapshot, the working copy is untouched) and returns 0; after the fourth reply the
// working copy is set to the snapshot and the result is 1.
int ReadAnalogSettings(const AreaContext& context);

// The commands that bring `area` (0-3) of the adapter from `snapshot` to `working`, in the
// area's order; none for any other area.
std::vector<std::string> analogCommands(const AnalogSettings& working,
                                        const AnalogSettings& snapshot, int area);

// Sends analogCommands(working copy, snapshot, area), stopping at the first failed exchange.
// 1 when every command was acknowledged (also when none was needed), 0 at the first failure.
int WriteAnalogSettings(const AreaContext& context, int area);

}  // namespace kx
