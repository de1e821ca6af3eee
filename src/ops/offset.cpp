#include "ops/offset.h"

#include "model/timecode.h"
#include "ops/views.h"

#include <cstdio>

namespace qlp {

namespace {

constexpr int32_t kRecordCriterion = 4; // bit of searchFlags: record timecode
constexpr size_t kEntryDigits = 8;
constexpr size_t kEntryBuffer = 15; // the work buffer holds 16 characters with its terminator

TimecodeParts partsOf(int32_t label) {
    TimecodeParts parts;
    splitFrames(label, parts);
    return parts;
}

void writeColumn(char16_t* column, const TimecodeParts& p, bool dropFrame) {
    const auto twoDigits = [](int32_t v) { return v >= 0 && v <= 99; };
    if (twoDigits(p.hours) && twoDigits(p.minutes) && twoDigits(p.seconds) && twoDigits(p.frames)) {
        // The usual case, written directly: hh:mm:ss.ff
        const int32_t values[4] = {p.hours, p.minutes, p.seconds, p.frames};
        for (int k = 0; k < 4; ++k) {
            column[3 * k] = static_cast<char16_t>(u'0' + values[k] / 10);
            column[3 * k + 1] = static_cast<char16_t>(u'0' + values[k] % 10);
        }
        column[2] = column[5] = u':';
        column[8] = dropFrame ? u',' : u'.';
        column[11] = 0;
        return;
    }
    char buf[kColumnTextLength];
    const int n = std::snprintf(buf, sizeof buf, "%02d:%02d:%02d%c%02d", p.hours, p.minutes, p.seconds,
                                dropFrame ? ',' : '.', p.frames);
    int i = 0;
    for (; i < n && i < kColumnTextLength - 1; ++i)
        column[i] = static_cast<unsigned char>(buf[i]);
    column[i] = 0;
}

// Shifts one record time as read; false leaves the event's value as it is (only a damaged project
// file holds a time the calculator refuses).
bool shifted(int32_t asRead, const int32_t (&offset)[4], char op, int32_t dropFrame, int32_t& label) {
    TimecodeCalc calc;
    calc.dropFrame = dropFrame;
    calc.a = partsOf(asRead);
    calc.b = TimecodeParts{offset[0], offset[1], offset[2], offset[3]};
    if (!calculate(calc, op))
        return false;
    label = calc.resultLabel;
    return true;
}

} // namespace

std::u16string offsetEntryDigits(std::u16string_view entryText) {
    std::u16string digits;
    for (const char16_t c : entryText) {
        if (c >= u'0' && c <= u'9')
            digits.push_back(c);
    }
    // A text of 16 or more digits would overrun the work buffer; its first eight are an address.
    if (digits.size() > kEntryBuffer)
        digits.resize(kEntryDigits);
    return digits;
}

std::u16string originalAddressText(int32_t labelCount) {
    const TimecodeParts p = partsOf(labelCount);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d%02d%02d%02d", p.hours, p.minutes, p.seconds, p.frames);
    std::u16string text;
    for (const char* c = buf; *c; ++c)
        text.push_back(static_cast<unsigned char>(*c));
    return text;
}

OffsetOutcome applyOffset(EdlDocument& doc, std::u16string_view entry, int32_t originalLabel) {
    OffsetOutcome outcome;
    if (!doc.events || doc.eventCount() <= 0)
        return outcome;
    if (entry.empty()) {
        outcome.status = OffsetStatus::Empty;
    } else {
        TimecodeParts newAddress;
        if (!parseTimecode(entry, newAddress)) {
            outcome.status = OffsetStatus::OutOfRange;
            return outcome;
        }
        TimecodeParts original = partsOf(originalLabel);

        // An original before hour 23 and a new address in hour 23 is read as a shift backwards
        // across midnight: the original is taken as lying on the next day.
        if (original.hours <= 22 && newAddress.hours == 23) {
            doc.hasHour23 = 1;
            original.hours += 24;
        } else {
            doc.hasHour23 = 0;
        }

        const int32_t o = realFrames(doc.dropFrame, original);
        const int32_t n = realFrames(doc.dropFrame, newAddress);
        doc.recOffsetDirection = o < n ? 2 : (o == n ? 0 : 1);
        TimecodeCalc calc;
        calc.dropFrame = doc.dropFrame;
        calc.a = o < n ? newAddress : original;
        calc.b = o < n ? original : newAddress;
        if (!calculate(calc, '-'))
            return outcome; // unreachable for parsed and split values
        const TimecodeParts magnitude = partsOf(calc.resultLabel);
        doc.recOffset[0] = magnitude.hours;
        doc.recOffset[1] = magnitude.minutes;
        doc.recOffset[2] = magnitude.seconds;
        doc.recOffset[3] = magnitude.frames;

        const char op = "+-+"[doc.recOffsetDirection];
        doc.recOffsetSign = static_cast<char16_t>(op);
        const bool dropFrame = doc.dropFrame != 0;
        for (int32_t i = 0; i < doc.eventCount(); ++i) {
            EdlEvent& e = doc.events[i];
            if (shifted(e.recInCopy, doc.recOffset, op, doc.dropFrame, e.recIn))
                writeColumn(e.text[kColRecIn], partsOf(e.recIn), dropFrame);
            if (shifted(e.recOutCopy, doc.recOffset, op, doc.dropFrame, e.recOut))
                writeColumn(e.text[kColRecOut], partsOf(e.recOut), dropFrame);
        }
        doc.edited = 1;
        outcome.status = OffsetStatus::Applied;
    }
    // The offset cell, the listing header and qlp print the offset as the document keeps it formatted.
    updateOffsetDisplayText(doc);
    outcome.discardSearch = doc.recOffsetDirection != 0 && (doc.search.searchFlags & kRecordCriterion) != 0 &&
                            doc.viewCount[kSearchResult] > 0;
    return outcome;
}

OffsetOutcome applyOffsetToCurrentEvent(EdlDocument& doc, std::u16string_view entry) {
    const EdlEvent* current = doc.loaded ? currentEvent(doc) : nullptr;
    if (!current)
        return {};
    return applyOffset(doc, entry, current->recInCopy);
}

void discardSearchResult(EdlDocument& doc) {
    for (int32_t i = 0; doc.events && i < doc.eventCount(); ++i)
        doc.events[i].searchHit = 0;
    doc.viewCount[kSearchResult] = 0;
}

} // namespace qlp
