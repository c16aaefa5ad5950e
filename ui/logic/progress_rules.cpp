#include "ui/logic/progress_rules.h"

namespace doxel {

bool progressWindowShown(SettingsStore& settings, int maximum)
{
    return Settings(settings).number(setting::kProgressMinimum) < maximum;
}

bool EventPacer::due()
{
    return (++m_calls & 15U) == 0 && due(Clock::now());
}

bool EventPacer::due(Clock::time_point now)
{
    if (now - m_last < m_interval)
        return false;
    m_last = now;
    return true;
}

}  // namespace doxel
