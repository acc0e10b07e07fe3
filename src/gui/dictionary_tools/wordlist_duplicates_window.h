#pragma once

#include "gui/shell/tool_window.h"

class QLabel;
class QTreeWidget;

namespace lexaloom {

struct MainSettings;
struct WordlistDuplicates;

// The result window of "Show/Delete duplicates wordlist": the duplicated derived
// words with their occurrences and entry numbers, "Export" and "Close".
class WordlistDuplicatesWindow final : public ToolWindow {
    Q_OBJECT

public:
    WordlistDuplicatesWindow(const WordlistDuplicates &result, const MainSettings &settings, Ui &ui,
                             const QString &programFolder, QWidget *parent);

    QTreeWidget *list() const { return m_list; }
    QLabel *foundLabel() const { return m_found; }

private:
    QTreeWidget *m_list;
    QLabel *m_found;
};

} // namespace lexaloom
