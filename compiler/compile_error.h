#pragma once

#include "core/errors.h"

namespace doxel::chm {

// The help file cannot be made from the project as it is: a file the
// project names is missing or too large, a name the help file cannot hold,
// a contents nested deeper than viewers follow. The message says which.
class CompileError : public Error {
public:
    using Error::Error;
};

}  // namespace doxel::chm
