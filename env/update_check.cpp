#include "env/update_check.h"

#include <charconv>
#include <cstdio>
#include <filesystem>

namespace doxel {
namespace {

std::string_view firstLine(std::string_view text)
{
    return text.substr(0, text.find_first_of(std::string_view("\r\n\x1a", 3)));
}

std::string_view trimmedBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

bool parseDottedVersion(std::string_view text, std::uint16_t (&parts)[4])
{
    for (std::uint16_t& part : parts)
        part = 0;
    std::size_t count = 0;
    std::size_t at = 0;
    while (true) {
        if (count == 4 || at >= text.size() || text[at] < '0' || text[at] > '9')
            return false;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), parts[count]);
        if (error != std::errc())
            return false;
        ++count;
        at = static_cast<std::size_t>(end - text.data());
        if (at == text.size())
            return true;
        if (text[at] != '.')
            return false;
        ++at;
    }
}

UpdateAnswer updateAnswerFor(std::string_view versionFile, std::string_view ownVersion)
{
    std::uint16_t offered[4];
    std::uint16_t own[4];
    if (!parseDottedVersion(trimmedBlanks(firstLine(versionFile)), offered) || !parseDottedVersion(ownVersion, own))
        return UpdateAnswer::Error;
    for (int i = 0; i < 4; ++i) {
        if (offered[i] != own[i])
            return offered[i] > own[i] ? UpdateAnswer::Newer : UpdateAnswer::Current;
    }
    return UpdateAnswer::Current;
}

UpdateCheck::UpdateCheck(UiPoster& poster, UpdateCheckView& view, UpdateCheckSettings settings)
    : m_view(view), m_settings(std::move(settings)), m_checkUpdate(poster)
{
    m_checkUpdate.AcceptTypes = "*/*";
    m_checkUpdate.Agent = "HTML Doxel";
    m_checkUpdate.BinaryData = false;
    m_checkUpdate.URL = m_settings.versionFileUrl;
    m_checkUpdate.UseCache = false;
    // The answer arrives through the poster; the command returns at once.
    m_checkUpdate.WaitThread = false;
    m_checkUpdate.MaxSize = kMaxVersionFileSize;
    m_checkUpdate.OnDoneFile = [this](THTTPGet& sender, const std::string& fileName, std::int64_t fileSize) {
        versionFileDownloaded(sender, fileName, fileSize);
    };
    m_checkUpdate.OnError = [this](THTTPGet& sender) { downloadFailed(sender); };
}

std::string UpdateCheck::tempFile() const
{
    return (std::filesystem::path(m_settings.dataFolder) / "temp.txt").string();
}

void UpdateCheck::checkForUpdate()
{
    if (!available())
        return;
    m_checkUpdate.FileName = tempFile();
    m_checkUpdate.getFile();
}

void UpdateCheck::versionFileDownloaded(THTTPGet&, const std::string& fileName, std::int64_t)
{
    // The first line is all that counts; the download is at most 1 MiB.
    std::string contents;
    if (std::FILE* file = std::fopen(fileName.c_str(), "rb")) {
        char buffer[4096];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0 && contents.size() < kMaxVersionFileSize)
            contents.append(buffer, got);
        std::fclose(file);
    }
    std::error_code error;
    std::filesystem::remove(fileName, error);
    switch (updateAnswerFor(contents, m_settings.ownVersion)) {
    case UpdateAnswer::Current:
        m_view.showLatestVersion();
        break;
    case UpdateAnswer::Newer:
        if (m_view.askGoToDownloadPage(!m_settings.homePage.empty()) && !m_settings.homePage.empty())
            m_view.openAddress(m_settings.homePage);
        break;
    case UpdateAnswer::Error:
        m_view.showUpdateError();
        break;
    }
}

void UpdateCheck::downloadFailed(THTTPGet&)
{
    m_view.showUpdateError();
}

}  // namespace doxel
