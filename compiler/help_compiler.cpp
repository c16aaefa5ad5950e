#include "compiler/help_compiler.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "compiler/binary_contents.h"
#include "compiler/binary_index.h"
#include "compiler/chm_container.h"
#include "compiler/compile_error.h"
#include "compiler/fulltext/fulltext_index.h"
#include "compiler/little_endian.h"
#include "core/atomic_file.h"
#include "core/help_language.h"
#include "core/path_rules.h"
#include "core/plain_path.h"
#include "core/text_encoding.h"
#include "editing/topic_files.h"
#include "formats/help_file_layout.h"
#include "formats/help_id_map.h"
#include "formats/help_project_reader.h"
#include "formats/sitemap_reader.h"
#include "output/page_code_page.h"
#include "output/page_references.h"

namespace doxel::chm {
namespace {

using namespace help_layout;

constexpr std::size_t kProjectLimit = 64u << 20;
constexpr std::size_t kFileLimit = 1u << 30;
// The help file's compressed stream and offsets stay well inside what
// 32-bit readers handle.
constexpr std::uint64_t kContentLimit = 3ull << 30;
constexpr const char* kCompilerName = "HHA Version 4.74.8702";
// Notes on [MAP] and [ALIAS] shown before the rest are counted.
constexpr std::size_t kHelpIdNotesShown = 20;

bool isPage(std::string_view path)
{
    const std::string lower = asciiLower(path);
    return lower.ends_with(".htm") || lower.ends_with(".html") || lower.ends_with(".xhtml") ||
           lower.ends_with(".shtml");
}

// The strings of #STRINGS, each once; offset 0 is the empty string.
class StringPool {
public:
    StringPool() : m_data(1, '\0') {}
    std::uint32_t add(const std::string& text)
    {
        if (text.empty())
            return 0;
        const auto [at, added] = m_offsets.emplace(text, static_cast<std::uint32_t>(m_data.size()));
        if (added) {
            m_data += text;
            m_data.push_back('\0');
        }
        return at->second;
    }
    const std::string& data() const { return m_data; }

private:
    std::string m_data;
    std::unordered_map<std::string, std::uint32_t> m_offsets;
};

// A help id's topic as [ALIAS] writes it, split into the file inside the
// project folder ("pages/a.htm", empty when it leads outside) and its
// anchor ("#part" or empty).
std::pair<std::string, std::string> aliasTarget(const std::string& topic)
{
    std::string path = forwardSlashes(topic);
    const std::size_t hash = path.find('#');
    std::string anchor = hash == std::string::npos ? std::string() : path.substr(hash);
    path = path.substr(0, hash);
    while (path.starts_with('/'))
        path.erase(0, 1);
    return {plainRelativePath(path), std::move(anchor)};
}

struct Topic {
    std::string path;   // inside the project folder, "/" separated, maybe with "#anchor"; or an address
    std::string title;  // in the code page; empty for none
    bool page = true;
    std::uint32_t contentsRecord = 0;  // its first entry in #TOCIDX, 0 for none
};

// A keyword a page carries in an index object, and the page's topic.
struct PageKeyword {
    std::string name;
    std::uint32_t topic = 0;
    bool associative = false;  // an ALink name rather than a keyword
};

class Compiler {
public:
    Compiler(const std::string& helpProjectFile, const std::function<void(const std::string&)>& log,
             const HelpCompileOptions& options)
        : m_log(log), m_options(options)
    {
        m_hhp = absolutePath(helpProjectFile);
        m_folder = std::string(folderOf(m_hhp));
        if (m_folder.size() > 1)
            m_folder.pop_back();
    }

    void readProject()
    {
        progress("Reading " + std::string(fileNameOf(m_hhp)));
        m_project = readHelpProject(readWholeFile(m_hhp, kProjectLimit), std::string(fileNameOf(m_hhp)));
        const int language = m_project.languageId.value_or(0x409);
        m_codePage = &codePageForLanguageId(language);
        m_encoder = std::make_unique<CodePageEncoder>(*m_codePage);
        std::string target = forwardSlashes(m_project.compiledFile);
        if (target.empty()) {
            const std::string name(fileNameOf(m_hhp));
            target = name.substr(0, name.rfind('.')) + ".chm";
        }
        m_target = target.starts_with("/") ? target : m_folder + "/" + target;
        m_helpIds = readHelpIds(m_project, m_folder, std::string(fileNameOf(m_hhp)));
        m_project.binaryIndex = m_project.binaryIndex || m_options.binaryIndex;
    }

