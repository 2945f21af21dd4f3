#include "chargement.h"

#include <QFile>
#include <QStringDecoder>

namespace {

// 0x80-0x9F of Windows-1252; the five unassigned codes keep their value.
constexpr char16_t kCp1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decoder(const QByteArray& octets)
{
    QStringDecoder utf8(QStringConverter::Utf8);
    QString texte = utf8(octets);
    if (!utf8.hasError())
        return texte;
    texte.resize(octets.size());
    char16_t* p = reinterpret_cast<char16_t*>(texte.data());
    for (unsigned char b : octets)
        *p++ = (b >= 0x80 && b < 0xA0) ? kCp1252[b - 0x80] : char16_t(b);
    return texte;
}

} // namespace

QString decoderTexte(const QByteArray& octets)
{
    const QString brut = decoder(octets);
    QString texte(brut.size() + brut.size() / 16 + 2, Qt::Uninitialized);
    char16_t* debut = reinterpret_cast<char16_t*>(texte.data());
    char16_t* p = debut;
    qsizetype capacite = texte.size();
    const char16_t* s = reinterpret_cast<const char16_t*>(brut.utf16());
    const qsizetype n = brut.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (p - debut + 2 > capacite) {
            const qsizetype ecrit = p - debut;
            capacite = capacite * 2 + 2;
            texte.resize(capacite);
            debut = reinterpret_cast<char16_t*>(texte.data());
            p = debut + ecrit;
        }
        const char16_t c = s[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < n && s[i + 1] == u'\n')
                ++i;
            *p++ = u'\r';
            *p++ = u'\n';
        } else {
            *p++ = c;
        }
    }
    if (n > 0 && s[n - 1] != u'\r' && s[n - 1] != u'\n') {
        const qsizetype ecrit = p - debut;
        if (ecrit + 2 > capacite) {
            texte.resize(ecrit + 2);
            debut = reinterpret_cast<char16_t*>(texte.data());
            p = debut + ecrit;
        }
        *p++ = u'\r';
        *p++ = u'\n';
    }
    texte.truncate(p - debut);
    texte.squeeze();
    return texte;
}

QString chargerTexte(const QString& chemin)
{
    QFile f(chemin);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return decoderTexte(f.readAll());
}
