#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

namespace lexaloom {

// What a plain list shows, asked for row by row as the view draws: the document
// stays the only copy of its rows, however many there are.
class PlainListRows {
public:
    virtual ~PlainListRows() = default;
    virtual int rowCount() const = 0;
    // Qt::DisplayRole, Qt::ForegroundRole, Qt::BackgroundRole of one cell; nothing for
    // the default. Asked only for rows below rowCount().
    virtual QVariant cell(int row, int column, int role) const = 0;
};

// The model of a list that is not paged (the LanguageTool outline): no widget item per
// row, so a file of a million chunks costs the view a few bytes a row. With check
// boxes, the first column has one per row, kept here and unticked at each refresh.
class PlainListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    PlainListModel(const QStringList &captions, bool checkBoxes, QObject *parent = nullptr);

    // The rows to show (nullptr: none; they must outlive the model or be replaced).
    void setRows(const PlainListRows *rows);
    // Counts the rows again after their document changed, and draws them anew.
    void refresh();
    void setCaption(int column, const QString &caption);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

private:
    QStringList m_captions;
    const PlainListRows *m_rows = nullptr;
    int m_count = 0; // rows shown, as counted at the last refresh
    bool m_checkBoxes;
    std::vector<char> m_checked;
};

} // namespace lexaloom
