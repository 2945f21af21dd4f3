// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The occurrence table as a list for a French spreadsheet: UTF-8 with a BOM (so that the
// spreadsheet does not guess another code page), ";" between the columns (the comma is the
// decimal mark there), a heading line, then one line per entry in table order. A field is
// quoted only when it holds ";", a double quote or a line break, its quotes doubled.

#include <QByteArray>

class TableOccurrences;

QByteArray listeCsv(const TableOccurrences& table);
