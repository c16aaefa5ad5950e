#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace doxel {

// What a reference in a page is to the help file: a link the reader follows
// (<a href>, <area href>), a picture shown in the page (<img src>, <input
// src>, a background), or another file the page needs (a stylesheet, a
// script, a frame's page, an embedded object).
enum class ReferenceKind { Link, Picture, Resource };

struct PageReference {
    ReferenceKind kind;
    std::string url;  // as written, character references decoded
};

// The references of one HTML page in the order they appear, and the
// anchors it defines (every id attribute and the name of each <a>).
// Comments and the text of <script> and <style> elements are skipped.
// Tolerant of any input: broken markup gives fewer references, never an
// error.
struct PageReferences {
    std::vector<PageReference> references;
    std::vector<std::string> anchors;
};

PageReferences scanPage(std::string_view html);

// Whether `path` names a style sheet (".css"), whose references the scan
// follows as a page's.
bool isStyleSheet(std::string_view path);
// The URLs a style sheet uses, in order: each url(...) and each @import
// "...", quotes and escapes of the plain kind taken off; comments skipped.
// They are relative to the style sheet's own folder.
std::vector<std::string> styleSheetUrls(std::string_view css);

// How the help file treats a URL written in a page.
enum class UrlKind {
    Local,      // a file of the help project, relative to the page or, with a leading "/", to the project folder
    Fragment,   // "#name": a place in the same page
    Internet,   // http, https, ftp, mailto, news and the like
    OtherHelp,  // a page of another compiled help file (ms-its:, mk:@MSITStore:, its:)
    Ignored     // empty, javascript:, about:, data:, file: and unknown schemes
};

UrlKind classifyUrl(std::string_view url);

// The file part of a local URL: query and fragment cut off, "%XX" escapes
// decoded and "\" turned into "/" (as browsers and help viewers do).
std::string localUrlPath(std::string_view url);

// The fragment of a URL without its "#"; empty when there is none.
std::string_view urlFragment(std::string_view url);

// Where the values of `key=` ("charset", "encoding") stand inside the tags
// that begin with `tagStart` ("<meta", "<?xml") in `lowerHead`, a page's
// start lower-cased: the first and one past the last offset of each value.
std::vector<std::pair<std::size_t, std::size_t>> declarationValues(std::string_view lowerHead, std::string_view key,
                                                                   std::string_view tagStart);

// The character encoding a page is written in, lower case: the charset it
// declares near its start (<meta charset="utf-8">, or a Content-Type
// <meta http-equiv> with "charset=windows-1251"), else "utf-8" when it holds
// text beyond ASCII that is valid UTF-8; empty when it declares nothing and
// is ASCII or an 8-bit text whose code page cannot be told.
std::string pageEncoding(std::string_view html);

// The Windows code page an encoding name stands for: "windows-1251",
// "cp1251" and "x-cp1251" give 1251, "utf-8" 65001, "iso-8859-1" and
// "latin1" 1252 (viewers treat them alike), "shift_jis" 932, "gb2312" and
// "gbk" 936, "big5" 950, "euc-kr" 949; 0 for "us-ascii" (it fits every code
// page) and -1 for a name this list does not know ("koi8-r").
int codePageOfEncoding(std::string_view name);

}  // namespace doxel
