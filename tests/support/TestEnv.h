#pragma once
// A private program folder and settings folder for one test: the shipped files of data/ and
// the freshly built database in a temporary directory, the program state pointed at it,
// every port number standing for the simulated unit, message boxes and file dialogs answered
// by the test.
#include "ui/Dialogs.h"

#include <QList>
#include <QMessageBox>
#include <QString>
#include <QTemporaryDir>
#include <functional>

class TestEnv {
public:
    // language: the stored "Sprache" setting (empty: none stored).
    explicit TestEnv(const QString& language = QString());
    ~TestEnv();
    QString root() const { return m_root.path(); }
    QString dbPath() const;
    QString settingsDir() const { return m_settings.path(); }
    QString path(const QString& rel) const;

    // Every message box shown while the env lives, answered with nextAnswer (default Ok/Yes
    // as offered).
    QList<Dialogs::Message> messages;
    QList<QMessageBox::StandardButton> answers; // consumed in order; when empty the first offered button
    QList<QString> fileAnswers; // answers to file dialogs, consumed in order ("" = cancel)
    QList<Dialogs::FileRequest> fileRequests;
    // The texts of the message boxes shown so far, in order.
    QStringList said() const
    {
        QStringList texts;
        for (const Dialogs::Message& m : messages)
            texts << m.text;
        return texts;
    }

    // Runs one SQL statement on the database file directly (for checks and setup).
    QVariant queryValue(const QString& sql) const;
    void exec(const QString& sql) const;
    // Every row of the six configuration tables as text, to see whether anything changed.
    QString configurationRows() const;

    static QString builtBin(); // the build tree's bin/ folder

private:
    QTemporaryDir m_root;
    QTemporaryDir m_settings;
};

// One SQL statement on any database file: the first value of its result, or run for its effect.
QVariant sqlValue(const QString& database, const QString& sql);
void sqlExec(const QString& database, const QString& sql);
// The whole content of a file (empty when it cannot be read).
QByteArray readAll(const QString& path);
// Writes data as the whole content of the file, its folder made if need be; a failure to open it fails the running
// test.
void writeFile(const QString& path, const QByteArray& data);
