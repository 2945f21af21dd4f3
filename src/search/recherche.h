// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

class QTimer;

// The search through the loaded text, by presses of "Rechercher" or on the timer.
//
// The loaded text, the search text and the two options come in through the setters; what
// the window must show goes out as signals. A step scans in slices: each slice runs a fast
// substring search over at most a few milliseconds' worth of text, then hands back to the
// event loop, and a zero-delay timer carries on with the next slice. Clicks, typing, ticks
// and file opens are thus handled during a long scan, and any reset simply drops the scan in
// progress.
class Recherche final : public QObject {
    Q_OBJECT
public:
    explicit Recherche(QObject* parent = nullptr);

    // The text searched from now on; a scan of the old one is dropped with the search state.
    void definirTexte(const QString& texte);
    // The search text as the box holds it; a different one resets the search.
    void definirMotif(const QString& motif);
    // The "Auto" option: a press starts the timer rather than making one step.
    void definirAuto(bool automatique);
    // The capital-letter option; a different state re-cases the first character.
    void definirMajuscule(bool majuscule);

    const QString& motif() const { return motif_; }
    bool majuscule() const { return majuscule_; }

    // Back to the beginning of the text, no step counted; a scan in progress is dropped.
    void Reinitialiser();

    // 1-based index in the loaded text where the next step starts; during a scan, how far
    // it has got.
    qint64 PosRecherche = 1;
    // Steps made since the last reset.
    qint64 NbTrouves = 0;
    // First character of the search text as the capital-letter option last re-cased it.
    QString PremiereLettre;

    // The automatic run's timer, every 5 milliseconds while it is on.
    QTimer* minuterie() const { return Timer1_; }

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

signals:
    // The end of a step: this stretch of the text is selected and takes the keyboard focus.
    void selectionne(qsizetype debut, qsizetype longueur);
    // A step scans on past its first slice: the caret waits here, the focus stays put.
    void attend(qsizetype debut);
    // The whole new text of the result label.
    void resultat(const QString& texte);
    // The search text or the capital-letter option changed from here, not from the box.
    void motifChange(const QString& motif);
    void majusculeChangee(bool majuscule);
    // A step passed the end of the text: the final message is out, the run is over.
    void termine();

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

    QString texte_;
    QString motif_;
    bool automatique_ = true;
    bool majuscule_ = false;
    std::optional<Balayage> balayage_;
    QTimer* Timer1_;
    QTimer* suite_; // zero-delay timer that runs the next slice
    qsizetype trancheCaracteres_ = 64 * 1024;
    std::chrono::nanoseconds trancheDuree_ = std::chrono::milliseconds(2);
};
