// Writing the demo document safely, with undo and redo of the studio's edits.
//
// Every write keeps the bytes that were on disk as PATH~ (same folder: "demo.xml~"), writes the new
// bytes to a temporary file in PATH's folder (mkstemp, removed again on failure) and renames it over
// PATH, so a reader never sees half a file; PATH keeps its permission bits. No other file is touched.
//
// The history knows the document's bytes as the studio last read or wrote them. A write, undo or redo
// first compares the file on disk with them: when someone else changed the file, it refuses, clears the
// undo and redo lists and takes the file as it is now (the edit must be made again on the new text);
// changed_on_disk() then says so. Nothing is known before the first reload_from_disk: until it succeeds,
// write, undo and redo refuse.
//
// Not thread-safe: one owner calls it.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace studio
{

class DocumentHistory
{
public:
    // Undo steps kept; the oldest goes when one more is made.
    static constexpr size_t kMaxSteps = 200;

    explicit DocumentHistory(std::string path);

    // Writes `text` as the document. The text before it joins the undo list; the redo list is cleared.
    bool write(const std::string& text, std::string* error);
    // Writes back the text before the last write (false with "nothing to undo" when there is none) and
    // makes the undone text the next redo.
    bool undo(std::string* error);
    bool redo(std::string* error);
    // Writes back the text before the last write and forgets that write, leaving nothing to redo of it
    // (an edit the player refused to play).
    bool take_back(std::string* error);

    size_t undo_depth() const { return undo_.size(); }
    size_t redo_depth() const { return redo_.size(); }
    // The document's bytes as the studio knows them.
    const std::string& current() const { return current_; }
    const std::string& path() const { return path_; }

    // Takes the file as it is now (at start, or after an outside save). Bytes equal to current() keep the
    // history (the studio's own writes come back this way); other bytes clear it.
    bool reload_from_disk(std::string* error);

    // Whether the last write, undo or redo that failed did so because the file had changed outside the
    // studio (rather than for a file that could not be read or written, or nothing to undo).
    bool changed_on_disk() const { return changedOnDisk_; }

private:
    // Checks the file is still what the studio knows, then replaces it with `text`.
    bool replace_file(const std::string& text, std::string* error);
    // Writes back from.back() and makes it current; the text it replaces goes to *to (none when null).
    // False with `none` when `from` is empty.
    bool step(std::deque<std::string>& from, std::deque<std::string>* to, const char* none,
              std::string* error);

    std::string path_;
    bool known_ = false;
    bool changedOnDisk_ = false;
    std::string current_;
    std::deque<std::string> undo_, redo_;
};

} // namespace studio
