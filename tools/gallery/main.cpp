// trv730-gallery OUTDIR: renders every drawn control in its typical states to
// OUTDIR/<name>-1x.png and OUTDIR/<name>-2x.png, for reviewing their look.

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QVBoxLayout>
#include <cstdio>
#include <functional>

#include "app/AppCore.h"
#include "app/Colors.h"
#include "controls/ColorRect.h"
#include "controls/ControlDrawing.h"
#include "controls/DialogUnits.h"
#include "controls/DlgToolBar.h"
#include "controls/GroupStatic.h"
#include "controls/IconIds.h"
#include "controls/StTabCtrl.h"
#include "controls/TemperatureBar.h"
#include "controls/WaitDlg.h"
#include "controls/XLabel.h"
#include "controls/XLed.h"
#include "controls/XListCtrl.h"
#include "controls/XProgressCtrl.h"
#include "language/Language.h"
#include "settings/Settings.h"
#include "views/CardChartCtrl.h"

namespace {

// English texts for the keys the gallery shows; every other key shows its name.
const char* const kTexts[][2] = {
    {"LNG_DEVICE_SIZE", "Size"},
    {"LNG_DEVICE_FREE", "Free"},
    {"LNG_DEVICE_USED", "Used"},
    {"LNG_DEVICE_PREFIX_BYTE", "B"},
    {"LNG_DEVICE_PREFIX_KB", "KB"},
    {"LNG_DEVICE_PREFIX_MB", "MB"},
    {"LNG_DEVICE_PREFIX_GB", "GB"},
    {"LNG_DEVICE_PREFIX_TB", "TB"},
    {"LNG_GLOB_NO_CARD", "No memory card"},
    {"LNG_GLOB_CODE", "Code"},
    {"LNG_GLOB_TEXT", "Text"},
    {"LNG_GLOB_TIME", "Time"},
    {"LNG_DEV_ERROR_1", "Memory card missing"},
    {"LNG_DEV_ERROR_2", "Memory card full"},
    {"LNG_DEV_ERROR_3", "Clock battery low"},
    {"LNG_DEV_ERROR_5", "Channel 1 overload"},
    {"LNG_DEV_ERROR_UNCNOWN", "Unknown error"},
    {"LNG_WAIT_TEXT1", "Please wait..."},
    {"LNG_TOOLBAR_FILES_RDF", "Files"},
    {"LNG_TOOLBAR_CONNECT", "Connect"},
    {"LNG_TOOLBAR_DISCONNECT", "Disconnect"},
    {"LNG_TOOLBAR_VIEW", "Graph"},
    {"LNG_TOOLBAR_ADD", "Add"},
    {"LNG_TOOLBAR_EDIT", "Edit"},
    {"LNG_TOOLBAR_DELETE", "Delete"},
    {"LNG_MAIN_NO_CONNECT_DEVICE", "No connection to the device"},
};

bool InstallLanguage(const QString& folder, CLanguage& language) {
    const QString path = QDir(folder).filePath(QStringLiteral("language.dat"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    QTextStream out(&f);
    out << "[language]\n";
    for (const auto& t : kTexts) out << t[0] << '=' << t[1] << '\n';
    f.close();
    if (!language.LoadFile(path)) return false;
    CLanguage::SetCurrent(&language);
    return true;
}

// The colours the program would give its controls: the running store, else the defaults.
const CSettings& AppSettings() {
    if (const CAppCore* app = CAppCore::Instance()) return app->Settings;
    static const CSettings defaults;
    return defaults;
}

// A sheet with a background, the controls laid out by the caller.
class Sheet : public QWidget {
public:
    explicit Sheet(const QSize& size, const QColor& back = ColorFromRef(AppSettings().WindowBackColor)) {
        setFixedSize(size);
        QPalette pal = palette();
        pal.setColor(QPalette::Window, back);
        setPalette(pal);
        setAutoFillBackground(true);
        setAttribute(Qt::WA_DontShowOnScreen);
    }
};

int g_failures = 0;

void Save(QWidget& w, const QString& dir, const QString& name, int scale) {
    w.show();
    QApplication::processEvents();
    const QImage img = w.grab().toImage();
    const QString path = QDir(dir).filePath(QStringLiteral("%1-%2x.png").arg(name).arg(scale));
    if (!img.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        ++g_failures;
    } else {
        std::printf("%s\n", qPrintable(path));
    }
    w.hide();
}

QColor Ref(quint32 ref) { return ColorFromRef(ref); }

void Labels(const QString& dir, int scale) {
    const CSettings& s = AppSettings();
    Sheet sheet(QSize(420, 200), QColor(70, 120, 170));
    auto add = [&sheet](const QRect& r) {
        auto* l = new CXLabel(&sheet);
        l->setGeometry(r);
        return l;
    };
    CXLabel* v = add(QRect(10, 10, 130, 26));
    v->SetColors(Ref(s.ValueTextColor), Ref(s.UnitTextColor), Ref(s.ValueBackColor));
    v->SetFontHeight(17);
    v->SetBold(true);
    v->SetText(QStringLiteral("230.4"));
    v->SetSecondText(QStringLiteral("V"));
    CXLabel* w = add(QRect(150, 10, 100, 22));
    w->SetColors(Ref(s.ValueTextColor), Ref(s.UnitTextColor), Ref(s.ValueBackColor));
    w->SetBold(true);
    w->SetText(QStringLiteral("49.98"));
    w->SetSecondText(QStringLiteral("Hz"));
    CXLabel* k = add(QRect(260, 10, 150, 26));
    k->SetColors(QColor(0, 0, 0), QColor(0, 0, 0), QColor(255, 255, 255));
    k->SetFontHeight(20);
    k->SetBold(true);
    k->SetText(QStringLiteral("BLACK"));
    k->SetSecondText(QStringLiteral("text"));
    CXLabel* r = add(QRect(10, 46, 260, 22));
    r->SetColors(Ref(s.ValueTextColor), Ref(s.UnitTextColor), Ref(s.ValueBackColor));
    r->SetText(QStringLiteral("01.02.2026 12:34:56"));
    CXLabel* empty = add(QRect(280, 46, 130, 22));
    empty->SetColors(Ref(s.ValueTextColor), Ref(s.UnitTextColor), Ref(s.ValueBackColor));
    CXLabel* banner = add(QRect(10, 80, 400, 110));
    banner->SetShape(CXLabel::kShapePlain);
    banner->SetColors(QColor(255, 0, 0), QColor(255, 0, 0), QColor(255, 204, 0));
    banner->SetFontHeight(60);
    banner->SetBold(true);
    banner->SetText(GetText(LNG_MAIN_NO_CONNECT_DEVICE).left(13));
    Save(sheet, dir, QStringLiteral("xlabel"), scale);
}

void Leds(const QString& dir, int scale) {
    Sheet sheet(QSize(270, 50));
    int x = 10;
    for (int mode : {0, 1}) {
        auto* led = new CXLed(&sheet);
        led->SetIcons(IDI_LAMP_GREEN, 16, 16, IDI_LAMP_RED, 16, 16);
        led->SetMode(mode);
        led->setGeometry(x, 10, 16, 16);
        x += 26;
    }
    struct Bar { int first; int mode; };
    const Bar bars[] = {{IDI_BAR_AMBER, 1}, {IDI_BAR_AMBER, 0}, {IDI_BAR_GREEN, 1}};
    for (int i = 0; i < 3; ++i) {
        auto* led = new CXLed(&sheet);
        led->SetIcons(bars[i].first, 88, 16, IDI_BAR_GREY, 88, 16);
        led->SetMode(bars[i].mode);
        led->setGeometry(i == 2 ? 166 : 70, i == 1 ? 30 : 10, 88, 16);
    }
    Save(sheet, dir, QStringLiteral("xled"), scale);
}

void Progress(const QString& dir, int scale) {
    Sheet sheet(QSize(260, 120));
    const QColor colors[] = {QColor(232, 178, 10), QColor(26, 142, 8), QColor(237, 33, 15), QColor(134, 99, 169),
                             CXProgressCtrl::kDefaultBarColor};
    const int positions[] = {0, 50, 140, 200, 260};
    for (int i = 0; i < 5; ++i) {
        auto* bar = new CXProgressCtrl(&sheet);
        bar->setGeometry(10, 10 + i * 21, 240, 14);
        bar->SetRange(0, 200);
        bar->SetBarColor(colors[i]);
        bar->SetPos(positions[i]);
    }
    Save(sheet, dir, QStringLiteral("xprogress"), scale);
}

void Thermometers(const QString& dir, int scale) {
    const CSettings& s = AppSettings();
    Sheet sheet(QSize(250, 160));
    struct T { float lower, upper, value; };
    const T cases[] = {{-50, 120, -50}, {-50, 120, 23.5f}, {-50, 120, 150}, {0, 40, 31}};
    for (int i = 0; i < 4; ++i) {
        auto* t = new CTemperatureBar(&sheet);
        t->setGeometry(10 + i * 60, 10, 48, 140);
        t->SetBackColor(Ref(s.ValueBackColor));
        t->SetScaleColor(Ref(s.CaptionTextColor));
        t->SetRange(cases[i].lower, cases[i].upper);
        t->SetValue(cases[i].value);
    }
    Save(sheet, dir, QStringLiteral("temperature"), scale);
}

void ColorRects(const QString& dir, int scale) {
    Sheet sheet(QSize(170, 40));
    const QColor colors[] = {QColor(255, 0, 0), QColor(0, 128, 255), QColor(0, 160, 0)};
    for (int i = 0; i < 3; ++i) {
        auto* c = new CColorRect(&sheet);
        c->setGeometry(10 + i * 52, 10, 44, 20);
        c->SetColor(colors[i]);
        c->setEnabled(i != 2);
    }
    Save(sheet, dir, QStringLiteral("colorrect"), scale);
}

void Groups(const QString& dir, int scale) {
    const CSettings& s = AppSettings();
    Sheet sheet(QSize(420, 140));
    auto* g = new CGroupStatic(&sheet, QStringLiteral("Phase 1"));
    g->setGeometry(8, 8, 200, 124);
    g->SetBackColor(Ref(s.WindowBackColor));
    g->SetTextColor(QColor(232, 178, 10));
    auto* v = new CXLabel(g);
    v->setGeometry(20, 40, 120, 22);
    v->SetColors(Ref(s.ValueTextColor), Ref(s.UnitTextColor), Ref(s.ValueBackColor));
    v->SetText(QStringLiteral("230.4"));
    v->SetSecondText(QStringLiteral("V"));
    auto* h = new CGroupStatic(&sheet, QStringLiteral("Line voltages"));
    h->setGeometry(214, 8, 198, 60);
    h->SetBackColor(Ref(s.WindowBackColor));
    h->SetTextColor(QColor(134, 99, 169));
    auto* e = new CGroupStatic(&sheet);
    e->setGeometry(214, 74, 198, 58);
    e->SetBackColor(Ref(s.WindowBackColor));
    e->SetTextColor(Ref(s.CaptionTextColor));
    Save(sheet, dir, QStringLiteral("groupstatic"), scale);
}

void Tabs(const QString& dir, int scale) {
    Sheet sheet(QSize(400, 90));
    auto* tabs = new CStTabCtrl(&sheet);
    tabs->setGeometry(4, 4, 392, 82);
    const char* names[] = {"Substation 1", "Feeder 2", "Pump house"};
    for (int i = 0; i < 3; ++i) {
        tabs->addTab(new QWidget, QString::fromLatin1(names[i]));
        tabs->SetTabImage(i, i);
    }
    Save(sheet, dir, QStringLiteral("sttabctrl"), scale);
}

void ErrorList(const QString& dir, int scale) {
    Sheet sheet(QSize(480, 150));
    auto* list = new CXListCtrl(&sheet);
    list->setGeometry(0, 0, 480, 150);
    list->SetColors(ColorFromRef(AppSettings().WindowBackColor), Qt::black);
    list->UpdateErrors(0x1 | 0x4, QTime(10, 15, 2));
    list->UpdateErrors(0x4, QTime(10, 16, 40));
    list->UpdateErrors(0x4 | 0x10 | 0x80000000u, QTime(11, 2, 9));
    Save(sheet, dir, QStringLiteral("xlistctrl"), scale);
}

void Toolbar(const QString& dir, int scale) {
    Sheet sheet(QSize(560, 80), QApplication::palette().color(QPalette::Window));
    auto* bar = new CDlgToolBar(&sheet);
    bar->SetIcons({IDI_TOOLBAR_FILES_RDF, IDI_TOOLBAR_CONNECT, IDI_TOOLBAR_DISCONNECT, IDI_TOOLBAR_LIVE_GRAPH,
                   IDI_TOOLBAR_ADD, IDI_TOOLBAR_EDIT, IDI_TOOLBAR_DELETE},
                  48, 32);
    bar->AddButton(32794, 0, GetText(LNG_TOOLBAR_FILES_RDF), QString());
    bar->AddSeparator();
    bar->AddButton(32787, 1, GetText(LNG_TOOLBAR_CONNECT), QString());
    bar->AddButton(32788, 2, GetText(LNG_TOOLBAR_DISCONNECT), QString());
    bar->AddButton(32806, 3, GetText(LNG_TOOLBAR_VIEW), QString());
    bar->AddSeparator();
    bar->AddButton(32784, 4, GetText(LNG_TOOLBAR_ADD), QString());
    bar->AddButton(32785, 5, GetText(LNG_TOOLBAR_EDIT), QString());
    bar->AddButton(32791, 6, GetText(LNG_TOOLBAR_DELETE), QString());
    bar->AddSeparator();
    bar->setGeometry(0, 0, 560, 80);
    // Disconnect and delete disabled, as for a device that is not connected and the only one.
    bar->SetUpdateRule([](int id) { return id != 32788 && id != 32791; });
    sheet.show();
    QApplication::processEvents();
    bar->UpdateButtons();
    Save(sheet, dir, QStringLiteral("dlgtoolbar"), scale);
}

void Wait(const QString& dir, int scale) {
    CWaitDlg dlg;
    dlg.Show();
    Save(dlg, dir, QStringLiteral("waitdlg"), scale);
    dlg.Hide();
}

void Charts(const QString& dir, int scale) {
    const CSettings& s = AppSettings();
    Sheet sheet(QSize(4 * 190 + 10, 150));
    struct C { double size, free; int present; };
    const C cases[] = {{8589934592.0, 6442450944.0, 1}, {1e9, 1e9, 1}, {4e9, 3.9e9, 1}, {0, 0, 0}};
    for (int i = 0; i < 4; ++i) {
        auto* c = new CCardChartCtrl(&sheet);
        c->setGeometry(10 + i * 190, 10, 183, 130);
        c->SetBackColor(Ref(s.WindowBackColor));
        c->SetTextColor(Ref(s.CaptionTextColor));
        c->SetValues(cases[i].size, cases[i].free);
        c->SetCardPresent(cases[i].present);
    }
    Save(sheet, dir, QStringLiteral("cardchart"), scale);
}

// Every icon at its own size on a light and a dark stripe.
class IconSheet : public QWidget {
public:
    IconSheet() {
        setFixedSize(520, 120);
        setAttribute(Qt::WA_DontShowOnScreen);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(QRect(0, 0, width(), 60), QColor(240, 240, 240));
        p.fillRect(QRect(0, 60, width(), 60), QColor(60, 64, 70));
        struct I { int id; int w; int h; };
        const I icons[] = {{IDI_TAB_DARK, 8, 8}, {IDI_TAB_RED, 8, 8}, {IDI_TAB_GREEN, 8, 8}, {IDI_LIST_OK, 16, 16},
                           {IDI_LIST_ERROR, 16, 16}, {IDI_LAMP_GREEN, 16, 16}, {IDI_LAMP_RED, 16, 16},
                           {IDI_WAIT, 32, 32}, {IDI_BAR_AMBER, 88, 16}, {IDI_BAR_GREEN, 88, 16}, {IDI_BAR_GREY, 88, 16}};
        const qreal dpr = p.device()->devicePixelRatioF();
        for (int row = 0; row < 2; ++row) {
            int x = 8;
            for (const I& i : icons) {
                const QPixmap pm = ControlDrawing::SvgPixmap(IconPath(i.id), QSize(i.w, i.h), dpr);
                p.drawPixmap(x, row * 60 + 30 - i.h / 2, pm);
                x += i.w + 8;
            }
        }
    }
};

class ToolbarIconSheet : public QWidget {
public:
    ToolbarIconSheet() {
        setFixedSize(7 * 56 + 8, 96);
        setAttribute(Qt::WA_DontShowOnScreen);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(QRect(0, 0, width(), 48), QColor(240, 240, 240));
        p.fillRect(QRect(0, 48, width(), 48), QColor(60, 64, 70));
        const int ids[] = {IDI_TOOLBAR_FILES_RDF, IDI_TOOLBAR_CONNECT, IDI_TOOLBAR_DISCONNECT, IDI_TOOLBAR_LIVE_GRAPH,
                           IDI_TOOLBAR_ADD, IDI_TOOLBAR_EDIT, IDI_TOOLBAR_DELETE};
        const qreal dpr = p.device()->devicePixelRatioF();
        for (int row = 0; row < 2; ++row)
            for (int i = 0; i < 7; ++i)
                p.drawPixmap(8 + i * 56, row * 48 + 8, ControlDrawing::SvgPixmap(IconPath(ids[i]), QSize(48, 32), dpr));
    }
};

int RenderAll(const QString& dir, int scale) {
    CLanguage language;
    QTemporaryDir temp;
    if (!temp.isValid() || !InstallLanguage(temp.path(), language)) {
        std::fprintf(stderr, "cannot prepare the gallery's texts\n");
        return 1;
    }
    Labels(dir, scale);
    Leds(dir, scale);
    Progress(dir, scale);
    Thermometers(dir, scale);
    ColorRects(dir, scale);
    Groups(dir, scale);
    Tabs(dir, scale);
    ErrorList(dir, scale);
    Toolbar(dir, scale);
    Wait(dir, scale);
    Charts(dir, scale);
    IconSheet icons;
    Save(icons, dir, QStringLiteral("icons"), scale);
    ToolbarIconSheet toolbarIcons;
    Save(toolbarIcons, dir, QStringLiteral("toolbar-icons"), scale);
    CLanguage::SetCurrent(nullptr);
    return g_failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    // "OUTDIR" renders both scales, each in a process of its own (the scale is fixed when
    // the application starts); "OUTDIR --scale N" renders one.
    if (argc == 2) {
        QCoreApplication core(argc, argv);
        const QString dir = QString::fromLocal8Bit(argv[1]);
        if (!QDir().mkpath(dir)) {
            std::fprintf(stderr, "cannot create %s\n", argv[1]);
            return 1;
        }
        int status = 0;
        for (const char* scale : {"1", "2"}) {
            if (QProcess::execute(QCoreApplication::applicationFilePath(),
                                  {dir, QStringLiteral("--scale"), QString::fromLatin1(scale)}) != 0)
                status = 1;
        }
        return status;
    }
    if (argc != 4 || QByteArray(argv[2]) != "--scale") {
        std::fprintf(stderr, "usage: trv730-gallery OUTDIR\n");
        return 2;
    }
    const int scale = QByteArray(argv[3]).toInt();
    if (scale < 1 || scale > 4) {
        std::fprintf(stderr, "scale must be 1 to 4\n");
        return 2;
    }
    qputenv("QT_SCALE_FACTOR", QByteArray::number(scale));
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return RenderAll(QString::fromLocal8Bit(argv[1]), scale);
}
