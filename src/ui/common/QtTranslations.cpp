#include "ui/common/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace nkp::ui {

int installQtTranslations(QCoreApplication& app, const QLocale& locale)
{
    // qtbase holds Widgets and PrintSupport in Qt 6; serial-port errors reach
    // the reading window's status line.
    static constexpr const char* kCatalogs[] = {"qtbase", "qtserialport"};
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    int installed = 0;
    for (const char* catalog : kCatalogs) {
        auto* translator = new QTranslator(&app);
        if (translator->load(locale, QString::fromLatin1(catalog), QStringLiteral("_"), folder)
            && QCoreApplication::installTranslator(translator)) {
            ++installed;
        } else {
            delete translator;
        }
    }
    return installed;
}

}  // namespace nkp::ui
