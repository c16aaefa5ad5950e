#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

namespace doxel::chm {

// Splits text into the words a search finds, for one language: words of
// letters of any script and numbers, by Unicode's word boundaries (with
// dictionaries for scripts written without spaces: Japanese, Chinese,
// Thai), in composed form, lower-cased by the language's rules (Turkish
// "I" gives "ı"). Not thread-safe: one splitter per thread.
class WordSplitter {
public:
    // `languageId` is a Windows language id (0x419); one that ICU does not
    // know splits and lower-cases by the rules common to all languages.
    // Words longer than `maxCharacters` are cut to that many characters.
    WordSplitter(std::uint32_t languageId, std::size_t maxCharacters);
    ~WordSplitter();
    WordSplitter(const WordSplitter&) = delete;
    WordSplitter& operator=(const WordSplitter&) = delete;

    // Calls `word` with each word of the UTF-8 text, in order, as UTF-8.
    // Words joined by hyphens ("mot-clé", "e-mail") are words of their own
    // in many languages, and readers search for them so: `compound` gets
    // the whole ("mot-clé") just before `word` gets its first part, so that
    // both stand at the same place and the parts are still found alone.
    void split(std::string_view utf8, const std::function<void(std::string_view)>& word,
               const std::function<void(std::string_view)>& compound = {});

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace doxel::chm
