// The converter's entry point: paths, language, splash, main window, message loop. Files named on
// the command line join the list as a drop would; when the program runs already, they go to its
// window and this start ends.
#include "app/byte_names.h"
#include "app/instance_channel.h"
#include "app/paths.h"
#include "app/power.h"
#include "lang/multilanguages.h"
#include "ui/main/mainwnd.h"
#include "ui/main/splashwnd.h"
#include "ui/qt_dialogs.h"
#include "ui/toolkit_language.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("varid-converter"));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.varid.VideoConverter"));

    // The arguments from their bytes (Qt took its own options out of argv): a name that is not
    // UTF-8 is reached through an alias. The program that runs already gets such a name as a
    // file: URL with its bytes, since the alias goes when this start ends.
    const QStringList files = FilesFromArguments(ByteNames().Arguments(argc, argv), QDir::currentPath());
    TInstanceChannel channel(TInstanceChannel::DefaultServerName());
    if (!files.isEmpty()) {
        QStringList portable;
        for (const QString& file : files)
            portable << ByteNames().Portable(file);
        if (channel.SendFiles(portable))
            return 0;
    }

    // Qt sets the C locale from the environment while it starts; the paths step puts the
    // number format back to "." for the rest of the run.
    InitPaths();
    app.setApplicationDisplayName(ApplicationTitle);
    // The installed icon from the desktop theme; a portable copy has its own in skins/.
    app.setWindowIcon(QIcon::fromTheme(QStringLiteral("org.varid.VideoConverter"),
                                       QIcon(SkinsDir + QStringLiteral("AppIcon.png"))));

    TQtDialogs dialogs;
    TLogindPower power;
    SetPower(&power);

    // A failed load has shown its message; the program goes on with the texts it has.
    LoadLanguage();
    ApplyToolkitLanguage(LanguageFileName);

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

    // Later starts hand their files to this window, which comes to the front.
    QObject::connect(&channel, &TInstanceChannel::FilesReceived, &main, [&main] {
        main.showNormal();
        main.raise();
        main.activateWindow();
    });
    if (!channel.Listen(&main))
        std::fputs("varid-converter: another window receives the files of later starts\n", stderr);
    if (!files.isEmpty())
        QMetaObject::invokeMethod(&main, "AddDroppedFiles", Qt::QueuedConnection, Q_ARG(QStringList, files));
    const int result = app.exec();
    SetPower(nullptr);
    return result;
}
