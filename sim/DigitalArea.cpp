// The digital side of the emulated adapter: the DATA, USB and HomePNA port blocks, the digital
// common settings, throughput BOD and the BACP/BAP answer rules.
//
//   show digital data|usb|pna|common
//   digital address|notice_number|... <port> <value>, digital channel|throughput_bod|... <value>

#include <memory>

#include "sim/Areas.h"
#include "sim/BlockArea.h"

namespace kx::sim {
namespace {

const std::vector<std::string_view> kDisableEnable{"disable", "enable"};
const std::vector<std::string_view> kDirections{"both", "send", "recv", "disable"};

// Reply order of a port, as for the TEL ports: the sub-items "  address:" and "  talky:" follow
// "arrive transfer:", and their two leading blanks keep "  address:" out of "self address:".
const Schema kPortSchema{
    phoneItem("selfAddress", "self address:"),
    choiceItem("arriveTransfer", "arrive transfer:", kDisableEnable, "disable"),
    phoneItem("transferAddress", "  address:"),
    numberItem("talky", "  talky:", 0, 3, 0),
    choiceItem("globalArrive", "global arrive:", kDisableEnable, "enable"),
    choiceItem("subaddressLessArrive", "subaddress less arrive:", kDisableEnable, "enable"),
    choiceItem("noticeNumber", "notice number:", {"disable", "contract", "address", "net"}, "net"),
    choiceItem("iNumber", "i number:", {"both", "contract", "add1", "add2"}, "both"),
};

// Reply order of the common settings: the throughput BOD rules follow "throughput bod:" and the
// BACP/BAP masks follow "bacp/bap:" as indented sub-items. No label contains another. At the
// factory: one channel, BOD off (so no channel is added or removed), BACP/BAP off but every
// request answered automatically once it is on, holding times of 60 s (12 units of 5 s).
const Schema kCommonSchema{
    choiceItem("initChannel", "init channel number:", {"2", "1"}, "1"),
    choiceItem("resourceBod", "resource bod:", {"disable", "depart", "arrive", "both"}, "disable"),
    choiceItem("arrivePriority", "digital arrive priority:", {"data", "usb"}, "data"),
    choiceItem("throughputBod", "throughput bod:", kDisableEnable, "disable"),
    choiceItem("addDirection", "  add evaluation direction:", kDirections, "disable"),
    numberItem("addRate", "  add standard rate:", 0, 100, 80),
    numberItem("addEvalTime", "  add evaluation time:", 1, 255, 10),
    numberItem("addMinTime", "  add minimum maintenance time:", 1, 255, 12),
    choiceItem("delDirection", "  del evaluation direction:", kDirections, "disable"),
    numberItem("delRate", "  del standard rate:", 0, 100, 30),
    numberItem("delEvalTime", "  del evaluation time:", 1, 255, 10),
    numberItem("delMinTime", "  del minimum maintenance time:", 1, 255, 12),
    choiceItem("bacpBap", "bacp/bap:", kDisableEnable, "disable"),
    numberItem("departMask", "  depart channel:", 0, 255, 7),
    numberItem("arriveMask", "  arrive channel:", 0, 255, 7),
    numberItem("discTime", "disconnect time:", 0, 255, 0),
    numberItem("piafs", "piafs:", 0, 2, 0),
};

// Below "digital". The port commands select "data", "usb" or "pna".
const std::vector<Command> kCommands{
    {{"address"}, true, {}, "selfAddress"},
    {{"arrive_transfer", "address"}, true, {}, "transferAddress"},
    {{"arrive_transfer", "talky"}, true, {}, "talky"},
    {{"arrive_transfer"}, true, {}, "arriveTransfer"},
    {{"global_arrive"}, true, {}, "globalArrive"},
    {{"no_subaddress"}, true, {}, "subaddressLessArrive"},
    {{"notice_number"}, true, {}, "noticeNumber"},
    {{"i_number"}, true, {}, "iNumber"},
    {{"channel"}, false, {}, "initChannel"},
    {{"arrive"}, false, {}, "arrivePriority"},
    {{"resource_bod"}, false, {}, "resourceBod"},
    {{"throughput_bod"}, false, {}, "throughputBod"},
    {{"throughput_bod", "add_evaluation_direction"}, false, {}, "addDirection"},
    {{"throughput_bod", "add_standard_rate"}, false, {}, "addRate"},
    {{"throughput_bod", "add_evaluation_time"}, false, {}, "addEvalTime"},
    {{"throughput_bod", "add_minimum_time"}, false, {}, "addMinTime"},
    {{"throughput_bod", "del_evaluation_direction"}, false, {}, "delDirection"},
    {{"throughput_bod", "del_standard_rate"}, false, {}, "delRate"},
    {{"throughput_bod", "del_evaluation_time"}, false, {}, "delEvalTime"},
    {{"throughput_bod", "del_minimum_time"}, false, {}, "delMinTime"},
    {{"bacp_bap"}, false, {}, "bacpBap"},
    {{"disc_time"}, false, {}, "discTime"},
    {{"piafs"}, false, {}, "piafs"},
    // "digital bacp_bap <request> auto|reject" sets or clears one bit of a mask; the bits 3 to
    // 7 are left as they are
    answerBit({"bacp_bap", "depart_add"}, "departMask", 0),
    answerBit({"bacp_bap", "depart_request"}, "departMask", 1),
    answerBit({"bacp_bap", "depart_del"}, "departMask", 2),
    answerBit({"bacp_bap", "arrive_add"}, "arriveMask", 0),
    answerBit({"bacp_bap", "arrive_request"}, "arriveMask", 1),
    answerBit({"bacp_bap", "arrive_del"}, "arriveMask", 2),
};

const PortAreaShape kShape{
    .family = "digital",
    .commands = kCommands,
    .ports = {"data", "usb", "pna"},
    .portSchema = kPortSchema,
    .commonSchema = kCommonSchema,
};

}  // namespace

std::unique_ptr<Area> makeDigitalArea() {
    return std::make_unique<PortArea>(kShape);
}

}  // namespace kx::sim
