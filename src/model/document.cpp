#include "model/document.h"

#include "model/file_io.h"
#include "model/records.h"
#include "model/timecode.h"

#include <algorithm>
#include <iterator>

#include <cstdio>
#include <cstring>
#include <new>

namespace qlp {

namespace {

void freeNotes(EdlDocument& doc) {
    SimpleNote* note = doc.noteHead->next;
    while (note) {
        SimpleNote* next = note->next;
        delete note;
        note = next;
    }
    doc.noteHead->next = nullptr;
    doc.noteCursor = doc.noteHead;
}

} // namespace

EdlDocument::~EdlDocument() {
    releaseDocument(*this);
}

void initNewDocumentHeader(EdlDocument& doc, int32_t dropFrame) {
    {
        const EdlDocument blank;
        copyHeader(doc, blank);
    }
    doc.headerSize = kHeaderSize;
    doc.eventRecordSize = kEventRecordSize;
    for (auto& order : doc.columnOrder)
        for (int c = 0; c < kColumnCount; ++c)
            order[c] = c;
    doc.dropFrame = dropFrame;
    for (auto& row : doc.sortState)
        for (auto& state : row)
            state = 2;
    doc.recOffsetSign = u' ';
    doc.search = SearchSettings{};
    for (int slot = 0; slot < 6; ++slot) {
        doc.search.slotValue[slot] = -1;
        doc.search.slotDropFrame[slot] = (slot == 2 || slot == 5) ? 0 : dropFrame;
    }
    doc.listOptions[kListKind] = 1;
    doc.listOptions[kListAllReels] = 1;
    doc.markerColours[0] = 0x000AFF;
    doc.markerColours[1] = 0xFF0000;
    for (int m = 0; m < 8; ++m) {
        const std::u16string name = u"マーカー " + std::u16string(1, static_cast<char16_t>(u'1' + m));
        std::memcpy(doc.markerNames[m], name.data(), name.size() * sizeof(char16_t));
    }
}

void updateOffsetDisplayText(EdlDocument& doc) {
    std::fill(std::begin(doc.offsetDisplayText), std::end(doc.offsetDisplayText), u'\0');
    // A NUL sign ends the text, as it would in the wide-character buffer it is formatted into.
    if (doc.recOffsetSign == 0)
        return;
    const TimecodeParts parts{doc.recOffset[0], doc.recOffset[1], doc.recOffset[2], doc.recOffset[3]};
    const std::u16string text = formatSignedTimecode(doc.recOffsetSign, parts, doc.dropFrame != 0);
    std::copy_n(text.begin(), std::min(text.size(), std::size(doc.offsetDisplayText) - 1), doc.offsetDisplayText);
}

void releaseDocument(EdlDocument& doc) {
    freeNotes(doc);
    doc.heap.reset();
    doc.events = nullptr;
    for (auto& v : doc.view)
        v = nullptr;
    doc.reelUseCounts = nullptr;
    doc.reelNames = nullptr;
    doc.reelComments = nullptr;
    doc.sourceText = nullptr;
    doc.sourceTextSize = 0;
}

// The header is exactly what its binary image holds, so it is copied through that image.
void copyHeader(EdlDocument& to, const EdlDocument& from) {
    uint8_t image[kHeaderSize];
    writeHeaderImage(from, image);
    readHeaderImage(image, to);
}

void moveDocument(EdlDocument& to, EdlDocument& from) {
    releaseDocument(to);
    copyHeader(to, from);
    to.heap = std::move(from.heap);
    to.events = from.events;
    for (int v = 0; v < kViewCount; ++v)
        to.view[v] = from.view[v];
    to.reelUseCounts = from.reelUseCounts;
    to.reelNames = from.reelNames;
    to.reelComments = from.reelComments;
    to.sourceText = from.sourceText;
    to.sourceTextSize = from.sourceTextSize;
    // The note records move over to the destination's own head.
    to.noteHead->next = from.noteHead->next;
    if (to.noteHead->next)
        to.noteHead->next->prev = to.noteHead;
    to.noteCursor = to.noteHead;
    from.noteHead->next = nullptr;
    from.noteCursor = from.noteHead;
    to.exportTab = from.exportTab;
    releaseDocument(from);
}

TabList::TabList(std::u16string workDirectory) : workDirectory_(std::move(workDirectory)) {
    head_.tabIndex = -1;
}

TabList::~TabList() {
    TabEntry* e = head_.next;
    while (e) {
        TabEntry* next = e->next;
        delete e;
        e = next;
    }
}

TabEntry* TabList::last() {
    TabEntry* e = &head_;
    while (e->next)
        e = e->next;
    return e;
}

TabEntry* TabList::append() {
    auto* entry = new (std::nothrow) TabEntry;
    if (!entry)
        return nullptr;
    TabEntry* tail = last();
    tail->next = entry;
    entry->prev = tail;
    return entry;
}

int TabList::count() const {
    int n = 0;
    for (const TabEntry* e = head_.next; e; e = e->next)
        ++n;
    return n;
}

std::u16string TabList::workPathFor(int32_t id) const {
    char name[32];
    std::snprintf(name, sizeof name, "FILE_ID_%04x", static_cast<unsigned>(id));
    std::u16string wide;
    for (const char* p = name; *p; ++p)
        wide.push_back(static_cast<char16_t>(*p));
    return joinPath(workDirectory_, wide);
}

int purgeDroppedEntries(TabList& list) {
    TabEntry* e = list.head()->next;
    while (e) {
        TabEntry* next = e->next;
        if (e->dropped == 1) {
            if (!e->workPath.empty())
                removeFile(e->workPath);
            e->prev->next = e->next;
            if (e->next)
                e->next->prev = e->prev;
            delete e;
        }
        e = next;
    }
    list.head()->tabIndex = -1;
    int index = 0;
    for (TabEntry* t = list.first(); t; t = t->next)
        t->tabIndex = index++;
    return index;
}

TabEntry* findActiveEntry(TabList& list) {
    for (TabEntry* e = list.first(); e; e = e->next)
        if (e->active == 1)
            return e;
    return nullptr;
}

} // namespace qlp
