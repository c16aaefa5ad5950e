#include "formats/help_id_map.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/help_ids.h"
#include "core/path_rules.h"
#include "core/text_encoding.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

// Headers are small; anything larger is no header of help ids.
constexpr std::size_t kIncludedFileLimit = 16u << 20;
constexpr int kMaxIncludeDepth = 8;
constexpr std::size_t kMaxIncludedFiles = 256;
constexpr std::size_t kMaxDefines = 200000;

std::string_view trimmedText(std::string_view text)
{
    return trimmed(text, " \t\r\f\v");
}

// The text of a header as UTF-8 bytes, however a Windows editor saved it.
std::string headerText(std::string_view bytes)
{
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        try {
            return toUtf8(bytes, "UTF-16");
        } catch (const ConversionError&) {
            return {};
        }
    }
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    return std::string(bytes);
}

// The line without its comments; `inBlock` carries a "/*" comment over to
// the next line.
std::string withoutComments(std::string_view line, bool& inBlock)
{
    std::string out;
    std::size_t pos = 0;
    while (pos < line.size()) {
        if (inBlock) {
            const std::size_t close = line.find("*/", pos);
            if (close == std::string_view::npos)
                return out;
            inBlock = false;
            pos = close + 2;
            out += ' ';
            continue;
        }
        const char c = line[pos];
        if (c == ';' || (c == '/' && pos + 1 < line.size() && line[pos + 1] == '/'))
            break;
        if (c == '/' && pos + 1 < line.size() && line[pos + 1] == '*') {
            inBlock = true;
            pos += 2;
            continue;
        }
        out += c;
        ++pos;
    }
    return out;
}

// Calls visit(number, line) for each line of C-like text that holds more
// than comments, with its comments taken out and its blanks trimmed;
// `number` counts from 1.
template <typename Visit>
void forEachCodeLine(std::string_view text, Visit&& visit)
{
    bool inBlock = false;
    int number = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view raw = text.substr(start, end - start);
        start = end + 1;
        ++number;
        const std::string stripped = withoutComments(raw, inBlock);
        const std::string_view line = trimmedText(stripped);
        if (!line.empty())
            visit(number, line);
    }
}

// The file an #include names: "name.h" or <name.h>, what follows the word.
std::string includedName(std::string_view rest)
{
    rest = trimmedText(rest);
    if (rest.size() >= 2 &&
        ((rest.front() == '"' && rest.back() == '"') || (rest.front() == '<' && rest.back() == '>')))
        rest = rest.substr(1, rest.size() - 2);
    return std::string(trimmedText(rest));
}

// "(1001)", "1001L", "0x3E9u": the number a C compiler reads, or 0.
std::uint32_t defineNumber(std::string_view value)
{
    value = trimmedText(value);
    while (value.size() >= 2 && value.front() == '(' && value.back() == ')')
        value = trimmedText(value.substr(1, value.size() - 2));
    while (!value.empty() && (value.back() == 'u' || value.back() == 'U' || value.back() == 'l' || value.back() == 'L'))
        value.remove_suffix(1);
    return helpIdNumber(value);
}

std::string lineLabel(std::string_view label, int line)
{
    return std::string(label) + (line > 0 ? ", line " + std::to_string(line) : std::string()) + ": ";
}

std::string slashed(std::string text)
{
    std::replace(text.begin(), text.end(), '\\', '/');
    return text;
}

// Reads [MAP] and [ALIAS] with the files they include.
class HelpIdReader {
public:
    HelpIdReader(std::string folder, const CodePage& page) : m_folder(std::move(folder)), m_page(page) {}

    void readMap(std::string_view text, const std::string& label, const std::string& fileFolder, int depth, bool strict)
    {
        HelpIdHeader header = readHelpIdHeader(text, strict);
        for (const SitemapNote& item : header.notes)
            note(label, item.line, item.text);
        for (HelpIdHeaderLine& line : header.lines) {
            if (line.name.empty()) {
                include(line.include, label, line.line, fileFolder, depth,
                        [this](std::string_view bytes, const std::string& name, const std::string& folder, int level) {
                            readMap(headerText(bytes), name, folder, level, false);
                        });
                continue;
            }
            if (m_defines.size() >= kMaxDefines) {
                if (!m_tooMany) {
                    m_tooMany = true;
                    note(label, line.line,
                         "more than " + std::to_string(kMaxDefines) + " help ids; the rest are left out");
                }
                return;
            }
            m_defines.push_back({std::move(line.name), line.number, lineLabel(label, line.line)});
        }
    }

