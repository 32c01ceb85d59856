#include "rdf/RdfPrinters.h"

#include <QFileDialog>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace {

QPageLayout::Orientation OrientationOf(const RdfPaper& paper) {
    return paper.hasOrientation && paper.landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

// Puts the held paper on a printer, page corner at the painter's origin.
void Apply(QPrinter& printer, const RdfPrinterDesc& desc) {
    printer.setFullPage(true);
    printer.setPageSize(desc.pageSize);
    printer.setPageOrientation(OrientationOf(desc.paper));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));
    printer.setResolution(desc.paper.dpiY);
}

void ReadBack(const QPrinter& printer, RdfPrinterDesc& desc) {
    const QPageLayout layout = printer.pageLayout();
    desc.pageSize = layout.pageSize();
    desc.paper = RdfPaperOf(desc.pageSize, layout.orientation() == QPageLayout::Landscape, desc.paper.dpiY,
                            desc.paper.hasOrientation);
}

}  // namespace

RdfPaper RdfPaperOf(const QPageSize& size, bool landscape, int dpi, bool hasOrientation) {
    const QSizeF mm = size.size(QPageSize::Millimeter);
    RdfPaper paper;
    paper.widthTenths = int(std::lround(mm.width() * 10.0));
    paper.lengthTenths = int(std::lround(mm.height() * 10.0));
    paper.hasOrientation = hasOrientation;
    paper.landscape = landscape;
    paper.dpiX = paper.dpiY = dpi;
    return paper;
}

QStringList CRdfSystemPrinters::Names() {
    QStringList names = QPrinterInfo::availablePrinterNames();
    names << kPdfEntry;
    return names;
}

QString CRdfSystemPrinters::DefaultName() { return QPrinterInfo::defaultPrinterName(); }

bool CRdfSystemPrinters::Open(const QString& name, RdfPrinterDesc& desc) {
    desc = {};
    desc.name = name;
    if (name == kPdfEntry) {
        desc.pdfFile = true;
        desc.pageSize = QPageSize(QPageSize::A4);
        desc.paper = RdfPaperOf(desc.pageSize, true, kPageDpi);
        return true;
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(name);
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) return false;
    desc.pageSize = printer.pageLayout().pageSize();
    if (!desc.pageSize.isValid()) desc.pageSize = info.defaultPageSize();
    if (!desc.pageSize.isValid()) return false;
    desc.paper = RdfPaperOf(desc.pageSize, printer.pageLayout().orientation() == QPageLayout::Landscape,
                            kPageDpi, true);
    return true;
}

IRdfPrinters::SetupResult CRdfSystemPrinters::PageSetup(QWidget* parent, RdfPrinterDesc& desc) {
    QPrinter printer(QPrinter::HighResolution);
    if (desc.pdfFile) {
        printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(desc.name);
        if (info.isNull()) return SetupResult::NoPrinter;
        printer.setPrinterName(desc.name);
        if (!printer.isValid()) return SetupResult::NoPrinter;
    }
    Apply(printer, desc);
    QPageSetupDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted) return SetupResult::Cancelled;
    ReadBack(printer, desc);
    return SetupResult::Changed;
}

QString CRdfSystemPrinters::ChoosePdfFile(QWidget* parent) {
    return QFileDialog::getSaveFileName(parent, QString(), kJobName + QStringLiteral(".pdf"),
                                        QStringLiteral("PDF (*.pdf)"));
}

bool CRdfSystemPrinters::WritePdf(const QString& path, const RdfPrinterDesc& desc, const QImage& page) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    {
        QPdfWriter writer(&file);
        writer.setTitle(kJobName);
        writer.setCreator(kJobName);
        writer.setResolution(desc.paper.dpiY);
        writer.setPageLayout(QPageLayout(desc.pageSize, OrientationOf(desc.paper), QMarginsF(0, 0, 0, 0)));
        QPainter p;
        if (!p.begin(&writer)) return false;
        p.drawImage(0, 0, page);
        if (!p.end()) return false;
    }
    return file.commit();
}

bool CRdfSystemPrinters::Print(QWidget* parent, const RdfPrinterDesc& desc, const QImage& page) {
    if (page.isNull()) return false;
    if (desc.pdfFile) {
        const QString path = ChoosePdfFile(parent);
        return !path.isEmpty() && WritePdf(path, desc, page);
    }
    const QPrinterInfo info = QPrinterInfo::printerInfo(desc.name);
    if (info.isNull()) return false;
    QPrinter printer(info, QPrinter::HighResolution);
    if (!printer.isValid()) return false;
    printer.setDocName(kJobName);
    Apply(printer, desc);
    QPainter p;
    // A job that cannot start is given up without a word.
    if (!p.begin(&printer)) return false;
    p.drawImage(0, 0, page);
    return p.end();
}
