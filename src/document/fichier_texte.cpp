// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/fichier_texte.h"

#include "analysis/compilateur.h"
#include "document/fins_de_ligne.h"
#include "platform/memoire_systeme.h"
#include "text/texte.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <new>
#include <utility>

namespace {

// Room kept past the written characters.
constexpr qsizetype kMarge = 16;

// Copies the characters up to the next CR or LF, or up to one that the output cannot hold, and
// returns where it stopped (or fin).
const char16_t* copierLigne(const char16_t* p, const char16_t* fin, char16_t*& out)
{
    const qsizetype n = prochaineFin(p, 0, fin - p);
    std::memcpy(out, p, size_t(n) * sizeof(char16_t));
    out += n;
    return p + n;
}

const char* copierLigne(const char* p, const char* fin, char*& out)
{
    const qsizetype n = prochaineFin(p, 0, fin - p);
    std::memcpy(out, p, size_t(n));
    out += n;
    return p + n;
}

const char16_t* copierLigne(const char16_t* p, const char16_t* fin, char*& out)
{
    for (;;) {
#if defined(LEXORQUINE_SSE2)
        // Eight at a time while all are below U+0100, outside 0x80–0x9F and no CR or LF: most
        // French text.
        const __m128i zero = _mm_setzero_si128();
        const __m128i c1 = _mm_set1_epi16(0x80);
        const __m128i masqueC1 = _mm_set1_epi16(short(0xFFE0));
        const __m128i cr = _mm_set1_epi16(u'\r');
        const __m128i lf = _mm_set1_epi16(u'\n');
        for (; fin - p >= 8; p += 8, out += 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            const __m128i autres
                = _mm_or_si128(_mm_cmpeq_epi16(_mm_and_si128(v, masqueC1), c1),
                               _mm_or_si128(_mm_cmpeq_epi16(v, cr), _mm_cmpeq_epi16(v, lf)));
            const __m128i latins = _mm_cmpeq_epi16(_mm_srli_epi16(v, 8), zero);
            if (_mm_movemask_epi8(_mm_andnot_si128(autres, latins)) != 0xFFFF)
                break;
            _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_packus_epi16(v, v));
        }
#endif
        // The next eight one by one, then back to the fast way.
        for (const char16_t* const bout = std::min(fin, p + 8); p < bout; ++p) {
            const char16_t c = *p;
            const int octet = c < 0x80 ? (estFinDeLigne(c) ? -1 : c) : octetCp1252(c);
            if (octet < 0)
                return p;
            *out++ = char(octet);
        }
        if (p == fin)
            return p;
    }
}

QString nomAffiche(const QString& chemin)
{
    const QString nom = QFileInfo(chemin).fileName();
    return nom.isEmpty() ? chemin : nom;
}

LectureFichier echec(const QString& chemin, const QString& raison)
{
    LectureFichier lecture;
    lecture.erreur = texteEchecLecture(chemin, raison);
    return lecture;
}

LectureFichier tropGrand(const QString& chemin, qint64 tailleMaximale)
{
    return echec(chemin,
                 QStringLiteral("Le fichier dépasse la taille maximale de %1 Mio.")
                     .arg(tailleMaximale / (1024 * 1024)));
}

} // namespace

QString texteEchecLecture(const QString& chemin, const QString& raison)
{
    return QStringLiteral("Impossible de lire le fichier « %1 ».\n%2")
        .arg(nomAffiche(chemin), raison);
}

bool aExtensionTexte(const QString& chemin)
{
    return chemin.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
}

template <class Unite>
void DecoupeLignes::prevoir(Unite*& debut, qsizetype caracteres)
{
    auto& texte = [this]() -> auto&
    {
        if constexpr (sizeof(Unite) == 1)
            return octets_;
        else
            return texte_;
    }
    ();
    // Every character may become a CR LF.
    const qsizetype besoin = ecrits_ + 2 * caracteres + kMarge;
    if (besoin > texte.size()) {
        // The first time, room for the costliest text of the expected size: a file of line
        // feeds, each one a CR LF. Pages never written are never taken from the system.
        qsizetype cible = std::max(besoin, qsizetype(2 * attendus_ + 2 + kMarge));
        // A file that grew while it was read.
        if (!texte.isEmpty())
            cible = std::max(cible, texte.size() + texte.size() / 2);
        const bool neuf = texte.isEmpty();
        pages_ = {}; // the room may move
        texte.resize(cible);
        // No large pages: where the system must first gather them, a fresh process waited for
        // that up to a quarter of a second.
        if (neuf && attendus_ > ecrits_) {
            // Past the characters already written: those of the byte form are widened apart.
            const qsizetype attendus = std::min<qsizetype>(qsizetype(attendus_), texte.size());
            pages_ = PagesPreparees(texte.data() + ecrits_ * qsizetype(sizeof(Unite)),
                                    (attendus - ecrits_) * qsizetype(sizeof(Unite)));
        }
    }
    debut = reinterpret_cast<Unite*>(texte.data());
}

