#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "tools/file_batch.h"

namespace doxel {

// What a converted page carries. The texts go into the page as typed.
struct PageOptions {
    std::string backgroundColour = "#F5F9CC";
    std::string textColour = "#000000";
    std::string fontFace = "Verdana";
    int fontSize = 2;               // 0 to 12
    std::string backgroundImage;    // none when empty
    bool titleFromFileName = true;  // else customTitle for every page
    std::string customTitle;
    bool useStylesheet = false;
    std::string stylesheet;
};

inline constexpr int kLargestFontSize = 12;

// "#RRGGBB" in upper-case hexadecimal: red 0, green 0x80, blue 0xC0 gives
// "#0080C0".
std::string colourText(unsigned red, unsigned green, unsigned blue);

// The font size field's text as a size: a decimal whole number brought
// into 0 to 12; text that is not a number counts as 0.
int fontSizeOf(std::string_view text);

// The page beside a text file: its path without the last three characters,
// followed by "htm", whatever their case ("Notes.TXT" -> "Notes.htm").
std::string pagePathFor(std::string_view source);

// The page's title: the file name without its last four characters
// ("a.b.txt" -> "a.b"), or the custom title; "Untitled Document" when
// that is empty.
std::string pageTitleFor(std::string_view source, const PageOptions& options);

// What a text holds: plain ASCII, valid UTF-8 with other characters too, or
// neither, which is taken as Windows-1252. The page declares UTF-8 for the
// second only, so a page of Windows text stays as it always was.
enum class TextEncoding { Ascii, Utf8, Windows1252 };
TextEncoding textEncodingOf(std::string_view text);  // up to the end of text

// A file the converter leaves alone: NUL bytes in its text, or UTF-16 or
// UTF-32 text.
class NotText : public IoError {
public:
    using IoError::IoError;
};

// The rows of a page before the first line of the text, and after the
// last, each ended by CR LF. Every text line (ended by CR LF, CR or LF)
// goes between them as its bytes followed by "<BR>" and CR LF, nothing
// escaped.
std::string pageHead(std::string_view title, const PageOptions& options,
                     TextEncoding encoding = TextEncoding::Windows1252);
inline constexpr std::string_view kPageFoot = "</FONT></BODY>\r\n</HTML>\r\n";

// The page of `text` (the bytes of a text file). A UTF-8 byte order mark
// does not go into the page.
std::string pageOf(std::string_view text, std::string_view title, const PageOptions& options);

// Converts one text file into its page (pagePathFor), through `batch`: the
// page replaces an existing file of that name without a question when the
// batch is committed. Throws NotText for a file that is not text, IoError
// when the text cannot be read or the page cannot be begun or written (the
// message then names the page); nothing of it is then in the batch.
void convertFile(const std::string& source, const PageOptions& options, FileBatch& batch);

struct ConversionResult {
    int listed = 0;                    // the files asked for, as the wizard counts them
    std::vector<std::string> pages;    // pages written, in order
    std::vector<std::string> skipped;  // not a file (vanished, a folder)
    std::vector<std::string> notes;    // files left alone as not text, each a sentence
    std::vector<FileBatch::Failure> failures;
};

struct ConversionControl {
    bool stopAtFailure = true;          // the wizard stops; the command line goes on
    std::function<void(int)> progress;  // index of each file handled, from 0
};

// Converts the files in order; an entry that is not an existing file is
// skipped. A file listed twice is converted twice.
ConversionResult convertFiles(const std::vector<std::string>& files, const PageOptions& options,
                              const ConversionControl& control = {});

}  // namespace doxel
