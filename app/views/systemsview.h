#pragma once
#include <QAbstractTableModel>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/viewhost.h"
#include "core/online/catalog.h"

class QLabel;
class QTableView;
class QToolBar;
namespace kv::workspace {
class FormSettings;
}

// The catalogue's systems as the 11 columns of the list, with the row icon and the status
// of the local file.
class SystemsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int Columns = 11;
    explicit SystemsModel(std::filesystem::path folder, QObject* parent = nullptr)
        : QAbstractTableModel(parent), m_folder(std::move(folder)) {}
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    void setSystems(std::vector<kv::online::tSystemInfo> systems, std::string myMail);
    const std::vector<kv::online::tSystemInfo>& systems() const { return m_systems; }
    bool isMine(int row) const;
    bool isDownloaded(int row) const;
    // The status column follows the files again.
    void filesChanged();

private:
    std::filesystem::path m_folder;
    std::vector<kv::online::tSystemInfo> m_systems;
    std::string m_mail;
};

// The tab "Системы": the catalogue's play systems, their downloads into Systems, the editor and
// system play over the combination list.
class SystemsView : public ContextView {
    Q_OBJECT
public:
    static constexpr const char* ListName = "SystemsList";
    static constexpr const char* TabCaption = "Системы";

    explicit SystemsView(const ViewContext& ctx);

    void createCommands();
    // Start-up: the tab per SystemsEnabled and, when shown, the list; an unreachable catalogue
    // shows one line in the tab instead of a message box.
    void start();
    // The list from the catalogue; a failure goes into the tab's line and keeps the list shown.
    void refresh();
    void restoreSettings(const kv::workspace::FormSettings& frm) override;
    void saveSettings(SettingValues& values) const override;

    bool tabShown() const { return m_shown; }
    std::vector<int> selectedRows() const;
    QTableView* view() const { return m_view; }
    QLabel* notice() const { return m_notice; }
    SystemsModel* model() const { return m_model; }
    std::filesystem::path folder() const;

    void toggleTab();
    void downloadSelected();
    void addSystem();
    void properties();
    void deleteSystem();
    void stake(bool whole);

private:
    // Downloads one system into the folder; false after showing its failure.
    bool downloadOne(const kv::online::TCatalogClient& client, const kv::online::tSystemInfo& info);
    void selectId(int32_t id);

    bool m_shown = true;
    QToolBar* m_tools;
    QLabel* m_notice;
    QTableView* m_view;
    SystemsModel* m_model;
};
