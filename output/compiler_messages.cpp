#include "output/compiler_messages.h"

#include <filesystem>

namespace doxel {
namespace {

constexpr std::string_view kAnchorStart = "Error: Anchor ";
constexpr std::string_view kAnchorMiddle = " undefined; first use ";
constexpr std::string_view kFoundStart = "Warning: Found file ";
constexpr std::string_view kFoundMiddle = " while scanning ";
constexpr std::string_view kFoundEnd = ", but couldn't find it on disk";

std::string_view withoutPrefix(std::string_view line)
{
    return line.substr(line.find(':') + 1);
}

}  // namespace

MessageKind messageKindOf(std::string_view line)
{
    if (line.starts_with("Warning:"))
        return MessageKind::Warning;
    if (line.starts_with("Error:"))
        return MessageKind::Error;
    if (line.starts_with("Note:"))
        return MessageKind::Note;
    return MessageKind::Plain;
}

CompilerMessage interpretChmcmdLine(std::string_view line, HelpFileCheck& check)
{
    if (line.starts_with(kAnchorStart)) {
        const std::size_t middle = line.find(kAnchorMiddle);
        const std::string_view target = line.substr(kAnchorStart.size(), middle - kAnchorStart.size());
        const std::size_t hash = target.rfind('#');
        if (middle != std::string_view::npos && hash != std::string_view::npos) {
            const std::string_view firstUse = line.substr(middle + kAnchorMiddle.size());
            std::string page(target.substr(0, hash));
            // "pages/#name": a link to a place within pages/<first use>.
            if (page.empty() || page.ends_with("/"))
                page += firstUse;
            page = std::filesystem::path(page).lexically_normal().generic_string();
            const std::string_view name = target.substr(hash + 1);
            switch (check.findAnchor(page, name)) {
            case HelpFileCheck::Anchor::Defined:
                return {MessageKind::Note, "Note: Anchor " + page + "#" + std::string(name) +
                                               " is defined; chmcmd reported it undefined (first use " +
                                               std::string(firstUse) + ")"};
            case HelpFileCheck::Anchor::Undefined:
            case HelpFileCheck::Anchor::NoPage:
                return {MessageKind::Error, std::string(kAnchorStart) + page + "#" + std::string(name) +
                                                std::string(kAnchorMiddle) + std::string(firstUse)};
            }
        }
    }
    if (line.starts_with(kFoundStart) && line.ends_with(kFoundEnd)) {
        const std::size_t middle = line.find(kFoundMiddle);
        if (middle != std::string_view::npos) {
            const std::string_view target = line.substr(kFoundStart.size(), middle - kFoundStart.size());
            if (target.empty() || target.ends_with("/") || check.reportedMissing(target))
                return {MessageKind::Note, "Note:" + std::string(withoutPrefix(line))};
        }
    }
    return {messageKindOf(line), std::string(line)};
}

bool needsPageScan(std::string_view line)
{
    return line.starts_with(kAnchorStart) || (line.starts_with(kFoundStart) && line.ends_with(kFoundEnd));
}

}  // namespace doxel
