#include <gtest/gtest.h>

#include <map>
#include <string>

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

// Every setting command of the digital and PNA-port writers, read back as their readers do.
const RoundTrip kRoundTrips[] = {
    {"digital address data 0312340001*5", "show digital data", "self address:", "0312340001*5"},
    {"digital arrive_transfer address usb 0312340002", "show digital usb", "  address:",
     "0312340002"},
    {"digital arrive_transfer data enable", "show digital data", "arrive transfer:", "1"},
    {"digital arrive_transfer talky usb 2", "show digital usb", "  talky:", "2"},
    {"digital global_arrive data disable", "show digital data", "global arrive:", "0"},
    {"digital no_subaddress usb disable", "show digital usb", "subaddress less arrive:", "0"},
    {"digital notice_number data net", "show digital data", "notice number:", "3"},
    {"digital notice_number usb contract", "show digital usb", "notice number:", "1"},
    {"digital i_number usb add1", "show digital usb", "i number:", "2"},
    {"digital address pna 0312340003", "show digital pna", "self address:", "0312340003"},
    {"digital arrive_transfer address pna 0312340004", "show digital pna", "  address:",
     "0312340004"},
    {"digital arrive_transfer pna enable", "show digital pna", "arrive transfer:", "1"},
    {"digital global_arrive pna disable", "show digital pna", "global arrive:", "0"},
    {"digital no_subaddress pna disable", "show digital pna", "subaddress less arrive:", "0"},
    {"digital notice_number pna address", "show digital pna", "notice number:", "2"},
    {"digital i_number pna contract", "show digital pna", "i number:", "1"},
    {"digital channel 2", "show digital common", "init channel number:", "0"},
    {"digital arrive usb", "show digital common", "digital arrive priority:", "1"},
    {"digital resource_bod both", "show digital common", "resource bod:", "3"},
    {"digital resource_bod arrive", "show digital common", "resource bod:", "2"},
    {"digital throughput_bod enable", "show digital common", "throughput bod:", "1"},
    {"digital bacp_bap enable", "show digital common", "bacp/bap:", "1"},
    {"digital disc_time 255", "show digital common", "disconnect time:", "255"},
    {"digital piafs 2", "show digital common", "piafs:", "2"},
    {"digital throughput_bod add_evaluation_direction recv", "show digital common",
     "  add evaluation direction:", "2"},
    {"digital throughput_bod add_standard_rate 100", "show digital common",
     "  add standard rate:", "100"},
    {"digital throughput_bod add_evaluation_time 1", "show digital common",
     "  add evaluation time:", "1"},
    {"digital throughput_bod add_minimum_time 255", "show digital common",
     "  add minimum maintenance time:", "255"},
    {"digital throughput_bod del_evaluation_direction send", "show digital common",
     "  del evaluation direction:", "1"},
    {"digital throughput_bod del_standard_rate 0", "show digital common",
     "  del standard rate:", "0"},
    {"digital throughput_bod del_evaluation_time 200", "show digital common",
     "  del evaluation time:", "200"},
    {"digital throughput_bod del_minimum_time 1", "show digital common",
     "  del minimum maintenance time:", "1"},
    {"digital bacp_bap depart_request reject", "show digital common", "  depart channel:", "5"},
    {"digital bacp_bap arrive_del reject", "show digital common", "  arrive channel:", "3"},
};

TEST(DigitalArea, EverySettingCommandRoundTrips) {
    for (const RoundTrip& row : kRoundTrips) {
        SCOPED_TRACE(row.command);
        auto area = makeDigitalArea();
        const auto set = send(*area, row.command);
        EXPECT_TRUE(set.taken);
        EXPECT_EQ(set.reply, "");
        EXPECT_EQ(shown(*area, row.show, row.label), row.value);
    }
}

TEST(DigitalArea, BacpBapCommandsChangeOneBitAndKeepTheOthers) {
    auto area = makeDigitalArea();
    area->restore({{"digital.common.departMask", "248"}, {"digital.common.arriveMask", "0"}});
    for (const char* command : {"digital bacp_bap depart_add auto", "digital bacp_bap depart_request reject",
                                "digital bacp_bap depart_del auto", "digital bacp_bap arrive_request auto"}) {
        ASSERT_EQ(send(*area, command).reply, "") << command;
    }
    EXPECT_EQ(shown(*area, "show digital common", "  depart channel:"), "253");  // 248 | 1 | 4
    EXPECT_EQ(shown(*area, "show digital common", "  arrive channel:"), "2");
}

