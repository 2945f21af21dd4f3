// SPDX-License-Identifier: GPL-3.0-or-later
#include "help_window/libelle_cliquable.h"

#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyleOptionFocusRect>
#include <QStylePainter>

namespace {

class LienAccessible final : public QAccessibleWidget {
public:
    explicit LienAccessible(LibelleCliquable* lien)
        : QAccessibleWidget(lien, QAccessible::Link)
    { }

    QString text(QAccessible::Text sorte) const override
    {
        if (sorte == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel*>(widget())->text().simplified();
        return QAccessibleWidget::text(sorte);
    }
    QStringList actionNames() const override
    {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override
    {
        if (action == pressAction())
            emit static_cast<LibelleCliquable*>(widget())->clique();
        else
            QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* interfaceLien(const QString& classe, QObject* objet)
{
    if (classe == QLatin1String("LibelleCliquable") && objet && objet->isWidgetType())
        return new LienAccessible(static_cast<LibelleCliquable*>(objet));
    return nullptr;
}

} // namespace

LibelleCliquable::LibelleCliquable(QWidget* parent)
    : LibelleCliquable(QString(), parent)
{ }

LibelleCliquable::LibelleCliquable(const QString& texte, QWidget* parent)
    : QLabel(texte, parent)
{
    static const bool installee = (QAccessible::installFactory(interfaceLien), true);
    (void)installee;
}

void LibelleCliquable::mousePressEvent(QMouseEvent* event)
{
    // Taken here, so the release comes back to the label and a press on it never reaches the
    // window beneath, which would start moving.
    event->accept();
}

void LibelleCliquable::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clique();
}

void LibelleCliquable::mouseMoveEvent(QMouseEvent* event)
{
    event->accept();
    emit survole();
}

void LibelleCliquable::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (!event->isAutoRepeat())
            emit clique();
        event->accept();
        return;
    default:
        QLabel::keyPressEvent(event);
    }
}

void LibelleCliquable::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Where the keyboard is, as on a button.
    QStylePainter peintre(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    peintre.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}
