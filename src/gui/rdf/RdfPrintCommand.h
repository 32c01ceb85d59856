#pragma once

#include <functional>
#include <memory>

#include "rdf/RdfPrintLayout.h"

class CRdfGraphDlg;
class IRdfPrinters;

// What the printed page of the recorded-data window shows now.
RdfPrintContent RdfPrintContentOf(const CRdfGraphDlg& window);

// The window's print command: offers to turn data markers on (curves on paper are told
// apart by their markers), then runs the print dialog over the window's set.
void RunRdfPrintCommand(CRdfGraphDlg& window);

// Replaces the print system the command's dialog uses (tests); an empty factory restores
// the system's own.
void SetRdfPrintersFactory(std::function<std::unique_ptr<IRdfPrinters>()> factory);
