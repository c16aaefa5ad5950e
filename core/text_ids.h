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

// Undo and redo: the menu items ("&Undo %1", %1 the step's name, or the
// bare item when there is nothing to undo) and the names of the steps.
inline constexpr int kUndoItem = 285;
inline constexpr int kRedoItem = 286;
inline constexpr int kUndo = 287;
inline constexpr int kRedo = 288;
inline constexpr int kSaveAs = 289;
inline constexpr int kStepAddTopics = 290;
inline constexpr int kStepAddHeader = 291;
inline constexpr int kStepDelete = 292;
inline constexpr int kStepMove = 293;
inline constexpr int kStepDrag = 294;
inline constexpr int kStepRename = 295;
inline constexpr int kStepIcon = 296;
inline constexpr int kStepProperties = 297;
inline constexpr int kStepSort = 298;
inline constexpr int kStepDefaultTopic = 299;
inline constexpr int kStepAddKeyword = 300;
inline constexpr int kStepEditKeyword = 301;
inline constexpr int kStepDeleteKeyword = 302;
inline constexpr int kStepMoveKeyword = 303;
inline constexpr int kStepSortKeywords = 304;
inline constexpr int kStepProjectProperties = 305;
inline constexpr int kStepDeleteAllKeywords = 306;
inline constexpr int kKeywordFor = 307;
inline constexpr int kFileDoesNotExist = 308;
inline constexpr int kPreviewNotAvailable = 309;
inline constexpr int kKeywordProperties = 310;
inline constexpr int kKeywordLabel = 311;
inline constexpr int kUseChmcmd = 312;

// The help ids: the Edit menu's list, its dialogs, the help id field of the
// item properties, the refusals (%1 what was typed, %2 the topic that
// already has it) and the undo steps.
inline constexpr int kHelpIds = 340;
inline constexpr int kHelpIdsItem = 341;
inline constexpr int kHelpIdNameColumn = 342;
inline constexpr int kHelpIdNumberColumn = 343;
inline constexpr int kHelpIdTopicColumn = 344;
inline constexpr int kAddHelpId = 345;
inline constexpr int kEditHelpId = 346;
inline constexpr int kDeleteHelpId = 347;
inline constexpr int kHelpId = 348;
inline constexpr int kHelpIdNameLabel = 349;
inline constexpr int kHelpIdNumberLabel = 350;
inline constexpr int kHelpIdTopicLabel = 351;
inline constexpr int kHelpIdField = 352;
inline constexpr int kBadHelpIdName = 353;
inline constexpr int kBadHelpIdNumber = 354;
inline constexpr int kHelpIdNameTaken = 355;
inline constexpr int kHelpIdNumberTaken = 356;
inline constexpr int kHelpIdWithoutTopic = 357;
inline constexpr int kStepAddHelpId = 358;
inline constexpr int kStepEditHelpId = 359;
inline constexpr int kStepDeleteHelpId = 360;

// The contents editing commands.
inline constexpr int kSaveBeforeAdding = 92;
inline constexpr int kNewHeader = 93;
inline constexpr int kFilesCannotBeAdded = 95;
inline constexpr int kWarning = 96;
inline constexpr int kDeleteWithChildren = 97;
inline constexpr int kDelete = 98;

// The document commands' questions and notes.
inline constexpr int kReloadChangedFile = 367;
inline constexpr int kUnsavedChangesLost = 368;
inline constexpr int kReplaceExistingFile = 369;
inline constexpr int kProjectSettingsUnread = 370;
inline constexpr int kSaveOverChangedFile = 371;
inline constexpr int kPagesLeftOutside = 372;

// The project properties: the help window's buttons and file labels.
inline constexpr int kHideShowButton = 374;
inline constexpr int kBackButton = 375;
inline constexpr int kForwardButton = 376;
inline constexpr int kStopButton = 377;
inline constexpr int kRefreshButton = 378;
inline constexpr int kHomeButton = 379;
inline constexpr int kLocateButton = 380;
inline constexpr int kOptionsButton = 381;
inline constexpr int kPrintButton = 382;
inline constexpr int kJump1Button = 383;
inline constexpr int kJump2Button = 384;
inline constexpr int kJumpTextLabel = 385;
inline constexpr int kHomeLabel = 386;

// The keyword index and the preview.
inline constexpr int kEditKeyword = 71;
inline constexpr int kNoHtmlEditor = 100;
inline constexpr int kDeleteKeywordsCaption = 150;
inline constexpr int kDeleteKeywordsQuestion = 151;
inline constexpr int kNoSelectedText = 152;

