#pragma once

#include <string>

#include "core/settings.h"

class QString;

namespace doxel {

// The settings as an INI file through QSettings: organisation "Tervanis",
// application "HTML Doxel", so $XDG_CONFIG_HOME/Tervanis/HTML Doxel.conf.
// Every call opens the file anew, so nothing is cached and a change made
// anywhere is seen at the next read.
class QSettingsStore final : public SettingsStore {
public:
    std::string read(const std::string& name) override;
    void write(const std::string& name, const std::string& value) override;
    std::string readProblem() const override;

private:
    void noteUnreadableLine(const QString& fileName);

    std::string m_problem;
};

}  // namespace doxel
