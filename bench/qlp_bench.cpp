// Speed of conversion, loading, saving, sorting, the sort commands, the search, annotating, the
// offset, the EDL export and the listing at 10,000 and 100,000 events. Every benchmark runs beside
// its floor: the least work that any implementation must do for the same result (the same bytes
// read or written with one buffered call, std::sort of the same rows by the same key, or a plain
// loop reading the event fields a search reads); the offset has no floor and is reported alone.
// The goal is to stay within 1.5 times the floor (twice for the search); parsing alone is
// reported in events/s.
//
// Run with --benchmark_repetitions=5 --benchmark_report_aggregates_only=true and compare medians.
// QLP_BENCH_EVENTS=1000,5000 replaces the two sizes (for profiling on smaller lists).

#include "edl_generator.h"

#include "model/byte_sink.h"
#include "model/document.h"
#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/project_file.h"
#include "model/view_order.h"
#include "ops/markers.h"
#include "ops/offset.h"
#include "ops/reel_info.h"
#include "ops/search.h"
#include "ops/sort_commands.h"
#include "outputs/edl_export.h"
#include "outputs/listing.h"
#include "resource.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <unistd.h>

namespace qlp::bench {

namespace {

namespace fs = std::filesystem;

class QuietPrompt : public Prompt {
public:
    Answer askYesNo(std::u16string_view) override { return Answer::No; }
    Answer askYesNoCancel(std::u16string_view) override { return Answer::Cancel; }
    void warn(std::u16string_view, bool) override {}
};

// A scratch directory under TMPDIR (or /tmp), removed when the program ends.
class ScratchDirectory {
public:
    ScratchDirectory() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/qlp-bench-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        path_ = pattern;
    }
    ~ScratchDirectory() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    fs::path file(const std::string& name) const { return path_ / name; }

private:
    fs::path path_;
};

ScratchDirectory& scratch() {
    static ScratchDirectory directory;
    return directory;
}

std::u16string u16(const fs::path& path) {
    return fromFsPath(path);
}

std::vector<uint8_t> readAll(const fs::path& path) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(u16(path), bytes)) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        std::exit(1);
    }
    return bytes;
}

// Everything the benchmarks of one size share, built on first use outside the timed loops.
struct Dataset {
    int64_t events = 0;
    std::string edl;
    fs::path edlPath;
    fs::path workPath; // the converted EDL, kept as the input of the load benchmarks
    std::vector<uint8_t> workBytes;
    std::unique_ptr<EdlDocument> doc; // the work file loaded, for save and sort
};

Dataset& dataset(int64_t events) {
    static std::map<int64_t, std::unique_ptr<Dataset>> cache;
    std::unique_ptr<Dataset>& slot = cache[events];
    if (slot)
        return *slot;
    slot = std::make_unique<Dataset>();
    Dataset& d = *slot;
    d.events = events;
    EdlGeneratorOptions options;
    options.events = events;
    options.seed = 9100;
    d.edl = generateEdl(options);
    const std::string stem = "events" + std::to_string(events);
    d.edlPath = scratch().file(stem + ".EDL");
    d.workPath = scratch().file(stem + ".QLP");
    {
        std::FILE* f = std::fopen(d.edlPath.c_str(), "wb");
        if (!f || std::fwrite(d.edl.data(), 1, d.edl.size(), f) != d.edl.size() || std::fclose(f) != 0) {
            std::fprintf(stderr, "cannot write %s\n", d.edlPath.c_str());
            std::exit(1);
        }
    }
    if (convertEdlFile(u16(d.edlPath), u16(d.workPath)) != ConvertStatus::Ok) {
        std::fprintf(stderr, "cannot convert %s\n", d.edlPath.c_str());
        std::exit(1);
    }
    d.workBytes = readAll(d.workPath);
    d.doc = std::make_unique<EdlDocument>();
    if (loadProjectFile(u16(d.workPath), *d.doc) != LoadStatus::Ok || d.doc->eventCount() != events) {
        std::fprintf(stderr, "the converted %s does not load with %lld events\n", d.edlPath.c_str(),
                     static_cast<long long>(events));
        std::exit(1);
    }
    return d;
}

