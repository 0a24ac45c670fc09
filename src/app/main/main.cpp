// tarvoiir: the desktop program. With files, a running instance of the same
// user gets them and this start ends; otherwise the program starts and opens
// them (or a new project).

#include "app/file_chooser.h"
#include "app/iir_app.h"
#include "app/instance_channel.h"
#include "app/qt_ui.h"
#include "app/settings_store.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    // The program's pictures live in the app library's resources.
    Q_INIT_RESOURCE(app_resources);
    QApplication::setOrganizationName(QStringLiteral("Morvane"));
    QApplication::setApplicationName(QStringLiteral("TarvoIIR"));
    QApplication::setApplicationVersion(QStringLiteral(TARVO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("tarvoiir"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/tarvoiir.svg")));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("TarvoIIR, the IIR digital-filter designer."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption noSplash(QStringLiteral("no-splash"),
                                      QStringLiteral("Start without the splash window."));
    parser.addOption(noSplash);
    parser.addPositionalArgument(QStringLiteral("files"), QStringLiteral("Project files to open."),
                                 QStringLiteral("[FILE.tvp...]"));
    parser.process(application);
    const QStringList files = parser.positionalArguments();

    // Only a start with files hands over; a plain start is a new instance.
    if (!files.isEmpty() && tarvo::SendToRunningInstance(files)) return 0;

    tarvo::DialogFileChooser chooser;
    tarvo::QtUi ui(chooser);
    tarvo::SettingsStore settings;
    tarvo::AppEnvironment environment;
    environment.ui = &ui;
    environment.settings = &settings;
    environment.files = &chooser;
    environment.showSplash = !parser.isSet(noSplash);

    tarvo::CIirApp app(environment);
    tarvo::InstanceServer server([&app](const QStringList& received) { app.OpenFiles(received); });
    server.Listen();
    app.InitInstance(files);
    return QApplication::exec();
}
