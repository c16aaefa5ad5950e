#include "ui/logic/auto_sizer_rules.h"

#include <algorithm>
#include <limits>

#include "core/project.h"
#include "ui/logic/window_properties.h"

namespace doxel {
namespace {

std::int32_t clampedPosition(long long value)
{
    return static_cast<std::int32_t>(std::clamp<long long>(value, std::numeric_limits<std::int32_t>::min(),
                                                           std::numeric_limits<std::int32_t>::max()));
}

std::int32_t clampedSide(long long value)
{
    return static_cast<std::int32_t>(std::clamp<long long>(value, 1, kLargestWindowSide));
}

}  // namespace

WindowFrame innerAreaFor(const WindowFrame& frame, const FrameMargins& margins)
{
    return {clampedPosition(static_cast<long long>(frame.left) + margins.left),
            clampedPosition(static_cast<long long>(frame.top) + margins.top),
            clampedSide(static_cast<long long>(frame.width) - margins.left - margins.right),
            clampedSide(static_cast<long long>(frame.height) - margins.top - margins.bottom)};
}

WindowFrame outerFrameOf(const WindowFrame& inner, const FrameMargins& margins)
{
    return {clampedPosition(static_cast<long long>(inner.left) - margins.left),
            clampedPosition(static_cast<long long>(inner.top) - margins.top),
            clampedPosition(static_cast<long long>(inner.width) + margins.left + margins.right),
            clampedPosition(static_cast<long long>(inner.height) + margins.top + margins.bottom)};
}

WindowFrame frameFromFields(std::string_view left, std::string_view top, std::string_view width,
                            std::string_view height)
{
    const WindowSettings defaults;
    return {decimalNumber(left).value_or(defaults.left), decimalNumber(top).value_or(defaults.top),
            decimalNumber(width).value_or(defaults.width), decimalNumber(height).value_or(defaults.height)};
}

std::string sizeLabelText(const std::string& prefix, std::int32_t value)
{
    return prefix + std::to_string(value);
}

}  // namespace doxel