    const std::vector<std::string>& files() const { return m_files; }
    const std::string& folder() const { return m_folder; }
    bool searchOn() const { return m_project.fullTextSearch; }
    const CodePage& codePage() const { return *m_codePage; }

    void run()
    {
        readProject();
        const int language = m_project.languageId.value_or(0x409);
        ChmContainer container(static_cast<std::uint32_t>(language), m_options.threads);
        // The build's time, or SOURCE_DATE_EPOCH for a reproducible file.
        const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
        m_timestamp = epoch != nullptr ? static_cast<std::uint32_t>(std::strtoul(epoch, nullptr, 10))
                                       : static_cast<std::uint32_t>(std::time(nullptr));
        container.setTimestamp(m_timestamp);
        std::vector<FullTextPage> searchable;
        for (std::size_t i = 0; i < m_helpIds.notes.size() && i < kHelpIdNotesShown; ++i)
            m_log("Note: " + m_helpIds.notes[i]);
        if (m_helpIds.notes.size() > kHelpIdNotesShown)
            m_log("Note: " + std::to_string(m_helpIds.notes.size() - kHelpIdNotesShown) +
                  " more notes on [MAP] and [ALIAS]");
        collectFiles([&](const std::string& path, const std::string& bytes) {
            if (container.uncompressedSize() + bytes.size() > kContentLimit)
                throw CompileError("The help file would hold more than 3 GB; it cannot be compiled as one file");
            if (isPage(path)) {
                const std::string utf8 = isValidUtf8(bytes) ? bytes : toUtf8(bytes, m_codePage->iconvName);
                const std::string title = titleOfPage(utf8).value_or(std::string());
                if (m_project.fullTextSearch)
                    searchable.push_back({static_cast<std::uint32_t>(m_topics.size()), title, utf8});
                if (m_project.binaryIndex)
                    takePageKeywords(utf8, static_cast<std::uint32_t>(m_topics.size()));
                m_topics.push_back({path, m_encoder->encode(title), true});
            }
            container.addCompressedFile("/" + path, bytes);
        });
        for (const std::string& sitemap : {m_contents, m_index}) {
            if (!sitemap.empty())
                m_topics.push_back({sitemap, {}, false});
        }

        bool hasSearchIndex = false;
        if (m_project.fullTextSearch) {
            progress("Indexing " + std::to_string(searchable.size()) + " pages for search");
            FullTextResult fullText =
                buildFullTextIndex(searchable, {m_codePage->number, static_cast<std::uint32_t>(language), stopWords()});
            for (const std::string& note : fullText.notes)
                m_log("Note: " + note);
            noteLanguageKeeping(fullText.lackingWords);
            hasSearchIndex = !fullText.data.empty();
            if (hasSearchIndex)
                container.addFile("/$FIftiMain", fullText.data);
        }
        addSystemFiles(container, static_cast<std::uint32_t>(language), hasSearchIndex);

        progress("Compressing " + std::to_string(container.uncompressedSize() / 1024) + " KB");
        std::string file;
        container.write([&file](std::string_view bytes) { file.append(bytes); });
        progress("Writing " + std::string(fileNameOf(m_target)));
        std::vector<std::string> read = {m_hhp};
        for (const std::string& path : m_files)
            read.push_back(m_folder + "/" + path);
        if (const std::string refusal = helpFileTargetRefusal(m_target, read); !refusal.empty())
            throw CompileError(refusal);
        writeFileAtomically(m_target, file);
        // The summary counts the topics; a second count here would disagree
        // with it (this one holds the contents and index files too).
        m_log("Compiled " + std::to_string(m_files.size()) + " files into " + std::string(fileNameOf(m_target)) + " (" +
              std::to_string(file.size()) + " bytes)");
    }

private:
    // Pages in two scripts (German and Russian, say) lose the words of one
    // from the search: which language of the help file would keep them.
    void noteLanguageKeeping(const std::vector<std::string>& lackingWords)
    {
        if (lackingWords.empty())
            return;
        const std::vector<std::string_view> words(lackingWords.begin(), lackingWords.end());
        bool complete = false;
        const CodePage& keeping = chooseCodePage(words, &complete);
        if (!complete || keeping.number == m_codePage->number)
            return;
        m_log("Note: the help file's language " + helpLanguageName(*m_codePage) + " (Windows-" +
              std::to_string(m_codePage->number) + ") leaves these " + std::to_string(words.size()) +
              (words.size() == 1 ? " word" : " words") + " out of the search; " + helpLanguageName(keeping) +
              " (Windows-" + std::to_string(keeping.number) +
              "), chosen as the help file's language in the project properties, would keep them and leave out "
              "the words its code page lacks instead");
    }

