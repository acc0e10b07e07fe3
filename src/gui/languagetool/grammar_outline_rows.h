#pragma once

#include "gui/shell/plain_list_model.h"

namespace lexaloom {

struct GrammarRuleSet;

// The chunk list's rows, read from the outline as they are drawn: "Line #" shaded,
// then kind, id, name, type, tags and default in their colours.
class GrammarChunkRows final : public PlainListRows {
public:
    explicit GrammarChunkRows(const GrammarRuleSet &set)
        : m_set(set)
    {
    }
    int rowCount() const override;
    QVariant cell(int row, int column, int role) const override;

private:
    const GrammarRuleSet &m_set;
};

// The category list's rows: the category's line and its text with the rule count.
class GrammarCategoryRows final : public PlainListRows {
public:
    explicit GrammarCategoryRows(const GrammarRuleSet &set)
        : m_set(set)
    {
    }
    int rowCount() const override;
    QVariant cell(int row, int column, int role) const override;

private:
    const GrammarRuleSet &m_set;
};

} // namespace lexaloom
