// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The file dialogs and the messages that go with it, replaceable in tests.
class ChoixFichier {
public:
    virtual ~ChoixFichier() = default;
    // The chosen path, or an empty string when the user cancelled.
    virtual QString choisirFichierTexte(QWidget* parent) = 0;
    // Where to save the list of words, `propose` offered first; empty when the user cancelled.
    virtual QString choisirFichierListe(QWidget* parent, const QString& propose) = 0;
    virtual void montrerErreur(QWidget* parent, const QString& message) = 0;
};

class ChoixFichierQt final : public ChoixFichier {
public:
    QString choisirFichierTexte(QWidget* parent) override;
    QString choisirFichierListe(QWidget* parent, const QString& propose) override;
    void montrerErreur(QWidget* parent, const QString& message) override;
};