    void progress(const std::string& text)
    {
        if (!m_options.progress)
            return;
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastProgress < std::chrono::milliseconds(40))
            return;
        m_lastProgress = now;
        m_options.progress(text);
    }

    bool exists(const std::string& path) const
    {
        std::error_code error;
        return std::filesystem::is_regular_file(m_folder + "/" + path, error);
    }

    // Takes a path relative to the project folder into the help file when
    // the file is there; a page is scanned for the files it uses.
    void reach(const std::string& relative)
    {
        const std::string path = plainRelativePath(relative);
        if (path.empty() || m_seen.contains(path))
            return;
        m_seen.insert(path);
        if (!exists(path))
            return;
        if (!gate().holds(m_folder + "/" + path)) {
            m_log(FolderGate::leftOutWarning(path));
            return;
        }
        m_files.push_back(path);
        m_stored.insert(path);
        m_pending.push_back(path);
    }

    const FolderGate& gate()
    {
        if (!m_gate)
            m_gate = std::make_unique<FolderGate>(m_folder);
        return *m_gate;
    }

    // The file's bytes, read where its real path is checked once more, so
    // that a link put in its way since it was reached leads nowhere.
    std::string readInside(const std::string& path)
    {
        std::optional<std::string> bytes = gate().read(m_folder + "/" + path, kFileLimit);
        if (!bytes)
            throw CompileError(path + " was changed into a link to a file outside the project folder while the help " +
                               "file was made");
        return std::move(*bytes);
    }

    void reachUrl(std::string_view url, std::string_view baseFolder)
    {
        if (classifyUrl(url) != UrlKind::Local)
            return;
        const std::string local = localUrlPath(url);
        if (local.empty())
            return;
        reach(local.starts_with("/") ? local.substr(1) : std::string(baseFolder) + local);
    }

