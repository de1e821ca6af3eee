#pragma once
// Reading CMX 3600 EDLs, the interchange lists today's editing systems write: a list is
// recognised and translated into the BVE-9100 text the EDL reader reads, so that a CMX 3600 list
// becomes a document like any BVE-9100 EDL (its translation is the EDL text the document keeps).
//
// The translation renumbers the edits 0001 upward (the lines of one CMX event stay one edit), gives
// reels the BVE-9100 event line cannot hold a short unique name (the full name becomes the reel's
// description), maps channels, transitions, M2 speeds, timecodes (record times after FCM) and
// keeps every comment and statement line as a comment line before its event.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlp {

// What a translation changed in the list.
struct CmxReport {
    int reelsShortened = 0;      // reels given a short name, their full name kept as description
    int linesKeptAsComments = 0; // statement lines and lines that could not be read
    int channelsDropped = 0;     // audio channels above A4, which the BVE-9100 form cannot carry
    int charactersReplaced = 0;  // characters code page 932 cannot hold, written as '?'
    int titleBytesCut = 0;       // bytes of a title too long for one header line

    CmxReport& operator+=(const CmxReport& other);
};

enum class CmxStatus {
    Ok,
    TooManyEdits, // more than 9,999 edits: the BVE-9100 edit number has four digits
    FrameRate,    // a frame number of 30 or more: a 50- or 60-frame list
};

// A reel's short name in the translated list and the full name the CMX 3600 list gave it.
struct ReelDescription {
    std::u16string reel;
    std::u16string description;
};

struct CmxTranslation {
    CmxStatus status = CmxStatus::Ok;
    std::string text; // the BVE-9100 EDL (code page 932, CR LF); empty unless Ok
    std::vector<ReelDescription> reelDescriptions;
    CmxReport report;
};

// True when the first event lines among the first lines of the file have the CMX 3600 form:
// event number, reel, channels, edit type, transition length when there is one, four timecodes.
bool looksLikeCmx3600(std::string_view bytes);

// Translates a CMX 3600 list into BVE-9100 EDL text. Never reads outside the bytes; a line that
// cannot be read becomes a comment line.
CmxTranslation translateCmx3600(std::string_view bytes);

// What the translation changed, for the status bar after opening: "CMX 3600 から変換: ...".
std::u16string cmx3600ReportStatus(const CmxReport& report);
// The same for the command line's standard error: "CMX 3600 translated: ...".
std::string cmx3600ReportText(const CmxReport& report);

} // namespace qlp