void DecoupeLignes::passerEnUtf16()
{
    char16_t* large = nullptr;
    prevoir(large, 0);
    // From the end, each slice of bytes given back once widened: a text that turns late holds
    // twice its size at most, not three times.
    constexpr qsizetype kTranche = qsizetype(1) << 20;
    for (qsizetype fin = ecrits_; fin > 0;) {
        const qsizetype debut = std::max<qsizetype>(0, fin - kTranche);
        elargirCp1252(octets_.constData() + debut, fin - debut, large + debut);
        rendrePages(octets_.data() + debut, fin - debut);
        fin = debut;
    }
    octets_ = QByteArray();
    enOctets_ = false;
}

template <class Entree, class Sortie>
const Entree* DecoupeLignes::ecrire(const Entree* p, const Entree* fin)
{
    Sortie* debut = nullptr;
    prevoir(debut, fin - p);
    Sortie* out = debut + ecrits_;
    if (crEnAttente_ && p < fin) {
        crEnAttente_ = false;
        if (*p == '\n')
            ++p;
    }
    while (p < fin) {
        const Entree* const saut = copierLigne(p, fin, out);
        if (saut != p)
            ligneNonVide_ = true;
        p = saut;
        if (saut == fin || !estFinDeLigne(char16_t(*saut)))
            break;
        releve_.finDeLigne(out - debut, out - debut + 2);
        *out++ = '\r';
        *out++ = '\n';
        ++sauts_;
        lignesNonVides_ += ligneNonVide_;
        ligneNonVide_ = false;
        p = saut + 1;
        if (*saut == '\r') {
            if (p == fin)
                crEnAttente_ = true;
            else if (*p == '\n')
                ++p;
        }
    }
    ecrits_ = out - debut;
    return p;
}

void DecoupeLignes::ajouter(QStringView morceau)
{
    const char16_t* p = morceau.utf16();
    const char16_t* const fin = p + morceau.size();
    if (p == fin)
        return;
    if (enOctets_) {
        p = ecrire<char16_t, char>(p, fin);
        if (p == fin)
            return;
        passerEnUtf16();
    }
    ecrire<char16_t, char16_t>(p, fin);
}

void DecoupeLignes::ajouterOctets(QByteArrayView morceau)
{
    if (morceau.isEmpty())
        return;
    if (!enOctets_) {
        // Only bytes follow recommencer(); were UTF-16 already kept, they are widened.
        ajouter(Texte::enCp1252(morceau.toByteArray()).toString());
        return;
    }
    ecrire<char, char>(morceau.data(), morceau.data() + morceau.size());
}

void DecoupeLignes::recommencer()
{
    ecrits_ = 0;
    sauts_ = 0;
    lignesNonVides_ = 0;
    ligneNonVide_ = false;
    crEnAttente_ = false;
    enOctets_ = true;
    releve_ = IndexLignes::Releve();
    pages_ = {};
    texte_ = QString();
}

TexteCharge DecoupeLignes::terminer()
{
    if (ligneNonVide_) {
        static constexpr char16_t kFin[] = {u'\r', u'\n'};
        const qint64 sauts = sauts_;
        ligneNonVide_ = false;
        crEnAttente_ = false;
        ajouter(QStringView(kFin, 2));
        sauts_ = sauts + 1;
        ++lignesNonVides_;
    }
    // The room never written goes back to the system without the text moving.
    pages_ = {};
    Texte texte;
    if (enOctets_) {
        octets_.resize(ecrits_);
        octets_.squeeze();
        texte = Texte::enCp1252(std::exchange(octets_, QByteArray()));
    } else {
        texte_.resize(ecrits_);
        texte_.squeeze();
        texte = Texte(std::exchange(texte_, QString()));
    }
    IndexLignes lignes = releve_.terminer(texte);
    TexteCharge charge{std::move(texte), std::move(lignes), lignesNonVides_, ecrits_ - 2 * sauts_};
    recommencer();
    return charge;
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
    return debut.startsWith("\xEF\xBB\xBF") ? 3 : 0;
}

bool DecodeurTexte::ajouter(QByteArrayView bloc)
{
    if (bloc.isEmpty())
        return true;
    if (codage_ != Codage::Inconnu)
        return decoder(bloc);
    // The encoding shows in the first three bytes.
    if (entete_.size() + bloc.size() < 3) {
        entete_.append(bloc);
        return true;
    }
    if (entete_.isEmpty())
        return decoder(bloc.sliced(choisirCodage(bloc)));
    entete_.append(bloc);
    const QByteArray debut = std::exchange(entete_, QByteArray());
    return decoder(QByteArrayView(debut).sliced(choisirCodage(debut)));
}

