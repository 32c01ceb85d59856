#include "views/DinGraphDlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>

#include "app/AppCore.h"
#include "app/Colors.h"
#include "common/Check.h"
#include "controls/ColorRect.h"
#include "controls/CtrlResize.h"
#include "controls/CoefficientEdit.h"
#include "controls/DialogUnits.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "livegraph/LiveCoefficient.h"
#include "settings/Settings.h"
#include "indicators/AnchorLayout.h"
#include "views/DinGraph.h"
#include "views/GraphStateEvent.h"

namespace {

constexpr int kDinClientWidth = 501;  // dialog units
constexpr int kDinClientHeight = 334;
constexpr int kRowTop[CDinGraphDlg::kRows] = {235, 251, 267, 283, 299, 315};
constexpr int kHeadingTop = 218;

}  // namespace

CDinGraphDlg::CDinGraphDlg(QWidget* parent)
    : QWidget(parent, Qt::Window), m_app(CAppCore::Instance()), m_quantities(CQuantityTable::Build()) {
    if (!m_app) {
        TRV730_PROGRAMMING_ERROR("live graph window without the application object");
        m_ownSettings = std::make_unique<CSettings>();
    }
    setObjectName(QStringLiteral("146"));
    ApplySharedDialogColors(this);
    BuildControls();
    LoadRowSettings();
    // The window's size at start is the smallest it may become.
    setMinimumSize(size());
    PlaceOnTop(Settings().LiveGraphTopmost != 0);
    // Created hidden: the main window's view command is the first thing that shows it.
}

CDinGraphDlg::~CDinGraphDlg() = default;

CSettings& CDinGraphDlg::Settings() { return m_app ? m_app->Settings : *m_ownSettings; }

void CDinGraphDlg::SaveSettings() {
    // A failed save is not this window's to report; the values stay in use.
    if (m_app) m_app->SaveSettings();
}

