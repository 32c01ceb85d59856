#pragma once

#include <QString>
#include <QtGlobal>

// What the live graph window needs to know about a source code: the name its lists show
// and the divisor that turns the device's raw integer into units.
// TODO(livegraph): replace by the recording source catalogue's quantity table once it lands.
namespace LiveSourceNames {

int Divisor(quint32 code);
QString SeriesName(quint32 code);

}  // namespace LiveSourceNames
