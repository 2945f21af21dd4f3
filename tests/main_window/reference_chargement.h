// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The loader's rules done the plain way, on the whole file at once: the oracle that the
// block-by-block loader is checked against.

#include "main_window/text_file.h"

#include <QByteArrayView>

// RFC 3629 UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool utf8ValideDeReference(QByteArrayView octets);

// UTF-16 with a byte-order mark, else UTF-8 when valid (its mark dropped), else Windows-1252.
QString decodageDeReference(QByteArrayView octets);

// Every line, ended by CR LF, CR or LF, followed by CR LF.
LoadedText lignesDeReference(const QString& decode);

inline LoadedText chargementDeReference(QByteArrayView octets)
{
    return lignesDeReference(decodageDeReference(octets));
}
