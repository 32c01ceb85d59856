#include "rdf/RdfGraphDlg.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include "app/AppCore.h"
#include "app/AppInfo.h"
#include "app/Colors.h"
#include "app/MessageBox.h"
#include "common/Check.h"
#include "controls/ColorRect.h"
#include "controls/CtrlResize.h"
#include "controls/CoefficientEdit.h"
#include "controls/DialogUnits.h"
#include "controls/DlgToolBar.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "language/TextFormat.h"
#include "livegraph/LiveCoefficient.h"
#include "rdf/RdfDialogFilter.h"
#include "rdf/RdfExportRunner.h"
#include "rdf/RdfGraphPointer.h"
#include "rdf/RdfGraphPainter.h"
#include "rdf/RdfGraphWidget.h"
#include "rdf/RdfOpenProgress.h"
#include "rdf/RdfPrintCommand.h"
#include "rdf/RdfSettingsDlg.h"
#include "settings/Settings.h"
#include "indicators/AnchorLayout.h"

namespace {

constexpr int kRdfClientWidth = 627;  // dialog units
constexpr int kRdfClientHeight = 374;
constexpr int kGraphHeight = 259;
constexpr int kHeadTop = 263;
constexpr int kRowTop = 275;
constexpr int kRowStep = 16;
constexpr int kButton = 32;  // pixels
constexpr int kImage = 24;

struct ToolButton {
    int command;
    const char* image;
    int tooltip;
    bool separatorAfter;
};
constexpr ToolButton kToolButtons[] = {
    {CRdfGraphDlg::ID_OPEN_FILE, "open", LNG_TOOLBAR_OPEN_FILE, false},
    {CRdfGraphDlg::ID_CLOSE_FILE, "close", LNG_TOOLBAR_CLOSE_FILE, true},
    {CRdfGraphDlg::ID_PRINT, "print", LNG_TOOLBAR_PRINT, false},
    {CRdfGraphDlg::ID_EXPORT, "export", LNG_TOOLBAR_EXPORT, true},
    {CRdfGraphDlg::ID_SETTINGS, "settings", LNG_TOOLBAR_CONFIG, true},
    {CRdfGraphDlg::ID_SHIFT_LEFT, "shift_left", LNG_TOOLBAR_SHIFT_LEFT, false},
    {CRdfGraphDlg::ID_SHIFT_RIGHT, "shift_right", LNG_TOOLBAR_SHIFT_RIGHT, true},
    {CRdfGraphDlg::ID_ZOOM_IN, "zoom_in", LNG_TOOLBAR_ZOOM_IN, false},
    {CRdfGraphDlg::ID_ZOOM_OUT, "zoom_out", LNG_TOOLBAR_ZOOM_OUT, false},
    {CRdfGraphDlg::ID_ZOOM_SELECTION, "zoom_selection", LNG_TOOLBAR_ZOOM_MAN, false},
    {CRdfGraphDlg::ID_ZOOM_ALL, "zoom_all", LNG_TOOLBAR_ZOOM_DEF, true},
    {CRdfGraphDlg::ID_RULER, "ruler", LNG_TOOLBAR_RULE, true},
};

QIcon RdfIcon(const char* name) {
    return QIcon(QStringLiteral(":/icons/rdf/") + QLatin1String(name) + QStringLiteral(".svg"));
}

}  // namespace

// Hands the loader's reports (on its thread) to the window's thread.
class CRdfGraphDlg::LoadListener : public CRdfFileLoader::IListener {
public:
    explicit LoadListener(CRdfGraphDlg* window) : m_window(window) {}
    void OnLoadProgress(int fileIndex, int fileCount, std::uint64_t done, std::uint64_t total) override {
        QMetaObject::invokeMethod(
            m_window, [w = m_window, fileIndex, fileCount, done, total] { w->OnLoadProgress(fileIndex, fileCount, done, total); },
            Qt::QueuedConnection);
    }
    void OnLoadFinished() override {
        QMetaObject::invokeMethod(m_window, [w = m_window] { w->OnLoadFinished(); }, Qt::QueuedConnection);
    }

private:
    CRdfGraphDlg* m_window;
};

