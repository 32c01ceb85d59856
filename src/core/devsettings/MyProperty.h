#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "devsettings/PropertyNotifier.h"
#include "devsettings/RegisterBinding.h"

// One device parameter as a row of the settings grid: its texts, its value in the form
// the device stores it, a baseline that tells whether the row was changed, and where the
// value lives in the device's registers. The eight editor classes derive from this.
//
// The grid keeps a modified mark per row. It follows IsModified() only when the row
// reports ParameterChanged, and AcceptValue/RevertToBaseline clear it; the grid draws
// marked rows in bold.
class CMyProperty {
  public:
    CMyProperty(QString name, QString description, RegisterBinding binding);
    virtual ~CMyProperty() = default;
    CMyProperty(const CMyProperty&) = delete;
    CMyProperty& operator=(const CMyProperty&) = delete;

    const QString& Name() const { return m_name; }
    void SetName(const QString& name);
    const QString& Description() const { return m_description; }
    const RegisterBinding& Binding() const { return m_binding; }
    EditorKind Kind() const { return EditorKind(m_binding.kind); }

    // Drop-down choices; empty for rows edited as free text.
    const QStringList& Options() const { return m_options; }
    // Characters the in-place editor accepts; empty: the grid's standard editor.
    virtual QString EditCharacters() const { return {}; }
    // What an in-place editor is filled with (the display text, bare for passwords).
    virtual QString EditText() const { return FormatValue(); }

    // The display text of the current value.
    virtual QString FormatValue() const = 0;
    // Takes an edited text; an unreadable text keeps the value. True when the value changed.
    virtual bool ParseText(const QString& text) = 0;
    virtual bool IsModified() const = 0;
    virtual void AcceptValue() = 0;
    virtual void RevertToBaseline() = 0;

    // Numeric rows: the register value (for file-size and source rows the table value of
    // the chosen option). Text rows answer 0.
    virtual int64_t Value() const { return 0; }
    virtual int64_t BaselineValue() const { return 0; }
    // Text rows: the held text, zero characters included. Numeric rows answer empty.
    virtual QString Text() const { return {}; }
    virtual QString BaselineText() const { return {}; }
    // A value from the device or a file, checked and clamped by the row's own rules.
    virtual void SetValue(int64_t) {}
    virtual void SetText(const QString&) {}

    bool ModifiedMark() const { return m_modifiedMark; }
    void SetNotifier(IPropertyNotifier* notifier) { m_notifier = notifier; }

  protected:
    // After an edit or a SetValue that calls for it: refresh the mark, tell the grid.
    void NotifyParameterChanged();
    // After AcceptValue or RevertToBaseline: mark cleared, row redrawn.
    void ClearMark();
    void NotifyRowUpdated();
    // A SetValue: the grid hears of it when the value moved or differs from its baseline.
    void AfterSetValue(bool changed);

    // Splits "a|b|c" into option texts, each cut to 127 characters.
    static QStringList SplitOptions(const QString& text);
    // Adds an option unless its text is already there; false when left out.
    bool AddOption(const QString& text);
    // First option equal to the trimmed text without regard to case, or -1.
    int MatchOption(const QString& text) const;

    QStringList m_options;

  private:
    QString m_name;
    QString m_description;
    RegisterBinding m_binding;
    IPropertyNotifier* m_notifier = nullptr;
    bool m_modifiedMark = false;
};
