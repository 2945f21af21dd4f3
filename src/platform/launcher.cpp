// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/launcher.h"

#include <QDesktopServices>
#include <QUrl>

bool QtLauncher::openAddress(const QString& address)
{
    return QDesktopServices::openUrl(QUrl(address));
}
