#include "app/services/AppState.h"

namespace kx {

void resetAppState() {
    networkMode = 0;
    deviceName.clear();
    windowTitle.clear();
    minFirmwareVersion = 0.0;
    firmwareVersionText.clear();
    changeCount = 0;
    addressChanged = false;
    comPortNumber = 1;
    ipAddressText.clear();
    loginPassword.clear();
    adminPassword.clear();
    debugMode = 0;
    routerMode = false;
    settingsFilePath.clear();
    helpFilePath.clear();
}

}  // namespace kx
