#pragma once

#include <utility>

#include "devsettings/MyProperty.h"

// A row chosen from a drop-down: it holds the chosen option's index, shows the option's
// text, and takes a typed text only when it names an option. What the registers hold for
// an index is the subclass's (the index itself, a byte count, a source code).
class CMyPropertyChoice : public CMyProperty {
  public:
    QString FormatValue() const override;
    bool ParseText(const QString& text) override;
    bool IsModified() const override { return m_index != m_baseline; }
    void AcceptValue() override;
    void RevertToBaseline() override;

    int Index() const { return m_index; }

  protected:
    CMyPropertyChoice(QString name, QString description, RegisterBinding binding)
        : CMyProperty(std::move(name), std::move(description), binding) {}

    int BaselineIndex() const { return m_baseline; }
    // The factory choice: current and baseline alike, nothing marked.
    void StartAt(int index) { m_index = m_baseline = index; }
    // A value set from outside (a device read, a file): marks the row as SetValue does.
    void Select(int index);

  private:
    int m_index = 0;
    int m_baseline = 0;
};