// The results window of a compile.
inline constexpr int kViewCompiledFile = 101;
inline constexpr int kViewLogFile = 102;
inline constexpr int kClose = 103;
inline constexpr int kCompilerMessages = 104;
inline constexpr int kSummary = 105;
inline constexpr int kCompileProject = 106;
inline constexpr int kStopCompile = 361;
inline constexpr int kStoppingCompile = 362;
inline constexpr int kStopCompileAndQuit = 363;
inline constexpr int kStoppedByChecks = 364;
inline constexpr int kNothingWritten = 365;
inline constexpr int kCompileStopped = 366;
inline constexpr int kSearchOffNote = 373;

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

// The update check.
inline constexpr int kLatestVersion = 271;
inline constexpr int kNewVersionAvailable = 272;
inline constexpr int kUpdateError = 273;
// Import of HTML Help projects.
inline constexpr int kImportHelpProjectTitle = 281;
inline constexpr int kImportSourceFilter = 282;
inline constexpr int kAllFilesFilter = 283;
inline constexpr int kImportCaption = 284;
// The project properties dialog, the auto sizer and the settings dialog.
inline constexpr int kSpecifyHtmlEditor = 100;
inline constexpr int kAutoSizerLine1 = 109;
inline constexpr int kAutoSizerLine2 = 110;
inline constexpr int kAutoSizerLine3 = 111;
inline constexpr int kWidthLabel = 112;
inline constexpr int kHeightLabel = 113;
inline constexpr int kDialogCancel = 114;
inline constexpr int kCompiling = 117;
inline constexpr int kLaunchHelp = 118;
inline constexpr int kViewLog = 119;
inline constexpr int kDeleteTemporaryFiles = 120;
inline constexpr int kPaths = 121;
inline constexpr int kHtmlEditorPath = 122;
inline constexpr int kLogFilePath = 123;
inline constexpr int kSettings = 125;
inline constexpr int kAppearance = 219;
inline constexpr int kDefaultIcons = 220;
inline constexpr int kForNewTopics = 221;
inline constexpr int kForNewHeaders = 222;
inline constexpr int kColoredToolbar = 223;
inline constexpr int kProgressBelowBefore = 224;
inline constexpr int kProgressBelowAfter = 225;
inline constexpr int kSettingsFiles = 226;
inline constexpr int kNavigationPane = 235;
inline constexpr int kDefaultTopic = 236;
inline constexpr int kAutoHidePane = 237;
inline constexpr int kUsePaneAndTopics = 238;
inline constexpr int kAutoSync = 239;
inline constexpr int kSearchTab = 240;
inline constexpr int kFavoritesTab = 241;
inline constexpr int kAdvancedSearch = 242;
inline constexpr int kSavePosition = 243;
inline constexpr int kWindowSizeAndPosition = 244;
inline constexpr int kLeft = 245;
inline constexpr int kTop = 246;
inline constexpr int kWidth = 247;
inline constexpr int kHeight = 248;
inline constexpr int kAdjust = 249;
inline constexpr int kWindowStyles = 250;
inline constexpr int kNavigationPaneWidth = 251;
inline constexpr int kPropertiesFiles = 252;
inline constexpr int kExtendedStyles = 253;
inline constexpr int kNavigationPage = 254;
inline constexpr int kHelpWindowPage = 255;
inline constexpr int kAdvancedPage = 256;
inline constexpr int kProjectProperties = 257;
inline constexpr int kButtons = 258;
inline constexpr int kHelpFileLanguage = 320;
inline constexpr int kAutomaticHelpLanguage = 321;

// The languages a help file can be written in, named in compile messages
// and in the project properties.
inline constexpr int kLanguageEnglish = 322;
inline constexpr int kLanguageCzech = 323;
inline constexpr int kLanguagePolish = 324;
inline constexpr int kLanguageRussian = 325;
inline constexpr int kLanguageGreek = 326;
inline constexpr int kLanguageTurkish = 327;
inline constexpr int kLanguageLithuanian = 328;
inline constexpr int kLanguageHebrew = 329;
inline constexpr int kLanguageArabic = 330;
inline constexpr int kLanguageThai = 331;
inline constexpr int kLanguageVietnamese = 332;
inline constexpr int kLanguageJapanese = 333;
inline constexpr int kLanguageChineseSimplified = 334;
inline constexpr int kLanguageKorean = 335;
inline constexpr int kLanguageChineseTraditional = 336;

// The content tools: search and replace, and the TXT to HTML wizard.
inline constexpr int kReplaceWizard = 180;
inline constexpr int kReplaceBanner = 181;
inline constexpr int kSearchString = 182;
inline constexpr int kReplaceWith = 183;
inline constexpr int kCreateBackups = 184;
inline constexpr int kIgnoreCase = 185;
inline constexpr int kSelectInputFolder = 186;
inline constexpr int kIncludeSubfolders = 313;
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
