// The main window's editing logic: recipients, SMS texts, alarm input, power-on, default states.
#include "ui/frmSMS_Vantor.h"

void frmSMS_Vantor::LabelEmpfaengerBeschriften() {}
void frmSMS_Vantor::FuelleEingangTextfelderSMS() {}
void frmSMS_Vantor::FuelleAusgangTextfelderSMS() {}
void frmSMS_Vantor::FuelleAlarmDispoTextfelderSMS() {}
void frmSMS_Vantor::FuellePowerONTextfelderSMS() {}
void frmSMS_Vantor::Aktiviere_Deaktiviere_ChkBox_IN() {}
void frmSMS_Vantor::Aktiviere_Deaktiviere_ChkBox_OUT() {}
void frmSMS_Vantor::Aktiviere_Deaktiviere_ChkBox_AlarmDispo_Benutzer() {}
void frmSMS_Vantor::Aktiviere_Deaktiviere_ChkBox_AlarmDispo_IN() {}
void frmSMS_Vantor::Aktiviere_Deaktiviere_ChkBox_PowerOn() {}
void frmSMS_Vantor::Aktualisieren() {}
void frmSMS_Vantor::wireEditor() {}
