// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/classes.h"

#include "analysis/compilateur.h"

#include <algorithm>

namespace lexique {

namespace {

#ifdef LEXORQUINE_SSSE3
// Bit i set when byte i is in the set, given the low and the high nibbles of 16 bytes.
LEXORQUINE_CIBLE_SSSE3 inline quint32 dansQuartets(const Quartets& q, __m128i bas, __m128i haut)
{
    const __m128i b = _mm_load_si128(reinterpret_cast<const __m128i*>(q.bas.data()));
    const __m128i h = _mm_load_si128(reinterpret_cast<const __m128i*>(q.haut.data()));
    const __m128i e = _mm_and_si128(_mm_shuffle_epi8(b, bas), _mm_shuffle_epi8(h, haut));
    return quint16(~_mm_movemask_epi8(_mm_cmpeq_epi8(e, _mm_setzero_si128())));
}

// The same for 16 bytes.
LEXORQUINE_CIBLE_SSSE3 inline quint32 dansQuartets(const Quartets& q, __m128i v)
{
    const __m128i quinze = _mm_set1_epi8(0x0F);
    return dansQuartets(q, _mm_and_si128(v, quinze), _mm_and_si128(_mm_srli_epi16(v, 4), quinze));
}

// 16 UTF-16 units narrowed to bytes: 0x100-0x7FFF become 0xFF and 0x8000-0xFFFF become 0.
LEXORQUINE_CIBLE_SSSE3 inline __m128i resserrer16(const char16_t* p)
{
    return _mm_packus_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)),
                            _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8)));
}
#endif

// --- wc

// Going by 64 characters instead of one keeps the branches off the word
// boundaries, which are too irregular to predict.
quint64 masqueBlancsSimple(const char16_t* p)
{
    quint64 m = 0;
    for (int i = 0; i < 64; ++i)
        m |= quint64(estBlanc(p[i])) << i;
    return m;
}

#ifdef LEXORQUINE_SSSE3
constexpr Quartets kQuartetsBlancs = faireQuartets(kBlancs);
static_assert(kQuartetsBlancs.exact, "the blanks no longer fit the nibble lookup");
static_assert(!kBlancs[0] && !kBlancs[0xFF], "the narrowing must not make a blank");

LEXORQUINE_CIBLE_SSSE3 quint64 masqueBlancsSsse3(const char16_t* p)
{
    quint64 m = 0;
    for (int k = 0; k < 4; ++k)
        m |= quint64(dansQuartets(kQuartetsBlancs, resserrer16(p + 16 * k))) << (16 * k);
    return m;
}
#endif

// Code points beyond the first plane are rare enough to go through QString.
QString majusculePaire(const char16_t* paire) { return QStringView(paire, 2).toString().toUpper(); }

} // namespace

MasqueBlancs masqueBlancs()
{
#ifdef LEXORQUINE_SSSE3
    static const MasqueBlancs f = processeurAvecSsse3() ? &masqueBlancsSsse3 : &masqueBlancsSimple;
    return f;
#else
    return &masqueBlancsSimple;
#endif
}

Caracteres::Caracteres()
    : classe(0x10000, Classe::Separateur)
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
        if (QChar::isSurrogate(c))
            continue;
        const qsizetype nul = hautes.indexOf(QChar(u'\0'), pos);
        const QStringView forme = QStringView(hautes).mid(pos, nul - pos);
        if (forme.size() == 1 && c != u'\n') {
            majuscule[c] = forme[0].unicode();
        } else if (c != u'\n') {
            longues.emplace_back(char16_t(c), forme.toString());
            placeParUnite = std::max(placeParUnite, forme.size());
        }
        pos = nul + 1;
    }

    for (int b = 0; b < 256; ++b)
        majusculeCp1252[size_t(b)] = majuscule[versCp1252(static_cast<unsigned char>(b))];

    for (char32_t c = 0; c < 0x10000; ++c) {
        Classe k = Classe::Separateur;
        if (c == u'\n')
            k = Classe::SautDeLigne;
        else if (c == u'\'' || (c >= u'0' && c <= u'9'))
            k = Classe::DeMot;
        else if (QChar::isHighSurrogate(c))
            k = Classe::DemiHaute;
        else if (QChar::isLowSurrogate(c))
            k = Classe::Separateur;
        else if (QChar::isLetter(c) || QChar::isMark(c))
            k = Classe::DeMot;
        classe[c] = k;
    }
}

const Caracteres& caracteres()
{
    static const Caracteres t;
    return t;
}