    void readAliases(std::string_view text, const std::string& label, const std::string& fileFolder, int depth)
    {
        forEachCodeLine(text, [&](int number, std::string_view line) {
            if (line.starts_with('#')) {
                const std::string_view rest = trimmedText(line.substr(1));
                if (!rest.starts_with("include")) {
                    note(label, number, "\"" + std::string(line) + "\" is no alias; it is passed over");
                    return;
                }
                include(includedName(rest.substr(7)), label, number, fileFolder, depth,
                        [this](std::string_view bytes, const std::string& name, const std::string& folder, int level) {
                            readAliases(headerText(bytes), name, folder, level);
                        });
                return;
            }
            const std::size_t equals = line.find('=');
            const std::string name(trimmedText(line.substr(0, std::min(equals, line.size()))));
            std::string_view topic = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
            topic = trimmedText(topic);
            if (topic.size() >= 2 && topic.front() == '"' && topic.back() == '"')
                topic = topic.substr(1, topic.size() - 2);
            if (!isHelpIdName(name) || topic.empty()) {
                note(label, number,
                     "\"" + std::string(line) + "\" is no alias of the form NAME=topic; it is passed over");
                return;
            }
            const std::string decoded = isValidUtf8(topic) ? std::string(topic) : toUtf8(topic, m_page.iconvName);
            m_aliases.push_back({name, decoded, lineLabel(label, number)});
        });
    }

    HelpIdDefinitions result()
    {
        HelpIdDefinitions out;
        std::map<std::string, std::string> topics;  // name -> topic, the first alias of each
        std::set<std::string> usedAliases;
        for (const Alias& alias : m_aliases) {
            const auto [at, added] = topics.emplace(alias.name, alias.topic);
            if (!added && at->second != alias.topic)
                out.notes.push_back(alias.where + alias.name + " has the topic " + at->second + " already; " +
                                    alias.topic + " is passed over");
        }
        std::map<std::string, std::uint32_t> numbers;  // name -> its first number
        std::map<std::uint32_t, std::string> names;    // number -> the name that has it
        for (const Define& define : m_defines) {
            const auto [at, added] = numbers.emplace(define.name, define.number);
            if (!added) {
                if (at->second != define.number)
                    out.notes.push_back(define.where + define.name + " has the number " + std::to_string(at->second) +
                                        " already; " + std::to_string(define.number) + " is passed over");
                continue;
            }
            const auto topic = topics.find(define.name);
            if (topic == topics.end()) {
                out.notes.push_back(define.where + define.name + " (" + std::to_string(define.number) +
                                    ") has no topic in [ALIAS]; it gives no help id");
                continue;
            }
            usedAliases.insert(define.name);
            const auto [owner, free] = names.emplace(define.number, define.name);
            if (!free) {
                // One number opens one topic.
                out.notes.push_back(define.where + define.name + " has the number " + std::to_string(define.number) +
                                    " of " + owner->second + "; it is left out");
                continue;
            }
            out.ids.push_back({define.name, define.number, topic->second});
        }
        std::set<std::string> reported;
        for (const Alias& alias : m_aliases) {
            if (!numbers.contains(alias.name) && reported.insert(alias.name).second)
                out.notes.push_back(alias.where + alias.name + " has no number in [MAP]; it is left out");
        }
        out.notes.insert(out.notes.begin(), m_notes.begin(), m_notes.end());
        return out;
    }

private:
    struct Define {
        std::string name;
        std::uint32_t number;
        std::string where;
    };
    struct Alias {
        std::string name;
        std::string topic;
        std::string where;
    };
    using Reader = std::function<void(std::string_view, const std::string&, const std::string&, int)>;

    void note(const std::string& label, int line, const std::string& text)
    {
        m_notes.push_back(lineLabel(label, line) + text);
    }

