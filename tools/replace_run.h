#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "tools/file_batch.h"
#include "tools/replace.h"

namespace doxel {

struct ReplaceOptions {
    ReplaceStrings strings;
    bool backup = true;  // a copy FILE.bak of every file before it changes
};

// One file: with backups on, a copy of the file as it was goes to the file's
// name followed by ".bak" ("page.htm" -> "page.htm.bak"), replacing an older
// one, whether or not the file changes, and the file is only changed once
// that copy is in place; then the file's bytes are replaced
// (replacedFileBytes) and, when the search string occurred, the file is
// rewritten, provided it is still as it was read. Both go through `batch`,
// so they reach their names at the batch's commit. Returns whether the
// file changes. Throws IoError when the file cannot be read, is not text
// (NUL bytes, UTF-16 or UTF-32) or a file cannot be begun; nothing of this
// file is then in the batch.
bool replaceInFile(const std::string& file, const ReplaceOptions& options, FileBatch& batch);

struct ReplaceRunResult {
    int processed = 0;                 // files that were files and were read
    int changed = 0;                   // files rewritten with other bytes
    std::vector<std::string> skipped;  // not a file (vanished, a folder)
    std::vector<std::string> notes;    // files left alone as not text, each a sentence
    std::vector<FileBatch::Failure> failures;
    bool stopped = false;  // ended at the first failure
};

struct ReplaceRunControl {
    // Stop at the first failure (the dialog) or go on with the other files
    // (the command line). Files done before a failure keep their changes.
    bool stopAtFailure = true;
    // Called with the count of processed files before each one.
    std::function<void(int)> progress;
};

// The run over a list of files, in order: an entry that is not an existing
// file is skipped and not counted, and so is a file that is not text (with
// a note); a file may be listed twice, also under two names, and is then
// processed twice, the second time as the first left it. A file another
// program changed between its reading and its writing is left as it is
// and fails.
ReplaceRunResult replaceInFiles(const std::vector<std::string>& files, const ReplaceOptions& options,
                                const ReplaceRunControl& control = {});

}  // namespace doxel
