// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Lets assistive technologies see a VueTexte as read-only multi-line text, with its
// caret, selection and characters. Safe to call more than once.
void installerAccessibiliteVueTexte();