// Every label of the common reply, and of a port reply, finds its own line.
TEST(DigitalArea, EachLabelFindsItsOwnLine) {
    auto area = makeDigitalArea();
    area->restore({{"digital.common.initChannel", "0"},  {"digital.common.resourceBod", "1"},
                   {"digital.common.arrivePriority", "1"}, {"digital.common.throughputBod", "1"},
                   {"digital.common.addDirection", "1"}, {"digital.common.addRate", "61"},
                   {"digital.common.addEvalTime", "62"}, {"digital.common.addMinTime", "63"},
                   {"digital.common.delDirection", "2"}, {"digital.common.delRate", "64"},
                   {"digital.common.delEvalTime", "65"}, {"digital.common.delMinTime", "66"},
                   {"digital.common.bacpBap", "1"},      {"digital.common.departMask", "67"},
                   {"digital.common.arriveMask", "68"},  {"digital.common.discTime", "69"},
                   {"digital.common.piafs", "2"}});
    const std::string common = send(*area, "show digital common").buffer;
    const std::map<std::string, std::string> expected{
        {"init channel number:", "0"}, {"digital arrive priority:", "1"}, {"resource bod:", "1"},
        {"throughput bod:", "1"}, {"  add evaluation direction:", "1"},
        {"  add standard rate:", "61"}, {"  add evaluation time:", "62"},
        {"  add minimum maintenance time:", "63"}, {"  del evaluation direction:", "2"},
        {"  del standard rate:", "64"}, {"  del evaluation time:", "65"},
        {"  del minimum maintenance time:", "66"}, {"bacp/bap:", "1"},
        {"  depart channel:", "67"}, {"  arrive channel:", "68"}, {"disconnect time:", "69"},
        {"piafs:", "2"},
    };
    for (const auto& [label, value] : expected) {
        EXPECT_EQ(test::readLabel(common, label), value) << label;
    }

    send(*area, "digital address usb 0311110000");
    send(*area, "digital arrive_transfer address usb 0322220000");
    send(*area, "digital i_number usb add2");
    const std::string usb = send(*area, "show digital usb").buffer;
    EXPECT_EQ(test::readLabel(usb, "self address:"), "0311110000");
    EXPECT_EQ(test::readLabel(usb, "  address:"), "0322220000");
    EXPECT_EQ(test::readLabel(usb, "i number:"), "3");
    EXPECT_EQ(test::readLabel(usb, "notice number:"), "3");
    EXPECT_EQ(shown(*area, "show digital data", "self address:"), "");
}

TEST(DigitalArea, MalformedCommandsAnswerAnErrorAndChangeNothing) {
    const char* const kMalformed[] = {
        "digital address tel1 03",
        "digital address data 03x",
        "digital notice_number data always",
        "digital i_number common both",
        "digital channel 3",
        "digital channel",
        "digital arrive pna",
        "digital disc_time 256",
        "digital disc_time -1",
        "digital piafs 3",
        "digital throughput_bod maybe",
        "digital throughput_bod add_standard_rate 101",
        "digital throughput_bod add_evaluation_time 0",
        "digital throughput_bod del_minimum_time 256",
        "digital throughput_bod del_evaluation_direction up",
        "digital bacp_bap depart_add yes",
        "digital bacp_bap depart_call auto",
        "digital bacp_bap depart_add auto now",
        "digital arrive_transfer talky data 4",
        "show digital",
        "show digital router",
    };
    for (const char* command : kMalformed) {
        SCOPED_TRACE(command);
        auto area = makeDigitalArea();
        const auto before = area->save();
        const auto result = send(*area, command);
        EXPECT_TRUE(result.taken);
        EXPECT_EQ(result.reply, "Error: invalid parameter\r\n");
        EXPECT_EQ(area->save(), before);
    }
    auto area = makeDigitalArea();
    std::string reply;
    EXPECT_FALSE(area->handle(test::splitWords("show analog tel1"), "show analog tel1", reply));
    EXPECT_FALSE(area->handle(test::splitWords("show bod"), "show bod", reply));
    EXPECT_EQ(reply, "");
}

TEST(DigitalArea, SaveRestoreAndReset) {
    auto area = makeDigitalArea();
    const auto factory = area->save();
    send(*area, "digital address pna 0355556666");
    send(*area, "digital throughput_bod add_minimum_time 24");
    const auto saved = area->save();
    EXPECT_EQ(saved.at("digital.common.addMinTime"), "24");

    auto copy = makeDigitalArea();
    copy->restore(saved);
    EXPECT_EQ(copy->save(), saved);
    copy->restore({{"digital.common.departMask", "256"}, {"digital.common.piafs", "2x"},
                   {"digital.pna.selfAddress", "abc"}, {"digital.common.initChannel", "2"}});
    EXPECT_EQ(copy->save(), saved);

    area->reset();
    EXPECT_EQ(area->save(), factory);
}

}  // namespace
}  // namespace kx::sim
