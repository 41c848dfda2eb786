#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

using test::send;
using test::shown;

struct RoundTrip {
    const char* command;
    const char* show;
    const char* label;
    const char* value;
};

// Every setting command the program's analog writer sends, read back the way its reader does.
const RoundTrip kRoundTrips[] = {
    {"analog address tel1 0311112222*12", "show analog tel1", "self address:", "0311112222*12"},
    {"analog arrive_transfer address tel2 09012345678", "show analog tel2", "  address:",
     "09012345678"},
    {"analog arrive_transfer tel3 enable", "show analog tel3", "arrive transfer:", "1"},
    {"analog arrive_transfer talky tel1 3", "show analog tel1", "  talky:", "3"},
    {"analog global_arrive tel2 disable", "show analog tel2", "global arrive:", "0"},
    {"analog no_subaddress tel1 disable", "show analog tel1", "subaddress less arrive:", "0"},
    {"analog port_mode tel3 audio", "show analog tel3", "analog port mode:", "1"},
    {"analog number_display tel1 cd", "show analog tel1", "number display:", "2"},
    {"analog number_display tel2 nd", "show analog tel2", "number display:", "1"},
    {"analog i_number tel2 add2", "show analog tel2", "i number:", "3"},
    {"analog notice_number tel3 address", "show analog tel3", "notice number:", "2"},
    {"analog callwaiting tel1 pseudo", "show analog tel1", "call waiting:", "2"},
    {"analog ring_sound tel3 ring3", "show analog tel3", "ring sound:", "2"},
    {"analog dial_time tel2 7", "show analog tel2", "send dial time:", "7"},
    {"analog dial_time tel1 15", "show analog tel1", "send dial time:", "15"},
    {"analog disc_signal tel1 enable", "show analog tel1", "disc signal:", "1"},
    {"analog use_i_number enable", "show analog common", "i number:", "1"},
    {"analog delay_number 9", "show analog common", "delay number:", "9"},
    {"analog ring_sound_freq 30", "show analog common", "ring sound frequency:", "30"},
};

TEST(AnalogArea, EverySettingCommandRoundTrips) {
    for (const RoundTrip& row : kRoundTrips) {
        SCOPED_TRACE(row.command);
        auto area = makeAnalogArea();
        const auto set = send(*area, row.command);
        EXPECT_TRUE(set.taken);
        EXPECT_EQ(set.reply, "");
        EXPECT_EQ(shown(*area, row.show, row.label), row.value);
    }
}

TEST(AnalogArea, EmptyNumbersAreAccepted) {
    auto area = makeAnalogArea();
    send(*area, "analog address tel1 0311112222");
    send(*area, "analog arrive_transfer address tel1 0311113333");
    EXPECT_EQ(send(*area, "analog address tel1 ").reply, "");
    EXPECT_EQ(send(*area, "analog arrive_transfer address tel1").reply, "");
    EXPECT_EQ(shown(*area, "show analog tel1", "self address:"), "");
    EXPECT_EQ(shown(*area, "show analog tel1", "  address:"), "");
}

