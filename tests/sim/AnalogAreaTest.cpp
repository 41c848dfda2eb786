#include <gtest/gtest.h>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

// The analog session tests set every item through these commands and read it back with the
// program's reader; an emptied number, as the writer sends it (nothing after the blank), is
// never read back there.
const test::RoundTrip kRoundTrips[] = {
    {"analog address tel3 ", "show analog tel3", "self address:", ""},
    {"analog arrive_transfer address tel3", "show analog tel3", "  address:", ""},
};

// Among them a number of 33 digits and one with a subaddress of 21 characters (with its "*").
const char* const kRefused[] = {"analog ring_sound tel4 ring1",
                                "analog ring_sound tel1 ring4",
                                "analog ring_sound tel1",
                                "analog ring_sound tel1 ring1 ring2",
                                "analog dial_time tel1 2",
                                "analog dial_time tel1 16",
                                "analog dial_time tel1 +5",
                                "analog dial_time tel1 ",
                                "analog arrive_transfer talky tel1 4",
                                "analog address tel1 03-12a4",
                                "analog address tel1 03 1234",
                                "analog address tel1 012345678901234567890123456789012",
                                "analog address tel1 0123456789*01234567890123456789",
                                "analog address common 0311112222",
                                "analog delay_number 10",
                                "analog ring_sound_freq 15",
                                "analog use_i_number maybe",
                                "analog use_i_number tel1 enable",
                                "analog unknown tel1 1",
                                "analog",
                                "show analog tel4",
                                "show analog",
                                "show analog tel1 tel2"};

const char* const kOthers[] = {
    "show digital data", "digital address data 03", "show", "", "analogue ring_sound tel1 ring2",
    "fromwr 15"};

TEST(AnalogArea, EmptiedNumbersRoundTrip) {
    test::expectRoundTrips(makeAnalogArea, kRoundTrips);
}
TEST(AnalogArea, MalformedCommandsAreRefused) {
    test::expectRefused(makeAnalogArea, kRefused);
}
TEST(AnalogArea, OtherCommandsAreLeftAlone) {
    test::expectNotTaken(makeAnalogArea, kOthers);
}

TEST(AnalogArea, SaveRestoreAndReset) {
    const char* const commands[] = {"analog ring_sound tel1 ring2",
                                    "analog address tel3 0399998888", "analog ring_sound_freq 20"};
    test::expectSaveRestore(makeAnalogArea, commands,
                            {{"tel1.ringSound", "7"},
                             {"tel1.sendDialTime", "x"},
                             {"tel3.selfAddress", "03\r\nshow"},
                             {"common.delayNumber", "-1"},
                             {"tel9.ringSound", "1"}});
}

}  // namespace
}  // namespace kx::sim
