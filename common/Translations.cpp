#include "common/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

#include "platform/Translate.h"

namespace {
std::unique_ptr<QTranslator> g_own;
std::unique_ptr<QTranslator> g_qt;

std::string TranslateWithQt(const char* context, const char* text)
{
    return QCoreApplication::translate(context, text).toStdString();
}
}  // namespace

bool UseLanguage(const QLocale& locale)
{
    for (auto* translator : {&g_own, &g_qt}) {
        if (*translator) QCoreApplication::removeTranslator(translator->get());
        translator->reset();
    }
    InstallTranslation(nullptr);
    auto own = std::make_unique<QTranslator>();
    // English is the program's own text: a translation is taken only for another language.
    if (locale.language() == QLocale::English || locale.language() == QLocale::C ||
        !own->load(locale, "norvelle", "_", ":/i18n"))
        return false;
    QCoreApplication::installTranslator(own.get());
    g_own = std::move(own);
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(qt.get());
        g_qt = std::move(qt);
    }
    InstallTranslation(TranslateWithQt);
    return true;
}
