#include "compiler/fulltext/word_splitter.h"

#include <string>
#include <vector>

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

// The marks that join the parts of a compound word.
bool isJoiningHyphen(UChar32 c)
{
    return c == 0x002D || c == 0x2010 || c == 0x2011;
}

struct Piece {
    int32_t start;
    int32_t end;
    bool word;  // letters or a number, not space or punctuation
};

}  // namespace

struct WordSplitter::Impl {
    icu::Locale locale;
    std::unique_ptr<icu::BreakIterator> words;
    const icu::Normalizer2* composed = nullptr;
    std::size_t maxCharacters = 0;
    std::string utf8Word;
    std::vector<Piece> pieces;
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

void WordSplitter::split(std::string_view utf8, const std::function<void(std::string_view)>& word,
                         const std::function<void(std::string_view)>& compound)
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
    std::vector<Piece>& pieces = m_impl->pieces;
    pieces.clear();
    int32_t start = words.first();
    for (int32_t end = words.next(); end != icu::BreakIterator::DONE; start = end, end = words.next())
        pieces.push_back({start, end, words.getRuleStatus() >= UBRK_WORD_NUMBER});

    auto emit = [&](int32_t from, int32_t to, const std::function<void(std::string_view)>& call) {
        int32_t length = to - from;
        if (text.countChar32(from, length) > static_cast<int32_t>(m_impl->maxCharacters))
            length = text.moveIndex32(from, static_cast<int32_t>(m_impl->maxCharacters)) - from;
        m_impl->utf8Word.clear();
        text.tempSubString(from, length).toUTF8String(m_impl->utf8Word);
        call(m_impl->utf8Word);
    };
    auto joins = [&](std::size_t i) {  // piece i is a hyphen between two words
        return i + 1 < pieces.size() && i > 0 && pieces[i - 1].word && pieces[i + 1].word &&
               pieces[i].end - pieces[i].start == 1 && isJoiningHyphen(text.charAt(pieces[i].start));
    };
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (!pieces[i].word)
            continue;
        if (compound && (i < 2 || !joins(i - 1))) {
            std::size_t last = i;
            while (joins(last + 1))
                last += 2;
            if (last != i)
                emit(pieces[i].start, pieces[last].end, compound);
        }
        emit(pieces[i].start, pieces[i].end, word);
    }
}

}  // namespace doxel::chm
