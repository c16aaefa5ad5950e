#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace doxel {

// The help viewer windows the program opened: compiled help files shown in
// the desktop's CHM viewer (its default application for the file type,
// through GIO; kchmviewer on a standard installation). The program
// remembers the viewer processes it started, so that it can end the ones
// showing one help file before that file is compiled again, and all of them
// when it quits. Viewers the user started are never touched. A viewer that
// ends, however it ends, is collected at once, so that no ended viewer stays
// behind as a defunct child of the program.
class HelpViewers {
public:
    // Starts a viewer for a file; returns its process id, or -1 with
    // `problem` set. The default uses GIO.
    using Starter = std::function<pid_t(const std::string& file, std::string& problem)>;

    HelpViewers();
    explicit HelpViewers(Starter starter);
    ~HelpViewers();
    HelpViewers(const HelpViewers&) = delete;
    HelpViewers& operator=(const HelpViewers&) = delete;

    // Opens `file` in a new viewer. Returns false, with `problem` set when
    // given, when no viewer could be started.
    bool open(const std::string& file, std::string* problem = nullptr);
    // The same with a starter of its own (one that opens the file at a page).
    bool openWith(const Starter& starter, const std::string& file, std::string* problem = nullptr);

    // Ends the viewers started for `file` (the same file by any path): asks
    // them to end, waits at most `wait`, then kills what is left. Returns
    // without waiting when there are none.
    void close(const std::string& file, std::chrono::milliseconds wait = std::chrono::milliseconds(2000));
    void closeAll(std::chrono::milliseconds wait = std::chrono::milliseconds(2000));

    // The viewers started that still run.
    std::vector<pid_t> running();

private:
    struct Child;
    struct Viewer {
        std::shared_ptr<Child> child;
        std::string file;
    };
    void collectEnded();
    void end(std::vector<Viewer> viewers, std::chrono::milliseconds wait);

    Starter m_starter;
    std::vector<Viewer> m_viewers;
};

// The program's one list of help viewers (the main window's View Help file,
// the compile run and the program's own help share it).
HelpViewers& programHelpViewers();

// Starts the desktop's default application for `file` through GIO as a child
// of this process; returns its process id, or -1 with `problem` set.
pid_t startDesktopViewer(const std::string& file, std::string& problem);

}  // namespace doxel
