#include "devsettings/MyPropertyList.h"

CMyPropertyList::CMyPropertyList(const QString& name, int defaultIndex, const QString& options,
                                 const QString& description, RegisterBinding binding)
    : CMyPropertyChoice(name, description, binding) {
    for (const QString& option : SplitOptions(options))
        AddOption(option);
    StartAt(defaultIndex & 0xFFFF);
}
