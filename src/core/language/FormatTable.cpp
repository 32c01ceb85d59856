#include "language/FormatTable.h"

#include <iterator>

#include "language/LanguageKeys.h"

namespace {
// Keep sorted by nothing in particular; lookups are rare and the table is short.
constexpr LngFormat kFormats[] = {
    {LNG_MAIN_CANT_ADD_DEVICE, "s"},   // the device name
    {LNG_RDF_ERR_FOPEN, "s"},          // the full path of the file
    {LNG_RDF_ERR_FCOMPATIBLE, "s"},    // the file name
    {LNG_RDF_ERR_FALRLOAD, "s"},       // the file name
    {LNG_RDF_PTITLE, "uuuuuuuu"},      // six device-identifier bytes, firmware major and minor
    {LNG_RDF_EXPORT_SUCCESS, "s"},     // the name of the exported file as chosen in the save dialog
    {LNG_RDF_EXPORT_ERROR, "s"},       // the name of the file that could not be created
};
}  // namespace

const char* LngFormatSignature(int id) {
    for (const LngFormat& f : kFormats)
        if (f.id == id) return f.signature;
    return nullptr;
}

const LngFormat* LngFormatTable(int* count) {
    *count = int(std::size(kFormats));
    return kFormats;
}
