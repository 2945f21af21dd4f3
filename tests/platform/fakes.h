// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Test doubles of the platform layer: they record what the windows asked for.

#include "platform/choix_fichier.h"
#include "platform/habillage.h"
#include "platform/lanceur.h"
#include "platform/plateforme.h"
#include "qt_print.h"
#include "write_file.h"

#include <QStringList>

#include <deque>

class FauxChoixFichier final : public ChoixFichier {
public:
    // Each dialog returns the next answer; an empty string is a cancel.
    std::deque<QString> answers;
    QStringList errors;
    int dialogs = 0;

    QString choisirFichierTexte(QWidget*) override
    {
        ++dialogs;
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void montrerErreur(QWidget*, const QString& message) override { errors << message; }

    // Each save dialog is offered a name and answers the next of these, or cancels.
    QStringList saveAnswers, offered;
    QString choisirFichierListe(QWidget*, const QString& propose) override
    {
        offered << propose;
        return saveAnswers.isEmpty() ? QString() : saveAnswers.takeFirst();
    }
};

class FauxLanceur final : public Lanceur {
public:
    QStringList opened;
    bool succeeds = true;
    bool ouvrirAdresse(const QString& address) override
    {
        opened << address;
        return succeeds;
    }
};

class FauxHabillage final : public Habillage {
public:
    QRect outline;
    int cornerRadius = 0;
    int hiddenFromTaskBar = 0;
    int stayOnTopCalls = 0;
    int moves = 0;

    void arrondirContour(QWidget*, const QRect& r, int radius) override
    {
        outline = r;
        cornerRadius = radius;
    }
    void cacherDeLaBarreDesTaches(QWidget*) override { ++hiddenFromTaskBar; }
    void garderAuPremierPlan(QWidget*) override { ++stayOnTopCalls; }
    void commencerDeplacement(QWidget*) override { ++moves; }
};

// All doubles together, with a Plateforme that points at them.
struct FakePlatform {
    FauxChoixFichier files;
    FauxLanceur launcher;
    FauxHabillage chrome;
    int programEnds = 0;

    Plateforme platform()
    {
        return {&files, &launcher, &chrome, [this] { ++programEnds; }};
    }
};