    // Finds `name` beside the including file, else beside the help project,
    // and reads it once.
    void include(const std::string& given, const std::string& label, int line, const std::string& fileFolder, int depth,
                 const Reader& read)
    {
        const std::string name = slashed(given);
        if (name.empty()) {
            note(label, line, "an #include names no file");
            return;
        }
        // Help projects written on Windows name headers in any letter case,
        // or by a path on the author's drive ("C:\\App\\ids.h"), whose file
        // name may still lie beside the help project.
        const bool drive = name.size() >= 2 && name[1] == ':';
        std::vector<std::string> candidates;
        if (name.starts_with('/')) {
            candidates.push_back(name);
        } else if (!drive) {
            candidates.push_back(StoredPathResolver(fileFolder).resolve(name));
            candidates.push_back(StoredPathResolver(m_folder).resolve(name));
        }
        const std::string bare(fileNameOf(name, PathStyle::Posix));
        const bool byName = !bare.empty() && bare != name;
        if (byName)
            candidates.push_back(StoredPathResolver(m_folder).resolve(bare));
        std::string found;
        std::error_code error;
        for (std::size_t i = 0; i < candidates.size() && found.empty(); ++i) {
            if (!fs::is_regular_file(candidates[i], error))
                continue;
            found = fs::weakly_canonical(candidates[i], error).string();
            if (found.empty())
                found = candidates[i];
            if (byName && i + 1 == candidates.size())
                note(label, line,
                     "the included file " + given + " is not there; " + bare + " beside the help project is read");
        }
        if (found.empty()) {
            note(label, line, "the included file " + given + " is not there");
            return;
        }
        if (std::find(m_stack.begin(), m_stack.end(), found) != m_stack.end()) {
            note(label, line, "the included file " + given + " includes itself; it is not read again");
            return;
        }
        // A header included twice adds nothing new.
        if (!m_read.insert(found).second)
            return;
        if (depth >= kMaxIncludeDepth) {
            note(label, line,
                 "the included file " + given + " lies more than " + std::to_string(kMaxIncludeDepth) +
                     " includes deep; it is not read");
            return;
        }
        if (m_read.size() > kMaxIncludedFiles) {
            note(label, line,
                 "more than " + std::to_string(kMaxIncludedFiles) + " included files; " + given + " is not read");
            return;
        }
        std::string bytes;
        try {
            bytes = readWholeFile(found, kIncludedFileLimit);
        } catch (const Error& problem) {
            note(label, line, problem.what());
            return;
        }
        m_stack.push_back(found);
        read(bytes, std::string(fileNameOf(found)), std::string(folderOf(found)), depth + 1);
        m_stack.pop_back();
    }

    std::string m_folder;
    const CodePage& m_page;
    std::vector<Define> m_defines;
    std::vector<Alias> m_aliases;
    std::vector<std::string> m_notes;
    std::vector<std::string> m_stack;  // the files being read, outermost first
    std::set<std::string> m_read;
    bool m_tooMany = false;
};

}  // namespace

HelpIdHeader readHelpIdHeader(std::string_view text, bool strict)
{
    HelpIdHeader header;
    forEachCodeLine(text, [&header, strict](int number, std::string_view line) {
        if (!line.starts_with('#')) {
            if (strict)
                header.notes.push_back({number, "\"" + std::string(line) + "\" is no #define; it is passed over"});
            return;
        }
        std::string_view rest = trimmedText(line.substr(1));
        const std::size_t wordEnd = std::min(rest.find_first_of(" \t"), rest.size());
        const std::string_view directive = rest.substr(0, wordEnd);
        rest = trimmedText(rest.substr(wordEnd));
        if (directive == "include") {
            header.lines.push_back({number, {}, 0, includedName(rest)});
            return;
        }
        if (directive != "define") {
            if (strict)
                header.notes.push_back({number, "\"" + std::string(line) + "\" is no #define; it is passed over"});
            return;
        }
        const std::size_t nameEnd = std::min(rest.find_first_of(" \t("), rest.size());
        const std::string_view name = rest.substr(0, nameEnd);
        // A macro with parameters is code, not a help id.
        if (nameEnd < rest.size() && rest[nameEnd] == '(')
            return;
        const std::string_view value = trimmedText(rest.substr(nameEnd));
        // Include guards and flags define no value.
        if (value.empty() || !isHelpIdName(name))
            return;
        const std::uint32_t id = defineNumber(value);
        if (id == 0) {
            header.notes.push_back({number, std::string(name) + " is defined as \"" + std::string(value) +
                                                "\", no number from 1 to " + std::to_string(kMaxHelpIdNumber) +
                                                "; it gives no help id"});
            return;
        }
        header.lines.push_back({number, std::string(name), id, {}});
    });
    return header;
}

HelpIdDefinitions readHelpIds(const HelpProjectFile& project, const std::string& folder, const std::string& label)
{
    std::string base = folder;
    while (base.size() > 1 && base.ends_with('/'))
        base.pop_back();
    HelpIdReader reader(base, codePageForLanguageId(project.languageId.value_or(0x409)));
    reader.readMap(project.mapText, label, base, 0, true);
    reader.readAliases(project.aliasText, label, base, 0);
    return reader.result();
}

}  // namespace doxel
