#include "ui/common/QtTranslations.h"
#include "ui/common/QtUserPrompts.h"
#include "ui/common/UiText.h"
#include "ui/main/Tpb140_nkp3_main.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QIcon>
#include <QLocale>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    // The settings live under ~/.config/nkp3/.
    QCoreApplication::setOrganizationName(QStringLiteral("nkp3"));
    QCoreApplication::setApplicationName(QStringLiteral("nkp3-analyzer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NKP_VERSION));
    // The program speaks Russian whatever the desktop's language, and so do
    // Qt's own dialogs and buttons.
    nkp::ui::installQtTranslations(app, QLocale(QLocale::Russian, QLocale::Russia));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Анализ данных регистратора параметров ТРВ-140"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("ФАЙЛ.nkp"),
        QStringLiteral("файл данных, открываемый при запуске"), QStringLiteral("[ФАЙЛ.nkp]"));
    parser.process(app);  // --help and --version print and end here

    // The installed desktop file and icon carry this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("nkp3-analyzer"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("nkp3-analyzer")));
    nkp::ui::QtUserPrompts prompts;
    TForm_TPB140CMain window(prompts, QDir::currentPath(), nkp::ui::systemDecimalSeparator());
    prompts.setParent(&window);
    window.show();
    if (!parser.positionalArguments().isEmpty())
        window.loadFile(parser.positionalArguments().constFirst());
    return app.exec();
}