void CDinGraphDlg::BuildControls() {
    const DialogUnits du = DialogUnits::ForDialogFont();
    setWindowTitle(GetText(LNG_DINGR_TITLE));
    resize(du.Size(kDinClientWidth, kDinClientHeight));
    m_resize = new CCtrlResize(this);
    m_resize->Attach(this);

    // The graph stretches with the window; everything else keeps its distance to the
    // right and bottom edges.
    auto place = [&](QWidget* w, int id, QRect r, bool stretch = false) {
        w->setObjectName(QString::number(id));
        w->setGeometry(r);
        m_resize->AddControl(w, stretch ? kAnchorTop | kAnchorLeft | kAnchorRight | kAnchorBottom
                                        : kAnchorRight | kAnchorBottom,
                             id);
    };

    m_graph = new CDinGraph(this);
    place(m_graph, IDC_GRAPH, du.Rect(7, 7, 487, 206), true);

    // Headings centred over their columns.
    struct Heading {
        int id, key, x, width;
    };
    const Heading headings[] = {{IDC_HEAD_ONOFF, LNG_DINGR_ONOFF, 174, 58},
                                {IDC_HEAD_CHANNEL, LNG_DINGR_CHANNEL, 272, 89},
                                {IDC_HEAD_COEFFICIENT, LNG_DINGR_KF, 417, 46},
                                {IDC_HEAD_COLOR, LNG_DINGR_COLOR, 461, 27}};
    for (const Heading& h : headings) {
        auto* label = new QLabel(GetText(h.key), this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        place(label, h.id, du.Rect(h.x, kHeadingTop, h.width, 10));
    }

    for (int row = 0; row < kRows; ++row) {
        Row& r = m_rows[size_t(row)];
        const RowIds& ids = kRowIds[size_t(row)];
        const int y = kRowTop[row];
        r.check = new QCheckBox(this);
        place(r.check, ids.check, du.Rect(198, y, 10, 10));
        r.list = new QComboBox(this);
        r.list->setMaxVisibleItems(20);
        place(r.list, ids.list, du.Rect(220, y, 193, 14));
        r.coefficient = new QLineEdit(this);
        r.coefficient->setAlignment(Qt::AlignCenter);
        place(r.coefficient, ids.coefficient, du.Rect(418, y, 44, 14));
        r.swatch = new CColorRect(this);
        r.swatch->installEventFilter(this);  // a double click chooses the colour
        place(r.swatch, ids.swatch, du.Rect(466, y, 17, 14));

        connect(r.check, &QCheckBox::clicked, this, [this, row] { OnCheckClicked(row); });
        connect(r.coefficient, &QLineEdit::textEdited, this, [this, row] { OnCoefficientEdited(row); });
        connect(r.list, &QComboBox::activated, this, [this, row](int index) { OnListActivated(row, index); });
    }

    m_clear = new QPushButton(GetText(LNG_DINGR_CLEAR_GRAPH), this);
    place(m_clear, IDC_CLEAR, du.Rect(40, 255, 104, 14));
    connect(m_clear, &QPushButton::clicked, this, &CDinGraphDlg::ClearGraph);

    m_topmost = new QCheckBox(GetText(LNG_DINGR_ONTOP), this);
    place(m_topmost, IDC_ONTOP, du.Rect(40, 284, 110, 10));
    connect(m_topmost, &QCheckBox::clicked, this, &CDinGraphDlg::OnTopmostClicked);
    m_resize->Fix();
}

void CDinGraphDlg::LoadRowSettings() {
    const CSettings& s = Settings();
    for (int row = 0; row < kRows; ++row) {
        Row& r = m_rows[size_t(row)];
        // The stored values are kept to the editor's rules even if the file says otherwise.
        r.coefficientValue = LiveCoefficient::Normalise(s.LiveCoef[row]);
        r.colour = s.LiveColor[row] & 0x00FFFFFFu;
        r.shown = s.LiveSeriesOn[row] != 0;
        r.coefficient->setText(LiveCoefficient::Text(r.coefficientValue));
        r.swatch->SetColor(ColorFromRef(r.colour));
        r.check->setChecked(r.shown);

        const int series = m_graph->AddSeries(QString::number(row + 1), r.colour);
        m_graph->SetSeriesEnabled(series, r.shown);
        m_graph->SetSeriesCoefficient(series, float(r.coefficientValue));
        EnableRow(row);
    }
    m_topmost->setChecked(s.LiveGraphTopmost != 0);
}

void CDinGraphDlg::EnableRow(int row) {
    Row& r = m_rows[size_t(row)];
    const bool on = r.check->isChecked();
    r.list->setEnabled(on);
    r.coefficient->setEnabled(on);
    r.swatch->setEnabled(on);
}

void CDinGraphDlg::AddPoint(SourceCode code, qint32 raw) {
    const CLiveSourceList::OfferResult offer = m_sources.Offer(code);
    if (offer.index < 0) return;
    if (offer.added) {
        const QString name = m_quantities.SeriesName(code);
        for (int row = 0; row < kRows; ++row) {
            QComboBox* list = m_rows[size_t(row)].list;
            list->addItem(name);
            const int selection = m_sources.Selection(row);
            if (list->currentIndex() != selection) list->setCurrentIndex(selection);
        }
    }
    const float value = float(raw) / float(CQuantityTable::DivisorOf(code));
    for (int row = 0; row < kRows; ++row)
        if (m_sources.RowShows(row, code)) m_graph->SetSeriesValue(row, value);
}

void CDinGraphDlg::ClearGraph() {
    for (int row = 0; row < kRows; ++row) m_graph->ClearSeries(row);
}

void CDinGraphDlg::SetDeviceName(const QString& name) {
    setWindowTitle(GetText(LNG_DINGR_TITLE) + QStringLiteral(" (") + name + QLatin1Char(')'));
}

void CDinGraphDlg::ShowForDevice(const QString& deviceName, bool topmost) {
    SetDeviceName(deviceName);
    showNormal();
    PlaceOnTop(topmost);
    raise();
    activateWindow();
}

void CDinGraphDlg::SetRowColor(int row, quint32 colour) {
    if (row < 0 || row >= kRows) return;
    Row& r = m_rows[size_t(row)];
    r.swatch->SetColor(ColorFromRef(colour));
    if (colour == r.colour) return;
    r.colour = colour;
    Settings().LiveColor[row] = colour;
    SaveSettings();
    m_graph->SetSeriesColor(row, colour);
}

void CDinGraphDlg::OnCheckClicked(int row) {
    Row& r = m_rows[size_t(row)];
    const bool shown = r.check->isChecked();
    if (shown != r.shown) {
        r.shown = shown;
        Settings().LiveSeriesOn[row] = shown ? 1 : 0;
        SaveSettings();
        m_graph->SetSeriesEnabled(row, shown);
    }
    EnableRow(row);
    update();
}

void CDinGraphDlg::OnCoefficientEdited(int row) {
    Row& r = m_rows[size_t(row)];
    const double value = ApplyCoefficientEdit(r.coefficient, r.coefficientValue);

    if (value != r.coefficientValue) {
        r.coefficientValue = value;
        Settings().LiveCoef[row] = value;
        SaveSettings();
        m_graph->SetSeriesCoefficient(row, float(value));
    }
}

void CDinGraphDlg::OnSwatchDoubleClicked(int row) {
    CColorRect* swatch = m_rows[size_t(row)].swatch;
    if (swatch->isEnabled() && swatch->ChooseColor()) SetRowColor(row, RefFromColor(swatch->GetColor()));
}

void CDinGraphDlg::OnListActivated(int row, int index) {
    // The row's line restarts with its new source; the other rows keep theirs.
    if (m_sources.Select(row, index)) m_graph->ClearSeries(row);
}

void CDinGraphDlg::OnTopmostClicked() {
    const bool onTop = m_topmost->isChecked();
    if (int(onTop) != Settings().LiveGraphTopmost) {
        Settings().LiveGraphTopmost = onTop ? 1 : 0;
        SaveSettings();
    }
    PlaceOnTop(onTop);
}

bool CDinGraphDlg::IsTopmost() const { return windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

void CDinGraphDlg::PlaceOnTop(bool onTop) {
    if (IsTopmost() == onTop) return;
    // Changing the flag re-creates the platform window; it goes back where it was.
    const bool visible = isVisible();
    const QRect frame = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) {
        setGeometry(frame);
        show();
    }
}

bool CDinGraphDlg::event(QEvent* event) {
    if (event->type() == CGraphStateEvent::kType) {
        switch (static_cast<CGraphStateEvent*>(event)->State()) {
            case kGraphStateConnect:
                m_graph->Start();
                break;
            case kGraphStateDisconnect:
                m_graph->Stop();
                break;
            case kGraphStateStop:
                m_graph->Stop();
                hide();
                break;
            default:
                break;
        }
        return true;
    }
    return QWidget::event(event);
}

bool CDinGraphDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int row = 0; row < kRows; ++row) {
            if (watched == m_rows[size_t(row)].swatch) {
                OnSwatchDoubleClicked(row);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CDinGraphDlg::closeEvent(QCloseEvent* event) {
    // The close box only hides: the lines go on while the window is away.
    hide();
    event->ignore();
}

void CDinGraphDlg::resizeEvent(QResizeEvent* event) {
    // The layout object has moved the controls; the whole window repaints at once.
    QWidget::resizeEvent(event);
    update();
}
