#include "app/TRV730DataAnalysisDlg.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>

#include "app/AboutDlg.h"
#include "app/AppInfo.h"
#include "language/Language.h"
#include "language/TextFormat.h"

CTRV730DataAnalysisDlg::CTRV730DataAnalysisDlg(QWidget* parent) : QMainWindow(parent) {
    setWindowTitle(Caption());
    setWindowIcon(QIcon(QStringLiteral(":/icons/app.svg")));
    BuildMenu();
    resize(1024, 720);
}

QString CTRV730DataAnalysisDlg::Caption() {
    return FormatText(QStringLiteral("%s v%d.%d"),
                      {GetText(LNG_MAIN_TITLE), AppInfo::kVersionMajor, AppInfo::kVersionMinor});
}

void CTRV730DataAnalysisDlg::BuildMenu() {
    QMenu* file = menuBar()->addMenu(GetText(LNG_MENU_FILE));
    QAction* exit = file->addAction(GetText(LNG_MENU_EXIT));
    connect(exit, &QAction::triggered, this, &QWidget::close);

    QMenu* help = menuBar()->addMenu(GetText(LNG_MENU_HELP));
    QAction* about = help->addAction(GetText(LNG_MENU_ABOUT));
    connect(about, &QAction::triggered, this, &CTRV730DataAnalysisDlg::OnAbout);
}

void CTRV730DataAnalysisDlg::OnAbout() {
    CAboutDlg dlg(this);
    dlg.exec();
}
