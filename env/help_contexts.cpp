#include "env/help_contexts.h"

namespace doxel {

int helpContextOfWindow(const std::string& windowClass)
{
    for (const HelpTopic& topic : kHelpTopics) {
        if (windowClass == topic.windowClass)
            return topic.context;
    }
    return 0;
}

std::string helpContextPage(int context)
{
    for (const HelpTopic& topic : kHelpTopics) {
        if (context == topic.context)
            return topic.page;
    }
    return kWelcomePage;
}

std::string manualFileForLanguage(const std::string& englishFile, const std::string& languageCode,
                                  const std::function<bool(const std::string&)>& exists)
{
    if (languageCode.empty() || languageCode == "en")
        return englishFile;
    const std::size_t slash = englishFile.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string name = englishFile.substr(nameStart);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return englishFile;
    name.insert(dot, "-" + languageCode);
    std::string translated = englishFile.substr(0, nameStart) + name;
    return exists(translated) ? translated : englishFile;
}

}  // namespace doxel
