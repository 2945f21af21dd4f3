#include "analysis/occurrences.h"

#include <QChar>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

enum Classe : quint8 {
    Separateur,
    Lettre,  // apostrophe, ASCII digit, letter or combining mark
    Ignore,  // line feed
    Haute,   // high surrogate: depends on the code point it starts
};

// Class and capital form of every UTF-16 unit, worked out once, so that the
// scan costs two table reads per character whatever the script.
struct Caracteres {
    std::vector<quint8> classe;
    // Capital form when it is a single unit; 0 when it is longer (ß -> SS)
    // and is then found in `longues`.
    std::vector<char16_t> majuscule;
    std::vector<std::pair<char16_t, QString>> longues; // sorted by unit

    Caracteres()
        : classe(0x10000, Separateur)
        , majuscule(0x10000, 0)
    {
        // One toUpper over every unit, each followed by a NUL, gives the full
        // capital forms of QString::toUpper, expansions included, in one call.
        QString tous;
        tous.reserve(2 * 0x10000);
        for (char32_t c = 1; c < 0x10000; ++c) {
            if (QChar::isSurrogate(c))
                continue;
            tous.append(QChar(char16_t(c)));
            tous.append(QChar(u'\0'));
        }
        const QString hautes = tous.toUpper();
        qsizetype pos = 0;
        for (char32_t c = 1; c < 0x10000; ++c) {
            if (QChar::isSurrogate(c)) {
                majuscule[c] = char16_t(c);
                continue;
            }
            const qsizetype nul = hautes.indexOf(QChar(u'\0'), pos);
            const QStringView forme = QStringView(hautes).mid(pos, nul - pos);
            if (forme.size() == 1)
                majuscule[c] = forme[0].unicode();
            else
                longues.emplace_back(char16_t(c), forme.toString());
            pos = nul + 1;
        }

        for (char32_t c = 0; c < 0x10000; ++c) {
            Classe k = Separateur;
            if (c == u'\n')
                k = Ignore;
            else if (c == u'\'' || (c >= u'0' && c <= u'9'))
                k = Lettre;
            else if (QChar::isHighSurrogate(c))
                k = Haute;
            else if (QChar::isLowSurrogate(c))
                k = Separateur;
            else if (QChar::isLetter(c) || QChar::isMark(c))
                k = Lettre;
            classe[c] = k;
        }
    }
};

const Caracteres& caracteres()
{
    static const Caracteres t;
    return t;
}

void ajouterLongue(const Caracteres& t, std::vector<char16_t>& sortie, char16_t c)
{
    const auto it = std::lower_bound(t.longues.begin(), t.longues.end(), c,
                                     [](const auto& e, char16_t v) { return e.first < v; });
    if (it != t.longues.end() && it->first == c) {
        for (QChar u : it->second)
            sortie.push_back(u.unicode());
    } else {
        sortie.push_back(c);
    }
}

// Code points beyond the first plane are rare enough to go through QString.
void ajouterPaire(std::vector<char16_t>& sortie, const char16_t* paire)
{
    const QString haute = QStringView(paire, 2).toString().toUpper();
    for (QChar u : haute)
        sortie.push_back(u.unicode());
}

inline bool paireDeMot(const char16_t* d, qsizetype i, qsizetype n)
{
    if (i + 1 >= n || !QChar::isLowSurrogate(d[i + 1]))
        return false;
    const char32_t cp = QChar::surrogateToUcs4(d[i], d[i + 1]);
    return QChar::isLetter(cp) || QChar::isMark(cp);
}

QString sansSautsDeLigne(QStringView mot)
{
    QString s;
    s.reserve(mot.size());
    for (QChar c : mot)
        if (c != u'\n')
            s.append(c);
    return s;
}

} // namespace

void TableOccurrences::Vider()
{
    TabMots.clear();
    TabOcc.clear();
    cles_.vider();
    places_.clear();
}

void TableOccurrences::AnalyserMots(QStringView texte)
{
    Vider();
    AjouterTexte(texte);
    TrierMots();
}

