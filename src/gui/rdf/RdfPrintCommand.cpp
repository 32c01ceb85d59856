#include "rdf/RdfPrintCommand.h"

#include "app/AppCore.h"
#include "app/MessageBox.h"
#include "devsettings/QuantityTable.h"
#include "language/Language.h"
#include "language/LanguageKeys.h"
#include "rdf/PrintPrevDlg.h"
#include "rdf/RdfGraphDlg.h"
#include "rdf/RdfGraphPainter.h"

namespace {
std::function<std::unique_ptr<IRdfPrinters>()>& Factory() {
    static std::function<std::unique_ptr<IRdfPrinters>()> factory;
    return factory;
}
}  // namespace

void SetRdfPrintersFactory(std::function<std::unique_ptr<IRdfPrinters>()> factory) { Factory() = std::move(factory); }

RdfPrintContent RdfPrintContentOf(const CRdfGraphDlg& window) {
    RdfPrintContent c;
    const CRecordingSet& set = window.Set();
    c.set = &set;
    c.rows = window.Rows().DrawRows();
    const CQuantityTable quantities = CQuantityTable::Build();
    for (int row = 0; row < int(c.rows.size()); ++row) {
        const SourceCode code = window.Rows().SourceOf(row);
        if (code != kNoSource) c.seriesNames[size_t(row)] = quantities.SeriesName(code);
    }
    c.view = window.View();
    c.range = window.Range();
    const RdfGraphStyle style = window.GraphStyle();
    c.lineWidth = style.lineWidth;
    c.markerSize = style.markerSize;
    c.dataMarkers = style.dataMarkers;
    c.eventMarkers = style.eventMarkers;
    c.eventText = style.eventText;
    c.title = RdfPrintTitle(set);
    c.files = RdfPrintFileList(set);
    c.legendCaption = GetText(LNG_RDF_PLEGEND);
    c.commentCaption = GetText(LNG_RDF_PCOMMENT);
    c.coefficientWord = GetText(LNG_RDF_PKF);
    return c;
}

void RunRdfPrintCommand(CRdfGraphDlg& window) {
    if (CAppCore* app = CAppCore::Instance(); app && app->Settings.RdfDataMarkers == 0) {
        const auto answer = MessageBox::ShowKeys(&window, LNG_RDF_ENABLE_MARKER, LNG_GLOB_SYSTEM,
                                                 MessageBox::Icon::Warning, QMessageBox::Yes | QMessageBox::No);
        if (answer == QMessageBox::Yes) {
            app->Settings.RdfDataMarkers = 1;
            // A failed save is not this command's to report; markers stay on for this run.
            app->SaveSettings();
            window.RenderGraph();
        }
    }
    CPrintPrevDlg dialog(RdfPrintContentOf(window), Factory() ? Factory()() : nullptr, &window);
    dialog.exec();
}
