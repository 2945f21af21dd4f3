// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

class Form1;
class QTimer;

// The search through the loaded text, by presses of "Rechercher" or on the timer.
//
// A step scans in slices: each slice runs a fast substring search over at most a few
// milliseconds' worth of text, then hands back to the event loop, and a zero-delay timer
// carries on with the next slice. Clicks, typing, ticks and file opens are thus handled
// during a long scan, and any reset simply drops the scan in progress.
class Recherche final : public QObject {
    Q_OBJECT
public:
    explicit Recherche(Form1& form);

    // Back to the beginning of the text, no step counted; a scan in progress is dropped.
    void Reinitialiser();

    // 1-based index in the loaded text where the next step starts; during a scan, how far
    // it has got.
    qint64 PosRecherche = 1;
    // Steps made since the last reset.
    qint64 NbTrouves = 0;
    // First character of the search text as the capital-letter option last re-cased it.
    QString PremiereLettre;

    void CmdRecherche_Click();
    void Timer1_Timer();
    void ChkCherche_Click();
    void TxtRecherche_Change();
    void TxtRecherche_Click();
    void ChkMaj_Click();

    // True while a step's scan waits for its next slice.
    bool EtapeEnCours() const { return balayage_.has_value(); }

    // How a scan is cut: at most `caracteres` positions per substring search, and back to
    // the event loop once `duree` has passed (a zero duration yields after every search).
    void reglerTranches(qsizetype caracteres, std::chrono::nanoseconds duree);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Who made the step decides what happens once the end of the text is passed.
    enum class Origine { Bouton, Minuterie };

    struct Balayage {
        Origine origine;
        QString texte; // the loaded text, as it was when the step began
        QString motif; // the search text
        qsizetype suivant; // 0-based index of the next position to examine
        qsizetype depart; // PosRecherche when the step began
        bool caretPlace; // the caret already shows where the scan began
    };

    void Etape(Origine origine);
    void ContinuerBalayage();
    void TerminerEtape(Origine origine, const QString& motif, bool trouve);

    Form1& form_;
    std::optional<Balayage> balayage_;
    QTimer* suite_; // zero-delay timer that runs the next slice
    qsizetype trancheCaracteres_ = 64 * 1024;
    std::chrono::nanoseconds trancheDuree_ = std::chrono::milliseconds(2);
};