void TableOccurrences::AjouterTexte(QStringView texte)
{
    using analyse_interne::Dictionnaire;
    const Caracteres& t = caracteres();
    const quint8* classe = t.classe.data();
    const char16_t* majuscule = t.majuscule.data();
    const char16_t* d = texte.utf16();
    const qsizetype n = texte.size();

    // Words go to the dictionary by batches (see traiterLot). Their capital
    // forms are laid one after the other in `cles`, a local while scanning:
    // a vector's end pointer changes with every character, and this object
    // may share a cache line with the one another thread fills.
    constexpr size_t kLot = 32;
    Dictionnaire::Demande lot[kLot];
    size_t debutCle[kLot];
    struct Origine {
        qsizetype debut;
        qsizetype fin;
        bool sautDeLigne;
    } origines[kLot];
    size_t nbLot = 0;
    std::vector<char16_t> cles;
    cles.swap(tampon_);
    cles.clear();

    const auto vider = [&] {
        for (size_t k = 0; k < nbLot; ++k)
            lot[k].cle = cles.data() + debutCle[k];
        cles_.traiterLot(
            lot, nbLot, [this] { return quint64(TabMots.size()); },
            [&](size_t k, size_t place, bool ajoute) {
                if (!ajoute) {
                    ++TabOcc[cles_.valeur(place)];
                    return;
                }
                const QStringView mot(d + origines[k].debut, origines[k].fin - origines[k].debut);
                nouvelleEntree(place, origines[k].sautDeLigne ? sansSautsDeLigne(mot) : mot.toString(), 1);
            });
        nbLot = 0;
        cles.clear();
    };

    qsizetype i = 0;
    while (i < n) {
        const quint8 k = classe[d[i]];
        if (k != Lettre && !(k == Haute && paireDeMot(d, i, n))) {
            ++i;
            continue;
        }
        const qsizetype debut = i;
        bool sautDeLigne = false;
        debutCle[nbLot] = cles.size();
        while (i < n) {
            const char16_t c = d[i];
            const quint8 kc = classe[c];
            if (kc == Lettre) {
                const char16_t u = majuscule[c];
                if (u != 0)
                    cles.push_back(u);
                else
                    ajouterLongue(t, cles, c);
                ++i;
            } else if (kc == Ignore) {
                sautDeLigne = true;
                ++i;
            } else if (kc == Haute && paireDeMot(d, i, n)) {
                ajouterPaire(cles, d + i);
                i += 2;
            } else {
                break;
            }
        }
        const qsizetype longueur = qsizetype(cles.size() - debutCle[nbLot]);
        lot[nbLot] = {nullptr, longueur, analyse_interne::hacher(cles.data() + debutCle[nbLot], longueur)};
        origines[nbLot] = {debut, i, sautDeLigne};
        if (++nbLot == kLot)
            vider();
    }
    vider();
    cles.swap(tampon_);
}

void TableOccurrences::AjouterMot(QStringView mot)
{
    const Caracteres& t = caracteres();
    const char16_t* d = mot.utf16();
    const qsizetype n = mot.size();
    tampon_.clear();
    for (qsizetype i = 0; i < n; ++i) {
        if (QChar::isHighSurrogate(d[i]) && i + 1 < n && QChar::isLowSurrogate(d[i + 1])) {
            ajouterPaire(tampon_, d + i);
            ++i;
        } else if (const char16_t u = t.majuscule[d[i]]; u != 0) {
            tampon_.push_back(u);
        } else {
            ajouterLongue(t, tampon_, d[i]);
        }
    }
    entrer(mot, true, tampon_);
}

void TableOccurrences::entrer(QStringView original, bool sansSautsDeLigne,
                              const std::vector<char16_t>& cle)
{
    const qsizetype n = qsizetype(cle.size());
    bool ajoute = false;
    const size_t place = cles_.trouverOuAjouter(cle.data(), n, analyse_interne::hacher(cle.data(), n),
                                                TabMots.size(), ajoute);
    if (!ajoute) {
        ++TabOcc[cles_.valeur(place)];
        return;
    }
    nouvelleEntree(place, sansSautsDeLigne ? original.toString() : ::sansSautsDeLigne(original), 1);
}

void TableOccurrences::nouvelleEntree(size_t place, QString mot, qint64 occurrences)
{
    places_.push_back(place);
    TabMots.push_back(std::move(mot));
    TabOcc.push_back(occurrences);
}

void TableOccurrences::Fusionner(const TableOccurrences& suite)
{
    for (size_t k = 0; k < suite.TabMots.size(); ++k) {
        const char16_t* cle = suite.cles_.cle(suite.places_[k]);
        const qsizetype n = suite.cles_.longueur(suite.places_[k]);
        bool ajoute = false;
        const size_t place =
            cles_.trouverOuAjouter(cle, n, analyse_interne::hacher(cle, n), TabMots.size(), ajoute);
        if (!ajoute) {
            TabOcc[cles_.valeur(place)] += suite.TabOcc[k];
            continue;
        }
        nouvelleEntree(place, suite.TabMots[k], suite.TabOcc[k]);
    }
}

