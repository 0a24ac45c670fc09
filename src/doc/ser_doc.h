#pragma once
// CSerDoc: a document whose file starts with a 16-bit header, the file version
// in the low byte and the document type in the high byte.

#include "fw/document.h"

#include <cstdint>
#include <optional>
#include <string>

namespace tarvo {

// The version every store writes.
inline constexpr std::uint16_t kCurrentFileVersion = 20;

// The maker's site, named in the newer-version message.
inline constexpr const char* kMakerWebAddress = "https://www.morvane.com/tarvoiir";
// "This Project file is for a newer version of this program. ..." with the address.
const std::string& NewerVersionMessage();

class CSerDoc : public fw::Document {
public:
    explicit CSerDoc(fw::Ui& ui, std::uint8_t docType = 0);

    // The version of the last file read, the current version after every store.
    std::uint16_t GetFileVersion() const { return m_nFileVersion; }
    std::uint16_t GetDocType() const { return m_nDocType; }

    // Storing writes the current version and the remembered type, and the
    // remembered version becomes current. Loading remembers both; a version below
    // the current one marks the document modified, a newer one shows the
    // newer-version message and is read with the current layout.
    void SerializeHeader(fw::Archive& ar);
    // The header alone.
    void Serialize(fw::Archive& ar) override;

private:
    std::uint16_t m_nFileVersion = kCurrentFileVersion;
    std::uint16_t m_nDocType = 0;
};

// What the open probe found: whether the file could be opened, and the
// document type its header names (nothing when it is shorter than the header).
struct ProbeResult {
    bool opened = false;
    std::optional<std::uint16_t> docType;
};

// Reads only the header of the file through the header routine of a bare
// document, so a newer file shows its message here as well. Never blocks on a
// pipe or device: anything but a regular file counts as not opened.
ProbeResult ProbeDocumentType(const std::string& path, fw::Ui& ui);

} // namespace tarvo
