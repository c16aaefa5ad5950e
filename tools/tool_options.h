#pragma once

#include <string>
#include <vector>

#include "tools/replace_run.h"
#include "tools/txt_to_html.h"

namespace doxel {

// The content tools' options on the command line; they mirror the dialogs
// and their defaults. `problem` is empty when the arguments are usable.
//
//   --txt-to-html [--title TEXT] [--stylesheet REF] [--background COLOUR]
//                 [--text-colour COLOUR] [--font FACE] [--font-size N]
//                 [--background-image REF] FILE.txt...
//   --replace [--match-case] [--no-backup] [--all-files] SEARCH REPLACEMENT FILE...
//
// Options may stand anywhere among the operands; "--" ends them, so a file
// or search string after it may begin with "--". An option takes its value
// as the next argument or after "=" (--title=X).
struct TxtToHtmlArguments {
    PageOptions options;
    std::vector<std::string> files;
    std::string problem;
};
TxtToHtmlArguments parseTxtToHtmlArguments(const std::vector<std::string>& arguments);

struct ReplaceArguments {
    ReplaceOptions options;
    bool allFiles = false;  // else only .txt, .htm and .html files, as the dialog lists
    std::vector<std::string> files;
    std::string problem;
};
ReplaceArguments parseReplaceArguments(const std::vector<std::string>& arguments);

}  // namespace doxel
