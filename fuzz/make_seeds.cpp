// qlp_fuzz_seeds CORPUS_DIR DATA_DIR: writes the seed inputs of both fuzz targets. The EDL reader
// gets the test EDLs and a few small generated lists; the project loader gets their work files and
// one project that uses every section (memos, notes, search hits, sorted views, reel comments).

#include "edl_generator.h"

#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/project_file.h"
#include "model/view_order.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

namespace {

namespace fs = std::filesystem;

bool writeFile(const fs::path& path, const void* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> workFileOf(const std::string& edl) {
    qlp::MemorySink sink;
    qlp::writeWorkFile(qlp::parseEdl(edl), edl, sink);
    return sink.bytes;
}

char16_t* arenaText(qlp::EdlDocument& doc, std::u16string_view text) {
    char16_t* out = doc.heap->allocate<char16_t>(text.size() + 1);
    std::copy(text.begin(), text.end(), out);
    return out;
}

// A converted list with everything a user adds on top: memos, notes, reel comments, a search
// result and a reel filter with their sorts.
std::vector<uint8_t> annotatedProject(const std::vector<uint8_t>& workFile) {
    qlp::EdlDocument doc;
    if (qlp::loadProjectImage(workFile.data(), workFile.size(), doc) != qlp::LoadStatus::Ok)
        return {};
    const std::u16string_view memo = u"差し替え確認";
    for (int32_t i = 0; i < doc.eventCount(); ++i) {
        qlp::EdlEvent& ev = doc.events[i];
        ev.searchHit = i % 2;
        if (i % 3 == 0) {
            ev.marker = i % 8;
            ev.workMemo = arenaText(doc, memo);
            ev.workMemoLength = static_cast<int32_t>(memo.size()) + 1;
            ev.hasWorkMemo = 1;
        }
    }
    if (doc.reelCount > 0)
        std::copy_n(u"メインカメラ", 6, doc.reelComments[0]);
    doc.reelFilter = doc.reelCount > 1 ? 1 : 0;
    doc.sortState[qlp::sortStateRow(qlp::kSearchResult)][qlp::kSortSource] = qlp::kSortAscending;
    doc.sortState[qlp::sortStateRow(qlp::kReelUsage)][qlp::kSortDuration] = qlp::kSortDescending;
    doc.currentView = qlp::kSearchResult;
    qlp::SimpleNote* tail = doc.noteHead;
    for (int n = 0; n < 2; ++n) {
        auto* note = new qlp::SimpleNote;
        note->index = n;
        note->current = n == 1;
        std::copy_n(u"メモ", 2, note->title);
        if (n == 1) {
            const std::u16string_view body = u"納品前に音声を確認";
            note->body = arenaText(doc, body);
            note->bodySize = static_cast<int32_t>(2 * body.size() + 2);
        }
        note->prev = tail;
        tail->next = note;
        tail = note;
    }
    qlp::MemorySink sink;
    qlp::writeProjectFile(doc, sink);
    return sink.bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: qlp_fuzz_seeds CORPUS_DIR DATA_DIR\n");
        return 2;
    }
    const fs::path corpus = argv[1];
    const fs::path data = argv[2];
    const fs::path edlDir = corpus / "fuzz_edl_reader";
    const fs::path projectDir = corpus / "fuzz_project_loader";
    fs::create_directories(edlDir);
    fs::create_directories(projectDir);
    bool ok = true;

    std::vector<std::pair<std::string, std::string>> edls;
    for (const auto& entry : fs::directory_iterator(data)) {
        if (entry.path().extension() != ".EDL")
            continue;
        std::vector<uint8_t> bytes;
        if (!qlp::readWholeFile(qlp::fromFsPath(entry.path()), bytes))
            return 1;
        edls.emplace_back(entry.path().stem().string(), std::string(bytes.begin(), bytes.end()));
    }
    std::sort(edls.begin(), edls.end());
    if (edls.empty()) {
        std::fprintf(stderr, "no EDL in %s\n", data.c_str());
        return 1;
    }
    const std::string annotatedSource = edls.front().second;
    for (const auto& [name, events, dropFrame] :
         {std::tuple{"generated_ndf", 6, false}, std::tuple{"generated_df", 5, true},
          std::tuple{"generated_long", 40, false}}) {
        qlp::bench::EdlGeneratorOptions options;
        options.events = events;
        options.dropFrame = dropFrame;
        options.seed = static_cast<uint64_t>(events);
        edls.emplace_back(name, qlp::bench::generateEdl(options));
    }

    for (const auto& [name, text] : edls) {
        ok = writeFile(edlDir / (name + ".EDL"), text.data(), text.size()) && ok;
        // Work files of the short lists only, so each seed stays a few kilobytes.
        if (qlp::parseEdl(text).events.size() <= 8) {
            const std::vector<uint8_t> work = workFileOf(text);
            ok = writeFile(projectDir / (name + ".QLP"), work.data(), work.size()) && ok;
        }
    }
    const std::vector<uint8_t> annotated = annotatedProject(workFileOf(annotatedSource));
    ok = !annotated.empty() && writeFile(projectDir / "annotated.QLP", annotated.data(), annotated.size()) && ok;
    return ok ? 0 : 1;
}
