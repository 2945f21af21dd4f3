#include "analysis/wc.h"

#include <cstring>

namespace wc {

namespace {

// Separators and the space, for the codes below 256 (every separator is one).
constexpr std::array<bool, 256> faireTableBlancs()
{
    std::array<bool, 256> t{};
    for (char16_t c : Separateurs)
        t[c] = true;
    t[u' '] = true;
    return t;
}

constexpr std::array<bool, 256> kBlanc = faireTableBlancs();

inline bool estBlanc(char16_t c) noexcept
{
    return c < 256 && kBlanc[c];
}

} // namespace

QString NormaliserTexte(QStringView texte)
{
    QString resultat(texte.size(), Qt::Uninitialized);
    char16_t* sortie = reinterpret_cast<char16_t*>(resultat.data());
    qsizetype n = 0;
    bool apresBlanc = false;
    for (QChar q : texte) {
        const char16_t c = q.unicode();
        if (estBlanc(c)) {
            if (!apresBlanc)
                sortie[n++] = u' ';
            apresBlanc = true;
        } else {
            sortie[n++] = c;
            apresBlanc = false;
        }
    }
    resultat.truncate(n);
    return resultat;
}

qint64 CompterMots(QStringView texte)
{
    const char16_t* p = texte.utf16();
    const char16_t* const fin = p + texte.size();
    qint64 mots = 0;
    while (p != fin) {
        while (p != fin && estBlanc(*p))
            ++p;
        if (p == fin)
            break;
        ++mots;
        while (p != fin && !estBlanc(*p))
            ++p;
    }
    return mots;
}

qint64 CompterMotsDifferents(QStringView texte)
{
    Comptage c;
    c.ajouterTranche(texte);
    return c.motsDifferents();
}

void Comptage::ajouterTranche(QStringView tranche)
{
    const char16_t* p = tranche.utf16();
    const char16_t* const fin = p + tranche.size();
    qint64 mots = 0; // a local, not the member: no cache line shared with another thread's Comptage
    while (p != fin) {
        while (p != fin && estBlanc(*p))
            ++p;
        if (p == fin)
            break;
        const char16_t* debut = p;
        while (p != fin && !estBlanc(*p))
            ++p;
        ++mots;
        const qsizetype n = p - debut;
        bool ajoute = false;
        differents_.trouverOuAjouter(debut, n, analyse_interne::hacher(debut, n), 0, ajoute);
    }
    mots_ += mots;
}

void Comptage::fusionner(const Comptage& autre)
{
    mots_ += autre.mots_;
    autre.differents_.pourChaque([this](const char16_t* mot, qsizetype n) {
        bool ajoute = false;
        differents_.trouverOuAjouter(mot, n, analyse_interne::hacher(mot, n), 0, ajoute);
    });
}

} // namespace wc
