// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/analyse.h"

#include "analysis/balayage.h"
#include "analysis/table_hachage.h"
#include "analysis/wc.h"

#include <algorithm>
#include <bit>
#include <thread>
#include <vector>

namespace {

using analyse_interne::Dictionnaire;
using analyse_interne::hacher;

// Below this the second thread costs more than it saves.
constexpr qsizetype kSeuilDeuxFils = 1 << 16;
// The text goes by pieces of about this many characters, small enough for
// the piece and its list of words to stay in cache between the two scans.
constexpr qsizetype kMorceau = 1 << 14;

// A cut that ends no word under either rule: a space, CR, TAB or a separator
// of `wc` other than the apostrophe (which is part of a word for the
// occurrence table) and the line feed (which a word goes through there).
bool coupureSure(char16_t c) { return c != u'\'' && c != u'\n' && analyse_interne::estBlanc(c); }

// The first safe cut in [de, a), or -1.
qsizetype premiereCoupure(QStringView texte, qsizetype de, qsizetype a)
{
    for (qsizetype i = de; i < a && i < texte.size(); ++i)
        if (coupureSure(texte[i].unicode()))
            return i;
    return -1;
}

// The last safe cut in [de, a), or -1.
qsizetype derniereCoupure(QStringView texte, qsizetype de, qsizetype a)
{
    for (qsizetype i = std::min(a, texte.size()); i-- > de;)
        if (coupureSure(texte[i].unicode()))
            return i;
    return -1;
}

// Where the piece that starts at `debut` ends: near debut + longueur, or at
// the next safe cut when there is none near. Each search looks at no more
// characters than the piece it gives holds, plus 2 × longueur, so cutting a
// text costs time in proportion to its length whatever its content.
qsizetype finDuMorceau(QStringView texte, qsizetype debut, qsizetype longueur)
{
    if (texte.size() - debut <= 2 * longueur)
        return texte.size();
    qsizetype c = premiereCoupure(texte, debut + longueur, debut + 2 * longueur);
    if (c < 0)
        c = derniereCoupure(texte, debut + 1, debut + longueur);
    if (c < 0)
        c = premiereCoupure(texte, debut + 2 * longueur, texte.size());
    return c < 0 ? texte.size() : c;
}

// Both word rules in one pass. Most words are the same piece of text under
// both (a run of letters between spaces or punctuation), so one dictionary of
// exact spellings serves both: the word count's distinct words are its keys
// seen as `wc` words, and each key points to its entry of the occurrence
// table, whose capital form is worked out once per spelling instead of once
// per occurrence.
class AnalyseCommune {
public:
    void ajouterTexte(QStringView texte)
    {
        for (qsizetype debut = 0; debut < texte.size();) {
            const qsizetype fin = finDuMorceau(texte, debut, kMorceau);
            ajouterMorceau(texte.sliced(debut, fin - debut));
            debut = fin;
        }
    }

    // `suite` analysed the text that follows this one's. The two halves
    // touch separate data, so they can run on two threads at once.
    void fusionnerMots(const AnalyseCommune& suite)
    {
        mots_ += suite.mots_;
        // The words of wc in both count once: those of `suite` are looked up
        // here without being added, by batches prefetched together.
        qint64 communs = 0;
        constexpr size_t kLot = 32;
        Dictionnaire::Demande lot[kLot];
        size_t nbLot = 0;
        const auto vider = [&] {
            exacts_.trouverLot(lot, nbLot, [&](size_t, size_t place) {
                if (place != Dictionnaire::kAbsente && (exacts_.valeur(place) & kMotWc))
                    ++communs;
            });
            nbLot = 0;
        };
        suite.exacts_.pourChaque([&](const char16_t* mot, qsizetype n, quint64 valeur) {
            if (!(valeur & kMotWc))
                return;
            lot[nbLot++] = {mot, n, hacher(mot, n)};
            if (nbLot == kLot)
                vider();
        });
        vider();
        differents_ += suite.differents_ - communs;
    }
    void fusionnerTable(const AnalyseCommune& suite) { table_.Fusionner(suite.table_); }

    qint64 mots() const noexcept { return mots_; }
    qint64 motsDifferents() const noexcept { return differents_; }
    TableOccurrences& table() noexcept { return table_; }

private:
    static constexpr quint64 kMotWc = quint64(1) << 63; // the key is a word of `wc`
    // The rest of a key's value: its entry in the table, 0 for none yet.

    struct MotWc {
        qsizetype debut;
        qsizetype fin;
        size_t place; // holds the hash until the word is looked up
    };

    size_t chercher(const char16_t* mot, qsizetype n)
    {
        bool ajoute = false;
        return exacts_.trouverOuAjouter(mot, n, hacher(mot, n), 0, ajoute);
    }

    void marquerMotWc(size_t place)
    {
        quint64& v = exacts_.valeur(place);
        if (!(v & kMotWc)) {
            v |= kMotWc;
            ++differents_;
        }
    }

    void compterOccurrence(size_t place, QStringView mot)
    {
        quint64& v = exacts_.valeur(place);
        qsizetype entree = qsizetype(v & ~kMotWc);
        if (entree == 0) {
            entree = table_.Entree(mot);
            exacts_.valeur(place) = (exacts_.valeur(place) & kMotWc) | quint64(entree);
        }
        table_.Compter(entree);
    }

