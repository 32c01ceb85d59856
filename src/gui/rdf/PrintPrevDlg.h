#pragma once

#include <QDialog>
#include <QImage>
#include <array>
#include <memory>
#include <optional>

#include "rdf/RdfPrintLayout.h"
#include "rdf/RdfPrinters.h"

class CCtrlResize;
class CRdfPageRenderer;
class CRdfPrintPreview;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

// The print dialog of the recorded-data graph: choose a printer (or a PDF file), its paper,
// the four margins and a comment, see the page, print it. The page is rendered at the
// printer's resolution off the dialog's thread; the preview shows it shrunk.
class CPrintPrevDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 175;
    static constexpr int IDC_PRINTERS = 1211;
    static constexpr int IDC_PAGE_SETUP = 1212;
    static constexpr int IDC_PRINT = 1213;
    static constexpr int IDC_PREVIEW = 1214;
    static constexpr int IDC_SEPARATOR = 1217;
    static constexpr int IDC_SHOW_MARGINS = 1210;
    static constexpr int IDC_COMMENT = 1219;
    static constexpr int IDC_UPDATE = 1218;
    static constexpr int IDC_MARGIN_CAPTION = 1220;
    static constexpr int IDC_COMMENT_CAPTION = 1221;
    // Edit and spin of each margin: top, right, bottom, left.
    static constexpr std::array<int, 4> kMarginEdits = {1215, 1006, 1216, 1007};
    static constexpr std::array<int, 4> kMarginSpins = {1206, 1207, 1208, 1209};

    // content: what the page shows (its set must stay unchanged while the dialog is open);
    // printers: the print system, the system's own when null.
    CPrintPrevDlg(const RdfPrintContent& content, std::unique_ptr<IRdfPrinters> printers = nullptr,
                  QWidget* parent = nullptr);
    ~CPrintPrevDlg() override;

    // State and controls, for tests and pictures.
    const std::optional<RdfPrinterDesc>& Printer() const { return m_printer; }
    const QImage& PageBitmap() const;
    RdfEdges MarginRect() const;
    const RdfPrintMargins& Margins() const { return m_margins; }
    const QString& Comment() const { return m_comment; }
    QComboBox* PrinterList() const { return m_printerList; }
    QPushButton* SetupButton() const { return m_setup; }
    QPushButton* PrintButton() const { return m_print; }
    QPushButton* UpdateButton() const { return m_update; }
    QCheckBox* ShowMarginsCheck() const { return m_showMargins; }
    QPlainTextEdit* CommentEdit() const { return m_commentEdit; }
    QLineEdit* MarginEdit(int side) const { return m_marginEdits[size_t(side)]; }
    QToolButton* MarginArrow(int side, bool up) const { return m_arrows[size_t(side)][up ? 0 : 1]; }
    CRdfPrintPreview* Preview() const { return m_preview; }
    // Runs the event loop until the page shows the latest state.
    void WaitForPage();

    void OnPrinterChanged();
    void OnPageSetup();
    void OnPrint();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void FillPrinters();
    void OnMarginStep(int side, bool up);
    void OnCommentEdited();
    void OnUpdateComment();
    void ShowMargins();
    void RenderPage();
    void OnRendered(bool failed);

    RdfPrintContent m_content;
    std::unique_ptr<IRdfPrinters> m_printers;
    std::optional<RdfPrinterDesc> m_printer;
    RdfPrintMargins m_margins;
    QString m_comment;

    CCtrlResize* m_resize = nullptr;
    QComboBox* m_printerList = nullptr;
    QPushButton* m_setup = nullptr;
    QPushButton* m_print = nullptr;
    std::array<QLineEdit*, 4> m_marginEdits{};
    std::array<std::array<QToolButton*, 2>, 4> m_arrows{};
    QCheckBox* m_showMargins = nullptr;
    QPlainTextEdit* m_commentEdit = nullptr;
    QPushButton* m_update = nullptr;
    CRdfPrintPreview* m_preview = nullptr;
    std::unique_ptr<CRdfPageRenderer> m_renderer;  // last: its thread ends before anything else goes
};
