#pragma once

#include <QString>

#include "ui/preview/web_browser.h"

namespace doxel {

// The web engine module's browser factory, loaded on the first call: from
// `modulePath` when given, else beside the program (a build tree) or in
// the installation's lib/html-doxel/. Null, with `error` saying why, when
// the module cannot be loaded (the web engine is not installed).
CreateWebBrowserFunction loadWebBrowserFactory(QString* error, const QString& modulePath = {});

}  // namespace doxel
