#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace doxel {

// A window's bounds in screen pixels: the outer frame (border and title bar
// included) or the inner area that a toolkit places, depending on use.
struct WindowFrame {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool operator==(const WindowFrame&) const = default;
};

// How far the window manager's frame reaches beyond the inner area on
// each side.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const FrameMargins&) const = default;
};

// The largest inner width or height a window may be given.
inline constexpr std::int32_t kLargestWindowSide = 16777215;

// The inner area that puts the outer frame at `frame`:
// frame 80,70 650x430 with margins 4,24,4,4 gives 84,94 642x402. The
// inner size is at least 1x1 and at most kLargestWindowSide, so a frame
// smaller than its own border cannot give a window without an inside;
// positions stay within 32 bits.
WindowFrame innerAreaFor(const WindowFrame& frame, const FrameMargins& margins);

// The outer frame around an inner area, the reverse of innerAreaFor.
WindowFrame outerFrameOf(const WindowFrame& inner, const FrameMargins& margins);

// The four position fields of the project properties dialog read as
// decimal integers; a field that is not one counts as the new project's
// value (80, 70, 650 and 430).
WindowFrame frameFromFields(std::string_view left, std::string_view top, std::string_view width,
                            std::string_view height);

// A size label: the localized prefix ("Width: ") and the number in
// decimal.
std::string sizeLabelText(const std::string& prefix, std::int32_t value);

}  // namespace doxel
