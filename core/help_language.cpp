#include "core/help_language.h"

#include <array>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include "core/text_ids.h"

namespace doxel {
namespace {

constexpr CodePage kPolish = {1250, "CP1250", 0x415, "Polnisch"};
constexpr CodePage kGb2312 = {20936, "GB2312", 0x804, ""};

// The names of the languages a help file can be written in: the text of
// the string table, and the English one for code without a string table.
struct LanguageName {
    int languageId;
    int textId;
    const char* english;
};
constexpr LanguageName kLanguageNames[] = {
    {0x409, text_id::kLanguageEnglish, "English (United States)"},
    {0x405, text_id::kLanguageCzech, "Czech"},
    {0x415, text_id::kLanguagePolish, "Polish"},
    {0x419, text_id::kLanguageRussian, "Russian"},
    {0x408, text_id::kLanguageGreek, "Greek"},
    {0x41F, text_id::kLanguageTurkish, "Turkish"},
    {0x427, text_id::kLanguageLithuanian, "Lithuanian"},
    {0x40D, text_id::kLanguageHebrew, "Hebrew"},
    {0x401, text_id::kLanguageArabic, "Arabic (Saudi Arabia)"},
    {0x41E, text_id::kLanguageThai, "Thai"},
    {0x42A, text_id::kLanguageVietnamese, "Vietnamese"},
    {0x411, text_id::kLanguageJapanese, "Japanese"},
    {0x804, text_id::kLanguageChineseSimplified, "Chinese (Simplified, PRC)"},
    {0x412, text_id::kLanguageKorean, "Korean"},
    {0x404, text_id::kLanguageChineseTraditional, "Chinese (Traditional, Taiwan)"},
};

const LanguageName* languageNameOf(int languageId)
{
    for (const LanguageName& name : kLanguageNames) {
        if (name.languageId == languageId)
            return &name;
    }
    return nullptr;
}

bool isKana(long c)
{
    return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF66 && c <= 0xFF9F);
}

bool isHangul(long c)
{
    return (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0x1100 && c <= 0x11FF) || (c >= 0x3130 && c <= 0x318F);
}

bool isHan(long c)
{
    return (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF);
}

bool isCjkPage(int number)
{
    return number == 932 || number == 936 || number == 949 || number == 950;
}

// Letters that only Polish among the languages of Windows-1250 writes, and
// those of the others.
bool isPolishLetter(long c)
{
    for (const long letter : {0x104L, 0x105L, 0x106L, 0x107L, 0x118L, 0x119L, 0x141L, 0x142L, 0x143L, 0x144L, 0x15AL,
                              0x15BL, 0x179L, 0x17AL, 0x17BL, 0x17CL}) {
        if (c == letter)
            return true;
    }
    return false;
}

bool isOtherCentralEuropeanLetter(long c)
{
    // Czech, Slovak, Hungarian, Romanian, Croatian and Slovene letters.
    for (const long letter :
         {0x10CL, 0x10DL, 0x10EL, 0x10FL, 0x11AL, 0x11BL, 0x147L, 0x148L, 0x158L, 0x159L, 0x160L, 0x161L,
          0x164L, 0x165L, 0x16EL, 0x16FL, 0x17DL, 0x17EL, 0x150L, 0x151L, 0x170L, 0x171L, 0x102L, 0x103L,
          0x15EL, 0x15FL, 0x162L, 0x163L, 0x110L, 0x111L, 0x13DL, 0x13EL, 0x139L, 0x13AL, 0x154L, 0x155L}) {
        if (c == letter)
            return true;
    }
    return false;
}

}  // namespace

const CodePage& polishCodePage()
{
    return kPolish;
}

std::vector<const CodePage*> helpLanguages()
{
    std::vector<const CodePage*> languages;
    for (const CodePage& page : helpCodePages()) {
        languages.push_back(&page);
        if (page.number == 1250)
            languages.push_back(&kPolish);
    }
    return languages;
}

const CodePage* helpLanguageById(int languageId)
{
    if (languageId == kPolish.languageId)
        return &kPolish;
    return languageId == 0 ? nullptr : codePageOfLanguage(languageId);
}

