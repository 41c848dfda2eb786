#pragma once

// Keyword tables that several areas' commands share, index 0 first. An area's own tables stand
// beside its item table.

#include <string_view>

namespace kx::area {

inline constexpr std::string_view kDisableEnable[] = {"disable", "enable"};
// i-number use: answer on any number, the subscriber line number, additional number 1 or 2
inline constexpr std::string_view kINumbers[] = {"both", "contract", "add1", "add2"};
// caller-number notification: none, the subscriber line number, the self address, the network's
inline constexpr std::string_view kNoticeNumbers[] = {"disable", "contract", "address", "net"};
// the forwarding announcements, sent as the digit: 2 to the caller, 1 to the forwarding phone
inline constexpr std::string_view kTalky[] = {"0", "1", "2", "3"};
// the three ring patterns of an analog phone
inline constexpr std::string_view kRings[] = {"ring1", "ring2", "ring3"};
// BOD, of the digital area and the router: the channels a connection starts with (index 0 two
// channels), when resource BOD assigns the second channel, and which data throughput BOD
// evaluates to add or remove it; "disable" (kBodNoChange) neither adds nor removes
inline constexpr std::string_view kBodChannels[] = {"2", "1"};
inline constexpr std::string_view kResourceBods[] = {"disable", "depart", "arrive", "both"};
inline constexpr std::string_view kBodDirections[] = {"both", "send", "recv", "disable"};
inline constexpr int kBodNoChange = 3;  // "追加を行わない" / "削除を行わない"

}  // namespace kx::area