CRdfGraphDlg::CRdfGraphDlg(QWidget* parent)
    : QWidget(parent, Qt::Window), m_app(CAppCore::Instance()), m_quantities(CQuantityTable::Build()),
      m_listener(std::make_unique<LoadListener>(this)) {
    if (!m_app) {
        TRV730_PROGRAMMING_ERROR("recorded-data window without the application object");
        m_ownSettings = std::make_unique<CSettings>();
    }
    setObjectName(QString::number(IDD));
    setAttribute(Qt::WA_DeleteOnClose, false);
    ApplySharedDialogColors(this);
    setWindowIcon(RdfIcon("window"));
    BuildControls();
    // The first size is the smallest.
    setMinimumSize(size());
    Reset();
    for (int row = 0; row < kRows; ++row) OnCoefficientEdited(row);
    setWindowTitle(GetText(LNG_RDF_TITLE));
}

CRdfGraphDlg::~CRdfGraphDlg() {
    // The loader's and the export's threads read this window's set: they end before it goes.
    m_loader.Cancel();
    m_loader.Wait();
    m_export->Abandon();
}

CSettings& CRdfGraphDlg::Settings() { return m_app ? m_app->Settings : *m_ownSettings; }

void CRdfGraphDlg::SaveSettings() {
    // A failed save is not this window's to report; the values stay in use.
    if (m_app) m_app->SaveSettings();
}

