#include "analysis/analyse.h"

#include "analysis/wc.h"

#include <thread>

namespace {

// Below this the second thread costs more than it saves.
constexpr qsizetype kSeuilDeuxFils = 1 << 16;

// A cut that ends no word under either rule: a space, CR, TAB or a separator
// of `wc` other than the apostrophe (which is part of a word for the
// occurrence table) and the line feed (which a word goes through there).
bool coupureSure(char16_t c)
{
    if (c == u' ')
        return true;
    if (c == u'\'' || c == u'\n')
        return false;
    for (char16_t s : wc::Separateurs)
        if (c == s)
            return true;
    return false;
}

// The first safe cut at or after `voulu`, else the last one before it.
qsizetype pointDeCoupure(QStringView texte, qsizetype voulu)
{
    for (qsizetype i = voulu; i < texte.size(); ++i)
        if (coupureSure(texte[i].unicode()))
            return i;
    for (qsizetype i = voulu; i-- > 0;)
        if (coupureSure(texte[i].unicode()))
            return i;
    return -1;
}

} // namespace

AnalyseComplete analyserTexte(QStringView texte)
{
    AnalyseComplete r;
    wc::Comptage comptage;

    // One thread counts the words of the whole text and builds the table of
    // its first part; the other builds the table of the rest. The table costs
    // about one and a half times the counts per character, so the first part
    // is a sixth of the text, and only the two tables need merging.
    const qsizetype coupure =
        texte.size() >= kSeuilDeuxFils && std::thread::hardware_concurrency() > 1
            ? pointDeCoupure(texte, texte.size() / 6)
            : -1;
    if (coupure < 0) {
        comptage.ajouterTranche(texte);
        r.table.AjouterTexte(texte);
    } else {
        TableOccurrences tableSuite;
        // Filled on the thread's own stack and moved out at the end, so that
        // the two threads never write to the same cache line while scanning.
        std::thread fil([&] {
            TableOccurrences t;
            t.AjouterTexte(texte.sliced(coupure));
            tableSuite = std::move(t);
        });
        r.table.AjouterTexte(texte.first(coupure));
        comptage.ajouterTranche(texte);
        fil.join();
        r.table.Fusionner(tableSuite);
    }
    r.table.TrierMots();
    r.mots = comptage.mots();
    r.motsDifferents = comptage.motsDifferents();
    r.rapport = r.table.Rapport();
    return r;
}
