#pragma once

namespace lexaloom {

// The four option boxes of the Show/Merge/Delete duplicates window.
struct DuplicateOptions {
    bool ignoreTags = false;
    bool twofold = false;
    bool sameTypeOnly = true;
    bool specialOnlyPrimary = true;

    bool operator==(const DuplicateOptions &) const = default;
};

} // namespace lexaloom
