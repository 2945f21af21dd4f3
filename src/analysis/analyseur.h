// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The one pass behind every count: it cuts a text into the words of `wc`
// and into the runs of the occurrence table, and looks every word up once
// in a set of exact spellings. Most words are the same piece of text under
// both rules (a run of letters between spaces or punctuation), so that set
// serves both: its keys seen as words of `wc` are the distinct words, and
// each key points to its entry of the table, whose capital form is worked
// out once per spelling instead of once per occurrence.

#include "analysis/analyse.h"
#include "analysis/dictionnaire.h"
#include "analysis/table.h"
#include "text/texte.h"

#include <QStringView>

#include <algorithm>
#include <stop_token>
#include <type_traits>
#include <vector>

namespace lexique {

// Windows-1252 bytes read as their characters.
struct VueOctets {
    QByteArrayView octets;
    qsizetype size() const noexcept { return octets.size(); }
    char16_t operator[](qsizetype i) const noexcept
    {
        return versCp1252(static_cast<unsigned char>(octets[i]));
    }
};

enum Regles : quint8 {
    MotsWc = 1, // the word count and the distinct words of `wc`
    Occurrences = 2, // the occurrence table
    Toutes = 3,
};

// The text goes by pieces of about this many characters, small enough for
// the piece and its list of words to stay in cache until they are looked up.
inline constexpr qsizetype kMorceauParDefaut = 1 << 14;

// U is the unit of the text: char16_t for UTF-16, char for Windows-1252 bytes,
// which are looked up as they are and widened only for the table.
template <class U>
class AnalyseurDe {
public:
    explicit AnalyseurDe(Regles regles, qsizetype morceau = kMorceauParDefaut)
        : regles_(regles)
        , morceau_(std::max<qsizetype>(1, morceau))
    { }

    // Goes on with the text that follows what it has seen, cut anywhere a
    // word of neither rule goes on. Stops between two pieces once `arret`
    // is requested.
    // UTF-16, or Windows-1252 bytes.
    using Vue = std::conditional_t<std::is_same_v<U, char>, VueOctets, QStringView>;
    void ajouterTexte(Vue texte, std::stop_token arret = {});

    // `suite` analysed the text that follows this one's. The words merge
    // touches no table. Both give up, leaving a result of no use, once `arret`
    // is requested.
    // With `derniere`, no part follows: the words new here are counted, not kept.
    void fusionnerMots(const AnalyseurDe& suite, const std::stop_token& arret = {},
                       bool derniere = false);
    void fusionnerTable(AnalyseurDe& suite, const std::stop_token& arret = {})
    {
        table().fusionner(suite.table(), arret);
    }
    // Drops the set of spellings once the words are merged.
    void libererMots();

    qint64 mots() const noexcept { return mots_; }
    qint64 motsDifferents() const noexcept { return differents_; }
    // The table of the text seen so far.
    Table& table();

private:
    // A word to look up: its units (in the text, or in horsTexte_ when line
    // feeds had to be taken out), its hash then its place, the rules it counts
    // for, and whether the 8 bytes before it may be read.
    struct Mot {
        const U* d;
        qsizetype n;
        quint32 place;
        Regles regles;
        bool avantLisible;
    };

    void ajouterMorceau(const U* d, qsizetype n);
    // `dansLeTexte`: d points into the text given to ajouterTexte, not into horsTexte_.
    void ajouterMot(const U* d, qsizetype n, Regles regles, bool dansLeTexte = true);
    // A stretch between two cuts where the rules part ways.
    void ajouterSegmentMele(const U* d, qsizetype debut, qsizetype fin, qsizetype n);
    void placer();

    Regles regles_;
    qsizetype morceau_;
    qint64 mots_ = 0;
    qint64 differents_ = 0;
    DictionnaireDe<U> exacts_;
    // The runs are counted by exact spelling, in the set of spellings that the lookup has just
    // brought into cache; the table gathers those counts by capital form when it is asked for.
    // Spellings with a count not yet in the table, in the order of their first run.
    std::vector<quint32> aReporter_;
    Table table_;
    std::vector<Mot> motsDuMorceau_;
    std::vector<U> horsTexte_;
    std::vector<Mot> motsWcDuSegment_;
    const U* debutTexte_ = nullptr; // the text at hand
};

using Analyseur = AnalyseurDe<char16_t>;
using AnalyseurOctets = AnalyseurDe<char>;

// A cut that ends no word under either rule: a space, CR, TAB or a separator
// of `wc` other than the apostrophe (which is part of a word for the
// occurrence table) and the line feed (which a word goes through there).
bool coupureSure(char16_t c) noexcept;
// A safe cut near `visee`: the first in [visee, a), else the last in [de, visee), else -1.
qsizetype coupureVers(QStringView texte, qsizetype de, qsizetype visee, qsizetype a) noexcept;
qsizetype coupureVers(VueOctets texte, qsizetype de, qsizetype visee, qsizetype a) noexcept;

// Adds to `debut` what `suite` found in the text that follows; `suite` is emptied, and after
// the last merge the set of spellings of `debut` too.
template <class U>
void fusionner(AnalyseurDe<U>& debut, AnalyseurDe<U>& suite, bool derniere,
               const std::stop_token& arret);

// The whole analysis, on `fils` threads at most. Once `arret` is requested it gives up at the
// next piece and returns an empty result.
AnalyseComplete analyser(QStringView texte, int fils, std::stop_token arret = {});
AnalyseComplete analyser(const Texte& texte, int fils, std::stop_token arret = {});

} // namespace lexique
