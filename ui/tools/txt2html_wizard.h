#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

#include "tools/txt_to_html.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QToolButton;

namespace doxel {

class CommandRunner;
class Desktop;
class SettingsStore;
class ToolFileView;

// The TXT to HTML wizard: three steps in `Book` (the text files, the look of
// the pages, the stylesheet and the run). It converts files only; the open
// project is neither read nor changed. Every use is a fresh wizard, so no
// choice survives from one use to the next. Failures of the run go to
// `runner`'s general error box.
class TTXT2HTML final : public QDialog {
    Q_OBJECT

public:
    TTXT2HTML(SettingsStore& settings, Desktop& desktop, CommandRunner& runner, QWidget* parent = nullptr);

    // The options as the controls hold them now.
    PageOptions pageOptions() const;
    int step() const;  // 0 to 2

    void addFilesOfFolder();
    void tickAllFiles();
    void untickAllFiles();
    // The colour chooser of BackGr (background) or TextCl (text).
    void chooseColour(bool background);
    void useFileNameTitle();
    void useCustomTitle();
    void useStylesheetToggled();
    void nextStep();
    void previousStep();
    void cancel();

private:
    void setUpControls();
    void showStep(int step);
    void convert();

    SettingsStore& m_settings;
    Desktop& m_desktop;
    CommandRunner& m_runner;
    std::string m_lastFolder;
    std::uint32_t m_lastColour = 0;  // 0xRRGGBB, black at first

    QStackedWidget* m_book;
    QLabel* m_label6;
    ToolFileView* m_view;
    QToolButton* m_openDirButton;
    QToolButton* m_selAll;
    QToolButton* m_selNone;
    QPushButton* m_backGr;
    QLineEdit* m_backGrEdit;
    QFrame* m_c1;
    QPushButton* m_textCl;
    QLineEdit* m_textClEdit;
    QFrame* m_c2;
    QLabel* m_label5;
    QLineEdit* m_fontFace;
    QLabel* m_label4;
    QSpinBox* m_fontSize;
    QLabel* m_label1;
    QLineEdit* m_bgImage;
    QRadioButton* m_useTitle1;
    QRadioButton* m_useTitle2;
    QLineEdit* m_titleEdit;
    QCheckBox* m_cssBox;
    QLineEdit* m_cssEdit;
    QLabel* m_label8;
    QLabel* m_label9;
    QLabel* m_image1;
    QProgressBar* m_progress;
    QPushButton* m_backButton;
    QPushButton* m_next;
    QPushButton* m_closeButton;
};

}  // namespace doxel
