// Main window commands, access levels, help context numbers, menu icons.
#include "ui/frmSMS_Vantor.h"

void frmSMS_Vantor::BenutzerBerechtigung(const QString&) {}
void frmSMS_Vantor::AddHelpContextID() {}
void frmSMS_Vantor::MenuIcons() {}
void frmSMS_Vantor::wireShellCommands() {}
