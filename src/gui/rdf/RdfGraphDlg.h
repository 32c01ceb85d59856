#pragma once

#include <QStringList>
#include <QWidget>
#include <array>
#include <memory>

#include "devsettings/QuantityTable.h"
#include "rdf/RdfCurveBuilder.h"
#include "rdf/RdfFileLoader.h"
#include "rdf/RdfGraphGeometry.h"
#include "rdf/RdfSeriesRows.h"
#include "rdf/RecordingSet.h"
#include "rdf/ViewWindow.h"

class CAppCore;
class CColorRect;
class CCtrlResize;
class CDlgToolBar;
class CRdfGraphWidget;
class CRdfExportRunner;
class CRdfGraphPointer;
class CRdfOpenProgress;
class CRdfPointer;
struct RdfOverlayModel;
class CSettings;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
struct RdfGraphStyle;

// The recorded-data window: opens .RDF files of one device into one recording set, shows
// what they hold and plots up to six of their sources. Files are read on the loader's
// thread while the window keeps painting; the window takes no other command meanwhile.
class CRdfGraphDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = CRdfSeriesRows::kRows;

    // Controls, by the numbers of the window layout.
    static constexpr int IDD = 154;
    static constexpr int IDC_GRAPH = 1190;
    static constexpr int IDC_TOOLBAR = 1191;
    static constexpr int IDC_STAT_FRAME = 1197;
    static constexpr int IDC_STAT_FIRST = 1192;  // 1192..1196
    static constexpr int IDC_HEAD_ON = 1178;
    static constexpr int IDC_HEAD_DATA = 1179;
    static constexpr int IDC_HEAD_COEFFICIENT = 1183;
    static constexpr int IDC_HEAD_COLOR = 1184;
    struct RowIds {
        int check, list, coefficient, swatch;
    };
    static constexpr RowIds kRowIds[kRows] = {{1168, 1173, 1181, 1185}, {1169, 1174, 1182, 1186},
                                              {1170, 1175, 1006, 1187}, {1171, 1176, 1007, 1188},
                                              {1172, 1177, 1008, 1189}, {1180, 1198, 1009, 1199}};

    // Toolbar commands.
    enum Command : int {
        ID_OPEN_FILE = 32796,
        ID_CLOSE_FILE = 32797,
        ID_PRINT = 32798,
        ID_EXPORT = 32799,
        ID_SETTINGS = 32800,
        ID_SHIFT_LEFT = 32801,
        ID_SHIFT_RIGHT = 32802,
        ID_ZOOM_IN = 32803,
        ID_ZOOM_OUT = 32804,
        ID_ZOOM_SELECTION = 32805,
        ID_ZOOM_ALL = 32806,
        ID_RULER = 32807,
    };

    explicit CRdfGraphDlg(QWidget* parent = nullptr);
    ~CRdfGraphDlg() override;

    // Runs a toolbar command (nothing when it is disabled now).
    void RunCommand(int command);
    bool IsCommandEnabled(int command) const;
    bool IsCommandChecked(int command) const;

    // Opens these files into the set as the open command does after its file dialog.
    // Returns at once; OpenFinished follows when every file has been tried.
    void OpenFiles(const QStringList& paths);
    bool IsOpening() const { return m_opening; }
    // Stops an open in progress and waits for its thread.
    void CancelOpen();

    // State, for the window's users and tests.
    const CRecordingSet& Set() const { return m_set; }
    const CRdfSeriesRows& Rows() const { return m_rows; }
    bool IsLoaded() const { return m_loaded; }
    TimeRange View() const { return m_view; }
    TimeRange Data() const { return m_data; }
    ValueRange Range() const { return m_range; }
    // The plot area as last rendered (client coordinates of the window and of the graph).
    RdfEdges PlotArea() const { return m_plot; }
    const CRdfPointer& PointerState() const;
    // The overlay the graph shows over its back buffer now.
    RdfOverlayModel Overlay() const;
    CRdfExportRunner* Export() const { return m_export; }
    bool IsExporting() const;
    QStringList StatisticsLines() const;
    CRdfGraphWidget* Graph() const { return m_graph; }
    CDlgToolBar* ToolBar() const { return m_toolbar; }
    CRdfOpenProgress* OpenProgress() const { return m_progress; }
    QCheckBox* RowCheck(int row) const { return m_rowWidgets[size_t(row)].check; }
    QComboBox* RowList(int row) const { return m_rowWidgets[size_t(row)].list; }
    QLineEdit* RowCoefficient(int row) const { return m_rowWidgets[size_t(row)].coefficient; }
    CColorRect* RowSwatch(int row) const { return m_rowWidgets[size_t(row)].swatch; }

    // Sets a row's colour as a confirmed colour dialog does: stored and saved at once.
    void SetRowColor(int row, quint32 colour);
    // Shows this stretch of the data (as the view commands do, re-rendering when it moved).
    void SetView(TimeRange view);
    // Re-renders the graph with the current state.
    void RenderGraph();
    RdfGraphStyle GraphStyle() const;

signals:
    void OpenFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct RowWidgets {
        QCheckBox* check = nullptr;
        QComboBox* list = nullptr;
        QLineEdit* coefficient = nullptr;
        CColorRect* swatch = nullptr;
    };
    class LoadListener;

    void BuildControls();
    void Reset();
    void ShowRows();
    void ShowStatistics();
    void RecomputeRange();

    void OnOpenCommand();
    void OnLoadProgress(int fileIndex, int fileCount, quint64 done, quint64 total);
    void OnLoadFinished();
    void OnCloseCommand();
    void OnSettingsCommand();
    void OnExportCommand();
    void SetMode(int command);

    void OnCheckClicked(int row);
    void OnListActivated(int row, int index);
    void OnCoefficientEdited(int row);
    void OnSwatchDoubleClicked(int row);

    CSettings& Settings();
    void SaveSettings();

    CAppCore* m_app;
    std::unique_ptr<CSettings> m_ownSettings;  // only without the application object
    CQuantityTable m_quantities;

    CRecordingSet m_set;
    CRdfSeriesRows m_rows;
    bool m_loaded = false;
    TimeRange m_data;
    TimeRange m_view;
    ValueRange m_range;
    RdfEdges m_plot;

    CRdfGraphWidget* m_graph = nullptr;
    CRdfGraphPointer* m_pointer = nullptr;
    CRdfExportRunner* m_export = nullptr;
    CDlgToolBar* m_toolbar = nullptr;
    CCtrlResize* m_resize = nullptr;
    std::array<QLabel*, 5> m_stats{};
    std::array<RowWidgets, kRows> m_rowWidgets{};

    CRdfFileLoader m_loader;
    std::unique_ptr<LoadListener> m_listener;
    CRdfOpenProgress* m_progress = nullptr;
    bool m_opening = false;
};
