#include "ui/logic/shell_open.h"

namespace doxel {

std::vector<std::string> splitCommandLine(const std::string& commandLine)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < commandLine.size(); ++i) {
        const char c = commandLine[i];
        if (c == '"') {
            inWord = true;
            if (quoted && i + 1 < commandLine.size() && commandLine[i + 1] == '"') {
                current += '"';
                ++i;
            } else {
                quoted = !quoted;
            }
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                arguments.push_back(current);
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord)
        arguments.push_back(current);
    return arguments;
}

void shellOpen(Desktop& desktop, const std::string& file, const std::string& parameters, const std::string& folder)
{
    if (file.empty())
        return;
    if (parameters.empty())
        desktop.openDocument(file);
    else
        desktop.startProgram(file, splitCommandLine(parameters), folder);
}

}  // namespace doxel
