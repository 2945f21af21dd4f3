// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QProxyStyle>

// The application's style for frames whose inside is their own colour: some styles shade the
// inside of a group box, which then differs from what the frame holds. Only the border is
// drawn; the inside stays the frame's background.
class StyleCadre final : public QProxyStyle {
    Q_OBJECT
public:
    // One for the whole program, over the application's style; it lasts as long as the
    // application object, longer than any frame.
    static StyleCadre* commun();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
};
