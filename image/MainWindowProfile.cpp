// Profile files and the configuration image, as the main window uses them.
#include "ui/frmSMS_Vantor.h"

void frmSMS_Vantor::LoadDefaultConfiguration() {}
void frmSMS_Vantor::InitialisiereArrayEEPROM() {}
void frmSMS_Vantor::wireProfileCommands() {}
void frmSMS_Vantor::mnuSpeichern_Click() {}
