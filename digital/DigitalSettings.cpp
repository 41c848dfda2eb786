#include "digital/DigitalSettings.h"

#include "area/Keywords.h"
#include "area/TableIO.h"

namespace kx {

namespace {

using area::choice;
using area::Item;
using area::kBodChannels;
using area::kBodDirections;
using area::kDisableEnable;
using area::kResourceBods;
using area::number;
using D = DigitalSettings;

constexpr std::string_view kPorts[] = {"data", "usb"};
// sent as the number itself; a list with nothing selected sends nothing
constexpr std::string_view kPiafs[] = {"0", "1", "2"};

constexpr Item<D> kCommonItems[] = {
    choice("initChannel", &D::initChannel, "init channel number:", kBodChannels, "digital channel")
        .withCaption("初期接続チャネル数"),
    choice("arrivePriority", &D::arrivePriority, "digital arrive priority:", kPorts,
           "digital arrive")
        .withCaption("デジタル着信優先"),
    choice("resourceBod", &D::resourceBod, "resource bod:", kResourceBods, "digital resource_bod")
        .withCaption("リソースBODの設定"),
    choice("throughputBod", &D::throughputBod, "throughput bod:", kDisableEnable,
           "digital throughput_bod")
        .withCaption("スループットBOD"),
    choice("bacpBap", &D::bacpBap, "bacp/bap:", kDisableEnable, "digital bacp_bap")
        .withCaption("ＢＡＣＰ/ＢＡＰ"),
    number("discTime", &D::discTime, "disconnect time:", 0, 255, "digital disc_time")
        .withCaption("切断時間"),
    choice("piafs", &D::piafs, "piafs:", kPiafs, "digital piafs").withCaption("ＰＩＡＦＳ"),
};

// The holding times are kept and sent in 5-second units and shown in seconds.
constexpr Item<D> kBodItems[] = {
    choice("addDirection", &D::addDirection, "  add evaluation direction:", kBodDirections,
           "digital throughput_bod add_evaluation_direction")
        .withCaption("スループットＢＯＤ チャネル追加 評価方向"),
    number("addRate", &D::addRate, "  add standard rate:", 0, 100,
           "digital throughput_bod add_standard_rate")
        .withCaption("スループットＢＯＤ チャネル追加 しきい値"),
    number("addEvalTime", &D::addEvalTime, "  add evaluation time:", 1, 255,
           "digital throughput_bod add_evaluation_time")
        .withCaption("スループットＢＯＤ チャネル追加 評価時間"),
    number("addMinTime", &D::addMinTime, "  add minimum maintenance time:", 1, 255,
           "digital throughput_bod add_minimum_time")
        .withScale(5)
        .withCaption("スループットＢＯＤ チャネル追加 最小保持時間"),
    choice("delDirection", &D::delDirection, "  del evaluation direction:", kBodDirections,
           "digital throughput_bod del_evaluation_direction")
        .withCaption("スループットＢＯＤ チャネル削除 評価方向"),
    number("delRate", &D::delRate, "  del standard rate:", 0, 100,
           "digital throughput_bod del_standard_rate")
        .withCaption("スループットＢＯＤ チャネル削除 しきい値"),
    number("delEvalTime", &D::delEvalTime, "  del evaluation time:", 1, 255,
           "digital throughput_bod del_evaluation_time")
        .withCaption("スループットＢＯＤ チャネル削除 評価時間"),
    number("delMinTime", &D::delMinTime, "  del minimum maintenance time:", 1, 255,
           "digital throughput_bod del_minimum_time")
        .withScale(5)
        .withCaption("スループットＢＯＤ チャネル削除 最小保持時間"),
};

// Written by the writer's BACP/BAP rule (area::appendAnswerCommands), not by their rows.
constexpr Item<D> kBacpBapItems[] = {
    number("departMask", &D::departMask, "  depart channel:", 0, 255, "")
        .withCaption("ＢＡＣＰ／ＢＡＰ 発信側"),
    number("arriveMask", &D::arriveMask, "  arrive channel:", 0, 255, "")
        .withCaption("ＢＡＣＰ／ＢＡＰ 着信側"),
};

// "show digital common" reports the common items, throughput BOD and the masks together.
constexpr std::span<const Item<D>> kCommonReplyTables[] = {kCommonItems, kBodItems, kBacpBapItems};

}  // namespace

std::span<const Item<DigitalSettings>> digitalCommonItems() {
    return kCommonItems;
}
std::span<const Item<DigitalSettings>> throughputBodItems() {
    return kBodItems;
}
std::span<const Item<DigitalSettings>> bacpBapItems() {
    return kBacpBapItems;
}

int readDigitalSettings(const AreaContext& context, DigitalSettings& snapshot) {
    if (context.send("show digital data\r") != 1)
        return 0;
    area::readItems(context.reply.view(), digitalPortItems(), snapshot.data, context.missingLabel);
    if (context.send("show digital usb\r") != 1)
        return 0;
    area::readItems(context.reply.view(), digitalPortItems(), snapshot.usb, context.missingLabel);
    if (context.send("show digital common\r") != 1)
        return 0;
    for (std::span<const Item<D>> table : kCommonReplyTables)
        area::readItems(context.reply.view(), table, snapshot, context.missingLabel);
    return 1;
}

int ReadDigitalSettings(const AreaContext& context) {
    if (readDigitalSettings(context, digitalSettings.snapshot) != 1)
        return 0;
    digitalSettings.readDone();
    return 1;
}

std::vector<std::string> digitalCommands(const DigitalSettings& working,
                                         const DigitalSettings& snapshot, int area) {
    std::vector<std::string> commands;
    switch (area) {
        case kDigitalDataArea:
            return area::changedCommands(digitalPortItems(), working.data, snapshot.data, "data");
        case kDigitalUsbArea:
            return area::changedCommands(digitalPortItems(), working.usb, snapshot.usb, "usb");
        case kDigitalCommonArea:
            return area::changedCommands(digitalCommonItems(), working, snapshot);
        case kDigitalBodArea:
            return area::changedCommands(throughputBodItems(), working, snapshot);
        case kDigitalBacpBapArea:
            area::appendAnswerCommands("digital bacp_bap", "depart", working.departMask,
                                       snapshot.departMask, commands);
            area::appendAnswerCommands("digital bacp_bap", "arrive", working.arriveMask,
                                       snapshot.arriveMask, commands);
            return commands;
        default:
            return commands;
    }
}

int WriteDigitalSettings(const AreaContext& context, int area) {
    return context.sendAll(
        digitalCommands(digitalSettings.working, digitalSettings.snapshot, area));
}

}  // namespace kx
