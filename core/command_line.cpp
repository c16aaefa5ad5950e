#include "core/command_line.h"

#include "core/path_rules.h"

namespace doxel {

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    if (!arguments.empty()) {
        const std::string& first = arguments.front();
        if (first == "--help" || first == "-h") {
            result.mode = CommandLine::Mode::Help;
            return result;
        }
        if (first == "--version") {
            result.mode = CommandLine::Mode::Version;
            return result;
        }
        if (first == "--compile" && arguments.size() == 4 && arguments[2] == "--compiler") {
            result.mode = CommandLine::Mode::Compile;
            result.projectFile = arguments[1];
            result.compiler = arguments[3];
            if (result.projectFile.empty() || (result.compiler != "doxel" && result.compiler != "chmcmd")) {
                result.mode = CommandLine::Mode::Invalid;
                result.problem = "--compiler takes doxel or chmcmd";
            }
            return result;
        }
        if (first == "--export" || first == "--compile" || first == "--help-ids") {
            result.mode = first == "--export"    ? CommandLine::Mode::Export
                          : first == "--compile" ? CommandLine::Mode::Compile
                                                 : CommandLine::Mode::HelpIds;
            if (arguments.size() != 2 || arguments[1].empty()) {
                result.mode = CommandLine::Mode::Invalid;
                result.problem = first + " needs exactly one project file";
            } else {
                result.projectFile = arguments[1];
            }
            return result;
        }
        if (first == "--import") {
            result.mode = CommandLine::Mode::Import;
            if (arguments.size() < 2 || arguments.size() > 3 || arguments[1].empty()) {
                result.mode = CommandLine::Mode::Invalid;
                result.problem =
                    "--import needs a help project, contents or compiled help file and may name the new project";
            } else {
                result.source = arguments[1];
                if (arguments.size() == 3)
                    result.projectFile = arguments[2];
            }
            return result;
        }
        if (first == "--txt-to-html" || first == "--replace") {
            result.mode = first == "--replace" ? CommandLine::Mode::Replace : CommandLine::Mode::TxtToHtml;
            result.toolArguments.assign(arguments.begin() + 1, arguments.end());
            return result;
        }
        if (first.starts_with("--")) {
            result.mode = CommandLine::Mode::Invalid;
            result.problem = "unknown option " + first;
            return result;
        }
    }
    std::string joined;
    for (const std::string& argument : arguments) {
        if (argument.empty())
            break;
        if (asciiUpper(argument) == "/DEBUG" || asciiUpper(argument) == "-DEBUG")
            result.debug = true;
        else
            joined += " " + argument;
    }
    joined = std::string(trimmed(joined));
    if (asciiUpper(joined).find(".DXP") != std::string::npos)
        result.projectFile = joined;
    return result;
}

std::string usageText()
{
    return "Usage: doxel [FILE.dxp]\n"
           "       doxel --export FILE.dxp\n"
           "       doxel --compile FILE.dxp|FILE.hhp [--compiler doxel|chmcmd]\n"
           "       doxel --txt-to-html [OPTION]... FILE.txt...\n"
           "       doxel --replace [OPTION]... SEARCH REPLACEMENT FILE...\n"
           "       doxel --import SOURCE [PROJECT.dxp]\n"
           "       doxel --help-ids FILE.dxp\n"
           "       doxel --help | --version\n"
           "\n"
           "HTML Doxel builds HTML Help (CHM) files from HTML pages.\n"
           "\n"
           "  FILE.dxp            open the project in the window\n"
           "  --export FILE.dxp   write the compiler input files (.hhp, .hhc, .hhk)\n"
           "                      next to the project and keep them\n"
           "  --compile FILE.dxp  compile the project into its .chm file without a window;\n"
           "                      a help project (.hhp) of another tool compiles as it is.\n"
           "                      --compiler chmcmd uses Free Pascal's chmcmd instead of\n"
           "                      the built-in compiler\n"
           "  --txt-to-html FILE.txt...\n"
           "                      convert text files into HTML pages, each written beside\n"
           "                      its text file (notes.txt gives notes.htm); every line\n"
           "                      goes into the page as it is, followed by <BR>\n"
           "    --title TEXT           one title for every page (default: the file name)\n"
           "    --stylesheet REF       link the page to this stylesheet\n"
           "    --background COLOUR    background colour (default #F5F9CC)\n"
           "    --text-colour COLOUR   text colour (default #000000)\n"
           "    --font FACE            font face (default Verdana)\n"
           "    --font-size N          font size 0 to 12 (default 2)\n"
           "    --background-image REF background picture (default none)\n"
           "  --replace SEARCH REPLACEMENT FILE...\n"
           "                      replace every occurrence of SEARCH in the files; \"|\"\n"
           "                      in SEARCH and REPLACEMENT stands for a line end (CR LF,\n"
           "                      CR or LF); a file without SEARCH is left as it is, a\n"
           "                      changed one keeps its line ends\n"
           "    --match-case           letter case counts (default: ignored, A-Z only)\n"
           "    --no-backup            make no FILE.bak copy of each file processed\n"
           "    --all-files            take files of any name (default: .txt, .htm, .html)\n"
           "  --import SOURCE [PROJECT.dxp]\n"
           "                      make a project from an HTML Help project (.hhp), a\n"
           "                      contents file (.hhc) or a compiled help file (.chm,\n"
           "                      extracted into a new folder named after it)\n"
           "  --help-ids FILE.dxp list the project's help ids, one a line: name, number\n"
           "                      and topic (relative to the project folder), separated\n"
           "                      by tabs\n"
           "  --help              show this text\n"
           "  --version           show the program's version\n"
           "\n"
           "Options may stand anywhere before \"--\", after which every argument is\n"
           "a file or string.\n"
           "\n"
           "Exit status: 0 success, 1 the job ran and found errors (named on\n"
           "standard error; nothing is lost), 2 wrong usage or the job could not run.\n"
           "\n"
           "Build tools that run Microsoft's help compiler (doxygen's HHC_LOCATION)\n"
           "can run doxel-hhc PROJECT.hhp instead: see doxel-hhc --help.\n";
}

}  // namespace doxel
