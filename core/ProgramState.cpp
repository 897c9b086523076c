#include "core/ProgramState.h"

#include <QDir>

ProgramState& gState()
{
    static ProgramState s;
    return s;
}

QString ProgramState::msg(const QString& key) const
{
    const auto it = messages.constFind(key);
    return it == messages.constEnd() ? key : it.value();
}

QString ProgramState::msgOr(const QString& key, const QString& germanFallback) const
{
    const auto it = messages.constFind(key);
    return it == messages.constEnd() || it.value().isEmpty() ? germanFallback : it.value();
}

QString ProgramState::profileFolder() const { return QDir(dataRoot).filePath(QStringLiteral("UserProfile")); }
QString ProgramState::defaultProfilePath() const
{
    return QDir(dataRoot).filePath(QStringLiteral("UserProfile/SMSV48_Default.cfg"));
}
QString ProgramState::transferFilePath() const
{
    return QDir(dataRoot).filePath(QStringLiteral("Download/Config/Default.hex"));
}
QString ProgramState::firmwareFolder() const { return QDir(dataRoot).filePath(QStringLiteral("Download/Firmware")); }
QString ProgramState::helpFolder() const { return QDir(dataRoot).filePath(QStringLiteral("help")); }

void ProgramState::setLanguage(const QString& stored)
{
    bool ok = false;
    const int v = stored.trimmed().toInt(&ok);
    giSprache = (ok && v >= 1 && v <= 4) ? v : 1;
}

void ProgramState::reset() { *this = ProgramState(); }
