#include "app/PlatformChoice.h"
#include "app/TForm1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    if (const QByteArray platform = PreferredPlatform(QProcessEnvironment::systemEnvironment());
        !platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velkaro"));

    // Qt's own dialogs (print dialog, file dialogs) speak Spanish like the rest of the program.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    const std::string commandUrl = argc > 1 ? std::string(argv[1]) : std::string();
    TForm1 form(TForm1::systemEnvironment(commandUrl));
    const int result = QApplication::exec();
    return result;
}