    void ajouterMorceau(QStringView morceau)
    {
        const char16_t* d = morceau.utf16();
        const qsizetype n = morceau.size();

        // The words of wc first, then their lookups: knowing the words ahead
        // lets the slots and records of the next ones come from memory while
        // the current one is looked up.
        motsWc_.clear();
        analyse_interne::pourChaqueCourse(
            n, [d](qsizetype base) { return ~analyse_interne::masqueBlancs(d + base); },
            [d](qsizetype i) { return !analyse_interne::estBlanc(d[i]); },
            [&](qsizetype debut, qsizetype fin) {
                motsWc_.push_back({debut, fin, hacher(d + debut, fin - debut)});
            });
        mots_ += qint64(motsWc_.size());
        exacts_.reserverPour(motsWc_.size());
        constexpr size_t kAvance = 8;
        for (size_t k = 0; k < motsWc_.size(); ++k) {
            if (k + 2 * kAvance < motsWc_.size())
                exacts_.prechargerCase(quint32(motsWc_[k + 2 * kAvance].place));
            if (k + kAvance < motsWc_.size())
                exacts_.prechargerEnregistrement(quint32(motsWc_[k + kAvance].place));
            MotWc& m = motsWc_[k];
            bool ajoute = false;
            m.place = exacts_.trouverOuAjouter(d + m.debut, m.fin - m.debut, quint32(m.place), 0,
                                               ajoute);
            marquerMotWc(m.place);
            // The count is read again when the occurrence runs are scanned:
            // fetching it now overlaps that miss with the lookups.
            if (const qsizetype entree = qsizetype(exacts_.valeur(m.place) & ~kMotWc); entree != 0)
                table_.PrechargerCompte(entree);
        }

        size_t k = 0; // first word of wc that may start at the run
        analyse_interne::pourChaqueCourse(
            n, [d, n](qsizetype base) { return analyse_interne::masqueCourses(d, base, n); },
            [d, n](qsizetype i) { return analyse_interne::dansCourse(d, i, n); },
            [&](qsizetype debut, qsizetype fin) {
                // Line feeds at the ends belong to no word: with CR LF lines,
                // every line's first run starts with one, and once they are
                // off it is most often the same piece as a word of wc.
                while (debut < fin && d[debut] == u'\n')
                    ++debut;
                while (fin > debut && d[fin - 1] == u'\n')
                    --fin;
                if (debut == fin)
                    return;
                while (k < motsWc_.size() && motsWc_[k].debut < debut)
                    ++k;
                const QStringView course(d + debut, fin - debut);
                if (k < motsWc_.size() && motsWc_[k].debut == debut && motsWc_[k].fin == fin) {
                    compterOccurrence(motsWc_[k].place, course);
                    return;
                }
                if (!course.contains(u'\n')) {
                    compterOccurrence(chercher(course.utf16(), course.size()), course);
                    return;
                }
                QString mot = course.toString();
                mot.remove(u'\n');
                if (!mot.isEmpty())
                    compterOccurrence(
                        chercher(reinterpret_cast<const char16_t*>(mot.utf16()), mot.size()), mot);
            });
    }

    qint64 mots_ = 0;
    qint64 differents_ = 0;
    Dictionnaire exacts_;
    TableOccurrences table_;
    std::vector<MotWc> motsWc_; // of the piece at hand
};

} // namespace

AnalyseComplete analyserTexte(QStringView texte)
{
    AnalyseCommune analyse;
    // The two halves go to the two threads; the second half's results are
    // then merged in.
    qsizetype coupure = -1;
    if (texte.size() >= kSeuilDeuxFils && std::thread::hardware_concurrency() > 1) {
        coupure = premiereCoupure(texte, texte.size() / 2, texte.size());
        if (coupure < 0)
            coupure = derniereCoupure(texte, 1, texte.size() / 2);
    }
    if (coupure < 0) {
        analyse.ajouterTexte(texte);
    } else {
        AnalyseCommune suite;
        // Filled on the thread's own stack and moved out at the end, so that
        // the two threads never write to the same cache line while scanning.
        std::thread fil([&] {
            AnalyseCommune a;
            a.ajouterTexte(texte.sliced(coupure));
            suite = std::move(a);
        });
        analyse.ajouterTexte(texte.first(coupure));
        fil.join();
        // The word counts are merged on the other thread while this one
        // merges, sorts and reports the table (joined even if that throws).
        std::jthread mots([&] { analyse.fusionnerMots(suite); });
        AnalyseComplete r;
        analyse.fusionnerTable(suite);
        r.table = std::move(analyse.table());
        r.table.TrierMots();
        r.rapport = r.table.Rapport();
        mots.join();
        r.mots = analyse.mots();
        r.motsDifferents = analyse.motsDifferents();
        return r;
    }

    AnalyseComplete r;
    r.table = std::move(analyse.table());
    r.table.TrierMots();
    r.mots = analyse.mots();
    r.motsDifferents = analyse.motsDifferents();
    r.rapport = r.table.Rapport();
    return r;
}
