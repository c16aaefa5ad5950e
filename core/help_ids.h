#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "core/project.h"

namespace doxel {

// A help id's name is what an application's code spells: a C identifier of
// letters, digits and '_' that does not start with a digit.
bool isHelpIdName(std::string_view name);

// Reads a help id's number as a C header or a help project writes it
// ("1001", "0x3E9"); 0 when the text is no number or lies outside 1 to
// kMaxHelpIdNumber.
std::uint32_t helpIdNumber(std::string_view text);

// The number to propose for a new help id: one above the largest in use,
// or the first free one when the largest is kMaxHelpIdNumber; 1000 when
// there are none, the first number most application headers use.
std::uint32_t nextFreeHelpIdNumber(std::span<const HelpId> ids);

}  // namespace doxel
