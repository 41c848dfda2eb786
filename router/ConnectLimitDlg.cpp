#include "router/ConnectLimitDlg.h"

#include "app/services/Help.h"
#include "res/RouterIds.h"

namespace kx {

namespace {

using R = RouterSettings;

const char* const kCountError = "接続回数の入力に間違いがあります。";
const char* const kClearError = "クリア機能の入力に間違いがあります。";

}  // namespace

CConnectLimitDlg::CConnectLimitDlg()
    : RecordDlg(
          IDD_CONNECT_LIMIT, kHelpClassicRouter, routerSettings.working,
          [] { routerSettings.takeSnapshot(); }, connectLimitItems()) {
    resetCounters = false;
    bindEdit(IDC_CONNECT_CHARGE, &R::chargeLimit, kConnectChargeLimit,
             "回線使用料の入力に間違いがあります。");
    bindEdit(IDC_CONNECT_TIME, &R::timeLimit, kConnectTimeLimit,
             "接続時間の入力に間違いがあります。");
    bindRule("接続時間の入力に間違いがあります。", connectTimeOutOfPeriod);
    bindEdit(IDC_CONNECT_COUNT, &R::countLimit, kConnectCountLimit, kCountError);
    bindEdit(IDC_CONNECT_COUNT_MINUTES, &R::countMinutes, kConnectMinutesLimit, kCountError);
    bindEdit(IDC_CONNECT_CLEAR_HOUR, &R::clearHour, kConnectClearLimit, kClearError);
    bindEdit(IDC_CONNECT_CLEAR_MINUTE, &R::clearMinute, kConnectClearLimit, kClearError);
    bindEdit(IDC_CONNECT_CLEAR_MONTH_DAY, &R::clearMonthDay, kConnectClearLimit, kClearError);
    bindRadio(kConnectChargePeriodIds[0], &R::chargePeriod);
    bindRadio(kConnectTimePeriodIds[0], &R::timePeriod);
    bindList(IDC_CONNECT_CLEAR_WEEKDAY, &R::clearWeekday);
}

void CConnectLimitDlg::OnCommand(int id) {
    if (id == IDC_CONNECT_CLEAR) {
        resetCounters = true;
        EndDialog(ui::IDCANCEL);
    } else if (id == IDC_CONNECT_HELP) {
        OnHelp();
    } else {
        RecordDlg::OnCommand(id);
    }
}

}  // namespace kx
