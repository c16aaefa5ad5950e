#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/text_encoding.h"

namespace doxel {

// The help file's language as the letters of its texts tell it: the
// language whose alphabet holds most of the characters beyond ASCII,
// counted once per text. Latin letters that several code pages hold count
// for each of them, so that German stays Windows-1252 and Polish letters
// give Windows-1250 with the Polish language (0x415); Chinese characters
// count for Simplified Chinese when GB2312 holds them and for Traditional
// Chinese when Big5 does, for Japanese only beside kana and for Korean only
// beside Hangul. On a tie the earlier code page of helpCodePages wins.
// `complete` says whether the code page chosen holds every text; the
// texts it lacks characters of are then written with character references.
const CodePage& chooseHelpLanguage(std::span<const std::string_view> texts, bool* complete = nullptr);

// The Polish language in Windows-1250, which helpCodePages lists as Czech.
const CodePage& polishCodePage();

// The languages an author can choose for the help file: those of
// helpCodePages with Polish after Czech.
std::vector<const CodePage*> helpLanguages();
// The language of helpLanguages with that id, or null.
const CodePage* helpLanguageById(int languageId);

// The code page the project's help file is written in when the author chose
// its language (`chosenLanguageId`, 0 for none, or an id no language of
// helpLanguages has): that language, and `complete` says whether it holds
// every text; otherwise chooseHelpLanguage.
const CodePage& helpLanguageFor(int chosenLanguageId, std::span<const std::string_view> texts,
                                bool* complete = nullptr);

// Fetches a text of the string table in the program's language.
using TextLookup = std::function<std::string(int id)>;

// The string id of the language's name (text_id::kLanguageEnglish and on);
// 0 for a language with none.
int languageNameTextId(int languageId);
// The language's name in the program's language, through `text`; the
// English name when `text` is empty or has none, the id in hexadecimal
// for a language without a name.
std::string helpLanguageName(const CodePage& page, const TextLookup& text = {});

}  // namespace doxel
