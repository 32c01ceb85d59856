#include "devsettings/RegisterCodec.h"

#include "devsettings/MyProperty.h"

namespace RegisterCodec {

void Encode(const CMyProperty& row, uint16_t* words) {
    const RegisterBinding& b = row.Binding();
    const int count = b.count < 0 ? 0 : (b.count > kMaxWords ? kMaxWords : b.count);
    for (int i = 0; i < count; ++i)
        words[i] = 0;
    if (b.kind == EK_PASSWASCII) {
        const QString text = row.Text();
        for (int i = 0; i < count && i < text.size(); ++i)
            words[i] = text[i].unicode();
        return;
    }
    const uint32_t v = uint32_t(uint64_t(row.Value()));
    if (count == 1) {
        words[0] = uint16_t(v & 0xFFFF);
    } else if (count == 2) {
        words[0] = uint16_t(v >> 16);
        words[1] = uint16_t(v & 0xFFFF);
    }
}

int64_t DecodeInteger(uint32_t type, const uint16_t* words) {
    switch (type) {
        case RT_INT16:
            return int16_t(words[0]);
        case RT_UINT16:
            return words[0];
        case RT_INT32:
            return int32_t((uint32_t(words[0]) << 16) | words[1]);
        case RT_UINT32:
            return (uint32_t(words[0]) << 16) | words[1];
        default:
            return 0;
    }
}

QString DecodeText(int count, const uint16_t* words) {
    QString text(count < 0 ? 0 : count, Qt::Uninitialized);
    for (int i = 0; i < text.size(); ++i)
        text[i] = QChar(words[i]);
    return text;
}

void Decode(CMyProperty& row, const uint16_t* words) {
    const RegisterBinding& b = row.Binding();
    if (b.kind == EK_PASSWASCII)
        row.SetText(DecodeText(b.count > kMaxWords ? kMaxWords : b.count, words));
    else if (b.count == 1 || b.count == 2)
        row.SetValue(DecodeInteger(b.type, words));
}

}  // namespace RegisterCodec
