#include "ui/common/QtTranslations.h"
#include "ui/common/QtUserPrompts.h"
#include "ui/common/UiText.h"
#include "ui/main/Tpb140_nkp3_main.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The program speaks Russian whatever the desktop's language, and so do
    // Qt's own dialogs and buttons.
    nkp::ui::installQtTranslations(app, QLocale(QLocale::Russian, QLocale::Russia));
    // The installed desktop file and icon carry this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("nkp3-analyzer"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("nkp3-analyzer")));
    nkp::ui::QtUserPrompts prompts;
    TForm_TPB140CMain window(prompts, QDir::currentPath(), nkp::ui::systemDecimalSeparator());
    prompts.setParent(&window);
    window.show();
    return app.exec();
}
