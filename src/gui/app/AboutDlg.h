#pragma once

#include <QDialog>

class QLabel;

// The About box: program icon, two lines of text, the maker's web page link and OK.
class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDC_ABOUT_LINK = 1224;
    static constexpr int IDC_ABOUT_TEXT1 = 1225;
    static constexpr int IDC_ABOUT_TEXT2 = 1226;

    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* Text1() const { return m_text1; }
    QLabel* Text2() const { return m_text2; }
    QLabel* Link() const { return m_link; }

private:
    QLabel* m_text1;
    QLabel* m_text2;
    QLabel* m_link;
};
