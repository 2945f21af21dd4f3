// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "main_window/memoire.h"
#include "main_window/texte_en_cours.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <QStringView>

// Files beyond this size are refused before anything is read.
inline constexpr qint64 kMaxTextFileBytes = qint64(512) * 1024 * 1024;

// Files are read and decoded this many bytes at a time.
inline constexpr qsizetype kTailleBlocLecture = qsizetype(1) << 20;

// A text as the main window shows it: every line of the file followed by CR LF.
struct LoadedText {
    QString text;
    qint64 nonEmptyLines = 0;
    qint64 characters = 0; // characters of all lines, line breaks excluded
};

struct TextFileRead {
    LoadedText loaded;
    QString error; // a French sentence for the user; empty on success
    bool ok() const { return error.isEmpty(); }
};

// "Impossible de lire le fichier « name »." and the reason on the next line.
QString texteEchecLecture(const QString& path, const QString& raison);

// True when the name ends in ".txt", in any letter case.
bool hasTextExtension(const QString& path);

// Builds a loaded text from decoded characters given in order, in pieces of any size: a line
// ends at CR LF, at a lone CR or at a lone LF; the last line may have no break.
class DecoupeLignes {
public:
    // tailleAttendue: the bytes the whole text is expected to come from, for the first
    // reservation; 0 when unknown.
    explicit DecoupeLignes(qint64 tailleAttendue = 0)
        : attendus_(tailleAttendue)
    { }
    DecoupeLignes(const DecoupeLignes&) = delete;
    DecoupeLignes& operator=(const DecoupeLignes&) = delete;
    // A text given up before the end is over for its reader too.
    ~DecoupeLignes();

    // Publishes the text to `suivi` as it grows, until terminer() hands it over.
    void suivre(TexteEnCours* suivi) { suivi_ = suivi; }

    void ajouter(QStringView morceau);
    // Reads everything added so far again as the bytes of its UTF-8 form, one byte one
    // Windows-1252 character, behind `devant` (bytes that came first and were not added).
    void relireEnCp1252(QByteArrayView devant);
    // octetsLus: the bytes consumed so far, for the next reservations.
    void compterOctets(qint64 octetsLus) { lus_ = octetsLus; }
    LoadedText terminer();

private:
    void prevoir(qsizetype caracteres);
    std::unique_lock<std::shared_mutex> bloquerLecture();
    void publier(bool reecrit = false);

    TexteEnCours* suivi_ = nullptr;
    QString texte_; // its first ecrits_ characters are written, the rest is room
    qsizetype ecrits_ = 0;
    qint64 attendus_;
    qint64 lus_ = 0;
    qint64 sauts_ = 0;
    qint64 lignesNonVides_ = 0;
    bool ligneNonVide_ = false; // the line under way has a character
    bool crEnAttente_ = false; // the last character added was a CR: a LF next belongs to it
};

// Turns the bytes of a text file, given in file order in blocks of any size, into its loaded
// text: UTF-16 when it starts with a byte-order mark, else UTF-8 as long as every byte so far
// is valid UTF-8 (a UTF-8 byte-order mark dropped), else Windows-1252, one byte one character.
// A text that turns out not to be UTF-8 is switched to Windows-1252 without its bytes again.
class DecodeurTexte {
public:
    explicit DecodeurTexte(qint64 tailleAttendue = 0)
        : lignes_(tailleAttendue)
    { }

    void suivre(TexteEnCours* suivi) { lignes_.suivre(suivi); }
    void ajouter(QByteArrayView bloc);
    LoadedText terminer();

private:
    enum class Codage { Inconnu, Utf8, Utf16, Cp1252 };

    // Picks the encoding from the first bytes; returns how many of them to skip.
    qsizetype choisirCodage(QByteArrayView debut);
    void decoder(QByteArrayView octets);
    void passerEnCp1252();
    void decoderCp1252(QByteArrayView octets);
    void retenirSequenceIncomplete(QByteArrayView bloc);

    DecoupeLignes lignes_;
    Codage codage_ = Codage::Inconnu;
    QByteArray entete_; // the first bytes, while too few to tell the encoding
    QStringDecoder decodeur_;
    QString tampon_; // one block's characters
    char enAttente_[3] = {}; // a UTF-8 sequence that the next block completes
    int nbEnAttente_ = 0;
    bool bomUtf8_ = false;
    qint64 octetsUtf16_ = 0;
    qint64 lus_ = 0;
};

// The loaded text of a whole file's bytes.
LoadedText chargerOctets(QByteArrayView octets);

// The loaded text of characters already decoded.
LoadedText toLoadedText(const QString& decoded);

// Reads a text file in blocks. Refuses, with a French sentence and nothing loaded, a file that
// is missing, not a plain file, beyond maxBytes, or too big for the memory that `memoire` says
// is available; a failed allocation while reading gives the same sentence. Touches no shared
// state: it may run on any thread. With `suivi`, another thread may read the text meanwhile.
TextFileRead readTextFile(const QString& path, qint64 maxBytes = kMaxTextFileBytes,
                          const SourceMemoire& memoire = memoireDisponible,
                          TexteEnCours* suivi = nullptr, qsizetype tailleBloc = kTailleBlocLecture);
