#include "controls/CoefficientEdit.h"

#include <QLineEdit>
#include <algorithm>
#include <optional>

#include "livegraph/LiveCoefficient.h"

double ApplyCoefficientEdit(QLineEdit* edit, double current) {
    const int selectionStart = edit->selectionStart();
    const int selectionLength = edit->selectionLength();
    const int cursor = edit->cursorPosition();
    const std::optional<double> typed = LiveCoefficient::ParseLeading(edit->text());
    if (!typed) {
        edit->setText(LiveCoefficient::Text(current));
        edit->selectAll();
        return current;
    }
    const double value = LiveCoefficient::Normalise(*typed);
    const QString text = LiveCoefficient::Text(value);
    const int length = int(text.size());
    edit->setText(text);
    if (selectionStart >= 0) {
        const int start = std::min(selectionStart, length);
        edit->setSelection(start, std::min(selectionLength, length - start));
    } else {
        edit->setCursorPosition(std::min(cursor, length));
    }
    return value;
}