void CRdfGraphDlg::BuildControls() {
    const DialogUnits du = DialogUnits::ForDialogFont();
    resize(du.Size(kRdfClientWidth, kRdfClientHeight));
    m_resize = new CCtrlResize(this);
    m_resize->Attach(this);
    const auto place = [&](QWidget* w, int id, const QRect& r, int anchors) {
        if (id) w->setObjectName(QString::number(id));
        w->setGeometry(r);
        m_resize->AddControl(w, anchors, id);
    };
    constexpr int kStretch = kAnchorTop | kAnchorLeft | kAnchorRight | kAnchorBottom;
    constexpr int kBottomLeft = kAnchorLeft | kAnchorBottom;
    constexpr int kBottomRight = kAnchorRight | kAnchorBottom;

    m_graph = new CRdfGraphWidget(this);
    place(m_graph, IDC_GRAPH, du.Rect(0, 0, kRdfClientWidth, kGraphHeight), kStretch);
    m_graph->SetRenderer([this](QImage& buffer) {
        const auto rows = m_rows.DrawRows();
        m_plot = RdfGraphPainter::RenderGraph(buffer, m_loaded ? &m_set : nullptr, rows, m_view, m_range, GraphStyle())
                     .geometry.plot;
    });
    m_pointer = new CRdfGraphPointer(
        m_graph, m_quantities,
        [this] {
            RdfGraphViewState s;
            s.loaded = m_loaded;
            s.plot = m_plot;
            s.view = m_view;
            s.data = m_data;
            s.range = m_range;
            s.rows = m_rows.DrawRows();
            const CSettings& settings = m_app ? m_app->Settings : *m_ownSettings;
            for (int i = 0; i < kRows; ++i) s.colors[size_t(i)] = ColorFromRef(settings.RdfColor[i] & 0x00FFFFFFu);
            s.dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
            return s;
        },
        [this](TimeRange view) { SetView(view); });
    m_export = new CRdfExportRunner(this);
    connect(m_export, &CRdfExportRunner::Finished, this, [this] { m_toolbar->UpdateButtons(); });

    // The toolbar sits where the layout's placeholder is.
    const QRect toolRect = du.Rect(4, kHeadTop, 300, 20);
    m_toolbar = new CDlgToolBar(this);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    m_toolbar->setIconSize(QSize(kImage, kImage));
    m_toolbar->SetButtonSize(QSize(kButton, kButton));
    for (const ToolButton& b : kToolButtons) {
        QAction* a = m_toolbar->AddButton(b.command, -1, QString(), GetText(b.tooltip));
        a->setIcon(RdfIcon(b.image));
        if (b.command == ID_ZOOM_SELECTION || b.command == ID_RULER) a->setCheckable(true);
        if (QWidget* w = m_toolbar->widgetForAction(a)) w->setFixedSize(kButton, kButton);
        if (b.separatorAfter) m_toolbar->AddSeparator();
    }
    m_toolbar->SetUpdateRule([this](int command) {
        if (QAction* a = m_toolbar->Button(command); a && a->isCheckable()) a->setChecked(IsCommandChecked(command));
        return IsCommandEnabled(command);
    });
    connect(m_toolbar, &CDlgToolBar::CommandTriggered, this, &CRdfGraphDlg::RunCommand);
    place(m_toolbar, IDC_TOOLBAR, QRect(toolRect.topLeft(), QSize(toolRect.width(), kButton + 4)), kBottomLeft);

    // The statistics frame and its five lines under the toolbar.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    const int frameTop = kHeadTop + 24;
    place(frame, IDC_STAT_FRAME, du.Rect(4, frameTop, 250, kRdfClientHeight - frameTop - 4), kBottomLeft);
    for (int i = 0; i < 5; ++i) {
        m_stats[size_t(i)] = new QLabel(this);
        place(m_stats[size_t(i)], IDC_STAT_FIRST + i, du.Rect(10, frameTop + 5 + 12 * i, 240, 10), kBottomLeft);
    }

    struct Heading {
        int id, key, x, width;
    };
    const Heading headings[] = {{IDC_HEAD_ON, LNG_RDF_EN_NAME, 300, 24},
                                {IDC_HEAD_DATA, LNG_RDF_DATA_NAME, 326, 196},
                                {IDC_HEAD_COEFFICIENT, LNG_RDF_EDIT_KF_NAME, 526, 48},
                                {IDC_HEAD_COLOR, LNG_RDF_COLOR_NAME, 578, 40}};
    for (const Heading& h : headings) {
        auto* label = new QLabel(GetText(h.key), this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        place(label, h.id, du.Rect(h.x, kHeadTop, h.width, 10), kBottomRight);
    }
    for (int row = 0; row < kRows; ++row) {
        RowWidgets& r = m_rowWidgets[size_t(row)];
        const RowIds& ids = kRowIds[row];
        const int y = kRowTop + kRowStep * row;
        r.check = new QCheckBox(this);
        place(r.check, ids.check, du.Rect(308, y + 2, 10, 10), kBottomRight);
        r.list = new QComboBox(this);
        r.list->setMaxVisibleItems(20);
        place(r.list, ids.list, du.Rect(326, y, 196, 14), kBottomRight);
        r.coefficient = new QLineEdit(this);
        r.coefficient->setAlignment(Qt::AlignCenter);
        place(r.coefficient, ids.coefficient, du.Rect(526, y, 48, 14), kBottomRight);
        r.swatch = new CColorRect(this);
        r.swatch->installEventFilter(this);  // a double click chooses the colour
        place(r.swatch, ids.swatch, du.Rect(582, y, 32, 14), kBottomRight);
        r.swatch->SetColor(ColorFromRef(Settings().RdfColor[row] & 0x00FFFFFFu));

        connect(r.check, &QCheckBox::clicked, this, [this, row] { OnCheckClicked(row); });
        connect(r.list, &QComboBox::activated, this, [this, row](int index) { OnListActivated(row, index); });
        connect(r.coefficient, &QLineEdit::textEdited, this, [this, row] { OnCoefficientEdited(row); });
    }
    m_resize->Fix();
}

RdfGraphStyle CRdfGraphDlg::GraphStyle() const {
    const CSettings& s = m_app ? m_app->Settings : *m_ownSettings;
    RdfGraphStyle style;
    for (int i = 0; i < kRows; ++i) style.seriesColors[size_t(i)] = ColorFromRef(s.RdfColor[i] & 0x00FFFFFFu);
    style.lineWidth = s.RdfLineWidth;
    style.markerSize = s.RdfMarkerSize;
    style.dataMarkers = s.RdfDataMarkers != 0;
    style.eventMarkers = s.RdfEventMarkers != 0;
    style.dpi = logicalDpiY() > 0 ? logicalDpiY() : 96;
    style.eventText = GetText(LNG_RDF_EVT);
    style.infoTitle = GetText(LNG_RDF_INFO_TITLE);
    style.webAddress = QString::fromLatin1(AppInfo::kMakerWebSite);
    return style;
}

void CRdfGraphDlg::RenderGraph() { m_graph->Render(); }

// ---- state shown in the controls ----

void CRdfGraphDlg::Reset() {
    m_set.Reset();
    m_rows.Reset();
    m_loaded = false;
    m_data = {};
    m_view = {};
    m_range = {};
    m_plot = {};
    m_pointer->Pointer().Reset();
    m_pointer->Stop();
    ShowStatistics();
    ShowRows();
}

void CRdfGraphDlg::ShowRows() {
    QStringList names;
    for (SourceCode code : m_rows.Entries()) names << m_quantities.SeriesName(code);
    for (int row = 0; row < kRows; ++row) {
        const CRdfSeriesRows::Row& state = m_rows.At(row);
        RowWidgets& r = m_rowWidgets[size_t(row)];
        if (r.list->count() != names.size()) {
            r.list->clear();
            r.list->addItems(names);
        }
        r.list->setCurrentIndex(state.selection);
        r.check->setChecked(state.on);
        r.check->setEnabled(state.checkEnabled);
        r.list->setEnabled(state.on);
        r.coefficient->setEnabled(state.on);
        r.swatch->setEnabled(state.on);
        if (LiveCoefficient::ParseLeading(r.coefficient->text()) != state.coefficient)
            r.coefficient->setText(LiveCoefficient::Text(state.coefficient));
    }
}

QStringList CRdfGraphDlg::StatisticsLines() const {
    QStringList lines;
    for (const QLabel* l : m_stats) lines << l->text();
    return lines;
}

void CRdfGraphDlg::ShowStatistics() {
    const std::array<QString, 5> labels = {GetText(LNG_RDF_COUNT_OPEN_FILES), GetText(LNG_RDF_COUNT_RECORDS),
                                           GetText(LNG_RDF_COUNT_EVENTS), GetText(LNG_RDF_START_TIME),
                                           GetText(LNG_RDF_STOP_TIME)};
    const QStringList lines = RdfStatisticsLines(m_set, labels);
    for (int i = 0; i < 5; ++i) m_stats[size_t(i)]->setText(lines.value(i));
}

void CRdfGraphDlg::RecomputeRange() {
    const auto rows = m_rows.Selections();
    m_range = ComputeValueRange(m_set, rows);
}

void CRdfGraphDlg::SetView(TimeRange view) {
    if (!m_loaded || view.end < view.start || view == m_view) return;
    m_view = view;
    RenderGraph();
    m_toolbar->UpdateButtons();
}

const CRdfPointer& CRdfGraphDlg::PointerState() const { return m_pointer->Pointer(); }

RdfOverlayModel CRdfGraphDlg::Overlay() const { return m_pointer->Overlay(); }

bool CRdfGraphDlg::IsExporting() const { return m_export->IsRunning(); }

// ---- commands ----

bool CRdfGraphDlg::IsCommandEnabled(int command) const {
    if (m_opening || m_export->IsRunning()) return false;
    const CRdfPointer& pointer = m_pointer->Pointer();
    const ViewCommandState s = ViewCommandAvailability(m_loaded, m_set.FileCount(), m_view, m_data,
                                                       pointer.SelectionMode(), pointer.RulerMode());
    switch (command) {
    case ID_OPEN_FILE:
    case ID_SETTINGS: return true;
    case ID_CLOSE_FILE: return s.closeFile;
    case ID_PRINT:
    case ID_EXPORT: return s.printExport;
    case ID_SHIFT_LEFT: return s.shiftLeft;
    case ID_SHIFT_RIGHT: return s.shiftRight;
    case ID_ZOOM_IN: return s.zoomIn;
    case ID_ZOOM_OUT: return s.zoomOut;
    case ID_ZOOM_ALL: return s.wholeRange;
    case ID_ZOOM_SELECTION: return s.zoomBySelection;
    case ID_RULER: return s.ruler;
    default: return false;
    }
}

bool CRdfGraphDlg::IsCommandChecked(int command) const {
    if (command == ID_ZOOM_SELECTION) return m_pointer->Pointer().SelectionMode();
    if (command == ID_RULER) return m_pointer->Pointer().RulerMode();
    return false;
}

void CRdfGraphDlg::RunCommand(int command) {
    if (!IsCommandEnabled(command)) {
        m_toolbar->UpdateButtons();
        return;
    }
    switch (command) {
    case ID_OPEN_FILE: OnOpenCommand(); break;
    case ID_CLOSE_FILE: OnCloseCommand(); break;
    case ID_SETTINGS: OnSettingsCommand(); break;
    case ID_PRINT: RunRdfPrintCommand(*this); break;
    case ID_SHIFT_LEFT: SetView(ViewWindow::ShiftLeft(m_view, m_data)); break;
    case ID_SHIFT_RIGHT: SetView(ViewWindow::ShiftRight(m_view, m_data)); break;
    case ID_ZOOM_IN: SetView(ViewWindow::ZoomIn(m_view)); break;
    case ID_ZOOM_OUT: SetView(ViewWindow::ZoomOut(m_view, m_data)); break;
    case ID_ZOOM_ALL: SetView(m_data); break;
    case ID_ZOOM_SELECTION:
    case ID_RULER: SetMode(command); break;
    case ID_EXPORT: OnExportCommand(); break;
    default: break;  // printing arrives with its own window
    }
    m_toolbar->UpdateButtons();
}

void CRdfGraphDlg::SetMode(int command) {
    CRdfPointer& pointer = m_pointer->Pointer();
    if (command == ID_ZOOM_SELECTION) pointer.SetSelectionMode(!pointer.SelectionMode());
    if (command == ID_RULER) pointer.SetRulerMode(!pointer.RulerMode());
    m_pointer->ModesChanged();
}

void CRdfGraphDlg::OnExportCommand() {
    // The save dialog starts where the files came from.
    const QString folder = m_set.FileCount() > 0 ? QFileInfo(m_set.File(0).FullPath()).absolutePath() : QString();
    m_export->Run(m_set, m_view, m_quantities, folder);
    m_toolbar->UpdateButtons();
}

void CRdfGraphDlg::keyPressEvent(QKeyEvent* event) {
    // The keys a desktop user reaches for first, each with its command's availability; they
    // come here when the focused control has no use for them.
    int command = 0;
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left: command = ID_SHIFT_LEFT; break;
    case Qt::Key_Right: command = ID_SHIFT_RIGHT; break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: command = ID_ZOOM_IN; break;
    case Qt::Key_Minus: command = ID_ZOOM_OUT; break;
    case Qt::Key_Home: command = ID_ZOOM_ALL; break;
    default: break;
    }
    if (!command) {
        QWidget::keyPressEvent(event);
        return;
    }
    RunCommand(command);
    event->accept();
}

