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

}  // namespace kx::area
