#include "rdf/RdfSettingsDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <algorithm>

#include "app/Colors.h"
#include "controls/DialogUnits.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"

namespace {
QSlider* MakeSlider(QWidget* parent, int id, int low, int high, int value, const QRect& r) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QString::number(id));
    s->setRange(low, high);
    s->setPageStep(1);
    s->setTickPosition(QSlider::TicksBelow);
    s->setTickInterval(1);
    // A value from the store outside the range is shown (and saved) as its nearest end.
    s->setValue(std::clamp(value, low, high));
    s->setGeometry(r);
    return s;
}

// The tick captions under a slider, one per step.
void AddTickCaptions(QWidget* parent, const QRect& slider, int low, int high) {
    const int steps = high - low;
    const int handle = 10;  // the ticks run from half a handle in from each end
    for (int v = low; v <= high; ++v) {
        auto* label = new QLabel(QString::number(v), parent);
        const int x = slider.left() + handle / 2 + (slider.width() - handle) * (v - low) / steps;
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setGeometry(x - 10, slider.bottom() + 1, 20, 14);
    }
}
}  // namespace

CRdfSettingsDlg::CRdfSettingsDlg(const RdfDisplaySettings& values, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("170"));
    setWindowTitle(GetText(LNG_SRDF_TITLE));
    ApplySharedDialogColors(this);
    const DialogUnits du = DialogUnits::ForDialogFont();
    setFixedSize(du.Size(186, 150));

    auto* penLabel = new QLabel(GetText(LNG_SRDF_PEN_WIDTH), this);
    penLabel->setObjectName(QString::number(IDC_PEN_WIDTH_LABEL));
    penLabel->setGeometry(du.Rect(10, 8, 166, 10));
    const QRect penRect = du.Rect(10, 20, 166, 16);
    m_lineWidth = MakeSlider(this, IDC_PEN_WIDTH, 1, 5, values.lineWidth, penRect);
    AddTickCaptions(this, penRect, 1, 5);

    m_dataMarkers = new QCheckBox(GetText(LNG_SRDF_DATA_LABEL), this);
    m_dataMarkers->setObjectName(QString::number(IDC_DATA_MARKERS));
    m_dataMarkers->setGeometry(du.Rect(10, 50, 166, 10));
    m_dataMarkers->setChecked(values.dataMarkers);

    auto* sizeLabel = new QLabel(GetText(LNG_SRDF_MARKER_SIZE), this);
    sizeLabel->setObjectName(QString::number(IDC_MARKER_SIZE_LABEL));
    sizeLabel->setGeometry(du.Rect(10, 64, 166, 10));
    const QRect sizeRect = du.Rect(10, 76, 166, 16);
    m_markerSize = MakeSlider(this, IDC_MARKER_SIZE, 2, 6, values.markerSize, sizeRect);
    AddTickCaptions(this, sizeRect, 2, 6);
    m_markerSize->setEnabled(values.dataMarkers);
    connect(m_dataMarkers, &QCheckBox::toggled, m_markerSize, &QWidget::setEnabled);

    m_eventMarks = new QCheckBox(GetText(LNG_SRDF_EVENT_LABEL), this);
    m_eventMarks->setObjectName(QString::number(IDC_EVENT_MARKS));
    m_eventMarks->setGeometry(du.Rect(10, 106, 166, 10));
    m_eventMarks->setChecked(values.eventMarkers);

    auto* save = new QPushButton(GetText(LNG_SRDF_SAVE_BUT), this);
    save->setObjectName(QStringLiteral("1"));
    save->setGeometry(du.Rect(40, 128, 66, 14));
    save->setDefault(true);
    connect(save, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(GetText(LNG_SRDF_CANCEL_BUT), this);
    cancel->setObjectName(QStringLiteral("2"));
    cancel->setGeometry(du.Rect(110, 128, 66, 14));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

RdfDisplaySettings CRdfSettingsDlg::Values() const {
    return {m_lineWidth->value(), m_markerSize->value(), m_dataMarkers->isChecked(), m_eventMarks->isChecked()};
}
