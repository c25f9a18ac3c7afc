#include "platform/ElfBuildId.h"

#include <link.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace olvane::platform {
namespace {

using Header = ElfW(Ehdr);
using Segment = ElfW(Phdr);
using NoteHeader = ElfW(Nhdr);

constexpr unsigned char kOwnClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
// Far above what a linker writes; anything larger is not one of ours.
constexpr std::size_t kMostSegments = 256;
constexpr std::size_t kMostNoteBytes = 64 * 1024;

bool readAt(int fd, std::uint64_t offset, void* into, std::size_t size) {
    auto* bytes = static_cast<char*>(into);
    while (size > 0) {
        const ssize_t n = ::pread(fd, bytes, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes += n;
        offset += static_cast<std::uint64_t>(n);
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string hexOf(std::string_view bytes) {
    constexpr const char* kDigits = "0123456789abcdef";
    std::string hex;
    for (const unsigned char byte : bytes) {
        hex += kDigits[byte >> 4];
        hex += kDigits[byte & 0xf];
    }
    return hex;
}

std::size_t alignedUp(std::size_t size, std::size_t alignment) {
    return (size + alignment - 1) / alignment * alignment;
}

// Each note: its header, then its name and its content, each padded to the segment's alignment.
std::optional<std::string> buildIdAmong(std::string_view notes, std::size_t alignment) {
    constexpr std::string_view kOwner("GNU", 4);
    std::size_t at = 0;
    while (notes.size() - at >= sizeof(NoteHeader)) {
        NoteHeader note;
        std::memcpy(&note, notes.data() + at, sizeof note);
        const std::size_t name = at + sizeof note;
        const std::size_t content = name + alignedUp(note.n_namesz, alignment);
        if (content > notes.size() || notes.size() - content < note.n_descsz) {
            return std::nullopt;
        }
        if (note.n_type == NT_GNU_BUILD_ID && notes.substr(name, note.n_namesz) == kOwner) {
            return hexOf(notes.substr(content, note.n_descsz));
        }
        at = content + alignedUp(note.n_descsz, alignment);
        if (at > notes.size()) {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> elfBuildId(int fd) {
    Header header;
    if (!readAt(fd, 0, &header, sizeof header) ||
        std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != kOwnClass || header.e_phentsize != sizeof(Segment) ||
        header.e_phnum > kMostSegments) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < header.e_phnum; ++i) {
        Segment segment;
        if (!readAt(fd, header.e_phoff + i * sizeof segment, &segment, sizeof segment)) {
            return std::nullopt;
        }
        if (segment.p_type != PT_NOTE || segment.p_filesz > kMostNoteBytes) {
            continue;
        }
        std::string notes(segment.p_filesz, '\0');
        if (!readAt(fd, segment.p_offset, notes.data(), notes.size())) {
            return std::nullopt;
        }
        if (auto id = buildIdAmong(notes, segment.p_align == 8 ? 8 : 4)) {
            return id;
        }
    }
    return std::nullopt;
}

}  // namespace olvane::platform
