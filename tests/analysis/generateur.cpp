// SPDX-License-Identifier: GPL-3.0-or-later
#include "generateur.h"

#include "reference.h"

#include <array>

namespace generateur {

namespace {

// Words that come back with their case changed, so that both counts see
// duplicates.
const char16_t* const kMots[] = {
    u"le",
    u"chat",
    u"\u00E9t\u00E9",
    u"c\u0153ur",
    u"stra\u00DFe",
    u"l'homme",
    u"2006",
    u"\u00E0",
    u"na\u00EFve",
    u"\u00FFgrec",
    u"\u03C3\u03BF\u03C6\u03CC\u03C2",
    u"e\u0301t\u00E9",
    u"\U00010428x",
    u"\u0149",
    u"\uFB01n",
    u"\u00B5",
    u"\u00E6on",
    u"\u0161\u017E",
};

// Single characters: every separator of both rules, the space, line ends,
// letters of Windows-1252 and beyond, signs, surrogates paired or not.
const char16_t kCaracteres[] = {
    u' ',   u' ',   u' ',   u'\r',  u'\n',  u'\t',  u'\'',  u'\'',  0x2019, u'a',   u'Z',
    u'0',   u'9',   u'&',   u'@',   u'\\',  u'^',   u'`',   u'|',   u'<',   u'>',   0x00A0,
    0x00A7, 0x00B0, 0x00D7, 0x00F7, 0x00AA, 0x00BA, 0x20AC, 0x2026, 0x2013, 0x2014, 0x201C,
    0x201D, 0x0152, 0x0153, 0x0160, 0x0161, 0x017D, 0x017E, 0x0178, 0x00C0, 0x00C9, 0x00D0,
    0x00D6, 0x00D8, 0x00DE, 0x00DF, 0x00E0, 0x00E9, 0x00FF, 0x0301, 0x0661, 0x4E2D, 0x8000,
    0xFFFF, 0x0100, 0xD800, 0xDC00, 0x0000, 0x007F, 0x0149, 0xFB00, 0x1E9E, 0x0390,
};

} // namespace

QString texteAleatoire(std::mt19937_64& alea, int nbMorceaux)
{
    QString t;
    std::uniform_int_distribution<int> genre(0, 9);
    for (int i = 0; i < nbMorceaux; ++i) {
        switch (genre(alea)) {
        case 0:
        case 1:
        case 2: {
            QString m = QString::fromUtf16(kMots[alea() % std::size(kMots)]);
            switch (alea() % 3) {
            case 0:
                m = m.toUpper();
                break;
            case 1:
                m[0] = m[0].toUpper();
                break;
            default:
                break;
            }
            t += m;
            break;
        }
        case 3:
        case 4:
            t += QChar(reference::kSeparateurs[alea() % reference::kSeparateurs.size()]);
            break;
        case 5:
            t += QString(int(alea() % 6) + 1, u' ');
            break;
        case 6: {
            const char16_t* fins[] = {u"\r\n", u"\r", u"\n", u"\r\n\r\n", u"\n\r"};
            t += QString::fromUtf16(fins[alea() % std::size(fins)]);
            break;
        }
        case 7: {
            const char32_t c = char32_t(0x10000 + alea() % 0x20000);
            t += QString::fromUcs4(&c, 1);
            break;
        }
        default:
            t += QChar(kCaracteres[alea() % std::size(kCaracteres)]);
            break;
        }
    }
    return t;
}

} // namespace generateur
