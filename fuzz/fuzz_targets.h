#pragma once
// The round trips the fuzzers drive, shared with the corpus replay test. Each check returns an
// empty string when every invariant holds, or what broke. The fuzzers abort on a non-empty answer;
// the replay test reports it with the input's name.

#include "model/byte_sink.h"
#include "model/document.h"
#include "model/edl_reader.h"
#include "model/project_file.h"
#include "model/records.h"
#include "ops/offset.h"
#include "outputs/cmx3600.h"
#include "outputs/edl_export.h"
#include "outputs/listing.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace qlp::fuzz {

// The 1004-byte images of two events agree (pointer slots are written as 0, so the comment and
// memo texts are compared separately).
inline bool sameEventImage(const EdlEvent& a, const EdlEvent& b) {
    uint8_t imageA[kEventRecordSize];
    uint8_t imageB[kEventRecordSize];
    writeEventImage(a, imageA);
    writeEventImage(b, imageB);
    return std::memcmp(imageA, imageB, kEventRecordSize) == 0;
}

inline bool sameText(const char16_t* a, const char16_t* b, int32_t length) {
    if (length <= 0)
        return true;
    if (!a || !b)
        return false;
    return std::memcmp(a, b, 2 * static_cast<size_t>(length)) == 0;
}

// Any bytes as an EDL: recognise, parse, write the work file, load it back. The work file of
// whatever the reader made of the bytes must load, with every event, comment and reel as parsed.
inline std::string checkEdlRoundTrip(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)looksLikeBve9100(text);
    const ParsedEdl parsed = parseEdl(text);
    if (parsed.reelNames.size() != parsed.reelUseCounts.size())
        return "the reel table has names and use counts of different lengths";

    MemorySink sink;
    if (!writeWorkFile(parsed, text, sink))
        return "the work file could not be written";
    // The conversion the application runs (two passes at once, records held while the first runs)
    // must give the very same bytes.
    MemorySink streamed;
    if (!convertEdlText(text, streamed))
        return "the streaming conversion failed";
    if (streamed.bytes != sink.bytes)
        return "the streaming conversion differs from the in-memory writer";
    EdlDocument doc;
    const LoadResult loaded = loadProjectImage(sink.bytes.data(), sink.bytes.size(), doc);
    if (!loaded)
        return "the work file does not load: " + describeRefusal(loaded);

    if (doc.eventCount() != static_cast<int32_t>(parsed.events.size()))
        return "the loaded work file has another number of events";
    if (doc.reelCount != static_cast<int32_t>(parsed.reelNames.size()))
        return "the loaded work file has another number of reels";
    if (doc.sourceTextSize != static_cast<int32_t>(size) || (size > 0 && std::memcmp(doc.sourceText, data, size) != 0))
        return "the EDL text in the work file differs from the input";
    for (size_t r = 0; r < parsed.reelNames.size(); ++r) {
        if (std::u16string_view(doc.reelNames[r]) !=
            std::u16string_view(parsed.reelNames[r]).substr(0, kReelNameLength - 1))
            return "reel name " + std::to_string(r) + " differs after loading";
        if (doc.reelUseCounts[r] != parsed.reelUseCounts[r])
            return "reel use count " + std::to_string(r) + " differs after loading";
    }
    for (size_t i = 0; i < parsed.events.size(); ++i) {
        const EdlEvent& before = parsed.events[i];
        const EdlEvent& after = doc.events[i];
        if (!sameEventImage(before, after))
            return "event " + std::to_string(i) + " differs after loading";
        if (!sameText(before.optionComment, after.optionComment, before.optionCommentLength))
            return "the option comment of event " + std::to_string(i) + " differs after loading";
    }
    return {};
}

