#pragma once

#include <QMainWindow>

// The main window: caption, menu, and (growing) everything the operator works with.
class CTRV730DataAnalysisDlg : public QMainWindow {
    Q_OBJECT
public:
    explicit CTRV730DataAnalysisDlg(QWidget* parent = nullptr);

    static QString Caption();  // "%s v%d.%d" of LNG_MAIN_TITLE and the program version

private:
    void BuildMenu();
    void OnAbout();
};
