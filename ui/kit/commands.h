#pragma once

#include <QString>

#include <optional>

#include "ui/logic/command_names.h"

namespace doxel {

// The command or menu of an objectName ("Delete1"); nothing for another name.
std::optional<Command> commandNamed(const QString& name);
std::optional<Menu> menuNamed(const QString& name);

}  // namespace doxel
