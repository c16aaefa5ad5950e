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

// The content tools: search and replace, and the TXT to HTML wizard.
inline constexpr int kReplaceWizard = 180;
inline constexpr int kReplaceBanner = 181;
inline constexpr int kSearchString = 182;
inline constexpr int kReplaceWith = 183;
inline constexpr int kCreateBackups = 184;
inline constexpr int kIgnoreCase = 185;
inline constexpr int kSelectInputFolder = 186;
inline constexpr int kExample = 187;
inline constexpr int kSelectAll = 188;
inline constexpr int kUnselectAll = 189;
inline constexpr int kHtmlAndTextFiles = 190;
inline constexpr int kClearListQuestion = 191;
inline constexpr int kClearFileList = 192;
inline constexpr int kFilesProcessed = 193;
inline constexpr int kChooseTextFiles = 195;
inline constexpr int kBack = 196;
inline constexpr int kNext = 197;
inline constexpr int kFinish = 198;
inline constexpr int kSetBackgroundColour = 199;
inline constexpr int kSetTextColour = 200;
inline constexpr int kFontFace = 201;
inline constexpr int kFontSize = 202;
inline constexpr int kBackgroundImage = 203;
inline constexpr int kTitleFromFileName = 204;
inline constexpr int kCustomTitle = 205;
inline constexpr int kStylesheetReference = 206;
inline constexpr int kPressFinish = 207;
inline constexpr int kToStartConversion = 208;
inline constexpr int kTextFiles = 209;
inline constexpr int kSpecifyTextFiles = 210;
inline constexpr int kTxtToHtmlWizard = 211;
inline constexpr int kSpecifyFilesAndSearch = 212;

}  // namespace text_id
}  // namespace doxel
