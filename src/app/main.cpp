#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/TRV730DataAnalysisApp.h"

int main(int argc, char* argv[]) {
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TRV-730 Data Analysis"));

    // "--screenshot FILE" saves a picture of the main window and ends (for machines
    // without a display, under xvfb-run). Every other argument is the program's own.
    QStringList args = QApplication::arguments();
    QString screenshot;
    const qsizetype at = args.indexOf(QStringLiteral("--screenshot"));
    if (at > 0) {
        if (at + 1 >= args.size()) {
            std::fprintf(stderr, "--screenshot needs a file name\n");
            return 2;
        }
        screenshot = args[at + 1];
        args.remove(at, 2);
    }

    CTRV730DataAnalysisApp app;
    return app.Run(args, screenshot);
}
