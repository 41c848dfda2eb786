#include <gtest/gtest.h>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

// Every setting command of the program's analog writer; TEL2 gets every item, each with a
// value of its own, so that a label found inside another line would read the wrong one.
const test::RoundTrip kRoundTrips[] = {
    {"analog address tel2 0322223333*12", "show analog tel2", "self address:", "0322223333*12"},
    {"analog arrive_transfer address tel2 09012345678", "show analog tel2",
     "  address:", "09012345678"},
    {"analog arrive_transfer tel2 enable", "show analog tel2", "arrive transfer:", "1"},
    {"analog arrive_transfer talky tel2 3", "show analog tel2", "  talky:", "3"},
    {"analog global_arrive tel2 disable", "show analog tel2", "global arrive:", "0"},
    {"analog no_subaddress tel2 enable", "show analog tel2", "subaddress less arrive:", "1"},
    {"analog port_mode tel2 audio", "show analog tel2", "analog port mode:", "1"},
    {"analog number_display tel2 nd", "show analog tel2", "number display:", "1"},
    {"analog i_number tel2 add1", "show analog tel2", "i number:", "2"},
    {"analog notice_number tel2 net", "show analog tel2", "notice number:", "3"},
    {"analog callwaiting tel2 pseudo", "show analog tel2", "call waiting:", "2"},
    {"analog ring_sound tel2 ring3", "show analog tel2", "ring sound:", "2"},
    {"analog dial_time tel2 7", "show analog tel2", "send dial time:", "7"},
    {"analog disc_signal tel2 enable", "show analog tel2", "disc signal:", "1"},
    {"analog address tel1 0311110000", "show analog tel1", "self address:", "0311110000"},
    {"analog number_display tel1 cd", "show analog tel1", "number display:", "2"},
    {"analog dial_time tel3 15", "show analog tel3", "send dial time:", "15"},
    {"analog notice_number tel3 address", "show analog tel3", "notice number:", "2"},
    {"analog use_i_number enable", "show analog common", "i number:", "1"},
    {"analog delay_number 9", "show analog common", "delay number:", "9"},
    {"analog ring_sound_freq 30", "show analog common", "ring sound frequency:", "30"},
    // an emptied number, as the writer sends it: nothing after the blank
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

TEST(AnalogArea, SettingCommandsRoundTrip) {
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
