// Writes the generated project of the export timing:
//   bench_export_project FOLDER [ENTRIES] [KEYWORDS]
// FOLDER/manual.dxp with ENTRIES contents entries (default 100,000) and
// KEYWORDS keywords (default 20,000), the project of bench_project, and its
// topic files (empty) under FOLDER/chapterN/sectionM/, so that reading the
// project finds its folders on disk as an author's project does. Then time
//   doxel --export FOLDER/manual.dxp
// against a copy of the same bytes (FOLDER with the files the export wrote).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/errors.h"
#include "core/progress.h"
#include "core/project_file.h"
#include "generated_project.h"

int main(int argc, char* argv[])
{
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s FOLDER [ENTRIES] [KEYWORDS]\n", argv[0]);
        return 2;
    }
    const std::string folder = std::filesystem::absolute(argv[1]).lexically_normal().string();
    const int entries = argc > 2 ? std::atoi(argv[2]) : 100000;
    const int keywords = argc > 3 ? std::atoi(argv[3]) : 20000;
    try {
        doxel::Project project;
        doxel::bench::generateProject(project, folder, entries, keywords);
        for (const doxel::FileListEntry& row : project.fileList) {
            std::filesystem::create_directories(std::filesystem::path(row.path).parent_path());
            std::ofstream(row.path, std::ios::binary);
        }
        doxel::NullProgress progress;
        doxel::writeProjectFile(project, project.projectFile, progress);
        std::printf("%s\n", project.projectFile.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