// Every label of a port reply finds its own line, with every item set apart from the others.
TEST(AnalogArea, EachLabelOfAPortReplyFindsItsOwnLine) {
    auto area = makeAnalogArea();
    for (const char* command :
         {"analog address tel2 0322223333", "analog arrive_transfer address tel2 0344445555",
          "analog arrive_transfer tel2 enable", "analog arrive_transfer talky tel2 2",
          "analog global_arrive tel2 disable", "analog no_subaddress tel2 enable",
          "analog number_display tel2 nd", "analog i_number tel2 add1",
          "analog notice_number tel2 net", "analog callwaiting tel2 pseudo",
          "analog dial_time tel2 11", "analog port_mode tel2 audio",
          "analog ring_sound tel2 ring2", "analog disc_signal tel2 disable"}) {
        ASSERT_EQ(send(*area, command).reply, "") << command;
    }
    const std::string buffer = send(*area, "show analog tel2").buffer;
    const std::map<std::string, std::string> expected{
        {"self address:", "0322223333"}, {"arrive transfer:", "1"}, {"  address:", "0344445555"},
        {"  talky:", "2"},  {"global arrive:", "0"},  {"subaddress less arrive:", "1"},
        {"analog port mode:", "1"}, {"number display:", "1"}, {"i number:", "2"},
        {"notice number:", "3"}, {"call waiting:", "2"}, {"ring sound:", "1"},
        {"send dial time:", "11"}, {"disc signal:", "0"},
    };
    for (const auto& [label, value] : expected) {
        EXPECT_EQ(test::readLabel(buffer, label), value) << label;
    }
    // the other ports kept their factory numbers
    EXPECT_EQ(shown(*area, "show analog tel1", "self address:"), "");
    EXPECT_EQ(shown(*area, "show analog tel3", "ring sound:"), "0");
}

TEST(AnalogArea, MalformedCommandsAnswerAnErrorAndChangeNothing) {
    const char* const kMalformed[] = {
        "analog ring_sound tel4 ring1",   "analog ring_sound tel1 ring4",
        "analog ring_sound tel1",         "analog ring_sound tel1 ring1 ring2",
        "analog dial_time tel1 2",        "analog dial_time tel1 16",
        "analog dial_time tel1 +5",       "analog dial_time tel1 ",
        "analog arrive_transfer talky tel1 4",
        "analog address tel1 03-12a4",    "analog address tel1 03 1234",
        "analog address tel1 012345678901234567890123456789012",  // 33 digits
        "analog address tel1 0123456789*01234567890123456789",    // 21-character subaddress
        "analog address common 0311112222",
        "analog delay_number 10",         "analog ring_sound_freq 15",
        "analog use_i_number maybe",      "analog use_i_number tel1 enable",
        "analog unknown tel1 1",          "analog",
        "show analog tel4",               "show analog",
        "show analog tel1 tel2",
    };
    for (const char* command : kMalformed) {
        SCOPED_TRACE(command);
        auto area = makeAnalogArea();
        const auto before = area->save();
        const auto result = send(*area, command);
        EXPECT_TRUE(result.taken);
        EXPECT_EQ(result.reply, "Error: invalid parameter\r\n");
        EXPECT_EQ(area->save(), before);
    }
}

TEST(AnalogArea, LeavesOtherCommandsAlone) {
    auto area = makeAnalogArea();
    for (const char* command : {"show digital data", "digital address data 03", "show", "",
                                "analogue ring_sound tel1 ring2", "fromwr 15"}) {
        std::string reply;
        EXPECT_FALSE(area->handle(test::splitWords(command), command, reply)) << command;
        EXPECT_EQ(reply, "");
    }
}

TEST(AnalogArea, SaveRestoreAndReset) {
    auto area = makeAnalogArea();
    const auto factory = area->save();
    EXPECT_EQ(factory.at("analog.tel1.ringSound"), "0");
    send(*area, "analog ring_sound tel1 ring2");
    send(*area, "analog address tel3 0399998888");
    send(*area, "analog ring_sound_freq 20");
    const auto saved = area->save();

    auto copy = makeAnalogArea();
    copy->restore(saved);
    EXPECT_EQ(copy->save(), saved);
    EXPECT_EQ(shown(*copy, "show analog tel3", "self address:"), "0399998888");

    // values that are not valid, and unknown keys, keep what is there
    copy->restore({{"analog.tel1.ringSound", "7"},
                   {"analog.tel1.sendDialTime", "x"},
                   {"analog.tel2.selfAddress", "03\r\nshow"},
                   {"analog.common.delayNumber", "-1"},
                   {"analog.tel9.ringSound", "1"}});
    EXPECT_EQ(copy->save(), saved);

    area->reset();
    EXPECT_EQ(area->save(), factory);
}

}  // namespace
}  // namespace kx::sim
