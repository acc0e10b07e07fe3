#include "gui/languagetool/grammar_outline_rows.h"

#include <QBrush>

#include "core/languagetool/grammar_rule_set.h"
#include "gui/shell/palette.h"

namespace lexaloom {

int GrammarChunkRows::rowCount() const
{
    return int(m_set.chunks.size());
}

QVariant GrammarChunkRows::cell(int row, int column, int role) const
{
    const GrammarChunk &chunk = m_set.chunks[row];
    switch (role) {
    case Qt::DisplayRole:
        switch (column) {
        case 0:
            return QString::number(chunk.lineNumber);
        case 1:
            return chunk.kind;
        case 2:
            return chunk.id;
        case 3:
            return chunk.name;
        case 4:
            return chunk.type;
        case 5:
            return chunk.tags;
        case 6:
            return chunk.defaultValue;
        default:
            return {};
        }
    case Qt::BackgroundRole:
        return column == 0 ? QVariant(QBrush(palette::panelGrey)) : QVariant();
    case Qt::ForegroundRole:
        if (column == 0)
            return QBrush(Qt::black);
        if (const auto colour = ChunkCellColour(chunk, column))
            return QBrush(palette::fromRgb(*colour));
        return {};
    default:
        return {};
    }
}

int GrammarCategoryRows::rowCount() const
{
    return int(m_set.categoryChunks.size());
}

QVariant GrammarCategoryRows::cell(int row, int column, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
        if (column == 0) {
            const qint32 chunk = m_set.categoryChunks[row];
            return chunk < m_set.chunks.size() ? QString::number(m_set.chunks[chunk].lineNumber) : QString();
        }
        return column == 1 ? CategoryRowText(m_set, row) : QVariant();
    case Qt::BackgroundRole:
        return column == 0 ? QVariant(QBrush(palette::fromRgb(grammarColours::lineShade))) : QVariant();
    case Qt::ForegroundRole:
        return column == 1 ? QVariant(QBrush(palette::fromRgb(grammarColours::category))) : QVariant();
    default:
        return {};
    }
}

} // namespace lexaloom
