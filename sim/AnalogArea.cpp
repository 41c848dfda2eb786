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
// no other label of the reply contains another. At the factory no numbers are registered; every
// port answers global calls and calls without subaddress, and notifies the caller number as the
// network contract says.
const Schema kTelPortSchema{
    phoneItem("selfAddress", "self address:"),
    choiceItem("arriveTransfer", "arrive transfer:", kDisableEnable, "disable"),
    phoneItem("transferAddress", "  address:"),
    numberItem("talky", "  talky:", 0, 3, 0),
    choiceItem("globalArrive", "global arrive:", kDisableEnable, "enable"),
    choiceItem("subaddressLessArrive", "subaddress less arrive:", kDisableEnable, "enable"),
    choiceItem("numberDisplay", "number display:", {"disable", "nd", "cd"}, "disable"),
    choiceItem("iNumber", "i number:", {"both", "contract", "add1", "add2"}, "both"),
    choiceItem("noticeNumber", "notice number:", {"disable", "contract", "address", "net"}, "net"),
    choiceItem("callWaiting", "call waiting:", {"disable", "ntt", "pseudo"}, "disable"),
    numberItem("sendDialTime", "send dial time:", 3, 15, 4),
    choiceItem("analogPortMode", "analog port mode:", {"voice", "audio"}, "voice"),
    choiceItem("ringSound", "ring sound:", {"ring1", "ring2", "ring3"}, "ring1"),
    choiceItem("discSignal", "disc signal:", kDisableEnable, "disable"),
};

const Schema kCommonSchema{
    choiceItem("useINumber", "i number:", kDisableEnable, "disable"),
    numberItem("delayNumber", "delay number:", 0, 9, 3),
    numberItem("ringSoundFrequency", "ring sound frequency:", 16, 30, 16),
};

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
    .commonSchema = kCommonSchema,
};

}  // namespace

std::unique_ptr<Area> makeAnalogArea() {
    return std::make_unique<PortArea>(kShape);
}

}  // namespace kx::sim