void TableOccurrences::TrierMots()
{
    const size_t n = TabMots.size();
    // The order of a stable sort on the counts, greatest first. Most counts
    // are small (a few words make up much of a text, most words are rare), so
    // those go by counting sort; the few large ones by an ordinary sort on
    // (count, entry number).
    constexpr qint64 kPetit = 4096;
    std::vector<size_t> parCompte(size_t(kPetit) + 2, 0);
    std::vector<std::pair<qint64, size_t>> grands;
    bool trie = true;
    for (size_t i = 0; i < n; ++i) {
        const qint64 c = TabOcc[i];
        if (i > 0 && c > TabOcc[i - 1])
            trie = false;
        if (c > kPetit)
            grands.emplace_back(c, i);
        else
            ++parCompte[size_t(c)];
    }
    if (trie)
        return;
    std::sort(grands.begin(), grands.end(), [](const auto& a, const auto& b) {
        return a.first != b.first ? a.first > b.first : a.second < b.second;
    });
    // parCompte[c] becomes the first place of count c in the sorted table.
    size_t place = grands.size();
    for (qint64 c = kPetit; c >= 0; --c) {
        const size_t nb = parCompte[size_t(c)];
        parCompte[size_t(c)] = place;
        place += nb;
    }
    std::vector<size_t> ordre(n);
    for (size_t g = 0; g < grands.size(); ++g)
        ordre[g] = grands[g].second;
    for (size_t i = 0; i < n; ++i)
        if (TabOcc[i] <= kPetit)
            ordre[parCompte[size_t(TabOcc[i])]++] = i;

    std::vector<QString> mots(n);
    std::vector<qint64> occ(n);
    std::vector<size_t> places(n);
    for (size_t i = 0; i < n; ++i) {
        const size_t j = ordre[i];
        mots[i] = std::move(TabMots[j]);
        occ[i] = TabOcc[j];
        places[i] = places_[j];
        cles_.valeur(places[i]) = i;
    }
    TabMots.swap(mots);
    TabOcc.swap(occ);
    places_.swap(places);
}

void TableOccurrences::EchangerMots(qsizetype a, qsizetype b)
{
    const size_t ia = size_t(a - 1);
    const size_t ib = size_t(b - 1);
    std::swap(TabMots[ia], TabMots[ib]);
    std::swap(TabOcc[ia], TabOcc[ib]);
    std::swap(places_[ia], places_[ib]);
    cles_.valeur(places_[ia]) = ia;
    cles_.valeur(places_[ib]) = ib;
}

QString TableOccurrences::Rapport() const
{
    static constexpr char16_t kEntete[] = u" Occurrence des mots \r\n ------------------------------";
    constexpr qsizetype kLongueurEntete = qsizetype(std::size(kEntete)) - 1;
    static constexpr char16_t kAvant[] = u"\r\n   ";
    static constexpr char16_t kApres[] = u"     ";

    qsizetype taille = kLongueurEntete;
    for (size_t i = 0; i < TabMots.size(); ++i) {
        qsizetype chiffres = 1;
        for (quint64 v = quint64(TabOcc[i]); v >= 10; v /= 10)
            ++chiffres;
        taille += 5 + chiffres + 5 + TabMots[i].size();
    }

    QString rapport(taille, Qt::Uninitialized);
    char16_t* p = reinterpret_cast<char16_t*>(rapport.data());
    const auto copier = [&p](const char16_t* s, qsizetype n) {
        std::memcpy(p, s, size_t(n) * sizeof(char16_t));
        p += n;
    };
    copier(kEntete, kLongueurEntete);
    for (size_t i = 0; i < TabMots.size(); ++i) {
        copier(kAvant, 5);
        char16_t chiffres[20];
        int nc = 0;
        quint64 v = quint64(TabOcc[i]);
        do {
            chiffres[nc++] = char16_t(u'0' + v % 10);
            v /= 10;
        } while (v != 0);
        while (nc > 0)
            *p++ = chiffres[--nc];
        copier(kApres, 5);
        copier(reinterpret_cast<const char16_t*>(TabMots[i].utf16()), TabMots[i].size());
    }
    return rapport;
}
