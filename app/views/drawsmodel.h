#pragma once
#include <QAbstractTableModel>

namespace kv::workspace {
class Workspace;
}

// The draw list, newest first, read from the workspace on demand.
class DrawsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DrawsModel(const kv::workspace::Workspace& ws, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setSorted(bool on) { m_sorted = on; }
    void setColorDraws(bool on) { m_colorDraws = on; }
    void setChannelSize(int w) { m_channelSize = w; }
    // Brings the row count up to the archive's (reset when forced or when it differs).
    void refresh(bool force);
    void repaintAll();

private:
    const kv::workspace::Workspace& m_ws;
    int m_rows = 0;
    bool m_sorted = false;
    bool m_colorDraws = true;
    int m_channelSize = 4;
};
