#include "core/Logging.h"

Q_LOGGING_CATEGORY(lcLink, "smsv48.link", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStore, "smsv48.store", QtWarningMsg)
Q_LOGGING_CATEGORY(lcImage, "smsv48.image", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSim, "smsv48.sim", QtWarningMsg)
Q_LOGGING_CATEGORY(lcReports, "smsv48.reports", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCli, "smsv48.cli", QtWarningMsg)
