#pragma once
#include <QLocale>

// Shows the windows in the language of the locale where a translation of Norvelle is
// built in (and Qt's own buttons and menus with Qt's translations); English otherwise.
// Returns whether a translation was found. Call before any window is made.
bool UseLanguage(const QLocale& locale);
