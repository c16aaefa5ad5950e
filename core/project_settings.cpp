#include "core/project_settings.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/help_ids.h"
#include "core/help_language.h"
#include "core/text_encoding.h"

namespace doxel {
namespace {

constexpr std::string_view kHelpFileSection = "[Help file]";
constexpr std::string_view kHelpIdsSection = "[Help ids]";
constexpr std::string_view kExtraFilesSection = "[Extra files]";
// A file with thousands of bad lines names the first ones; the rest are
// counted.
constexpr std::size_t kProblemsNamed = 50;

bool sameIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && asciiLower(a) == asciiLower(b);
}

bool hasDrive(std::string_view path)
{
    return path.size() >= 2 && path[1] == ':' &&
           ((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z'));
}

bool hasControlCharacter(std::string_view text)
{
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7f)
            return true;
    }
    return false;
}

// The stored form of a topic: relative to the project folder, "/"
// separated. A path from a Windows project that names another drive keeps
// its "\", which a resolver on this side takes back as it was.
std::string storedTopic(const std::string& topic, std::string_view projectFile, PathStyle style)
{
    std::string stored = projectRelativePath(topic, projectFile, style);
    if (!hasDrive(stored))
        std::replace(stored.begin(), stored.end(), '\\', '/');
    return stored;
}

class ProblemList {
public:
    ProblemList(std::vector<std::string>& problems, const std::string& fileName)
        : m_problems(problems), m_fileName(fileName)
    {
    }
    ~ProblemList()
    {
        if (m_count > kProblemsNamed) {
            m_problems.push_back(m_fileName + ": " + std::to_string(m_count - kProblemsNamed) +
                                 " more lines could not be read");
        }
    }
    ProblemList(const ProblemList&) = delete;
    ProblemList& operator=(const ProblemList&) = delete;

    void add(std::size_t line, const std::string& problem)
    {
        if (++m_count <= kProblemsNamed)
            m_problems.push_back(FormatError(m_fileName, static_cast<int>(line), problem).what());
    }

private:
    std::vector<std::string>& m_problems;
    const std::string& m_fileName;
    std::size_t m_count = 0;
};

int parseLanguageId(std::string_view text)
{
    text = trimmed(text);
    if (text == "0")
        return 0;
    const std::uint32_t value = helpIdNumber(text);  // decimal or 0x hexadecimal
    return value <= 0xFFFF ? static_cast<int>(value) : -1;
}

}  // namespace

std::string projectSettingsFileName(std::string_view projectFile)
{
    std::string name(projectFile);
    if (name.size() >= 4 && sameIgnoringAsciiCase(std::string_view(name).substr(name.size() - 4), ".dxp"))
        name.resize(name.size() - 4);
    return name + ".dxs";
}

std::string projectSettingsText(const Project& project, std::string_view projectFile, PathStyle style)
{
    if (project.helpIds.empty() && project.helpLanguageId == 0 && project.extraFiles.empty())
        return {};
    std::string out;
    out.reserve(256 + project.helpIds.size() * 64);
    out += kProjectSettingsFirstLine;
    out += '\n';
    if (project.helpLanguageId != 0) {
        char line[32];
        std::snprintf(line, sizeof line, "Language=0x%04X\n", static_cast<unsigned>(project.helpLanguageId));
        out += '\n';
        out += kHelpFileSection;
        out += '\n';
        out += line;
    }
    if (!project.helpIds.empty()) {
        out += '\n';
        out += kHelpIdsSection;
        out += '\n';
        for (const HelpId& id : project.helpIds) {
            out += id.name;
            out += '=';
            out += std::to_string(id.number);
            if (!id.topicFile.empty()) {
                out += ',';
                out += storedTopic(id.topicFile, projectFile, style);
            }
            out += '\n';
        }
    }
    if (!project.extraFiles.empty()) {
        out += '\n';
        out += kExtraFilesSection;
        out += '\n';
        for (const std::string& file : project.extraFiles) {
            out += "File=";
            out += storedTopic(file, projectFile, style);
            out += '\n';
        }
    }
    return out;
}

