#pragma once

class QLocale;
class QTranslator;

namespace quelvar::qt {

// Loads Qt's own translations for the locale (button texts such as Yes and No, the file
// dialog), so that they follow the desktop's language; the program's own texts never change.
// Returns the installed translator, or nothing when Qt has none for the locale.
QTranslator* InstallQtTranslations(const QLocale& locale);

}  // namespace quelvar::qt