void CRdfGraphDlg::OnOpenCommand() {
    const QStringList filters = RdfDialogFilters(GetText(LNG_RDF_FILE_FILTER));
    QFileDialog dialog(this);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setNameFilters(filters);
    dialog.setOption(QFileDialog::ReadOnly, true);
    if (dialog.exec() != QDialog::Accepted) return;
    const QStringList paths = dialog.selectedFiles();
    if (!paths.isEmpty()) OpenFiles(paths);
}

void CRdfGraphDlg::OpenFiles(const QStringList& paths) {
    if (m_opening || paths.isEmpty()) return;
    m_loader.SetOpenHeaders(m_set.Headers());
    if (!m_progress) {
        m_progress = new CRdfOpenProgress(this);
        connect(m_progress, &CRdfOpenProgress::CancelRequested, this, [this] { m_loader.Cancel(); });
    }
    m_progress->SetProgress(0, int(paths.size()), 0, 0);
    m_progress->CancelButton()->setEnabled(true);
    if (!m_loader.Start(paths, m_listener.get())) {
        // No thread to read on: say so rather than wait for a load that never comes.
        MessageBox::ShowKeys(this, LNG_GLOB_NO_MEMORY, LNG_GLOB_SYSTEM, MessageBox::Icon::Error);
        return;
    }
    m_opening = true;
    QRect r(QPoint(0, 0), m_progress->size());
    r.moveCenter(frameGeometry().center());
    m_progress->move(r.topLeft());
    m_progress->show();
    m_toolbar->UpdateButtons();
}

