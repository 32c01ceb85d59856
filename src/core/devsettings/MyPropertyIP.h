#pragma once

#include "devsettings/MyProperty.h"

// An IPv4 address held as one integer with the first octet in the lowest byte.
class CMyPropertyIP final : public CMyProperty {
  public:
    CMyPropertyIP(const QString& name, uint32_t defaultAddress, const QString& description,
                  RegisterBinding binding);

    QString FormatValue() const override;
    // "a.b.c.d"; each number clamped to 0..255; fewer than four numbers keep the value.
    bool ParseText(const QString& text) override;
    bool IsModified() const override { return m_address != m_baseline; }
    void AcceptValue() override;
    void RevertToBaseline() override;
    int64_t Value() const override { return m_address; }
    int64_t BaselineValue() const override { return m_baseline; }
    void SetValue(int64_t v) override;

    static QString AddressText(uint32_t address);

  private:
    uint32_t m_address;
    uint32_t m_baseline;
};
