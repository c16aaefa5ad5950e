#pragma once

#include <functional>
#include <string>

namespace doxel {

// The context numbers of the program's own manual: each dialog has one,
// F1 in the dialog asks the help hook for it, and the viewer layer opens
// the page it is mapped to (CHM viewers on this desktop know no context
// map of their own).
struct HelpTopic {
    int context;
    const char* windowClass;  // the objectName of the window it belongs to
    const char* page;         // the page inside doxel.chm
};

inline constexpr HelpTopic kHelpTopics[] = {
    {1000, "TMainForm", "main_window.htm"},
    {1010, "TItemProperties", "item_properties.htm"},
    {1020, "TProjectProperties", "project_properties.htm"},
    {1030, "TAutoSizer", "auto_sizer.htm"},
    {1040, "TPreferences", "settings.htm"},
    {1050, "TTXT2HTML", "txt_to_html.htm"},
    {1060, "TSearchReplace", "search_replace.htm"},
    {1070, "TCompileForm", "compile.htm"},
    {1080, "THelpIds", "help_ids.htm"},
};

// The page the manual opens first.
inline constexpr const char* kWelcomePage = "welcome.htm";

// The context number of a window, 0 when it has none.
int helpContextOfWindow(const std::string& windowClass);
// The page of a context number; the welcome page for a number the manual
// does not know, so that help always opens somewhere useful.
std::string helpContextPage(int context);

// The manual in a user-interface language ("de"): doxel-de.chm beside the
// English `englishFile` when `exists` finds it, else the English manual, so
// that help opens in some language rather than not at all.
std::string manualFileForLanguage(const std::string& englishFile, const std::string& languageCode,
                                  const std::function<bool(const std::string&)>& exists);

}  // namespace doxel