    void readSitemapFile(const std::string& stored, std::string& name,
                         const std::function<void(const std::string&, const std::string&)>& take)
    {
        if (stored.empty())
            return;
        name = plainRelativePath(stored);
        if (name.empty() || !exists(name)) {
            m_log("Warning: The file " + stored + " that the help project names does not exist");
            name.clear();
            return;
        }
        if (!m_seen.insert(name).second)
            return;
        if (!gate().holds(m_folder + "/" + name)) {
            m_log(FolderGate::leftOutWarning(name));
            name.clear();
            return;
        }
        m_files.push_back(name);
        const std::string bytes = readInside(name);
        Sitemap sitemap = readSitemap(bytes, m_codePage, std::string(fileNameOf(name)));
        // Viewers read the contents and index in the help file's code page,
        // as its pages: one another tool wrote in UTF-8 goes in converted.
        const StoredPage converted = storedPage(bytes, *m_codePage);
        if (converted.kind == StoredPage::Kind::Converted) {
            m_log("Note: " + name + " is in " + converted.encoding +
                  "; it goes into the help file converted to Windows-" + std::to_string(m_codePage->number) +
                  ", the code page its viewers read it in");
            take(name, converted.bytes);
        } else {
            take(name, bytes);
        }
        const std::string base(folderOf(name));
        for (const SitemapEntry& entry : sitemap.entries) {
            reachUrl(entry.local, base);
            if (&name == &m_contents && m_firstContentsPage.empty() && classifyUrl(entry.local) == UrlKind::Local) {
                const std::string page = plainRelativePath(base + localUrlPath(entry.local));
                if (m_stored.contains(page))
                    m_firstContentsPage = page;
            }
            for (const std::string& more : entry.moreLocals)
                reachUrl(more, base);
        }
        // The binary contents and index are made from the entries once the
        // topics of the pages are known.
        const bool contents = &name == &m_contents;
        if (contents)
            m_contentsProperties = std::move(sitemap.properties);
        if (contents ? m_project.binaryContents : m_project.binaryIndex)
            (contents ? m_contentsEntries : m_indexEntries) = std::move(sitemap.entries);
    }

public:
    // Reads every file that goes into the help file once, in the order
    // reached, and hands it to `take`.
    void collectFiles(const std::function<void(const std::string&, const std::string&)>& take)
    {
        progress("Collecting the files");
        for (const std::string& file : m_project.files)
            reach(file);
        readSitemapFile(m_project.contentsFile, m_contents, take);
        readSitemapFile(m_project.indexFile, m_index, take);
        reachUrl(m_project.defaultTopic, "");
        for (const WindowDefinition& window : m_project.windows) {
            for (const std::string* url : {&window.defaultTopic, &window.homePage, &window.jump1Url, &window.jump2Url})
                reachUrl(*url, "");
        }
        for (const HelpIdEntry& id : m_helpIds.ids) {
            if (const std::string file = aliasTarget(id.topic).first; !file.empty())
                reach(file);
        }
        // The pages lead to further files: what the page scan finds.
        while (!m_pending.empty()) {
            const std::string path = m_pending.front();
            m_pending.pop_front();
            progress("Reading " + path);
            const std::string bytes = readInside(path);
            if (isPage(path)) {
                const std::string base(folderOf(path));
                for (const PageReference& reference : scanPage(bytes).references)
                    reachUrl(reference.url, base);
            } else if (isStyleSheet(path)) {
                // Pictures of tabs and backgrounds, and further style sheets.
                const std::string base(folderOf(path));
                for (const std::string& url : styleSheetUrls(bytes))
                    reachUrl(url, base);
            }
            take(path, bytes);
        }
    }

private:
    std::string inCodePage(const std::string& text) { return m_encoder->encode(text); }

    // The words of the stop list file, in UTF-8; empty without one.
    std::string stopWords()
    {
        if (m_project.stopListFile.empty())
            return {};
        const std::string path = plainRelativePath(m_project.stopListFile);
        if (path.empty() || !exists(path) || !gate().holds(m_folder + "/" + path)) {
            m_log("Warning: The stop list file " + m_project.stopListFile +
                  " is no file of the project folder; search leaves no words out");
            return {};
        }
        const std::string bytes = readInside(path);
        return isValidUtf8(bytes) ? bytes : toUtf8(bytes, m_codePage->iconvName);
    }

    void takePageKeywords(const std::string& page, std::uint32_t topic)
    {
        // Most pages carry none: the scan runs only on pages that name the
        // index object's class.
        if (asciiLower(page).find("1e2a7bd0-dab9-11d0-b93a-00c04fc99f9e") == std::string::npos)
            return;
        PageKeywords found = pageKeywords(page);
        for (std::string& name : found.keywords)
            m_pageKeywords.push_back({std::move(name), topic, false});
        for (std::string& name : found.associativeLinks)
            m_pageKeywords.push_back({std::move(name), topic, true});
    }

    // The #TOPICS row an entry of the contents or index leads to, `local`
    // as the entry states it, relative to `base`. A keyword leads to the
    // page's own row when it names a page and no anchor; any other target
    // gets a row of its own, titled `title`, as the contents' entries do,
    // whose caption viewers take from it.
    std::uint32_t topicOf(const std::string& local, const std::string& base, const std::string& title, bool contents)
    {
        std::string target = local;
        if (classifyUrl(local) == UrlKind::Local) {
            const std::size_t hash = local.find('#');
            target = plainRelativePath(base + localUrlPath(local));
            if (hash != std::string::npos)
                target += local.substr(hash);
        }
        if (m_pageRows.empty()) {
            for (std::size_t i = 0; i < m_topics.size(); ++i) {
                if (m_topics[i].page)
                    m_pageRows.emplace(m_topics[i].path, static_cast<std::uint32_t>(i));
            }
        }
        if (!contents) {
            if (const auto page = m_pageRows.find(target); page != m_pageRows.end())
                return page->second;
        }
        const std::string encodedTitle = inCodePage(title);
        const auto [row, added] = m_entryRows.emplace(target + '\n' + encodedTitle + (contents ? "\n" : ""),
                                                      static_cast<std::uint32_t>(m_topics.size()));
        if (added)
            m_topics.push_back({target, encodedTitle, !contents});
        return row->second;
    }

