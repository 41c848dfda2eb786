// The analog side of the emulated adapter: the three TEL ports and the analog common settings.
//
//   show analog tel1|tel2|tel3|common
//   analog address|dial_time|ring_sound|... <port> <value>, analog use_i_number|... <value>

#include <memory>

#include "sim/Areas.h"
#include "sim/BlockArea.h"

namespace kx::sim {
namespace {

const std::vector<std::string_view> kDisableEnable{"disable", "enable"};

// Reply order of a TEL port. "  address:" and "  talky:" follow "arrive transfer:" as its
// sub-items; the two leading blanks keep "  address:" from matching inside "self address:", and
// no other label of the reply contains another.
const Schema kTelPortSchema{
    phoneItem("selfAddress", "self address:"),
    choiceItem("arriveTransfer", "arrive transfer:", kDisableEnable),
    phoneItem("transferAddress", "  address:"),
    numberItem("talky", "  talky:", 0, 3),
    choiceItem("globalArrive", "global arrive:", kDisableEnable),
    choiceItem("subaddressLessArrive", "subaddress less arrive:", kDisableEnable),
    choiceItem("numberDisplay", "number display:", {"disable", "nd", "cd"}),
    choiceItem("iNumber", "i number:", {"both", "contract", "add1", "add2"}),
    choiceItem("noticeNumber", "notice number:", {"disable", "contract", "address", "net"}),
    choiceItem("callWaiting", "call waiting:", {"disable", "ntt", "pseudo"}),
    numberItem("sendDialTime", "send dial time:", 3, 15),
    choiceItem("analogPortMode", "analog port mode:", {"voice", "audio"}),
    choiceItem("ringSound", "ring sound:", {"ring1", "ring2", "ring3"}),
    choiceItem("discSignal", "disc signal:", kDisableEnable),
};

// No numbers registered; every port answers global calls and calls without subaddress, and
// notifies the caller number as the network contract says.
const std::vector<std::string_view> kTelPortFactory{
    "", "0", "", "0", "1", "1", "0", "0", "3", "0", "4", "0", "0", "0",
};

const Schema kCommonSchema{
    choiceItem("useINumber", "i number:", kDisableEnable),
    numberItem("delayNumber", "delay number:", 0, 9),
    numberItem("ringSoundFrequency", "ring sound frequency:", 16, 30),
};

const std::vector<std::string_view> kCommonFactory{"0", "3", "16"};

// Below "analog". Longer shapes first where a shorter one would also match the first word.
const std::vector<Command> kCommands{
    {{"address"}, true, {}, "selfAddress"},
    {{"arrive_transfer", "address"}, true, {}, "transferAddress"},
    {{"arrive_transfer", "talky"}, true, {}, "talky"},
    {{"arrive_transfer"}, true, {}, "arriveTransfer"},
    {{"global_arrive"}, true, {}, "globalArrive"},
    {{"no_subaddress"}, true, {}, "subaddressLessArrive"},
    {{"port_mode"}, true, {}, "analogPortMode"},
    {{"number_display"}, true, {}, "numberDisplay"},
    {{"i_number"}, true, {}, "iNumber"},
    {{"notice_number"}, true, {}, "noticeNumber"},
    {{"callwaiting"}, true, {}, "callWaiting"},
    {{"ring_sound"}, true, {}, "ringSound"},
    {{"dial_time"}, true, {}, "sendDialTime"},
    {{"disc_signal"}, true, {}, "discSignal"},
    {{"use_i_number"}, false, {}, "useINumber"},
    {{"delay_number"}, false, {}, "delayNumber"},
    {{"ring_sound_freq"}, false, {}, "ringSoundFrequency"},
};

const PortAreaShape kShape{
    .family = "analog",
    .commands = kCommands,
    .ports = {"tel1", "tel2", "tel3"},
    .portSchema = kTelPortSchema,
    .portFactory = kTelPortFactory,
    .commonSchema = kCommonSchema,
    .commonFactory = kCommonFactory,
};

}  // namespace

std::unique_ptr<Area> makeAnalogArea() {
    return std::make_unique<PortArea>(kShape);
}

}  // namespace kx::sim
