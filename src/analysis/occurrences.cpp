// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/occurrences.h"

#include "analysis/analyseur.h"
#include "analysis/table.h"

TableOccurrences::TableOccurrences()
    : table_(std::make_unique<lexique::Table>())
{ }

TableOccurrences::TableOccurrences(lexique::Table&& table)
    : table_(std::make_unique<lexique::Table>(std::move(table)))
{ }

TableOccurrences::TableOccurrences(const TableOccurrences& autre)
    : table_(autre.table_ ? std::make_unique<lexique::Table>(*autre.table_) : nullptr)
{ }

TableOccurrences::TableOccurrences(TableOccurrences&& autre) noexcept = default;

TableOccurrences& TableOccurrences::operator=(const TableOccurrences& autre)
{
    if (this != &autre)
        table_ = autre.table_ ? std::make_unique<lexique::Table>(*autre.table_) : nullptr;
    return *this;
}

TableOccurrences& TableOccurrences::operator=(TableOccurrences&& autre) noexcept = default;

TableOccurrences::~TableOccurrences() = default;

lexique::Table& TableOccurrences::table()
{
    if (!table_)
        table_ = std::make_unique<lexique::Table>();
    return *table_;
}

void TableOccurrences::AnalyserMots(QStringView texte)
{
    lexique::Analyseur analyse(lexique::Occurrences);
    analyse.ajouterTexte(texte);
    analyse.libererMots();
    table() = std::move(analyse.table());
    TrierMots();
}

void TableOccurrences::AjouterMot(QStringView mot)
{
    const lexique::Table::Apport<char16_t> une{mot.utf16(), mot.size(), 1};
    table().compterLot(&une, 1);
}

void TableOccurrences::TrierMots() { table().trier(); }

void TableOccurrences::EchangerMots(qsizetype a, qsizetype b) { table().echanger(a - 1, b - 1); }

qsizetype TableOccurrences::NbMotsTab() const noexcept { return table_ ? table_->nbEntrees() : 0; }

QString TableOccurrences::mot(qsizetype i) const { return table_->mot(i - 1); }

qint64 TableOccurrences::occurrences(qsizetype i) const { return table_->occurrences(i - 1); }

QString TableOccurrences::Rapport() const { return TexteRapport().toString(); }

Texte TableOccurrences::TexteRapport() const
{
    return table_ ? table_->rapport() : lexique::Table().rapport();
}
