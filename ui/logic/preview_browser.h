#pragma once

#include <string>

namespace doxel {

// The web browser the preview shows pages in, as small as the preview
// needs it. Its navigate-complete event goes to TopicPreview::navigateComplete.
class PreviewBrowser {
public:
    virtual ~PreviewBrowser() = default;

    // Loads the local file `file`, scrolled to `anchor` when that is not
    // empty.
    virtual void navigate(const std::string& file, const std::string& anchor) = 0;
    // Reloads the page shown.
    virtual void refresh() = 0;
    // The plain text of the user's selection in the page shown; empty when
    // nothing is selected.
    virtual std::string selectedText() = 0;
};

}  // namespace doxel
