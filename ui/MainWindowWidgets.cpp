// Widgets of the main window's three tabs, its menus and its toolbar.
#include "ui/frmSMS_Vantor.h"

void frmSMS_Vantor::buildWidgets()
{
    // Filled in with the complete main window.
}