void CRdfGraphDlg::CancelOpen() {
    if (!m_opening) return;
    m_loader.Cancel();
    m_loader.Wait();
}

void CRdfGraphDlg::OnLoadProgress(int fileIndex, int fileCount, quint64 done, quint64 total) {
    if (m_progress && m_opening) m_progress->SetProgress(fileIndex, fileCount, done, total);
}

void CRdfGraphDlg::OnLoadFinished() {
    if (!m_opening) return;
    std::vector<CRdfFileLoader::Outcome> outcomes = m_loader.TakeResults();
    m_opening = false;
    if (m_progress) m_progress->hide();

    const auto refuse = [this](int key, const QString& argument) {
        MessageBox::Show(this, FormatLng(key, {argument}), GetText(LNG_GLOB_SYSTEM),
                         key == LNG_RDF_ERR_FOPEN ? MessageBox::Icon::Warning : MessageBox::Icon::Error);
    };
    for (CRdfFileLoader::Outcome& o : outcomes) {
        const QString name = QFileInfo(o.path).fileName();
        RdfAddResult result = o.refused;
        if (result == RdfAddResult::Added) {
            if (o.error == RdfOpenError::Cancelled) continue;
            if (!o.file) {
                refuse(LNG_RDF_ERR_FOPEN, o.path);
                continue;
            }
            const CFileRdf* file = o.file.get();
            result = m_set.Add(std::move(o.file));
            if (result == RdfAddResult::Added) m_rows.Offer(*file);
        }
        if (result == RdfAddResult::AlreadyLoaded) refuse(LNG_RDF_ERR_FALRLOAD, name);
        if (result == RdfAddResult::Incompatible) refuse(LNG_RDF_ERR_FCOMPATIBLE, name);
    }

    if (m_set.IsLoaded()) {
        m_rows.SelectAfterOpen();
        ShowRows();
        ShowStatistics();
        m_loaded = true;
        m_data = RdfDataRange(m_set);
        m_view = m_data;
        RecomputeRange();
        setWindowTitle(RdfWindowCaption(GetText(LNG_RDF_TITLE), m_set));
    }
    RenderGraph();
    update();
    m_toolbar->UpdateButtons();
    emit OpenFinished();
}

