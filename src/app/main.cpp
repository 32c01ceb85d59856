#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "app/TRV730DataAnalysisApp.h"
#include "app/TRV730DataAnalysisDlg.h"
#include "language/Language.h"

namespace {
// "--version" prints the caption in the language the program would start in, without a display.
int PrintVersion() {
    CLanguage language;
    if (!language.Load()) {
        std::fprintf(stderr, "Can not load language file\n");
        return 1;
    }
    CLanguage::SetCurrent(&language);
    std::printf("%s\n", CTRV730DataAnalysisDlg::Caption().toUtf8().constData());
    CLanguage::SetCurrent(nullptr);
    return 0;
}
}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0)
        return PrintVersion();

    QApplication qapp(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TRV-730 Data Analysis"));
    // Ties the windows to the installed menu entry (its icon and name in the task bar).
    QApplication::setDesktopFileName(QStringLiteral("example.tamsin_grid.trv730da"));

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
