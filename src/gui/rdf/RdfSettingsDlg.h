#pragma once

#include <QDialog>

class QCheckBox;
class QSlider;

// The four display settings of the recorded-data graph, as the store keeps them.
struct RdfDisplaySettings {
    int lineWidth = 1;   // 1..5
    int markerSize = 2;  // 2..6
    bool dataMarkers = true;
    bool eventMarkers = true;
    bool operator==(const RdfDisplaySettings&) const = default;
};

// Line width, data markers and their size, event marks: set here, kept by the caller.
class CRdfSettingsDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDC_PEN_WIDTH = 1200;
    static constexpr int IDC_DATA_MARKERS = 1201;
    static constexpr int IDC_EVENT_MARKS = 1202;
    static constexpr int IDC_PEN_WIDTH_LABEL = 1203;
    static constexpr int IDC_MARKER_SIZE_LABEL = 1204;
    static constexpr int IDC_MARKER_SIZE = 1205;

    explicit CRdfSettingsDlg(const RdfDisplaySettings& values, QWidget* parent = nullptr);

    // What the controls show now (what a save returns).
    RdfDisplaySettings Values() const;

    QSlider* LineWidthSlider() const { return m_lineWidth; }
    QSlider* MarkerSizeSlider() const { return m_markerSize; }
    QCheckBox* DataMarkersBox() const { return m_dataMarkers; }
    QCheckBox* EventMarksBox() const { return m_eventMarks; }

private:
    QSlider* m_lineWidth;
    QSlider* m_markerSize;
    QCheckBox* m_dataMarkers;
    QCheckBox* m_eventMarks;
};
