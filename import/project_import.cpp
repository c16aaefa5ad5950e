#include "import/project_import.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/path_rules.h"
#include "core/plain_path.h"
#include "core/project_file.h"
#include "core/text_encoding.h"
#include "formats/address.h"
#include "formats/help_id_map.h"
#include "formats/sitemap_reader.h"
#include "formats/system_file.h"

namespace doxel {
namespace {

namespace fs = std::filesystem;

// Help projects and sitemaps larger than this are refused rather than read.
constexpr std::size_t kSourceLimit = std::size_t{1} << 30;
constexpr int kSearchTabBit = 1024;
constexpr int kBookIcon = 0;
constexpr int kPageIcon = 8;

std::string lower(std::string_view text)
{
    return asciiLower(text);
}

bool endsWithIgnoringCase(std::string_view text, std::string_view suffix)
{
    return text.size() >= suffix.size() && lower(text.substr(text.size() - suffix.size())) == suffix;
}

bool exists(const std::string& path)
{
    std::error_code error;
    return fs::is_regular_file(path, error);
}

// Control characters would break the project file's lines.
std::string withoutControls(std::string text)
{
    for (char& c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    }
    return text;
}

bool hasControls(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string stemOf(std::string_view path)
{
    std::string name(fileNameOf(path));
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

// Where a note comes from: "guide.hhc, line 12: ". Built only when a note
// is made, as most entries need none.
struct Where {
    std::string_view label;
    int line = 0;

    std::string text() const
    {
        return std::string(label) + (line > 0 ? ", line " + std::to_string(line) : std::string()) + ": ";
    }
};

// Turns the references of one help project into the project's full paths
// and collects what could not be taken over.
class Importer {
public:
    Importer(std::string folder, std::string projectFile, Project& project, ImportReport& report)
        : m_folder(std::move(folder)),
          m_projectFile(std::move(projectFile)),
          m_project(project),
          m_report(report),
          m_resolver(m_folder)
    {
    }

    void note(const Where& where, const std::string& text) { m_report.notes.push_back(where.text() + text); }

    // The full path (with its anchor) of a "Local" value or a help project's
    // file name, relative to the project folder; empty when it names no
    // file, which is noted unless `quiet`.
    std::string topicPath(std::string_view local, const Where& where, bool quiet = false);
    // Whether `path` is a file on disk; one folder listing per folder.
    bool fileExists(const std::string& path);
    // `path` made relative to the folder of the new project, "\" separated.
    std::string stored(const std::string& fullPath) const { return projectRelativePath(fullPath, m_projectFile); }
    // A file of the help project (contents, index) on disk, or empty.
    std::string projectFilePath(const std::string& name) { return name.empty() ? name : m_resolver.resolve(name); }

    void addContents(Sitemap& sitemap, const std::string& label);
    void addIndex(const Sitemap& sitemap, const std::string& label);
    void addNotes(const Sitemap& sitemap, const std::string& label);

private:
    // Whether `full` names a file below the folder of the help project.
    bool isInsideFolder(const std::string& full) const
    {
        std::string folder = fs::path(m_folder).lexically_normal().string();
        if (!folder.ends_with('/'))
            folder += '/';
        return fs::path(full).lexically_normal().string().starts_with(folder);
    }

    std::string m_folder;
    std::string m_projectFile;
    Project& m_project;
    ImportReport& m_report;
    StoredPathResolver m_resolver;
    std::unordered_set<std::string> m_reportedMissing;
};

bool Importer::fileExists(const std::string& path)
{
    return path.find('/') == std::string::npos ? exists(path) : m_resolver.isFile(path);
}

std::string Importer::topicPath(std::string_view local, const Where& where, bool quiet)
{
    const auto note = [&](const Where& at, const std::string& text) {
        if (!quiet)
            this->note(at, text);
    };
    while (!local.empty() && (local.front() == ' ' || local.front() == '\t'))
        local.remove_prefix(1);
    while (!local.empty() && (local.back() == ' ' || local.back() == '\t'))
        local.remove_suffix(1);
    if (local.empty())
        return {};
    if (isAddress(local)) {
        note(where,
             "\"" + std::string(local) + "\" is an address, not a file of the project; the entry keeps no topic");
        return {};
    }
    const std::size_t hash = local.find('#');
    std::string file(local.substr(0, hash));
    const std::string anchor = hash == std::string_view::npos ? std::string() : std::string(local.substr(hash));
    if (file.empty())
        return {};
    if (hasControls(file) || hasControls(anchor)) {
        note(where, "a file name with control characters cannot be kept; the entry keeps no topic");
        return {};
    }
    // Inside a help file every path starts at the top of the project.
    while (file.starts_with('/') || file.starts_with('\\'))
        file.erase(0, 1);
    std::string full = m_resolver.resolve(file);
    if (!isInsideFolder(full)) {
        note(where, "the topic file " + file +
                        " lies outside the folder of the help project, where no help file can hold it; the entry "
                        "keeps no topic");
        return {};
    }
    bool found = fileExists(full);
    if (!found && file.find('%') != std::string::npos) {
        const std::string decoded = m_resolver.resolve(percentDecoded(file));
        if (fileExists(decoded)) {
            full = decoded;
            found = true;
        }
    }
    if (!found) {
        // A topic that is not there would stop the compile: the entry takes
        // over no topic, whatever its anchor.
        if (!quiet && m_reportedMissing.insert(full).second)
            note(where, "the topic file " + file + " is not there");
        return {};
    }
    return full + anchor;
}

void Importer::addNotes(const Sitemap& sitemap, const std::string& label)
{
    for (const SitemapNote& item : sitemap.notes)
        note(Where{label, item.line}, item.text);
}

void Importer::addContents(Sitemap& sitemap, const std::string& label)
{
    addNotes(sitemap, label);
    std::vector<ContentsEntry*> parents{&m_project.titleEntry()};
    std::vector<ContentsEntry*> unnumbered;
    std::size_t missingTopics = 0;
    int previous = -1;
    for (SitemapEntry& item : sitemap.entries) {
        const Where where{label, item.line};
        // A list opened twice at once still nests one step.
        const int level = std::clamp(item.level, 0, previous + 1);
        previous = level;
        parents.resize(static_cast<std::size_t>(level) + 1);
        std::string topic = topicPath(item.local, where);
        if (topic.empty() && !item.local.empty() && !isAddress(item.local))
            ++missingTopics;
        std::string caption = withoutControls(std::move(item.name));
        if (caption.empty())
            caption = item.local.empty() ? "(untitled)" : std::string(fileNameOf(forwardSlashes(item.local)));
        const bool numbered = item.imageNumber >= 1 && item.imageNumber <= kLastStoredIconNumber + 1;
        ContentsEntry* entry = parents.back()->appendChild(std::make_unique<ContentsEntry>(
            std::move(caption), numbered ? item.imageNumber - 1 : kBookIcon, std::move(topic)));
        if (!numbered)
            unnumbered.push_back(entry);
        if (!item.moreLocals.empty())
            note(where, "the entry \"" + entry->caption + "\" names further topics; the first is taken over");
        parents.push_back(entry);
        ++m_report.entries;
    }
    if (missingTopics > 0) {
        note(Where{label},
             std::to_string(missingTopics) + " contents entries lead to files that are not there; they keep no topic");
    }
    // Viewers draw a book for an entry with children, a page for the rest.
    for (ContentsEntry* entry : unnumbered)
        entry->iconNumber = entry->childCount() > 0 || entry->isHeader() ? kBookIcon : kPageIcon;
}

void Importer::addIndex(const Sitemap& sitemap, const std::string& label)
{
    addNotes(sitemap, label);
    std::size_t missingKeywords = 0;
    bool flattened = false;
    std::vector<std::string> names;  // the whole keyword of each level so far
    int previous = -1;
    const auto& entries = sitemap.entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const SitemapEntry& item = entries[i];
        const Where where{label, item.line};
        const int level = std::clamp(item.level, 0, previous + 1);
        previous = level;
        names.resize(static_cast<std::size_t>(level));
        const std::string name = withoutControls(item.name);
        names.push_back(names.empty() ? name : names.back() + ", " + name);
        if (level > 0 && !flattened) {
            flattened = true;
            note(Where{label, item.line}, "keywords nested below others become one keyword each (\"" + names.back() +
                                              "\"): the project's index has one level");
        }
        const std::string& keyword = names.back();

        std::vector<std::string> locals;
        if (!item.local.empty())
            locals.push_back(item.local);
        locals.insert(locals.end(), item.moreLocals.begin(), item.moreLocals.end());
        if (locals.empty()) {
            // A keyword that only gathers sub-keywords leads nowhere itself.
            const bool hasChildren = i + 1 < entries.size() && entries[i + 1].level > item.level;
            if (!hasChildren) {
                m_project.keywords.push_back({keyword, {}});
                ++m_report.keywords;
            }
            continue;
        }
        for (const std::string& local : locals) {
            std::string topic = topicPath(local, where);
            if (topic.empty() && !local.empty() && isAddress(local))
                continue;
            if (topic.empty()) {
                ++missingKeywords;
                continue;
            }
            m_project.keywords.push_back({keyword, std::move(topic)});
            ++m_report.keywords;
        }
    }
    if (missingKeywords > 0) {
        note(Where{label},
             std::to_string(missingKeywords) + " index entries lead to files that are not there; they are left out");
    }
}

std::string readSource(const std::string& path)
{
    return readWholeFile(path, kSourceLimit);
}

// Builds the project from what a help project file (or a compiled help
// file's system data) says, with its files below `folder`.
// The bytes of a contents or index file by its name in the help project;
// nothing when it is not there. Without one, the files are read from disk.
using SitemapSource = std::function<std::optional<std::string>(const std::string& name)>;

void importDescription(const HelpProjectFile& description, const std::string& folder, const std::string& sourceLabel,
                       const std::string& projectFile, Project& project, ImportReport& report,
                       const std::vector<HelpIdEntry>& helpIds = {}, const SitemapSource& sitemaps = {})
{
    const WindowDefinition* window = description.mainWindow();
    std::string title = description.title;
    if (title.empty() && window != nullptr)
        title = window->title;
    if (title.empty())
        title = stemOf(sourceLabel);
    Project fresh(withoutControls(title));
    fresh.projectFile = projectFile;
    Importer importer(folder, projectFile, fresh, report);
    for (const SitemapNote& item : description.notes)
        importer.note(Where{sourceLabel, item.line}, item.text);

    const CodePage* codePage = description.languageId ? &codePageForLanguageId(*description.languageId) : nullptr;
    const auto readSitemapFile = [&](std::string name, const char* what, bool contents) {
        if (name.empty() && window != nullptr)
            name = contents ? window->contentsFile : window->indexFile;
        if (name.empty())
            return;
        const std::string path = sitemaps ? name : importer.projectFilePath(name);
        const std::optional<std::string> bytes = sitemaps       ? sitemaps(name)
                                                 : exists(path) ? std::optional<std::string>(readSource(path))
                                                                : std::nullopt;
        if (!bytes) {
            importer.note(Where{sourceLabel}, std::string("the ") + what + " file " + name + " is not there");
            return;
        }
        Sitemap sitemap = readSitemap(*bytes, codePage, path);
        const std::string label(fileNameOf(path));
        if (contents)
            importer.addContents(sitemap, label);
        else
            importer.addIndex(sitemap, label);
    };
    readSitemapFile(description.contentsFile, "contents", true);
    readSitemapFile(description.indexFile, "index", false);

    WindowSettings& settings = fresh.windowSettings;
    if (window != nullptr) {
        const auto take = [](std::int32_t& target, const std::optional<std::int32_t>& value) {
            if (value)
                target = *value;
        };
        take(settings.navigationStyle, window->navigationStyle);
        take(settings.navigationPaneWidth, window->navigationPaneWidth);
        settings.navigationPaneWidth =
            std::clamp(settings.navigationPaneWidth, kMinNavigationPaneWidth, kMaxNavigationPaneWidth);
        take(settings.buttons, window->buttons);
        take(settings.windowStyle, window->windowStyle);
        take(settings.extendedStyle, window->extendedStyle);
        if (window->left && window->top && window->right && window->bottom) {
            settings.left = *window->left;
            settings.top = *window->top;
            // An edge before its opposite one gives no size, not a negative
            // one.
            const auto size = [](std::int32_t from, std::int32_t to) {
                return static_cast<std::int32_t>(std::clamp<long long>(static_cast<long long>(to) - from, 0,
                                                                       std::numeric_limits<std::int32_t>::max()));
            };
            settings.width = size(*window->left, *window->right);
            settings.height = size(*window->top, *window->bottom);
        }
        const auto page = [&](const std::string& value) -> std::string {
            if (value.empty() || isAddress(value))
                return withoutControls(value);
            const std::string full = importer.topicPath(value, Where{sourceLabel});
            return full.empty() ? std::string() : importer.stored(full);
        };
        // A Jump button may lead anywhere: one that names a file of the
        // project is held like the home page, relative to the new project;
        // anything else is kept as written.
        const auto jump = [&](const std::string& value) -> std::string {
            if (value.empty() || isAddress(value))
                return withoutControls(value);
            const std::string full = importer.topicPath(value, Where{sourceLabel}, true);
            return full.empty() ? withoutControls(value) : importer.stored(full);
        };
        settings.homePage = page(window->homePage);
        settings.jump1Url = jump(window->jump1Url);
        settings.jump1Text = withoutControls(window->jump1Text);
        settings.jump2Url = jump(window->jump2Url);
        settings.jump2Text = withoutControls(window->jump2Text);
        // The help project writer turns a title's double quotes into
        // apostrophes in the window only.
        std::string apostrophes = fresh.title();
        std::replace(apostrophes.begin(), apostrophes.end(), '"', '\'');
        if (!window->title.empty() && window->title != fresh.title() && window->title != apostrophes)
            importer.note(Where{sourceLabel}, "the help window's title \"" + window->title +
                                                  "\" gives way to the title \"" + fresh.title() + "\"");
        if (description.fullTextSearch != ((settings.navigationStyle & kSearchTabBit) != 0))
            importer.note(Where{sourceLabel}, "full-text search follows the help window's search tab");
    } else if (description.fullTextSearch) {
        settings.navigationStyle |= kSearchTabBit;
    }
    std::string defaultTopic = description.defaultTopic;
    if (defaultTopic.empty() && window != nullptr)
        defaultTopic = window->defaultTopic;
    if (!defaultTopic.empty() && defaultTopic != kNotDefined) {
        const std::string full = importer.topicPath(defaultTopic, Where{sourceLabel});
        if (!full.empty())
            settings.defaultTopic = importer.stored(full);
    }
    const WindowSettings before = settings;
    settings.cutTexts();
    if (!(settings == before))
        importer.note(Where{sourceLabel}, "texts of the help window longer than 255 characters are cut");

    // A help id keeps its topic or is left out: a number that opens
    // nothing is no help id.
    std::vector<std::string> files;
    std::size_t missingHelpIds = 0;
    for (const HelpIdEntry& id : helpIds) {
        const std::string full = importer.topicPath(id.topic, Where{sourceLabel + ", [ALIAS]"});
        if (full.empty()) {
            ++missingHelpIds;
            continue;
        }
        fresh.helpIds.push_back({id.name, id.number, full});
        files.push_back(full.substr(0, full.find('#', full.rfind('/') + 1)));
    }
    if (missingHelpIds > 0)
        importer.note(Where{sourceLabel},
                      std::to_string(missingHelpIds) + " help ids lead to files that are not there; they are left out");
    report.helpIds = fresh.helpIds.size();

    fresh.rebuildFileList();
    const std::string filesLabel = sourceLabel + ", [FILES]";
    // What the help project lists beside its topics stays in the help file
    // as the project's extra files, whether its pages lead there or not.
    std::set<std::string> extra;
    for (const std::string& name : description.files) {
        const std::string full = importer.topicPath(name, Where{filesLabel});
        // A listed file that is not there would stop the compiler.
        const std::string file = full.substr(0, full.find('#', full.rfind('/') + 1));
        if (file.empty() || !exists(file))
            continue;
        files.push_back(file);
        if (!fresh.fileList.contains(file) && extra.insert(file).second)
            fresh.extraFiles.push_back(file);
    }
    fresh.fileList.addMany(std::move(files));
    fresh.modified = true;
    report.files = fresh.fileList.size();
    project.swap(fresh);
}

std::string decoded(const std::string& bytes, const CodePage& page)
{
    return isValidUtf8(bytes) ? bytes : toUtf8(bytes, page.iconvName);
}

// The records of a compiled help file's "#SYSTEM" data that name its
// files and title.
void readSystemData(std::string_view system, HelpProjectFile& description)
{
    const HelpSystemInfo info = readSystemFile(system);
    if (info.languageId != 0)
        description.languageId = static_cast<int>(info.languageId);
    const CodePage& page = codePageForLanguageId(description.languageId.value_or(0x409));
    description.contentsFile = decoded(info.contentsFile, page);
    description.indexFile = decoded(info.indexFile, page);
    description.defaultTopic = decoded(info.defaultTopic, page);
    description.title = decoded(info.title, page);
    description.defaultWindow = decoded(info.defaultWindow, page);
}

// The help windows of "#WINDOWS", their texts from "#STRINGS".
void readWindows(std::string_view windows, std::string_view strings, HelpProjectFile& description)
{
    const CodePage& page = codePageForLanguageId(description.languageId.value_or(0x409));
    for (WindowDefinition& window : readWindowsFile(windows, strings)) {
        for (std::string* text :
             {&window.name, &window.title, &window.contentsFile, &window.indexFile, &window.defaultTopic,
              &window.homePage, &window.jump1Text, &window.jump2Text, &window.jump1Url, &window.jump2Url})
            *text = decoded(*text, page);
        description.windows.push_back(std::move(window));
    }
}

// A folder made for an import, removed with everything in it unless the
// import keeps it.
class ExtractionFolder {
public:
    explicit ExtractionFolder(std::string folder) : m_folder(std::move(folder)) {}
    ~ExtractionFolder()
    {
        if (m_folder.empty())
            return;
        std::error_code error;
        fs::remove_all(m_folder, error);
    }
    ExtractionFolder(const ExtractionFolder&) = delete;
    ExtractionFolder& operator=(const ExtractionFolder&) = delete;
    void keep() { m_folder.clear(); }
    const std::string& folder() const { return m_folder; }

private:
    std::string m_folder;
};

// The path below the extraction folder for a stored name, or empty when the
// name would leave the folder or cannot be a file name here.
std::string safeRelative(std::string_view stored)
{
    while (stored.starts_with('/'))
        stored.remove_prefix(1);
    if (stored.empty() || stored.ends_with('/'))
        return {};
    std::string_view rest = stored;
    while (!rest.empty()) {
        const std::size_t cut = rest.find('/');
        const std::string_view part = rest.substr(0, cut);
        if (part.empty() || part == "." || part == ".." || part.find('\\') != std::string_view::npos ||
            hasControls(part) || part.size() > 255)
            return {};
        if (cut == std::string_view::npos)
            break;
        rest.remove_prefix(cut + 1);
    }
    return std::string(stored);
}

}  // namespace

std::string ImportReport::text(std::size_t notesShown) const
{
    std::string out = "Imported " + source + "\n";
    out += "Project: " + projectFile + "\n";
    out += "Contents entries: " + std::to_string(entries) + "\n";
    out += "Keywords: " + std::to_string(keywords) + "\n";
    out += "Files: " + std::to_string(files) + "\n";
    if (helpIds > 0)
        out += "Help ids: " + std::to_string(helpIds) + "\n";
    if (notes.empty())
        return out + "Everything was taken over.\n";
    out += "Not taken over:\n";
    for (std::size_t i = 0; i < notes.size() && i < notesShown; ++i)
        out += "  " + notes[i] + "\n";
    if (notes.size() > notesShown)
        out += "  and " + std::to_string(notes.size() - notesShown) + " more\n";
    return out;
}

ImportReport importHelpProject(const std::string& givenSource, const std::string& projectFile, Project& project)
{
    const std::string source = absolutePath(givenSource);
    ImportReport report;
    report.source = source;
    report.projectFile = projectFile;
    const std::string folder(folderOf(source));
    HelpProjectFile description;
    HelpIdDefinitions helpIds;
    if (endsWithIgnoringCase(source, ".hhp")) {
        description = readHelpProject(readSource(source), source);
        helpIds = readHelpIds(description, folder, std::string(fileNameOf(source)));
        report.notes = std::move(helpIds.notes);
    } else {
        // A contents file alone: its index file is the one of the same name.
        description.contentsFile = std::string(fileNameOf(source));
        const std::string index = std::string(source.substr(0, source.size() - 4)) + ".hhk";
        if (endsWithIgnoringCase(source, ".hhc") && exists(index))
            description.indexFile = std::string(fileNameOf(index));
        if (!exists(source))
            throw IoError("Cannot read " + source + ": there is no such file");
    }
    importDescription(description, folder.empty() ? std::string("./") : folder, source, projectFile, project, report,
                      helpIds.ids);
    return report;
}

std::string decompileFolderFor(const std::string& compiledFile)
{
    const std::string base = endsWithIgnoringCase(compiledFile, ".chm")
                                 ? compiledFile.substr(0, compiledFile.size() - 4)
                                 : compiledFile + ".files";
    std::error_code error;
    if (!fs::exists(base, error))
        return base;
    for (int n = 2;; ++n) {
        const std::string candidate = base + "-" + std::to_string(n);
        if (!fs::exists(candidate, error))
            return candidate;
    }
}

ImportReport decompileHelpFile(const CompiledHelpFile& archive, const std::string& compiledFile,
                               const std::string& folder, const std::string& projectFile, Project& project)
{
    ImportReport report;
    report.source = compiledFile;
    report.projectFile = projectFile;
    if (!archive.contains("/#SYSTEM"))
        throw FormatError(compiledFile, 1, "the help file holds no system data");
    HelpProjectFile description;
    readSystemData(archive.read("/#SYSTEM"), description);
    description.fullTextSearch = archive.contains("/$FIftiMain");
    if (archive.contains("/#WINDOWS") && archive.contains("/#STRINGS"))
        readWindows(archive.read("/#WINDOWS"), archive.read("/#STRINGS"), description);

    std::error_code error;
    fs::create_directories(fs::path(folder).parent_path(), error);
    if (!fs::create_directory(folder, error))
        throw IoError("Cannot extract into " + folder + (error ? ": " + error.message() : ": it exists already"));
    // The folder is new and all of it ours: an import that fails takes it
    // away again rather than leave half a help file behind.
    ExtractionFolder extraction(folder);

    const std::string root = folder + "/";
    std::set<std::string> extracted;
    const std::string label(fileNameOf(compiledFile));
    const auto extract = [&](const std::string& stored) {
        const std::string relative = safeRelative(stored);
        if (relative.empty()) {
            report.notes.push_back(label + ": the stored name " + stored +
                                   " would leave the folder; it is not extracted");
            return;
        }
        if (!extracted.insert(relative).second)
            return;
        const std::string target = root + relative;
        // A stored file and a stored folder of one name ("/images" and
        // "/images/x.png") cannot both be on disk: the one that comes
        // second is left out, and the import goes on.
        std::error_code clash;
        fs::create_directories(fs::path(target).parent_path(), clash);
        if (clash || fs::exists(fs::symlink_status(target, clash))) {
            report.notes.push_back(label + ": the stored name " + stored +
                                   " clashes with another stored file or folder; it is not extracted");
            return;
        }
        // Read before the file is made, so that a name the help file cannot
        // give the bytes of leaves no empty file behind.
        const std::string bytes = archive.read("/" + relative);
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out)
            throw IoError(describeErrno("Cannot write", target, errno));
    };
    // The contents and index files become the project; extracted, a
    // compile of the project would write over them.
    std::vector<std::string> sitemapFiles;
    for (const std::string& stored : archive.files()) {
        if (endsWithIgnoringCase(stored, ".hhc") || endsWithIgnoringCase(stored, ".hhk")) {
            sitemapFiles.push_back(stored.substr(stored.find_first_not_of('/')));
            continue;
        }
        // chmcmd's signature in every help file it writes: no file of the
        // author's.
        if (stored == "/_#_README_#_")
            continue;
        try {
            extract(stored);
        } catch (const IoError& problem) {
            if (std::string(problem.what()).starts_with("Cannot write"))
                throw;
            report.notes.push_back(label + ": " + problem.what());
        }
    }

