#pragma once
#include <QWidget>
#include <memory>
#include <vector>

#include "app/viewhost.h"

class DrawsModel;
class QSpinBox;
class QTableView;

// The tab "Архив тиражей": the draws offset, the draw list newest first, and over an empty
// archive a hint with the demo archive's button. It owns the draw commands of the list.
class DrawsView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* TabCaption = "Архив тиражей";
    // The list's object name, also the key of its column widths in the window settings.
    static constexpr const char* ListName = "DrawsList";

    explicit DrawsView(const ViewContext& ctx);
    ~DrawsView() override;

    // Registers the draw commands (the first of the window's commands).
    void createCommands();
    // The list's spreadsheet export, registered with the other lists' exports.
    void createExportCommand();
    // The list's context menu, once every command it names exists.
    void createMenus();
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;
    // Follows the view flags and the channel width of the settings, and repaints.
    void followSettings();
    // Reads the archive's row count again (every row when forced), with the status fields,
    // the offset's limits and the empty-archive hint.
    void refreshDrawList(bool force);
    // The width that shows every column without a horizontal scroll bar.
    int fittingWidth() const;

signals:
    // The draw order inside a draw changed: what shows draws follows it.
    void sortedChanged();
    // Draws were added by hand or imported: the stakes waiting for them can be checked.
    void archiveGrew();

private:
    void setDrawsOffset(int offset);
    void toggleSorted();
    void drawsAdd();
    void drawsEdit();
    void drawsDel();
    void drawsImport();
    void drawsExport();
    void drawsInfo();
    // The demo archive, offered while the archive is empty: invented draws, asked first.
    void createDemoArchive();
    std::vector<int> selectedRows() const;
    int currentRow() const;
    // The archive index of a list row (the list is newest first); -1 outside the archive.
    int archiveIndex(int row) const;

    DrawsModel* m_model;
    QTableView* m_list;
    QSpinBox* m_offset;
    QWidget* m_emptyArchive;
    bool m_refreshForced = false;   // a forced refresh waits for the run's next refresh
};
