// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/traduction_qt.h"

#include <QFileDialog>
#include <QLabel>
#include <QLibraryInfo>
#include <QPushButton>
#include <QTranslator>

#include <gtest/gtest.h>

namespace {

TEST(TraductionQt, TheFileDialogSpeaksFrenchWithNoTranslationOfTheSystem)
{
    // These tests see no translation of the system, as where its package is not installed.
    QTranslator duSysteme;
    ASSERT_FALSE(duSysteme.load(QLocale(QLocale::French), QStringLiteral("qtbase"),
                                QStringLiteral("_"),
                                QLibraryInfo::path(QLibraryInfo::TranslationsPath)));

    ASSERT_TRUE(traduireQtEnFrancais());
    // The dialog that the open command shows, drawn by Qt itself.
    QFileDialog dialogue(nullptr, QStringLiteral("Ouvrir un fichier texte"), QString(),
                         QStringLiteral("Fichier texte (*.txt)"));
    dialogue.setOption(QFileDialog::DontUseNativeDialog);
    dialogue.setFileMode(QFileDialog::ExistingFile);
    dialogue.show();
    QStringList boutons;
    for (const QPushButton* bouton : dialogue.findChildren<QPushButton*>())
        if (bouton->isVisible())
            boutons << bouton->text().remove(u'&');
    QStringList libelles;
    for (const QLabel* libelle : dialogue.findChildren<QLabel*>())
        if (libelle->isVisible())
            libelles << libelle->text().remove(u'&');
    dialogue.hide();
    EXPECT_TRUE(boutons.contains(u"Ouvrir"_qs)) << boutons.join(u", ").toStdString();
    EXPECT_TRUE(boutons.contains(u"Annuler"_qs)) << boutons.join(u", ").toStdString();
    for (const QString& libelle :
         {u"Voir dans :"_qs, u"Nom de fichier :"_qs, u"Fichiers de type :"_qs})
        EXPECT_TRUE(libelles.contains(libelle)) << libelles.join(u", ").toStdString();
}

} // namespace
