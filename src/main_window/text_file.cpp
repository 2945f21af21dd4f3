// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/text_file.h"

#include <QFile>
#include <QFileInfo>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <new>
#include <utility>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80–0x9F; its five unassigned codes keep
// their own value, as Windows does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

constexpr std::array<char16_t, 256> kCp1252 = [] {
    std::array<char16_t, 256> table{};
    for (int octet = 0; octet < 256; ++octet)
        table[octet]
            = (octet >= 0x80 && octet < 0xA0) ? kCp1252High[octet - 0x80] : char16_t(octet);
    return table;
}();

constexpr char16_t versCp1252(unsigned char octet) { return kCp1252[octet]; }

// Room past the written characters that copierLigne may scribble on.
constexpr qsizetype kMarge = 16;

bool estSaut(char16_t c) { return c == u'\r' || c == u'\n'; }

// Copies the characters up to the next CR or LF and returns where that break is (or fin).
// May write up to 8 characters past what it copies.
const char16_t* copierLigne(const char16_t* p, const char16_t* fin, char16_t*& out)
{
    // A break right away is the whole of a file of empty lines.
    if (estSaut(*p))
        return p;
#if defined(__SSE2__)
    const __m128i cr = _mm_set1_epi16(0x0D);
    const __m128i lf = _mm_set1_epi16(0x0A);
    while (fin - p >= 8) {
        const __m128i huit = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), huit);
        const auto sauts = unsigned(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(huit, cr), _mm_cmpeq_epi16(huit, lf))));
        if (sauts != 0) {
            const int avant = std::countr_zero(sauts) / 2;
            out += avant;
            return p + avant;
        }
        p += 8;
        out += 8;
    }
#endif
    while (p < fin && !estSaut(*p))
        *out++ = *p++;
    return p;
}

// Length of the UTF-8 form of the UTF-16 unit at i, and how many units it covers.
int longueurUtf8(const char16_t* texte, qsizetype i, qsizetype taille, int& unites)
{
    const char16_t u = texte[i];
    unites = 1;
    if (u < 0x80)
        return 1;
    if (u < 0x800)
        return 2;
    if (u >= 0xD800 && u < 0xDC00 && i + 1 < taille && texte[i + 1] >= 0xDC00
        && texte[i + 1] < 0xE000) {
        unites = 2;
        return 4;
    }
    return 3;
}

QString displayName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

TextFileRead failure(const QString& path, const QString& reason)
{
    TextFileRead result;
    result.error = texteEchecLecture(path, reason);
    return result;
}

TextFileRead tropGrand(const QString& path, qint64 maxBytes)
{
    return failure(path,
                   QStringLiteral("Le fichier dépasse la taille maximale de %1 Mio.")
                       .arg(maxBytes / (1024 * 1024)));
}

} // namespace

QString texteEchecLecture(const QString& path, const QString& raison)
{
    return QStringLiteral("Impossible de lire le fichier « %1 ».\n%2")
        .arg(displayName(path), raison);
}

bool hasTextExtension(const QString& path)
{
    return path.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
}

DecoupeLignes::~DecoupeLignes()
{
    if (suivi_) {
        const auto verrou = bloquerLecture();
        suivi_->finir(false);
    }
}

std::unique_lock<std::shared_mutex> DecoupeLignes::bloquerLecture()
{
    return suivi_ ? suivi_->bloquerLecture() : std::unique_lock<std::shared_mutex>();
}

void DecoupeLignes::publier(bool reecrit)
{
    if (suivi_)
        suivi_->publier(reinterpret_cast<const char16_t*>(texte_.constData()), ecrits_, reecrit);
}

void DecoupeLignes::prevoir(qsizetype caracteres)
{
    // Every character may become a CR LF.
    const qsizetype besoin = ecrits_ + 2 * caracteres + kMarge;
    if (besoin <= texte_.size())
        return;
    // Reserve for the rest of the file at the rate seen so far, so that a text is reallocated
    // a few times at most and is not given twice the room it needs.
    const qint64 restants = std::max<qint64>(0, attendus_ - lus_);
    const double parOctet = lus_ > 0 && ecrits_ > 0 ? double(ecrits_) / double(lus_) : 1.0;
    const double prevus = double(restants) * std::min(2.0, parOctet * 1.03);
    qsizetype cible = besoin + qsizetype(prevus);
    cible = std::max(cible, texte_.size() + texte_.size() / 8);
    const auto verrou = bloquerLecture();
    texte_.reserve(cible);
    texte_.resize(cible);
    publier();
}

