// The converter's entry point: paths, language, splash, main window, message loop.
#include "app/paths.h"
#include "app/power.h"
#include "lang/multilanguages.h"
#include "ui/main/mainwnd.h"
#include "ui/main/splashwnd.h"
#include "ui/qt_dialogs.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("varid-converter"));
    // Qt sets the C locale from the environment while it starts; the paths step puts the
    // number format back to "." for the rest of the run.
    InitPaths();
    app.setApplicationDisplayName(ApplicationTitle);

    TQtDialogs dialogs;
    TLogindPower power;
    SetPower(&power);

    // A failed load has shown its message; the program goes on with the texts it has.
    LoadLanguage();

    {
        // The splash closes before the main window exists: that must not end the program.
        app.setQuitOnLastWindowClosed(false);
        TfrmSplash splash;
        splash.exec();
        app.setQuitOnLastWindowClosed(true);
    }

    TfrmMain main;
    dialogs.SetOwner(&main);
    if (const QScreen* screen = main.screen())
        main.move(screen->availableGeometry().center() - main.rect().center());
    main.show();
    const int result = app.exec();
    SetPower(nullptr);
    return result;
}
