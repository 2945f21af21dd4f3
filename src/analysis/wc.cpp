// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/wc.h"

#include "analysis/balayage.h"

#include <bit>
#include <cstring>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define WC_SSSE3 1
#include <immintrin.h>
#endif

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

inline bool estBlanc(char16_t c) noexcept { return c < 256 && kBlanc[c]; }

// Blanks of 64 characters as the bits of one word (bit i for p[i]). Going
// by 64 characters instead of one keeps the branches off the word
// boundaries, which are too irregular to predict.
using FonctionMasque = quint64 (*)(const char16_t*);

quint64 masqueSimple(const char16_t* p)
{
    quint64 m = 0;
    for (int i = 0; i < 64; ++i)
        m |= quint64(estBlanc(p[i])) << i;
    return m;
}

#ifdef WC_SSSE3
// Every blank is below 256 and their high nibbles take only a few values, so
// one bit per high nibble tells a blank from two 16-entry lookups (one per
// nibble) ANDed together.
struct Quartets {
    alignas(16) std::array<quint8, 16> bas{};
    alignas(16) std::array<quint8, 16> haut{};
    int groupes = 0;
};

constexpr Quartets faireQuartets()
{
    Quartets q;
    for (int b = 0; b < 256; ++b) {
        if (kBlanc[size_t(b)] && q.haut[size_t(b >> 4)] == 0 && q.groupes < 8)
            q.haut[size_t(b >> 4)] = quint8(1u << q.groupes++);
    }
    for (int b = 0; b < 256; ++b)
        if (kBlanc[size_t(b)])
            q.bas[size_t(b & 15)] |= q.haut[size_t(b >> 4)];
    return q;
}

constexpr Quartets kQuartets = faireQuartets();

constexpr bool quartetsExacts()
{
    for (int b = 0; b < 256; ++b)
        if (kBlanc[size_t(b)]
            != ((kQuartets.bas[size_t(b & 15)] & kQuartets.haut[size_t(b >> 4)]) != 0))
            return false;
    return true;
}
static_assert(quartetsExacts(), "the blanks no longer fit the nibble lookup");

__attribute__((target("ssse3"))) quint64 masqueSsse3(const char16_t* p)
{
    const __m128i bas = _mm_load_si128(reinterpret_cast<const __m128i*>(kQuartets.bas.data()));
    const __m128i haut = _mm_load_si128(reinterpret_cast<const __m128i*>(kQuartets.haut.data()));
    const __m128i quinze = _mm_set1_epi8(0x0F);
    quint64 m = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k + 8));
        // To bytes with saturation: 0x100-0x7FFF become 0xFF and 0x8000-0xFFFF
        // become 0, neither of which is a blank, as none of those characters is.
        const __m128i o = _mm_packus_epi16(a, b);
        const __m128i l = _mm_shuffle_epi8(bas, _mm_and_si128(o, quinze));
        const __m128i h = _mm_shuffle_epi8(haut, _mm_and_si128(_mm_srli_epi16(o, 4), quinze));
        const __m128i nonBlancs = _mm_cmpeq_epi8(_mm_and_si128(l, h), _mm_setzero_si128());
        m |= quint64(quint16(~_mm_movemask_epi8(nonBlancs))) << (16 * k);
    }
    return m;
}
#endif

FonctionMasque fonctionMasque()
{
#ifdef WC_SSSE3
    static const FonctionMasque f = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("ssse3") ? &masqueSsse3 : &masqueSimple;
    }();
    return f;
#else
    return &masqueSimple;
#endif
}

// Calls f(debut, fin) for every word of d[0, n), in text order.
template <class F>
void pourChaqueMot(const char16_t* d, qsizetype n, F&& f)
{
    const FonctionMasque masque = fonctionMasque();
    analyse_interne::pourChaqueCourse(
        n, [&](qsizetype base) { return ~masque(d + base); },
        [&](qsizetype i) { return !estBlanc(d[i]); }, f);
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
    const char16_t* d = texte.utf16();
    const qsizetype n = texte.size();
    const FonctionMasque masque = fonctionMasque();
    qint64 mots = 0;
    quint64 blancAvant = 1;
    qsizetype base = 0;
    for (; base + 64 <= n; base += 64) {
        const quint64 blancs = masque(d + base);
        mots += std::popcount(~blancs & ((blancs << 1) | blancAvant));
        blancAvant = blancs >> 63;
    }
    for (qsizetype i = base; i < n; ++i) {
        const bool blanc = estBlanc(d[i]);
        mots += (!blanc && blancAvant) ? 1 : 0;
        blancAvant = blanc ? 1 : 0;
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
    using analyse_interne::Dictionnaire;
    constexpr size_t kLot = 32;
    Dictionnaire::Demande lot[kLot];
    size_t nbLot = 0;
    const auto vider = [&] {
        differents_.traiterLot(
            lot, nbLot, [] { return 0; }, [](size_t, size_t, bool) {});
        nbLot = 0;
    };

    const char16_t* d = tranche.utf16();
    qint64 mots = 0; // a local, not the member: no cache line shared with another thread's Comptage
    pourChaqueMot(d, tranche.size(), [&](qsizetype debut, qsizetype fin) {
        ++mots;
        const qsizetype n = fin - debut;
        lot[nbLot++] = {d + debut, n, analyse_interne::hacher(d + debut, n)};
        if (nbLot == kLot)
            vider();
    });
    vider();
    mots_ += mots;
}

void Comptage::fusionner(const Comptage& autre)
{
    mots_ += autre.mots_;
    autre.differents_.pourChaque([this](const char16_t* mot, qsizetype n, quint64) {
        bool ajoute = false;
        differents_.trouverOuAjouter(mot, n, analyse_interne::hacher(mot, n), 0, ajoute);
    });
}

} // namespace wc

quint64 analyse_interne::masqueBlancs(const char16_t* p) { return wc::fonctionMasque()(p); }

bool analyse_interne::estBlanc(char16_t c) { return wc::estBlanc(c); }
