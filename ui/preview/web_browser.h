#pragma once

#include <functional>
#include <string>

#include "ui/logic/preview_browser.h"

class QWidget;

namespace doxel {

// What a browser reports to the preview.
struct WebBrowserEvents {
    // A page finished loading: its local path, empty for a page that is not
    // a local file.
    std::function<void(const std::string& path)> navigateComplete;
    // A local page the preview asked for could not be loaded.
    std::function<void()> navigationFailed;
};

// The preview's browser as a widget of the "Preview" page. Deleting the
// widget deletes the browser.
class WebBrowser : public PreviewBrowser {
public:
    virtual QWidget* widget() = 0;
};

// The web engine lives in a module of its own that is loaded the first
// time the preview shows a page: linking the program with it would make
// every start-up load the engine's libraries.
//
// The module's one entry, looked up by name: a new browser as a child of
// `parent`.
using CreateWebBrowserFunction = WebBrowser* (*)(QWidget* parent, const WebBrowserEvents& events);
inline constexpr const char* kCreateWebBrowserSymbol = "doxelCreateWebBrowser";
inline constexpr const char* kWebBrowserModuleName = "doxel_web_browser";

// The module's versions, asked only when the author asks for them: part 0
// the Chromium the engine is built on ("108.0.5359.220"), part 1 Qt
// WebEngine's ("6.4.2"). The texts live as long as the module.
using WebEngineVersionFunction = const char* (*)(int part);
inline constexpr const char* kWebEngineVersionSymbol = "doxelWebEngineVersion";

}  // namespace doxel
