#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "formats/help_file.h"

namespace doxel {

// The counts of one compile, as the results window's summary shows them.
// The compiler fills them in; a compile that reports nothing leaves zeros.
struct CompileStatistics {
    int warnings = 0;
    int errors = 0;
    int topics = 0;
    int graphics = 0;
    int localLinks = 0;
    int internetLinks = 0;

    CompileStatistics& operator+=(const CompileStatistics& other);
    bool operator==(const CompileStatistics&) const = default;
};

// One row of the summary: its label (never localized), the count and the
// number of its picture among the summary pictures (data/icons summary/N).
struct SummaryRow {
    const char* label;
    int count;
    int picture;
};

// The six rows in the order the summary lists them: Warnings, Errors,
// Topics, Local Links, Internet Links, Graphics.
std::vector<SummaryRow> summaryRows(const CompileStatistics& statistics);

// Called once per message line of the compiler, in the order printed.
using CompilerLogCallback = std::function<void(const std::string& line)>;
// Called with a short text on what the compiler is doing, often enough that
// a window which handles its pending input here stays responsive: at least
// every 100 ms while a compile runs, even when the compiler prints nothing.
using CompilerProgressCallback = std::function<void(const std::string& text)>;

// A help compiler as the compile run drives it. It is loaded once, may be
// initialised, compiles synchronously on the calling thread (the callbacks
// are called on that thread during the call), and is freed after a run
// that completed. A failed run leaves it loaded; the next run reuses it.
class CompilerLibrary {
public:
    virtual ~CompilerLibrary() = default;

    // Makes the compiler ready to use; nothing when it already is. Returns
    // false, and stays unloaded, when the compiler is not available.
    virtual bool load() = 0;
    virtual bool isLoaded() const = 0;
    // Why the last load() failed, for the messages; empty after a success.
    virtual std::string problem() const = 0;
    virtual void init() = 0;

    // Compiles the help project file (.hhp) at `helpProjectFile` into the
    // compiled file it names, passing each line the compiler prints to
    // `log` as printed (the compile run counts and corrects them). Returns
    // false, with a last line that says why, when the compiler could not
    // run to its end (missing, could not start, crashed, killed): the
    // failure branch. `statistics` gets what the compiler counts beyond its
    // lines; a compiler whose lines say it all leaves zeros.
    virtual bool compile(const std::string& helpProjectFile, const CompilerLogCallback& log,
                         const CompilerProgressCallback& progress, CompileStatistics& statistics) = 0;

    virtual void free() = 0;

    // Whether the help file gets the binary keyword index although the help
    // project does not ask for it: the compile of one of the program's own
    // projects. A compiler that cannot leaves it to the help project.
    virtual void setBinaryIndex(bool /*on*/) {}

    // Opens a compiled file to check it the way a help viewer reads it.
    // Throws IoError when it is no compiled help file. A compiler without a
    // reader returns null, and the check is left out.
    virtual std::unique_ptr<CompiledHelpFile> openCompiled(const std::string& /*compiledFile*/) { return nullptr; }
};

}  // namespace doxel
