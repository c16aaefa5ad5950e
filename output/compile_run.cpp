#include "output/compile_run.h"

#include <filesystem>

#include "core/errors.h"

namespace doxel {
namespace {

// A setting that cannot be read counts as off: the run is past the point
// where it could stop cleanly, and the input files must still be deleted.
bool isOn(SettingsStore& settings, const std::string& name)
{
    try {
        return settingIsOn(settings, name);
    } catch (const SettingsError&) {
        return false;
    }
}

void removeIfPresent(const std::string& path)
{
    if (path.empty())
        return;
    std::error_code error;
    std::filesystem::remove(path, error);
}

bool isFile(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(path, error);
}

}  // namespace

CompileStatistics& CompileStatistics::operator+=(const CompileStatistics& other)
{
    warnings += other.warnings;
    errors += other.errors;
    topics += other.topics;
    graphics += other.graphics;
    localLinks += other.localLinks;
    internetLinks += other.internetLinks;
    return *this;
}

std::vector<SummaryRow> summaryRows(const CompileStatistics& s)
{
    return {{"Warnings", s.warnings, 2},      {"Errors", s.errors, 1},
            {"Topics", s.topics, 5},          {"Local Links", s.localLinks, 3},
            {"Internet Links", s.internetLinks, 4}, {"Graphics", s.graphics, 0}};
}

CompileFiles compileFilesOf(const Project& project)
{
    return {project.helpProjectFile, project.contentsFile, project.indexFile, project.compiledFile};
}

CompileResult CompileRun(CompilerLibrary& library, SettingsStore& settings, CompileHost& host,
                         const CompileFiles& files)
{
    CompileResult result;
    host.closeHelpViewers(files.compiledFile);
    host.keepAlive();

    if (!library.load() && !library.problem().empty())
        host.addLogLine(library.problem());
    library.init();
    const auto log = [&host](const std::string& line) { host.addLogLine(line); };
    const auto progress = [&host](const std::string& text) {
        host.keepAlive();
        host.showProgressText(text);
    };
    if (!library.isLoaded() || !library.compile(files.helpProjectFile, log, progress, result.statistics)) {
        host.showFailure();
        return result;
    }

    if (isOn(settings, "LaunchHelp") && result.statistics.errors == 0)
        host.openHelpFile(files.compiledFile);
    if (isOn(settings, "ViewLog"))
        host.viewLogFile();
    removeIfPresent(files.helpProjectFile);
    removeIfPresent(files.contentsFile);
    removeIfPresent(files.indexFile);
    host.showSummary(result.statistics);
    library.free();
    result.succeeded = true;
    return result;
}

bool canCompile(const Project& project)
{
    return project.entryCount() > 1;
}

bool helpFileExists(const Project& project)
{
    return isFile(project.compiledFile);
}

bool logFileExists(SettingsStore& settings)
{
    try {
        return isFile(ReadSetting(settings, "LogFile"));
    } catch (const SettingsError&) {
        return false;
    }
}

}  // namespace doxel
