#include "CtlCommand.h"

extern const CtlCommandGroup kRdfCommandGroup;
extern const CtlCommandGroup kIdentifyCommandGroup;
extern const CtlCommandGroup kLiveCommandGroup;
extern const CtlCommandGroup kDeviceCommandGroup;
extern const CtlCommandGroup kDevicesCommandGroup;
extern const CtlCommandGroup kSettingsCommandGroup;
extern const CtlCommandGroup kClockCommandGroup;

const CtlCommandGroup* CtlCommandGroups() {
    static const CtlCommandGroup groups[] = {
        kIdentifyCommandGroup,
        kLiveCommandGroup,
        kDeviceCommandGroup,
        kRdfCommandGroup,
        kDevicesCommandGroup,
        kSettingsCommandGroup,
        kClockCommandGroup,
        {nullptr, nullptr, nullptr},
    };
    return groups;
}

void CtlError(CtlStreams& io, const QString& message) {
    io.err << "trv730ctl: " << message << Qt::endl;
}
