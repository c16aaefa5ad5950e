#include "platform/desktop_apps.h"

#include <cstring>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace doxel {

std::string findDesktopHtmlEditor()
{
    std::string command;
    GList* apps = g_app_info_get_all_for_type("text/html");
    for (GList* item = apps; item != nullptr && command.empty(); item = item->next) {
        auto* app = static_cast<GAppInfo*>(item->data);
        if (G_IS_DESKTOP_APP_INFO(app)) {
            const char* categories = g_desktop_app_info_get_categories(G_DESKTOP_APP_INFO(app));
            if (categories != nullptr && std::strstr(categories, "WebBrowser") != nullptr)
                continue;
        }
        const char* line = g_app_info_get_commandline(app);
        if (line == nullptr)
            continue;
        for (const char* c = line; *c != '\0'; ++c) {
            if (*c != '"')
                command += *c;
        }
    }
    g_list_free_full(apps, g_object_unref);
    return command;
}

}  // namespace doxel