    void addBinaryContents(ChmContainer& container, StringPool& strings)
    {
        if (m_contentsEntries.empty())
            return;
        const std::string base(folderOf(m_contents));
        std::vector<ContentsItem> items;
        items.reserve(m_contentsEntries.size());
        for (const SitemapEntry& entry : m_contentsEntries) {
            ContentsItem item;
            item.level = entry.level;
            if (!entry.local.empty())
                item.topic = topicOf(entry.local, base, entry.name, true);
            else
                item.caption = strings.add(inCodePage(entry.name));
            items.push_back(item);
        }
        const BinaryContents binary = buildBinaryContents(items);
        for (std::size_t i = 0; i < items.size(); ++i) {
            if (items[i].topic && m_topics[*items[i].topic].contentsRecord == 0)
                m_topics[*items[i].topic].contentsRecord = binary.offsets[i];
        }
        container.addFile("/#TOCIDX", binary.data);
    }

    // $WWKeywordLinks from the index file's keywords and the pages' own,
    // $WWAssociativeLinks from the pages' ALink names. Returns whether
    // each was written.
    std::pair<bool, bool> addKeywordLinks(ChmContainer& container, std::uint32_t language)
    {
        if (!m_project.binaryIndex)
            return {false, false};
        std::vector<KeywordEntry> keywords;
        std::vector<KeywordEntry> associative;
        const std::string base(folderOf(m_index));
        for (const SitemapEntry& entry : m_indexEntries) {
            KeywordEntry keyword{entry.level, entry.name, {}};
            if (!entry.local.empty())
                keyword.topics.push_back(topicOf(entry.local, base, entry.name, false));
            for (const std::string& more : entry.moreLocals)
                keyword.topics.push_back(topicOf(more, base, entry.name, false));
            keywords.push_back(std::move(keyword));
        }
        for (const PageKeyword& page : m_pageKeywords)
            (page.associative ? associative : keywords).push_back({0, page.name, {page.topic}});
        const auto write = [&](const std::vector<KeywordEntry>& entries, const std::string& folder) {
            KeywordLinks links = buildKeywordLinks(entries, static_cast<std::uint32_t>(m_codePage->number), language);
            for (const std::string& note : links.notes)
                m_log("Note: " + note);
            if (links.keywordCount == 0)
                return false;
            container.addFile(folder + "BTree", links.btree);
            container.addFile(folder + "Data", links.data);
            container.addFile(folder + "Map", links.map);
            container.addFile(folder + "Property", links.property);
            return true;
        };
        const bool keywordLinks = write(keywords, "/$WWKeywordLinks/");
        const bool associativeLinks = write(associative, "/$WWAssociativeLinks/");
        return {keywordLinks, associativeLinks};
    }

