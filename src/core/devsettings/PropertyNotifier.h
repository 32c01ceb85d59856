#pragma once

class CMyProperty;

// What an editor tells the grid that shows it. The settings window implements it;
// the parameter table forwards to it after its own handling, and tests fake it.
class IPropertyNotifier {
  public:
    virtual ~IPropertyNotifier() = default;

    // The row's value was changed by an edit, a device read or a file load. The row's
    // modified mark has already been recomputed.
    virtual void ParameterChanged(CMyProperty& row) = 0;
    // The row's name, value text or modified mark changed: redraw it and refill an open
    // in-place editor from CMyProperty::EditText().
    virtual void RowUpdated(CMyProperty& row) = 0;
};
