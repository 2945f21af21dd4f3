// SPDX-License-Identifier: GPL-3.0-or-later
#include "main_window/annonce.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QLabel>

Annonceur::Annonceur(QWidget* fenetre)
    : QObject(fenetre)
    , fenetre_(fenetre)
{
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget* ancien, QWidget*) {
        if (ancien && ancien == porteur_)
            rendreDescription();
    });
}

void Annonceur::annoncer(const QString& message)
{
    QWidget* cible = fenetre_->focusWidget();
    if (!cible)
        cible = fenetre_;
    if (cible != porteur_) {
        rendreDescription();
        porteur_ = cible;
        descriptionPropre_ = cible->accessibleDescription();
    }
    const QString description = message.simplified();
    if (cible->accessibleDescription() != description) {
        cible->setAccessibleDescription(description); // which tells of the change
    } else {
        // Said again: the same result twice is two results.
        QAccessibleEvent evenement(cible, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&evenement);
    }
}

void Annonceur::rendreDescription()
{
    if (porteur_)
        porteur_->setAccessibleDescription(descriptionPropre_);
    porteur_ = nullptr;
}

namespace {

const char kEtat[] = "lexorquineEtat";

class EtatAccessible final : public QAccessibleWidget {
public:
    explicit EtatAccessible(QLabel* libelle)
        : QAccessibleWidget(libelle, QAccessible::StatusBar)
    { }

    QString text(QAccessible::Text sorte) const override
    {
        if (sorte == QAccessible::Name && widget()->accessibleName().isEmpty())
            return static_cast<QLabel*>(widget())->text().simplified();
        return QAccessibleWidget::text(sorte);
    }
};

QAccessibleInterface* interfaceEtat(const QString& classe, QObject* objet)
{
    // Asked for the object's own class first, before Qt's interfaces for its base classes.
    if (objet && objet->property(kEtat).toBool()
        && classe == QLatin1String(objet->metaObject()->className()))
        if (auto* libelle = qobject_cast<QLabel*>(objet))
            return new EtatAccessible(libelle);
    return nullptr;
}

} // namespace

void marquerCommeEtat(QLabel* libelle)
{
    static const bool installee = (QAccessible::installFactory(interfaceEtat), true);
    (void)installee;
    libelle->setProperty(kEtat, true);
}
