#pragma once
// Simple notes: the titled notes of a document, kept in the list behind its noteHead. The document
// owns its notes (they move with it between tabs); noteCount always equals the list's length.

#include "model/document.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace qlp {

inline constexpr size_t kNoteTitleChars = 30;
inline constexpr size_t kNoteBodyChars = 48000;
inline constexpr std::u16string_view kUntitled = u"Untitled";

// Opening the notes: numbers the notes from 0 in list order, sets noteCount to their number and
// returns the current note (the first whose current is 1; any later one loses the mark), or null.
SimpleNote* openNotes(EdlDocument& doc);

// The list line of the note at 1-based `position`: "%02d  %s" with its title or "Untitled".
std::u16string noteLine(int position, const SimpleNote& note);

// The title as the notes show it on opening: the title, or "Untitled" when it is empty.
std::u16string_view shownNoteTitle(const SimpleNote& note);
std::u16string_view noteTitle(const SimpleNote& note);
std::u16string_view noteBody(const SimpleNote& note);

// New: appends an empty note that becomes the only current one. Null when memory is exhausted (the
// list is then unchanged).
SimpleNote* newNote(EdlDocument& doc);

// Deletes the note with that index; the following note becomes current, or the preceding one when
// it was the last. Renumbers the rest and returns the current note, or null when none is left.
SimpleNote* deleteNote(EdlDocument& doc, int32_t index);

// Makes the note with that index the only current one and returns it (null when there is none).
SimpleNote* selectNote(EdlDocument& doc, int32_t index);

// Stores a title: one line, at most 30 characters.
void storeNoteTitle(SimpleNote& note, std::u16string_view text);

// Stores a body of at most 48,000 characters in the document's memory; an empty text leaves the
// note without body. A text of the stored length reuses the buffer; otherwise the new buffer is
// allocated before the old one is let go. False when memory is exhausted: the old body stays.
bool storeNoteBody(EdlDocument& doc, SimpleNote& note, std::u16string_view text);

} // namespace qlp
