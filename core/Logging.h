#pragma once
// One logging category per subsystem. Only warnings show by default; for example
// QT_LOGGING_RULES="smsv48.link.debug=true" shows every line sent to the unit (secrets
// masked), the answers, the retries and the give-ups.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcLink)
Q_DECLARE_LOGGING_CATEGORY(lcStore)
Q_DECLARE_LOGGING_CATEGORY(lcImage)
Q_DECLARE_LOGGING_CATEGORY(lcSim)
Q_DECLARE_LOGGING_CATEGORY(lcReports)
Q_DECLARE_LOGGING_CATEGORY(lcCli)