// Any bytes as a project file. A refused file must say what was wrong and where, within the file.
// A file that loads must save and load again, and saving the reloaded document must give the very
// same bytes: nothing is lost or changed by a save.
inline std::string checkProjectRoundTrip(const uint8_t* data, size_t size) {
    EdlDocument doc;
    const LoadResult result = loadProjectImage(data, size, doc);
    if (result == LoadStatus::WrongFormat &&
        (result.field.empty() || result.problem.empty() || result.offset < 0 || result.offset > int64_t(size)))
        return "a refusal does not say what was wrong and where: " + describeRefusal(result);
    if (!result)
        return {};
    MemorySink first;
    if (!writeProjectFile(doc, first))
        return "a loaded document could not be written";
    EdlDocument again;
    const LoadResult loaded = loadProjectImage(first.bytes.data(), first.bytes.size(), again);
    if (!loaded)
        return "a saved document does not load: " + describeRefusal(loaded);
    MemorySink second;
    if (!writeProjectFile(again, second))
        return "a reloaded document could not be written";
    if (first.bytes != second.bytes)
        return "saving the reloaded document gives other bytes than the first save";
    return {};
}

// Any bytes as a CMX 3600 list: translated (whether or not they are recognised as one), the
// translation must be a BVE-9100 EDL with edits numbered 0001 upward, reels of at most six
// characters and a description for every shortened reel, and it must survive the EDL round trip.
inline std::string checkCmx3600Reading(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    (void)looksLikeCmx3600(bytes);
    const CmxTranslation translation = translateCmx3600(bytes);
    if (translation.status != CmxStatus::Ok)
        return translation.text.empty() ? std::string() : "a refused translation holds text";
    const std::string& text = translation.text;
    if (!looksLikeBve9100(text))
        return "the translation is not recognised as a BVE-9100 EDL";
    if (text.find('\0') != std::string::npos)
        return "the translation holds a NUL byte";
    const ParsedEdl parsed = parseEdl(text);
    int previous = 0;
    for (const EdlEvent& ev : parsed.events) {
        int number = 0;
        for (const char16_t* c = ev.text[kColEdit]; *c; ++c)
            number = number * 10 + (*c - u'0');
        if (number != previous && number != previous + 1)
            return "the edits are not numbered one after the other";
        previous = number;
    }
    for (const std::u16string& reel : parsed.reelNames)
        if (reel.size() > 6)
            return "a reel of the translation is longer than six characters";
    for (const ReelDescription& d : translation.reelDescriptions)
        if (std::find(parsed.reelNames.begin(), parsed.reelNames.end(), d.reel) == parsed.reelNames.end())
            return "a described reel is missing from the translation";
    MemorySink described;
    if (!writeWorkFile(parsed, text, described, &translation.reelDescriptions))
        return "the work file of the translation could not be written";
    MemorySink streamed;
    if (!convertEdlText(text, streamed, &translation.reelDescriptions) || streamed.bytes != described.bytes)
        return "the streaming conversion of the translation differs from the in-memory writer";
    return checkEdlRoundTrip(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

// A CMX 3600 EDL holds whole CR LF lines, no NUL byte, and event lines of exactly 76 columns.
inline std::string checkCmx3600(const std::string& cmx) {
    if (cmx.find('\0') != std::string::npos)
        return "the CMX 3600 EDL holds a NUL byte";
    for (size_t pos = 0; pos < cmx.size();) {
        const size_t end = cmx.find("\r\n", pos);
        if (end == std::string::npos)
            return "the CMX 3600 EDL ends in an unfinished line";
        const std::string_view line(cmx.data() + pos, end - pos);
        if (line.find_first_of("\r\n") != std::string_view::npos)
            return "a CMX 3600 line holds a line break";
        if (!line.empty() && line[0] >= '0' && line[0] <= '9' && line.size() != 76)
            return "a CMX 3600 event line is not 76 columns wide";
        pos = end + 2;
    }
    return {};
}

// The bytes the export or a listing writes, gathered in memory.
inline std::string exportedEdl(const EdlDocument& doc, std::string_view text, bool convert, EdlTextStatus& status) {
    MemorySink sink;
    status = exportEdlText(doc, text, convert, sink).status;
    return std::string(sink.bytes.begin(), sink.bytes.end());
}

inline std::string listingBytes(EdlDocument& doc, std::u16string_view path, const ListingTime& time) {
    MemorySink sink;
    (void)writeListing(doc, path, time, sink);
    return std::string(sink.bytes.begin(), sink.bytes.end());
}

// What the outputs of a loaded document must hold, whatever the document: the exported EDL has the
// stored text's length and differs from it only in timecode characters (the converted one too when
// no FCM line may change), the CMX 3600 EDL is whole fixed-column lines, and every listing kind can
// be written without a NUL byte. The document of an EDL (`fromEdl`) always exports, and before the
// offset its plain export is its text byte for byte; a project file's may be refused. The offset is
// run with the digits of `seed`.
inline std::string checkOutputsOf(EdlDocument& doc, uint32_t seed, bool fromEdl) {
    const std::string_view text(reinterpret_cast<const char*>(doc.sourceText),
                                doc.sourceText ? static_cast<size_t>(doc.sourceTextSize) : 0);
    const bool mayNameCounting = text.find("FCM:") != std::string_view::npos;
    for (int round = 0; round < 2; ++round) {
        for (const bool convert : {false, true}) {
            if (const std::string problem = checkCmx3600(cmx3600Text(doc, u"fuzz", convert)); !problem.empty())
                return problem;
            EdlTextStatus status;
            const std::string out = exportedEdl(doc, text, convert, status);
            if (status == EdlTextStatus::WriteFailed)
                return "the EDL export failed to write to memory";
            if (status != EdlTextStatus::Written) {
                if (fromEdl)
                    return "the export of an EDL's own document was refused";
                continue;
            }
            if (fromEdl && round == 0 && !convert && out != text)
                return "the plain export before any offset is not the stored text";
            if (convert && mayNameCounting)
                continue;
            if (out.size() != text.size())
                return "the exported EDL has another length than the stored text";
            // A record timecode is digits, colons and one of . , : ; before the frames: the separator
            // a project's record text carries is written as the list shows it.
            for (size_t i = 0; i < out.size(); ++i) {
                const char c = out[i];
                if (c != text[i] && !((c >= '0' && c <= '9') || c == ':' || c == '.' || c == ',' || c == ';'))
                    return "the export changed a byte outside a record timecode";
            }
        }
        if (round == 0 && doc.events && doc.eventCount() > 0) {
            std::u16string digits;
            for (uint32_t s = seed, i = 0; i < 8; ++i, s /= 10)
                digits.insert(digits.begin(), static_cast<char16_t>(u'0' + s % 10));
            applyOffset(doc, digits.substr(0, 1 + seed % 8), doc.events[seed % doc.eventCount()].recInCopy);
        }
    }
    int32_t saved[kListOptionCount];
    std::copy(std::begin(doc.listOptions), std::end(doc.listOptions), saved);
    for (int kind = 0; kind < 3; ++kind) {
        for (const int csv : {0, 1}) {
            for (int i = 0; i < 9; ++i)
                doc.listOptions[kListOptionComment + i] = (seed >> i) & 1;
            doc.listOptions[kListCsv] = csv;
            for (int k = 0; k < 3; ++k)
                doc.listOptions[kListKind + k] = k == kind;
            applyListingSort(doc);
            fillListBoundText(doc);
            const std::string listing = listingBytes(doc, u"fuzz", ListingTime{});
            if (listing.find('\0') != std::string::npos)
                return "a listing holds a NUL byte";
        }
    }
    std::copy(std::begin(saved), std::end(saved), doc.listOptions);
    // The stored choices as they are, however damaged.
    applyListingSort(doc);
    (void)listingBytes(doc, u"fuzz", ListingTime{});
    return {};
}

inline uint32_t seedOf(const uint8_t* data, size_t size) {
    uint32_t seed = 2166136261u;
    for (size_t i = 0; i < size && i < 64; ++i)
        seed = (seed ^ data[i]) * 16777619u;
    return seed;
}

// Any bytes as an EDL: the outputs of the document it converts to.
inline std::string checkEdlOutputs(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MemorySink sink;
    if (!writeWorkFile(parseEdl(text), text, sink))
        return "the work file could not be written";
    EdlDocument doc;
    if (loadProjectImage(sink.bytes.data(), sink.bytes.size(), doc) != LoadStatus::Ok)
        return "the work file does not load";
    return checkOutputsOf(doc, seedOf(data, size), true);
}

// Any bytes as a project file: the outputs of whatever loads.
inline std::string checkProjectOutputs(const uint8_t* data, size_t size) {
    EdlDocument doc;
    if (loadProjectImage(data, size, doc) != LoadStatus::Ok)
        return {};
    return checkOutputsOf(doc, seedOf(data, size), false);
}

} // namespace qlp::fuzz
