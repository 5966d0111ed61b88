#include "app/views/drawsmodel.h"

#include <QColor>

#include "app/qtshell.h"
#include "core/archive/drawlist.h"
#include "core/workspace/workspace.h"

using namespace kv;

DrawsModel::DrawsModel(const workspace::Workspace& ws, QObject* parent) : QAbstractTableModel(parent), m_ws(ws) {}

int DrawsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int DrawsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : archive::DrawListColumns;
}

QVariant DrawsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_ws.DrawCount()) return {};
    const auto& draw = m_ws.DrawAtRow(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return qs(archive::DrawCellText(draw, index.column(), m_sorted));
    case Qt::BackgroundRole:
        return QColor(QRgb(archive::DrawCellColor(draw, index.row(), index.column(), m_ws.DrawsOffset(),
                                                  m_colorDraws, m_channelSize, m_sorted)));
    case Qt::ForegroundRole:
        return QColor(Qt::black);
    case Qt::TextAlignmentRole:
        return index.column() == archive::DrawListColumns - 1 ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                                              : int(Qt::AlignCenter);
    default:
        return {};
    }
}

QVariant DrawsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return QString::fromUtf8(archive::DrawListCaption(section));
    return {};
}

void DrawsModel::refresh(bool force)
{
    if (force || m_rows != m_ws.DrawCount()) {
        beginResetModel();
        m_rows = m_ws.DrawCount();
        endResetModel();
    }
}

void DrawsModel::repaintAll()
{
    if (m_rows > 0) emit dataChanged(index(0, 0), index(m_rows - 1, archive::DrawListColumns - 1));
}
