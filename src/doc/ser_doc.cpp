#include "doc/ser_doc.h"

#include "fw/archive.h"
#include "fw/ui.h"

#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace tarvo {

namespace {

constexpr unsigned kTypeShift = 8;
constexpr std::uint16_t kByteMask = 0xFF;

// Up to n bytes from the start of a regular file; nothing when it cannot be
// opened or is not a regular file.
std::optional<std::vector<std::uint8_t>> ReadPrefix(const std::string& path, std::size_t n) {
    // Non-blocking, so that opening a FIFO does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    std::optional<std::vector<std::uint8_t>> bytes;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        std::vector<std::uint8_t> buffer(n);
        std::size_t got = 0;
        while (got < n) {
            const ssize_t r = ::read(fd, buffer.data() + got, n - got);
            if (r <= 0) break;
            got += static_cast<std::size_t>(r);
        }
        buffer.resize(got);
        bytes = std::move(buffer);
    }
    ::close(fd);
    return bytes;
}

} // namespace

const std::string& NewerVersionMessage() {
    static const std::string text =
        "This Project file is for a newer version of this program. Please download\n"
        "the latest version of the program from the Morvane Web Site at:\n" +
        std::string(kMakerWebAddress) + ".";
    return text;
}

CSerDoc::CSerDoc(fw::Ui& ui, std::uint8_t docType) : fw::Document(ui), m_nDocType(docType) {}

void CSerDoc::SerializeHeader(fw::Archive& ar) {
    if (ar.IsStoring()) {
        m_nFileVersion = kCurrentFileVersion;
        ar.WriteU16(static_cast<std::uint16_t>((m_nDocType << kTypeShift) | m_nFileVersion));
        return;
    }
    const std::uint16_t header = ar.ReadU16();
    m_nFileVersion = header & kByteMask;
    m_nDocType = header >> kTypeShift;
    if (m_nFileVersion < kCurrentFileVersion) {
        SetModifiedFlag(true);
    } else if (m_nFileVersion > kCurrentFileVersion) {
        GetUi().Message(NewerVersionMessage(), fw::Icon::Stop);
    }
}

void CSerDoc::Serialize(fw::Archive& ar) {
    SerializeHeader(ar);
}

ProbeResult ProbeDocumentType(const std::string& path, fw::Ui& ui) {
    ProbeResult result;
    const auto bytes = ReadPrefix(path, 2);
    if (!bytes) return result;
    result.opened = true;
    CSerDoc probe(ui);
    try {
        fw::Archive ar = fw::Archive::ForLoading(*bytes);
        probe.SerializeHeader(ar);
        result.docType = probe.GetDocType();
    } catch (const fw::ArchiveError&) {
        // Shorter than a header: the open that follows reports it.
    }
    return result;
}

} // namespace tarvo
