// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/lanceur.h"

#include <QDesktopServices>
#include <QUrl>

bool LanceurQt::ouvrirAdresse(const QString& adresse)
{
    return QDesktopServices::openUrl(QUrl(adresse));
}
