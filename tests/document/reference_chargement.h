// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The loader's rules done the plain way, on the whole file at once: the oracle that the
// block-by-block loader is checked against.

#include "document/fichier_texte.h"

#include <QByteArrayView>

#include <vector>

// RFC 3629 UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool utf8ValideDeReference(QByteArrayView octets);

// UTF-16 with a byte-order mark, else UTF-8 when valid (its mark dropped), else Windows-1252.
QString decodageDeReference(QByteArrayView octets);

// Every line, ended by CR LF, CR or LF, followed by CR LF.
TexteCharge lignesDeReference(const QString& decode);

inline TexteCharge chargementDeReference(QByteArrayView octets)
{
    return lignesDeReference(decodageDeReference(octets));
}

// The shipped decoder given the bytes in blocks cut at these offsets, and given them all again
// when it finds they are not UTF-8, as the file reader does.
TexteCharge chargerOctets(QByteArrayView octets, const std::vector<qsizetype>& coupures = {});

// The shipped line splitter over characters already decoded.
TexteCharge decouperLignes(QStringView decode);