namespace {

template <class U>
Masques masquesSimples(const Sortes& s, const U* d)
{
    Masques m{0, 0};
    for (int i = 0; i < 64; ++i) {
        const quint64 k = sorte(s, d[i]);
        m.coupures |= (k & kCoupure) << i;
        m.autres |= (k >> 1) << i;
    }
    return m;
}

#ifdef LEXORQUINE_SSSE3
LEXORQUINE_CIBLE_SSSE3 inline Masques masques16(const Sortes::Quartets3& q, __m128i v)
{
    const __m128i quinze = _mm_set1_epi8(0x0F);
    const __m128i bas = _mm_and_si128(v, quinze);
    const __m128i haut = _mm_and_si128(_mm_srli_epi16(v, 4), quinze);
    const quint64 coupures = dansQuartets(q.coupures, bas, haut);
    const quint64 mots = dansQuartets(q.motsBas, bas, haut) | dansQuartets(q.motsHauts, bas, haut);
    return {coupures, ~(coupures | mots) & 0xFFFF};
}

LEXORQUINE_CIBLE_SSSE3 Masques masquesOctetsSsse3(const Sortes& s, const char* d)
{
    Masques m{0, 0};
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + 16 * k));
        const Masques q = masques16(s.quartetsCp1252, v);
        m.coupures |= q.coupures << (16 * k);
        m.autres |= q.autres << (16 * k);
    }
    return m;
}

// Groups of 16 units all below 256 (most of them in French text) go by the nibble lookups;
// the others one unit at a time.
LEXORQUINE_CIBLE_SSSE3 Masques masquesUnitesSsse3(const Sortes& s, const char16_t* d)
{
    Masques m{0, 0};
    for (int k = 0; k < 4; ++k) {
        const char16_t* p = d + 16 * k;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 8));
        const __m128i hauts = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
        Masques q{0, 0};
        if (_mm_movemask_epi8(_mm_cmpeq_epi8(hauts, _mm_setzero_si128())) == 0xFFFF) {
            q = masques16(s.quartetsLatin1, resserrer16(p));
        } else {
            for (int i = 0; i < 16; ++i) {
                const quint64 c = sorte(s, p[i]);
                q.coupures |= (c & kCoupure) << i;
                q.autres |= (c >> 1) << i;
            }
        }
        m.coupures |= q.coupures << (16 * k);
        m.autres |= q.autres << (16 * k);
    }
    return m;
}
#endif

quint8 sorteDe(char16_t c)
{
    const Classe k = caracteres().classe[c];
    if (estBlanc(c))
        return k == Classe::Separateur ? kCoupure : kAutre;
    return k == Classe::DeMot ? kDeMot : kAutre;
}

Sortes::Quartets3 faireQuartets3(const std::array<quint8, 256>& sortes)
{
    std::array<bool, 256> coupures{}, motsBas{}, motsHauts{};
    for (size_t c = 0; c < 256; ++c) {
        coupures[c] = sortes[c] == kCoupure;
        (c < 128 ? motsBas : motsHauts)[c] = sortes[c] == kDeMot;
    }
    return {faireQuartets(coupures), faireQuartets(motsBas), faireQuartets(motsHauts)};
}

} // namespace

Sortes::Sortes()
{
    for (int c = 0; c < 256; ++c) {
        latin1[size_t(c)] = sorteDe(char16_t(c));
        cp1252[size_t(c)] = sorteDe(versCp1252(static_cast<unsigned char>(c)));
    }
    quartetsLatin1 = faireQuartets3(latin1);
    quartetsCp1252 = faireQuartets3(cp1252);
    masquesUnites = &masquesSimples<char16_t>;
    masquesOctets = &masquesSimples<char>;
#ifdef LEXORQUINE_SSSE3
    if (processeurAvecSsse3() && quartetsLatin1.exacts())
        masquesUnites = &masquesUnitesSsse3;
    if (processeurAvecSsse3() && quartetsCp1252.exacts())
        masquesOctets = &masquesOctetsSsse3;
#endif
}

const Sortes& sortes()
{
    static const Sortes s;
    return s;
}

char16_t* Caracteres::ecrireMajuscules(const char* d, qsizetype n, char16_t* sortie) const
{
    for (const char* fin = d + n; d != fin; ++d) {
        const char16_t u = majusculeCp1252[static_cast<unsigned char>(*d)];
        if (u != 0) [[likely]] {
            *sortie++ = u;
        } else {
            const char16_t c = versCp1252(static_cast<unsigned char>(*d));
            sortie = ecrireMajuscules(&c, 1, sortie);
        }
    }
    return sortie;
}

char16_t* Caracteres::ecrireMajuscules(const char16_t* d, qsizetype n, char16_t* sortie) const
{
    const char16_t* LEXORQUINE_RESTREINT table = majuscule.data();
    const char16_t* const fin = d + n;
    for (; d != fin; ++d) {
        const char16_t c = *d;
        const char16_t u = table[c];
        if (u != 0) [[likely]] {
            *sortie++ = u;
        } else if (c == u'\n') {
            continue;
        } else if (QChar::isHighSurrogate(c) && d + 1 != fin && QChar::isLowSurrogate(d[1])) {
            for (QChar h : majusculePaire(d))
                *sortie++ = h.unicode();
            ++d;
        } else {
            const auto it = std::lower_bound(longues.begin(), longues.end(), c,
                                             [](const auto& e, char16_t v) { return e.first < v; });
            if (it == longues.end() || it->first != c) {
                *sortie++ = c;
            } else {
                for (QChar h : it->second)
                    *sortie++ = h.unicode();
            }
        }
    }
    return sortie;
}

} // namespace lexique