// One buffered read of a whole file into freshly allocated memory, as any loader has to do.
std::unique_ptr<uint8_t[]> readFloor(const fs::path& path, size_t size) {
    std::unique_ptr<uint8_t[]> buffer(new uint8_t[size]);
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return nullptr;
    const size_t got = std::fread(buffer.get(), 1, size, f);
    std::fclose(f);
    return got == size ? std::move(buffer) : nullptr;
}

// One buffered write of the bytes to a file; durable also waits for the disk.
bool writeFloor(const fs::path& path, const std::vector<uint8_t>& bytes, bool durable) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = std::fflush(f) == 0 && ok;
    if (durable)
        ok = fsync(fileno(f)) == 0 && ok;
    return std::fclose(f) == 0 && ok;
}

// --- Parsing -------------------------------------------------------------------------------------

void parseEdlText(benchmark::State& state, int64_t events) {
    const Dataset& d = dataset(events);
    for (auto _ : state) {
        ParsedEdl parsed = parseEdl(d.edl);
        if (static_cast<int64_t>(parsed.events.size()) != events)
            state.SkipWithError("wrong event count");
        benchmark::DoNotOptimize(parsed.events.data());
    }
    state.SetItemsProcessed(state.iterations() * events);
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(d.edl.size()));
}

// --- Conversion: read the EDL, parse, write the work file -----------------------------------------

void convert(benchmark::State& state, int64_t events) {
    const Dataset& d = dataset(events);
    const std::u16string out = u16(scratch().file("convert.QLP"));
    for (auto _ : state) {
        if (convertEdlFile(u16(d.edlPath), out) != ConvertStatus::Ok)
            state.SkipWithError("conversion failed");
    }
    removeFile(out);
}

void convertFloor(benchmark::State& state, int64_t events) {
    const Dataset& d = dataset(events);
    const fs::path out = scratch().file("convert-floor.QLP");
    for (auto _ : state) {
        auto edl = readFloor(d.edlPath, d.edl.size());
        if (!edl || !writeFloor(out, d.workBytes, false))
            state.SkipWithError("I/O failed");
        benchmark::DoNotOptimize(edl.get());
    }
    fs::remove(out);
}

// --- Loading a work file ---------------------------------------------------------------------------

void load(benchmark::State& state, int64_t events) {
    const Dataset& d = dataset(events);
    const std::u16string path = u16(d.workPath);
    EdlDocument doc;
    for (auto _ : state) {
        if (loadProjectFile(path, doc) != LoadStatus::Ok)
            state.SkipWithError("load failed");
        benchmark::DoNotOptimize(doc.events);
    }
}

void loadFloor(benchmark::State& state, int64_t events) {
    const Dataset& d = dataset(events);
    for (auto _ : state) {
        auto bytes = readFloor(d.workPath, d.workBytes.size());
        if (!bytes)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(bytes.get());
    }
}

// --- Saving ------------------------------------------------------------------------------------------

void save(benchmark::State& state, int64_t events, bool durable) {
    Dataset& d = dataset(events);
    const std::u16string path = u16(scratch().file("save.QLP"));
    QuietPrompt prompt;
    for (auto _ : state) {
        if (saveDocument(path, *d.doc, prompt, durable) != 0)
            state.SkipWithError("save failed");
    }
    if (fileSize(path) != static_cast<int64_t>(d.workBytes.size()))
        state.SkipWithError("the saved file has another size than the work file");
    removeFile(path);
}

void saveFloor(benchmark::State& state, int64_t events, bool durable) {
    const Dataset& d = dataset(events);
    const fs::path target = scratch().file("save-floor.QLP");
    const fs::path temp = scratch().file("save-floor.QLP.tmp");
    for (auto _ : state) {
        if (!writeFloor(temp, d.workBytes, durable) || std::rename(temp.c_str(), target.c_str()) != 0)
            state.SkipWithError("write failed");
    }
    fs::remove(target);
}

// --- Sorting the search-result view ----------------------------------------------------------------

// kSearchResult holds every event in EDL order; its sortState row asks for the given sort, ascending.
std::vector<EdlEvent*> prepareSortView(EdlDocument& doc, SortKind kind) {
    const int32_t n = doc.eventCount();
    std::copy(doc.view[kAllEvents], doc.view[kAllEvents] + n, doc.view[kSearchResult]);
    doc.viewCount[kSearchResult] = n;
    doc.currentView = kSearchResult;
    for (int32_t& s : doc.sortState[sortStateRow(kSearchResult)])
        s = kSortNone;
    doc.sortState[sortStateRow(kSearchResult)][kind] = kSortAscending;
    // One sort settles the prepared keys, so the floor compares the very values reapplySort does.
    reapplySort(doc);
    return std::vector<EdlEvent*>(doc.view[kAllEvents], doc.view[kAllEvents] + n);
}

