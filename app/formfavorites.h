#pragma once
#include <QDialog>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/filters/favorites.h"

class QAction;
class TCommandSet;
class QCheckBox;
class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
namespace kv::stats {
class TStatList;
}
namespace kv::shell {
class Shell;
}

// "Менеджер избранных методов расчета статистики": the tree of statistic groups and methods with
// their marks and captions, the three list options and the commands on them. The window edits
// a TFavoritesTree; the caller applies it on OK. Only the names import and export touch the
// registry while the window is open.
class TFormFavorites : public QDialog {
    Q_OBJECT
public:
    TFormFavorites(kv::stats::TStatList& list, const std::filesystem::path& dataDir, kv::shell::Shell& shell,
                   QWidget* parent = nullptr);

    // The marks, names and options as the user left them (options included).
    const kv::filters::TFavoritesTree& tree() const { return m_tree; }

    QAction* command(const QString& name) const;
    QTreeWidget* treeWidget() const { return m_view; }
    QLabel* countLabel() const { return m_count; }
    QCheckBox* orderedBox() const { return m_ordered; }
    QCheckBox* groupNameBox() const { return m_groupName; }
    QCheckBox* methodFlagsBox() const { return m_methodFlags; }
    // The tree item of a registry method, nullptr when the tree does not show it.
    QTreeWidgetItem* methodItem(int method) const;
    bool isBusy() const { return m_busy > 0; }
    // Where the names import and export get their file: by default the file dialog of askFile.
    using FileChooser = std::function<QString(bool save)>;
    void setFileChooser(FileChooser chooser) { m_fileChooser = std::move(chooser); }
    // The file dialog of the names import (open) and export (save), starting in the data folder;
    // empty when dismissed.
    static QString askFile(QWidget* parent, const std::filesystem::path& dataDir, bool save);
    // Enable state of the window's commands.
    void updateActions();

private:
    struct NodeRef {
        int group = -1;
        int node = -1;   // -1: the group's own item
    };
    // Runs `body` with the window's commands disabled.
    void whileBusy(const std::function<void()>& body);
    void build();
    void fillView();
    void refreshItems();
    NodeRef selectedNode() const;
    void toggle(QTreeWidgetItem* item);
    void markSelectedGroup(bool marked);
    void rename();
    void resetName();
    void info();
    void namesImport();
    void namesExport();
    QString chooseFile(bool save);

    kv::stats::TStatList& m_list;
    std::filesystem::path m_dataDir;
    kv::shell::Shell& m_shell;
    kv::filters::TFavoritesTree m_tree;
    int m_busy = 0;
    FileChooser m_fileChooser;

    TCommandSet* m_commands;
    QLabel* m_count;
    QTreeWidget* m_view;
    QCheckBox* m_ordered;
    QCheckBox* m_groupName;
    QCheckBox* m_methodFlags;
};
