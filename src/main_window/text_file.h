// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

// Files beyond this size are refused before anything is read.
inline constexpr qint64 kMaxTextFileBytes = qint64(512) * 1024 * 1024;

// A text as the main window shows it: every line of the file followed by CR LF.
struct LoadedText {
    QString text;
    qint64 nonEmptyLines = 0;
    qint64 characters = 0; // characters of all lines, line breaks excluded
};

struct TextFileRead {
    LoadedText loaded;
    QString error; // a French sentence for the user; empty on success
    bool ok() const { return error.isEmpty(); }
};

// True when the name ends in ".txt", in any letter case.
bool hasTextExtension(const QString& path);

// UTF-16 with a byte-order mark, else UTF-8 when the bytes are valid UTF-8 (without its
// byte-order mark), else Windows-1252, one byte one character.
QString decodeTextBytes(QByteArrayView bytes);

// A line ends at CR LF, at a lone CR or at a lone LF; the last line may have no break.
LoadedText toLoadedText(const QString& decoded);

TextFileRead readTextFile(const QString& path, qint64 maxBytes = kMaxTextFileBytes);
