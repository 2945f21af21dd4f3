#pragma once

#include <QObject>
#include <QString>

class Form1;

// The search through the loaded text, by presses of "Rechercher" or on the timer.
class Recherche final : public QObject {
    Q_OBJECT
public:
    explicit Recherche(Form1& form);

    // Back to the beginning of the text, no step counted.
    void Reinitialiser();

    qint64 PosRecherche = 1;
    qint64 NbTrouves = 0;
    QString PremiereLettre;

private:
    Form1& form_;
};
