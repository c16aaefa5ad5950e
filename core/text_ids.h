#pragma once

namespace doxel {

// Ids of the string table (data/strings, without the language offset) for
// every text the program fetches by id; the code names a text only through
// these. Grouped by where the text is shown.
namespace text_id {

// No id: the caption "HTML Doxel", which is never translated.
inline constexpr int kProgramName = 0;

// The document commands.
inline constexpr int kSaveChanges = 90;
inline constexpr int kSaveProject = 91;
inline constexpr int kNewProjectTitle = 94;
inline constexpr int kProjectFilesMissing = 229;

// The contents editing commands.
inline constexpr int kSaveBeforeAdding = 92;
inline constexpr int kNewHeader = 93;
inline constexpr int kFilesCannotBeAdded = 95;
inline constexpr int kWarning = 96;
inline constexpr int kDeleteWithChildren = 97;
inline constexpr int kDelete = 98;

// The results window of a compile.
inline constexpr int kViewCompiledFile = 101;
inline constexpr int kViewLogFile = 102;
inline constexpr int kClose = 103;
inline constexpr int kCompilerMessages = 104;
inline constexpr int kSummary = 105;
inline constexpr int kCompileProject = 106;

// The progress window.
inline constexpr int kPleaseWait = 107;

// Dialog buttons.
inline constexpr int kOk = 115;
inline constexpr int kCancel = 124;

// The item properties dialog.
inline constexpr int kAssociatedFile = 264;
inline constexpr int kSelectSource = 265;
inline constexpr int kRemoveAssociation = 266;
inline constexpr int kItemProperties = 267;

}  // namespace text_id
}  // namespace doxel
