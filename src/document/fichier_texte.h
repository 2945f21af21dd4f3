// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Reading a text file into the text the main window shows: decoding, line ends, counts.

#include "document/index_lignes.h"
#include "document/memoire.h"
#include "platform/memoire_systeme.h"
#include "text/texte.h"

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

#include <optional>
#include <stop_token>

// Files beyond this size are refused before anything is read.
inline constexpr qint64 kTailleMaximaleFichier = qint64(512) * 1024 * 1024;

// Files are read and decoded this many bytes at a time; the stop request is looked at between
// two blocks.
inline constexpr qsizetype kTailleBlocLecture = qsizetype(1) << 20;

// A text as the main window shows it: every line of the file followed by CR LF. It is kept one
// byte per character when every character has a Windows-1252 byte.
struct TexteCharge {
    Texte texte;
    IndexLignes lignes; // of texte, gathered as it was written
    qint64 lignesNonVides = 0;
    qint64 caracteres = 0; // characters of all lines, line breaks excluded
};

struct LectureFichier {
    TexteCharge charge;
    QString erreur; // a French sentence for the user; empty on success
    bool abandonnee = false; // stopped on request: nothing to show, nothing to say
    bool ok() const { return erreur.isEmpty() && !abandonnee; }
};

// "Impossible de lire le fichier « name »." and the reason on the next line.
QString texteEchecLecture(const QString& chemin, const QString& raison);

// True when the name ends in ".txt", in any letter case.
bool aExtensionTexte(const QString& chemin);

// Builds a loaded text from decoded characters given in order, in pieces of any size: a line
// ends at CR LF, at a lone CR or at a lone LF; the last line may have no break.
class DecoupeLignes {
public:
    // tailleAttendue: the bytes the whole text is expected to come from, 0 when unknown. The
    // most a text of that size can take is set aside at once, and only what is written is
    // ever touched, so that the text never moves while it grows.
    explicit DecoupeLignes(qint64 tailleAttendue = 0)
        : attendus_(tailleAttendue)
    { }

    void ajouter(QStringView morceau);
    // The same, from Windows-1252 bytes.
    void ajouterOctets(QByteArrayView morceau);
    // Forgets what was added; the room of the byte form stays, for the same text decoded again.
    void recommencer();
    TexteCharge terminer();

private:
    template <class Unite>
    void prevoir(Unite*& debut, qsizetype caracteres);
    // From the first character with no Windows-1252 byte on, the text is kept in UTF-16.
    void passerEnUtf16();
    // Writes from p on, up to the end or to a character the form at hand cannot hold; returns
    // where it stopped.
    template <class Entree, class Sortie>
    const Entree* ecrire(const Entree* p, const Entree* fin);

    // While enOctets_, the text is in octets_, else in texte_; the first ecrits_ characters
    // are written, the rest is room.
    bool enOctets_ = true;
    QByteArray octets_;
    QString texte_;
    qsizetype ecrits_ = 0;
    qint64 attendus_;
    qint64 sauts_ = 0;
    qint64 lignesNonVides_ = 0;
    bool ligneNonVide_ = false; // the line under way has a character
    bool crEnAttente_ = false; // the last character added was a CR: a LF next belongs to it
    IndexLignes::Releve releve_;
    // The pages of the expected text, taken from the system ahead of the writes. Last, so that
    // it stops before the room it prepares goes.
    PagesPreparees pages_;
};

// Turns the bytes of a text file, given in file order in blocks of any size, into its loaded
// text: UTF-16 when it starts with a byte-order mark, else UTF-8 as long as every byte so far
// is valid UTF-8 (a UTF-8 byte-order mark dropped), else Windows-1252, one byte one character.
// A text that turns out not to be UTF-8 is given again from its first byte, as Windows-1252.
class DecodeurTexte {
public:
    explicit DecodeurTexte(qint64 tailleAttendue = 0)
        : lignes_(tailleAttendue)
    { }

    // False when the bytes so far are not UTF-8: call recommencerEnCp1252(), then give every
    // byte again from the first.
    [[nodiscard]] bool ajouter(QByteArrayView bloc);
    void recommencerEnCp1252();
    // Nothing, when the end shows that the bytes were not UTF-8 (as for ajouter).
    [[nodiscard]] std::optional<TexteCharge> terminer();

private:
    enum class Codage { Inconnu, Utf8, Utf16, Cp1252 };

    // Picks the encoding from the first bytes; returns how many of them to skip.
    qsizetype choisirCodage(QByteArrayView debut);
    bool decoder(QByteArrayView octets);
    void retenirSequenceIncomplete(QByteArrayView bloc);

    DecoupeLignes lignes_;
    Codage codage_ = Codage::Inconnu;
    QByteArray entete_; // the first bytes, while too few to tell the encoding
    QStringDecoder decodeur_;
    QString tampon_; // one block's characters
    char enAttente_[3] = {}; // a UTF-8 sequence that the next block completes
    int nbEnAttente_ = 0;
    qint64 octetsUtf16_ = 0;
};

// Reads a text file in blocks. Refuses, with a French sentence and nothing loaded, a file that
// is missing, not a plain file, beyond tailleMaximale, or too big for the memory that `memoire`
// says is available; a failed allocation while reading gives the same sentence. Stops between
// two blocks once `arret` is requested. Touches no shared state: it may run on any thread.
LectureFichier lireFichierTexte(const QString& chemin, std::stop_token arret = {},
                                const SourceMemoire& memoire = memoireDisponible,
                                qint64 tailleMaximale = kTailleMaximaleFichier,
                                qsizetype tailleBloc = kTailleBlocLecture);