void sortSearchView(benchmark::State& state, int64_t events, SortKind kind) {
    EdlDocument& doc = *dataset(events).doc;
    const std::vector<EdlEvent*> original = prepareSortView(doc, kind);
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(original.begin(), original.end(), doc.view[kSearchResult]);
        state.ResumeTiming();
        reapplySort(doc);
    }
    doc.viewCount[kSearchResult] = 0;
    doc.currentView = kAllEvents;
}

void sortFloor(benchmark::State& state, int64_t events, SortKind kind) {
    EdlDocument& doc = *dataset(events).doc;
    const std::vector<EdlEvent*> original = prepareSortView(doc, kind);
    std::vector<EdlEvent*> rows(original.size());
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(original.begin(), original.end(), rows.begin());
        state.ResumeTiming();
        if (kind == kSortSource)
            std::sort(rows.begin(), rows.end(),
                      [](const EdlEvent* a, const EdlEvent* b) { return a->srcSortKey < b->srcSortKey; });
        else
            std::sort(rows.begin(), rows.end(),
                      [](const EdlEvent* a, const EdlEvent* b) { return a->duration < b->duration; });
        benchmark::DoNotOptimize(rows.data());
    }
    doc.viewCount[kSearchResult] = 0;
    doc.currentView = kAllEvents;
}

// --- Outputs: the offset, the EDL export and the plain-text listing --------------------------------

void applyOffsetBench(benchmark::State& state, int64_t events) {
    EdlDocument& doc = *dataset(events).doc;
    const int32_t original = doc.events[0].recInCopy;
    bool forward = true;
    for (auto _ : state) {
        // Alternate the direction so that every run recomputes every event.
        if (applyOffset(doc, forward ? u"23000000" : u"00100000", original).status != OffsetStatus::Applied)
            state.SkipWithError("offset failed");
        forward = !forward;
    }
    applyOffset(doc, originalAddressText(original), original);
    state.SetItemsProcessed(state.iterations() * events);
}

void exportEdl(benchmark::State& state, int64_t events) {
    EdlDocument& doc = *dataset(events).doc;
    applyOffset(doc, u"20000000", doc.events[0].recInCopy);
    const std::u16string out = u16(scratch().file("export.EDL"));
    for (auto _ : state) {
        if (exportEdlFile(doc, out, false, true).write.status != WriteStatus::Written)
            state.SkipWithError("export failed");
    }
    if (fileSize(out) != doc.sourceTextSize)
        state.SkipWithError("the exported EDL has another size than the stored text");
    applyOffset(doc, originalAddressText(doc.events[0].recInCopy), doc.events[0].recInCopy);
    removeFile(out);
}

// The floor of both outputs: one read and one durable write (beside the target, then renamed over
// it) of the output's bytes.
void outputFloor(benchmark::State& state, const std::vector<uint8_t>& output) {
    const fs::path input = scratch().file("output-floor.in");
    const fs::path target = scratch().file("output-floor");
    const fs::path temp = scratch().file("output-floor.tmp");
    if (!writeFloor(input, output, false))
        state.SkipWithError("I/O failed");
    for (auto _ : state) {
        auto bytes = readFloor(input, output.size());
        if (!bytes || !writeFloor(temp, output, true) || std::rename(temp.c_str(), target.c_str()) != 0)
            state.SkipWithError("I/O failed");
        benchmark::DoNotOptimize(bytes.get());
    }
    fs::remove(input);
    fs::remove(target);
}

void exportEdlFloor(benchmark::State& state, int64_t events) {
    const Dataset& d = dataset(events);
    outputFloor(state, std::vector<uint8_t>(d.edl.begin(), d.edl.end()));
}

