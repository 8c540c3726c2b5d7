#include "app/TForm1.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// A Wayland session does not let a window place itself; the splash needs to, so use XWayland when
// it is there, unless the user chose a platform.
void preferXcbUnderWayland() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return;
    const bool wayland = qgetenv("XDG_SESSION_TYPE") == "wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    if (wayland && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int main(int argc, char** argv) {
    preferXcbUnderWayland();
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
