#include "controls/IconIds.h"

QString IconPath(int id) {
    const char* name = nullptr;
    switch (id) {
    case IDI_TOOLBAR_ADD: name = "toolbar_add"; break;
    case IDI_TOOLBAR_EDIT: name = "toolbar_edit"; break;
    case IDI_TAB_DARK: name = "tab_dark"; break;
    case IDI_TAB_RED: name = "tab_red"; break;
    case IDI_TAB_GREEN: name = "tab_green"; break;
    case IDI_TOOLBAR_CONNECT: name = "toolbar_connect"; break;
    case IDI_TOOLBAR_DISCONNECT: name = "toolbar_disconnect"; break;
    case IDI_LIST_OK: name = "list_ok"; break;
    case IDI_LIST_ERROR: name = "list_error"; break;
    case IDI_TOOLBAR_DELETE: name = "toolbar_delete"; break;
    case IDI_TOOLBAR_FILES_RDF: name = "toolbar_files_rdf"; break;
    case IDI_WAIT: name = "wait"; break;
    case IDI_TOOLBAR_LIVE_GRAPH: name = "toolbar_live_graph"; break;
    case IDI_LAMP_GREEN: name = "lamp_green"; break;
    case IDI_LAMP_RED: name = "lamp_red"; break;
    case IDI_BAR_AMBER: name = "bar_amber"; break;
    case IDI_BAR_GREEN: name = "bar_green"; break;
    case IDI_BAR_GREY: name = "bar_grey"; break;
    default: return QString();
    }
    return QStringLiteral(":/icons/") + QLatin1String(name) + QStringLiteral(".svg");
}
