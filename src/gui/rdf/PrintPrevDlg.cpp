#include "rdf/PrintPrevDlg.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "app/Colors.h"
#include "app/MessageBox.h"
#include "controls/CtrlResize.h"
#include "controls/DialogUnits.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "rdf/RdfPageRenderer.h"
#include "rdf/RdfPrintPreview.h"
#include "indicators/AnchorLayout.h"

namespace {

constexpr int kPrintClientWidth = 470;  // dialog units
constexpr int kPrintClientHeight = 290;
constexpr int kPanel = 126;

// Where each margin's edit and arrows sit: laid out like the sides of a page.
constexpr QPoint kMarginPlace[4] = {{45, 78}, {83, 94}, {45, 110}, {7, 94}};  // top, right, bottom, left

}  // namespace

CPrintPrevDlg::CPrintPrevDlg(const RdfPrintContent& content, std::unique_ptr<IRdfPrinters> printers, QWidget* parent)
    : QDialog(parent), m_content(content), m_printers(std::move(printers)),
      m_renderer(std::make_unique<CRdfPageRenderer>()) {
    if (!m_printers) m_printers = std::make_unique<CRdfSystemPrinters>();
    setObjectName(QString::number(IDD));
    setWindowTitle(GetText(LNG_PRINTRDF_TITLE));
    setWindowIcon(QIcon(QStringLiteral(":/icons/rdf/print.svg")));
    ApplySharedDialogColors(this);
    BuildControls();
    // The first size is the smallest.
    setMinimumSize(size());
    connect(m_renderer.get(), &CRdfPageRenderer::Rendered, this, &CPrintPrevDlg::OnRendered);

    m_comment = GetText(LNG_PRINTRDF_COMMENT_TEXT);
    m_commentEdit->setPlainText(m_comment);
    m_update->setEnabled(false);
    ShowMargins();
    FillPrinters();
    connect(m_printerList, &QComboBox::currentIndexChanged, this, &CPrintPrevDlg::OnPrinterChanged);
    OnPrinterChanged();
}

CPrintPrevDlg::~CPrintPrevDlg() = default;

void CPrintPrevDlg::BuildControls() {
    const DialogUnits du = DialogUnits::ForDialogFont();
    resize(du.Size(kPrintClientWidth, kPrintClientHeight));
    m_resize = new CCtrlResize(this);
    m_resize->Attach(this);
    const auto place = [&](QWidget* w, int id, const QRect& r, int anchors) {
        if (id) w->setObjectName(QString::number(id));
        w->setGeometry(r);
        m_resize->AddControl(w, anchors, id);
    };
    constexpr int kTopLeft = kAnchorTop | kAnchorLeft;
    const auto button = [&](int id, int key, int y) {
        auto* b = new QPushButton(GetText(key), this);
        b->setAutoDefault(false);
        place(b, id, du.Rect(7, y, kPanel, 14), kTopLeft);
        return b;
    };

    m_printerList = new QComboBox(this);
    place(m_printerList, IDC_PRINTERS, du.Rect(7, 7, kPanel, 14), kTopLeft);
    m_setup = button(IDC_PAGE_SETUP, LNG_PRINTRDF_PAGE_SETUP, 25);
    m_print = button(IDC_PRINT, LNG_PRINTRDF_PRINT, 43);
    connect(m_setup, &QPushButton::clicked, this, &CPrintPrevDlg::OnPageSetup);
    connect(m_print, &QPushButton::clicked, this, &CPrintPrevDlg::OnPrint);

    place(new QLabel(GetText(LNG_PRINTRDF_MARGIN), this), IDC_MARGIN_CAPTION, du.Rect(7, 66, kPanel, 10), kTopLeft);
    for (int side = 0; side < 4; ++side) {
        const QPoint at = kMarginPlace[side];
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        edit->setAlignment(Qt::AlignCenter);
        place(edit, kMarginEdits[size_t(side)], du.Rect(at.x(), at.y(), 24, 12), kTopLeft);
        m_marginEdits[size_t(side)] = edit;
        // The arrows of an up-down control: up raises the margin.
        auto* spin = new QWidget(this);
        place(spin, kMarginSpins[size_t(side)], du.Rect(at.x() + 24, at.y(), 10, 12), kTopLeft);
        const int half = spin->height() / 2;
        for (int i = 0; i < 2; ++i) {
            const bool up = i == 0;
            auto* arrow = new QToolButton(spin);
            arrow->setObjectName(up ? QStringLiteral("up") : QStringLiteral("down"));
            arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
            arrow->setAutoRepeat(true);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setGeometry(up ? QRect(0, 0, spin->width(), half)
                                  : QRect(0, half, spin->width(), spin->height() - half));
            connect(arrow, &QToolButton::clicked, this, [this, side, up] { OnMarginStep(side, up); });
            m_arrows[size_t(side)][size_t(i)] = arrow;
        }
    }

    m_showMargins = new QCheckBox(GetText(LNG_PRINTRDF_SHOW_LINE), this);
    m_showMargins->setChecked(true);
    place(m_showMargins, IDC_SHOW_MARGINS, du.Rect(7, 128, kPanel, 10), kTopLeft);
    connect(m_showMargins, &QCheckBox::toggled, this, [this] { ShowMargins(); });

    place(new QLabel(GetText(LNG_PRINTRDF_COMMENT), this), IDC_COMMENT_CAPTION, du.Rect(7, 146, kPanel, 10), kTopLeft);
    m_commentEdit = new QPlainTextEdit(this);
    place(m_commentEdit, IDC_COMMENT, du.Rect(7, 158, kPanel, 104), kTopLeft | kAnchorBottom);
    connect(m_commentEdit, &QPlainTextEdit::textChanged, this, &CPrintPrevDlg::OnCommentEdited);
    m_update = new QPushButton(GetText(LNG_PRINTRDF_COM_UPDATE), this);
    m_update->setAutoDefault(false);
    place(m_update, IDC_UPDATE, du.Rect(7, 268, kPanel, 14), kAnchorLeft | kAnchorBottom);
    connect(m_update, &QPushButton::clicked, this, &CPrintPrevDlg::OnUpdateComment);

    auto* separator = new QFrame(this);
    separator->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    place(separator, IDC_SEPARATOR, du.Rect(138, 7, 2, kPrintClientHeight - 14), kTopLeft | kAnchorBottom);

    m_preview = new CRdfPrintPreview(this);
    place(m_preview, IDC_PREVIEW, du.Rect(144, 7, kPrintClientWidth - 151, kPrintClientHeight - 14),
          kTopLeft | kAnchorRight | kAnchorBottom);
    m_resize->Fix();
}

