#pragma once

// Runs one of the built programs, as an installer or a script would, and collects what it
// said. exitCode stays -1 when it did not end normally within timeoutMs.

#include <QProcess>
#include <QString>
#include <QStringList>

struct ProgramResult
{
    int exitCode = -1;
    QString out;
    QString err;
};

inline ProgramResult RunProgram(const QString &program, const QProcessEnvironment &environment,
                                const QStringList &arguments, int timeoutMs)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    ProgramResult result;
    if (!process.waitForFinished(timeoutMs) || process.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}
