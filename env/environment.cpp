#include "env/environment.h"

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <locale>
#include <unistd.h>

#include "env/debug_log.h"

namespace doxel {
namespace fs = std::filesystem;
namespace {

std::string withoutTrailingSlashes(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string firstSetVariable(std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value != nullptr && value[0] != '\0')
            return value;
    }
    return {};
}

std::string dateAndTime()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[128];
    const std::size_t size = std::strftime(buffer, sizeof buffer, "%x %X", &local);
    return std::string(buffer, size);
}

std::string hex4(unsigned value)
{
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%04X", value & 0xFFFFU);
    return buffer;
}

struct LocaleRow {
    const char* name;  // "en_US", or a language alone for its default
    std::uint16_t lcid;
};

// Windows locale identifiers of the locales a desktop is likely to run in;
// a language alone stands for its main country.
constexpr std::array kLocales{
    LocaleRow{"en_US", 0x0409}, LocaleRow{"en_GB", 0x0809}, LocaleRow{"en_AU", 0x0C09}, LocaleRow{"en_CA", 0x1009},
    LocaleRow{"en_IE", 0x1809}, LocaleRow{"en_NZ", 0x1409}, LocaleRow{"en", 0x0409},    LocaleRow{"de_DE", 0x0407},
    LocaleRow{"de_AT", 0x0C07}, LocaleRow{"de_CH", 0x0807}, LocaleRow{"de", 0x0407},    LocaleRow{"fr_FR", 0x040C},
    LocaleRow{"fr_BE", 0x080C}, LocaleRow{"fr_CA", 0x0C0C}, LocaleRow{"fr_CH", 0x100C}, LocaleRow{"fr", 0x040C},
    LocaleRow{"es_ES", 0x0C0A}, LocaleRow{"es_MX", 0x080A}, LocaleRow{"es", 0x0C0A},    LocaleRow{"ru", 0x0419},
    LocaleRow{"it", 0x0410},    LocaleRow{"nl", 0x0413},    LocaleRow{"pt_BR", 0x0416}, LocaleRow{"pt", 0x0816},
    LocaleRow{"pl", 0x0415},    LocaleRow{"cs", 0x0405},    LocaleRow{"sk", 0x041B},    LocaleRow{"hu", 0x040E},
    LocaleRow{"sv", 0x041D},    LocaleRow{"da", 0x0406},    LocaleRow{"nb", 0x0414},    LocaleRow{"fi", 0x040B},
    LocaleRow{"el", 0x0408},    LocaleRow{"tr", 0x041F},    LocaleRow{"uk", 0x0422},    LocaleRow{"ja", 0x0411},
    LocaleRow{"ko", 0x0412},    LocaleRow{"zh_TW", 0x0404}, LocaleRow{"zh", 0x0804},
};

constexpr std::uint16_t kInvariantLocale = 0x007F;

Environment g_environment;

}  // namespace

std::uint16_t localeIdentifier(const std::string& localeName)
{
    std::string name = localeName.substr(0, localeName.find_first_of(".@"));
    if (name.empty() || name == "C" || name == "POSIX")
        return kInvariantLocale;
    const std::string language = name.substr(0, name.find('_'));
    for (const LocaleRow& row : kLocales) {
        if (name == row.name)
            return row.lcid;
    }
    for (const LocaleRow& row : kLocales) {
        if (language == row.name)
            return row.lcid;
    }
    return 0;
}

SystemLocale systemLocale()
{
    SystemLocale locale;
    locale.name = firstSetVariable({"LC_ALL", "LC_MESSAGES", "LANG"});
    locale.lcid = localeIdentifier(locale.name);
    const std::string numeric = firstSetVariable({"LC_ALL", "LC_NUMERIC", "LANG"});
    try {
        const std::locale system(numeric.empty() ? "C" : numeric.c_str());
        locale.decimalSeparator = std::string(1, std::use_facet<std::numpunct<char>>(system).decimal_point());
    } catch (const std::exception&) {
        locale.decimalSeparator = ".";  // a locale the C library does not have
    }
    return locale;
}

std::string logFolderFor(const std::string& moduleDir, const std::string& fallback)
{
    const fs::path probe = fs::path(moduleDir) / "$_Temp_$.$$$";
    if (std::FILE* file = std::fopen(probe.c_str(), "wb")) {
        std::fclose(file);
        std::error_code error;
        fs::remove(probe, error);
        return moduleDir;
    }
    return withoutTrailingSlashes(fallback);
}

bool debugFlagFor(const std::string& moduleDir, const std::vector<std::string>& arguments)
{
    std::error_code error;
    if (fs::exists(fs::path(moduleDir) / "debug.debug", error))
        return true;
    for (const std::string& argument : arguments) {
        const std::string lower = lowerAscii(argument);
        if (lower == "/debug" || lower == "-debug")
            return true;
    }
    return false;
}