const CodePage& helpLanguageFor(int chosenLanguageId, std::span<const std::string_view> texts, bool* complete)
{
    const CodePage* chosen = helpLanguageById(chosenLanguageId);
    if (chosen == nullptr)
        return chooseHelpLanguage(texts, complete);
    if (complete != nullptr) {
        CodePageEncoder encoder(*chosen);
        *complete = true;
        for (const std::string_view text : texts) {
            if (!encoder.holds(text)) {
                *complete = false;
                break;
            }
        }
    }
    return *chosen;
}

int languageNameTextId(int languageId)
{
    const LanguageName* name = languageNameOf(languageId);
    return name != nullptr ? name->textId : 0;
}

std::string helpLanguageName(const CodePage& page, const TextLookup& text)
{
    const LanguageName* name = languageNameOf(page.languageId);
    if (name == nullptr) {
        char id[16];
        std::snprintf(id, sizeof id, "0x%X", static_cast<unsigned>(page.languageId));
        return id;
    }
    if (text) {
        std::string translated = text(name->textId);
        if (!translated.empty())
            return translated;
    }
    return name->english;
}

const CodePage& chooseHelpLanguage(std::span<const std::string_view> texts, bool* complete)
{
    const std::span<const CodePage> pages = helpCodePages();
    std::vector<std::unique_ptr<CodePageEncoder>> encoders;
    for (const CodePage& page : pages)
        encoders.push_back(std::make_unique<CodePageEncoder>(page));
    CodePageEncoder gb2312(kGb2312);

    // Each text's characters once; kana and Hangul decide how Chinese
    // characters count.
    std::vector<std::pair<long, std::string>> characters;
    bool kana = false;
    bool hangul = false;
    for (const std::string_view text : texts) {
        std::map<long, std::string> seen;
        for (std::size_t pos = 0; pos < text.size();) {
            const std::size_t start = pos;
            const long c = decodeUtf8(text, pos);
            if (c >= 0x80)
                seen.emplace(c, std::string(text.substr(start, pos - start)));
        }
        for (auto& [c, bytes] : seen) {
            kana = kana || isKana(c);
            hangul = hangul || isHangul(c);
            characters.emplace_back(c, std::move(bytes));
        }
    }
    if (complete != nullptr)
        *complete = true;
    if (characters.empty())
        return windows1252();

    std::vector<long> votes(pages.size(), 0);
    std::map<long, std::vector<bool>> held;  // per character: which pages hold it
    int polish = 0;
    int otherCentral = 0;
    for (const auto& [c, bytes] : characters) {
        auto known = held.find(c);
        if (known == held.end()) {
            std::vector<bool> holds(pages.size());
            for (std::size_t i = 0; i < pages.size(); ++i)
                holds[i] = encoders[i]->holds(bytes);
            known = held.emplace(c, std::move(holds)).first;
        }
        const std::vector<bool>& holds = known->second;
        polish += isPolishLetter(c) ? 1 : 0;
        otherCentral += isOtherCentralEuropeanLetter(c) ? 1 : 0;
        const bool han = isHan(c);
        const bool gb = han && gb2312.holds(bytes);
        bool singleByte = false;
        for (std::size_t i = 0; i < pages.size(); ++i)
            singleByte = singleByte || (holds[i] && !isCjkPage(pages[i].number));
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (!holds[i])
                continue;
            const int number = pages[i].number;
            bool counts = false;
            if (isKana(c))
                counts = number == 932;
            else if (isHangul(c))
                counts = number == 949;
            else if (han)
                counts = number == 950 || (number == 936 && gb) || (number == 932 && kana) || (number == 949 && hangul);
            else
                counts = singleByte ? !isCjkPage(number) : true;  // Cyrillic and Greek are letters of their own
            votes[i] += counts ? 1 : 0;
        }
    }
    std::size_t best = 0;
    for (std::size_t i = 1; i < pages.size(); ++i) {
        if (votes[i] > votes[best])
            best = i;
    }
    if (complete != nullptr) {
        for (const auto& [c, holds] : held)
            *complete = *complete && holds[best];
    }
    if (pages[best].number == 1250 && polish > otherCentral)
        return kPolish;
    return pages[best];
}

}  // namespace doxel