    void addSystemFiles(ChmContainer& container, std::uint32_t language, bool fullText)
    {
        StringPool strings;
        // These add the topics their entries lead to.
        addBinaryContents(container, strings);
        const auto [keywordLinks, associativeLinks] = addKeywordLinks(container, language);
        // #TOPICS, #URLTBL and #URLSTR: one row per topic, in file order.
        std::string topics;
        std::string urlTable;
        std::string urlStrings(1, '\0');
        for (std::size_t i = 0; i < m_topics.size(); ++i) {
            const Topic& topic = m_topics[i];
            const auto urlAt = static_cast<std::uint32_t>(urlStrings.size());
            put32(urlStrings, 0);
            put32(urlStrings, 0);
            urlStrings += topic.path;
            urlStrings.push_back('\0');
            if (i > 0 && i % kUrlRowsPerBlock == 0)
                urlTable.append(kUrlBlockSize - kUrlRowsPerBlock * kUrlRowSize, '\0');
            const auto urlRow = static_cast<std::uint32_t>(urlTable.size());
            put32(urlTable, 0);
            put32(urlTable, static_cast<std::uint32_t>(i));
            put32(urlTable, urlAt);
            put32(topics, topic.contentsRecord);
            put32(topics, topic.title.empty() ? 0xFFFFFFFFu : strings.add(topic.title));
            put32(topics, urlRow);
            put16(topics, topic.page ? kTopicFlagsPage : kTopicFlagsEntry);
            put16(topics, 0);
        }

        std::string windows;
        put32(windows, static_cast<std::uint32_t>(m_project.windows.size()));
        put32(windows, kWindowRecordSize);
        for (const WindowDefinition& window : m_project.windows)
            windows += windowRecord(window, strings);

        std::string idxhdr(4096, '\0');
        idxhdr.replace(0, 4, "T#SM");
        std::string counts;
        put32(counts, 1);
        put32(counts, 1);
        put32(counts, static_cast<std::uint32_t>(m_topics.size()));
        idxhdr.replace(4, counts.size(), counts);
        addContentsProperties(idxhdr, strings);

        std::string system;
        put32(system, kSystemVersion);
        const auto record = [&system](std::uint16_t code, const std::string& data) {
            put16(system, code);
            put16(system, static_cast<std::uint32_t>(data.size()));
            system += data;
        };
        const auto text = [](const std::string& value) { return value + std::string(1, '\0'); };
        std::string stamp;
        put32(stamp, m_timestamp);
        record(kTimestamp, stamp);
        record(kCompilerVersion, text(kCompilerName));
        std::string flags;
        put32(flags, language);
        const int cp = m_codePage->number;
        put32(flags, cp == 932 || cp == 936 || cp == 949 || cp == 950 ? 1 : 0);
        put32(flags, fullText ? 1 : 0);
        put32(flags, keywordLinks ? 1 : 0);
        put32(flags, associativeLinks ? 1 : 0);
        flags.append(16, '\0');
        record(kLanguageAndFlags, flags);
        // A default topic that names no stored page would open a blank
        // viewer: the first page of the contents opens instead.
        std::string defaultTopic = forwardSlashes(m_project.defaultTopic);
        if (!m_stored.contains(plainRelativePath(localUrlPath(defaultTopic)))) {
            const std::string first = !m_firstContentsPage.empty()                 ? m_firstContentsPage
                                      : !m_topics.empty() && m_topics.front().page ? m_topics.front().path
                                                                                   : std::string();
            if (!first.empty()) {
                if (!defaultTopic.empty())
                    m_log("Note: The default topic " + defaultTopic + " is no page of the help file; " + first +
                          " opens first instead");
                defaultTopic = first;
            }
        }
        record(kDefaultTopic, text(inCodePage(defaultTopic)));
        record(kTitle, text(inCodePage(m_project.title)));
        // The stem of the help file's name, lower-cased as Microsoft's
        // compiler writes it.
        const std::string target(fileNameOf(m_target));
        record(kCompiledFileStem, text(asciiLower(target.substr(0, target.rfind('.')))));
        if (!m_contents.empty())
            record(kContentsFile, text(m_contents));
        if (!m_index.empty())
            record(kIndexFile, text(m_index));
        if (!m_project.defaultWindow.empty())
            record(kDefaultWindow, text(inCodePage(m_project.defaultWindow)));
        // The first number of #URLTBL's rows, which ours leave 0.
        if (keywordLinks)
            record(kBinaryIndexTag, std::string(4, '\0'));
        if (!m_contentsEntries.empty())
            record(kBinaryContentsTag, std::string(4, '\0'));
        record(kIndexHeader, idxhdr);

        container.addFile("/#SYSTEM", system, false);
        container.addFile("/#ITBITS", {}, false);
        container.addFile("/#TOPICS", topics);
        container.addFile("/#URLTBL", urlTable);
        container.addFile("/#URLSTR", urlStrings);
        container.addFile("/#WINDOWS", windows);
        container.addFile("/#IDXHDR", idxhdr);
        if (!associativeLinks)
            container.addFile("/$WWAssociativeLinks/Property", std::string(4, '\0'));
        addContextTable(container, strings);
        container.addFile("/#STRINGS", strings.data());
    }

