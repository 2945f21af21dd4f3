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

qsizetype pointDeCoupure(QStringView texte)
{
    for (qsizetype i = texte.size() / 2; i < texte.size(); ++i)
        if (coupureSure(texte[i].unicode()))
            return i;
    for (qsizetype i = texte.size() / 2; i-- > 0;)
        if (coupureSure(texte[i].unicode()))
            return i;
    return -1;
}

} // namespace

AnalyseComplete analyserTexte(QStringView texte)
{
    AnalyseComplete r;
    wc::Comptage comptage;
    r.table.Vider();

    const qsizetype coupure =
        texte.size() >= kSeuilDeuxFils && std::thread::hardware_concurrency() > 1
            ? pointDeCoupure(texte)
            : -1;
    if (coupure < 0) {
        comptage.ajouterTranche(texte);
        r.table.AjouterTexte(texte);
    } else {
        const QStringView debut = texte.first(coupure);
        const QStringView suite = texte.sliced(coupure);
        wc::Comptage comptageSuite;
        TableOccurrences tableSuite;
        // Filled on the thread's own stack and moved out at the end, so that
        // the two threads never write to the same cache line while scanning.
        std::thread fil([&] {
            wc::Comptage c;
            c.ajouterTranche(suite);
            TableOccurrences t;
            t.AjouterTexte(suite);
            comptageSuite = std::move(c);
            tableSuite = std::move(t);
        });
        comptage.ajouterTranche(debut);
        r.table.AjouterTexte(debut);
        fil.join();
        comptage.fusionner(comptageSuite);
        r.table.Fusionner(tableSuite);
    }
    r.table.TrierMots();
    r.mots = comptage.mots();
    r.motsDifferents = comptage.motsDifferents();
    r.rapport = r.table.Rapport();
    return r;
}
