// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/reference_chargement.h"

#include <QStringDecoder>

#include <cstring>
#include <optional>

namespace {

bool decoderStrictement(QByteArrayView octets, QStringConverter::Encoding codage, QString& texte)
{
    QStringDecoder decodeur(codage, QStringConverter::Flag::Stateless);
    texte = decodeur.decode(octets);
    return !decodeur.hasError();
}

QString decoderCp1252(QByteArrayView octets)
{
    static const char16_t haut[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
    };
    QString texte;
    for (const char c : octets) {
        const auto octet = static_cast<unsigned char>(c);
        texte.append(QChar(octet >= 0x80 && octet < 0xA0 ? haut[octet - 0x80] : char16_t(octet)));
    }
    return texte;
}

} // namespace

bool utf8ValideDeReference(QByteArrayView octets)
{
    const auto* p = reinterpret_cast<const unsigned char*>(octets.data());
    const auto* const fin = p + octets.size();
    while (p < fin) {
        // Plain ASCII eight bytes at a time.
        if (fin - p >= 8) {
            quint64 huit;
            std::memcpy(&huit, p, 8);
            if ((huit & 0x8080808080808080ull) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char tete = *p;
        if (tete < 0x80) {
            ++p;
            continue;
        }
        int suivants;
        unsigned char bas = 0x80, haut = 0xBF; // allowed range of the second byte
        if (tete >= 0xC2 && tete <= 0xDF) {
            suivants = 1;
        } else if (tete >= 0xE0 && tete <= 0xEF) {
            suivants = 2;
            if (tete == 0xE0)
                bas = 0xA0;
            else if (tete == 0xED)
                haut = 0x9F;
        } else if (tete >= 0xF0 && tete <= 0xF4) {
            suivants = 3;
            if (tete == 0xF0)
                bas = 0x90;
            else if (tete == 0xF4)
                haut = 0x8F;
        } else {
            return false;
        }
        if (fin - p <= suivants || p[1] < bas || p[1] > haut)
            return false;
        for (int i = 2; i <= suivants; ++i)
            if ((p[i] & 0xC0) != 0x80)
                return false;
        p += suivants + 1;
    }
    return true;
}

QString decodageDeReference(QByteArrayView octets)
{
    QString texte;
    if (octets.startsWith("\xFF\xFE")
        && decoderStrictement(octets, QStringConverter::Utf16LE, texte))
        return texte;
    if (octets.startsWith("\xFE\xFF")
        && decoderStrictement(octets, QStringConverter::Utf16BE, texte))
        return texte;
    if (utf8ValideDeReference(octets) && decoderStrictement(octets, QStringConverter::Utf8, texte))
        return texte;
    return decoderCp1252(octets);
}

TexteCharge lignesDeReference(const QString& decode)
{
    TexteCharge resultat;
    QString texte;
    qsizetype position = 0;
    const qsizetype taille = decode.size();
    while (position < taille) {
        const qsizetype debut = position;
        while (position < taille && decode[position] != u'\r' && decode[position] != u'\n')
            ++position;
        const qsizetype longueur = position - debut;
        texte += QStringView(decode).mid(debut, longueur);
        texte += u"\r\n"_qs;
        if (longueur > 0) {
            ++resultat.lignesNonVides;
            resultat.caracteres += longueur;
        }
        if (position < taille)
            position += decode[position] == u'\r' && position + 1 < taille
                    && decode[position + 1] == u'\n'
                ? 2
                : 1;
    }
    resultat.texte = Texte(texte);
    return resultat;
}

TexteCharge chargerOctets(QByteArrayView octets, const std::vector<qsizetype>& coupures)
{
    DecodeurTexte decodeur(octets.size());
    const auto passe = [&] {
        qsizetype debut = 0;
        for (const qsizetype coupure : coupures) {
            if (!decodeur.ajouter(octets.sliced(debut, coupure - debut)))
                return std::optional<TexteCharge>();
            debut = coupure;
        }
        if (!decodeur.ajouter(octets.sliced(debut)))
            return std::optional<TexteCharge>();
        return decodeur.terminer();
    };
    std::optional<TexteCharge> charge = passe();
    if (!charge) {
        decodeur.recommencerEnCp1252();
        charge = passe();
    }
    return std::move(*charge);
}

TexteCharge decouperLignes(QStringView decode)
{
    DecoupeLignes lignes(decode.size());
    lignes.ajouter(decode);
    return lignes.terminer();
}
