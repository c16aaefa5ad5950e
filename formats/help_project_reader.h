#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/sitemap_reader.h"

namespace doxel {

// A help window as a help project's [WINDOWS] line defines it, fields as
// written (quotes removed, UTF-8); numbers that are absent stay empty.
struct WindowDefinition {
    std::string name;  // "Main"
    std::string title;
    std::string contentsFile;
    std::string indexFile;
    std::string defaultTopic;
    std::string homePage;
    std::string jump1Url;
    std::string jump1Text;
    std::string jump2Url;
    std::string jump2Text;
    std::optional<std::int32_t> navigationStyle;
    std::optional<std::int32_t> navigationPaneWidth;
    std::optional<std::int32_t> buttons;
    // left, top, right, bottom
    std::optional<std::int32_t> left, top, right, bottom;
    std::optional<std::int32_t> windowStyle;
    std::optional<std::int32_t> extendedStyle;
};

// What an HTML Help project file (.hhp) says, texts in UTF-8.
struct HelpProjectFile {
    std::string title;
    std::string compiledFile;
    std::string contentsFile;
    std::string indexFile;
    std::string defaultTopic;
    std::string defaultWindow;
    bool fullTextSearch = false;
    // "Binary TOC=" and "Binary Index=": the help file holds its contents
    // and keywords in the binary forms too.
    bool binaryContents = false;
    bool binaryIndex = false;
    std::string stopListFile;  // "Full text search stop list file=": words search leaves out
    std::optional<int> languageId;
    std::vector<WindowDefinition> windows;
    std::vector<std::string> files;  // [FILES], as written
    std::vector<SitemapNote> notes;  // sections and options not taken over
    // The lines of the [MAP] and [ALIAS] sections as written, each at its
    // own line number (the file's other lines are empty here), for
    // readHelpIds.
    std::string mapText;
    std::string aliasText;

    // The window named by "Default Window=", else the first; null when
    // there is none.
    const WindowDefinition* mainWindow() const;
};

// Reads a help project file. Its texts are in the code page of its
// "Language=" line, except names of files, which may be UTF-8: each field
// that is valid UTF-8 is taken as such. Never throws for odd content; a file
// that holds zero bytes throws FormatError naming `fileName`.
HelpProjectFile readHelpProject(std::string_view bytes, const std::string& fileName);

// One [WINDOWS] line's value split into its fields: a quoted field loses its
// quotes and may hold commas, the rectangle "[80,70,730,500]" stays one
// field.
std::vector<std::string> splitWindowDefinition(std::string_view value);

// The fields of a definition as the help project writer writes them (the
// title, contents file, index file, default topic, home page, the two jumps,
// navigation style, pane width, buttons, rectangle, window styles).
WindowDefinition windowDefinitionFrom(std::string name, const std::vector<std::string>& fields);

}  // namespace doxel
