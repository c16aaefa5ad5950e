#include "compiler/fulltext/word_splitter.h"

#include <string>

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/uloc.h>
#include <unicode/unistr.h>

namespace doxel::chm {

namespace {

icu::Locale localeOfLanguage(std::uint32_t languageId)
{
    char name[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = uloc_getLocaleForLCID(languageId, name, static_cast<int32_t>(sizeof name), &status);
    if (U_FAILURE(status) || length <= 0)
        return icu::Locale::getRoot();
    return icu::Locale(name);
}

constexpr UChar kSoftHyphen = 0x00AD;

}  // namespace

struct WordSplitter::Impl {
    icu::Locale locale;
    std::unique_ptr<icu::BreakIterator> words;
    const icu::Normalizer2* composed = nullptr;
    std::size_t maxCharacters = 0;
    std::string utf8Word;
};

WordSplitter::WordSplitter(std::uint32_t languageId, std::size_t maxCharacters) : m_impl(std::make_unique<Impl>())
{
    m_impl->locale = localeOfLanguage(languageId);
    m_impl->maxCharacters = maxCharacters;
    UErrorCode status = U_ZERO_ERROR;
    m_impl->words.reset(icu::BreakIterator::createWordInstance(m_impl->locale, status));
    if (U_FAILURE(status) || !m_impl->words) {
        status = U_ZERO_ERROR;
        m_impl->words.reset(icu::BreakIterator::createWordInstance(icu::Locale::getRoot(), status));
    }
    status = U_ZERO_ERROR;
    m_impl->composed = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        m_impl->composed = nullptr;
}

WordSplitter::~WordSplitter() = default;

void WordSplitter::split(std::string_view utf8, const std::function<void(std::string_view)>& word)
{
    if (!m_impl->words || utf8.empty())
        return;
    icu::UnicodeString text =
        icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    UErrorCode status = U_ZERO_ERROR;
    // A word typed with a combining accent is the same word as its composed
    // form, which is the form code pages hold.
    if (m_impl->composed != nullptr && !m_impl->composed->isNormalized(text, status) && U_SUCCESS(status)) {
        icu::UnicodeString normal = m_impl->composed->normalize(text, status);
        if (U_SUCCESS(status))
            text = std::move(normal);
    }
    // A soft hyphen is a place where a line may break, not part of the word.
    if (text.indexOf(kSoftHyphen) >= 0)
        text.findAndReplace(icu::UnicodeString(kSoftHyphen), icu::UnicodeString());
    text.toLower(m_impl->locale);

    icu::BreakIterator& words = *m_impl->words;
    words.setText(text);
    int32_t start = words.first();
    for (int32_t end = words.next(); end != icu::BreakIterator::DONE; start = end, end = words.next()) {
        if (words.getRuleStatus() < UBRK_WORD_NUMBER)
            continue;
        int32_t length = end - start;
        if (text.countChar32(start, length) > static_cast<int32_t>(m_impl->maxCharacters))
            length = text.moveIndex32(start, static_cast<int32_t>(m_impl->maxCharacters)) - start;
        m_impl->utf8Word.clear();
        text.tempSubString(start, length).toUTF8String(m_impl->utf8Word);
        word(m_impl->utf8Word);
    }
}

}  // namespace doxel::chm
