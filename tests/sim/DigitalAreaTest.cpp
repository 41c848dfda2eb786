#include <gtest/gtest.h>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

// Every setting command of the digital and PNA-port writers; the USB port and the common
// settings get every item, each with a value of its own.
const test::RoundTrip kRoundTrips[] = {
    {"digital address usb 0312340001*5", "show digital usb", "self address:", "0312340001*5"},
    {"digital arrive_transfer address usb 0312340002", "show digital usb",
     "  address:", "0312340002"},
    {"digital arrive_transfer usb enable", "show digital usb", "arrive transfer:", "1"},
    {"digital arrive_transfer talky usb 2", "show digital usb", "  talky:", "2"},
    {"digital global_arrive usb disable", "show digital usb", "global arrive:", "0"},
    {"digital no_subaddress usb enable", "show digital usb", "subaddress less arrive:", "1"},
    {"digital notice_number usb contract", "show digital usb", "notice number:", "1"},
    {"digital i_number usb add2", "show digital usb", "i number:", "3"},
    {"digital notice_number data net", "show digital data", "notice number:", "3"},
    {"digital address data 0312340009", "show digital data", "self address:", "0312340009"},
    {"digital address pna 0312340003", "show digital pna", "self address:", "0312340003"},
    {"digital arrive_transfer address pna 0312340004", "show digital pna",
     "  address:", "0312340004"},
    {"digital arrive_transfer pna enable", "show digital pna", "arrive transfer:", "1"},
    {"digital global_arrive pna disable", "show digital pna", "global arrive:", "0"},
    {"digital no_subaddress pna disable", "show digital pna", "subaddress less arrive:", "0"},
    {"digital notice_number pna address", "show digital pna", "notice number:", "2"},
    {"digital i_number pna contract", "show digital pna", "i number:", "1"},
    {"digital channel 2", "show digital common", "init channel number:", "0"},
    {"digital arrive usb", "show digital common", "digital arrive priority:", "1"},
    {"digital resource_bod arrive", "show digital common", "resource bod:", "2"},
    {"digital throughput_bod enable", "show digital common", "throughput bod:", "1"},
    {"digital throughput_bod add_evaluation_direction recv", "show digital common",
     "  add evaluation direction:", "2"},
    {"digital throughput_bod add_standard_rate 100", "show digital common",
     "  add standard rate:", "100"},
    {"digital throughput_bod add_evaluation_time 11", "show digital common",
     "  add evaluation time:", "11"},
    {"digital throughput_bod add_minimum_time 255", "show digital common",
     "  add minimum maintenance time:", "255"},
    {"digital throughput_bod del_evaluation_direction send", "show digital common",
     "  del evaluation direction:", "1"},
    {"digital throughput_bod del_standard_rate 0", "show digital common",
     "  del standard rate:", "0"},
    {"digital throughput_bod del_evaluation_time 200", "show digital common",
     "  del evaluation time:", "200"},
    {"digital throughput_bod del_minimum_time 13", "show digital common",
     "  del minimum maintenance time:", "13"},
    {"digital bacp_bap enable", "show digital common", "bacp/bap:", "1"},
    // the factory masks are 7 (every request answered automatically)
    {"digital bacp_bap depart_request reject", "show digital common", "  depart channel:", "5"},
    {"digital bacp_bap arrive_del reject", "show digital common", "  arrive channel:", "3"},
    {"digital disc_time 254", "show digital common", "disconnect time:", "254"},
    {"digital piafs 2", "show digital common", "piafs:", "2"},
};

const char* const kRefused[] = {"digital address tel1 03",
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
                                "show digital router"};

const char* const kOthers[] = {"show analog tel1", "show bod", "bacpbap depart_add auto",
                               "digitals channel 1"};

TEST(DigitalArea, SettingCommandsRoundTrip) {
    test::expectRoundTrips(makeDigitalArea, kRoundTrips);
}
TEST(DigitalArea, MalformedCommandsAreRefused) {
    test::expectRefused(makeDigitalArea, kRefused);
}
TEST(DigitalArea, OtherCommandsAreLeftAlone) {
    test::expectNotTaken(makeDigitalArea, kOthers);
}

// Each BACP/BAP answer is one bit; the bits 3 to 7 stay as they are.
TEST(DigitalArea, BacpBapAnswersSetAndClearTheirBitOnly) {
    auto area = makeDigitalArea();
    area->restore({{"common.departMask", "248"}, {"common.arriveMask", "7"}});
    for (const char* command :
         {"digital bacp_bap depart_add auto", "digital bacp_bap depart_del auto",
          "digital bacp_bap depart_request reject", "digital bacp_bap arrive_add reject",
          "digital bacp_bap arrive_request auto"}) {
        ASSERT_EQ(test::send(*area, command).reply, "") << command;
    }
    const std::string buffer = test::send(*area, "show digital common").buffer;
    EXPECT_EQ(test::readLabel(buffer, "  depart channel:"), "253");  // 248 + 1 + 4
    EXPECT_EQ(test::readLabel(buffer, "  arrive channel:"), "6");
}

TEST(DigitalArea, SaveRestoreAndReset) {
    const char* const commands[] = {"digital address pna 0355556666",
                                    "digital throughput_bod add_minimum_time 24"};
    test::expectSaveRestore(makeDigitalArea, commands,
                            {{"common.departMask", "256"},
                             {"common.piafs", "2x"},
                             {"pna.selfAddress", "abc"},
                             {"common.initChannel", "2"}});
}

}  // namespace
}  // namespace kx::sim
