#pragma once

#include "isdn/Bod.h"
#include "router/RouterSettings.h"

namespace kx {

// "ＢＯＤ設定" (157): the router's use of the second B channel: the channels it starts with,
// resource BOD, and throughput BOD's rules for adding and dropping the channel. The digital
// throughput BOD dialog's twin, except that the minimum holding times are kept and sent in
// seconds as typed (5..1275); their spin arrows still step by 5 seconds. OK checks the dropping
// side first.
class CBodDlg : public BodSidesDlg<RouterSettings> {
public:
    CBodDlg();
};

// "ＢＡＣＰ／ＢＡＰ設定" (158): refuse or answer automatically each of the three BACP/BAP
// requests on the calling and the called side, one bit of a mask each; the other bits are
// carried as they are.
class CRouterBacpBapDlg : public BacpBapAnswersDlg<RouterSettings> {
public:
    CRouterBacpBapDlg();
};

}  // namespace kx