// Every third event gets a work memo and every seventh a marker; the listing prints all comment
// kinds. The memos are taken away again afterwards, so that the saves measure the converted list.
struct AnnotatedListing {
    explicit AnnotatedListing(EdlDocument& d) : doc(d) {
        for (int32_t i = 0; i < doc.eventCount(); i += 3) {
            doc.events[i].workMemo = const_cast<char16_t*>(kMemo.data());
            doc.events[i].workMemoLength = static_cast<int32_t>(kMemo.size()) + 1;
            doc.events[i].hasWorkMemo = 1;
        }
        for (int32_t i = 0; i < doc.eventCount(); i += 7)
            doc.events[i].marker = i % 8;
        std::fill(std::begin(doc.listOptions), std::begin(doc.listOptions) + 9, 0);
        doc.listOptions[kListOptionComment] = doc.listOptions[kListOptionComment + 1] = 1;
        doc.listOptions[kListOptionComment + 2] = 1;
        doc.listOptions[kListCsv] = 0;
    }
    ~AnnotatedListing() {
        for (int32_t i = 0; i < doc.eventCount(); ++i) {
            doc.events[i].workMemo = nullptr;
            doc.events[i].workMemoLength = doc.events[i].hasWorkMemo = 0;
            doc.events[i].marker = kNoMarker;
        }
    }
    static constexpr std::u16string_view kMemo = u"差し替え確認: 音声レベルを再調整すること。納品前に再確認";
    EdlDocument& doc;
};

void listText(benchmark::State& state, int64_t events) {
    Dataset& d = dataset(events);
    AnnotatedListing annotated(*d.doc);
    const std::u16string out = u16(scratch().file("list.txt"));
    for (auto _ : state) {
        if (writeListingFile(*d.doc, u16(d.edlPath), ListingTime{}, out, true).write.status != WriteStatus::Written)
            state.SkipWithError("listing failed");
    }
    removeFile(out);
}

void listTextFloor(benchmark::State& state, int64_t events) {
    Dataset& d = dataset(events);
    AnnotatedListing annotated(*d.doc);
    MemorySink listing;
    writeListing(*d.doc, u16(d.edlPath), ListingTime{}, listing);
    outputFloor(state, listing.bytes);
}

// --- Annotating ---------------------------------------------------------------------------------

// Setting the current marker on every row of kAllEvents, all of them selected.
void setMarkerOnSelection(benchmark::State& state, int64_t events) {
    EdlDocument& doc = *dataset(events).doc;
    doc.currentView = kAllEvents;
    std::vector<int32_t> rows(static_cast<size_t>(doc.eventCount()));
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<int32_t>(i);
    int32_t marker = 0;
    for (auto _ : state) {
        doc.currentMarker = marker;
        marker = (marker + 1) % kMarkerKinds;
        benchmark::DoNotOptimize(setMarker(doc, rows));
    }
    for (int32_t i = 0; i < doc.eventCount(); ++i)
        doc.events[i].marker = kNoMarker;
}

// A document of `events` events on `reels` reels, loaded from a work file made in memory.
EdlDocument& reelDocument(int64_t events, int reels) {
    static std::map<std::pair<int64_t, int>, std::unique_ptr<EdlDocument>> cache;
    std::unique_ptr<EdlDocument>& slot = cache[{events, reels}];
    if (slot)
        return *slot;
    EdlGeneratorOptions options;
    options.events = events;
    options.seed = 9100;
    options.reels = reels;
    const std::string edl = generateEdl(options);
    MemorySink sink;
    slot = std::make_unique<EdlDocument>();
    if (!writeWorkFile(parseEdl(edl), edl, sink) ||
        loadProjectImage(sink.bytes.data(), sink.bytes.size(), *slot) != LoadStatus::Ok || slot->reelCount == 0) {
        std::fprintf(stderr, "the generated list with %d reels does not load\n", reels);
        std::exit(1);
    }
    return *slot;
}

// What the reel information list needs when it opens: every reel's use count and total.
void reelTotals(benchmark::State& state, int64_t events) {
    const EdlDocument& doc = reelDocument(events, 5000);
    for (auto _ : state)
        benchmark::DoNotOptimize(reelRows(doc));
    state.counters["reels"] = doc.reelCount;
}

// --- The sort commands on the search-result view ---------------------------------------------------

