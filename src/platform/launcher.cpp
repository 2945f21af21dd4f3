// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/launcher.h"

#include <QProcess>

QStringList QtLauncher::commandFor(const QString& address)
{
#ifdef Q_OS_WIN
    return {QStringLiteral("explorer.exe"), address};
#else
    return {QStringLiteral("xdg-open"), address};
#endif
}

bool QtLauncher::openAddress(const QString& address)
{
    QStringList command = commandFor(address);
    const QString program = command.takeFirst();
    return QProcess::startDetached(program, command);
}
