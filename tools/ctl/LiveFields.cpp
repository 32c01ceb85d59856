#include "LiveFields.h"

#include <QJsonArray>

#include "language/Language.h"

namespace {
LabelText Plain(const QString& text) { return {text, LabelText::kNoUnit}; }
QString Ch(int channel, const char* what) { return QStringLiteral("ch%1.%2").arg(channel).arg(QLatin1String(what)); }
}  // namespace

std::vector<LiveField> LiveFields(const LiveView& v) {
    std::vector<LiveField> f;
    for (int n = 0; n < 3; ++n) {
        f.push_back({Ch(1 + n, "voltage"), v.voltage[n].value});
        f.push_back({Ch(1 + n, "frequency"), v.voltage[n].frequency});
        f.push_back({Ch(1 + n, "distortion"), v.voltage[n].distortion});
    }
    for (int n = 0; n < 4; ++n) {
        f.push_back({Ch(4 + n, "current"), v.current[n].value});
        f.push_back({Ch(4 + n, "frequency"), v.current[n].frequency});
        f.push_back({Ch(4 + n, "distortion"), v.current[n].distortion});
    }
    for (int n = 0; n < 2; ++n) f.push_back({Ch(8 + n, "temperature"), v.temperature[n].value});
    f.push_back({Ch(10, "voltage"), v.analogVoltage.value});
    f.push_back({Ch(10, "user"), v.analogVoltage.userScaled});
    f.push_back({Ch(11, "current"), v.analogCurrent.value});
    f.push_back({Ch(11, "user"), v.analogCurrent.userScaled});
    for (int n = 0; n < 4; ++n) {
        f.push_back({Ch(12 + n, "input"), Plain(QString::number(v.inputs[n].lamp))});
        f.push_back({Ch(12 + n, "pulses-per-minute"), v.inputs[n].pulsesPerMinute});
        f.push_back({Ch(12 + n, "counter"), v.inputs[n].counter});
    }
    for (int n = 0; n < 3; ++n) {
        const PowerChannelView& p = v.power[n];
        f.push_back({Ch(16 + n, "apparent-power"), p.apparent});
        f.push_back({Ch(16 + n, "active-power"), p.active});
        f.push_back({Ch(16 + n, "reactive-power"), p.reactive});
        f.push_back({Ch(16 + n, "power-factor"), p.powerFactor});
        f.push_back({Ch(16 + n, "active-energy"), p.activeEnergy});
        f.push_back({Ch(16 + n, "reactive-energy"), p.reactiveEnergy});
    }
    f.push_back({Ch(19, "ab"), v.line.ab});
    f.push_back({Ch(19, "bc"), v.line.bc});
    f.push_back({Ch(19, "ca"), v.line.ca});
    f.push_back({Ch(19, "negative-sequence"), v.line.negativeSequence});
    f.push_back({Ch(19, "positive-sequence"), v.line.positiveSequence});
    f.push_back({Ch(19, "zero-sequence"), v.line.zeroSequence});

    f.push_back({"firmware", Plain(v.firmware)});
    f.push_back({"recording", Plain(v.recordingLamp ? "1" : "0")});
    f.push_back({"errors", Plain(v.errorLamp ? "1" : "0")});
    f.push_back({"error-word", Plain(QStringLiteral("0x%1").arg(v.errorWord, 8, 16, QLatin1Char('0')))});
    f.push_back({"card.present", Plain(v.card.present ? "1" : "0")});
    f.push_back({"card.capacity-bytes", Plain(QString::number(v.card.capacityBytes, 'f', 0))});
    f.push_back({"card.free-bytes", Plain(QString::number(v.card.freeBytes, 'f', 0))});
    f.push_back({"file.name", Plain(v.fileName)});
    f.push_back({"file.size", v.fileSize});
    f.push_back({"uptime", Plain(v.uptime)});
    f.push_back({"device-clock", Plain(v.deviceClock)});
    f.push_back({"events.count", Plain(v.eventCount)});
    f.push_back({"events.last", Plain(v.lastEvent)});
    return f;
}

QString LiveFieldsText(const LiveView& view) {
    const std::vector<LiveField> fields = LiveFields(view);
    int width = 0;
    for (const LiveField& f : fields) width = std::max(width, int(f.name.size()));
    QString text;
    for (const LiveField& f : fields) {
        text += f.name.leftJustified(width + 2) + f.text.value;
        const QString unit = f.text.UnitText();
        if (!unit.isEmpty()) text += u' ' + unit;
        text += u'\n';
    }
    return text;
}

QJsonObject LiveFieldsJson(const LiveView& view) {
    QJsonObject values;
    for (const LiveField& f : LiveFields(view)) {
        QJsonObject o{{"value", f.text.value}, {"unit", f.text.UnitText()}};
        if (f.text.unitKey != LabelText::kNoUnit)
            o.insert("unitKey", QString::fromLatin1(CLanguage::KeyName(f.text.unitKey)));
        values.insert(f.name, o);
    }
    QJsonArray graph;
    for (const LiveGraphPoint& p : view.graph) graph.append(QJsonArray{double(p.key), p.value});
    return QJsonObject{{"values", values}, {"graph", graph}};
}
