#include "CtlCommand.h"

extern const CtlCommandGroup kRdfCommandGroup;

const CtlCommandGroup* CtlCommandGroups() {
    static const CtlCommandGroup groups[] = {
        kRdfCommandGroup,
        {nullptr, nullptr, nullptr},
    };
    return groups;
}

void CtlError(CtlStreams& io, const QString& message) {
    io.err << "trv730ctl: " << message << Qt::endl;
}
