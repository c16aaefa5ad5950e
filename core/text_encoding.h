#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace doxel {

// Texts are held as UTF-8. Files written on Windows arrive in
// Windows-1252; the compiler input files leave in Windows-1252 because the
// help file declares that code page.

bool isValidUtf8(std::string_view text);

// Every byte as its Windows-1252 character. The five bytes that code page
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 controls
// of the same value, so nothing is lost.
std::string cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; a character that code page lacks becomes a decimal
// character reference ("Ж" gives "&#1046;"). A byte that is not part of
// valid UTF-8 is passed through unchanged.
std::string utf8ToCp1252(std::string_view text);

// The first `limit` characters (code points) of a UTF-8 text, never cutting
// a character in half.
std::string_view firstCharacters(std::string_view text, std::size_t limit);

// Decodes one UTF-8 character at `pos`; returns its code point and advances
// `pos`, or returns -1 and advances by one byte on an invalid sequence.
long decodeUtf8(std::string_view text, std::size_t& pos);

void appendUtf8(std::string& out, unsigned long codePoint);

// `text` with every control character (line breaks, tabs, BEL, DEL) turned
// into a space: captions and keywords are one line of the project file,
// where BEL separates a keyword from its file.
std::string oneLine(std::string text);

}  // namespace doxel
