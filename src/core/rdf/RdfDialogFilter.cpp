#include "rdf/RdfDialogFilter.h"

#include <QRegularExpression>

QStringList RdfDialogFilters(const QString& text) {
    const QStringList parts = text.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        if (description.isEmpty()) break;
        // The dialog takes the patterns from the parentheses, so the text's own go.
        description.remove(QRegularExpression(QStringLiteral("\\s*\\([^()]*\\)\\s*$")));
        QStringList patterns;
        for (const QString& raw : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString p = raw.trimmed();
            if (p.isEmpty()) continue;
            if (p == QStringLiteral("*.*") || p == QStringLiteral("*")) {
                patterns << QStringLiteral("*");
                continue;
            }
            for (const QString& variant : {p, p.toLower(), p.toUpper()})
                if (!patterns.contains(variant)) patterns << variant;
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        filters << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    if (filters.isEmpty()) filters << QStringLiteral("* (*)");
    return filters;
}