    // What the contents file's "text/site properties" set, where viewers
    // look for it in #IDXHDR: the styles of the contents' tree window, its
    // font and colours, the frame and window its entries open in.
    void addContentsProperties(std::string& idxhdr, StringPool& strings)
    {
        const auto number = [](const std::string& value) -> std::optional<std::uint32_t> {
            const std::string text = asciiLower(value);
            const bool hex = text.starts_with("0x");
            char* end = nullptr;
            const unsigned long parsed = std::strtoul(text.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
            if (text.empty() || end == nullptr || *end != '\0')
                return std::nullopt;
            return static_cast<std::uint32_t>(parsed);
        };
        for (const auto& [name, value] : m_contentsProperties) {
            const std::string key = asciiLower(name);
            std::size_t at = 0;
            std::optional<std::uint32_t> field;
            if (key == "window styles" || key == "exwindow styles" || key == "background" || key == "foreground") {
                at = key == "window styles"     ? 0x2C
                     : key == "exwindow styles" ? 0x30
                     : key == "background"      ? 0x20
                                                : 0x24;
                field = number(value);
            } else if (key == "font" || key == "framename" || key == "windowname" || key == "imagelist") {
                at = key == "font" ? 0x28 : key == "framename" ? 0x38 : key == "windowname" ? 0x3C : 0x14;
                field = strings.add(inCodePage(value));
            } else if (key == "imagetype") {
                at = 0x1C;
                field = asciiLower(value) == "folder" ? 1 : 0;
            }
            if (field)
                put32At(idxhdr, at, *field);
        }
    }

    // #IVB: for each help id its number and the #STRINGS offset of its topic,
    // the path inside the help file (no leading "/", in the code page), by
    // number. A help id whose topic the help file does not hold is left out:
    // the application would open an empty viewer.
    void addContextTable(ChmContainer& container, StringPool& strings)
    {
        if (m_helpIds.ids.empty())
            return;
        std::vector<std::pair<std::uint32_t, std::uint32_t>> rows;
        for (const HelpIdEntry& id : m_helpIds.ids) {
            const auto [file, anchor] = aliasTarget(id.topic);
            if (file.empty() || !m_stored.contains(file)) {
                m_log("Warning: The help id " + id.name + " (" + std::to_string(id.number) + ") leads to " + id.topic +
                      ", which is no file of the project folder; it is left out of the help file");
                continue;
            }
            rows.emplace_back(id.number, strings.add(inCodePage(file + anchor)));
        }
        if (rows.empty())
            return;
        std::sort(rows.begin(), rows.end());
        std::string table;
        put32(table, static_cast<std::uint32_t>(rows.size() * 8));
        for (const auto& [number, offset] : rows) {
            put32(table, number);
            put32(table, offset);
        }
        container.addFile("/#IVB", table);
    }

    // A window's record as viewers read it (their HH_WINTYPE), texts in
    // #STRINGS with their letter case.
    std::string windowRecord(const WindowDefinition& window, StringPool& strings)
    {
        const auto str = [&](const std::string& value) { return strings.add(inCodePage(value)); };
        const auto path = [&](const std::string& value) { return strings.add(inCodePage(forwardSlashes(value))); };
        std::uint32_t valid = 0;
        if (window.navigationStyle)
            valid |= kGivenProperties;
        if (window.windowStyle)
            valid |= kGivenStyles;
        if (window.extendedStyle)
            valid |= kGivenExtendedStyles;
        if (window.left && window.top && window.right && window.bottom)
            valid |= kGivenRect;
        if (window.navigationPaneWidth)
            valid |= kGivenPaneWidth;
        if (window.buttons)
            valid |= kGivenButtons;
        // What is left 0: the show state, the window handles, the topic
        // pane, the tabs, the history and the information types.
        std::string r(kWindowRecordSize, '\0');
        const auto number = [](const std::optional<std::int32_t>& value) {
            return static_cast<std::uint32_t>(value.value_or(0));
        };
        put32At(r, kWindowSize, kWindowRecordSize);
        put32At(r, kWindowName, str(window.name));
        put32At(r, kWindowGiven, valid);
        put32At(r, kWindowNavigationStyle, number(window.navigationStyle));
        put32At(r, kWindowTitle, str(window.title));
        put32At(r, kWindowStyle, number(window.windowStyle));
        put32At(r, kWindowExtendedStyle, number(window.extendedStyle));
        put32At(r, kWindowRect, number(window.left));
        put32At(r, kWindowRect + 4, number(window.top));
        put32At(r, kWindowRect + 8, number(window.right));
        put32At(r, kWindowRect + 12, number(window.bottom));
        put32At(r, kWindowPaneWidth, number(window.navigationPaneWidth));
        put32At(r, kWindowContentsFile, path(window.contentsFile));
        put32At(r, kWindowIndexFile, path(window.indexFile));
        put32At(r, kWindowDefaultTopic, path(window.defaultTopic));
        put32At(r, kWindowHomePage, path(window.homePage));
        put32At(r, kWindowButtons, number(window.buttons));
        put32At(r, kWindowJump1Text, str(window.jump1Text));
        put32At(r, kWindowJump2Text, str(window.jump2Text));
        put32At(r, kWindowJump1Url, path(window.jump1Url));
        put32At(r, kWindowJump2Url, path(window.jump2Url));
        return r;
    }

    std::function<void(const std::string&)> m_log;
    HelpCompileOptions m_options;
    std::string m_hhp;
    std::unique_ptr<FolderGate> m_gate;
    std::string m_folder;
    std::string m_target;
    HelpProjectFile m_project;
    HelpIdDefinitions m_helpIds;
    const CodePage* m_codePage = nullptr;
    std::unique_ptr<CodePageEncoder> m_encoder;
    std::string m_contents;  // stored names of the contents and index files
    std::string m_index;
    std::vector<std::string> m_files;
    std::unordered_set<std::string> m_seen;
    std::unordered_set<std::string> m_stored;  // the files that go in
    std::string m_firstContentsPage;
    std::deque<std::string> m_pending;
    std::vector<Topic> m_topics;
    std::vector<std::pair<std::string, std::string>> m_contentsProperties;
    std::vector<SitemapEntry> m_contentsEntries;  // for the binary contents and index
    std::vector<SitemapEntry> m_indexEntries;
    std::vector<PageKeyword> m_pageKeywords;
    std::unordered_map<std::string, std::uint32_t> m_pageRows;   // a page's path and its #TOPICS row
    std::unordered_map<std::string, std::uint32_t> m_entryRows;  // target and title of a row added for entries
    std::chrono::steady_clock::time_point m_lastProgress{};
    std::uint32_t m_timestamp = 0;
};

}  // namespace

bool compileHelpProject(const std::string& helpProjectFile, const std::function<void(const std::string&)>& log,
                        const HelpCompileOptions& options)
{
    const auto emit = [&log](const std::string& line) {
        if (log)
            log(line);
    };
    try {
        Compiler(helpProjectFile, emit, options).run();
        return true;
    } catch (const std::bad_alloc&) {
        emit("Error: There is not enough memory to compile " + std::string(fileNameOf(helpProjectFile)));
    } catch (const std::exception& error) {
        emit(std::string("Error: ") + error.what());
    }
    return false;
}

void visitStoredPages(
    const std::string& helpProjectFile, bool searchOnly,
    const std::function<void(const std::string& path, const std::string& title, const std::string& text)>& visit)
{
    Compiler compiler(helpProjectFile, [](const std::string&) {}, {});
    compiler.readProject();
    if (searchOnly && !compiler.searchOn())
        return;
    compiler.collectFiles([&visit, &compiler](const std::string& path, const std::string& bytes) {
        if (!isPage(path))
            return;
        const std::string utf8 = isValidUtf8(bytes) ? bytes : toUtf8(bytes, compiler.codePage().iconvName);
        visit(path, titleOfPage(utf8).value_or(std::string()), utf8);
    });
}

}  // namespace doxel::chm