void CRdfGraphDlg::OnCloseCommand() {
    Reset();
    RenderGraph();
    update();
    setWindowTitle(GetText(LNG_RDF_TITLE));
}

void CRdfGraphDlg::OnSettingsCommand() {
    CSettings& s = Settings();
    CRdfSettingsDlg dialog({s.RdfLineWidth, s.RdfMarkerSize, s.RdfDataMarkers != 0, s.RdfEventMarkers != 0}, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const RdfDisplaySettings v = dialog.Values();
    s.RdfLineWidth = v.lineWidth;
    s.RdfMarkerSize = v.markerSize;
    s.RdfDataMarkers = v.dataMarkers ? 1 : 0;
    s.RdfEventMarkers = v.eventMarkers ? 1 : 0;
    SaveSettings();
    if (m_loaded) RenderGraph();
}

// ---- series rows ----

void CRdfGraphDlg::OnCheckClicked(int row) {
    m_rows.At(row).on = m_rowWidgets[size_t(row)].check->isChecked();
    ShowRows();
    if (m_loaded) {
        RecomputeRange();
        RenderGraph();
    }
}

void CRdfGraphDlg::OnListActivated(int row, int index) {
    m_rows.At(row).selection = index;
    if (m_loaded) {
        RecomputeRange();
        RenderGraph();
    }
    m_graph->setFocus();
}

void CRdfGraphDlg::OnCoefficientEdited(int row) {
    CRdfSeriesRows::Row& state = m_rows.At(row);
    const double value = ApplyCoefficientEdit(m_rowWidgets[size_t(row)].coefficient, state.coefficient);
    if (value != state.coefficient) {
        state.coefficient = value;
        if (m_loaded) RenderGraph();
    }
}

void CRdfGraphDlg::OnSwatchDoubleClicked(int row) {
    CColorRect* swatch = m_rowWidgets[size_t(row)].swatch;
    if (swatch->isEnabled() && swatch->ChooseColor()) SetRowColor(row, RefFromColor(swatch->GetColor()));
}

void CRdfGraphDlg::SetRowColor(int row, quint32 colour) {
    if (row < 0 || row >= kRows) return;
    m_rowWidgets[size_t(row)].swatch->SetColor(ColorFromRef(colour));
    CSettings& s = Settings();
    if ((s.RdfColor[row] & 0x00FFFFFFu) == colour) return;
    s.RdfColor[row] = colour;
    SaveSettings();
    if (m_loaded) RenderGraph();
}

bool CRdfGraphDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int row = 0; row < kRows; ++row) {
            if (watched == m_rowWidgets[size_t(row)].swatch) {
                OnSwatchDoubleClicked(row);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CRdfGraphDlg::closeEvent(QCloseEvent* event) {
    CancelOpen();
    m_export->Abandon();
    m_opening = false;
    if (m_progress) m_progress->hide();
    Reset();
    RenderGraph();
    setWindowTitle(GetText(LNG_RDF_TITLE));
    event->accept();
}
