#include "export/coefficient_text.h"

#include "export/iir_file_format.h"
#include "fw/file_io.h"

#include <cstdint>
#include <filesystem>
#include <stdlib.h>
#include <system_error>
#include <vector>

namespace tarvo {
namespace {

CoefficientTextResult Failure() {
    return {false, std::string(kTemporaryFileFailure)};
}

} // namespace

CoefficientTextResult CoefficientText(const CIirFileFormat& format, CIirFilter& filter,
                                      fw::Ui& ui) {
    // A folder only this process can reach: nobody can plant a link where the
    // writer is about to write. The fixed file name inside it keeps the text
    // the same from one call to the next (C output names its header after it).
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) return Failure();
    std::string folder = (base / "tarvoiir-XXXXXX").string();
    if (::mkdtemp(folder.data()) == nullptr) return Failure();

    CIirFileFormat copy;
    copy.CopyFrom(format);
    const std::string temp = (std::filesystem::path(folder) / "TarvoIIR.tmp").string();
    const bool written = copy.WriteToPath(filter, temp, false, ui);
    std::vector<std::uint8_t> bytes;
    const fw::FileResult read = written ? fw::ReadFileBytes(temp, bytes) : fw::FileResult{};
    std::filesystem::remove_all(folder, ec);
    if (!read) return Failure();

    std::string text(bytes.begin(), bytes.end());
    if (const std::size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
    return {true, std::move(text)};
}

} // namespace tarvo
