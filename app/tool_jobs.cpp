#include "app/tool_jobs.h"

#include <filesystem>
#include <iostream>

#include "core/command_line.h"
#include "core/errors.h"
#include "tools/tool_files.h"
#include "tools/tool_options.h"

namespace doxel {
namespace {

constexpr int kExitFailedFiles = 1;
constexpr int kExitUsage = 2;

int usageProblem(const std::string& problem)
{
    std::cerr << "doxel: " << escapeControls(problem) << "\n\n" << usageText();
    return kExitUsage;
}

void reportFailures(const std::vector<FileBatch::Failure>& failures)
{
    for (const FileBatch::Failure& failure : failures)
        std::cerr << "doxel: " << escapeControls(failure.message) << "\n";
}

void reportNotFiles(const std::vector<std::string>& skipped)
{
    for (const std::string& file : skipped) {
        std::error_code error;
        if (std::filesystem::is_directory(file, error))
            std::cerr << "doxel: " << escapeControls(file) << " is a folder, not a file\n";
        else
            std::cerr << "doxel: cannot read " << escapeControls(file) << ": no such file\n";
    }
}

}  // namespace

int txtToHtmlFromCommandLine(const std::vector<std::string>& arguments)
{
    const TxtToHtmlArguments parsed = parseTxtToHtmlArguments(arguments);
    if (!parsed.problem.empty())
        return usageProblem(parsed.problem);
    // The page takes the text file's name with its last three characters
    // replaced, which only makes sense for a ".txt" file.
    std::vector<std::string> files;
    bool failed = false;
    for (const std::string& file : parsed.files) {
        if (toolTakesFile(file.substr(file.rfind('/') + 1), ToolFileKind::Text)) {
            files.push_back(file);
        } else {
            std::cerr << "doxel: " << escapeControls(file) << " is not a .txt file; left as it is\n";
            failed = true;
        }
    }
    ConversionControl control;
    control.stopAtFailure = false;
    const ConversionResult result = convertFiles(files, parsed.options, control);
    for (const std::string& page : result.pages)
        std::cout << escapeControls(page) << "\n";
    std::cout << "Number of files processed: " << result.pages.size() << "\n";
    reportNotFiles(result.skipped);
    reportFailures(result.failures);
    failed = failed || !result.skipped.empty() || !result.failures.empty();
    return failed ? kExitFailedFiles : 0;
}

int replaceFromCommandLine(const std::vector<std::string>& arguments)
{
    const ReplaceArguments parsed = parseReplaceArguments(arguments);
    if (!parsed.problem.empty())
        return usageProblem(parsed.problem);
    ReplaceRunControl control;
    control.stopAtFailure = false;
    const ReplaceRunResult result = replaceInFiles(parsed.files, parsed.options, control);
    std::cout << "Number of files processed: " << result.processed << "\n"
              << "Number of files changed: " << result.changed << "\n";
    reportNotFiles(result.skipped);
    reportFailures(result.failures);
    return result.skipped.empty() && result.failures.empty() ? 0 : kExitFailedFiles;
}

}  // namespace doxel
