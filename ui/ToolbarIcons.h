#pragma once
// Pictures of the main window's toolbar buttons, drawn for any size (sharp at every
// scaling). Keys as the toolbar's ("ReportAlarm", "PrintUser", "Telefonbuch", "COM");
// an unknown key gives a null icon.
#include <QIcon>
#include <QString>

namespace ToolbarIcons {
QIcon icon(const QString& key);
}
