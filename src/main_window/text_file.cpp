// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/text_file.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <array>
#include <cstring>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80–0x9F; its five unassigned codes keep
// their own value, as Windows does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

QString decodeCp1252(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out[i] = (byte >= 0x80 && byte < 0xA0) ? kCp1252High[byte - 0x80] : char16_t(byte);
    }
    return text;
}

bool decodeStrictly(QByteArrayView bytes, QStringConverter::Encoding encoding, QString& text)
{
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

// RFC 3629 UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF. Stops at the
// first fault, which in a Windows-1252 text is usually its first accented letter.
bool isValidUtf8(QByteArrayView bytes)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    while (p < end) {
        // Plain ASCII eight bytes at a time.
        if (end - p >= 8) {
            quint64 eight;
            std::memcpy(&eight, p, 8);
            if ((eight & 0x8080808080808080ull) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char lead = *p;
        if (lead < 0x80) {
            ++p;
            continue;
        }
        int followers;
        unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            followers = 1;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            followers = 2;
            if (lead == 0xE0)
                low = 0xA0;
            else if (lead == 0xED)
                high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            followers = 3;
            if (lead == 0xF0)
                low = 0x90;
            else if (lead == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - p <= followers || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= followers; ++i)
            if ((p[i] & 0xC0) != 0x80)
                return false;
        p += followers + 1;
    }
    return true;
}

// The common case: the decoded text already ends every line in CR LF, and is kept as it is.
// Returns false, with nothing counted, when a line needs rewriting.
bool countCrLfLines(const QString& text, LoadedText& result)
{
    const QStringView view(text);
    qsizetype start = 0;
    qsizetype lines = 0;
    qint64 nonEmptyLines = 0;
    qint64 characters = 0;
    for (qsizetype lf = view.indexOf(u'\n'); lf >= 0; lf = view.indexOf(u'\n', start)) {
        if (lf == start || view[lf - 1] != u'\r')
            return false;
        const qsizetype length = lf - 1 - start;
        ++lines;
        nonEmptyLines += length > 0;
        characters += length;
        start = lf + 1;
    }
    if (start != view.size() || view.count(u'\r') != lines)
        return false;
    result = {text, nonEmptyLines, characters};
    return true;
}

QString displayName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

TextFileRead failure(const QString& path, const QString& reason)
{
    TextFileRead result;
    result.error = QStringLiteral("Impossible de lire le fichier « %1 ».\n%2")
                       .arg(displayName(path), reason);
    return result;
}

} // namespace

bool hasTextExtension(const QString& path)
{
    return path.endsWith(QLatin1String(".txt"), Qt::CaseInsensitive);
}

QString decodeTextBytes(QByteArrayView bytes)
{
    QString text;
    if (bytes.startsWith("\xFF\xFE") && decodeStrictly(bytes, QStringConverter::Utf16LE, text))
        return text;
    if (bytes.startsWith("\xFE\xFF") && decodeStrictly(bytes, QStringConverter::Utf16BE, text))
        return text;
    if (isValidUtf8(bytes) && decodeStrictly(bytes, QStringConverter::Utf8, text))
        return text;
    return decodeCp1252(bytes);
}

LoadedText toLoadedText(const QString& decoded)
{
    LoadedText result;
    if (countCrLfLines(decoded, result))
        return result;
    result.text.reserve(decoded.size() + decoded.size() / 32 + 2);
    const QChar* chars = decoded.data();
    const qsizetype size = decoded.size();
    qsizetype position = 0;
    while (position < size) {
        const qsizetype start = position;
        while (position < size && chars[position] != u'\r' && chars[position] != u'\n')
            ++position;
        const qsizetype length = position - start;
        result.text.append(QStringView(chars + start, length));
        result.text.append(u"\r\n");
        if (length > 0) {
            ++result.nonEmptyLines;
            result.characters += length;
        }
        if (position < size) {
            const bool crlf
                = chars[position] == u'\r' && position + 1 < size && chars[position + 1] == u'\n';
            position += crlf ? 2 : 1;
        }
    }
    return result;
}

TextFileRead readTextFile(const QString& path, qint64 maxBytes)
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
        return failure(path,
                       QStringLiteral("Le fichier dépasse la taille maximale de %1 Mio.")
                           .arg(maxBytes / (1024 * 1024)));

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.isSequential())
        return failure(path,
                       QStringLiteral("Le fichier ne peut pas être ouvert (droits d'accès ?)."));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return failure(path, QStringLiteral("Erreur de lecture."));
    if (bytes.size() > maxBytes)
        return failure(path,
                       QStringLiteral("Le fichier dépasse la taille maximale de %1 Mio.")
                           .arg(maxBytes / (1024 * 1024)));

    TextFileRead result;
    result.loaded = toLoadedText(decodeTextBytes(bytes));
    return result;
}
