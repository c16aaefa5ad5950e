#pragma once

// The string ids of the project properties, auto sizer and settings
// dialogs.
namespace doxel::text_id {

inline constexpr int kSpecifyHtmlEditor = 100;
inline constexpr int kAutoSizerLine1 = 109;
inline constexpr int kAutoSizerLine2 = 110;
inline constexpr int kAutoSizerLine3 = 111;
inline constexpr int kWidthLabel = 112;
inline constexpr int kHeightLabel = 113;
inline constexpr int kCancel = 114;
inline constexpr int kOk = 115;
inline constexpr int kCompiling = 117;
inline constexpr int kLaunchHelp = 118;
inline constexpr int kViewLog = 119;
inline constexpr int kDeleteTemporaryFiles = 120;
inline constexpr int kPaths = 121;
inline constexpr int kHtmlEditorPath = 122;
inline constexpr int kLogFilePath = 123;
inline constexpr int kSettingsCancel = 124;
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

}  // namespace doxel::text_id
