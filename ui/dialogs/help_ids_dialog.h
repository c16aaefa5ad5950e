#pragma once

#include <QAbstractTableModel>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include <optional>
#include <string>
#include <vector>

#include "core/settings.h"
#include "editing/help_id_list.h"

namespace doxel {

// The rows of a HelpIdList as a table: name, number, and the topic
// relative to the project folder. The list changes only through its
// commands, after which the dialog calls reload().
class HelpIdModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    HelpIdModel(const HelpIdList& list, std::string projectFile, QObject* parent = nullptr);

    void setColumnCaptions(const QStringList& captions);
    void reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const HelpIdList& m_list;
    std::string m_projectFile;
    QStringList m_captions;
};

// One help id: its name, its number (decimal, or hexadecimal with "0x")
// and its topic, chosen among the project's topic files. It takes the
// values and hands them back through values() once OK confirmed them; the
// caller checks and applies them.
class THelpIdProperties final : public QDialog {
    Q_OBJECT

public:
    // `topics` are full paths; `shownTopics` the same as the author reads
    // them, in the same order.
    THelpIdProperties(SettingsStore& settings, const HelpIdInput& values, std::vector<std::string> topics,
                      const std::vector<std::string>& shownTopics, QWidget* parent = nullptr);

    HelpIdInput values() const;

    QLineEdit* nameEdit() const { return m_nameEdit; }
    QLineEdit* numberEdit() const { return m_numberEdit; }
    QComboBox* topicCombo() const { return m_topicCombo; }
    QPushButton* okButton() const { return m_okButton; }

private:
    std::vector<std::string> m_topics;  // the combo's rows
    QLineEdit* m_nameEdit;
    QLineEdit* m_numberEdit;
    QComboBox* m_topicCombo;
    QPushButton* m_okButton;
};

// The Help ids list of the Edit menu: the project's help ids in a table
// sorted by a click on a column's header, with Add, Edit and Delete. Each
// change is made at once through the HelpIdList, one undo step each, so
// Close is all that ends it.
class THelpIds final : public QDialog {
    Q_OBJECT

public:
    THelpIds(SettingsStore& settings, HelpIdList& list, const std::string& projectFile, QWidget* parent = nullptr);

    QTableView* view() const { return m_view; }
    HelpIdModel* model() const { return m_model; }
    QPushButton* addButton() const { return m_addButton; }
    QPushButton* editButton() const { return m_editButton; }
    QPushButton* deleteButton() const { return m_deleteButton; }
    QPushButton* closeButton() const { return m_closeButton; }

    // Handlers.
    void addHelpId();
    void editHelpId();
    void deleteHelpId();
    void sortByColumn(int column);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::optional<std::size_t> currentRow() const;
    void showRows(std::optional<std::size_t> current);
    void updateButtons();

    HelpIdList& m_list;
    HelpIdModel* m_model;
    QTableView* m_view;
    QPushButton* m_addButton;
    QPushButton* m_editButton;
    QPushButton* m_deleteButton;
    QPushButton* m_closeButton;
};

}  // namespace doxel
