#pragma once

#include <QLocale>

class QCoreApplication;

namespace nkp::ui {

// Installs Qt's own translations (file dialogs, message-box buttons, the
// print dialog and preview, serial-port errors) for `locale` from Qt's
// translations folder. The translators are children of `app`. Returns the
// number of catalogs installed; a missing catalog leaves Qt's English.
int installQtTranslations(QCoreApplication& app, const QLocale& locale);

}  // namespace nkp::ui
