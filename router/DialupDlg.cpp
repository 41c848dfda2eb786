#include "router/DialupDlg.h"

#include "app/services/Help.h"

namespace kx {

namespace {

using D = DialupProfile;

constexpr const char* kNumberMessages[] = {"電話番号1の入力に間違いがあります。",
                                           "電話番号2の入力に間違いがあります。",
                                           "電話番号3の入力に間違いがあります。"};
std::string D::*const kNumbers[] = {&D::dialNumber1, &D::dialNumber2, &D::dialNumber3};

}  // namespace

CDialupDlg::CDialupDlg(int profile)
    : RecordDlg(
          kDialupIds[static_cast<std::size_t>(profile - 1)]->dialog, kHelpClassicRouter,
          routerSettings.working.dialup[static_cast<std::size_t>(profile - 1)],
          [] { routerSettings.takeSnapshot(); }, dialupItems()) {
    const DialupIds& ids = *kDialupIds[static_cast<std::size_t>(profile - 1)];
    bindEdit(ids.providerName, &D::providerName, kDialupProviderLimit,
             "プロバイダ名の入力に間違いがあります。");
    for (std::size_t i = 0; i < 3; ++i)
        bindEdit(ids.dialNumber[i], kNumbers[i], kDialNumberLimit, kNumberMessages[i]);
    bindEdit(ids.userId, &D::userId, kDialupUserLimit, "ユーザー名の入力に間違いがあります。");
    bindEdit(ids.password, &D::password, kDialupPasswordLimit,
             "パスワードの入力に間違いがあります。");
    bindList(ids.mode, &D::mode);
    bindList(ids.protocol, &D::protocol);
    bindRule("64k 以外は、CHAPに設定できません。",
             [](const D& v) { return chapRefused(v.mode, v.protocol); });
    bindEdit(ids.disconnectTime, &D::disconnectTime, kDisconnectTimeLimit,
             "切断時間の入力に間違いがあります。");
    bindAddress(ids.address, &D::address, kAddressLimit,
                "ＷＡＮ側ＩＰアドレスの入力に間違いがあります。", "0.0.0.0");
    bindAddress(ids.dnsPrimary, &D::dnsPrimary, kAddressLimit,
                "プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "");
    bindAddress(ids.dnsSecondary, &D::dnsSecondary, kAddressLimit,
                "セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "");
    bindRule("サーバーアドレスの入力に間違いがあります。", dnsServerMissing);
    bindRadio(ids.autoDisconnect[0], &D::autoDisconnect);
    bindRadio(ids.dnsSelect[0], &D::dnsSelect);
    enableWhen(ids.dnsSelect[0], 0, {ids.dnsPrimary, ids.dnsSecondary});
}

CPnaEasyDlg::CPnaEasyDlg()
    : RecordDlg(IDD_PNA_EASY, kHelpClassicRouter, routerSettings.working.dialup[0], nullptr,
                dialupItems()) {
    bindEdit(IDC_PNA_EASY_PROVIDER, &D::providerName, kDialupProviderLimit,
             "プロバイダ名の入力に間違いがあります。");
    for (std::size_t i = 0; i < 3; ++i)
        bindEdit(kPnaEasyDialNumberIds[i], kNumbers[i], kDialNumberLimit, kNumberMessages[i]);
    bindEdit(IDC_PNA_EASY_USER_ID, &D::userId, kDialupUserLimit,
             "ユーザー名の入力に間違いがあります。");
    bindEdit(IDC_PNA_EASY_PASSWORD, &D::password, kDialupPasswordLimit,
             "パスワードの入力に間違いがあります。");
    // the addresses count only while they are given: disabled, they are neither checked nor
    // stored
    bindAddress(IDC_PNA_EASY_DNS_PRIMARY, &D::dnsPrimary, kAddressLimit,
                "プライマリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "", true);
    bindAddress(IDC_PNA_EASY_DNS_SECONDARY, &D::dnsSecondary, kAddressLimit,
                "セカンダリＤＮＳサーバーＩＰアドレスの入力に間違いがあります。", "", true);
    bindRule("サーバーアドレスの入力に間違いがあります。", dnsServerMissing);
    bindRadio(kPnaEasyDnsSelectIds[0], &D::dnsSelect);
    enableWhen(kPnaEasyDnsSelectIds[0], 0, {IDC_PNA_EASY_DNS_PRIMARY, IDC_PNA_EASY_DNS_SECONDARY});
}

}  // namespace kx
