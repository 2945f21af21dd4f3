// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/texte.h"

#include <QObject>
#include <QString>

#include <chrono>
#include <optional>

class QTimer;

// The search through the loaded text, by presses of "Rechercher" or on the timer.
//
// The loaded text, the search text and the two options come in through the setters, the
// presses, ticks and clicks through the verbs; what the window must show goes out as signals.
// The window's handlers call it; it knows no widget. A step scans in slices: each slice runs a fast
// substring search over at most a few milliseconds' worth of text, then hands back to the
// event loop, and a zero-delay timer carries on with the next slice. Clicks, typing, ticks
// and file opens are thus handled during a long scan, and any reset simply drops the scan in
// progress.
class Recherche final : public QObject {
    Q_OBJECT
public:
    explicit Recherche(QObject* parent = nullptr);

    // The text searched from now on; a scan of the old one is dropped with the search state.
    void definirTexte(const Texte& texte);
    void definirTexte(const QString& texte) { definirTexte(Texte(texte)); }
    // The search text as the box holds it; a different one resets the search.
    void definirMotif(const QString& motif);
    // The "Auto" option: a press starts the timer rather than making one step.
    void definirAuto(bool automatique);
    // The capital-letter option; a different state re-cases the first character.
    void definirMajuscule(bool majuscule);

    const QString& motif() const { return motif_; }
    bool majuscule() const { return majuscule_; }

    // Back to the beginning of the text, no step counted; a scan in progress is dropped.
    void reinitialiser();

    // A press of "Rechercher": one step, or with "Auto" the start of a run on the timer.
    void appuyer();
    // A tick of the automatic run's timer: the run's next step.
    void tic();
    // A click on "Auto", either way: the search starts again.
    void basculerAuto();
    // A click in the search box: no search text and no capital any more.
    void viderMotif();

    // 1-based index in the loaded text where the next step starts; during a scan, how far
    // it has got.
    qint64 position() const { return position_; }
    // Steps made since the last reset.
    qint64 etapes() const { return etapes_; }
    // First character of the search text as the capital-letter option last re-cased it.
    const QString& premiereLettre() const { return premiereLettre_; }

    // The automatic run's timer, every 5 milliseconds while it is on; its ticks are tic().
    QTimer* minuterie() const { return minuterie_; }

    // True while a step's scan waits for its next slice.
    bool etapeEnCours() const { return balayage_.has_value(); }

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
        Texte texte; // the loaded text, as it was when the step began
        QString motif; // the search text
        // In a text kept as bytes, the search text in bytes; none when it has a character
        // with no byte, which such a text never holds.
        std::optional<QByteArray> motifOctets;
        qsizetype suivant; // 0-based index of the next position to examine
        qsizetype depart; // position() when the step began
        bool caretPlace; // the caret already shows where the scan began
    };

    // The capital-letter option changed: the first character of the search text follows it.
    void recaserPremiereLettre();
    void etape(Origine origine);
    void continuerBalayage();
    // The first occurrence starting in [de, vue - motif's length], or -1.
    static qsizetype chercher(const Balayage& b, qsizetype de, qsizetype vue);
    void terminerEtape(Origine origine, const QString& motif, bool trouve);

    qint64 position_ = 1;
    qint64 etapes_ = 0;
    QString premiereLettre_;
    Texte texte_;
    QString motif_;
    bool automatique_ = true;
    bool majuscule_ = false;
    std::optional<Balayage> balayage_;
    QTimer* minuterie_;
    QTimer* suite_; // zero-delay timer that runs the next slice
    qsizetype trancheCaracteres_ = 64 * 1024;
    std::chrono::nanoseconds trancheDuree_ = std::chrono::milliseconds(2);
};
