#pragma once

namespace doxel {

enum class ProgressMode { Start, Step, End };

// Long operations report through this: Start once with the number of steps
// as the maximum, Step once per item with the position reached, End once.
// The window shows it as its progress window; callers without a window pass
// NullProgress.
class ProgressReporter {
public:
    virtual ~ProgressReporter() = default;
    virtual void showProgress(ProgressMode mode, int value) = 0;
};

class NullProgress final : public ProgressReporter {
public:
    void showProgress(ProgressMode, int) override {}
};

// Starts the reporter and makes sure End is reported however the operation
// ends, so a failed save never leaves the progress window open.
class ProgressScope {
public:
    ProgressScope(ProgressReporter& reporter, int maximum) : m_reporter(reporter)
    {
        m_reporter.showProgress(ProgressMode::Start, maximum);
    }
    ~ProgressScope() { m_reporter.showProgress(ProgressMode::End, 0); }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

    void step(int position) { m_reporter.showProgress(ProgressMode::Step, position); }

private:
    ProgressReporter& m_reporter;
};

}  // namespace doxel
