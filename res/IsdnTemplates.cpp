#include "res/IsdnTemplates.h"

#include <utility>

#include "res/SettingsTemplates.h"
#include "ui/TemplateBuilder.h"

namespace kx::res {

using namespace ui;
using namespace ui::tpl;

// Templates read like the dialogs they describe; the formatter would flatten them.
// clang-format off

Template digitalPortTemplate(const DigitalPortIds& ids, std::string caption) {
    // left: the numbers and what the port answers to
    Control left = column({
        selfAddressGroup(ids.selfAddress, "・サブアドレスは「*」で区切ってください"),
        transferGroup(ids.arriveTransfer, ids.transferAddress),
        arriveConditions(ids.globalArrive, ids.subaddressLessArrive, kNoStyle),
    });

    // right: the numbers the port calls with
    Control right = column({
        noticeNumberGroup(ids.noticeNumber),
        iNumberGroup(ids.iNumber),
    });

    return {ids.dialog, std::move(caption), 255, 229, kDialogNoStyle, 0, {}, {
        row({std::move(left), std::move(right)}),
        dialogButtons(),
    }};
}

Control bodSide(const BodSideIds& ids, std::string caption, const std::string& action) {
    return group(std::move(caption), {
        group("評価方向", {radios({
            {ids.direction[0], "送受信データとも評価し" + action + "する"},
            {ids.direction[1], "送信データのみ評価し" + action + "する"},
            {ids.direction[2], "受信データのみ評価し" + action + "する"},
            {ids.direction[3], action + "を行わない"},
        })}),
        spinField("しきい値", edit(ids.rate, kNoStyle, kBodRateLimit), ids.rateSpin, "％"),
        // the threshold as a rate, "約 n.nn kbps"; a row so that it is centred in the box
        row({text(ids.estimate, "約", kCentred)}),
        spinField("評価時間", edit(ids.evalTime, kNoStyle, kBodTimeLimit), ids.evalTimeSpin,
                  "秒"),
        spinField("最小保持時間", edit(ids.minTime, kNoStyle, kBodMinTimeLimit), ids.minTimeSpin,
                  "秒"),
    });
}

Control bacpSide(std::string caption, const std::array<std::array<int, 2>, 3>& ids) {
    return group(std::move(caption), {
        choiceGroup("チャネル追加", ids[0], "拒否する", "自動応答"),
        choiceGroup("コールバック要求", ids[1], "拒否する", "自動応答"),
        choiceGroup("チャネル削除", ids[2], "拒否する", "自動応答"),
    });
}

// clang-format on

}  // namespace kx::res
