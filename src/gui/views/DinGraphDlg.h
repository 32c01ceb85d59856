#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

#include "devsettings/QuantityTable.h"
#include "livegraph/LiveSourceList.h"

class CAppCore;
class CDinGraph;
class CColorRect;
class CCtrlResize;
class CSettings;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// A device's live graph window: the graph and six rows below it, each choosing one of the
// device's live values, its visibility, a display coefficient and a colour. Row colours,
// visibility, coefficients and "always on top" are shared by all devices' windows through
// the settings store; the chosen sources belong to this window only.
//
// The window is a top-level window of its own, created hidden; the device page owns it.
class CDinGraphDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = CLiveSourceList::kRows;

    // Control ids, also the controls' object names.
    struct RowIds {
        int check, list, coefficient, swatch;
    };
    static constexpr std::array<RowIds, kRows> kRowIds = {{{1092, 1091, 1008, 1093},
                                                           {1090, 1089, 1007, 1094},
                                                           {1084, 1083, 1098, 1095},
                                                           {1086, 1085, 1005, 1096},
                                                           {1088, 1087, 1006, 1097},
                                                           {1105, 1104, 1009, 1106}}};
    static constexpr int IDC_GRAPH = 1082;
    static constexpr int IDC_HEAD_ONOFF = 1099;
    static constexpr int IDC_HEAD_CHANNEL = 1100;
    static constexpr int IDC_HEAD_COEFFICIENT = 1101;
    static constexpr int IDC_HEAD_COLOR = 1102;
    static constexpr int IDC_ONTOP = 1103;
    static constexpr int IDC_CLEAR = 1202;

    explicit CDinGraphDlg(QWidget* parent = nullptr);
    ~CDinGraphDlg() override;

    // The device page's feed: every live value it decodes, as (source code, raw value).
    void AddPoint(SourceCode code, qint32 raw);
    // Every line restarts from zero.
    void ClearGraph();
    // Caption "<title> (<device name>)".
    void SetDeviceName(const QString& name);
    // The main window's view command: caption from the device name, shown normally, above
    // all other windows or in the normal order.
    void ShowForDevice(const QString& deviceName, bool topmost);

    // Rows are numbered 0..5 here.
    void SetRowColor(int row, quint32 colour);

    CDinGraph* Graph() const { return m_graph; }
    QCheckBox* RowCheck(int row) const { return m_rows[size_t(row)].check; }
    QComboBox* RowList(int row) const { return m_rows[size_t(row)].list; }
    QLineEdit* RowCoefficient(int row) const { return m_rows[size_t(row)].coefficient; }
    CColorRect* RowSwatch(int row) const { return m_rows[size_t(row)].swatch; }
    QCheckBox* TopmostCheck() const { return m_topmost; }
    const CLiveSourceList& Sources() const { return m_sources; }
    bool IsTopmost() const;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Row {
        QCheckBox* check = nullptr;
        QComboBox* list = nullptr;
        QLineEdit* coefficient = nullptr;
        CColorRect* swatch = nullptr;
        double coefficientValue = 1.0;
        quint32 colour = 0;
        bool shown = false;
    };
    void BuildControls();
    void LoadRowSettings();
    void EnableRow(int row);
    void OnCheckClicked(int row);
    void OnCoefficientEdited(int row);
    void OnSwatchDoubleClicked(int row);
    void OnListActivated(int row, int index);
    void OnTopmostClicked();
    void PlaceOnTop(bool onTop);
    CSettings& Settings();
    void SaveSettings();

    CAppCore* m_app = nullptr;
    std::unique_ptr<CSettings> m_ownSettings;  // only when there is no application object
    CDinGraph* m_graph = nullptr;
    std::array<Row, kRows> m_rows{};
    QCheckBox* m_topmost = nullptr;
    QPushButton* m_clear = nullptr;
    CLiveSourceList m_sources;
    CQuantityTable m_quantities;  // series names and divisors, texts of the language at creation
    CCtrlResize* m_resize = nullptr;
};
