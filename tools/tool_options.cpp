#include "tools/tool_options.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace doxel {
namespace {

// Walks the arguments, giving the options with their values wherever they
// stand before a "--", and collecting the operands between them.
class ArgumentReader {
public:
    explicit ArgumentReader(const std::vector<std::string>& arguments) : m_arguments(arguments) {}

    // The next option's name ("--title"), or nothing once the options end.
    std::optional<std::string> option()
    {
        m_inlineValue.reset();
        while (m_index < m_arguments.size() && !m_optionsEnded) {
            const std::string& argument = m_arguments[m_index++];
            if (argument == "--") {
                m_optionsEnded = true;
                break;
            }
            if (!argument.starts_with("--")) {
                m_operands.push_back(argument);
                continue;
            }
            const std::size_t equals = argument.find('=');
            if (equals == std::string::npos)
                return argument;
            m_inlineValue = argument.substr(equals + 1);
            return argument.substr(0, equals);
        }
        return std::nullopt;
    }

    // The value of the option just read; nothing when it is missing.
    std::optional<std::string> value()
    {
        if (m_inlineValue) {
            std::string taken = *m_inlineValue;
            m_inlineValue.reset();
            return taken;
        }
        if (m_index >= m_arguments.size())
            return std::nullopt;
        return m_arguments[m_index++];
    }

    bool hadInlineValue() const { return m_inlineValue.has_value(); }

    // The operands, in order: those among the options, then all after "--".
    std::vector<std::string> rest() const
    {
        std::vector<std::string> operands = m_operands;
        operands.insert(operands.end(), m_arguments.begin() + static_cast<std::ptrdiff_t>(m_index), m_arguments.end());
        return operands;
    }

private:
    const std::vector<std::string>& m_arguments;
    std::size_t m_index = 0;
    bool m_optionsEnded = false;
    std::optional<std::string> m_inlineValue;
    std::vector<std::string> m_operands;
};

bool isFontSize(std::string_view text)
{
    return !text.empty() && text.size() <= 2 && text.find_first_not_of("0123456789") == std::string_view::npos &&
           fontSizeOf(text) == std::stoi(std::string(text));
}

}  // namespace

TxtToHtmlArguments parseTxtToHtmlArguments(const std::vector<std::string>& arguments)
{
    TxtToHtmlArguments result;
    PageOptions& options = result.options;
    ArgumentReader reader(arguments);
    while (const auto name = reader.option()) {
        std::string* text = nullptr;
        if (*name == "--title") {
            options.titleFromFileName = false;
            text = &options.customTitle;
        } else if (*name == "--stylesheet") {
            options.useStylesheet = true;
            text = &options.stylesheet;
        } else if (*name == "--background") {
            text = &options.backgroundColour;
        } else if (*name == "--text-colour" || *name == "--text-color") {
            text = &options.textColour;
        } else if (*name == "--font") {
            text = &options.fontFace;
        } else if (*name == "--background-image") {
            text = &options.backgroundImage;
        } else if (*name != "--font-size") {
            result.problem = "--txt-to-html: unknown option " + *name;
            return result;
        }
        const auto value = reader.value();
        if (!value) {
            result.problem = "--txt-to-html: " + *name + " needs a value";
            return result;
        }
        if (text != nullptr) {
            *text = *value;
        } else if (isFontSize(*value)) {
            options.fontSize = fontSizeOf(*value);
        } else {
            result.problem = "--txt-to-html: --font-size takes a whole number from 0 to 12, not \"" + *value + "\"";
            return result;
        }
    }
    result.files = reader.rest();
    if (result.files.empty())
        result.problem = "--txt-to-html needs at least one text file";
    return result;
}

ReplaceArguments parseReplaceArguments(const std::vector<std::string>& arguments)
{
    ReplaceArguments result;
    ArgumentReader reader(arguments);
    while (const auto name = reader.option()) {
        if (reader.hadInlineValue()) {
            result.problem = "--replace: " + *name + " takes no value";
            return result;
        }
        if (*name == "--match-case") {
            result.options.strings.ignoreCase = false;
        } else if (*name == "--no-backup") {
            result.options.backup = false;
        } else if (*name == "--all-files") {
            result.allFiles = true;
        } else {
            result.problem = "--replace: unknown option " + *name;
            return result;
        }
    }
    std::vector<std::string> rest = reader.rest();
    if (rest.size() < 3) {
        result.problem = "--replace needs a search string, a replacement and at least one file";
        return result;
    }
    if (rest[0].empty()) {
        result.problem = "--replace: the search string is empty";
        return result;
    }
    result.options.strings.search = rest[0];
    result.options.strings.replacement = rest[1];
    result.files.assign(rest.begin() + 2, rest.end());
    return result;
}

}  // namespace doxel
