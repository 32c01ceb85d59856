#pragma once

// Which language texts are used as format templates, and with which arguments.
// Signature letters: 's' text, 'd' signed integer, 'u' unsigned integer, 'f' floating.
// A text's placeholders match a letter when they take that kind of argument: 'd' and 'u'
// accept any integer conversion (d i u o x X c), 'f' any floating one (f F e E g G), 's' %s.
struct LngFormat {
    int id;
    const char* signature;
};

// nullptr for a key that is not a format template.
const char* LngFormatSignature(int id);

// All entries, for tests that check the shipped language files.
const LngFormat* LngFormatTable(int* count);
