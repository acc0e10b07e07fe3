#pragma once

namespace lexaloom {

// How a batch tool ended. Callers that choose by it (the command line's exit status)
// read this, never the status text, which is for the user.
enum class ToolOutcome {
    Done,    // ran to its end, whether or not it found anything to change
    Empty,   // nothing to work on (an empty list); the user was told
    Refused, // the document holds what the tool stops at (a null word, a broken reference)
    Aborted, // Escape confirmed, or a dialog cancelled
    Failed,  // a file could not be written; the user was told
};

// What a batch tool gives back: the value its callers test (changed, written, found,
// a count), to which it converts, and how it ended.
template <typename T> struct ToolResult {
    T value{};
    ToolOutcome outcome = ToolOutcome::Done;

    operator T() const { return value; }
    bool done() const { return outcome == ToolOutcome::Done; }
};

} // namespace lexaloom