bool DecodeurTexte::decoder(QByteArrayView octets)
{
    if (codage_ == Codage::Cp1252) {
        lignes_.ajouterOctets(octets);
        return true;
    }
    const qsizetype place = decodeur_.requiredSpace(octets.size());
    if (tampon_.size() < place)
        tampon_.resize(place);
    const QChar* const fin = decodeur_.appendToBuffer(tampon_.data(), octets);
    if (codage_ == Codage::Utf16) {
        octetsUtf16_ += octets.size();
        lignes_.ajouter(QStringView(tampon_.constData(), fin));
        return true;
    }
    if (decodeur_.hasError())
        return false;
    lignes_.ajouter(QStringView(tampon_.constData(), fin));
    retenirSequenceIncomplete(octets);
    return true;
}

void DecodeurTexte::recommencerEnCp1252()
{
    codage_ = Codage::Cp1252;
    decodeur_ = QStringDecoder();
    entete_.clear();
    nbEnAttente_ = 0;
    lignes_.recommencer();
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

std::optional<TexteCharge> DecodeurTexte::terminer()
{
    if (codage_ == Codage::Inconnu) {
        const QByteArray debut = std::exchange(entete_, QByteArray());
        if (!decoder(QByteArrayView(debut).sliced(choisirCodage(debut))))
            return std::nullopt;
    }
    // A sequence cut by the end of the file is not UTF-8.
    if (codage_ == Codage::Utf8 && nbEnAttente_ > 0)
        return std::nullopt;
    // An odd last byte of UTF-16 is no character.
    if (codage_ == Codage::Utf16 && octetsUtf16_ % 2 != 0)
        lignes_.ajouter(u"\uFFFD");
    return lignes_.terminer();
}

namespace {
enum class FinPasse { Lue, PasUtf8, Arretee, ErreurLecture, TropGrand };

// One pass over the file from where it stands to its end.
FinPasse lirePasse(QFile& fichier, DecodeurTexte& decodeur, QByteArray& bloc,
                   const std::stop_token& arret, qint64 tailleMaximale,
                   std::optional<TexteCharge>& charge)
{
    qint64 total = 0;
    for (;;) {
        if (arret.stop_requested())
            return FinPasse::Arretee;
        const qint64 lus = fichier.read(bloc.data(), bloc.size());
        if (lus < 0 || fichier.error() != QFileDevice::NoError)
            return FinPasse::ErreurLecture;
        if (lus == 0)
            break;
        total += lus;
        // The file grew since it was measured.
        if (total > tailleMaximale)
            return FinPasse::TropGrand;
        if (!decodeur.ajouter(QByteArrayView(bloc.constData(), lus)))
            return FinPasse::PasUtf8;
    }
    charge = decodeur.terminer();
    return charge ? FinPasse::Lue : FinPasse::PasUtf8;
}

} // namespace

LectureFichier lireFichierTexte(const QString& chemin, std::stop_token arret,
                                const SourceMemoire& memoire, qint64 tailleMaximale,
                                qsizetype tailleBloc)
{
    const QFileInfo info(chemin);
    if (!info.exists())
        return echec(chemin, QStringLiteral("Le fichier n'existe plus."));
    if (info.isDir())
        return echec(chemin, QStringLiteral("C'est un dossier, pas un fichier."));
    // A pipe or a device could block the window for ever: only plain files are read.
    if (!info.isFile())
        return echec(chemin, QStringLiteral("Ce n'est pas un fichier ordinaire."));
    if (info.size() > tailleMaximale)
        return tropGrand(chemin, tailleMaximale);

    const qint64 besoin = besoinMemoireOuverture(info.size());
    const qint64 disponible = memoire ? memoire() : -1;
    if (disponible >= 0 && besoin > disponible)
        return echec(chemin, texteMemoireInsuffisante(besoin, disponible));

    try {
        QFile fichier(chemin);
        if (!fichier.open(QIODevice::ReadOnly | QIODevice::Unbuffered) || fichier.isSequential())
            return echec(chemin,
                         QStringLiteral("Le fichier ne peut pas être ouvert (droits d'accès ?)."));
        DecodeurTexte decodeur(info.size());
        QByteArray bloc(std::max<qsizetype>(1, tailleBloc), Qt::Uninitialized);
        std::optional<TexteCharge> charge;
        FinPasse fin = lirePasse(fichier, decodeur, bloc, arret, tailleMaximale, charge);
        // A byte that UTF-8 cannot have, however late: the whole file is read again.
        if (fin == FinPasse::PasUtf8) {
            decodeur.recommencerEnCp1252();
            fin = fichier.seek(0)
                ? lirePasse(fichier, decodeur, bloc, arret, tailleMaximale, charge)
                : FinPasse::ErreurLecture;
        }
        switch (fin) {
        case FinPasse::Lue:
            return {std::move(*charge), {}, false};
        case FinPasse::Arretee:
            return {{}, {}, true};
        case FinPasse::TropGrand:
            return tropGrand(chemin, tailleMaximale);
        case FinPasse::PasUtf8:
        case FinPasse::ErreurLecture:
            break;
        }
        return echec(chemin, QStringLiteral("Erreur de lecture."));
    } catch (const std::bad_alloc&) {
        // Everything the read held is released by now.
        return echec(chemin, texteMemoireInsuffisante(besoin, memoire ? memoire() : -1));
    }
}
