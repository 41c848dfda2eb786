#include <gtest/gtest.h>

#include "sim/Areas.h"
#include "tests/sim/AreaTestSupport.h"

namespace kx::sim {
namespace {

// The digital session tests set every item of DATA, USB and the common settings through these
// commands and read it back with the program's reader; the PNA port's items (the router
// variant's) are read back only here, each with a value of its own.
const test::RoundTrip kRoundTrips[] = {
    {"digital address pna 0312340003", "show digital pna", "self address:", "0312340003"},
    {"digital arrive_transfer address pna 0312340004", "show digital pna",
     "  address:", "0312340004"},
    {"digital arrive_transfer pna enable", "show digital pna", "arrive transfer:", "1"},
    {"digital global_arrive pna disable", "show digital pna", "global arrive:", "0"},
    {"digital no_subaddress pna disable", "show digital pna", "subaddress less arrive:", "0"},
    {"digital notice_number pna address", "show digital pna", "notice number:", "2"},
    {"digital i_number pna contract", "show digital pna", "i number:", "1"},
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

TEST(DigitalArea, PnaPortCommandsRoundTrip) {
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
