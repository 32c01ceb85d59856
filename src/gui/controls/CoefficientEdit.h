#pragma once

class QLineEdit;

// The coefficient boxes of the live graph and the recorded-data graph react alike to every
// keystroke: the typed number is normalised and shown again with the caret kept where the
// operator types, and anything that is not a number brings back current, all selected so
// the next key replaces it. Returns the coefficient the row now has.
double ApplyCoefficientEdit(QLineEdit* edit, double current);
