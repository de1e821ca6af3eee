// qlp list: writes the text or CSV listing the listing dialog writes.

#include "cli/open_file.h"
#include "cli/output_commands.h"
#include "cli/utf.h"
#include "outputs/listing.h"

#include <cstdlib>
#include <ctime>
#include <string_view>

namespace qlp::cli {

namespace {

constexpr std::string_view kListUsage =
    "qlp list IN OUT [--csv] [--kind edl|search|reels] [--reel NAME]\n"
    "       [--sort edit|source|source-desc|duration|duration-desc] [--comments option,work,marker]";

constexpr std::u16string_view kKindNames[3] = {u"edl", u"search", u"reels"};
constexpr std::u16string_view kSortNames[5] = {u"edit", u"source", u"source-desc", u"duration", u"duration-desc"};
constexpr std::u16string_view kCommentNames[3] = {u"option", u"work", u"marker"};

template <size_t N> int indexOf(const std::u16string_view (&names)[N], std::u16string_view name) {
    for (size_t i = 0; i < N; ++i) {
        if (names[i] == name)
            return static_cast<int>(i);
    }
    return -1;
}

// The creation time: SOURCE_DATE_EPOCH (seconds since 1970, printed as UTC so that a listing is the
// same on every machine) when set, else the local time now.
bool creationTime(ListingTime& time) {
    std::time_t now = std::time(nullptr);
    const std::tm* parts = nullptr;
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch && *epoch) {
        char* end = nullptr;
        const long long seconds = std::strtoll(epoch, &end, 10);
        if (*end != '\0' || seconds < 0)
            return false;
        now = static_cast<std::time_t>(seconds);
        parts = std::gmtime(&now); // the tool is single-threaded
    } else {
        parts = std::localtime(&now);
    }
    if (!parts)
        return false;
    time = {parts->tm_year + 1900, parts->tm_mon + 1, parts->tm_mday, parts->tm_hour, parts->tm_min, parts->tm_sec};
    return true;
}

} // namespace

int runList(const std::vector<std::u16string>& args) {
    ParsedArgs parsed;
    std::string problem;
    if (!parseOutputArgs(args, {u"--csv"}, {u"--kind", u"--reel", u"--sort", u"--comments"}, parsed, problem))
        return outputUsageError(problem, kListUsage);
    if (parsed.paths.size() != 2)
        return outputUsageError("list takes an input file and the listing to write", kListUsage);

    // A reel chooses the one reel of the reel listing; without that kind it would silently list
    // everything.
    bool reelsKind = false;
    bool reelGiven = false;
    for (const auto& [name, value] : parsed.options) {
        if (name == u"--kind")
            reelsKind = value == kKindNames[2];
        reelGiven = reelGiven || name == u"--reel";
    }
    if (reelGiven && !reelsKind)
        return outputUsageError("--reel chooses the reel of --kind reels; give --kind reels with it", kListUsage);

    InspectedFile file;
    std::u16string message;
    if (!inspectFile(parsed.paths[0], file, message))
        return outputRefused(message);
    EdlDocument& doc = file.doc;
    int32_t* options = doc.listOptions;

    const std::u16string* comments = nullptr;
    for (const auto& [name, value] : parsed.options) {
        if (name == u"--csv") {
            options[kListCsv] = 1;
        } else if (name == u"--kind") {
            const int kind = indexOf(kKindNames, value);
            if (kind < 0)
                return outputUsageError("unknown kind " + utf16ToUtf8(value), kListUsage);
            for (int k = 0; k < 3; ++k)
                options[kListKind + k] = k == kind ? 1 : 0;
        } else if (name == u"--sort") {
            const int sort = indexOf(kSortNames, value);
            if (sort < 0)
                return outputUsageError("unknown sort " + utf16ToUtf8(value), kListUsage);
            options[kListSort] = sort;
        } else if (name == u"--reel") {
            const int32_t reel = reelNamed(doc, parsed.paths[0], value, message);
            if (reel < 0)
                return outputRefused(message);
            options[kListReel] = reel;
            options[kListAllReels] = 0;
            options[kListOneReel] = 1;
        } else {
            comments = &value;
        }
    }
    if (comments) {
        // The chosen kinds go into the group of the chosen list kind; every other box is cleared.
        bool chosen[3] = {false, false, false};
        for (size_t start = 0; start < comments->size();) {
            size_t end = comments->find(u',', start);
            if (end == std::u16string::npos)
                end = comments->size();
            const std::u16string_view word = std::u16string_view(*comments).substr(start, end - start);
            const int kind = indexOf(kCommentNames, word);
            if (kind < 0)
                return outputUsageError("unknown comment kind " + utf16ToUtf8(word), kListUsage);
            chosen[kind] = true;
            start = end + 1;
        }
        const int group = listingKind(doc);
        for (int g = 0; g < 3; ++g) {
            for (int k = 0; k < 3; ++k)
                options[kListOptionComment + 3 * g + k] = g == group && chosen[k] ? 1 : 0;
        }
    }

    ListingTime time;
    if (!creationTime(time))
        return outputUsageError("SOURCE_DATE_EPOCH is not a number of seconds", kListUsage);
    fillListBoundText(doc);
    const ListingOutcome outcome = writeListingFile(doc, parsed.paths[0], time, parsed.paths[1], true);
    if (outcome.write.status != WriteStatus::Written)
        return outputRefused(outcome.message);
    return kOutputOk;
}

} // namespace qlp::cli
