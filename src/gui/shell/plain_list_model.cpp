#include "gui/shell/plain_list_model.h"

#include <algorithm>

namespace lexaloom {

PlainListModel::PlainListModel(const QStringList &captions, bool checkBoxes, QObject *parent)
    : QAbstractTableModel(parent)
    , m_captions(captions)
    , m_checkBoxes(checkBoxes)
{
}

void PlainListModel::setRows(const PlainListRows *rows)
{
    m_rows = rows;
    refresh();
}

void PlainListModel::refresh()
{
    beginResetModel();
    m_count = m_rows ? m_rows->rowCount() : 0;
    m_checked.assign(m_checkBoxes ? size_t(m_count) : 0, 0);
    endResetModel();
}

void PlainListModel::setCaption(int column, const QString &caption)
{
    if (column < 0 || column >= m_captions.size())
        return;
    m_captions[column] = caption;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

int PlainListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

int PlainListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_captions.size());
}

QVariant PlainListModel::data(const QModelIndex &index, int role) const
{
    const int row = index.row();
    // While a file loads its document changes under the view, which may draw before
    // the refresh that follows the load: rows it no longer has are drawn empty.
    if (!index.isValid() || !m_rows || row >= std::min(m_count, m_rows->rowCount()))
        return {};
    if (role == Qt::CheckStateRole)
        return m_checkBoxes && index.column() == 0 ? QVariant(m_checked[size_t(row)] ? Qt::Checked : Qt::Unchecked)
                                                   : QVariant();
    return m_rows->cell(row, index.column(), role);
}

bool PlainListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || !m_checkBoxes || index.column() != 0 ||
        index.row() >= m_count)
        return false;
    m_checked[size_t(index.row())] = value.toInt() == Qt::Checked;
    emit dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

QVariant PlainListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_captions.size())
        return m_captions[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags PlainListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_checkBoxes && index.column() == 0)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

} // namespace lexaloom