// The order kSearchResult starts from: EDL order, or by duration for the way back to edit order.
std::vector<EdlEvent*> commandStartRows(EdlDocument& doc, int command) {
    const int32_t n = doc.eventCount();
    std::vector<EdlEvent*> rows(doc.view[kAllEvents], doc.view[kAllEvents] + n);
    if (command == IDM_SORT_EDIT_ORDER)
        std::sort(rows.begin(), rows.end(),
                  [](const EdlEvent* a, const EdlEvent* b) { return a->duration < b->duration; });
    return rows;
}

void sortCommand(benchmark::State& state, int64_t events, int command) {
    EdlDocument& doc = *dataset(events).doc;
    const std::vector<EdlEvent*> start = commandStartRows(doc, command);
    doc.viewCount[kSearchResult] = static_cast<int32_t>(start.size());
    doc.currentView = kSearchResult;
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(start.begin(), start.end(), doc.view[kSearchResult]);
        for (int32_t& s : doc.sortState[sortStateRow(kSearchResult)])
            s = kSortNone; // every run sorts ascending, as the floor does
        state.ResumeTiming();
        if (!runSortCommand(doc, command).sorted)
            state.SkipWithError("the command did not sort");
    }
    doc.viewCount[kSearchResult] = 0;
    doc.currentView = kAllEvents;
}

// std::sort of the same rows by the key the command compares (keys as the command prepares them).
void sortCommandFloor(benchmark::State& state, int64_t events, int command) {
    EdlDocument& doc = *dataset(events).doc;
    const std::vector<EdlEvent*> start = commandStartRows(doc, command);
    // One command settles the prepared keys, so the floor compares the very values the command does.
    std::copy(start.begin(), start.end(), doc.view[kSearchResult]);
    doc.viewCount[kSearchResult] = static_cast<int32_t>(start.size());
    doc.currentView = kSearchResult;
    runSortCommand(doc, command);
    doc.viewCount[kSearchResult] = 0;
    doc.currentView = kAllEvents;
    std::vector<EdlEvent*> rows(start.size());
    for (auto _ : state) {
        state.PauseTiming();
        std::copy(start.begin(), start.end(), rows.begin());
        state.ResumeTiming();
        switch (command) {
        case IDM_SORT_SOURCE:
            std::sort(rows.begin(), rows.end(),
                      [](const EdlEvent* a, const EdlEvent* b) { return a->srcSortKey < b->srcSortKey; });
            break;
        case IDM_SORT_RECORD:
            if (doc.hasHour23)
                std::sort(rows.begin(), rows.end(),
                          [](const EdlEvent* a, const EdlEvent* b) { return a->recSortKey < b->recSortKey; });
            else
                std::sort(rows.begin(), rows.end(),
                          [](const EdlEvent* a, const EdlEvent* b) { return a->recIn < b->recIn; });
            break;
        case IDM_SORT_DURATION:
            std::sort(rows.begin(), rows.end(),
                      [](const EdlEvent* a, const EdlEvent* b) { return a->duration < b->duration; });
            break;
        default:
            std::sort(rows.begin(), rows.end(),
                      [](const EdlEvent* a, const EdlEvent* b) { return a->sequence < b->sequence; });
            break;
        }
        benchmark::DoNotOptimize(rows.data());
    }
}

// --- The search ---------------------------------------------------------------------------------------

// All five criteria on: the reel of the first event, no marker, source and record windows over the
// whole day in the mode of the first event, durations of at least one frame. Without the reel,
// every event is tested on every criterion and nearly all of them are hits: the worst case.
void setCriteria(EdlDocument& doc, bool withReel) {
    SearchSettings& s = doc.search;
    s = SearchSettings{};
    s.searchFlags = kSearchSource | kSearchRecord | kSearchDuration | kSearchMarker | (withReel ? kSearchReel : 0);
    s.searchReel = doc.events[0].reelIndex;
    s.searchMarker = kNoMarker;
    for (int c = 0; c < 3; ++c) {
        s.lowerOp[c] = kOpAtOrAbove;
        s.slotDropFrame[c] = s.slotDropFrame[c + 3] = c == kCriterionDuration ? 0 : doc.dropFrame;
        s.slotValue[c] = c == kCriterionDuration ? 1 : 0;
        s.slotValue[c + 3] = 2591999;
    }
    s.slotDropFrame[kCriterionSource] = s.slotDropFrame[kCriterionSource + 3] = doc.events[0].srcDropFrame;
    doc.currentView = kAllEvents;
}

