#include "cli/open_file.h"

#include "model/edl_reader.h"
#include "model/file_io.h"
#include "model/messages.h"
#include "model/project_file.h"
#include "model/records.h"

#include <algorithm>
#include <iterator>
#include <new>
#include <stdexcept>

namespace qlp::cli {

bool hasProjectMagic(const std::vector<uint8_t>& bytes) {
    return startsWithProjectMagic(bytes.data(), bytes.size());
}

bool inspectFile(std::u16string_view path, InspectedFile& file, std::u16string& message) {
    if (!pathExists(path)) {
        message = formatMessage(kMsgFileNotFound, path);
        return false;
    }
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) {
        message = formatMessage(kMsgCannotOpenFile, path, 0);
        return false;
    }

    if (hasProjectMagic(bytes)) {
        file.kind = SourceKind::Project;
        file.image = std::move(bytes);
    } else {
        const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        if (!looksLikeBve9100(text)) {
            message = formatMessage(kMsgNotRecognised, path);
            return false;
        }
        file.kind = SourceKind::Edl;
        MemorySink sink;
        // Only a conversion too large for the format's 32-bit offsets, or for memory, fails here.
        bool converted = false;
        try {
            converted = writeWorkFile(parseEdl(text), text, sink);
        } catch (const std::bad_alloc&) {
        } catch (const std::length_error&) {
        }
        if (!converted) {
            message = formatMessage(kMsgNoMemoryToRead, path);
            return false;
        }
        file.image = std::move(sink.bytes);
    }

    const LoadResult loaded = loadProjectImage(file.image.data(), file.image.size(), file.doc);
    switch (loaded.status) {
    case LoadStatus::Ok:
        return true;
    case LoadStatus::NoMemory:
        message = formatMessage(kMsgNoMemoryToRead, path);
        break;
    case LoadStatus::CannotOpen:
        message = formatMessage(kMsgCannotOpenFile, path, 0);
        break;
    case LoadStatus::WrongFormat:
        message = formatMessage(kMsgWrongFormat, path);
        break;
    }
    // What the loader found, and where, follows the system's message on a line of its own.
    const std::string why = describeRefusal(loaded);
    if (!why.empty())
        message += u'\n' + std::u16string(why.begin(), why.end());
    return false;
}

int32_t reelNamed(const EdlDocument& doc, std::u16string_view path, std::u16string_view name, std::u16string& message) {
    for (int32_t r = 0; r < doc.reelCount; ++r) {
        const auto end = std::find(std::begin(doc.reelNames[r]), std::end(doc.reelNames[r]), u'\0');
        if (std::u16string_view(doc.reelNames[r], static_cast<size_t>(end - std::begin(doc.reelNames[r]))) == name)
            return r;
    }
    message = u"qlp: ";
    message.append(path).append(u" has no reel named ").append(name);
    return -1;
}

} // namespace qlp::cli
