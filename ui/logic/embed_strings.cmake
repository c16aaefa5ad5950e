# Turns the string table files of data/strings into a C++ source, so the
# texts are compiled into the program. Run at build time:
#   cmake -DSTRINGS_DIR=<data/strings> -DOUTPUT=<file.cpp> -P embed_strings.cmake
# Each file goes in whole as a raw string literal; the program parses the
# lines once, at the first fetch.
set(sources "en:0" "de:1000" "fr:2000" "es:3000" "ru:4000" "fixed:0")
set(delimiter "doxel_strings")
set(body "")
foreach(source IN LISTS sources)
  string(REPLACE ":" ";" parts "${source}")
  list(GET parts 0 language)
  list(GET parts 1 offset)
  file(READ "${STRINGS_DIR}/${language}.txt" content)
  string(FIND "${content}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${language}.txt holds the text )${delimiter}\" and cannot be embedded")
  endif()
  string(APPEND body "    {\"${language}\", ${offset}, R\"${delimiter}(${content})${delimiter}\"},\n")
endforeach()

set(text "// Generated from data/strings by ui/logic/embed_strings.cmake; edit the .txt files instead.\n")
string(APPEND text "#include \"ui/logic/string_table.h\"\n\n")
string(APPEND text "namespace doxel {\n\n")
string(APPEND text "const std::vector<StringTableFile>& stringTableFiles()\n{\n")
string(APPEND text "    static const std::vector<StringTableFile> files = {\n${body}    };\n")
string(APPEND text "    return files;\n}\n\n}  // namespace doxel\n")

# Rewrite only on change, so an unchanged table rebuilds nothing.
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" old)
  if(old STREQUAL text)
    return()
  endif()
endif()
file(WRITE "${OUTPUT}" "${text}")
