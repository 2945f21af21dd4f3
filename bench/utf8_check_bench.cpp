// SPDX-License-Identifier: GPL-3.0-or-later
// Ways to tell valid UTF-8 on the corpora: the hand-written check kept in the tests, Qt's
// QByteArrayView::isValidUtf8, and Qt's decoder, which the loader uses, flagging the fault
// while it decodes.
#include "corpus/corpus.h"
#include "document/reference_chargement.h"

#include <benchmark/benchmark.h>

#include <QFile>
#include <QStringDecoder>

#include <string>

namespace {

QByteArray lire(const std::string& nom)
{
    QFile f(fichierCorpus(QString::fromStdString(nom)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Decodes the bytes block by block as the loader does; false at the first fault.
bool decoder(QByteArrayView octets, QString& tampon)
{
    QStringDecoder decodeur(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    for (qsizetype debut = 0; debut < octets.size(); debut += kTailleBlocLecture) {
        const QByteArrayView bloc
            = octets.sliced(debut, std::min(kTailleBlocLecture, octets.size() - debut));
        decodeur.appendToBuffer(tampon.data(), bloc);
        if (decodeur.hasError())
            return false;
    }
    return true;
}

void mesurer(benchmark::State& etat, const std::string& nom, int facon)
{
    const QByteArray octets = lire(nom);
    if (octets.isEmpty()) {
        etat.SkipWithError("corpus file missing");
        return;
    }
    QString tampon(kTailleBlocLecture + 1, Qt::Uninitialized);
    for (auto _ : etat) {
        bool valide = false;
        switch (facon) {
        case 0:
            valide = utf8ValideDeReference(octets);
            break;
        case 1:
            valide = QByteArrayView(octets).isValidUtf8();
            break;
        case 2:
            valide = utf8ValideDeReference(octets) && decoder(octets, tampon);
            break;
        case 3:
            valide = QByteArrayView(octets).isValidUtf8() && decoder(octets, tampon);
            break;
        default:
            valide = decoder(octets, tampon);
            break;
        }
        benchmark::DoNotOptimize(valide);
    }
    etat.SetBytesProcessed(etat.iterations() * octets.size());
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    const char* const facons[]
        = {"Verification/maison", "Verification/Qt", "VerificationPuisDecodage/maison",
           "VerificationPuisDecodage/Qt", "DecodageQuiVerifie/Qt"};
    for (const char* nom : {"medium.utf8.crlf.txt", "medium.utf8.lf.txt", "medium.cp1252.crlf.txt"})
        for (int facon = 0; facon < 5; ++facon)
            benchmark::RegisterBenchmark((std::string(facons[facon]) + "/" + nom).c_str(), mesurer,
                                         std::string(nom), facon)
                ->Unit(benchmark::kMicrosecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
