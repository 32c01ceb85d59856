#pragma once

#include <QImage>
#include <QPageSize>
#include <QString>
#include <QStringList>

#include "rdf/RdfPrintLayout.h"

class QWidget;

// The printer the print dialog holds: its name, its paper (size, orientation, resolution)
// and the page size to hand back to the print system.
struct RdfPrinterDesc {
    QString name;
    bool pdfFile = false;  // the "PDF file" entry, not a print queue
    QPageSize pageSize;
    RdfPaper paper;
};

// The printers the print dialog offers and what it does with them. The dialog talks to the
// print system only through this, so its rules can be tried without one.
class IRdfPrinters {
public:
    enum class SetupResult { Changed, Cancelled, NoPrinter };

    virtual ~IRdfPrinters() = default;
    // Every print queue in the system's order, then the "PDF file" entry.
    virtual QStringList Names() = 0;
    virtual QString DefaultName() = 0;
    // The printer's description as its driver gives it (orientation left as it is); false
    // when it cannot be opened.
    virtual bool Open(const QString& name, RdfPrinterDesc& desc) = 0;
    virtual SetupResult PageSetup(QWidget* parent, RdfPrinterDesc& desc) = 0;
    // Sends the page bitmap 1:1 as the one page of a job named "RDF Graph"; false when the
    // job could not start or was given up.
    virtual bool Print(QWidget* parent, const RdfPrinterDesc& desc, const QImage& page) = 0;
};

// The system's CUPS queues through Qt's print support, and the "PDF file" entry, which
// writes the page into a PDF file chosen in a save dialog.
class CRdfSystemPrinters : public IRdfPrinters {
public:
    static inline const QString kPdfEntry = QStringLiteral("PDF file");
    // Qt's print support hands every CUPS queue a PDF, which the queue's filters rasterise at
    // the printer's own resolution; the page bitmap inside it is drawn at 600 dpi, as fine as
    // office printers print, and a whole A4 sheet at one bit a pixel stays under 5 MB.
    static constexpr int kPageDpi = 600;
    static inline const QString kJobName = QStringLiteral("RDF Graph");

    QStringList Names() override;
    QString DefaultName() override;
    bool Open(const QString& name, RdfPrinterDesc& desc) override;
    SetupResult PageSetup(QWidget* parent, RdfPrinterDesc& desc) override;
    bool Print(QWidget* parent, const RdfPrinterDesc& desc, const QImage& page) override;

    // The file the PDF entry writes; empty to give up. A save dialog unless replaced.
    virtual QString ChoosePdfFile(QWidget* parent);
    // Writes the page as a one-page PDF, whole or not at all.
    static bool WritePdf(const QString& path, const RdfPrinterDesc& desc, const QImage& page);
};

// The paper of a page size in tenths of a millimetre (portrait).
RdfPaper RdfPaperOf(const QPageSize& size, bool landscape, int dpi, bool hasOrientation = true);
