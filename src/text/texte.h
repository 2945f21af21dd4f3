// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A loaded text as it stays in memory: one byte per character (Windows-1252) when every
// character has a byte there, else UTF-16. Positions count characters either way, and each
// such character is one UTF-16 unit, so a position means the same in both forms. Immutable
// once built, and its copies share the characters: it may be read from any thread.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <array>

// The character of each Windows-1252 byte; its five unassigned codes keep their own value,
// as Windows does.
extern const std::array<char16_t, 256> kCp1252;

inline char16_t versCp1252(unsigned char octet) { return kCp1252[octet]; }

// Writes the characters of n Windows-1252 bytes.
void elargirCp1252(const char* octets, qsizetype n, char16_t* sortie) noexcept;

// The byte of a character in Windows-1252 outside Latin-1's, or -1 when it has none.
int octetCp1252HorsLatin1(char16_t c) noexcept;
// The byte of a character in Windows-1252, or -1 when it has none.
inline int octetCp1252(char16_t c) noexcept
{
    return c < 0x80 || (c >= 0xA0 && c < 0x100) ? c : octetCp1252HorsLatin1(c);
}

// Some characters of a text, in UTF-16: a view of the text itself when it is kept so, else
// a copy widened for the moment. Valid as long as the text and this object.
class Extrait {
public:
    Extrait() = default;
    explicit Extrait(QStringView vue)
        : vue_(vue)
    { }
    explicit Extrait(QString copie)
        : copie_(std::move(copie))
        , vue_(copie_)
    { }
    Extrait(const Extrait&) = delete;
    Extrait& operator=(const Extrait&) = delete;

    QStringView vue() const { return vue_; }
    QString toString() const { return vue_.toString(); }
    operator QStringView() const { return vue_; }

private:
    QString copie_;
    QStringView vue_;
};

class Texte {
public:
    Texte() = default;
    // The text kept in UTF-16 as given.
    explicit Texte(QString utf16)
        : utf16_(std::move(utf16))
    { }
    // The text kept as the Windows-1252 bytes given, one per character.
    static Texte enCp1252(QByteArray octets);

    bool estEnOctets() const { return enOctets_; }
    qsizetype size() const { return enOctets_ ? octets_.size() : utf16_.size(); }
    bool isEmpty() const { return size() == 0; }

    char16_t at(qsizetype i) const
    {
        return enOctets_ ? versCp1252(static_cast<unsigned char>(octets_[i])) : utf16_[i].unicode();
    }

    // Characters [pos, pos + n) clamped to the text, in UTF-16.
    QString mid(qsizetype pos, qsizetype n) const;
    Extrait extrait(qsizetype pos, qsizetype n) const;
    QString toString() const;

    // The forms as kept, for the loops that read them directly: the UTF-16 one is empty in
    // the byte form and the reverse.
    QStringView utf16() const { return utf16_; }
    QByteArrayView octets() const { return octets_; }

    // True when both share the same characters in memory.
    bool memesDonnees(const Texte& autre) const;
    // Characters or bytes set aside, written or not.
    qsizetype capacite() const { return enOctets_ ? octets_.capacity() : utf16_.capacity(); }

    // The same characters, whatever the forms.
    friend bool operator==(const Texte& a, const Texte& b);
    friend bool operator==(const Texte& a, QStringView b);

private:
    QString utf16_;
    QByteArray octets_;
    bool enOctets_ = false;
};
