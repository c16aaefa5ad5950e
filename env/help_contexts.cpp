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

}  // namespace doxel
