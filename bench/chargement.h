#pragma once

// Loads a text file the way the program does before analysing it: UTF-8
// when the bytes are valid UTF-8 (a leading BOM dropped), Windows-1252
// otherwise, and every line (ended by CR LF, a lone CR or a lone LF)
// followed by CR LF.

#include <QByteArray>
#include <QString>

QString decoderTexte(const QByteArray& octets);
QString chargerTexte(const QString& chemin); // empty when unreadable