void DecoupeLignes::ajouter(QStringView morceau)
{
    const char16_t* p = morceau.utf16();
    const char16_t* const fin = p + morceau.size();
    if (p == fin)
        return;
    prevoir(morceau.size());
    char16_t* const debut = reinterpret_cast<char16_t*>(texte_.data());
    char16_t* out = debut + ecrits_;
    if (crEnAttente_) {
        crEnAttente_ = false;
        if (*p == u'\n')
            ++p;
    }
    while (p < fin) {
        const char16_t* const saut = copierLigne(p, fin, out);
        if (saut != p)
            ligneNonVide_ = true;
        if (saut == fin)
            break;
        *out++ = u'\r';
        *out++ = u'\n';
        ++sauts_;
        lignesNonVides_ += ligneNonVide_;
        ligneNonVide_ = false;
        p = saut + 1;
        if (*saut == u'\r') {
            if (p == fin)
                crEnAttente_ = true;
            else if (*p == u'\n')
                ++p;
        }
    }
    ecrits_ = out - debut;
    publier();
}

void DecoupeLignes::relireEnCp1252(QByteArrayView devant)
{
    const auto verrou = bloquerLecture();
    qsizetype longueur = devant.size();
    {
        const auto* texte = reinterpret_cast<const char16_t*>(texte_.constData());
        int unites = 1;
        for (qsizetype i = 0; i < ecrits_; i += unites)
            longueur += longueurUtf8(texte, i, ecrits_, unites);
    }
    if (longueur + kMarge > texte_.size()) {
        texte_.reserve(longueur + kMarge);
        texte_.resize(longueur + kMarge);
    }
    // From the end, the new form never overtakes what is still to be read: no character is
    // shorter in it than in UTF-16.
    char16_t* const texte = reinterpret_cast<char16_t*>(texte_.data());
    qsizetype lu = ecrits_;
    qsizetype ecrit = longueur;
    while (lu > 0) {
        char32_t u = texte[--lu];
        if (u < 0x80) {
            texte[--ecrit] = char16_t(u);
            continue;
        }
        std::array<unsigned char, 4> octets{};
        int n;
        if (u < 0x800) {
            octets = {static_cast<unsigned char>(0xC0 | (u >> 6)),
                      static_cast<unsigned char>(0x80 | (u & 0x3F))};
            n = 2;
        } else if (u >= 0xDC00 && u < 0xE000 && lu > 0 && texte[lu - 1] >= 0xD800
                   && texte[lu - 1] < 0xDC00) {
            u = 0x10000 + ((char32_t(texte[--lu]) - 0xD800) << 10) + (u - 0xDC00);
            octets = {static_cast<unsigned char>(0xF0 | (u >> 18)),
                      static_cast<unsigned char>(0x80 | ((u >> 12) & 0x3F)),
                      static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F)),
                      static_cast<unsigned char>(0x80 | (u & 0x3F))};
            n = 4;
        } else {
            octets = {static_cast<unsigned char>(0xE0 | (u >> 12)),
                      static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F)),
                      static_cast<unsigned char>(0x80 | (u & 0x3F))};
            n = 3;
        }
        for (int i = n; i-- > 0;)
            texte[--ecrit] = versCp1252(octets[i]);
    }
    for (qsizetype i = 0; i < devant.size(); ++i)
        texte[i] = versCp1252(static_cast<unsigned char>(devant[i]));
    ecrits_ = longueur;
    // The bytes in front join the first line, which is no longer empty.
    if (!devant.isEmpty()) {
        if (sauts_ == 0)
            ligneNonVide_ = true;
        else if (texte[devant.size()] == u'\r')
            ++lignesNonVides_;
    }
    publier(true);
}

