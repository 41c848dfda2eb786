#pragma once

// The control ids' shapes that the digital and the router area share: a digital port dialog
// (the router's HomePNA port is one) and a half of a BOD dialog, with the BOD edits' limits.

#include <array>

namespace kx {

// One digital port dialog: DATA (136), USB (137) and the router's PNA port (180).
struct DigitalPortIds {
    int dialog;
    int selfAddress;
    std::array<int, 2> arriveTransfer;  // "利用しない", "利用する"
    int transferAddress;
    std::array<int, 2> globalArrive;
    std::array<int, 2> subaddressLessArrive;
    std::array<int, 4> noticeNumber;
    std::array<int, 4> iNumber;
};

// One half of a BOD dialog, the digital throughput BOD (139) or the router's BOD (157):
// channel addition (left) or removal (right).
struct BodSideIds {
    std::array<int, 4> direction;
    int rate;  // threshold, percent
    int rateSpin;
    int estimate;  // "約 n.nn kbps"
    int evalTime;
    int evalTimeSpin;
    int minTime;  // minimum holding time, seconds
    int minTimeSpin;
};

inline constexpr int kBodRateLimit = 3;     // threshold, percent
inline constexpr int kBodTimeLimit = 3;     // evaluation time, seconds
inline constexpr int kBodMinTimeLimit = 4;  // minimum holding time, seconds

}  // namespace kx
