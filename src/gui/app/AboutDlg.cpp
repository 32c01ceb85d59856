#include "app/AboutDlg.h"

#include <QDesktopServices>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

#include "app/AppInfo.h"
#include "app/Colors.h"
#include "controls/DialogUnits.h"
#include "language/Language.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(GetText(LNG_ABOUT_TITLE));
    ApplySharedDialogColors(this);
    const DialogUnits du = DialogUnits::ForDialogFont();

    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/icons/app.svg")).pixmap(32, 32));
    icon->setGeometry(du.Rect(10, 10, 21, 20));

    m_text1 = new QLabel(GetText(LNG_ABOUT_TEXT1), this);
    m_text1->setObjectName(QStringLiteral("1225"));
    m_text1->setGeometry(du.Rect(40, 10, 160, 8));
    m_text2 = new QLabel(GetText(LNG_ABOUT_TEXT2), this);
    m_text2->setObjectName(QStringLiteral("1226"));
    m_text2->setGeometry(du.Rect(40, 22, 160, 8));

    const QString site = QString::fromLatin1(AppInfo::kMakerWebSite);
    m_link = new QLabel(this);
    m_link->setObjectName(QStringLiteral("1224"));
    m_link->setTextFormat(Qt::RichText);
    QString shown = site;
    shown.remove(QStringLiteral("https://")).remove(QStringLiteral("http://"));
    if (shown.endsWith(u'/')) shown.chop(1);
    m_link->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(site.toHtmlEscaped(), shown.toHtmlEscaped()));
    m_link->setGeometry(du.Rect(40, 44, 105, 10));
    connect(m_link, &QLabel::linkActivated, this,
            [](const QString& url) { QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode)); });

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setDefault(true);
    ok->setGeometry(du.Rect(150, 43, 50, 14));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(du.Size(207, 63));
}