ProjectSettings readProjectSettingsText(std::string text, const std::string& fileName, StoredPathResolver& resolver,
                                        PathStyle style)
{
    ProjectSettings settings;
    ProblemList problems(settings.problems, fileName);
    if (text.starts_with("\xEF\xBB\xBF"))
        text.erase(0, 3);
    // Saved by an editor on Windows in its ANSI code page.
    if (!isValidUtf8(text))
        text = cp1252ToUtf8(text);

    enum class Section { None, HelpFile, HelpIds, ExtraFiles, Unknown };
    Section section = Section::None;
    bool languageSeen = false;
    std::unordered_map<std::string, std::size_t> lineOfName;
    std::unordered_map<std::uint32_t, std::size_t> lineOfNumber;
    std::size_t lineNumber = 0;
    std::size_t tooMany = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view raw = std::string_view(text).substr(start, end - start);
        start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
        ++lineNumber;

        const std::string_view line = trimmed(raw);
        if (line.empty() || line.starts_with('#') || line.starts_with(';'))
            continue;
        if (hasControlCharacter(line)) {
            problems.add(lineNumber, "the line holds control characters");
            continue;
        }
        if (line.starts_with('[')) {
            if (sameIgnoringAsciiCase(line, kHelpFileSection)) {
                section = Section::HelpFile;
            } else if (sameIgnoringAsciiCase(line, kHelpIdsSection)) {
                section = Section::HelpIds;
            } else if (sameIgnoringAsciiCase(line, kExtraFilesSection)) {
                section = Section::ExtraFiles;
            } else {
                section = Section::Unknown;
                problems.add(lineNumber, "the section \"" + std::string(firstCharacters(line, 60)) +
                                             "\" is unknown; its lines are not read");
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (section == Section::Unknown)
            continue;
        if (section == Section::None || equals == std::string_view::npos) {
            problems.add(lineNumber, "\"" + std::string(firstCharacters(line, 60)) +
                                         "\" is not a NAME=VALUE line of a known section");
            continue;
        }
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = line.substr(equals + 1);

        if (section == Section::HelpFile) {
            if (!sameIgnoringAsciiCase(key, "Language")) {
                problems.add(lineNumber, "the setting \"" + std::string(firstCharacters(key, 60)) + "\" is unknown");
                continue;
            }
            const int id = parseLanguageId(value);
            if (id != 0 && helpLanguageById(id) == nullptr) {
                problems.add(lineNumber, "the language \"" + std::string(firstCharacters(trimmed(value), 40)) +
                                             "\" is none a help file can be written in; the language is "
                                             "chosen from the text");
                continue;
            }
            if (languageSeen) {
                problems.add(lineNumber, "the language is given twice; the first one counts");
                continue;
            }
            languageSeen = true;
            settings.helpLanguageId = id;
            continue;
        }

        if (section == Section::ExtraFiles) {
            std::string stored(trimmed(value));
            if (!sameIgnoringAsciiCase(key, "File") || stored.empty()) {
                problems.add(lineNumber, "\"" + std::string(firstCharacters(line, 60)) + "\" is no File=PATH line");
                continue;
            }
            if (settings.extraFiles.size() >= kMaxExtraFiles) {
                ++tooMany;
                continue;
            }
            if (style == PathStyle::Windows)
                std::replace(stored.begin(), stored.end(), '/', '\\');
            settings.extraFiles.push_back(resolver.resolve(stored));
            continue;
        }

        // NAME=NUMBER,TOPIC; the topic may hold commas of its own.
        const std::size_t comma = value.find(',');
        const std::string_view numberText = trimmed(value.substr(0, comma));
        const std::string_view topic = comma == std::string_view::npos ? std::string_view() : value.substr(comma + 1);
        if (!isHelpIdName(key)) {
            problems.add(lineNumber, "\"" + std::string(firstCharacters(key, 60)) +
                                         "\" is no help id name (letters, digits and \"_\", not first a digit)");
            continue;
        }
        const std::uint32_t number = helpIdNumber(numberText);
        if (number == 0) {
            problems.add(lineNumber, "the number \"" + std::string(firstCharacters(numberText, 40)) + "\" of " +
                                         std::string(key) + " is not a whole number from 1 to " +
                                         std::to_string(kMaxHelpIdNumber));
            continue;
        }
        if (const auto first = lineOfName.find(std::string(key)); first != lineOfName.end()) {
            problems.add(lineNumber, std::string(key) + " is given on line " + std::to_string(first->second) +
                                         " already; that line counts");
            continue;
        }
        if (const auto first = lineOfNumber.find(number); first != lineOfNumber.end()) {
            problems.add(lineNumber, "the number " + std::to_string(number) + " of " + std::string(key) +
                                         " belongs to the help id on line " + std::to_string(first->second) +
                                         " already; that line counts");
            continue;
        }
        if (settings.helpIds.size() >= kMaxHelpIds) {
            ++tooMany;
            continue;
        }
        lineOfName.emplace(std::string(key), lineNumber);
        lineOfNumber.emplace(number, lineNumber);
        std::string stored(topic);
        if (style == PathStyle::Windows)
            std::replace(stored.begin(), stored.end(), '/', '\\');
        settings.helpIds.push_back({std::string(key), number, resolver.resolve(stored)});
    }
    if (tooMany > 0) {
        problems.add(lineNumber, std::to_string(tooMany) + " help ids or extra files beyond the first " +
                                     std::to_string(kMaxHelpIds) + " are not read");
    }
    return settings;
}

ProjectSettings readProjectSettings(const std::string& projectFile, PathStyle style, FolderListings* listings)
{
    const std::string fileName = projectSettingsFileName(projectFile);
    struct stat status {};
    if (::stat(fileName.c_str(), &status) != 0 && errno == ENOENT)
        return {};
    std::string text;
    try {
        text = readWholeFile(fileName, kProjectSettingsFileLimit);
    } catch (const IoError& error) {
        ProjectSettings unread;
        unread.problems.push_back(std::string(error.what()) +
                                  "; the help ids, extra files and the help file's "
                                  "language it holds are not read");
        return unread;
    }
    StoredPathResolver resolver(std::string(folderOf(projectFile, style)), style, listings);
    return readProjectSettingsText(std::move(text), fileName, resolver, style);
}

void writeProjectSettings(const Project& project, const std::string& projectFile, PathStyle style)
{
    const std::string fileName = projectSettingsFileName(projectFile);
    const std::string text = projectSettingsText(project, projectFile, style);
    if (!text.empty()) {
        writeFileAtomically(fileName, text);
        return;
    }
    // Nothing to keep: a file of ours left from before would bring back
    // help ids that were deleted. Anything else of that name is not ours
    // to remove, and a link is never followed.
    struct stat status {};
    if (::lstat(fileName.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return;
    std::ifstream in(fileName, std::ios::binary);
    char start[256];
    in.read(start, sizeof start);
    std::string_view firstLine(start, static_cast<std::size_t>(in.gcount()));
    if (firstLine.starts_with("\xEF\xBB\xBF"))
        firstLine.remove_prefix(3);
    firstLine = firstLine.substr(0, firstLine.find_first_of("\r\n"));
    if (firstLine != kProjectSettingsFirstLine)
        return;
    if (::unlink(fileName.c_str()) != 0 && errno != ENOENT)
        throw IoError(describeErrno("Cannot remove", fileName, errno));
}

}  // namespace doxel
