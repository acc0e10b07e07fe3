#pragma once

#include <QString>

namespace lexaloom {

// How a load, a save or an export of a file ended, for every document kind.
enum class FileOutcome {
    Done,      // the file was read or written
    Cancelled, // a question or dialog answered No/Cancel, or Escape confirmed
    Failed,    // a missing, unreadable, unwritable or refused file (the user was told)
};

// What every file operation returns; a kind's own result adds its sizes and counts.
struct FileResult {
    FileOutcome outcome = FileOutcome::Cancelled;
    QString path; // the file read or written; empty when none
    bool done() const { return outcome == FileOutcome::Done; }
};

} // namespace lexaloom
