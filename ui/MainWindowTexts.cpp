// The main window's texts from the language tables.
#include "ui/frmSMS_Vantor.h"

void frmSMS_Vantor::SystemMessages() {}
void frmSMS_Vantor::Beschrifte_Labels_Buttons() {}
void frmSMS_Vantor::ToolTipText() {}
