#pragma once

class QKeySequence;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace doxel {

class ActionRegistry;

// The main window's commands: every menu item and tool button of the main
// window and its pages, created with their design captions (the
// localized captions replace them at start-up), and the menus built from
// them.
void createWindowActions(ActionRegistry& registry);

// The desktop's key that ends a program (Ctrl+Q where it names none).
QKeySequence quitKey();

// MainMenu1 with File1, Items1, Commands1, Options1 and Help1.
void buildMainMenu(ActionRegistry& registry, QMenuBar* bar);

// The tree's pop-up menu ItemPopup (opened by code, never by itself).
QMenu* buildItemPopup(ActionRegistry& registry, QWidget* parent);

// ToolBar1: New, Open, Save | Compile, Wizards (drop-down PopupMenu1),
// Project properties | About.
QToolBar* buildMainToolBar(ActionRegistry& registry, QWidget* parent);

// Gives ToolBar1's buttons the coloured pictures, or the grey ones that
// turn coloured under the mouse (setting ToolbColored).
void setMainToolBarColored(ActionRegistry& registry, bool colored);

}  // namespace doxel
