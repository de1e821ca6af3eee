#pragma once
// Writing a document as a CMX 3600 EDL, the interchange list today's editing systems read: one
// event per event of the list in EDL order, in the fixed columns of that format, with transitions,
// speeds, comments, work memos and markers carried as CMX 3600 writes them. The text is code page
// 932 with CR LF line ends.
//
// Columns (1-based, inclusive) of the lines written:
//   event line  1-3 event number, 6-13 reel, 15-18 channels, 21-24 edit type, 26-28 transition
//               length, 30-40 source IN, 42-52 source OUT, 54-64 record IN, 66-76 record OUT
//   M2 line     1-2 "M2", 6-13 reel, 21-27 speed in frames per second with its sign (right
//               aligned, one decimal), 30-40 source IN
//   AUD line    1-3 "AUD", 6 the first of the audio channels 3 and 4, 11 channel 4 when both
//   TITLE, FCM  "TITLE: " and the title; "FCM: DROP FRAME" or "FCM: NON-DROP FRAME"

#include "model/document.h"
#include "outputs/edl_export.h"

#include <string>
#include <string_view>

namespace qlp {

// The CMX 3600 event number of a BVE-9100 edit number: 1 to 999 as they are, larger numbers
// wrapped into 001-999 (1000 is 001 again).
int cmx3600EventNumber(int editNumber);

// The name of the CMX marker colour nearest to a COLORREF (0x00BBGGRR).
std::string_view cmx3600ColourName(uint32_t colour);

// The title a CMX 3600 EDL written to path gets without one given: the file name without its
// extension.
std::u16string cmx3600DefaultTitle(std::u16string_view path);

// The whole CMX 3600 EDL of the document: record times with its offset, converted between
// drop-frame and non-drop-frame when `convert` is set.
std::string cmx3600Text(const EdlDocument& doc, std::u16string_view title, bool convert);

// Writes cmx3600Text to path; an existing file is replaced only once the new one is complete.
EdlExportOutcome exportCmx3600File(const EdlDocument& doc, std::u16string_view path, std::u16string_view title,
                                   bool convert, bool overwriteConfirmed);

} // namespace qlp
