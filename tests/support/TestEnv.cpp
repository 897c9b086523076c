#include "TestEnv.h"

#include "core/ProgramContext.h"
#include "core/Progress.h"
#include "core/Settings.h"
#include "store/ConfigStore.h"
#include "ui/MainWindow.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtTest>

QString TestEnv::builtBin()
{
    const QByteArray env = qgetenv("SMSV48_BIN");
    return env.isEmpty() ? QStringLiteral(SMSV48_BUILD_BIN) : QString::fromLocal8Bit(env);
}

TestEnv::TestEnv(const QString& language)
{
    // A fresh program folder from the sources and the pristine database, never from the build
    // tree's program folder, which running the program there may have changed.
    const QString data = QStringLiteral(SMSV48_SOURCE_DIR "/data");
    QDirIterator it(data, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = QDir(m_root.path()).filePath(QDir(data).relativeFilePath(src));
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::copy(src, dst);
        QFile::setPermissions(dst, QFile::permissions(dst) | QFile::WriteOwner);
    }
    QDir(m_root.path()).mkpath(QStringLiteral("Datenbank"));
    QFile::copy(QStringLiteral(SMSV48_PRISTINE_DB), dbPath());
    QFile::setPermissions(dbPath(), QFile::permissions(dbPath()) | QFile::WriteOwner);
    QDir(m_root.path()).mkpath(QStringLiteral("Download/Config"));
    QDir(m_root.path()).mkpath(QStringLiteral("Download/Firmware"));
    QDir(m_root.path()).mkpath(QStringLiteral("UserProfile"));
    Settings::setFolder(m_settings.path());
    // Tests never touch the machine's real serial ports: every port number stands for the
    // simulated unit unless a test assigns another device.
    for (int n = 1; n <= 8; ++n)
        Settings::set(QStringLiteral("Ports"), QStringLiteral("COM%1").arg(n), QStringLiteral("sim"));
    if (!language.isEmpty())
        Settings::set(QStringLiteral("Einstellungen"), QStringLiteral("Sprache"), language);
    qputenv("SMSV48_HOME", m_root.path().toLocal8Bit());
    qputenv("SMSV48_SETTINGS_DIR", m_settings.path().toLocal8Bit());
    ProgramContext& st = gState();
    st.reset();
    st.dataRoot = m_root.path();
    st.databasePath = dbPath();
    st.setLanguage(language.isEmpty() ? QStringLiteral("1") : language);
    LoadingProgress::reset();
    Dialogs::setMessageHandler([this](const Dialogs::Message& m) {
        messages << m;
        if (!answers.isEmpty())
            return answers.takeFirst();
        for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel})
            if (m.buttons & b)
                return b;
        return QMessageBox::Ok;
    });
    Dialogs::setFileHandler([this](const Dialogs::FileRequest& r) {
        fileRequests << r;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    });
}

TestEnv::~TestEnv()
{
    Dialogs::setMessageHandler({});
    Dialogs::setFileHandler({});
    Settings::setFolder(QString());
}

QString TestEnv::dbPath() const { return QDir(m_root.path()).filePath(QStringLiteral("Datenbank/SMS_Vantor.sqlite")); }
QString TestEnv::path(const QString& rel) const { return QDir(m_root.path()).filePath(rel); }

QVariant TestEnv::queryValue(const QString& sql) const { return sqlValue(dbPath(), sql); }
void TestEnv::exec(const QString& sql) const { sqlExec(dbPath(), sql); }

QString TestEnv::configurationRows() const
{
    Connection con(gState());
    con.open(dbPath(), Connection::Read);
    QString out;
    for (const QString& t :
         {tbl::Eingaenge, tbl::Ausgaenge, tbl::AlarmDispositiv, tbl::PowerOn, tbl::SMS, tbl::Adressen}) {
        QSqlQuery q(con.db());
        q.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(t));
        while (q.next()) {
            out += t + ':';
            for (int i = 0; i < q.record().count(); ++i)
                out += (q.value(i).isNull() ? QStringLiteral("<null>") : q.value(i).toString()) + '|';
            out += '\n';
        }
    }
    return out;
}

QVariant sqlValue(const QString& database, const QString& sql)
{
    Connection con(gState());
    con.open(database, Connection::Read);
    QSqlQuery q(con.db());
    if (!q.exec(sql) || !q.next()) {
        qWarning() << "query failed:" << sql << q.lastError().text();
        return QVariant();
    }
    return q.value(0);
}

void sqlExec(const QString& database, const QString& sql)
{
    Connection con(gState());
    con.open(database, Connection::ReadWrite);
    QSqlQuery q(con.db());
    if (!q.exec(sql))
        qWarning() << "exec failed:" << sql << q.lastError().text();
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}
