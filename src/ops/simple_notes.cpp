#include "ops/simple_notes.h"

#include "ops/single_line.h"

#include <algorithm>
#include <cstdio>
#include <new>

namespace qlp {

namespace {

// Numbers the notes from 0 and keeps noteCount equal to their number.
void renumber(EdlDocument& doc) {
    int32_t index = 0;
    for (SimpleNote* note = doc.noteHead->next; note; note = note->next)
        note->index = index++;
    doc.noteCount = index;
}

void clearCurrent(EdlDocument& doc) {
    for (SimpleNote* note = doc.noteHead->next; note; note = note->next)
        note->current = 0;
}

SimpleNote* findNote(EdlDocument& doc, int32_t index) {
    for (SimpleNote* note = doc.noteHead->next; note; note = note->next)
        if (note->index == index)
            return note;
    return nullptr;
}

size_t storedBodyLength(const SimpleNote& note) {
    return note.body && note.bodySize > 2 ? static_cast<size_t>(note.bodySize - 2) / 2 : 0;
}

} // namespace

SimpleNote* openNotes(EdlDocument& doc) {
    renumber(doc);
    SimpleNote* current = nullptr;
    for (SimpleNote* note = doc.noteHead->next; note; note = note->next) {
        if (note->current == 1 && !current)
            current = note;
        else
            note->current = 0;
    }
    return current;
}

std::u16string noteLine(int position, const SimpleNote& note) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d  ", position);
    std::u16string line(number, number + std::char_traits<char>::length(number));
    line += shownNoteTitle(note);
    return line;
}

std::u16string_view noteTitle(const SimpleNote& note) {
    return fixedBufferText(note.title, kNoteTitleChars);
}

std::u16string_view shownNoteTitle(const SimpleNote& note) {
    const std::u16string_view title = noteTitle(note);
    return title.empty() ? kUntitled : title;
}

std::u16string_view noteBody(const SimpleNote& note) {
    if (!note.body)
        return {};
    return fixedBufferText(note.body, storedBodyLength(note));
}

SimpleNote* newNote(EdlDocument& doc) {
    auto* note = new (std::nothrow) SimpleNote;
    if (!note)
        return nullptr;
    SimpleNote* tail = doc.noteHead;
    int32_t count = 0;
    for (; tail->next; tail = tail->next)
        ++count;
    clearCurrent(doc);
    note->current = 1;
    note->index = count;
    note->prev = tail;
    tail->next = note;
    doc.noteCount = count + 1;
    return note;
}

SimpleNote* deleteNote(EdlDocument& doc, int32_t index) {
    SimpleNote* note = findNote(doc, index);
    if (!note)
        return openNotes(doc);
    SimpleNote* current = note->next ? note->next : (note->prev != doc.noteHead ? note->prev : nullptr);
    note->prev->next = note->next;
    if (note->next)
        note->next->prev = note->prev;
    if (doc.noteCursor == note)
        doc.noteCursor = doc.noteHead;
    // The body's room goes back with the document's memory.
    delete note;
    clearCurrent(doc);
    if (current)
        current->current = 1;
    renumber(doc);
    return current;
}

SimpleNote* selectNote(EdlDocument& doc, int32_t index) {
    clearCurrent(doc);
    SimpleNote* note = findNote(doc, index);
    if (note)
        note->current = 1;
    return note;
}

void storeNoteTitle(SimpleNote& note, std::u16string_view text) {
    storeFixedText(note.title, kNoteTitleLength, singleLineText(text, kNoteTitleChars));
}

bool storeNoteBody(EdlDocument& doc, SimpleNote& note, std::u16string_view text) {
    text = text.substr(0, kNoteBodyChars);
    const size_t length = text.size();
    if (length == 0) {
        note.body = nullptr;
        note.bodySize = 0;
        note.bodyCapacity = 0;
        return true;
    }
    if (note.body && noteBody(note) == text)
        return true;
    // The document's memory is released only as a whole: a block that holds the text is reused.
    const size_t capacity =
        note.body ? std::max(static_cast<size_t>(std::max(note.bodyCapacity, 0)), storedBodyLength(note) + 1) : 0;
    if (length + 1 > capacity) {
        char16_t* body = doc.heap ? doc.heap->allocate<char16_t>(length + 1) : nullptr;
        if (!body)
            return false;
        note.body = body;
        note.bodyCapacity = static_cast<int32_t>(length + 1);
    }
    note.bodySize = static_cast<int32_t>(length * 2 + 2);
    std::copy(text.begin(), text.end(), note.body);
    note.body[length] = u'\0';
    return true;
}

} // namespace qlp
