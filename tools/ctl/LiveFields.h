#pragma once

#include <QJsonObject>
#include <QString>
#include <vector>

#include "device/LiveView.h"

// The decoded values of one poll under stable names ("ch1.voltage", "uptime"), in the
// order of the device page, for printing.
struct LiveField {
    QString name;
    LabelText text;
};

std::vector<LiveField> LiveFields(const LiveView& view);
QString LiveFieldsText(const LiveView& view);
QJsonObject LiveFieldsJson(const LiveView& view);
