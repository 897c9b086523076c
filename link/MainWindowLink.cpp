// The device commands of the main window.
#include "ui/frmSMS_Vantor.h"

void frmSMS_Vantor::Verbindung_pruefen() {}
void frmSMS_Vantor::InitialisiereGueltigkeit() {}
void frmSMS_Vantor::openPortSettings() {}
void frmSMS_Vantor::wireDeviceCommands() {}
