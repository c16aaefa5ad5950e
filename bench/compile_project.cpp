// Writes a help project of generated topic pages for timing compiles:
//   bench_compile_project FOLDER [PAGES]
// FOLDER/manual.dxp with PAGES topics (default 5000) in chapters of 250
// pages under FOLDER/chapterN/, each page about 4 KB with links to its
// neighbours, one of its chapter's pictures and an internet link.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/errors.h"
#include "core/project.h"
#include "core/project_file.h"

namespace {

constexpr int kPagesPerChapter = 250;

std::string pageText(int page, int pages)
{
    const int chapter = page / kPagesPerChapter;
    std::string text =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html><head>\n"
        "<title>Topic " +
        std::to_string(page) +
        "</title>\n"
        "<link rel=\"stylesheet\" href=\"../styles.css\">\n</head><body>\n"
        "<h1 id=\"top\">Topic " +
        std::to_string(page) +
        "</h1>\n"
        "<p><img src=\"../images/chapter" +
        std::to_string(chapter) + ".png\" alt=\"\"></p>\n";
    while (text.size() < 3800) {
        text +=
            "<p>Configuring the network printer settings for users, reports and exporting data takes a few "
            "steps; each of them is described on its own page of this manual.</p>\n";
    }
    if (page > 0)
        text += "<p><a href=\"../chapter" + std::to_string((page - 1) / kPagesPerChapter) + "/topic" +
                std::to_string(page - 1) + ".htm\">Previous</a>";
    if (page + 1 < pages)
        text += " <a href=\"../chapter" + std::to_string((page + 1) / kPagesPerChapter) + "/topic" +
                std::to_string(page + 1) + ".htm\">Next</a>";
    text += " <a href=\"https://www.example.com/manual/\">On the web</a></p>\n</body></html>\n";
    return text;
}

void write(const std::filesystem::path& path, const std::string& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << bytes;
    if (!out)
        throw doxel::IoError("Cannot write " + path.string());
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [PAGES]\n", argv[0]);
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::absolute(argv[1]);
    const int pages = argc > 2 ? std::atoi(argv[2]) : 5000;
    // A tiny valid PNG; the compiler only stores the bytes.
    static const unsigned char kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0,    0, 0, 0x0D,
                                         'I',  'H', 'D', 'R', 0,    0,    0,    1,    0,    0, 0, 1,
                                         8,    6,   0,   0,   0,    0x1F, 0x15, 0xC4, 0x89, 0, 0, 0,
                                         0,    'I', 'E', 'N', 'D',  0xAE, 0x42, 0x60, 0x82};
    try {
        doxel::Project project("Generated manual");
        project.projectFile = (folder / "manual.dxp").string();
        write(folder / "styles.css", "body { font-family: sans-serif; }\n");
        doxel::ContentsEntry* chapter = nullptr;
        for (int page = 0; page < pages; ++page) {
            if (page % kPagesPerChapter == 0) {
                const int number = page / kPagesPerChapter;
                write(folder / "images" / ("chapter" + std::to_string(number) + ".png"),
                      std::string(reinterpret_cast<const char*>(kPng), sizeof kPng));
                chapter = project.titleEntry().appendChild(
                    std::make_unique<doxel::ContentsEntry>("Chapter " + std::to_string(number + 1), 0));
            }
            const std::filesystem::path file = folder / ("chapter" + std::to_string(page / kPagesPerChapter)) /
                                               ("topic" + std::to_string(page) + ".htm");
            write(file, pageText(page, pages));
            chapter->appendChild(
                std::make_unique<doxel::ContentsEntry>("Topic " + std::to_string(page), 8, file.string()));
            if (page % 3 == 0)
                project.keywords.push_back({"keyword " + std::to_string(page), file.string()});
        }
        project.rebuildFileList();
        project.windowSettings.navigationStyle = 32 | 256 | 1024;
        doxel::NullProgress progress;
        doxel::writeProjectFile(project, project.projectFile, progress);
        std::printf("%s\n", project.projectFile.c_str());
        return 0;
    } catch (const doxel::Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 2;
    }
}
