#pragma once
// The binary images of the document header (2220 bytes), the event record (1004 bytes) and the
// note record (88 bytes), read and written field by field at their offsets. Pointer slots are
// written as 0 and ignored when read.

#include "model/document.h"
#include "model/project_layout.h"

#include <cstdint>
#include <string_view>

namespace qlp {

void writeHeaderImage(const EdlDocument& doc, uint8_t* out);
// Reads every header field; the in-memory part of the document is left alone.
void readHeaderImage(const uint8_t* in, EdlDocument& doc);

void writeEventImage(const EdlEvent& event, uint8_t* out);
// Reads every field; the comment and memo pointers are set to null.
void readEventImage(const uint8_t* in, EdlEvent& event);

void writeNoteImage(const SimpleNote& note, uint8_t* out);
// Reads index, current, bodySize and title; the links and body pointer are left alone.
void readNoteImage(const uint8_t* in, SimpleNote& note);

} // namespace qlp