void CPrintPrevDlg::FillPrinters() {
    const QStringList names = m_printers->Names();
    const QSignalBlocker block(m_printerList);
    m_printerList->clear();
    m_printerList->addItems(names);
    if (names.isEmpty()) return;
    m_printerList->setCurrentIndex(0);
    const QString preferred = m_printers->DefaultName();
    if (preferred.isEmpty()) return;
    for (int i = 0; i < names.size(); ++i) {
        if (names[i].startsWith(preferred)) {
            m_printerList->setCurrentIndex(i);
            break;
        }
    }
}

const QImage& CPrintPrevDlg::PageBitmap() const { return m_renderer->Page(); }

RdfEdges CPrintPrevDlg::MarginRect() const {
    return m_printer ? m_margins.Apply(m_printer->paper.SheetPixels()) : RdfEdges{};
}

void CPrintPrevDlg::WaitForPage() { m_renderer->WaitIdle(); }

void CPrintPrevDlg::OnPrinterChanged() {
    m_printer.reset();
    m_renderer->Clear();
    m_preview->SetSheet(std::nullopt);
    m_preview->SetPage({});
    m_setup->setEnabled(false);
    m_print->setEnabled(false);

    RdfPrinterDesc desc;
    const QString name = m_printerList->currentText();
    if (name.isEmpty() || !m_printers->Open(name, desc)) {
        update();
        MessageBox::ShowKeys(this, LNG_PRINTRDF_NO_PRINTER, LNG_GLOB_SYSTEM, MessageBox::Icon::Error);
        return;
    }
    // Graphs are wide: landscape wherever the printer can turn the page.
    desc.paper.landscape = desc.paper.hasOrientation;
    m_printer = desc;
    RenderPage();
    m_setup->setEnabled(true);
    m_print->setEnabled(true);
}

void CPrintPrevDlg::OnPageSetup() {
    if (!m_printer) return;
    m_renderer->Clear();
    const IRdfPrinters::SetupResult result = m_printers->PageSetup(this, *m_printer);
    if (result == IRdfPrinters::SetupResult::NoPrinter) {
        MessageBox::ShowKeys(this, LNG_PRINTRDF_NO_PRINTER, LNG_GLOB_SYSTEM, MessageBox::Icon::Error);
    }
    RenderPage();
}

void CPrintPrevDlg::OnPrint() {
    if (!m_printer) return;
    WaitForPage();
    const QImage& page = m_renderer->Page();
    if (page.isNull()) return;
    // A job that cannot start is given up without a word.
    m_printers->Print(this, *m_printer, page);
}

void CPrintPrevDlg::OnMarginStep(int side, bool up) {
    int& value = m_margins.percent[size_t(side)];
    const int next = RdfPrintMargins::Step(value, up);
    if (next == value) return;
    value = next;
    ShowMargins();
    if (m_printer) RenderPage();
}

void CPrintPrevDlg::ShowMargins() {
    for (int side = 0; side < 4; ++side)
        m_marginEdits[size_t(side)]->setText(QString::number(m_margins.percent[size_t(side)]));
    m_preview->SetMargins(m_margins, m_showMargins->isChecked());
}

void CPrintPrevDlg::OnCommentEdited() { m_update->setEnabled(m_commentEdit->toPlainText() != m_comment); }

void CPrintPrevDlg::OnUpdateComment() {
    m_comment = m_commentEdit->toPlainText();
    m_update->setEnabled(false);
    if (m_printer) RenderPage();
}

void CPrintPrevDlg::RenderPage() {
    if (!m_printer) return;
    const RdfPaper& paper = m_printer->paper;
    m_preview->SetSheet(paper.SheetTenths());
    CRdfPageRenderer::Request r;
    r.content = m_content;
    r.sheet = paper.SheetPixels();
    r.margins = m_margins.Apply(r.sheet);
    r.scale = {double(paper.dpiX), double(paper.dpiY)};
    r.comment = m_comment;
    m_renderer->Render(std::move(r));
}

void CPrintPrevDlg::OnRendered(bool failed) {
    if (failed) MessageBox::ShowKeys(this, LNG_GLOB_NO_MEMORY, LNG_GLOB_SYSTEM, MessageBox::Icon::Error);
    m_preview->SetPage(m_renderer->Page());
}

void CPrintPrevDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape neither print nor close: the dialog closes through its close button.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter: event->accept(); return;
    default: QDialog::keyPressEvent(event);
    }
}

void CPrintPrevDlg::closeEvent(QCloseEvent* event) {
    m_renderer->Clear();
    m_printer.reset();
    QDialog::closeEvent(event);
}
