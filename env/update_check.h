#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "env/http_get.h"

namespace doxel {

// What the version file says about the program.
enum class UpdateAnswer {
    Current,  // the program is the latest (text 271)
    Newer,    // a newer release exists (text 272)
    Error,    // no usable answer (text 273)
};

// The answer for the version file's contents: its first line (ending at
// CR or LF, or at byte 26), blanks around it ignored, read as a version of
// one to four dotted numbers and compared with `ownVersion` ("1.1"), the
// missing numbers counting as 0. Only a greater version is newer; a first
// line that is no version (an error page, an empty file) is an error.
UpdateAnswer updateAnswerFor(std::string_view versionFile, std::string_view ownVersion);

// The dotted version "1.1" or "2.0.3" as four numbers; false for anything
// else (letters, blanks inside, a number above 65535, more than four parts).
bool parseDottedVersion(std::string_view text, std::uint16_t (&parts)[4]);

// The window's side of the update check.
class UpdateCheckView {
public:
    virtual ~UpdateCheckView() = default;
    virtual void showLatestVersion() = 0;  // text 271
    // Text 272; true when the user wants the download page. Without a home
    // page, only the first sentence is shown and the answer is ignored.
    virtual bool askGoToDownloadPage(bool haveHomePage) = 0;
    virtual void showUpdateError() = 0;  // text 273
    virtual void openAddress(const std::string& address) = 0;
};

struct UpdateCheckSettings {
    std::string versionFileUrl;  // empty: the check is not offered
    std::string homePage;        // empty: nothing is opened after Yes
    std::string dataFolder;      // where "temp.txt" goes, with or without a final "/"
    std::string ownVersion;      // "1.1"
};

// The Help menu's "Check for Updates": downloads the version file into
// "temp.txt" with the CheckUpdate component and answers with one of three
// messages once the download has ended: the command returns at once, and
// the answer comes through the poster. A check asked for while one runs
// is ignored.
class UpdateCheck {
public:
    static constexpr std::int64_t kMaxVersionFileSize = std::int64_t(1) << 20;

    UpdateCheck(UiPoster& poster, UpdateCheckView& view, UpdateCheckSettings settings);

    bool available() const { return !m_settings.versionFileUrl.empty(); }
    void checkForUpdate();
    THTTPGet& CheckUpdate() { return m_checkUpdate; }
    std::string tempFile() const;

private:
    void versionFileDownloaded(THTTPGet& sender, const std::string& fileName, std::int64_t fileSize);
    void downloadFailed(THTTPGet& sender);

    UpdateCheckView& m_view;
    UpdateCheckSettings m_settings;
    THTTPGet m_checkUpdate;
};

}  // namespace doxel
