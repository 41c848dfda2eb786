#include "analog/AnalogSettings.h"

#include "area/Keywords.h"
#include "area/TableIO.h"

namespace kx {

namespace {

using area::choice;
using area::Item;
using area::kDisableEnable;
using area::kINumbers;
using area::kNoticeNumbers;
using area::kRings;
using area::kTalky;
using area::number;
using area::phone;
using T = TelPortSettings;

constexpr std::string_view kNumberDisplays[] = {"disable", "nd", "cd"};
constexpr std::string_view kCallWaitings[] = {"disable", "ntt", "pseudo"};
constexpr std::string_view kPortModes[] = {"voice", "audio"};

// Writing order of a TEL port. The command words differ from the reply labels in places
// ("callwaiting", "no_subaddress", "dial_time"); "  address:" and "  talky:" keep their two
// blanks so that "  address:" is not found inside "self address:".
constexpr Item<T> kTelPortItems[] = {
    phone("selfAddress", &T::selfAddress, "self address:", "analog address {}")
        .withCaption("自己アドレス"),
    phone("transferAddress", &T::transferAddress, "  address:", "analog arrive_transfer address {}")
        .withCaption("着信転送先電話番号"),
    choice("arriveTransfer", &T::arriveTransfer, "arrive transfer:", kDisableEnable,
           "analog arrive_transfer {}")
        .withCaption("着信転送"),
    choice("talky", &T::talky, "  talky:", kTalky, "analog arrive_transfer talky {}")
        .withCaption("転送トーキ"),
    choice("globalArrive", &T::globalArrive, "global arrive:", kDisableEnable,
           "analog global_arrive {}")
        .withCaption("グローバル着信"),
    choice("subaddressLessArrive", &T::subaddressLessArrive,
           "subaddress less arrive:", kDisableEnable, "analog no_subaddress {}")
        .withCaption("サブアドレスなし着信"),
    choice("analogPortMode", &T::analogPortMode, "analog port mode:", kPortModes,
           "analog port_mode {}")
        .withCaption("アナログポート"),
    choice("numberDisplay", &T::numberDisplay, "number display:", kNumberDisplays,
           "analog number_display {}")
        .withCaption("ナンバー・ディスプレイ／キャッチホン・ディスプレイ"),
    choice("iNumber", &T::iNumber, "i number:", kINumbers, "analog i_number {}")
        .withCaption("ｉ・ナンバー"),
    choice("noticeNumber", &T::noticeNumber, "notice number:", kNoticeNumbers,
           "analog notice_number {}")
        .withCaption("発信者番号通知"),
    choice("callWaiting", &T::callWaiting, "call waiting:", kCallWaitings, "analog callwaiting {}")
        .withCaption("コールウェイティング"),
    choice("ringSound", &T::ringSound, "ring sound:", kRings, "analog ring_sound {}")
        .withCaption("内線呼出音"),
    number("sendDialTime", &T::sendDialTime, "send dial time:", 3, 15, "analog dial_time {}")
        .withCaption("ダイヤル発信時間"),
    choice("discSignal", &T::discSignal, "disc signal:", kDisableEnable, "analog disc_signal {}")
        .withCaption("切断信号"),
};

constexpr Item<AnalogSettings> kCommonItems[] = {
    choice("useINumber", &AnalogSettings::useINumber, "i number:", kDisableEnable,
           "analog use_i_number")
        .withCaption("ｉ・ナンバー"),
    number("delayNumber", &AnalogSettings::delayNumber, "delay number:", 0, 9,
           "analog delay_number")
        .withCaption("遅延回数"),
    number("ringSoundFrequency", &AnalogSettings::ringSoundFrequency, "ring sound frequency:", 16,
           30, "analog ring_sound_freq")
        .withCaption("呼出音周波数"),
};

}  // namespace

std::span<const Item<TelPortSettings>> telPortItems() {
    return kTelPortItems;
}

std::span<const Item<AnalogSettings>> analogCommonItems() {
    return kCommonItems;
}

int readAnalogSettings(const AreaContext& context, AnalogSettings& snapshot) {
    for (std::size_t port = 0; port < kTelPortWords.size(); ++port) {
        if (context.send("show analog " + std::string(kTelPortWords[port]) + "\r") != 1)
            return 0;
        area::readItems(context.reply.view(), telPortItems(), snapshot.tel[port],
                        context.missingLabel);
    }
    if (context.send("show analog common\r") != 1)
        return 0;
    area::readItems(context.reply.view(), analogCommonItems(), snapshot, context.missingLabel);
    return 1;
}

int ReadAnalogSettings(const AreaContext& context) {
    if (readAnalogSettings(context, analogSettings.snapshot) != 1)
        return 0;
    analogSettings.readDone();
    return 1;
}

std::vector<std::string> analogCommands(const AnalogSettings& working,
                                        const AnalogSettings& snapshot, int area) {
    if (area == kAnalogCommonArea)
        return area::changedCommands(analogCommonItems(), working, snapshot);
    if (area < 0 || area >= static_cast<int>(kTelPortWords.size()))
        return {};
    const auto port = static_cast<std::size_t>(area);
    return area::changedCommands(telPortItems(), working.tel[port], snapshot.tel[port],
                                 kTelPortWords[port]);
}

int WriteAnalogSettings(const AreaContext& context, int area) {
    return context.sendAll(analogCommands(analogSettings.working, analogSettings.snapshot, area));
}

}  // namespace kx