LoadedText DecoupeLignes::terminer()
{
    if (ligneNonVide_) {
        prevoir(1);
        char16_t* const texte = reinterpret_cast<char16_t*>(texte_.data());
        texte[ecrits_++] = u'\r';
        texte[ecrits_++] = u'\n';
        ++sauts_;
        ++lignesNonVides_;
        ligneNonVide_ = false;
    }
    {
        const auto verrou = bloquerLecture();
        texte_.resize(ecrits_);
        texte_.squeeze();
        publier();
        if (suivi_)
            suivi_->finir(true);
        suivi_ = nullptr;
    }
    LoadedText result{std::move(texte_), lignesNonVides_, ecrits_ - 2 * sauts_};
    texte_ = QString();
    ecrits_ = 0;
    sauts_ = 0;
    lignesNonVides_ = 0;
    crEnAttente_ = false;
    return result;
}

qsizetype DecodeurTexte::choisirCodage(QByteArrayView debut)
{
    if (debut.startsWith("\xFF\xFE") || debut.startsWith("\xFE\xFF")) {
        codage_ = Codage::Utf16;
        // Qt's decoder drops the byte-order mark, even across blocks.
        decodeur_ = QStringDecoder(debut[0] == '\xFF' ? QStringConverter::Utf16LE
                                                      : QStringConverter::Utf16BE);
        return 0;
    }
    codage_ = Codage::Utf8;
    // The mark is dropped here, so that the decoder keeps any later one as U+FEFF.
    decodeur_ = QStringDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    bomUtf8_ = debut.startsWith("\xEF\xBB\xBF");
    return bomUtf8_ ? 3 : 0;
}

void DecodeurTexte::ajouter(QByteArrayView bloc)
{
    if (bloc.isEmpty())
        return;
    if (codage_ != Codage::Inconnu) {
        decoder(bloc);
        return;
    }
    // The encoding shows in the first three bytes.
    if (entete_.size() + bloc.size() < 3) {
        entete_.append(bloc);
        return;
    }
    if (entete_.isEmpty()) {
        decoder(bloc.sliced(choisirCodage(bloc)));
        return;
    }
    entete_.append(bloc);
    const QByteArray debut = std::exchange(entete_, QByteArray());
    decoder(QByteArrayView(debut).sliced(choisirCodage(debut)));
}

void DecodeurTexte::decoder(QByteArrayView octets)
{
    lignes_.compterOctets(lus_);
    lus_ += octets.size();
    if (codage_ == Codage::Cp1252) {
        decoderCp1252(octets);
        return;
    }
    const qsizetype place = decodeur_.requiredSpace(octets.size());
    if (tampon_.size() < place) {
        tampon_.reserve(place);
        tampon_.resize(place);
    }
    const QChar* const fin = decodeur_.appendToBuffer(tampon_.data(), octets);
    if (codage_ == Codage::Utf16) {
        octetsUtf16_ += octets.size();
        lignes_.ajouter(QStringView(tampon_.constData(), fin));
        return;
    }
    if (decodeur_.hasError()) {
        passerEnCp1252();
        decoderCp1252(octets);
        return;
    }
    lignes_.ajouter(QStringView(tampon_.constData(), fin));
    retenirSequenceIncomplete(octets);
}

void DecodeurTexte::passerEnCp1252()
{
    codage_ = Codage::Cp1252;
    lignes_.relireEnCp1252(bomUtf8_ ? QByteArrayView("\xEF\xBB\xBF") : QByteArrayView());
    decoderCp1252(QByteArrayView(enAttente_, nbEnAttente_));
    nbEnAttente_ = 0;
}

void DecodeurTexte::decoderCp1252(QByteArrayView octets)
{
    const qsizetype n = octets.size();
    if (n == 0)
        return;
    if (tampon_.size() < n) {
        tampon_.reserve(n);
        tampon_.resize(n);
    }
    const auto* entree = reinterpret_cast<const unsigned char*>(octets.data());
    char16_t* const sortie = reinterpret_cast<char16_t*>(tampon_.data());
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
            sortie[i + k] = versCp1252(entree[i + k]);
        }
    }
#endif
    for (; i < n; ++i)
        sortie[i] = versCp1252(entree[i]);
    lignes_.ajouter(QStringView(sortie, n));
}