void search(benchmark::State& state, int64_t events, bool withReel) {
    EdlDocument& doc = *dataset(events).doc;
    setCriteria(doc, withReel);
    int32_t hits = 0;
    for (auto _ : state) {
        hits = runSearch(doc).hits;
        benchmark::DoNotOptimize(hits);
    }
    state.counters["hits"] = hits;
    clearSearch(doc);
    doc.search = SearchSettings{};
}

// A plain loop that reads the fields the search reads from every event.
void searchFloor(benchmark::State& state, int64_t events) {
    const EdlDocument& doc = *dataset(events).doc;
    const int32_t n = doc.eventCount();
    for (auto _ : state) {
        int64_t sum = 0;
        for (int32_t i = 0; i < n; ++i) {
            const EdlEvent& e = doc.events[i];
            sum += e.reelIndex + e.marker + e.duration + e.srcDropFrame + e.srcIn + e.srcOut + e.recIn + e.recOut;
        }
        benchmark::DoNotOptimize(sum);
    }
}

std::vector<int64_t> sizes() {
    std::vector<int64_t> result;
    if (const char* list = std::getenv("QLP_BENCH_EVENTS")) {
        for (const char* p = list; *p;) {
            char* end = nullptr;
            const long long n = std::strtoll(p, &end, 10);
            if (end == p)
                break;
            if (n > 0)
                result.push_back(n);
            p = *end == ',' ? end + 1 : end;
        }
    }
    if (result.empty())
        result = {10000, 100000};
    return result;
}

template <typename Fn> void add(const std::string& name, int64_t events, Fn fn) {
    const std::string full = name + "/" + std::to_string(events);
    benchmark::RegisterBenchmark(full.c_str(), [events, fn](benchmark::State& state) { fn(state, events); })
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
}

// Each benchmark is registered right before its floor, so the two run one after the other.
void registerAll() {
    for (const int64_t n : sizes()) {
        add("parse", n, parseEdlText);
        add("convert", n, convert);
        add("convert_floor", n, convertFloor);
        add("load", n, load);
        add("load_floor", n, loadFloor);
        for (const bool durable : {false, true}) {
            const std::string suffix = durable ? "_durable" : "";
            add("save" + suffix, n, [durable](benchmark::State& s, int64_t e) { save(s, e, durable); });
            add("save" + suffix + "_floor", n, [durable](benchmark::State& s, int64_t e) { saveFloor(s, e, durable); });
        }
        for (const SortKind kind : {kSortSource, kSortDuration}) {
            const std::string key = kind == kSortSource ? "source" : "duration";
            add("sort_" + key, n, [kind](benchmark::State& s, int64_t e) { sortSearchView(s, e, kind); });
            add("sort_" + key + "_floor", n, [kind](benchmark::State& s, int64_t e) { sortFloor(s, e, kind); });
        }
        add("offset", n, applyOffsetBench);
        add("export", n, exportEdl);
        add("export_floor", n, exportEdlFloor);
        add("list_text", n, listText);
        add("list_text_floor", n, listTextFloor);
        add("set_marker", n, setMarkerOnSelection);
        add("reel_totals_5000_reels", n, reelTotals);
        const std::pair<int, const char*> commands[] = {{IDM_SORT_SOURCE, "source"},
                                                        {IDM_SORT_RECORD, "record"},
                                                        {IDM_SORT_DURATION, "duration"},
                                                        {IDM_SORT_EDIT_ORDER, "edit_order"}};
        for (const auto& [command, key] : commands) {
            const int c = command;
            add(std::string("sort_command_") + key, n, [c](benchmark::State& s, int64_t e) { sortCommand(s, e, c); });
            add(std::string("sort_command_") + key + "_floor", n,
                [c](benchmark::State& s, int64_t e) { sortCommandFloor(s, e, c); });
        }
        add("search_all_criteria", n, [](benchmark::State& s, int64_t e) { search(s, e, true); });
        add("search_all_criteria_floor", n, searchFloor);
        add("search_all_but_reel", n, [](benchmark::State& s, int64_t e) { search(s, e, false); });
        add("search_all_but_reel_floor", n, searchFloor);
    }
}

} // namespace

} // namespace qlp::bench

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    qlp::bench::registerAll();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