std::string runDirFor(const std::string& argument0)
{
    if (argument0.empty())
        return {};
    std::error_code error;
    if (argument0.find('/') == std::string::npos) {
        const std::string path = firstSetVariable({"PATH"});
        std::size_t start = 0;
        while (start <= path.size()) {
            const std::size_t end = std::min(path.find(':', start), path.size());
            const fs::path folder = path.substr(start, end - start);
            const fs::path candidate = (folder.empty() ? fs::path(".") : folder) / argument0;
            if (::access(candidate.c_str(), X_OK) == 0)
                return withoutTrailingSlashes(fs::absolute(candidate, error).parent_path().string());
            start = end + 1;
        }
        return withoutTrailingSlashes(fs::current_path(error).string());
    }
    return withoutTrailingSlashes(fs::absolute(argument0, error).lexically_normal().parent_path().string());
}

ComponentVersion helpControlVersion(const std::string& controlFile)
{
    const FileVersionInfo info = getFileVersion(controlFile);
    return {info.text, helpViewerVersionName(info)};
}

ComponentVersion browserControlVersion(const std::string& controlFile)
{
    FileVersionInfo info = getFileVersion(controlFile);
    if (!info.text.empty()) {
        info.version = rearrangedBrowserVersion(info.version);
        info.text = info.version.text();
    }
    return {info.text, browserVersionName(info)};
}

std::vector<std::string> startupRecord(const Environment& environment, const std::string& logFile,
                                       const std::string& argument0, const SystemLocale& locale, const std::string& now)
{
    const auto yesNo = [](bool on) { return std::string(on ? "YES" : "NO"); };
    const auto line = [](const char* label, const std::string& value) { return std::string(label) + "\t" + value; };
    return {
        line("!Filename:             ", logFile),
        line("!Date:                 ", now),
        line("!SysLocale.DefaultLCID: ", hex4(locale.lcid)),
        line("!SysLocale.PriLangID:   ", hex4(locale.lcid & 0x3FFU)),
        line("!SysLocale.SubLangID:   ", hex4(static_cast<unsigned>(locale.lcid) >> 10)),
        line("!DecimalSeparator:      ", locale.decimalSeparator),
        "-",
        line("!EXE Path =          ", argument0),
        line("!_RunDir =           ", environment.runDir),
        line("!_ModuleName =       ", environment.moduleName),
        line("!_ModuleDir =        ", environment.moduleDir),
        "-",
        line("!_hhInstalled =      ", yesNo(environment.hhInstalled)),
        line("!_hhVerStr =         ", environment.hhVerStr),
        line("!_hhFriendlyVerStr = ", environment.hhFriendlyVerStr),
        "-",
        line("!_ieInstalled =      ", yesNo(environment.ieInstalled)),
        line("!_ieVerStr =         ", environment.ieVerStr),
        line("!_ieFriendlyVerStr = ", environment.ieFriendlyVerStr),
        "=",
    };
}

Environment startEnvironment(const StartupInputs& inputs)
{
    Environment values;
    const fs::path module(inputs.modulePath);
    values.moduleName = module.filename().string();
    values.moduleDir = withoutTrailingSlashes(module.parent_path().string());
    const std::string argument0 = inputs.arguments.empty() ? std::string() : inputs.arguments.front();
    values.runDir = runDirFor(argument0);
    values.logFolder = logFolderFor(values.moduleDir, inputs.fallbackLogFolder);
    values.debug = debugFlagFor(values.moduleDir, inputs.arguments);

    if (inputs.helpViewerVersion) {
        const ComponentVersion viewer = inputs.helpViewerVersion();
        values.hhVerStr = viewer.text;
        values.hhFriendlyVerStr = viewer.text.empty() ? std::string() : viewer.friendlyName;
    }
    values.hhInstalled = !values.hhVerStr.empty();
    if (inputs.browserVersion) {
        const ComponentVersion browser = inputs.browserVersion();
        values.ieVerStr = browser.text;
        values.ieFriendlyVerStr = browser.text.empty() ? std::string() : browser.friendlyName;
    }
    values.ieInstalled = !values.ieVerStr.empty();

    DiagnosticLog log(values.logFolder, values.debug);
    std::error_code error;
    fs::remove(log.path(), error);
    if (values.debug) {
        const SystemLocale locale = inputs.locale ? inputs.locale() : SystemLocale{};
        const std::string now = inputs.now ? inputs.now() : dateAndTime();
        for (const std::string& line : startupRecord(values, log.path(), argument0, locale, now))
            log.write(line);
    }
    setDiagnosticLog(std::move(log));
    setEnvironment(values);
    return values;
}

const Environment& environment()
{
    return g_environment;
}

void setEnvironment(Environment values)
{
    g_environment = std::move(values);
}

}  // namespace doxel
