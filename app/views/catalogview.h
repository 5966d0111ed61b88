#pragma once
#include <QAbstractTableModel>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/viewhost.h"
#include "core/online/catalog.h"

class QComboBox;
class QLabel;
class QSplitter;
class QTableView;
namespace kv::workspace {
class FormSettings;
}

// The catalogue entries as the 13 columns of the list.
class CatalogModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Columns = 13;
    using QAbstractTableModel::QAbstractTableModel;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void setEntries(std::vector<kv::online::tScriptInfo> entries);
    const std::vector<kv::online::tScriptInfo>& entries() const { return m_entries; }

    // The catalogue comes a page at a time: `more` loads the page after the first `offset`
    // entries when the list is scrolled to its end and says whether entries follow it; `failed`
    // hears why a page did not come.
    using TPageLoader = std::function<std::vector<kv::online::tScriptInfo>(int32_t offset, bool& more)>;
    void setPages(TPageLoader more, std::function<void(const std::string&)> failed);
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

private:
    std::vector<kv::online::tScriptInfo> m_entries;
    TPageLoader m_more;
    std::function<void(const std::string&)> m_failed;
    bool m_complete = true;  // the server said nothing follows, or a page failed
};

// The online catalogue of scenarios: a panel under the scenario lines with the filter list,
// the entries and the ScriptLibrary* commands.
class CatalogView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* ListName = "ScriptLibraryList";

    // Puts itself under `lines` in a splitter of the scenario tab `scenarioPage`; a scenario
    // taken from the catalogue calls `scenarioReplaced` so the tab shows it.
    CatalogView(const ViewContext& ctx, QWidget* scenarioPage, QTableView* lines,
                std::function<void()> scenarioReplaced);

    void createCommands();
    // Start-up: shown per ScriptLibraryOn and loaded. An unreachable catalogue shows one line
    // in the panel instead of a message box.
    void start();
    // ScriptLibraryRefresh; a failure goes into the panel's line and keeps the list shown.
    void refresh();
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;

    bool panelShown() const;
    int filterIndex() const;
    // The selected entry, or nullptr.
    const kv::online::tScriptInfo* selected() const;
    void selectId(int32_t id);

    QTableView* view() const { return m_view; }
    QComboBox* filterBox() const { return m_filter; }
    QLabel* notice() const { return m_notice; }
    CatalogModel* model() const { return m_model; }

    void togglePanel();
    void download();
    void upload();
    void replace();
    void remove();
    void viewProperties();
    void showRates();
    void rate(int value);

private:
    // The dialog "Свойства сценария" for publishing or replacing; true when sent.
    bool editAndSend(kv::online::tScriptData script, const kv::online::TCatalogClient& client);
    std::string scenarioText() const;
    void explainUpload();

    std::function<void()> m_scenarioReplaced;
    QSplitter* m_splitter;
    QComboBox* m_filter;
    QLabel* m_notice;
    QTableView* m_view;
    CatalogModel* m_model;
    bool m_pageFailed = false;
    std::string m_failure;   // why the last page did not come
};
