#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>

#include <string>
#include <vector>

#include "core/project.h"
#include "core/settings.h"

namespace doxel {

// A keyword's properties: its text and the topic file it leads to, chosen
// among the project's files (or none). It takes the row's values and hands
// them back through values() once confirmed; the caller applies them.
class TKeywordProperties final : public QDialog {
    Q_OBJECT

public:
    // `files` are full paths; `shownFiles` the same files as the author
    // reads them (relative to the project folder), in the same order.
    TKeywordProperties(SettingsStore& settings, const KeywordEntry& values, std::vector<std::string> files,
                       const std::vector<std::string>& shownFiles, QWidget* parent = nullptr);

    KeywordEntry values() const;

    QLineEdit* keywordEdit() const { return m_keywordEdit; }
    QComboBox* fileCombo() const { return m_fileCombo; }

private:
    std::vector<std::string> m_files;  // the combo's rows after the first ("no file")
    QLineEdit* m_keywordEdit;
    QComboBox* m_fileCombo;
};

}  // namespace doxel
