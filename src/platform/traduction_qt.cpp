// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/traduction_qt.h"

#include <QCoreApplication>
#include <QTranslator>

bool traduireQtEnFrancais()
{
    auto* traduction = new QTranslator(QCoreApplication::instance());
    if (traduction->load(QStringLiteral(":/platform/traductions/qtbase_fr.qm"))
        && QCoreApplication::installTranslator(traduction))
        return true;
    delete traduction;
    return false;
}
