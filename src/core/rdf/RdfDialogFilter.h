#pragma once

#include <QString>
#include <QStringList>

// The name filters of a file dialog from a language text of the form
// "description|patterns|description|patterns||" (patterns separated by ';'). Each filter
// reads "description (patterns)". Names on Linux are case-sensitive, the names on a
// memory card are not: each pattern is offered in lower and upper case as well, so
// "*.rdf" also finds "0001.RDF"; "*.*" means every file.
QStringList RdfDialogFilters(const QString& text);