    // Without names in the system data the sitemaps are the stored files
    // of their kinds.
    for (const std::string& name : sitemapFiles) {
        if (description.contentsFile.empty() && endsWithIgnoringCase(name, ".hhc"))
            description.contentsFile = name;
        if (description.indexFile.empty() && endsWithIgnoringCase(name, ".hhk"))
            description.indexFile = name;
    }
    const SitemapSource sitemaps = [&archive](const std::string& name) -> std::optional<std::string> {
        const std::string stored = "/" + name.substr(std::min(name.find_first_not_of('/'), name.size()));
        if (!archive.contains(stored))
            return std::nullopt;
        return archive.read(stored);
    };
    // A listing of a large help file may miss files; every file the contents
    // and index name is fetched by its name.
    const CodePage* codePage = description.languageId ? &codePageForLanguageId(*description.languageId) : nullptr;
    for (const std::string* sitemap : {&description.contentsFile, &description.indexFile}) {
        if (sitemap->empty())
            continue;
        const std::optional<std::string> bytes = sitemaps(*sitemap);
        if (!bytes)
            continue;
        for (const SitemapEntry& entry : readSitemap(*bytes, codePage, *sitemap).entries) {
            for (const std::string* local : {&entry.local}) {
                const std::string file = local->substr(0, local->find('#'));
                const std::string name = "/" + (file.starts_with('/') ? file.substr(1) : file);
                if (!file.empty() && !isAddress(file) && !extracted.contains(safeRelative(name)) &&
                    archive.contains(name))
                    extract(name);
            }
        }
    }
    // The context table: numbers and topics, no names.
    std::vector<HelpIdEntry> helpIds;
    std::set<std::uint32_t> numbers;
    const CodePage& page = codePageForLanguageId(description.languageId.value_or(0x409));
    for (const HelpContext& row : readContextTable(archive)) {
        if (row.number == 0 || row.number > kMaxHelpIdNumber || !numbers.insert(row.number).second) {
            report.notes.push_back(
                label + ": the context number " + std::to_string(row.number) +
                (row.number == 0 || row.number > kMaxHelpIdNumber ? " is out of range" : " comes twice") +
                "; it is left out");
            continue;
        }
        std::string topic = decoded(row.topic, page);
        std::string file = topic.substr(0, topic.find('#'));
        std::string name = "/" + (file.starts_with('/') ? file.substr(1) : file);
        // chmcmd stores a topic under the full path of the folder it was
        // compiled in ("/srv/help/pages/a.htm"); the stored file is the
        // longest end of that path the help file holds.
        if (file.starts_with('/') && !archive.contains(name)) {
            for (std::size_t slash = name.find('/', 1); slash != std::string::npos; slash = name.find('/', slash + 1)) {
                if (archive.contains(name.substr(slash))) {
                    const std::string anchor = topic.substr(file.size());
                    name = name.substr(slash);
                    file = name.substr(1);
                    report.notes.push_back(label + ": the topic " + topic + " of the context number " +
                                           std::to_string(row.number) + " is taken as " + file + anchor);
                    topic = file + anchor;
                    break;
                }
            }
        }
        if (!file.empty() && !isAddress(file) && !extracted.contains(safeRelative(name)) && archive.contains(name))
            extract(name);
        helpIds.push_back({"IDH_" + std::to_string(row.number), row.number, topic});
    }
    if (!helpIds.empty())
        report.notes.push_back(label +
                               ": a help file keeps the numbers of its help ids but not their names; they "
                               "are named IDH_ and their number");
    for (const std::string& relative : extracted) {
        if (endsWithIgnoringCase(relative, ".htm") || endsWithIgnoringCase(relative, ".html"))
            description.files.push_back(relative);
    }
    importDescription(description, root, compiledFile, projectFile, project, report, helpIds, sitemaps);
    extraction.keep();
    return report;
}

namespace {

// The files a compile of `projectFile` writes and deletes again.
std::vector<std::string> compilerFilesOf(const std::string& projectFile)
{
    const std::string base = projectFile.substr(0, projectFile.size() - 4);
    return {base + ".hhp", base + ".hhc", base + ".hhk"};
}

// A file of the source that a compile of `projectFile` would replace (its
// help project, contents or index file), or empty.
std::string clashWithSource(const std::string& source, const std::string& projectFile)
{
    for (const std::string& file : compilerFilesOf(projectFile)) {
        std::error_code error;
        if (lower(file) == lower(source) || fs::exists(file, error))
            return file;
    }
    return {};
}

}  // namespace

std::string defaultImportProject(const std::string& source)
{
    const std::string stem = stemOf(source);
    if (endsWithIgnoringCase(source, ".chm"))
        return decompileFolderFor(source) + "/" + stem + ".dxp";
    // Beside the source, but never under a name whose compile would write
    // over the source's own help project, contents or index file.
    const std::string folder(folderOf(source));
    const std::string plain = folder + stem + ".dxp";
    return clashWithSource(source, plain).empty() ? plain : folder + stem + "-doxel.dxp";
}

ImportReport runImport(const std::string& source, std::string projectFile, const HelpArchiveOpener& open,
                       ProgressReporter& progress)
{
    const std::string sourcePath = absolutePath(source);
    const bool named = !projectFile.empty();
    projectFile = absolutePath(named ? projectFile : defaultImportProject(sourcePath));
    // The name gets its extension before anything looks for it: "book" must
    // not replace an existing "book.dxp".
    if (!endsWithIgnoringCase(projectFile, ".dxp"))
        projectFile += ".dxp";
    const auto taken = [](const std::string& path) {
        std::error_code error;
        return fs::exists(fs::symlink_status(path, error));
    };
    if (taken(projectFile))
        throw IoError(projectFile + " exists already; an import never replaces a file");
    Project project;
    ImportReport report;
    std::unique_ptr<ExtractionFolder> extracted;
    if (endsWithIgnoringCase(sourcePath, ".chm")) {
        if (lower(projectFile.substr(0, projectFile.size() - 4) + ".chm") == lower(sourcePath))
            throw IoError("The project " + projectFile + " would compile over the help file it comes from");
        if (!exists(sourcePath))
            throw IoError("Cannot read " + sourcePath + ": there is no such file");
        const std::unique_ptr<CompiledHelpFile> archive = open(sourcePath);
        // The help file's files get a folder of their own beside the project
        // file: the source may lie on a medium that cannot be written, and the
        // project should not reach back to it.
        const std::string folder =
            named ? decompileFolderFor(std::string(folderOf(projectFile)) + std::string(fileNameOf(sourcePath)))
                  : decompileFolderFor(sourcePath);
        report = decompileHelpFile(*archive, sourcePath, folder, projectFile, project);
        // Until the project is written, the extracted files are not kept.
        extracted = std::make_unique<ExtractionFolder>(folder);
    } else {
        if (const std::string clash = clashWithSource(sourcePath, projectFile); !clash.empty())
            throw IoError("Compiling " + projectFile + " would replace " + clash + "; name the project otherwise");
        report = importHelpProject(sourcePath, projectFile, project);
    }
    if (taken(projectFile))
        throw IoError(projectFile + " exists already; an import never replaces a file");
    writeProjectFile(project, projectFile, progress);
    if (extracted)
        extracted->keep();
    return report;
}

}  // namespace doxel