void DecodeurTexte::retenirSequenceIncomplete(QByteArrayView bloc)
{
    // The last three bytes of everything so far: what was held plus this block.
    std::array<char, 6> queue{};
    int n = 0;
    if (bloc.size() < 3) {
        for (int i = 0; i < nbEnAttente_; ++i)
            queue[n++] = enAttente_[i];
    }
    for (qsizetype i = std::max<qsizetype>(0, bloc.size() - 3); i < bloc.size(); ++i)
        queue[n++] = bloc[i];
    const int debut = std::max(0, n - 3);
    nbEnAttente_ = 0;
    for (int i = n - 1; i >= debut; --i) {
        const auto octet = static_cast<unsigned char>(queue[i]);
        if ((octet & 0xC0) == 0x80)
            continue;
        const int longueur = (octet & 0xE0) == 0xC0 ? 2
            : (octet & 0xF0) == 0xE0                ? 3
            : (octet & 0xF8) == 0xF0                ? 4
                                                    : 1;
        if (longueur > n - i) {
            for (int k = i; k < n; ++k)
                enAttente_[nbEnAttente_++] = queue[k];
        }
        return;
    }
}

LoadedText DecodeurTexte::terminer()
{
    if (codage_ == Codage::Inconnu) {
        const QByteArray debut = std::exchange(entete_, QByteArray());
        decoder(QByteArrayView(debut).sliced(choisirCodage(debut)));
    }
    // A sequence cut by the end of the file is not UTF-8.
    if (codage_ == Codage::Utf8 && nbEnAttente_ > 0)
        passerEnCp1252();
    // An odd last byte of UTF-16 is no character.
    if (codage_ == Codage::Utf16 && octetsUtf16_ % 2 != 0)
        lignes_.ajouter(u"\uFFFD");
    return lignes_.terminer();
}

LoadedText chargerOctets(QByteArrayView octets)
{
    DecodeurTexte decodeur(octets.size());
    decodeur.ajouter(octets);
    return decodeur.terminer();
}

LoadedText toLoadedText(const QString& decoded)
{
    DecoupeLignes lignes(decoded.size());
    lignes.ajouter(decoded);
    return lignes.terminer();
}

TextFileRead readTextFile(const QString& path, qint64 maxBytes, const SourceMemoire& memoire,
                          TexteEnCours* suivi, qsizetype tailleBloc)
{
    const QFileInfo info(path);
    if (!info.exists())
        return failure(path, QStringLiteral("Le fichier n'existe plus."));
    if (info.isDir())
        return failure(path, QStringLiteral("C'est un dossier, pas un fichier."));
    // A pipe or a device could block the window for ever: only plain files are read.
    if (!info.isFile())
        return failure(path, QStringLiteral("Ce n'est pas un fichier ordinaire."));
    if (info.size() > maxBytes)
        return tropGrand(path, maxBytes);

    const qint64 besoin = besoinMemoireOuverture(info.size());
    const qint64 disponible = memoire ? memoire() : -1;
    if (disponible >= 0 && besoin > disponible)
        return failure(path, texteMemoireInsuffisante(besoin, disponible));

    try {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || file.isSequential())
            return failure(
                path, QStringLiteral("Le fichier ne peut pas être ouvert (droits d'accès ?)."));
        DecodeurTexte decodeur(info.size());
        decodeur.suivre(suivi);
        QByteArray bloc(std::max<qsizetype>(1, tailleBloc), Qt::Uninitialized);
        qint64 total = 0;
        for (;;) {
            const qint64 lus = file.read(bloc.data(), bloc.size());
            if (lus < 0 || file.error() != QFileDevice::NoError)
                return failure(path, QStringLiteral("Erreur de lecture."));
            if (lus == 0)
                break;
            total += lus;
            // The file grew since it was measured.
            if (total > maxBytes)
                return tropGrand(path, maxBytes);
            decodeur.ajouter(QByteArrayView(bloc.constData(), lus));
        }
        TextFileRead result;
        result.loaded = decodeur.terminer();
        return result;
    } catch (const std::bad_alloc&) {
        // Everything the read held is released by now.
        return failure(path, texteMemoireInsuffisante(besoin, memoire ? memoire() : -1));
    }
}
