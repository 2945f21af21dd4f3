// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/texte.h"

#include <algorithm>
#include <bit>

// SSE2 belongs to every x86-64 processor: used wherever the compiler targets it.
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Windows-1252 differs from Latin-1 only in 0x80–0x9F.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

const std::array<char16_t, 256> kCp1252 = [] {
    std::array<char16_t, 256> table{};
    for (int octet = 0; octet < 256; ++octet)
        table[size_t(octet)]
            = (octet >= 0x80 && octet < 0xA0) ? kCp1252High[size_t(octet - 0x80)] : char16_t(octet);
    return table;
}();

void elargirCp1252(const char* octets, qsizetype n, char16_t* sortie) noexcept
{
    const auto* entree = reinterpret_cast<const unsigned char*>(octets);
    qsizetype i = 0;
#if defined(__SSE2__)
    // Every byte but 0x80–0x9F is its own code: widen sixteen at a time, then mend those.
    const __m128i zero = _mm_setzero_si128();
    const __m128i hautTrois = _mm_set1_epi8(char(0xE0));
    const __m128i plage = _mm_set1_epi8(char(0x80));
    for (; n - i >= 16; i += 16) {
        const __m128i seize = _mm_loadu_si128(reinterpret_cast<const __m128i*>(entree + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sortie + i), _mm_unpacklo_epi8(seize, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sortie + i + 8),
                         _mm_unpackhi_epi8(seize, zero));
        auto aRefaire
            = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(seize, hautTrois), plage)));
        for (; aRefaire != 0; aRefaire &= aRefaire - 1) {
            const int k = std::countr_zero(aRefaire);
            sortie[i + k] = kCp1252[entree[i + k]];
        }
    }
#endif
    for (; i < n; ++i)
        sortie[i] = kCp1252[entree[i]];
}

int octetCp1252HorsLatin1(char16_t c) noexcept
{
    const auto* p = std::find(kCp1252High.begin(), kCp1252High.end(), c);
    return p == kCp1252High.end() ? -1 : 0x80 + int(p - kCp1252High.begin());
}

Texte Texte::enCp1252(QByteArray octets)
{
    Texte t;
    t.octets_ = std::move(octets);
    t.enOctets_ = true;
    return t;
}

QString Texte::mid(qsizetype pos, qsizetype n) const
{
    pos = std::clamp<qsizetype>(pos, 0, size());
    n = std::clamp<qsizetype>(n, 0, size() - pos);
    if (!enOctets_)
        return utf16_.mid(pos, n);
    QString s(n, Qt::Uninitialized);
    elargirCp1252(octets_.constData() + pos, n, reinterpret_cast<char16_t*>(s.data()));
    return s;
}

Extrait Texte::extrait(qsizetype pos, qsizetype n) const
{
    if (enOctets_)
        return Extrait(mid(pos, n));
    pos = std::clamp<qsizetype>(pos, 0, size());
    n = std::clamp<qsizetype>(n, 0, size() - pos);
    return Extrait(QStringView(utf16_).mid(pos, n));
}

QString Texte::toString() const { return enOctets_ ? mid(0, size()) : utf16_; }

bool Texte::memesDonnees(const Texte& autre) const
{
    if (enOctets_ != autre.enOctets_ || size() != autre.size())
        return false;
    if (isEmpty())
        return true;
    return enOctets_ ? octets_.constData() == autre.octets_.constData()
                     : utf16_.constData() == autre.utf16_.constData();
}

bool operator==(const Texte& a, const Texte& b)
{
    if (a.enOctets_ == b.enOctets_)
        return a.enOctets_ ? a.octets_ == b.octets_ : a.utf16_ == b.utf16_;
    return a.enOctets_ ? b == QStringView(a.toString()) : a == QStringView(b.toString());
}

bool operator==(const Texte& a, QStringView b)
{
    if (!a.enOctets_)
        return QStringView(a.utf16_) == b;
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < b.size(); ++i)
        if (a.at(i) != b[i].unicode())
            return false;
    return true;
}
