#pragma once

#include <cstddef>
#include <cstdint>

// Where a compiled help file keeps what viewers read in its system files:
// the compiler writes by these names and formats/system_file reads by them.
namespace doxel::help_layout {

// The records of #SYSTEM, by code.
enum SystemRecord : std::uint16_t {
    kContentsFile = 0,
    kIndexFile = 1,
    kDefaultTopic = 2,
    kTitle = 3,
    kLanguageAndFlags = 4,  // language id, DBCS, search, keyword and associative links
    kDefaultWindow = 5,
    kCompiledFileStem = 6,
    kBinaryIndexTag = 7,
    kCompilerVersion = 9,
    kTimestamp = 10,
    kBinaryContentsTag = 11,
    kIndexHeader = 13,  // a copy of #IDXHDR
};
// The layout version #SYSTEM starts with.
constexpr std::uint32_t kSystemVersion = 3;

// #WINDOWS: a count and the record size, then one record per window (the
// HH_WINTYPE of viewers), its texts as offsets into #STRINGS.
constexpr std::uint32_t kWindowRecordSize = 196;
// The part of a record every reader knows, up to the Jump 2 address.
constexpr std::size_t kShortestWindowRecord = 0xAC;
enum WindowField : std::size_t {
    kWindowSize = 0x00,
    kWindowName = 0x08,
    kWindowGiven = 0x0C,  // which of the numbers below are given
    kWindowNavigationStyle = 0x10,
    kWindowTitle = 0x14,
    kWindowStyle = 0x18,
    kWindowExtendedStyle = 0x1C,
    kWindowRect = 0x20,  // left, top, right, bottom
    kWindowPaneWidth = 0x4C,
    kWindowContentsFile = 0x60,
    kWindowIndexFile = 0x64,
    kWindowDefaultTopic = 0x68,
    kWindowHomePage = 0x6C,
    kWindowButtons = 0x70,
    kWindowJump1Text = 0x9C,
    kWindowJump2Text = 0xA0,
    kWindowJump1Url = 0xA4,
    kWindowJump2Url = 0xA8,
};
// The bits of kWindowGiven (HHWIN_PARAM_).
constexpr std::uint32_t kGivenProperties = 0x2;
constexpr std::uint32_t kGivenStyles = 0x4;
constexpr std::uint32_t kGivenExtendedStyles = 0x8;
constexpr std::uint32_t kGivenRect = 0x10;
constexpr std::uint32_t kGivenPaneWidth = 0x20;
constexpr std::uint32_t kGivenButtons = 0x100;

// #TOPICS: 16 bytes a topic: its contents record, title in #STRINGS, row of
// #URLTBL, then the flags.
constexpr std::size_t kTopicRowSize = 16;
constexpr std::uint16_t kTopicFlagsEntry = 2;  // a contents or index file, or an entry's own row
constexpr std::uint16_t kTopicFlagsPage = 6;

// #URLTBL is read in blocks of 4 KB: 341 rows of 12 bytes and 4 to spare.
constexpr std::size_t kUrlRowsPerBlock = 341;
constexpr std::size_t kUrlRowSize = 12;
constexpr std::size_t kUrlBlockSize = 4096;

}  // namespace doxel::help_layout
