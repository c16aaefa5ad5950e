#pragma once

#include <span>
#include <string_view>

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

}  // namespace doxel
